// Correcting in the window as a person does: every kind of change, undone
// from the Edit menu, gives back the bytes every output had and, redone, the
// bytes it gave; undo back to what Save wrote leaves nothing unsaved; Find
// counts its matches and goes to them; F8 goes round the doubtful words,
// which carry a glyph and a tooltip, and a corrected word is confirmed.
#include "job/gluejob.h"
#include "support/fakeperson.h"
#include "support/files.h"
#include "support/wavbuilder.h"
#include "ui/mainwindow.h"
#include "ui/windowparts.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <map>

using namespace Qt::Literals::StringLiterals;

namespace {

std::vector<WordRow> rowsOf(const QStringList &words, const QList<float> &confidences, const QString &speaker)
{
    std::vector<WordRow> rows;
    std::int64_t ms = 0;
    for (qsizetype i = 0; i < words.size(); ++i) {
        WordRow row;
        row.number = i + 1;
        row.start = ms;
        row.end = ms + 250;
        row.confidence = confidences.value(i, 0.9f);
        row.speaker = speaker;
        row.text = words[i];
        rows.push_back(row);
        ms += 300;
    }
    return rows;
}

// The window with an interview of two parts glued, the first word table shown.
struct GluedWindow
{
    QTemporaryDir folder;
    MainWindow w;
    GlueJob &job = w.job();
    QTabWidget *tabs = w.findChild<QTabWidget *>(u"tcData"_s);
    QTableView *words = w.findChild<QTableView *>(u"sgCTM1"_s);

    GluedWindow()
    {
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        for (int part : {1, 2}) {
            const QString wav = u"%1/p%2.wav"_s.arg(folder.path()).arg(part);
            writeSilentWav(wav, 16000, 1, 16, 48000);
            job.openRecording(part, wav);
        }
        job.setWordRows(WordTable::Main, rowsOf({"I", "was", "born", "in", "<unk>", "New York."},
                                                {0.9f, 0.3f, 0.9f, 0.9f, 0.9f, 0.7f}, u"Anna"_s));
        job.setWordRows(WordTable::PartTwo, rowsOf({"We", "left", "the", "city."}, {0.9f, 0.9f, 0.2f, 0.9f}, u"Bert"_s));
        job.setText(TextView::Text1, {u"I was born in Zwolle, in New York."_s});
        job.setText(TextView::Text2, {u"We left the city."_s});
        job.glue(folder.path() + u"/joined.wav"_s);
        tabs->setCurrentIndex(static_cast<int>(Tab::WordTable1));
        words->setFocus();
    }

    void trigger(const QString &action) { w.findChild<QAction *>(action)->trigger(); }
    void select(int row) { words->setCurrentIndex(words->model()->index(row, WordRow::Text)); }
    // The row selected after each of times presses of key.
    QList<int> rowsAfterKey(Qt::Key key, int times)
    {
        QList<int> rows;
        for (int i = 0; i < times; ++i) {
            QTest::keyClick(&w, key);
            rows << words->currentIndex().row();
        }
        return rows;
    }

    // Every file Save writes, by name.
    std::map<QString, QByteArray> outputs()
    {
        // After an undo the window makes the derived views again once the
        // event loop has turned, as it has before a person's Save; this
        // Save goes straight to the job, so it lets that happen first
        // rather than run beside it.
        QCoreApplication::processEvents();
        job.save(folder.path() + u"/joined.srt"_s);
        std::map<QString, QByteArray> files;
        const GlueOutputs &o = job.outputs();
        for (const QString &path : {o.text, o.wordFile, o.srt, o.transcript, o.page})
            files[path] = readBytes(path);
        return files;
    }
};

using Change = std::function<void(GluedWindow &)>;

// Answers the next modal dialog with answer, once the event loop runs it.
void answerDialog(const std::function<void(QDialog *)> &answer)
{
    QTimer::singleShot(0, [answer] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        answer(dialog);
    });
}

