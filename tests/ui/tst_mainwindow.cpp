// The main window used as a person uses it: menu items are triggered, the file
// questions are answered by the fake person (or, in two tests, the real
// dialogs are answered from a timer), and what the window then shows is checked.

#include "support/celltyping.h"
#include "support/fakeperson.h"
#include "support/files.h"
#include "support/wavbuilder.h"

#include "job/gluejob.h"
#include "job/settingstable.h"
#include "ui/icons.h"
#include "ui/mainwindow.h"
#include "ui/partspanel.h"
#include "ui/phrasecolumnwidth.h"
#include "ui/windowmemory.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFocusEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTextCursor>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <array>
#include <cmath>
#include <functional>
#include <vector>

namespace {

// A mono 16 kHz recording of a soft tone.
QByteArray toneWav(qint64 frames)
{
    std::vector<qint16> samples(static_cast<size_t>(frames));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<qint16>(800 * std::sin(static_cast<double>(i) * 0.05));
    return wav16k(samples);
}

// The lines of a saved text file: without its byte-order mark and with CR LF
// read as one line end.
QStringList savedLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {QStringLiteral("<cannot open %1>").arg(path)};
    QByteArray b = f.readAll();
    if (b.startsWith("\xEF\xBB\xBF"))
        b.remove(0, 3);
    QString t = QString::fromUtf8(b);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (t.endsWith(u'\n'))
        t.chop(1);
    return t.isEmpty() ? QStringList() : t.split(u'\n');
}

QString cell(QTableView *view, int row, int column)
{
    return view->model()->index(row, column).data().toString();
}

QStringList rowOf(QTableView *view, int r)
{
    QStringList cells;
    for (int k = 0; k < view->model()->columnCount(); ++k)
        cells << cell(view, r, k);
    return cells;
}

// The lines a text view shows, one per block, every character as it is.
QStringList linesOf(QPlainTextEdit *view)
{
    QStringList lines;
    if (view->document()->isEmpty())
        return lines;
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

// Runs action and answers the message box that it shows, if any. Returns the
// box's text, or a null text when no box came.
QString catchMessage(const std::function<void()> &action)
{
    QString text;
    QTimer watcher;
    watcher.setInterval(5);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(w);
            if (box && box->isVisible() && box->objectName() == u"errorMessage") {
                text = box->isModal() ? box->text() : QStringLiteral("<not modal>");
                box->button(QMessageBox::Ok)->click();
            }
        }
    });
    watcher.start();
    action();
    watcher.stop();
    return text;
}

// Runs action while a timer hands the real file dialog called name to answer.
void withRealDialog(const QString &name, const std::function<void(QFileDialog *)> &answer,
                    const std::function<void()> &action)
{
    QTimer watcher;
    watcher.setInterval(5);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *dialog = qobject_cast<QFileDialog *>(w);
            if (dialog && dialog->isVisible() && dialog->objectName() == name) {
                watcher.stop();
                answer(dialog);
            }
        }
    });
    watcher.start();
    action();
    watcher.stop();
}

// Types a path into the file name field of a shown file dialog and accepts it.
void choosePath(QFileDialog *dialog, const QString &path)
{
    auto *field = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(field);
    // Typing into the focused field lets go of the file the dialog selected
    // for its proposal; offscreen the field gets no focus, so let go here.
    for (auto *list : dialog->findChildren<QAbstractItemView *>())
        if (list->selectionModel())
            list->selectionModel()->clearSelection();
    field->setText(path);
    static_cast<QDialog *>(dialog)->accept(); // public in QDialog
}

// Two halves of an interview: word files, texts and recordings.
struct Sample
{
    QString wordFile1, wordFile2, text1, text2, wav1, wav2;
};

Sample makeSample(const QString &folder)
{
    Sample s{folder + "/part_1.spk", folder + "/part_2.spk", folder + "/part_1.txt",
             folder + "/part_2.txt", folder + "/part_1.wav", folder + "/part_2.wav"};
    writeBytes(s.wordFile1, "part_1\t1\t0.10\t0.40\tGood\t0.97\tInterviewer\r\n"
                            "part_1\t1\t0.45\t0.90\tmorning.\t0.5\tInterviewer\r\n"
                            "part_1\t1\t1.00\t1.30\tHello\t1\tRespondent\r\n"
                            "part_1\t1\t1.30\t1.70\tthere!\t0.88\tRespondent\r\n");
    writeBytes(s.wordFile2, "part_2\t1\t0.00\t0.30\tWhere\t0.91\tInterviewer\r\n"
                            "part_2\t1\t0.30\t0.60\twere\t0.92\tInterviewer\r\n"
                            "part_2\t1\t0.60\t1.10\tyou?\t0.93\tInterviewer\r\n"
                            "part_2\t1\t1.10\t1.20\tSIL\t1\tInterviewer\r\n");
    writeBytes(s.text1, "\xEF\xBB\xBF[StartTime: 100 ms]\r\n[Speaker: SP_01 Interviewer]\r\n"
                        "Good morning.\r\n[EndTime: 900 ms]\r\n\r\n[StartTime: 1000 ms]\r\n"
                        "[Speaker: SP_02 Respondent]\r\nHello there!\r\n");
    writeBytes(s.text2, "[StartTime: 24000 ms]\r\n[Speaker: SP_01 Interviewer]\r\n"
                        "Where were you?\r\n");
    writeBytes(s.wav1, toneWav(24008));
    writeBytes(s.wav2, toneWav(20000));
    return s;
}

// The three files of each part n in folder: pn.ctm, pn.txt, pn.wav of n seconds.
void writePartFiles(const QString &folder, int count)
{
    for (int n = 1; n <= count; ++n) {
        const QString base = folder + QStringLiteral("/p%1").arg(n);
        writeLines(base + ".ctm", {QStringLiteral("p\t1\t0.10\t0.40\tword%1.\t0.9\tSP_01 Anna").arg(n)});
        writeLines(base + ".txt", {QStringLiteral("Text of part %1.").arg(n)});
        writeBytes(base + ".wav", toneWav(16000 * n));
    }
}

// The files of part n, in another order than the kinds'.
QStringList partFiles(const QString &folder, int n)
{
    const QString base = folder + QStringLiteral("/p%1").arg(n);
    return {base + ".wav", base + ".ctm", base + ".txt"};
}

} // namespace

class TstMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;
    QString folder;

    template<class T> static T *child(QWidget &w, const QString &name)
    {
        T *found = w.findChild<T *>(name);
        if (!found)
            qWarning("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
        return found;
    }
    static QAction *mi(QWidget &w, const QString &name) { return child<QAction>(w, name); }
    static QString currentTab(QWidget &w)
    {
        return child<QTabWidget>(w, "tcData")->currentWidget()->objectName();
    }
    static QString labelText(QWidget &w, const QString &name)
    {
        return child<QLabel>(w, name)->text();
    }
    static QStringList allLabels(QWidget &w)
    {
        QStringList texts;
        for (const char *name : {"Label1", "Label2", "Label5", "Label6", "Label7", "Label8"})
            texts << labelText(w, QString::fromLatin1(name));
        return texts;
    }
    // Clicks a radio button or check box on its indicator, as a person does:
    // the middle of a wide button can lie beyond its text.
    static void click(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    static void show(QWidget &w)
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(tmp.isValid());
        folder = tmp.path();
        // The real dialogs are answered from a timer: Qt's own, not the desktop's.
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        // The window remembers settings between runs: in a store of the tests.
        useOwnSettingsStore();
    }

    // Every test starts a window as on its first run.
    void init() { WindowMemory::forget(); }

    void startsInItsStartUpState()
    {
        MainWindow w;
        show(w);
        QCOMPARE(w.objectName(), QStringLiteral("formNaadwerk"));
        QCOMPARE(w.windowTitle(), QStringLiteral("Naadwerk"));
        QCOMPARE(w.size(), QSize(976, 616));
        QCOMPARE(allLabels(w), QStringList(6, QString()));
        QCOMPARE(currentTab(w), QStringLiteral("tiCTM1"));
        for (const char *name : {"sgCTM1", "sgCTM2", "sgSRT"})
            QCOMPARE(child<QTableView>(w, name)->model()->rowCount(), 0);
        QVERIFY(child<QRadioButton>(w, "rbTab")->isChecked());
        QVERIFY(!child<QRadioButton>(w, "rbSpace")->isChecked());
        for (const char *name : {"cbEnlarge", "cbSkipwords", "cbSilence"})
            QVERIFY2(child<QCheckBox>(w, name)->isChecked(), name);
        QCOMPARE(child<QSpinBox>(w, "sbBefore")->value(), 100);
        QCOMPARE(child<QSpinBox>(w, "sbAfter")->value(), 200);
        // The job holds the same settings as the controls show: the start-up ones.
        QCOMPARE(w.job().settings.msBefore, 100);
        QCOMPARE(w.job().settings.msAfter, 200);
        QVERIFY(w.job().settings.tabSeparated && w.job().settings.widenCues
                && w.job().settings.skipStarWords && w.job().settings.blankSilence);
        for (const Setting &setting : settingsTable())
            QVERIFY2(setting.read(w.job().settings) == setting.startValue(), setting.key);
        for (QPlainTextEdit *view : w.findChildren<QPlainTextEdit *>())
            QVERIFY2(view->toPlainText().isEmpty(), qPrintable(view->objectName()));
    }

    void textsIconsAndOrder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("icon");
        auto r = [](const char *name, const char *text, bool icon = false) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(text) << icon;
        };
        r("miExit", "Exit");
        r("miOpen", "Open");
        r("miCTM1", "Word file of part 1...");
        r("miCTM2", "Word file of part 2...");
        r("miOpenText1", "Text of part 1...");
        r("miOpenText2", "Text of part 2...");
        r("miWav1", "Recording of part 1...");
        r("miWav2", "Recording of part 2...");
        r("miPlay", "Play");
        r("miRecent", "Recent interviews");
        r("btGlue", "Glue", true);
        r("btSave", "Save", true);
        r("tiSettings", "Settings", true);
        r("tiCTM1", "Words (1)", true);
        r("tiCTM2", "Words (2)", true);
        r("tiText1", "Text (1)");
        r("tiText2", "Text (2)");
        r("tiPhrases", "Phrases", true);
        r("tiSRT", "SRT", true);
        r("tiWord", "Transcript", true);
        r("tiResult", "Log", true);
        r("HeaderLabel", "Naadwerk V 1.1");
        r("gbSeparation", "Fields in word files are separated by");
        r("gbShowTime", "Subtitle times");
        r("gbShowHideWords", "Words left out of the phrases");
        r("rbTab", "Tab");
        r("rbSpace", "Space");
        r("cbEnlarge", "Enlarge the display time of the subtitles");
        r("lbBefore", "Show each subtitle earlier by (ms)");
        r("lbAfter", "Keep each subtitle on longer by (ms)");
        r("cbSilence", "Skip <SIL>");
        r("cbSkipwords", "Skip *-words");
        r("gbKaraoke", "Karaoke page");
        r("lbPage", "Karaoke page:");
        r("lbLowConfidence", "Mark words below confidence");
        r("gbLayout", "Word file layout");
        r("rbAligner", "Aligner: start and end");
        r("rbNist", "NIST CTM: start and duration");
        r("gbPhrases", "Phrases");
        r("cbPause", "End phrases at pauses of at least N ms");
        r("lbPageStyles", "classic: the page as before, which needs the internet for its script; "
                          "standalone: one file that works offline.");
        r("lbLanguage", "Interview language");
        r("lbEmptyPart1", "Open the word file, text and recording of part 1 (Open menu), or drop them here");
        r("lbEmptyPart2", "Open the word file, text and recording of part 2 (Open menu), or drop them here");
        r("gbWordFiles", "Word files");
        r("lbWordFormat", "Word file format");
        r("lbTier", "Tier of TextGrid and EAF files");
    }

    void textsIconsAndOrder()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(bool, icon);
        MainWindow w;
        auto *tcData = child<QTabWidget>(w, "tcData");
        // The texts as shown: without the "&" that marks their key.
        const auto shown = [](QString t) { return t.remove(u'&'); };
        if (auto *action = w.findChild<QAction *>(name)) {
            QCOMPARE(shown(action->text()), text);
            QCOMPARE(!action->icon().isNull(), icon);
            // Recent has no interview yet.
            QCOMPARE(action->isEnabled(), name != u"miRecent");
        } else if (auto *button = w.findChild<QPushButton *>(name)) {
            QCOMPARE(shown(button->text()), text);
            QCOMPARE(!button->icon().isNull(), icon);
        } else if (auto *group = w.findChild<QGroupBox *>(name)) {
            QCOMPARE(group->title(), text);
        } else if (auto *button = w.findChild<QAbstractButton *>(name)) {
            QCOMPARE(shown(button->text()), text);
        } else if (auto *label = w.findChild<QLabel *>(name)) {
            QCOMPARE(shown(label->text()), text);
        } else {
            auto *page = w.findChild<QWidget *>(name);
            QVERIFY2(page, qPrintable(name));
            const int i = tcData->indexOf(page);
            QVERIFY(i >= 0);
            QCOMPARE(tcData->tabText(i), text);
            QCOMPARE(!tcData->tabIcon(i).isNull(), icon);
        }
    }

    // --- The first step, shown --------------------------------------------------

    // A part without words says what to do, in a label a screen reader
    // reads; its words, once opened, take its place.
    void anEmptyPartSaysWhatToDo()
    {
        const Sample s = makeSample(folder);
        MainWindow w;
        FakePerson person;
        w.setFileChooser(&person);
        show(w);
        auto *hint1 = child<QLabel>(w, "lbEmptyPart1");
        auto *hint2 = child<QLabel>(w, "lbEmptyPart2");
        QVERIFY(hint1->isVisible());
        QCOMPARE(hint1->text(), "Open the word file, text and recording of part 1 (Open menu), or drop them here");
        // It stands in the page, above the table, and is as wide as the page.
        QWidget *page = child<QWidget>(w, "tiCTM1");
        QVERIFY(page->isAncestorOf(hint1));
        QVERIFY(hint1->width() > page->width() / 2);
        person.openAnswers << s.wordFile1;
        mi(w, "miCTM1")->trigger();
        QVERIFY(!hint1->isVisible());
        QVERIFY(hint2->isVisibleTo(child<QWidget>(w, "tiCTM2")));
        person.openAnswers << s.wordFile2;
        mi(w, "miCTM2")->trigger();
        QVERIFY(!hint2->isVisibleTo(child<QWidget>(w, "tiCTM2")));
    }

    // Glue and Save are disabled until they can run, and their tooltips say
    // what is missing; then what they do.
    void glueAndSaveSayWhatIsMissing()
    {
        const Sample s = makeSample(folder);
        MainWindow w;
        FakePerson person;
        w.setFileChooser(&person);
        show(w);
        auto *glue = child<QPushButton>(w, "btGlue");
        auto *save = child<QPushButton>(w, "btSave");
        QVERIFY(!glue->isEnabled());
        QVERIFY(!mi(w, "miGlue")->isEnabled());
        QCOMPARE(glue->toolTip(), QStringLiteral("Open both recordings before Glue."));
        QVERIFY(!save->isEnabled());
        QCOMPARE(save->toolTip(), QStringLiteral("Nothing to save yet: run Glue first."));
        // Ctrl+G does nothing while Glue cannot run: no dialog, no message.
        QTest::keyClick(&w, Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(person.questions.size(), 0);

        person.openAnswers << s.wav1;
        mi(w, "miWav1")->trigger();
        QVERIFY(!glue->isEnabled());
        person.openAnswers << s.wav2;
        mi(w, "miWav2")->trigger();
        QVERIFY(glue->isEnabled());
        QCOMPARE(glue->toolTip(), QStringLiteral("Join the parts' recordings, words and texts into one (Ctrl+G)"));
        QVERIFY(!save->isEnabled());

        // A click on the button glues.
        person.saveAnswers << folder + "/whole.wav";
        QCOMPARE(catchMessage([&] { QTest::mouseClick(glue, Qt::LeftButton); }), QString());
        QVERIFY(w.job().isGlued());
        QVERIFY(save->isEnabled());
        QCOMPARE(save->toolTip(),
                 QStringLiteral("Save the subtitles, word file, text, transcript and karaoke page (Ctrl+S)"));
        // A list of parts changed through the Parts commands names the part.
        w.job().addPart({QString(), QString(), QString()});
        QVERIFY(!glue->isEnabled());
        QCOMPARE(glue->toolTip(), QStringLiteral("Choose the recording of part 3 before Glue."));
    }

    // Save asks once about every file it would replace, and replaces none
    // when the person says no.
    void saveNamesEveryFileItWouldReplace()
    {
        const Sample s = makeSample(folder);
        QTemporaryDir out;
        MainWindow w;
        FakePerson person;
        w.setFileChooser(&person);
        person.openAnswers << s.wordFile1 << s.wordFile2 << s.text1 << s.text2 << s.wav1 << s.wav2;
        for (const char *item : {"miCTM1", "miCTM2", "miOpenText1", "miOpenText2", "miWav1", "miWav2"})
            mi(w, item)->trigger();
        const QString base = out.path() + "/joined";
        person.saveAnswers << base + ".wav" << base + ".srt";
        QCOMPARE(catchMessage([&] { mi(w, "miGlue")->trigger(); }), QString());
        // Nothing there yet: no question.
        QCOMPARE(catchMessage([&] { mi(w, "miSave")->trigger(); }), QString());
        QCOMPARE(person.replaceQuestions, QList<QStringList>());
        const QString wordFile = w.job().outputs().wordFile;
        // The interview file goes beside the results.
        const QStringList written{base + ".srt",      wordFile, base + ".txt", base + ".html", base + "_word.txt",
                                  base + ".naadwerk"};
        for (const QString &file : written)
            QVERIFY2(QFileInfo::exists(file), qPrintable(file));

        // Again, with one file gone and the others kept: the question names
        // those that exist, and "no" replaces none.
        QFile::remove(base + ".html");
        writeBytes(base + ".txt", "kept");
        person.saveAnswers << base + ".srt";
        person.replaceAnswers << false;
        QCOMPARE(catchMessage([&] { mi(w, "miSave")->trigger(); }), QString());
        QCOMPARE(person.replaceQuestions,
                 QList<QStringList>({{base + ".srt", wordFile, base + ".txt", base + "_word.txt", base + ".naadwerk"}}));
        QCOMPARE(readBytes(base + ".txt"), QByteArray("kept"));
        QVERIFY(!QFileInfo::exists(base + ".html"));
        // "Yes" replaces them all.
        person.saveAnswers << base + ".srt";
        person.replaceAnswers << true;
        QCOMPARE(catchMessage([&] { mi(w, "miSave")->trigger(); }), QString());
        QCOMPARE(person.replaceQuestions.size(), 2);
        QVERIFY(readBytes(base + ".txt") != QByteArray("kept"));
        QVERIFY(QFileInfo::exists(base + ".html"));
    }

    // The player has a row of its own: at the start size its position slider
    // has room, says what it is, and the line beside it is whole.
    void thePlayerHasRoomAtTheStartSize()
    {
        const Sample s = makeSample(folder);
        MainWindow w;
        FakePerson person;
        w.setFileChooser(&person);
        show(w);
        QCOMPARE(w.size(), QSize(976, 616));
        auto *slider = child<QSlider>(w, "slPosition");
        QVERIFY2(slider->width() >= 200, qPrintable(QString::number(slider->width())));
        QCOMPARE(slider->accessibleName(), QStringLiteral("Position in the recording"));
        auto *line = child<QLabel>(w, "lbPlayer");
        QVERIFY(line->isVisible());
        QCOMPARE(line->text(), QStringLiteral("No recording opened for part 1."));
        QVERIFY(line->width() >= line->fontMetrics().horizontalAdvance(line->text()));
        // The length read at Open shows before anything plays.
        person.openAnswers << s.wav1;
        mi(w, "miWav1")->trigger();
        QCOMPARE(child<QLabel>(w, "lbTime")->text(), QStringLiteral("0:00:00.0 / 0:00:01.5"));
        QVERIFY(!line->isVisible() || !line->text().startsWith(u"No recording"));
        QVERIFY(slider->width() >= 200);
        // Part 2's table plays part 2, which has none yet.
        child<QTabWidget>(w, "tcData")->setCurrentWidget(child<QWidget>(w, "tiCTM2"));
        QCOMPARE(line->text(), QStringLiteral("No recording opened for part 2."));
        QCOMPARE(child<QLabel>(w, "lbTime")->text(), QStringLiteral("0:00:00.0 / 0:00:00.0"));
    }

    void menuAndTabsComeInTheirOrder()
    {
        MainWindow w;
        QStringList bar;
        for (QAction *a : child<QMenuBar>(w, "mmMenu")->actions())
            bar << a->objectName();
        QCOMPARE(bar, QStringList({"miExit", "miOpen", "miEdit", "miPlay", "miHelp"}));
        // Glue and Save follow the menu, in the order of the steps.
        show(w);
        auto *glue = child<QPushButton>(w, "btGlue");
        auto *save = child<QPushButton>(w, "btSave");
        QVERIFY(glue->mapTo(&w, QPoint(0, 0)).x() >= child<QMenuBar>(w, "mmMenu")->width());
        QVERIFY(save->mapTo(&w, QPoint(0, 0)).x() > glue->mapTo(&w, QPoint(0, 0)).x());
        // As wide as their texts, in a wide window too, with or without the
        // player's line beside them.
        for (bool line : {true, false}) {
            child<QLabel>(w, "lbPlayer")->setVisible(line);
            w.resize(1600, 1000);
            QCoreApplication::processEvents();
            QCOMPARE(glue->width(), glue->sizeHint().width());
            QCOMPARE(save->width(), save->sizeHint().width());
        }
        QStringList list;
        for (QAction *a : mi(w, "miOpen")->menu()->actions())
            list << a->objectName();
        QCOMPARE(list, QStringList({"miCTM1", "miCTM2", "miOpenText1", "miOpenText2", "miWav1",
                                    "miWav2", "", "miRecent", "", "miNewInterview", "miOpenInterview",
                                    "miSaveInterviewAs"}));
        auto *tcData = child<QTabWidget>(w, "tcData");
        QStringList tabs;
        for (int i = 0; i < tcData->count(); ++i)
            tabs << tcData->widget(i)->objectName();
        QCOMPARE(tabs, QStringList({"tiSettings", "tiCTM1", "tiCTM2", "tiText1", "tiText2",
                                    "tiPhrases", "tiSRT", "tiWord", "tiResult", "tiParts", "tiReview"}));
        QCOMPARE(tcData->tabText(tcData->count() - 2), QStringLiteral("Parts"));
        QCOMPARE(tcData->tabText(tcData->count() - 1), QStringLiteral("Review (0)"));
    }

    void laysOutHeaderMenuTabsAndFooter()
    {
        MainWindow w;
        show(w);
        auto geo = [&](const char *name) {
            auto *k = w.findChild<QWidget *>(name);
            return k ? QRect(k->mapTo(&w, QPoint(0, 0)), k->size()) : QRect();
        };
        QCOMPARE(geo("paHeader"), QRect(0, 0, 976, 48));
        // The menu bar's row: the menu, then Glue and Save; the player has
        // the row under it.
        const QRect menu = geo("mmMenu");
        QCOMPARE(menu.topLeft(), QPoint(0, 48));
        QCOMPARE(menu.height(), 24);
        QVERIFY(menu.width() < 976 / 2);
        QCOMPARE(geo("paCommands"), QRect(0, 48, 976, 24));
        QCOMPARE(geo("paPlayer"), QRect(0, 72, 976, 28));
        QCOMPARE(geo("tcData"), QRect(0, 100, 976, 368));
        QCOMPARE(geo("Image2"), QRect(0, 0, 81, 48));
        QCOMPARE(geo("Image1"), QRect(976 - 81, 0, 81, 48));
        QCOMPARE(geo("HeaderLabel"), QRect(0, 0, 976, 48));
        auto *header = child<QLabel>(w, "HeaderLabel");
        QCOMPARE(header->font().pointSize(), 24);
        QCOMPARE(int(header->alignment() & Qt::AlignHorizontal_Mask), int(Qt::AlignHCenter));

        // The logos are 168 by 74 pictures, shown scaled to fit 81 by 48.
        QCOMPARE(Icons::logo(true).size(), QSize(168, 74));
        QCOMPARE(Icons::logo(false).size(), QSize(168, 74));
        for (const char *name : {"Image1", "Image2"}) {
            const QPixmap image = child<QLabel>(w, name)->pixmap();
            QCOMPARE(image.width(), 81);
            QCOMPARE(image.height(), 74 * 81 / 168);
        }

        // Six labels, 17 high, 10 from either side, 5 above and 2 below each.
        const char *names[] = {"Label1", "Label2", "Label5", "Label6", "Label7", "Label8"};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(geo(names[i]), QRect(10, 468 + 5 + i * 24, 976 - 20, 17));
        auto *label1 = child<QLabel>(w, "Label1");
        QCOMPARE(label1->alignment(), Qt::AlignLeft | Qt::AlignTop);
        // A long path stays on its line and leaves the window as wide as it was.
        label1->setText(QStringLiteral("CTM-file: /") + QString(400, u'x'));
        QCoreApplication::processEvents();
        QCOMPARE(w.width(), 976);

        // The settings panel, once its tab is shown.
        child<QTabWidget>(w, "tcData")->setCurrentIndex(0);
        QCoreApplication::processEvents();
        auto *panel = child<QWidget>(w, "paSettings");
        QCOMPARE(panel->width(), 296);
        const QPoint origin = panel->mapTo(&w, QPoint(0, 0));
        auto inPanel = [&](const char *name) { return geo(name).translated(-origin); };
        QCOMPARE(inPanel("gbSeparation"), QRect(0, 10, 296, 85));
        QCOMPARE(inPanel("gbShowTime"), QRect(0, 95, 296, 177));
        QCOMPARE(inPanel("gbShowHideWords"), QRect(0, 272, 296, 89));
        // The settings for other tools' files stand in a second column beside.
        QVERIFY(geo("gbLayout").left() >= geo("gbSeparation").right());
        QCOMPARE(geo("gbLayout").top(), geo("gbSeparation").top());
        QCOMPARE(geo("gbLayout").size(), QSize(286, 85));
        for (const char *name : {"sbBefore", "sbAfter"})
            QCOMPARE(child<QSpinBox>(w, name)->size(), QSize(111, 22));
        // Top to bottom inside their groups.
        QVERIFY(geo("rbTab").y() < geo("rbSpace").y());
        QVERIFY(geo("cbEnlarge").y() < geo("lbBefore").y());
        QVERIFY(geo("lbBefore").y() < geo("sbBefore").y());
        QVERIFY(geo("sbBefore").y() < geo("lbAfter").y());
        QVERIFY(geo("lbAfter").y() < geo("sbAfter").y());
        QVERIFY(geo("cbSilence").y() < geo("cbSkipwords").y());
        // The karaoke page's group heads a second column beside the panel.
        auto *pagePanel = child<QWidget>(w, "paKaraoke");
        const QPoint pageOrigin = pagePanel->mapTo(&w, QPoint(0, 0));
        QCOMPARE(pageOrigin.y(), origin.y());
        QVERIFY(pageOrigin.x() >= origin.x() + 296);
        QCOMPARE(geo("gbKaraoke").translated(-pageOrigin), QRect(0, 10, 296, 240));
        QVERIFY(geo("lbPage").y() < geo("cbPage").y());
        QVERIFY(geo("cbPage").y() < geo("lbLowConfidence").y());
        QVERIFY(geo("lbLowConfidence").y() < geo("sbLowConfidence").y());
    }

    void tablesHaveTheirColumnsAndStayFast_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QList<int>>("widths"); // 0: the style's default; -1: takes the room left
        const QStringList word{"#", "Start time", "End time", "Transcription", "Confidence",
                               "Speaker"};
        QTest::newRow("word table 1") << "sgCTM1" << word << QList<int>{50, 0, 0, -1, 0, 0};
        QTest::newRow("word table 2") << "sgCTM2" << word << QList<int>{50, 0, 0, -1, 0, 0};
        QTest::newRow("phrase table")
            << "sgSRT" << QStringList{"#", "Start time", "End time", "Characters", "Text"}
            << QList<int>{33, 103, 103, 53, 583};
    }

    void tablesHaveTheirColumnsAndStayFast()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, headers);
        QFETCH(QList<int>, widths);
        MainWindow w;
        show(w);
        auto *view = child<QTableView>(w, name);
        auto *tabs = child<QTabWidget>(w, "tcData");
        // The table's own tab shown: a table gets its width when shown.
        QWidget *page = view;
        while (page && tabs->indexOf(page) < 0)
            page = page->parentWidget();
        tabs->setCurrentWidget(page);
        QCoreApplication::processEvents();
        QHeaderView *header = view->horizontalHeader();
        QStringList seen;
        for (int k = 0; k < view->model()->columnCount(); ++k) {
            seen << view->model()->headerData(k, Qt::Horizontal).toString();
            if (widths[k] < 0) {
                // The words take what the other columns leave, at least their start width.
                QCOMPARE(header->sectionResizeMode(k), QHeaderView::Stretch);
                QVERIFY(header->sectionSize(k) >= 250);
                continue;
            }
            const int expected = widths[k] ? widths[k] : header->defaultSectionSize();
            QCOMPARE(header->sectionSize(k), expected);
            QCOMPARE(header->sectionResizeMode(k), QHeaderView::Interactive);
        }
        if (widths.contains(-1))
            QCOMPARE(header->length(), view->viewport()->width());
        QCOMPARE(seen, headers);
        QVERIFY(!header->isHidden());
        // A word table's row numbers play the word at a click.
        QCOMPARE(view->verticalHeader()->isHidden(), name == u"sgSRT");
        QCOMPARE(view->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        QVERIFY(!view->wordWrap());
    }

    void radioButtonsExcludeEachOtherAndSettingsReachTheJob()
    {
        MainWindow w;
        show(w);
        child<QTabWidget>(w, "tcData")->setCurrentIndex(0);
        auto *rbTab = child<QRadioButton>(w, "rbTab");
        auto *rbSpace = child<QRadioButton>(w, "rbSpace");
        click(rbSpace);
        QVERIFY(rbSpace->isChecked());
        QVERIFY(!rbTab->isChecked());
        QVERIFY(!w.job().settings.tabSeparated);
        click(rbTab);
        QVERIFY(rbTab->isChecked());
        QVERIFY(!rbSpace->isChecked());
        QVERIFY(w.job().settings.tabSeparated);

        auto *rbAligner = child<QRadioButton>(w, "rbAligner");
        auto *rbNist = child<QRadioButton>(w, "rbNist");
        QVERIFY(rbAligner->isChecked());
        QCOMPARE(w.job().settings.layout, WordFileLayout::Aligner);
        click(rbNist);
        QVERIFY(!rbAligner->isChecked());
        QCOMPARE(w.job().settings.layout, WordFileLayout::Nist);
        QVERIFY(rbTab->isChecked()); // the two groups do not exclude each other
        click(rbAligner);
        QCOMPARE(w.job().settings.layout, WordFileLayout::Aligner);

        auto *cbPause = child<QCheckBox>(w, "cbPause");
        auto *sbPause = child<QSpinBox>(w, "sbPause");
        QVERIFY(!cbPause->isChecked()); // off at start
        QCOMPARE(sbPause->minimum(), 100);
        QCOMPARE(sbPause->maximum(), 10000);
        click(cbPause);
        QVERIFY(w.job().settings.endPhrasesAtPauses);
        sbPause->setValue(2500);
        QCOMPARE(w.job().settings.phrasePauseMs, 2500);
        sbPause->setValue(20000);
        QCOMPARE(w.job().settings.phrasePauseMs, 10000);

        click(child<QCheckBox>(w, "cbEnlarge"));
        click(child<QCheckBox>(w, "cbSkipwords"));
        click(child<QCheckBox>(w, "cbSilence"));
        QVERIFY(!w.job().settings.widenCues);
        QVERIFY(!w.job().settings.skipStarWords);
        QVERIFY(!w.job().settings.blankSilence);
    }

    void channelsChoiceReachesTheJob()
    {
        MainWindow w;
        show(w);
        child<QTabWidget>(w, "tcData")->setCurrentIndex(0);
        auto *channels = child<QComboBox>(w, "cbChannels");
        QCOMPARE(child<QLabel>(w, "lbChannels")->text().remove(u'&'), QStringLiteral("Channels"));
        QCOMPARE(child<QLabel>(w, "lbChannels")->buddy(), channels);
        QVERIFY(channels->isVisible());
        // Mixed at start, as every recording was joined before.
        QCOMPARE(channels->currentText(), QStringLiteral("mix"));
        QVERIFY(w.job().settings.channels == ChannelChoice::Mix);
        const std::pair<int, ChannelChoice> choices[] = {
            {1, ChannelChoice::Left}, {2, ChannelChoice::Right}, {0, ChannelChoice::Mix}};
        for (const auto &[index, choice] : choices) {
            channels->setCurrentIndex(index);
            QVERIFY(w.job().settings.channels == choice);
        }
        QCOMPARE(channels->itemText(1), QStringLiteral("left"));
        QCOMPARE(channels->itemText(2), QStringLiteral("right"));
    }

    void karaokePageControlsReachTheJob()
    {
        MainWindow w;
        show(w);
        child<QTabWidget>(w, "tcData")->setCurrentIndex(0);
        auto *page = child<QComboBox>(w, "cbPage");
        auto *low = child<QDoubleSpinBox>(w, "sbLowConfidence");
        // Classic at start, so the page stays as it was.
        QCOMPARE(page->currentText(), QStringLiteral("classic"));
        QCOMPARE(page->count(), 2);
        QCOMPARE(page->itemText(1), QStringLiteral("standalone"));
        QCOMPARE(low->value(), 0.5);
        QCOMPARE(low->minimum(), 0.0);
        QCOMPARE(low->maximum(), 1.0);
        QCOMPARE(low->decimals(), 2);
        QVERIFY(w.job().settings.pageStyle == GlueSettings::PageStyle::Classic);
        QCOMPARE(w.job().settings.lowConfidence, 0.5);

        page->setCurrentIndex(1);
        QVERIFY(w.job().settings.pageStyle == GlueSettings::PageStyle::Standalone);
        low->setValue(0.75);
        QCOMPARE(w.job().settings.lowConfidence, 0.75);
        low->setValue(3);
        QCOMPARE(w.job().settings.lowConfidence, 1.0);
        low->setValue(0);
        QCOMPARE(w.job().settings.lowConfidence, 0.0);
        page->setCurrentIndex(0);
        QVERIFY(w.job().settings.pageStyle == GlueSettings::PageStyle::Classic);
    }

    void spinBoxesKeepToTheirRange_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("value");
        QTest::newRow("before, in range") << "sbBefore" << 250 << 250;
        QTest::newRow("before, above 2000") << "sbBefore" << 2500 << 2000;
        QTest::newRow("before, below 0") << "sbBefore" << -5 << 0;
        QTest::newRow("after, in range") << "sbAfter" << 1999 << 1999;
        QTest::newRow("after, above 2000") << "sbAfter" << 99999 << 2000;
        QTest::newRow("after, below 0") << "sbAfter" << -1 << 0;
    }

    void spinBoxesKeepToTheirRange()
    {
        QFETCH(QString, name);
        QFETCH(int, set);
        QFETCH(int, value);
        MainWindow w;
        show(w);
        auto *sb = child<QSpinBox>(w, name);
        QCOMPARE(sb->minimum(), 0);
        QCOMPARE(sb->maximum(), 2000);
        sb->setValue(set);
        QCOMPARE(sb->value(), value);
        const int inJob = name == u"sbBefore" ? w.job().settings.msBefore : w.job().settings.msAfter;
        QCOMPARE(inJob, value);
    }

    void openCtmFillsItsTable_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("blank");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("last");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("tab");
        QTest::newRow("tab-separated SPK as file 1, last SIL dropped")
            << "miCTM1" << false
            << QByteArray("u\t1\t0.10\t0.40\tGood\t0.97\tInterviewer\n"
                          "u\t1\t0.45\t0.90\tmorning.\t0.5\tInterviewer\n"
                          "u\t1\t0.90\t1.20\tSIL\t1\tInterviewer\n")
            << 2 << QStringList{"2", "450", "900", "morning.", "0.50", "Interviewer"} << "Label1"
            << "tiCTM1";
        QTest::newRow("blank-separated CTM as file 2, no speaker")
            << "miCTM2" << true
            << QByteArray("u 1 0.10 0.40 Good 0.97\nu 1 1.5 2.25 day 1\n") << 2
            << QStringList{"2", "1500", "2250", "day", "1.00", "X"} << "Label2" << "tiCTM2";
    }

    void openCtmFillsItsTable()
    {
        QFETCH(QString, item);
        QFETCH(bool, blank);
        QFETCH(QByteArray, content);
        QFETCH(int, rows);
        QFETCH(QStringList, last);
        QFETCH(QString, label);
        QFETCH(QString, tab);
        const QString path = folder + "/open.ctm";
        writeBytes(path, content);
        MainWindow w;
        show(w);
        FakePerson person;
        w.setFileChooser(&person);
        child<QTabWidget>(w, "tcData")->setCurrentIndex(0);
        if (blank)
            click(child<QRadioButton>(w, "rbSpace"));
        person.openAnswers << path;
        QCOMPARE(catchMessage([&] { mi(w, item)->trigger(); }), QString());

        QCOMPARE(person.questions.size(), 1);
        QCOMPARE(person.questions[0].save, false);
        QCOMPARE(person.questions[0].filter, 1);
        auto *view = child<QTableView>(w, item == u"miCTM1" ? "sgCTM1" : "sgCTM2");
        QCOMPARE(view->model()->rowCount(), rows);
        if (rows > 0)
            QCOMPARE(rowOf(view, rows - 1), last);
        QCOMPARE(labelText(w, label), QStringLiteral("Word file of part %1: ").arg(label == u"Label1" ? 1 : 2) + path);
        QCOMPARE(currentTab(w), tab);
        // The columns keep their widths when the table is filled; the words
        // take the room the others leave.
        QCOMPARE(view->horizontalHeader()->sectionSize(0), 50);
        QVERIFY(view->horizontalHeader()->sectionSize(3) >= 250);
    }

    // A word file of a million words reaches its view in one model reset:
    // no signal per row, and the rows the view shows are the job's.
    void aMillionWordsArriveInOneReset()
    {
        const int count = 1000000;
        QByteArray content;
        content.reserve(count * 40);
        for (int i = 0; i < count; ++i) {
            const QByteArray ms = QByteArray::number(i);
            content += "u\t1\t" + ms + ".001\t" + ms + ".5\tword" + ms + "\t0.75\tS\n";
        }
        const QString path = folder + "/million.spk";
        writeBytes(path, content);
        content.clear();

        MainWindow w;
        show(w);
        FakePerson person;
        w.setFileChooser(&person);
        auto *view = child<QTableView>(w, "sgCTM1");
        QAbstractItemModel *model = view->model();
        QSignalSpy resets(model, &QAbstractItemModel::modelReset);
        QSignalSpy inserts(model, &QAbstractItemModel::rowsInserted);
        QSignalSpy changes(model, &QAbstractItemModel::dataChanged);
        // The parse runs beside the window's event loop: a timer of the
        // window's thread keeps firing while it runs.
        int ticks = 0;
        QTimer ticker;
        ticker.setInterval(1);
        connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start();
        person.openAnswers << path;
        QCOMPARE(catchMessage([&] { mi(w, "miCTM1")->trigger(); }), QString());
        ticker.stop();
        QVERIFY2(ticks > 0, "the window waited for the parse");

        QCOMPARE(resets.count(), 1);
        QCOMPARE(inserts.count(), 0);
        QCOMPARE(changes.count(), 0);
        QCOMPARE(model->rowCount(), count);
        QCOMPARE(w.job().wordRows(WordTable::Main).size(), size_t(count));
        QCOMPARE(rowOf(view, 0), (QStringList{"1", "1", "500", "word0", "0.75", "S"}));
        QCOMPARE(rowOf(view, count - 1),
                 (QStringList{"1000000", "999999001", "999999500", "word999999", "0.75", "S"}));
    }

    void openTextShowsItsLines_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("view");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("tab");
        QTest::newRow("text 1") << "miOpenText1" << "meText1" << "Label5" << "tiText1";
        QTest::newRow("text 2") << "miOpenText2" << "meText2" << "Label6" << "tiText2";
    }

    void openTextShowsItsLines()
    {
        QFETCH(QString, item);
        QFETCH(QString, view);
        QFETCH(QString, label);
        QFETCH(QString, tab);
        const QString path = folder + "/text.txt";
        // Byte-order mark, blank line, leading blanks and a no-break space.
        writeBytes(path, "\xEF\xBB\xBF[StartTime: 100 ms]\r\n\r\n  Good\xC2\xA0morning.\r\nBye");
        MainWindow w;
        FakePerson person;
        w.setFileChooser(&person);
        person.openAnswers << path;
        mi(w, item)->trigger();
        QCOMPARE(person.questions.size(), 1);
        QCOMPARE(person.questions[0].filter, 2);
        const QStringList expected{"[StartTime: 100 ms]", "", QStringLiteral("  Good\u00A0morning."),
                                   "Bye"};
        QCOMPARE(linesOf(child<QPlainTextEdit>(w, view)), expected);
        QCOMPARE(labelText(w, label), QStringLiteral("Text of part %1: ").arg(label == u"Label5" ? 1 : 2) + path);
        QCOMPARE(currentTab(w), tab);
    }

    void openWavNamesItsFrames_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("frames");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("says");
        QTest::newRow("mono, 160000 frames, file 1")
            << "miWav1" << 1 << 160000 << "Label7" << "Recording of part 1: %1 - WAV, 16 kHz mono, 0:00:10.000";
        QTest::newRow("stereo, 1000 frames, file 2")
            << "miWav2" << 2 << 1000 << "Label8" << "Recording of part 2: %1 - WAV, 16 kHz stereo, 0:00:00.063";
    }

    void openWavNamesItsFrames()
    {
        QFETCH(QString, item);
        QFETCH(int, channels);
        QFETCH(int, frames);
        QFETCH(QString, label);
        QFETCH(QString, says);
        const QString path = folder + "/recording.wav";
        writeBytes(path, channels == 1 ? toneWav(frames) : silentWav(16000, channels, 16, frames));
        MainWindow w;
        show(w);
        FakePerson person;
        w.setFileChooser(&person);
        child<QTabWidget>(w, "tcData")->setCurrentIndex(0);
        person.openAnswers << path;
        QCOMPARE(catchMessage([&] { mi(w, item)->trigger(); }), QString());
        QCOMPARE(person.questions.size(), 1);
        QCOMPARE(person.questions[0].filter, 3);
        QCOMPARE(labelText(w, label), says.arg(path));
        // Open Wav selects no tab.
        QCOMPARE(currentTab(w), QStringLiteral("tiSettings"));
    }

    void cancelledOpenChangesNothing_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("filter");
        QTest::newRow("CTM 1") << "miCTM1" << 1;
        QTest::newRow("CTM 2") << "miCTM2" << 1;
        QTest::newRow("Text 1") << "miOpenText1" << 2;
        QTest::newRow("Text 2") << "miOpenText2" << 2;
        QTest::newRow("Wav 1") << "miWav1" << 3;
        QTest::newRow("Wav 2") << "miWav2" << 3;
    }

    void cancelledOpenChangesNothing()
    {
        QFETCH(QString, item);
        QFETCH(int, filter);
        const Sample s = makeSample(folder);
        MainWindow w;
        show(w);
        FakePerson person;
        w.setFileChooser(&person);
        person.openAnswers << s.wordFile1 << s.wordFile2 << s.text1 << s.text2 << s.wav1 << s.wav2;
        for (const char *i : {"miCTM1", "miCTM2", "miOpenText1", "miOpenText2", "miWav1", "miWav2"})
            mi(w, i)->trigger();
        child<QTabWidget>(w, "tcData")->setCurrentIndex(0);
        const QStringList labels = allLabels(w);
        const QStringList table1 = rowOf(child<QTableView>(w, "sgCTM1"), 0);
        const QString text1 = child<QPlainTextEdit>(w, "meText1")->toPlainText();
        person.questions.clear();

        person.openAnswers << QString();
        QCOMPARE(catchMessage([&] { mi(w, item)->trigger(); }), QString());
        QCOMPARE(person.questions.size(), 1);
        QCOMPARE(person.questions[0].filter, filter);
        QCOMPARE(allLabels(w), labels);
        QCOMPARE(currentTab(w), QStringLiteral("tiSettings"));
        QCOMPARE(child<QTableView>(w, "sgCTM1")->model()->rowCount(), 4);
        QCOMPARE(child<QTableView>(w, "sgCTM2")->model()->rowCount(), 3);
        QCOMPARE(rowOf(child<QTableView>(w, "sgCTM1"), 0), table1);
        QCOMPARE(child<QPlainTextEdit>(w, "meText1")->toPlainText(), text1);
        QCOMPARE(w.job().part(0).files.recording, s.wav1);
        QCOMPARE(w.job().part(1).files.text, s.text2);
    }

    void anErrorIsShownAndTheWindowGoesOn_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QByteArray>("content"); // null: no file at all
        QTest::addColumn<QString>("message");    // the message, or its start when it ends in "%"
        QTest::addColumn<QString>("label");      // keeps its text
        QTest::newRow("CTM with a start that is no number")
            << "miCTM1" << QByteArray("u\t1\t0.1\t0.4\tGood\t1\nu\t1\tabc\t0.9\tday\t1\n")
            << "\"%1\", line 2: 'abc' is not a valid floating point value" << "Label1";
        QTest::newRow("blank-separated CTM read as tab-separated")
            << "miCTM2" << QByteArray("u 1 0.1 0.4 Good 1\n")
            << "\"%1\", line 1: '' is not a valid floating point value; "
               "the fields are apart by blanks: choose \"Space\" on the Settings tab (--separator space)"
            << "Label2";
        QTest::newRow("empty CTM") << "miCTM1" << QByteArray("") << "\"%1\": no words found" << "Label1";
        QTest::newRow("text that is not there")
            << "miOpenText1" << QByteArray() << "Cannot open file \"%1\". %" << "Label5";
        QTest::newRow("wav without RIFF") << "miWav1" << QByteArray("Notes, no sound.\n") << "\"%1\" is a text file, not a recording"
                                          << "Label7";
    }

    void anErrorIsShownAndTheWindowGoesOn()
    {
        QFETCH(QString, item);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QFETCH(QString, label);
        const QString path = folder + "/faulty.input";
        QFile::remove(path);
        if (!content.isNull())
            writeBytes(path, content);
        MainWindow w;
        show(w);
        FakePerson person;
        w.setFileChooser(&person);
        child<QTabWidget>(w, "tcData")->setCurrentIndex(0);

        person.openAnswers << path;
        const QString seen = catchMessage([&] { mi(w, item)->trigger(); });
        if (message.endsWith(u'%')) {
            message = message.arg(path);
            message.chop(1);
            QVERIFY2(seen.startsWith(message) && seen.size() > message.size(), qPrintable(seen));
        } else {
            QCOMPARE(seen, message.contains(u"%1") ? message.arg(path) : message);
        }
        QCOMPARE(labelText(w, label), QString());
        QCOMPARE(currentTab(w), QStringLiteral("tiSettings"));
        QCOMPARE(child<QTableView>(w, "sgCTM1")->model()->rowCount(), 0);

        // The window takes the next command as if nothing happened.
        const Sample s = makeSample(folder);
        person.openAnswers << s.wordFile1;
        QCOMPARE(catchMessage([&] { mi(w, "miCTM1")->trigger(); }), QString());
        QCOMPARE(child<QTableView>(w, "sgCTM1")->model()->rowCount(), 4);
        QCOMPARE(labelText(w, "Label1"), "Word file of part 1: " + s.wordFile1);
    }

    void editsReachTheNextCommand()
    {
        const Sample s = makeSample(folder);
        MainWindow w;
        show(w);
        FakePerson person;
        w.setFileChooser(&person);
        person.openAnswers << s.wordFile1 << s.text1 << s.wav1 << s.wav2;
        mi(w, "miCTM1")->trigger();
        mi(w, "miOpenText1")->trigger();
        mi(w, "miWav1")->trigger();
        mi(w, "miWav2")->trigger();

        // A cell edited in word table 1, its editor still open when Glue runs.
        auto *sgCTM1 = child<QTableView>(w, "sgCTM1");
        child<QTabWidget>(w, "tcData")->setCurrentWidget(child<QWidget>(w, "tiCTM1"));
        const QModelIndex place = sgCTM1->model()->index(1, 3);
        sgCTM1->setCurrentIndex(place);
        sgCTM1->edit(place);
        auto *editor = qobject_cast<QLineEdit *>(sgCTM1->indexWidget(place));
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "evening.");
        // Text 1 edited by typing at its end.
        auto *meText1 = child<QPlainTextEdit>(w, "meText1");
        meText1->moveCursor(QTextCursor::End);
        QTest::keyClick(meText1, Qt::Key_Return);
        QTest::keyClicks(meText1, QStringLiteral("Added\u00A0by hand."));

        person.saveAnswers << folder + "/edits-joined.wav";
        QCOMPARE(catchMessage([&] { mi(w, "miGlue")->trigger(); }), QString());
        QCOMPARE(w.job().wordRows(WordTable::Main)[1].cell(WordRow::Text), QStringLiteral("evening."));
        QCOMPARE(place.data().toString(), QStringLiteral("evening."));
        auto *sgSRT = child<QTableView>(w, "sgSRT");
        QVERIFY(sgSRT->model()->rowCount() > 0);
        QVERIFY2(cell(sgSRT, 0, 4).contains(u"evening."), qPrintable(cell(sgSRT, 0, 4)));
        const QString typed = QStringLiteral("Added\u00A0by hand.");
        QCOMPARE(w.job().text(TextView::Text1).last(), typed);
        QCOMPARE(linesOf(meText1).last(), typed);
        QVERIFY(linesOf(child<QPlainTextEdit>(w, "meWord")).join(u'\n').contains(u"by hand."));
        // The result log is the record of the commands, not a place to type in.
        QVERIFY(child<QPlainTextEdit>(w, "meResult")->isReadOnly());
    }

    // A cell typed in a word table reaches the job's row: a number column
    // takes the number when the text is that number's own form, and keeps
    // the text otherwise; the view then shows what the row holds.
    void anEditInAWordTableReachesTheJobsRow_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("keptAsText");
        QTest::addColumn<QString>("value"); // the row's own field, when not kept as text
        QTest::newRow("start as whole ms") << int(WordRow::Start) << "1200" << false << "1200";
        QTest::newRow("start with a decimal point") << int(WordRow::Start) << "1.5" << true << "";
        QTest::newRow("end with a leading zero") << int(WordRow::End) << "0900" << true << "";
        QTest::newRow("end that is no number") << int(WordRow::End) << "12x" << true << "";
        QTest::newRow("number") << int(WordRow::Number) << "12" << false << "12";
        QTest::newRow("confidence with two decimals")
            << int(WordRow::Confidence) << "0.75" << false << "0.75";
        QTest::newRow("confidence without decimals") << int(WordRow::Confidence) << "1" << true << "";
        QTest::newRow("word") << int(WordRow::Text) << "evening." << false << "evening.";
        QTest::newRow("speaker") << int(WordRow::Speaker) << "Host" << false << "Host";
    }

    void anEditInAWordTableReachesTheJobsRow()
    {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(bool, keptAsText);
        QFETCH(QString, value);
        const Sample s = makeSample(folder);
        MainWindow w;
        show(w);
        FakePerson person;
        w.setFileChooser(&person);
        person.openAnswers << s.wordFile1;
        mi(w, "miCTM1")->trigger();
        auto *sgCTM1 = child<QTableView>(w, "sgCTM1");
        QSignalSpy changes(sgCTM1->model(), &QAbstractItemModel::dataChanged);
        const QStringList before = rowOf(sgCTM1, 1);

        typeIntoCell(sgCTM1, sgCTM1->model()->index(1, column), typed);

        const WordRow &row = w.job().wordRows(WordTable::Main)[1];
        const auto col = static_cast<WordRow::Column>(column);
        QCOMPARE(row.cell(col), typed);
        QCOMPARE(row.isTyped(col), keptAsText);
        if (!keptAsText) {
            const std::array<QString, WordRow::columnCount> fields{
                QString::number(row.number), QString::number(row.start), QString::number(row.end),
                row.text, QString::number(row.confidence, 'f', 2), row.speaker};
            QCOMPARE(fields[static_cast<size_t>(column)], value);
        }
        // The view repaints the row from the job, and only that cell changed.
        QCOMPARE(changes.count(), 1);
        QVERIFY(changes[0][0].value<QModelIndex>().row() <= 1);
        QVERIFY(changes[0][1].value<QModelIndex>().row() >= 1);
        QStringList expected = before;
        expected[column] = typed;
        // A word whose text is corrected is confirmed.
        if (column == WordRow::Text && typed != before[column])
            expected[WordRow::Confidence] = QStringLiteral("1.00");
        QCOMPARE(rowOf(sgCTM1, 1), expected);
        QCOMPARE(cells(row), expected);
    }

    // The phrases, the SRT and the Word-like transcript are made from the
    // words, texts and settings: they cannot be typed in, and say where to
    // correct instead.
    void theDerivedViewsAreReadOnlyAndSayWhereToCorrect()
    {
        const Sample s = makeSample(folder);
        MainWindow w;
        show(w);
        FakePerson person;
        w.setFileChooser(&person);
        person.openAnswers << s.wordFile1 << s.wav1 << s.wav2;
        person.saveAnswers << folder + "/readonly-joined.wav";
        for (const char *item : {"miCTM1", "miWav1", "miWav2", "miGlue"})
            QCOMPARE(catchMessage([&] { mi(w, item)->trigger(); }), QString());
        child<QTabWidget>(w, "tcData")->setCurrentWidget(child<QWidget>(w, "tiPhrases"));
        auto *sgSRT = child<QTableView>(w, "sgSRT");
        QVERIFY(sgSRT->model()->rowCount() >= 2);
        const QString before = cell(sgSRT, 1, PhraseRow::Text);
        sgSRT->setCurrentIndex(sgSRT->model()->index(1, PhraseRow::Text));
        sgSRT->edit(sgSRT->currentIndex());
        QVERIFY(!sgSRT->indexWidget(sgSRT->currentIndex())); // no editor opens
        QCOMPARE(cell(sgSRT, 1, PhraseRow::Text), before);
        for (const char *view : {"meSRT", "meWord", "meResult"})
            QVERIFY2(child<QPlainTextEdit>(w, view)->isReadOnly(), view);
        for (const char *view : {"meText1", "meText2"})
            QVERIFY2(!child<QPlainTextEdit>(w, view)->isReadOnly(), view);
        for (const char *hint : {"lbPhrasesHint", "lbSRTHint", "lbWordHint"}) {
            const QString text = child<QLabel>(w, hint)->text();
            QVERIFY2(text.contains(u"\"Words (1)\"") && text.contains(u"\"Text (1)\"")
                         && text.contains(u"\"Settings\""),
                     qPrintable(text));
        }
    }

    // Glue appends part 2 to word table 1 in one insert, and shows the new
    // phrases in one reset.
    void glueAppendsInOneInsert()
    {
        const Sample s = makeSample(folder);
        MainWindow w;
        show(w);
        FakePerson person;
        w.setFileChooser(&person);
        person.openAnswers << s.wordFile1 << s.wordFile2 << s.wav1 << s.wav2;
        mi(w, "miCTM1")->trigger();
        mi(w, "miCTM2")->trigger();
        mi(w, "miWav1")->trigger();
        mi(w, "miWav2")->trigger();
        QAbstractItemModel *table1 = child<QTableView>(w, "sgCTM1")->model();
        QAbstractItemModel *phrases = child<QTableView>(w, "sgSRT")->model();
        const int a = table1->rowCount();
        const int b = child<QTableView>(w, "sgCTM2")->model()->rowCount();
        QSignalSpy inserts(table1, &QAbstractItemModel::rowsInserted);
        QSignalSpy resets(table1, &QAbstractItemModel::modelReset);
        QSignalSpy phraseResets(phrases, &QAbstractItemModel::modelReset);
        QSignalSpy phraseInserts(phrases, &QAbstractItemModel::rowsInserted);

        person.saveAnswers << folder + "/insert-joined.wav";
        QCOMPARE(catchMessage([&] { mi(w, "miGlue")->trigger(); }), QString());
        QCOMPARE(inserts.count(), 1);
        QCOMPARE(inserts[0][1].toInt(), a);
        QCOMPARE(inserts[0][2].toInt(), a + b - 1);
        QCOMPARE(resets.count(), 0);
        QCOMPARE(table1->rowCount(), a + b);
        QCOMPARE(phraseResets.count(), 1);
        QCOMPARE(phraseInserts.count(), 0);
        QCOMPARE(phrases->rowCount(), int(w.job().phraseRows().size()));
        QVERIFY(phrases->rowCount() > 0);
    }

    // A whole job: the six inputs, Glue, Save.
    void gluesAndSavesAWholeInterview_data()
    {
        QTest::addColumn<QString>("source"); // folder of the inputs; empty: made here
        QTest::addColumn<QStringList>("firstPhrase");
        QTest::newRow("made here") << QString()
                                   << QStringList{"1", "100", "900", "13", "Good morning."};
        // Its first word is a SIL, which the first phrase leaves out.
        QTest::newRow("examples") << QStringLiteral(NAADWERK_SOURCE_DIR "/examples")
                                  << QStringList{"1", "400", "1286", "13", "Good morning."};
    }

    void gluesAndSavesAWholeInterview()
    {
        QFETCH(QString, source);
        QFETCH(QStringList, firstPhrase);
        QTemporaryDir out;
        QVERIFY(out.isValid());
        Sample s;
        if (source.isEmpty()) {
            s = makeSample(out.path());
        } else {
            QVERIFY2(QDir(source).exists(), qPrintable(source));
            // Copied, so that the joined files land beside the inputs in a scratch folder.
            for (const char *name : {"interview_1.spk", "interview_2.spk", "interview_1.txt",
                                     "interview_2.txt", "interview_1.wav", "interview_2.wav"})
                QVERIFY(QFile::copy(source + "/" + name, out.path() + "/" + name));
            const QString m = out.path();
            s = {m + "/interview_1.spk", m + "/interview_2.spk", m + "/interview_1.txt",
                 m + "/interview_2.txt", m + "/interview_1.wav", m + "/interview_2.wav"};
        }
        MainWindow w;
        show(w);
        FakePerson person;
        w.setFileChooser(&person);
        person.openAnswers << s.wordFile1 << s.wordFile2 << s.text1 << s.text2 << s.wav1 << s.wav2;
        for (const char *i : {"miCTM1", "miCTM2", "miOpenText1", "miOpenText2", "miWav1", "miWav2"})
            QCOMPARE(catchMessage([&] { mi(w, i)->trigger(); }), QString());
        auto *sgCTM1 = child<QTableView>(w, "sgCTM1");
        auto *sgCTM2 = child<QTableView>(w, "sgCTM2");
        const int a = sgCTM1->model()->rowCount();
        const int b = sgCTM2->model()->rowCount();
        QVERIFY(a > 0 && b > 0);
        const QStringList firstOf2 = rowOf(sgCTM2, 0);
        const QStringList text1 = linesOf(child<QPlainTextEdit>(w, "meText1"));
        const QStringList text2 = linesOf(child<QPlainTextEdit>(w, "meText2"));
        const qint64 frames1 = w.job().part(0).frames;
        const qint64 frames2 = w.job().part(1).frames;
        QVERIFY(frames1 > 0 && frames2 > 0);
        // The footer says what each recording is.
        QVERIFY2(labelText(w, "Label7").startsWith("Recording of part 1: " + s.wav1 + " - WAV, 16 kHz mono, 0:00:"),
                 qPrintable(labelText(w, "Label7")));
        QVERIFY2(labelText(w, "Label8").startsWith("Recording of part 2: " + s.wav2 + " - WAV, 16 kHz mono, 0:00:"),
                 qPrintable(labelText(w, "Label8")));
        const qint64 timeOffset = std::llrint(frames1 / 16.0); // round half to even

        // Glue.
        const QString wav0 = out.path() + "/joined.wav";
        const QString base = out.path() + "/joined";
        person.questions.clear();
        person.saveAnswers << wav0;
        child<QTabWidget>(w, "tcData")->setCurrentIndex(0);
        QCOMPARE(catchMessage([&] { mi(w, "miGlue")->trigger(); }), QString());
        QCOMPARE(person.questions.size(), 1);
        QVERIFY(person.questions[0].save);
        QCOMPARE(person.questions[0].filter, 3);
        QCOMPARE(QDir(person.questions[0].folder), QDir(QFileInfo(s.wav1).absolutePath()));
        QCOMPARE(person.questions[0].proposal, QFileInfo(s.wav1).completeBaseName() + "_joined.wav");

        QCOMPARE(currentTab(w), QStringLiteral("tiCTM1"));
        // A picture of the window as Glue left it, for anyone to look at.
        const QString artifacts = QStringLiteral(NAADWERK_BINARY_DIR "/artifacts");
        QVERIFY(QDir().mkpath(artifacts));
        const QString picture = source.isEmpty() ? "/window-after-glue-fixture.png"
                                                 : "/window-after-glue.png";
        QVERIFY(w.grab().save(artifacts + picture));
        QCOMPARE(sgCTM1->model()->rowCount(), a + b);
        QStringList expected = firstOf2;
        expected[0] = QString::number(a + 1);
        expected[1] = QString::number(firstOf2[1].toLongLong() + timeOffset);
        expected[2] = QString::number(firstOf2[2].toLongLong() + timeOffset);
        QCOMPARE(rowOf(sgCTM1, a), expected);
        QCOMPARE(cell(sgCTM2, 0, 0), QString::number(a + 1));
        QCOMPARE(linesOf(child<QPlainTextEdit>(w, "meText1")), text1 + text2);

        auto *sgSRT = child<QTableView>(w, "sgSRT");
        QVERIFY(sgSRT->model()->rowCount() > 0);
        QCOMPARE(rowOf(sgSRT, 0), firstPhrase);
        // The Text column takes what the table's width leaves, also when the
        // table was not shown before.
        child<QTabWidget>(w, "tcData")->setCurrentWidget(child<QWidget>(w, "tiPhrases"));
        QCoreApplication::processEvents();
        QCOMPARE(sgSRT->horizontalHeader()->sectionSize(4), sgSRT->width() - 10 - 33 - 103 - 103 - 53);
        QCOMPARE(sgSRT->model()->index(0, 4).data(Qt::TextAlignmentRole).toInt() & Qt::AlignVertical_Mask,
                 int(Qt::AlignTop));
        const QStringList srt = linesOf(child<QPlainTextEdit>(w, "meSRT"));
        QVERIFY(srt.size() >= 3);
        QCOMPARE(srt[0], QStringLiteral("1"));
        QVERIFY2(srt[1].contains(u" --> "), qPrintable(srt[1]));
        QVERIFY(!linesOf(child<QPlainTextEdit>(w, "meWord")).isEmpty());

        const QStringList log = linesOf(child<QPlainTextEdit>(w, "meResult"));
        QStringList expectedLog{
            "Make one Wav-file from two",
            "Reading two wavfiles:",
            "1: " + s.wav1 + " (" + QString::number(frames1) + ")",
            "2: " + s.wav2 + " (" + QString::number(frames2) + ")",
            "Writting into wavfile:",
            "W: " + wav0 + " (" + QString::number(frames1 + frames2) + ")",
            "Samples to add is " + QString::number(frames1),
            "Time to add is " + QString::number(timeOffset) + "ms",
            "Combining the two CTMs",
            "Combining the two Texts",
            "Make Phrases",
            "Start making Phrases",
            "Ready making Phrases",
            "Make SRT",
            "Start making SRT",
            "Ready making SRT",
            "Make Word-like transcription",
            "Start making Word-file",
            "Ready making Word-file"};
        // The sample made here has words of part 1 up to 1700 ms and a
        // recording 1 of 1500 ms: Glue warns of it after combining the lists.
        if (source.isEmpty())
            expectedLog.insert(9, "Warning: \"" + s.wordFile1 + "\", line 4: the word ends at 1700 ms, after "
                                  "recording 1 ends (1500 ms); are the word file and the recording of the same part?");
        QCOMPARE(log, expectedLog);
        // Glue's lines name only the file Glue wrote.
        QCOMPARE(allLabels(w), QStringList({"", "", "", "", "Joined recording written: " + wav0, ""}));
        QCOMPARE(QFileInfo(wav0).size(), 44 + 2 * (frames1 + frames2));

        // Save.
        person.questions.clear();
        person.saveAnswers << base + ".srt";
        QCOMPARE(catchMessage([&] { mi(w, "miSave")->trigger(); }), QString());
        QCOMPARE(person.questions.size(), 1);
        QVERIFY(person.questions[0].save);
        QCOMPARE(person.questions[0].filter, 1);
        QCOMPARE(QDir(person.questions[0].folder), QDir(out.path()));
        QCOMPARE(person.questions[0].proposal, QStringLiteral("joined.srt"));
        const QString wordFile = w.job().outputs().wordFile;
        QVERIFY2(wordFile == base + ".spk" || wordFile == base + ".ctm", qPrintable(wordFile));
        QCOMPARE(allLabels(w),
                 QStringList({"Saved: " + base + ".srt", "Saved: " + base + ".html",
                              "Saved: " + base + "_word.txt", "Saved: " + wordFile,
                              "Joined recording written: " + wav0, "Saved: " + base + ".txt"}));
        QCOMPARE(savedLines(base + ".srt"), srt);
        QCOMPARE(savedLines(base + ".txt"), text1 + text2);
        QCOMPARE(savedLines(base + "_word.txt"), linesOf(child<QPlainTextEdit>(w, "meWord")));
        QCOMPARE(savedLines(wordFile).size(), a + b);
        QVERIFY(savedLines(base + ".html").join(u'\n').contains(u"joined.wav"));
        // Save changes no table and no text view.
        QCOMPARE(sgCTM1->model()->rowCount(), a + b);
        QCOMPARE(linesOf(child<QPlainTextEdit>(w, "meSRT")), srt);
    }

    void phraseTextColumnTakesWhatTheTableLeaves_data()
    {
        QTest::addColumn<int>("windowWidth");
        QTest::addColumn<int>("numberWidth"); // "#" dragged to this width; 0: left alone
        QTest::newRow("start size") << 976 << 0;
        QTest::newRow("wider window") << 1400 << 0;
        QTest::newRow("number column dragged wider") << 976 << 80;
    }

    void phraseTextColumnTakesWhatTheTableLeaves()
    {
        QFETCH(int, windowWidth);
        QFETCH(int, numberWidth);
        const Sample s = makeSample(folder);
        MainWindow w;
        show(w);
        w.resize(windowWidth, 616);
        auto *tcData = child<QTabWidget>(w, "tcData");
        tcData->setCurrentWidget(child<QWidget>(w, "tiPhrases"));
        QCoreApplication::processEvents();
        auto *sgSRT = child<QTableView>(w, "sgSRT");
        QHeaderView *header = sgSRT->horizontalHeader();
        if (numberWidth)
            header->resizeSection(0, numberWidth);
        // Back to another tab: the phrase table is measured while not shown.
        tcData->setCurrentIndex(0);
        QCoreApplication::processEvents();

        FakePerson person;
        w.setFileChooser(&person);
        person.openAnswers << s.wordFile1 << s.wav1 << s.wav2;
        person.saveAnswers << folder + "/column-joined.wav";
        mi(w, "miCTM1")->trigger();
        mi(w, "miWav1")->trigger();
        mi(w, "miWav2")->trigger();
        QCOMPARE(catchMessage([&] { mi(w, "miGlue")->trigger(); }), QString());
        tcData->setCurrentWidget(child<QWidget>(w, "tiPhrases"));
        QCoreApplication::processEvents();
        const int rest = sgSRT->width() - 10 - header->sectionSize(0) - 103 - 103 - 53;
        const std::array<int, 4> others{header->sectionSize(0), 103, 103, 53};
        QCOMPARE(header->sectionSize(4), phraseTextColumnWidth(sgSRT->width(), others));
        QCOMPARE(header->sectionSize(4), rest);
    }

    void aFailingGlueShowsItsMessage()
    {
        const Sample s = makeSample(folder);
        MainWindow w;
        show(w);
        FakePerson person;
        w.setFileChooser(&person);
        person.openAnswers << s.wav1 << s.wav2;
        mi(w, "miWav1")->trigger();
        mi(w, "miWav2")->trigger();
        const QString wav0 = folder + "/no such folder/joined.wav";
        person.saveAnswers << wav0;
        const QString seen = catchMessage([&] { mi(w, "miGlue")->trigger(); });
        QVERIFY2(seen.startsWith("Cannot create file \"" + wav0 + "\". "), qPrintable(seen));
        QCOMPARE(linesOf(child<QPlainTextEdit>(w, "meResult")).last(),
                 QStringLiteral("Make one Wav-file from two"));
        // Nothing was written: no line names the joined file.
        QCOMPARE(labelText(w, "Label7"), "Recording of part 1: " + s.wav1 + " - WAV, 16 kHz mono, 0:00:01.501");
        QVERIFY(w.isVisible());
    }

    void theRealDialogsCarryTheirFilters()
    {
        const Sample s = makeSample(folder);
        MainWindow w;
        show(w);
        QStringList filters;
        QString chosen;
        withRealDialog(
            "OpenDialog",
            [&](QFileDialog *dialog) {
                filters = dialog->nameFilters();
                chosen = dialog->selectedNameFilter();
                choosePath(dialog, s.wordFile1);
            },
            [&] { QCOMPARE(catchMessage([&] { mi(w, "miCTM1")->trigger(); }), QString()); });
        QCOMPARE(filters, QStringList({"Word files (*.ctm *.spk *.json *.TextGrid *.textgrid *.eaf *.vtt)", "Text-files (*.txt)",
                                       "Recordings (*.wav *.mp3 *.m4a *.aac *.flac *.ogg *.oga *.opus *.rf64)", "all files (*)",
                                       "Interviews (*.naadwerk)"}));
        QCOMPARE(chosen, QStringLiteral("Word files (*.ctm *.spk *.json *.TextGrid *.textgrid *.eaf *.vtt)"));
        QCOMPARE(child<QTableView>(w, "sgCTM1")->model()->rowCount(), 4);
        QCOMPARE(labelText(w, "Label1"), "Word file of part 1: " + s.wordFile1);

        withRealDialog(
            "OpenDialog",
            [&](QFileDialog *dialog) {
                chosen = dialog->selectedNameFilter();
                dialog->reject();
            },
            [&] { QCOMPARE(catchMessage([&] { mi(w, "miOpenText1")->trigger(); }), QString()); });
        QCOMPARE(chosen, QStringLiteral("Text-files (*.txt)"));
        QCOMPARE(labelText(w, "Label5"), QString());

        withRealDialog(
            "OpenDialog",
            [&](QFileDialog *dialog) {
                chosen = dialog->selectedNameFilter();
                choosePath(dialog, s.wav1);
            },
            [&] { QCOMPARE(catchMessage([&] { mi(w, "miWav1")->trigger(); }), QString()); });
        QCOMPARE(chosen, QStringLiteral("Recordings (*.wav *.mp3 *.m4a *.aac *.flac *.ogg *.oga *.opus *.rf64)"));
        QCOMPARE(w.job().part(0).files.recording, s.wav1);
        QCOMPARE(labelText(w, "Label7"), "Recording of part 1: " + s.wav1 + " - WAV, 16 kHz mono, 0:00:01.501");
        withRealDialog(
            "OpenDialog", [&](QFileDialog *dialog) { choosePath(dialog, s.wav2); },
            [&] { QCOMPARE(catchMessage([&] { mi(w, "miWav2")->trigger(); }), QString()); });

        QString proposal;
        QString dialogFolder;
        withRealDialog(
            "SaveDialog",
            [&](QFileDialog *dialog) {
                filters = dialog->nameFilters();
                chosen = dialog->selectedNameFilter();
                dialogFolder = dialog->directory().absolutePath();
                proposal = dialog->selectedFiles().value(0);
                dialog->reject();
            },
            [&] { QCOMPARE(catchMessage([&] { mi(w, "miGlue")->trigger(); }), QString()); });
        QCOMPARE(filters, QStringList({"srt-files (*.srt)", "vtt-files (*.vtt)", "wav-files (*.wav)",
                                       "All files (*)", "Interviews (*.naadwerk)"}));
        QCOMPARE(chosen, QStringLiteral("wav-files (*.wav)"));
        QCOMPARE(QDir(dialogFolder), QDir(folder));
        QCOMPARE(QFileInfo(proposal).fileName(), QStringLiteral("part_1_joined.wav"));
        // Cancelled: nothing was glued, nothing logged.
        QVERIFY(linesOf(child<QPlainTextEdit>(w, "meResult")).isEmpty());
        QVERIFY(!w.job().isGlued());

        // A name typed without an extension gets the filter's.
        withRealDialog(
            "SaveDialog", [&](QFileDialog *dialog) { choosePath(dialog, folder + "/typed"); },
            [&] { QCOMPARE(catchMessage([&] { mi(w, "miGlue")->trigger(); }), QString()); });
        QCOMPARE(w.job().outputs().recording, folder + "/typed.wav");
        QVERIFY(QFileInfo::exists(folder + "/typed.wav"));
        withRealDialog(
            "SaveDialog", [&](QFileDialog *dialog) { choosePath(dialog, folder + "/typed-subtitles"); },
            [&] { QCOMPARE(catchMessage([&] { mi(w, "miSave")->trigger(); }), QString()); });
        QCOMPARE(w.job().outputs().srt, folder + "/typed-subtitles.srt");
        QVERIFY(QFileInfo::exists(folder + "/typed-subtitles.srt"));
    }

    // The save dialog of Save comes after the one of Glue, which was left on
    // another filter, folder and name: it must show its own.
    void theRealSaveDialogProposesTheSrtNextToTheText()
    {
        const Sample s = makeSample(folder);
        const QString out = folder + "/saved";
        QVERIFY(QDir().mkpath(out));
        MainWindow w;
        show(w);
        FakePerson person;
        w.setFileChooser(&person);
        person.openAnswers << s.wav1 << s.wav2;
        mi(w, "miWav1")->trigger();
        mi(w, "miWav2")->trigger();
        w.setFileChooser(nullptr);

        withRealDialog(
            "SaveDialog", [&](QFileDialog *dialog) { choosePath(dialog, out + "/joined.wav"); },
            [&] { QCOMPARE(catchMessage([&] { mi(w, "miGlue")->trigger(); }), QString()); });
        QCOMPARE(w.job().outputs().recording, out + "/joined.wav");

        QString chosen, dialogFolder, proposal;
        withRealDialog(
            "SaveDialog",
            [&](QFileDialog *dialog) {
                chosen = dialog->selectedNameFilter();
                dialogFolder = dialog->directory().absolutePath();
                proposal = dialog->selectedFiles().value(0);
                static_cast<QDialog *>(dialog)->accept(); // the proposal as it stands
            },
            [&] { QCOMPARE(catchMessage([&] { mi(w, "miSave")->trigger(); }), QString()); });
        QCOMPARE(chosen, QStringLiteral("srt-files (*.srt)"));
        QCOMPARE(QDir(dialogFolder), QDir(out));
        QCOMPARE(QFileInfo(proposal).fileName(), QStringLiteral("joined.srt"));
        QCOMPARE(w.job().outputs().srt, out + "/joined.srt");
        QCOMPARE(labelText(w, "Label1"), "Saved: " + out + "/joined.srt");
        QVERIFY(QFileInfo::exists(out + "/joined.srt"));
    }

    // After Glue a committed edit (a cell editor closed, a text view left)
    // or a changed setting builds the phrases, SRT and Word views again, and
    // Save writes what they show.
    void derivedViewsFollowCommittedEditsAndSettings_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("view"); // the view that must show expect
        QTest::addColumn<QString>("expect");
        QTest::newRow("a cell of table 1") << "cell1" << "meSRT" << "Good evening.";
        QTest::newRow("a cell of table 2") << "cell2" << "meSRT" << "Where are you?";
        QTest::newRow("text 1 left") << "text" << "meWord" << "Interviewer\tGood evening.";
        QTest::newRow("Enlarge off") << "enlarge" << "meSRT" << "00:00:00,100 --> 00:00:00,900";
        QTest::newRow("time after") << "after" << "meSRT" << "00:00:01,510 --> 00:00:04,600";
    }

    void derivedViewsFollowCommittedEditsAndSettings()
    {
        QFETCH(QString, change);
        QFETCH(QString, view);
        QFETCH(QString, expect);
        const Sample s = makeSample(folder);
        QTemporaryDir out;
        MainWindow w;
        show(w);
        FakePerson person;
        w.setFileChooser(&person);
        person.openAnswers << s.wordFile1 << s.wordFile2 << s.text1 << s.text2 << s.wav1 << s.wav2;
        person.saveAnswers << out.filePath("joined.wav");
        for (const char *i : {"miCTM1", "miCTM2", "miOpenText1", "miOpenText2", "miWav1", "miWav2", "miGlue"})
            QCOMPARE(catchMessage([&] { mi(w, i)->trigger(); }), QString());
        auto *shown = child<QPlainTextEdit>(w, qPrintable(view));
        QVERIFY2(!linesOf(shown).join('\n').contains(expect), qPrintable(linesOf(shown).join('\n')));

        if (change == "cell1") {
            auto *sgCTM1 = child<QTableView>(w, "sgCTM1");
            child<QTabWidget>(w, "tcData")->setCurrentWidget(child<QWidget>(w, "tiCTM1"));
            typeIntoCell(sgCTM1, sgCTM1->model()->index(1, WordRow::Text), "evening.");
        } else if (change == "cell2") {
            auto *sgCTM2 = child<QTableView>(w, "sgCTM2");
            child<QTabWidget>(w, "tcData")->setCurrentWidget(child<QWidget>(w, "tiCTM2"));
            typeIntoCell(sgCTM2, sgCTM2->model()->index(1, WordRow::Text), "are");
        } else if (change == "text") {
            auto *meText1 = child<QPlainTextEdit>(w, "meText1");
            child<QTabWidget>(w, "tcData")->setCurrentWidget(child<QWidget>(w, "tiText1"));
            QTextCursor cursor = meText1->document()->find(QStringLiteral("morning"));
            QVERIFY(!cursor.isNull());
            cursor.insertText(QStringLiteral("evening"));
            // Typing alone builds nothing: only leaving the view does.
            QVERIFY(!linesOf(shown).join('\n').contains(expect));
            QFocusEvent left(QEvent::FocusOut);
            QCoreApplication::sendEvent(meText1, &left);
        } else if (change == "enlarge") {
            child<QCheckBox>(w, "cbEnlarge")->setChecked(false);
        } else if (change == "after") {
            child<QSpinBox>(w, "sbAfter")->setValue(2000);
        }
        QTRY_VERIFY2(linesOf(shown).join('\n').contains(expect), qPrintable(linesOf(shown).join('\n')));
        QVERIFY(w.job().hasUnsavedWork());
        // The phrase table shows the phrases the SRT was made from.
        auto *sgSRT = child<QTableView>(w, "sgSRT");
        QCOMPARE(sgSRT->model()->rowCount(), int(w.job().phraseRows().size()));
        for (int r = 0; r < sgSRT->model()->rowCount(); ++r)
            QCOMPARE(rowOf(sgSRT, r), cells(w.job().phraseRows()[size_t(r)]));

        person.saveAnswers << out.filePath("joined.srt");
        QCOMPARE(catchMessage([&] { mi(w, "miSave")->trigger(); }), QString());
        QCOMPARE(savedLines(out.filePath("joined.srt")), linesOf(child<QPlainTextEdit>(w, "meSRT")));
        QCOMPARE(savedLines(out.filePath("joined_word.txt")), linesOf(child<QPlainTextEdit>(w, "meWord")));
        QCOMPARE(savedLines(out.filePath("joined.txt")), linesOf(child<QPlainTextEdit>(w, "meText1")));
        QVERIFY(!w.job().hasUnsavedWork());
    }

    // Exit and closing the window ask about a Glue result or edits not saved.
    void exitAndCloseAskAboutUnsavedWork_data()
    {
        QTest::addColumn<bool>("byExit"); // the menu item, else the window's close button
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("srt"); // the Save dialog's answer; "-" cancels it
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QString>("message");
        for (const bool byExit : {true, false}) {
            const char *how = byExit ? "Exit" : "close";
            QTest::addRow("%s, Cancel", how) << byExit << int(UnsavedChoice::Cancel) << "" << false << false << "";
            QTest::addRow("%s, Discard", how) << byExit << int(UnsavedChoice::Discard) << "" << true << false << "";
            QTest::addRow("%s, Save", how) << byExit << int(UnsavedChoice::Save) << "joined.srt" << true << true << "";
            QTest::addRow("%s, Save cancelled", how)
                << byExit << int(UnsavedChoice::Save) << "-" << false << false << "";
            QTest::addRow("%s, Save fails", how) << byExit << int(UnsavedChoice::Save) << "nodir/joined.srt"
                                                 << false << false << "Cannot create file";
        }
    }

    void exitAndCloseAskAboutUnsavedWork()
    {
        QFETCH(bool, byExit);
        QFETCH(int, answer);
        QFETCH(QString, srt);
        QFETCH(bool, closes);
        QFETCH(bool, saved);
        QFETCH(QString, message);
        const Sample s = makeSample(folder);
        QTemporaryDir out;
        MainWindow w;
        show(w);
        FakePerson person;
        w.setFileChooser(&person);
        person.openAnswers << s.wav1 << s.wav2;
        person.saveAnswers << out.filePath("joined.wav");
        for (const char *i : {"miWav1", "miWav2", "miGlue"})
            QCOMPARE(catchMessage([&] { mi(w, i)->trigger(); }), QString());
        QVERIFY(w.job().hasUnsavedWork());

        person.unsavedAnswers << UnsavedChoice(answer);
        if (!srt.isEmpty())
            person.saveAnswers << (srt == "-" ? QString() : out.filePath(srt));
        const QString seen = catchMessage([&] {
            if (byExit)
                mi(w, "miExit")->trigger();
            else
                w.close();
        });
        QVERIFY2(message.isEmpty() ? seen.isNull() : seen.startsWith(message), qPrintable(seen));
        QCOMPARE(person.unsavedQuestions, 1);
        QCOMPARE(w.isVisible(), !closes);
        QCOMPARE(QFileInfo::exists(out.filePath("joined.srt")), saved);
        QCOMPARE(QFileInfo::exists(out.filePath("joined.html")), saved);
        if (closes)
            return;
        // Still open: once saved, closing asks nothing.
        person.saveAnswers << out.filePath("later.srt");
        QCOMPARE(catchMessage([&] { mi(w, "miSave")->trigger(); }), QString());
        QVERIFY(!w.job().hasUnsavedWork());
        w.close();
        QVERIFY(!w.isVisible());
        QCOMPARE(person.unsavedQuestions, 1);
    }

    void exitClosesTheWindow()
    {
        const Sample s = makeSample(folder);
        MainWindow w;
        show(w);
        FakePerson person;
        w.setFileChooser(&person);
        person.openAnswers << s.wordFile2;
        mi(w, "miCTM2")->trigger();
        QCOMPARE(w.job().wordRows(WordTable::PartTwo).size(), size_t(3));
        // Nothing glued: nothing to ask about.
        mi(w, "miExit")->trigger();
        QVERIFY(!w.isVisible());
        QCOMPARE(person.unsavedQuestions, 0);
    }

    void partsTabAddsMovesAndRemovesParts()
    {
        writePartFiles(folder, 3);
        MainWindow w;
        FakePerson person;
        w.setFileChooser(&person);
        show(w);
        auto *panel = child<QWidget>(w, "paParts");
        auto *sgParts = child<QTableView>(w, "sgParts");
        // Add: one part's three files at once.
        auto *add = child<QPushButton>(w, "btAddPart");
        QStringList chosen = partFiles(folder, 1);
        static_cast<PartsPanel *>(panel)->chooseFiles = [&] { return chosen; };
        add->click();
        chosen = partFiles(folder, 2);
        add->click();
        // Files dropped onto the tab: part 3.
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString &file : partFiles(folder, 3))
            urls << QUrl::fromLocalFile(file);
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(panel, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(panel, &drop);
        QVERIFY(drop.isAccepted());
        QCoreApplication::processEvents();

        QCOMPARE(w.job().partCount(), 3);
        QCOMPARE(sgParts->model()->rowCount(), 3);
        QCOMPARE(rowOf(sgParts, 2), (QStringList{"3", "p3.ctm", "p3.txt", "p3.wav", "0:00:03.000", "", "0"}));
        // The footer names what parts 1 and 2 hold.
        QCOMPARE(allLabels(w), QStringList({"Word file of part 1: " + folder + "/p1.ctm",
                                            "Word file of part 2: " + folder + "/p2.ctm",
                                            "Text of part 1: " + folder + "/p1.txt", "Text of part 2: " + folder + "/p2.txt",
                                            "Recording of part 1: " + folder + "/p1.wav - WAV, 16 kHz mono, 0:00:01.000",
                                            "Recording of part 2: " + folder + "/p2.wav - WAV, 16 kHz mono, 0:00:02.000"}));
        // The classic tables show parts 1 and 2.
        QCOMPARE(cell(child<QTableView>(w, "sgCTM2"), 0, 3), QStringLiteral("word2."));

        // The selected part's words and text.
        auto *panelOf = static_cast<PartsPanel *>(panel);
        panelOf->selectPart(2);
        QCoreApplication::processEvents();
        auto *sgPartWords = child<QTableView>(w, "sgPartWords");
        QCOMPARE(sgPartWords->model()->rowCount(), 1);
        QCOMPARE(cell(sgPartWords, 0, 3), QStringLiteral("word3."));
        auto *mePartText = child<QPlainTextEdit>(w, "mePartText");
        QCOMPARE(linesOf(mePartText), QStringList{"Text of part 3."});

        // Move part 3 up, then remove part 1.
        child<QPushButton>(w, "btMovePartUp")->click();
        QCOMPARE(QFileInfo(w.job().partRow(1).files.recording).fileName(), QStringLiteral("p3.wav"));
        QCOMPARE(panelOf->selectedPart(), 1);
        panelOf->selectPart(0);
        child<QPushButton>(w, "btRemovePart")->click();
        QCoreApplication::processEvents();
        QCOMPARE(sgParts->model()->rowCount(), 2);
        QCOMPARE(cell(sgParts, 0, 3), QStringLiteral("p3.wav"));
        QCOMPARE(cell(sgParts, 1, 3), QStringLiteral("p2.wav"));
        // The footer forgets the part removed: it names the files of the
        // parts 1 and 2 the list holds now.
        QCOMPARE(allLabels(w), QStringList({"Word file of part 1: " + folder + "/p3.ctm",
                                            "Word file of part 2: " + folder + "/p2.ctm",
                                            "Text of part 1: " + folder + "/p3.txt", "Text of part 2: " + folder + "/p2.txt",
                                            "Recording of part 1: " + folder + "/p3.wav - WAV, 16 kHz mono, 0:00:03.000",
                                            "Recording of part 2: " + folder + "/p2.wav - WAV, 16 kHz mono, 0:00:02.000"}));
        // The file columns take the room; the gap keeps its width.
        child<QTabWidget>(w, "tcData")->setCurrentWidget(child<QWidget>(w, "tiParts"));
        QCoreApplication::processEvents();
        QHeaderView *columns = sgParts->horizontalHeader();
        for (int column : {1, 2, 3})
            QVERIFY(columns->sectionSize(column) > columns->sectionSize(6));
        QCOMPARE(child<QTabWidget>(w, "tcData")->tabText(9), QStringLiteral("Parts"));
    }

    void partsTabEditsReachTheGlue()
    {
        writePartFiles(folder, 3);
        MainWindow w;
        FakePerson person;
        w.setFileChooser(&person);
        show(w);
        auto *panel = static_cast<PartsPanel *>(child<QWidget>(w, "paParts"));
        QStringList all;
        for (int n = 1; n <= 3; ++n)
            all << partFiles(folder, n);
        panel->addFiles(all);
        QCOMPARE(w.job().partCount(), 3);
        QCOMPARE(panel->selectedPart(), 2);
        QCoreApplication::processEvents();

        // Part 3's text, typed in the tab, goes to the job before Glue runs.
        auto *mePartText = child<QPlainTextEdit>(w, "mePartText");
        mePartText->moveCursor(QTextCursor::End);
        QTest::keyClicks(mePartText, QStringLiteral(" Corrected."));
        person.saveAnswers << folder + "/parts-joined.wav";
        QCOMPARE(catchMessage([&] { mi(w, "miGlue")->trigger(); }), QString());
        QCOMPARE(w.job().partText(2), QStringList{"Text of part 3. Corrected."});
        QCOMPARE(w.job().text(TextView::Text1).last(), QStringLiteral("Text of part 3. Corrected."));
        QCoreApplication::processEvents();

        // After Glue the list shows where each part starts; the words of part
        // 3 show their joined times, and an edit there reaches the result.
        auto *sgParts = child<QTableView>(w, "sgParts");
        QCOMPARE(cell(sgParts, 1, 5), QStringLiteral("0:00:01.000"));
        QCOMPARE(cell(sgParts, 2, 5), QStringLiteral("0:00:03.000"));
        auto *sgPartWords = child<QTableView>(w, "sgPartWords");
        QCOMPARE(cell(sgPartWords, 0, 1), QStringLiteral("3100"));
        typeIntoCell(sgPartWords, sgPartWords->model()->index(0, 3), QStringLiteral("fixed."));
        QCOMPARE(w.job().wordRows(WordTable::Main)[2].text, QStringLiteral("fixed."));
        QCOMPARE(w.job().partStartsMs(), (std::vector<std::int64_t>{0, 1000, 3000}));
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