// Renames the speaker of a row through the rename dialog, where choice says.
Change renaming(int row, const QString &name, const QString &choice)
{
    return [=](GluedWindow &g) {
        g.select(row);
        answerDialog([=](QDialog *d) {
            d->findChild<QLineEdit *>(u"leSpeakerName"_s)->setText(name);
            d->findChild<QRadioButton *>(choice)->setChecked(true);
            d->accept();
        });
        g.trigger(u"miRenameSpeaker"_s);
    };
}

} // namespace

class TestEditing : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { useOwnSettingsStore(); }

    void undoAndRedoFromTheMenuGiveTheBytesOfEveryOutput_data()
    {
        QTest::addColumn<Change>("change");
        QTest::newRow("a cell typed") << Change([](GluedWindow &g) {
            g.words->model()->setData(g.words->model()->index(1, WordRow::Text), u"is"_s);
        });
        QTest::newRow("a text typed") << Change([](GluedWindow &g) {
            auto *text = g.w.findChild<QPlainTextEdit *>(u"meText2"_s);
            g.tabs->setCurrentIndex(static_cast<int>(Tab::Text2));
            text->setFocus();
            QTest::keyClicks(text, u"Then"_s);
            // Leaving the text hands it to the job.
            g.tabs->setCurrentIndex(static_cast<int>(Tab::WordTable1));
            g.words->setFocus();
        });
        QTest::newRow("a word inserted after") << Change([](GluedWindow &g) {
            g.select(2);
            g.trigger(u"miInsertWordAfter"_s);
        });
        QTest::newRow("a word inserted before") << Change([](GluedWindow &g) {
            g.select(6);
            g.trigger(u"miInsertWordBefore"_s);
        });
        QTest::newRow("words deleted across the seam") << Change([](GluedWindow &g) {
            g.select(4);
            g.words->selectionModel()->select(QItemSelection(g.words->model()->index(4, 0), g.words->model()->index(7, 0)),
                                              QItemSelectionModel::Select);
            g.trigger(u"miDeleteWord"_s);
        });
        QTest::newRow("words merged") << Change([](GluedWindow &g) {
            g.select(0);
            g.trigger(u"miMergeWord"_s);
        });
        QTest::newRow("a word split") << Change([](GluedWindow &g) {
            g.select(5);
            g.trigger(u"miSplitWord"_s);
        });
        QTest::newRow("a speaker renamed in the interview") << renaming(7, u"Bertha"_s, u"rbInInterview"_s);
        QTest::newRow("a speaker renamed in a part") << renaming(0, u"Ann"_s, u"rbInPart"_s);
        QTest::newRow("a replace in words and texts") << Change([](GluedWindow &g) {
            g.trigger(u"miReplace"_s);
            g.w.findChild<QLineEdit *>(u"leFind"_s)->setText(u"in"_s);
            g.w.findChild<QCheckBox *>(u"cbWholeWords"_s)->setChecked(true);
            g.w.findChild<QLineEdit *>(u"leReplace"_s)->setText(u"near"_s);
            g.w.findChild<QPushButton *>(u"pbReplaceAll"_s)->click();
        });
    }

    void undoAndRedoFromTheMenuGiveTheBytesOfEveryOutput()
    {
        QFETCH(Change, change);
        GluedWindow g;
        const auto before = g.outputs();
        change(g);
        const auto after = g.outputs();
        QVERIFY(after != before);
        g.trigger(u"miUndo"_s);
        QVERIFY(g.outputs() == before);
        g.trigger(u"miRedo"_s);
        QVERIFY(g.outputs() == after);
    }

    void undoBackToWhatSaveWroteLeavesNothingUnsaved()
    {
        GluedWindow g;
        FakePerson person;
        g.w.setFileChooser(&person);
        person.saveAnswers << g.folder.path() + u"/joined.srt"_s;
        QVERIFY(g.job.hasUnsavedWork());
        QTest::keyClick(&g.w, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!g.job.hasUnsavedWork());
        g.words->model()->setData(g.words->model()->index(1, WordRow::Text), u"is"_s);
        QVERIFY(g.job.hasUnsavedWork());
        QTest::keyClick(g.words, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(g.job.wordRows(WordTable::Main)[1].text, u"was"_s);
        QVERIFY(!g.job.hasUnsavedWork());
        QTest::keyClick(g.words, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(g.job.wordRows(WordTable::Main)[1].text, u"is"_s);
        QVERIFY(g.job.hasUnsavedWork());
        // A Glue is not undone: back before it, the result is still unsaved.
        g.trigger(u"miUndo"_s);
        person.saveAnswers << g.folder.path() + u"/joined.wav"_s;
        QTest::keyClick(&g.w, Qt::Key_G, Qt::ControlModifier);
        QVERIFY(g.job.hasUnsavedWork());
        g.trigger(u"miRedo"_s);
        g.trigger(u"miUndo"_s);
        QVERIFY(g.job.hasUnsavedWork());
    }

    void findCountsAndGoesToTheMatches()
    {
        GluedWindow g;
        QTest::keyClick(&g.w, Qt::Key_F, Qt::ControlModifier);
        auto *find = g.w.findChild<QLineEdit *>(u"leFind"_s);
        auto *count = g.w.findChild<QLabel *>(u"lbMatches"_s);
        QVERIFY(find->isVisible());
        QTest::keyClicks(find, u"in"_s);
        QCOMPARE(count->text(), u"Matches: 4 (1 in words, 2 in texts, 1 in phrases)"_s);
        g.w.findChild<QCheckBox *>(u"cbMatchCase"_s)->setChecked(true);
        find->setText(u"In"_s);
        QCOMPARE(count->text(), u"Matches: 0 (0 in words, 0 in texts, 0 in phrases)"_s);
        g.w.findChild<QCheckBox *>(u"cbMatchCase"_s)->setChecked(false);
        find->setText(u"yor"_s);
        QCOMPARE(count->text(), u"Matches: 3 (1 in words, 1 in texts, 1 in phrases)"_s);
        g.w.findChild<QCheckBox *>(u"cbWholeWords"_s)->setChecked(true);
        QCOMPARE(count->text(), u"Matches: 0 (0 in words, 0 in texts, 0 in phrases)"_s);
        g.w.findChild<QCheckBox *>(u"cbWholeWords"_s)->setChecked(false);
        find->setText(u"e"_s);
        g.select(0);
        QCOMPARE(g.rowsAfterKey(Qt::Key_F3, 4), (QList<int>{5, 6, 7, 8}));
        QTest::keyClick(&g.w, Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(g.words->currentIndex().row(), 7);
    }

    void f8GoesRoundTheDoubtfulWordsWhichAreMarked()
    {
        GluedWindow g;
        g.select(0);
        // "was" (0.30), "<unk>", "the" (0.20), and round again.
        QCOMPARE(g.rowsAfterKey(Qt::Key_F8, 4), (QList<int>{1, 4, 8, 1}));
        QTest::keyClick(&g.w, Qt::Key_F8, Qt::ShiftModifier);
        QCOMPARE(g.words->currentIndex().row(), 8);

        const QAbstractItemModel *model = g.words->model();
        QVERIFY(!model->index(1, WordRow::Text).data(Qt::DecorationRole).value<QIcon>().isNull());
        QCOMPARE(model->index(1, WordRow::Text).data(Qt::ToolTipRole).toString(),
                 u"Doubtful: confidence 0.30 is below 0.50 (F8 goes to the next one)."_s);
        QCOMPARE(model->index(4, WordRow::Text).data(Qt::ToolTipRole).toString(),
                 u"Doubtful: the aligner did not know this word (F8 goes to the next one)."_s);
        QVERIFY(!model->index(0, WordRow::Text).data(Qt::DecorationRole).isValid());

        // Corrected, the word is confirmed: no mark, and F8 passes it by.
        g.words->model()->setData(model->index(1, WordRow::Text), u"is"_s);
        QCOMPARE(model->index(1, WordRow::Confidence).data().toString(), u"1.00"_s);
        QVERIFY(!model->index(1, WordRow::Text).data(Qt::DecorationRole).isValid());
        g.select(0);
        QTest::keyClick(&g.w, Qt::Key_F8);
        QCOMPARE(g.words->currentIndex().row(), 4);
    }
};

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
