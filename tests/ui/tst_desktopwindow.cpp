// The window as a desktop program: its keys, titles, resizing, help, what it
// remembers between runs and the files dropped on it.

#include "support/fakeperson.h"
#include "support/files.h"
#include "support/settingvalues.h"
#include "support/wavbuilder.h"

#include "base/version.h"
#include "job/settingstable.h"
#include "ui/elidedlabel.h"
#include "ui/helpmenu.h"
#include "ui/mainwindow.h"
#include "ui/phrasecolumnwidth.h"
#include "ui/windowmemory.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <set>

namespace {

// The six inputs of a two-part interview, named as an aligner names them.
struct Interview
{
    QString wordFile1, wordFile2, text1, text2, wav1, wav2;
    QStringList all() const { return {wordFile1, wordFile2, text1, text2, wav1, wav2}; }
};

Interview writeInterview(const QString &folder, const QString &name = QStringLiteral("interview"))
{
    QDir().mkpath(folder);
    const QString base = folder + u'/' + name;
    Interview i{base + "_1.spk", base + "_2.spk", base + "_1.txt", base + "_2.txt", base + "_1.wav",
                base + "_2.wav"};
    writeBytes(i.wordFile1, "p1\t1\t0.10\t0.40\tGood\t0.97\tInterviewer\n"
                            "p1\t1\t0.45\t0.90\tmorning.\t0.5\tInterviewer\n");
    writeBytes(i.wordFile2, "p2\t1\t0.00\t0.30\tWhere\t0.91\tRespondent\n"
                            "p2\t1\t0.30\t0.60\tnow?\t0.92\tRespondent\n");
    writeBytes(i.text1, "[StartTime: 100 ms]\n[Speaker: SP_01 Interviewer]\nGood morning.\n");
    writeBytes(i.text2, "[StartTime: 0 ms]\n[Speaker: SP_02 Respondent]\nWhere now?\n");
    writeBytes(i.wav1, wav16k(std::vector<qint16>(16000, 100)));
    writeBytes(i.wav2, wav16k(std::vector<qint16>(8000, -100)));
    return i;
}

// An interview with a minute of CD sound a part: resampled and mixed down,
// its join takes a while.
// Recordings long enough that joining them outlasts a question asked while
// it runs, however busy the machine (five minutes each: seconds of work).
Interview writeLongInterview(const QString &folder)
{
    const Interview i = writeInterview(folder);
    writeSilentWav(i.wav1, 44100, 2, 16, 44100 * 300);
    writeSilentWav(i.wav2, 44100, 2, 16, 44100 * 300);
    return i;
}

void openAll(MainWindow &w, const Interview &i)
{
    w.openInputs({{i.wordFile1, i.text1, i.wav1}, {i.wordFile2, i.text2, i.wav2}});
}

QStringList statusTexts(QWidget &w)
{
    QStringList texts;
    for (const char *name : {"Label1", "Label2", "Label5", "Label6", "Label7", "Label8"})
        texts << w.findChild<QLabel *>(QString::fromLatin1(name))->text();
    return texts;
}

// Runs action while a timer notes and closes every menu, message box and
// dialog that shows: "mnOpen", "errorMessage: <text>", "helpDialog", ...
QStringList shownDuring(const std::function<void()> &action)
{
    QStringList shown;
    QTimer watcher;
    watcher.setInterval(5);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            shown << popup->objectName();
            popup->close();
        }
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (!w->isVisible())
                continue;
            if (auto *box = qobject_cast<QMessageBox *>(w)) {
                shown << box->objectName() + QStringLiteral(": ") + box->text();
                box->button(QMessageBox::Ok)->click();
            } else if (auto *dialog = qobject_cast<QDialog *>(w)) {
                shown << dialog->objectName();
                dialog->reject();
                dialog->hide();
            }
        }
    });
    watcher.start();
    action();
    // A window-modal list or dialog opened by a queued key still shows, and
    // so does what a button's letter opens (the button clicks after 100 ms).
    QTest::qWait(200);
    watcher.stop();
    return shown;
}

// Files dropped on the window, as a file manager drops them.
void drop(MainWindow &w, const QStringList &paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << (path.contains(QStringLiteral("://")) ? QUrl(path) : QUrl::fromLocalFile(path));
    data.setUrls(urls);
    const QPointF at(w.width() / 2.0, w.height() / 2.0);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &dropped);
    QVERIFY(dropped.isAccepted());
}

} // namespace

class TstDesktopWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;

    static void showActive(QWidget &w)
    {
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }
    // Triggers item and answers its open dialog with path (empty: cancel),
    // noting the name field and the folder the dialog started with.
    static void answerOpenDialog(MainWindow &w, const char *item, const QString &path, QString *name,
                                 QString *folder)
    {
        QTimer watcher;
        watcher.setInterval(5);
        connect(&watcher, &QTimer::timeout, [&] {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (auto *dialog = qobject_cast<QFileDialog *>(top); dialog && dialog->isVisible()) {
                    watcher.stop();
                    auto *field = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                    if (name)
                        *name = field->text();
                    if (folder)
                        *folder = dialog->directory().absolutePath();
                    if (path.isEmpty()) {
                        dialog->reject();
                    } else {
                        field->setText(path);
                        static_cast<QDialog *>(dialog)->accept();
                    }
                }
        });
        watcher.start();
        w.findChild<QAction *>(QString::fromLatin1(item))->trigger();
        watcher.stop();
    }

    template<class T> static T *child(QWidget &w, const char *name)
    {
        T *found = w.findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qWarning("no %s named %s", T::staticMetaObject.className(), name);
        return found;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(tmp.isValid());
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        useOwnSettingsStore();
    }

    void init() { WindowMemory::forget(); }

    // --- Keys ---------------------------------------------------------------

    void keysRunTheirCommands_data()
    {
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<int>("ready"); // 0: nothing open, 1: both recordings open, 2: glued
        QTest::addColumn<QString>("shown"); // what the command shows first
        QTest::newRow("Open key drops down the Open list") << QKeySequence(QKeySequence::Open) << 0 << "mnOpen";
        QTest::newRow("Alt+O") << QKeySequence(Qt::ALT | Qt::Key_O) << 0 << "mnOpen";
        QTest::newRow("Alt+P drops down the Play list") << QKeySequence(Qt::ALT | Qt::Key_P) << 0 << "mnPlay";
        QTest::newRow("Ctrl+G glues") << QKeySequence(Qt::CTRL | Qt::Key_G) << 1 << "SaveDialog";
        QTest::newRow("Alt+G") << QKeySequence(Qt::ALT | Qt::Key_G) << 1 << "SaveDialog";
        QTest::newRow("Save key saves") << QKeySequence(QKeySequence::Save) << 2 << "SaveDialog";
        QTest::newRow("Alt+S") << QKeySequence(Qt::ALT | Qt::Key_S) << 2 << "SaveDialog";
        QTest::newRow("F1 opens the help") << QKeySequence(QKeySequence::HelpContents) << 0 << "helpDialog";
        QTest::newRow("Alt+H drops down the Help list") << QKeySequence(Qt::ALT | Qt::Key_H) << 0 << "mnHelp";
    }

    void keysRunTheirCommands()
    {
        QFETCH(QKeySequence, key);
        QFETCH(int, ready);
        QFETCH(QString, shown);
        MainWindow w;
        if (ready >= 1) {
            for (int part : {1, 2}) {
                const QString wav = tmp.path() + QStringLiteral("/keys%1.wav").arg(part);
                writeSilentWav(wav, 16000, 1, 16, 1600);
                w.job().openRecording(part, wav);
            }
        }
        if (ready >= 2)
            w.job().glue(tmp.path() + QStringLiteral("/keys_joined.wav"));
        showActive(w);
        const QKeyCombination combination = key[0];
        const QStringList seen = shownDuring([&] {
            QTest::keyClick(&w, combination.key(), combination.keyboardModifiers());
        });
        QVERIFY2(!seen.isEmpty(), "the key showed nothing");
        QCOMPARE(seen.first(), shown);
    }

    // Glue and Save's keys do nothing while the command cannot run: its
    // button's tooltip says why instead.
    void keysOfADisabledCommandShowNothing_data()
    {
        QTest::addColumn<QKeySequence>("key");
        QTest::newRow("Ctrl+G") << QKeySequence(Qt::CTRL | Qt::Key_G);
        QTest::newRow("Alt+G") << QKeySequence(Qt::ALT | Qt::Key_G);
        QTest::newRow("Ctrl+S") << QKeySequence(QKeySequence::Save);
        QTest::newRow("Alt+S") << QKeySequence(Qt::ALT | Qt::Key_S);
    }

    void keysOfADisabledCommandShowNothing()
    {
        QFETCH(QKeySequence, key);
        MainWindow w;
        showActive(w);
        const QKeyCombination combination = key[0];
        QCOMPARE(shownDuring([&] { QTest::keyClick(&w, combination.key(), combination.keyboardModifiers()); }),
                 QStringList());
    }

    void quitKeysExit_data()
    {
        QTest::addColumn<QKeySequence>("key");
        QTest::newRow("Ctrl+Q") << QKeySequence(Qt::CTRL | Qt::Key_Q);
        QTest::newRow("Alt+X") << QKeySequence(Qt::ALT | Qt::Key_X);
    }

    void quitKeysExit()
    {
        QFETCH(QKeySequence, key);
        MainWindow w;
        showActive(w);
        const QKeyCombination combination = key[0];
        QTest::keyClick(&w, combination.key(), combination.keyboardModifiers());
        QTRY_VERIFY(!w.isVisible());
    }

    // Every menu item and setting has its key letter, none twice where one
    // key press would have to choose between them.
    void everyItemAndSettingHasItsOwnKey()
    {
        MainWindow w;
        // The menu bar's items, Glue and Save, and the settings answer Alt
        // and a letter in the window; each drop-down list has letters of its own.
        QStringList windowTexts;
        for (QAction *item : child<QMenuBar>(w, "mmMenu")->actions())
            windowTexts << item->text();
        for (const char *name : {"btGlue", "btSave"})
            windowTexts << child<QAbstractButton>(w, name)->text();
        for (const char *name : {"rbTab", "rbSpace", "cbEnlarge", "cbSilence", "cbSkipwords", "rbAligner",
                                 "rbNist", "cbPause"})
            windowTexts << child<QAbstractButton>(w, name)->text();
        for (const char *name : {"lbBefore", "lbAfter", "lbPage", "lbLowConfidence", "lbLanguage"}) {
            auto *label = child<QLabel>(w, name);
            QVERIFY2(label->buddy(), name); // the key reaches the control beside it
            windowTexts << label->text();
        }
        QStringList openTexts;
        for (QAction *item : child<QAction>(w, "miOpen")->menu()->actions())
            if (!item->isSeparator())
                openTexts << item->text();
        QStringList helpTexts;
        for (QAction *item : child<QAction>(w, "miHelp")->menu()->actions())
            helpTexts << item->text();
        for (const QStringList &scope : {windowTexts, openTexts, helpTexts}) {
            std::set<QChar> letters;
            for (const QString &text : scope) {
                const QKeySequence key = QKeySequence::mnemonic(text);
                QVERIFY2(!key.isEmpty(), qPrintable(text));
                const qsizetype at = text.indexOf(u'&');
                QVERIFY2(letters.insert(text[at + 1].toLower()).second, qPrintable(text + " shares its key"));
            }
        }
    }

    void tabFollowsTheLayout()
    {
        MainWindow w;
        showActive(w);
        const QStringList expected{"tcData", "rbTab", "rbSpace", "cbEnlarge", "sbBefore", "sbAfter",
                                   "cbSilence", "cbSkipwords", "rbAligner", "rbNist", "cbPause", "sbPause",
                                   "cbPage", "sbLowConfidence", "sgCTM1", "sgCTM2", "meText1", "meText2",
                                   "sgSRT", "meSRT", "meWord", "meResult"};
        // The focus chain from the tab bar on, of the widgets named above.
        QStringList seen;
        QWidget *start = child<QTabWidget>(w, "tcData");
        QWidget *at = start;
        do {
            if (expected.contains(at->objectName()) && !seen.contains(at->objectName()))
                seen << at->objectName();
            at = at->nextInFocusChain();
        } while (at != start);
        QCOMPARE(seen, expected);
    }

    // --- Titles and status lines ----------------------------------------------

    void dialogsSayWhatTheyAskFor_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("title");
        QTest::newRow("word file 1") << "miCTM1" << "Open word file of part 1";
        QTest::newRow("word file 2") << "miCTM2" << "Open word file of part 2";
        QTest::newRow("text 2") << "miOpenText2" << "Open text of part 2";
        QTest::newRow("recording 1") << "miWav1" << "Open recording of part 1";
        QTest::newRow("joined recording") << "miGlue" << "Save the joined recording";
    }

    void dialogsSayWhatTheyAskFor()
    {
        QFETCH(QString, item);
        QFETCH(QString, title);
        const Interview i = writeInterview(tmp.path() + "/titles");
        MainWindow w;
        if (item == u"miGlue") {
            FakePerson person;
            person.openAnswers << i.wav1 << i.wav2;
            w.setFileChooser(&person);
            w.findChild<QAction *>(QStringLiteral("miWav1"))->trigger();
            w.findChild<QAction *>(QStringLiteral("miWav2"))->trigger();
            w.setFileChooser(nullptr);
        }
        QString seenTitle;
        QTimer watcher;
        watcher.setInterval(5);
        connect(&watcher, &QTimer::timeout, [&] {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (auto *dialog = qobject_cast<QFileDialog *>(top); dialog && dialog->isVisible()) {
                    seenTitle = dialog->windowTitle();
                    dialog->reject();
                }
        });
        watcher.start();
        w.findChild<QAction *>(item)->trigger();
        watcher.stop();
        QCOMPARE(seenTitle, title);
    }

    // The open dialog never proposes a file of another kind, and starts in
    // the folder last used for its kind.
    void openDialogStartsEmptyInItsKindsFolder()
    {
        const Interview words = writeInterview(tmp.path() + "/kinds/words");
        const Interview sounds = writeInterview(tmp.path() + "/kinds/sounds");
        MainWindow w;
        QStringList names(4, QStringLiteral("<no dialog>"));
        QStringList folders(4);
        answerOpenDialog(w, "miCTM1", words.wordFile1, &names[0], &folders[0]);
        answerOpenDialog(w, "miWav1", sounds.wav1, &names[1], &folders[1]);
        answerOpenDialog(w, "miCTM2", QString(), &names[2], &folders[2]);
        answerOpenDialog(w, "miWav2", QString(), &names[3], &folders[3]);
        QCOMPARE(names, QStringList(4, QString()));
        QCOMPARE(folders.mid(2), QStringList({QFileInfo(words.wordFile1).absolutePath(),
                                               QFileInfo(sounds.wav1).absolutePath()}));
        QCOMPARE(w.job().part(0).files.wordFile, words.wordFile1);
        QCOMPARE(w.job().part(0).files.recording, sounds.wav1);
    }

    void longStatusLinesAreElidedInTheMiddle()
    {
        MainWindow w;
        showActive(w);
        const QString path = "/home/ann/" + QString(300, u'd') + "/interview_1.ctm";
        const QString text = "CTM-file: " + path;
        auto *label = child<ElidedLabel>(w, "Label1");
        label->setFullText(text);
        // The label keeps the full text; it is shortened only when drawn.
        QCOMPARE(label->text(), text);
        QCOMPARE(label->toolTip(), text);
        const QString shown = label->shownText();
        QVERIFY2(shown.startsWith("CTM-file: /home/ann/"), qPrintable(shown));
        QVERIFY2(shown.endsWith("/interview_1.ctm"), qPrintable(shown));
        QVERIFY2(shown.contains(QChar(0x2026)), qPrintable(shown));
        QVERIFY(label->fontMetrics().horizontalAdvance(shown) <= label->contentsRect().width());
        QCOMPARE(w.width(), 976);
        // A short text is drawn whole.
        label->setFullText(QStringLiteral("CTM-file: /a.ctm"));
        QCOMPARE(label->shownText(), QStringLiteral("CTM-file: /a.ctm"));
    }

    // --- Resizing ---------------------------------------------------------------

    void resizingGrowsTheViews_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("start size") << QSize(976, 616) << QSize(976, 616);
        QTest::newRow("larger") << QSize(1400, 900) << QSize(1400, 900);
        QTest::newRow("smaller stops at the start size") << QSize(600, 400) << QSize(976, 616);
    }

    void resizingGrowsTheViews()
    {
        QFETCH(QSize, size);
        QFETCH(QSize, expected);
        const Interview i = writeInterview(tmp.path() + "/resize");
        MainWindow w;
        FakePerson person;
        person.openAnswers << i.all();
        person.saveAnswers << tmp.path() + "/resize/joined.wav";
        w.setFileChooser(&person);
        showActive(w);
        openAll(w, i);
        QCOMPARE(shownDuring([&] { w.findChild<QAction *>(QStringLiteral("miGlue"))->trigger(); }),
                 QStringList());
        QCOMPARE(w.minimumSize(), QSize(976, 616));
        w.resize(size);
        QCoreApplication::processEvents();
        QCOMPARE(w.size(), expected);

        const auto geo = [&](const char *name) {
            auto *k = child<QWidget>(w, name);
            return QRect(k->mapTo(&w, QPoint(0, 0)), k->size());
        };
        // Header and menu at the top, the footer at the bottom, the tabs between.
        QCOMPARE(geo("paHeader"), QRect(0, 0, expected.width(), 48));
        // The menu in a row of 24, the player in its own row under it.
        QCOMPARE(geo("mmMenu").topLeft(), QPoint(0, 48));
        QCOMPARE(geo("mmMenu").height(), 24);
        QCOMPARE(geo("paPlayer"), QRect(0, 72, expected.width(), 28));
        QCOMPARE(geo("tcData"), QRect(0, 100, expected.width(), expected.height() - 100 - 148));
        QCOMPARE(geo("paFooter"), QRect(0, expected.height() - 148, expected.width(), 148));
        QCOMPARE(geo("Image1").right(), expected.width() - 1);
        QCOMPARE(geo("Label8").width(), expected.width() - 20);

        auto *tcData = child<QTabWidget>(w, "tcData");
        // The SRT tab shares its page between the subtitles and their problems.
        for (const char *name : {"sgCTM1", "sgCTM2", "meText1", "meText2", "sgSRT", "spSRT", "meWord", "meResult"}) {
            auto *view = child<QWidget>(w, name);
            for (int k = 0; k < tcData->count(); ++k)
                if (tcData->widget(k)->isAncestorOf(view))
                    tcData->setCurrentIndex(k);
            QCoreApplication::processEvents();
            // The view fills its page, less at most a hint line above it.
            const QRect page = tcData->currentWidget()->geometry();
            QVERIFY2(view->width() >= page.width() - 2, name);
            QVERIFY2(view->height() >= page.height() - 40, name);
        }
        QVERIFY(child<QWidget>(w, "meSRT")->height() >= child<QWidget>(w, "spSRT")->height() / 2);
        // The phrases' Text column takes what the other columns leave.
        auto *sgSRT = child<QTableView>(w, "sgSRT");
        tcData->setCurrentWidget(child<QWidget>(w, "tiPhrases"));
        QCoreApplication::processEvents();
        QHeaderView *header = sgSRT->horizontalHeader();
        const std::array<int, 4> others{header->sectionSize(0), header->sectionSize(1), header->sectionSize(2),
                                        header->sectionSize(3)};
        QCOMPARE(header->sectionSize(4), phraseTextColumnWidth(sgSRT->width(), others));

        // The settings' groups side by side, none over another.
        tcData->setCurrentIndex(0);
        QCoreApplication::processEvents();
        const QList<QGroupBox *> groups = w.findChildren<QGroupBox *>();
        for (QGroupBox *a : groups)
            for (QGroupBox *b : groups)
                if (a != b)
                    QVERIFY2(!QRect(a->mapTo(&w, QPoint()), a->size())
                                  .intersects(QRect(b->mapTo(&w, QPoint()), b->size())),
                             qPrintable(a->objectName() + " overlaps " + b->objectName()));

        if (size == QSize(1400, 900)) {
            tcData->setCurrentWidget(child<QWidget>(w, "tiPhrases"));
            QCoreApplication::processEvents();
            const QString artifacts = QStringLiteral(NAADWERK_BINARY_DIR "/artifacts");
            QVERIFY(QDir().mkpath(artifacts));
            QVERIFY(w.grab().save(artifacts + "/window-resized.png"));
        }
    }

    // --- Memory between runs --------------------------------------------------

    void settingsAndSizeSurviveARestart()
    {
        // The tests keep their settings apart from the person's.
        QVERIFY(!QSettings(QSettings::IniFormat, QSettings::UserScope, "Naadwerk", "Naadwerk")
                     .fileName()
                     .startsWith(QDir::homePath() + QStringLiteral("/.config/")));
        {
            MainWindow w;
            showActive(w);
            child<QRadioButton>(w, "rbSpace")->setChecked(true);
            child<QRadioButton>(w, "rbNist")->setChecked(true);
            child<QCheckBox>(w, "cbEnlarge")->setChecked(false);
            child<QCheckBox>(w, "cbSkipwords")->setChecked(false);
            child<QCheckBox>(w, "cbSilence")->setChecked(false);
            child<QCheckBox>(w, "cbPause")->setChecked(true);
            child<QSpinBox>(w, "sbBefore")->setValue(300);
            child<QSpinBox>(w, "sbAfter")->setValue(50);
            child<QSpinBox>(w, "sbPause")->setValue(700);
            child<QComboBox>(w, "cbPage")->setCurrentIndex(1);
            child<QDoubleSpinBox>(w, "sbLowConfidence")->setValue(0.25);
            child<QComboBox>(w, "cbChannels")->setCurrentIndex(2);
            w.resize(1200, 800);
            QCoreApplication::processEvents();
        }
        MainWindow w;
        QVERIFY(child<QRadioButton>(w, "rbSpace")->isChecked());
        QVERIFY(!child<QRadioButton>(w, "rbTab")->isChecked());
        QVERIFY(child<QRadioButton>(w, "rbNist")->isChecked());
        QVERIFY(!child<QCheckBox>(w, "cbEnlarge")->isChecked());
        QVERIFY(!child<QCheckBox>(w, "cbSkipwords")->isChecked());
        QVERIFY(!child<QCheckBox>(w, "cbSilence")->isChecked());
        QVERIFY(child<QCheckBox>(w, "cbPause")->isChecked());
        QCOMPARE(child<QSpinBox>(w, "sbBefore")->value(), 300);
        QCOMPARE(child<QSpinBox>(w, "sbAfter")->value(), 50);
        QCOMPARE(child<QSpinBox>(w, "sbPause")->value(), 700);
        QCOMPARE(child<QComboBox>(w, "cbPage")->currentIndex(), 1);
        QCOMPARE(child<QDoubleSpinBox>(w, "sbLowConfidence")->value(), 0.25);
        QCOMPARE(child<QComboBox>(w, "cbChannels")->currentText(), QStringLiteral("right"));
        // The job reads what the controls show.
        const GlueSettings &settings = w.job().settings;
        QVERIFY(!settings.tabSeparated);
        QCOMPARE(settings.layout, WordFileLayout::Nist);
        QVERIFY(!settings.widenCues && !settings.skipStarWords && !settings.blankSilence);
        QVERIFY(settings.endPhrasesAtPauses);
        QCOMPARE(settings.msBefore, 300);
        QCOMPARE(settings.msAfter, 50);
        QCOMPARE(settings.phrasePauseMs, 700);
        QCOMPARE(settings.pageStyle, GlueSettings::PageStyle::Standalone);
        QCOMPARE(settings.lowConfidence, 0.25);
        QCOMPARE(settings.channels, ChannelChoice::Right);
        showActive(w);
        QCOMPARE(w.size(), QSize(1200, 800));
    }

    void aBrokenStoreLeavesTheStartUpSettings()
    {
        {
            QSettings store(QSettings::IniFormat, QSettings::UserScope, "Naadwerk", "Naadwerk");
            store.setValue("settings/msBefore", 99999);
            store.setValue("settings/msAfter", "many");
            store.setValue("settings/lowConfidence", -3);
            store.setValue("settings/phrasePauseMs", 99);
            store.setValue("settings/channels", "both");
            store.setValue("window/geometry", QByteArray("not a geometry"));
        }
        MainWindow w;
        QCOMPARE(child<QSpinBox>(w, "sbBefore")->value(), 100);
        QCOMPARE(child<QSpinBox>(w, "sbAfter")->value(), 200);
        QCOMPARE(w.job().settings.lowConfidence, 0.5);
        QCOMPARE(w.job().settings.phrasePauseMs, 1000);
        QCOMPARE(child<QComboBox>(w, "cbChannels")->currentText(), QStringLiteral("mix"));
        QCOMPARE(w.job().settings.channels, ChannelChoice::Mix);
        QCOMPARE(w.size(), QSize(976, 616));
    }

    // Every setting the window remembers comes back as it was kept, and
    // alone: no two settings share a place in the store.
    void everyRememberedSettingSurvivesARoundTrip_data()
    {
        QTest::addColumn<QString>("key");
        for (const Setting &setting : settingsTable())
            if (setting.remembered)
                QTest::newRow(setting.key) << QString::fromLatin1(setting.key);
    }

    void everyRememberedSettingSurvivesARoundTrip()
    {
        QFETCH(QString, key);
        const Setting &setting = *findSetting(key);
        GlueSettings kept;
        setting.write(kept, otherValue(setting));
        WindowMemory().writeSettings(kept);
        GlueSettings restored;
        WindowMemory().readSettings(restored);
        for (const Setting &other : settingsTable())
            QVERIFY2(other.read(restored) == other.read(kept), other.key);
        QVERIFY(setting.read(restored) != setting.startValue());
    }

    // The store as the window kept it before the Settings tab was made from
    // one table of settings: a person's remembered settings still load.
    void storeOfTheLastVersionStillLoads()
    {
        const QString file = QSettings(QSettings::IniFormat, QSettings::UserScope, "Naadwerk", "Naadwerk").fileName();
        QDir().mkpath(QFileInfo(file).absolutePath());
        writeBytes(file, "[settings]\n"
                         "tabSeparated=false\n"
                         "nistLayout=true\n"
                         "widenCues=false\n"
                         "msBefore=300\n"
                         "msAfter=50\n"
                         "skipStarWords=false\n"
                         "blankSilence=false\n"
                         "standalonePage=true\n"
                         "lowConfidence=0.25\n"
                         "endPhrasesAtPauses=true\n"
                         "phrasePauseMs=700\n");
        GlueSettings settings;
        WindowMemory().readSettings(settings);
        QVERIFY(!settings.tabSeparated);
        QCOMPARE(settings.layout, WordFileLayout::Nist);
        QVERIFY(!settings.widenCues);
        QCOMPARE(settings.msBefore, 300);
        QCOMPARE(settings.msAfter, 50);
        QVERIFY(!settings.skipStarWords);
        QVERIFY(!settings.blankSilence);
        QCOMPARE(settings.pageStyle, GlueSettings::PageStyle::Standalone);
        QCOMPARE(settings.lowConfidence, 0.25);
        QVERIFY(settings.endPhrasesAtPauses);
        QCOMPARE(settings.phrasePauseMs, 700);
        // It kept no channels: they start mixed.
        QCOMPARE(settings.channels, ChannelChoice::Mix);
    }

    void foldersSurviveARestart()
    {
        const Interview words = writeInterview(tmp.path() + "/remembered/words");
        {
            MainWindow w;
            QString folder;
            answerOpenDialog(w, "miCTM1", words.wordFile1, nullptr, &folder);
            QCOMPARE(w.job().part(0).files.wordFile, words.wordFile1);
        }
        MainWindow w;
        QString name = QStringLiteral("<no dialog>");
        QString folder;
        answerOpenDialog(w, "miCTM2", QString(), &name, &folder);
        QCOMPARE(name, QString());
        QCOMPARE(folder, QFileInfo(words.wordFile1).absolutePath());
    }

    void recentReopensAGluedInterview()
    {
        const Interview i = writeInterview(tmp.path() + "/recent");
        {
            MainWindow w;
            FakePerson person;
            person.saveAnswers << tmp.path() + "/recent/joined.wav";
            w.setFileChooser(&person);
            openAll(w, i);
            QCOMPARE(shownDuring([&] { w.findChild<QAction *>(QStringLiteral("miGlue"))->trigger(); }),
                     QStringList());
            QVERIFY(w.job().isGlued());
        }
        QFile::remove(i.text2);
        MainWindow w;
        QMenu *recent = child<QAction>(w, "miRecent")->menu();
        QVERIFY(child<QAction>(w, "miRecent")->isEnabled());
        QCOMPARE(recent->actions().size(), 1);
        QAction *entry = recent->actions().first();
        // The folder tells it from an interview of the same names elsewhere;
        // the tooltip names every input.
        QCOMPARE(entry->text(), "&1 interview_1.wav + interview_2.wav in " + QFileInfo(i.wav1).absolutePath());
        QCOMPARE(entry->toolTip(),
                 QStringList({i.wordFile1, i.wordFile2, i.text1, i.text2, i.wav1, i.wav2}).join(u'\n'));
        QVERIFY(recent->toolTipsVisible());
        const QStringList seen = shownDuring([&] { entry->trigger(); });
        // What is gone is named; the rest opens.
        QCOMPARE(seen, QStringList("recentNotice: These inputs are no longer there:\n" + i.text2));
        const GlueJob &job = w.job();
        QCOMPARE(QStringList({job.part(0).files.wordFile, job.part(1).files.wordFile, job.part(0).files.text, job.part(1).files.text,
                              job.part(0).files.recording, job.part(1).files.recording}),
                 QStringList({i.wordFile1, i.wordFile2, i.text1, QString(), i.wav1, i.wav2}));
        QCOMPARE(statusTexts(w)[0], "Word file of part 1: " + i.wordFile1);
    }

    // A glue of parts comes back from Recent as one, with the gap after each part.
    void recentKeepsTheGapsOfAGlueOfParts()
    {
        const Interview i = writeInterview(tmp.path() + "/gaps");
        {
            MainWindow w;
            FakePerson person;
            person.saveAnswers << tmp.path() + "/gaps/joined.wav";
            w.setFileChooser(&person);
            w.job().addPart({i.wordFile1, i.text1, i.wav1}, 250);
            w.job().addPart({i.wordFile2, i.text2, i.wav2}, 40);
            QCOMPARE(shownDuring([&] { w.findChild<QAction *>(QStringLiteral("miGlue"))->trigger(); }),
                     QStringList());
            QVERIFY(w.job().isGlued());
        }
        MainWindow w;
        QAction *entry = child<QAction>(w, "miRecent")->menu()->actions().first();
        QCOMPARE(shownDuring([&] { entry->trigger(); }), QStringList());
        const GlueJob &job = w.job();
        QVERIFY(job.gluesParts());
        QCOMPARE(job.partCount(), 2);
        QCOMPARE(job.part(0).files, (PartFiles{i.wordFile1, i.text1, i.wav1}));
        QCOMPARE(job.part(1).files, (PartFiles{i.wordFile2, i.text2, i.wav2}));
        QCOMPARE(job.part(0).gapMs, 250);
        QCOMPARE(job.part(1).gapMs, 40);
    }

    // --- Drag and drop --------------------------------------------------------------

    void droppedFilesGoToTheirSlots_data()
    {
        QTest::addColumn<QList<int>>("dropOrder"); // indexes into the six inputs, then extras
        QTest::addColumn<QList<int>>("opened");    // the inputs the job then holds, -1 for none
        QTest::addColumn<QString>("notice");
        QTest::newRow("all six, shuffled") << QList<int>{5, 2, 0, 3, 1, 4} << QList<int>{0, 1, 2, 3, 4, 5}
                                           << QString();
        QTest::newRow("part 2 alone") << QList<int>{1, 3, 5} << QList<int>{-1, 1, -1, 3, -1, 5} << QString();
        QTest::newRow("one of no kind") << QList<int>{6, 4} << QList<int>{-1, -1, -1, -1, 4, -1}
                                        << "dropNotice: Not every dropped file has a place:\n"
                                           "notes.docx: not a word file (.ctm, .spk, .json, .textgrid, .eaf, .vtt), a text (.txt) or a "
                                           "recording (.wav, .mp3, .m4a, .aac, .flac, .ogg, .oga, .opus, .rf64)";
        // The third goes to the list of parts.
        QTest::newRow("three recordings") << QList<int>{7, 4, 5} << QList<int>{-1, -1, -1, -1, 4, 5}
                                          << QString();
        QTest::newRow("a web address") << QList<int>{8, 0} << QList<int>{0, -1, -1, -1, -1, -1}
                                       << "dropNotice: Not every dropped file has a place:\n"
                                          "https://example.org/interview_2.wav: not a file on this computer";
    }

    void droppedFilesGoToTheirSlots()
    {
        QFETCH(QList<int>, dropOrder);
        QFETCH(QList<int>, opened);
        QFETCH(QString, notice);
        const QString folder = tmp.path() + "/drop/" + QTest::currentDataTag();
        const Interview i = writeInterview(folder);
        QStringList files = i.all();
        files << folder + "/notes.docx" << folder + "/interview_3.wav" << "https://example.org/interview_2.wav";
        writeBytes(files[6], "not an input");
        writeBytes(files[7], wav16k(std::vector<qint16>(800, 0)));
        QStringList dropped;
        for (int k : dropOrder)
            dropped << files[k];
        MainWindow w;
        FakePerson person; // a dialog would be a fault: a drop asks nothing
        w.setFileChooser(&person);
        showActive(w);
        const QStringList seen = shownDuring([&] { drop(w, dropped); });
        QCOMPARE(seen, notice.isEmpty() ? QStringList() : QStringList(notice));
        QVERIFY(person.questions.isEmpty());
        QStringList expected;
        for (int k : opened)
            expected << (k < 0 ? QString() : files[k]);
        const GlueJob &job = w.job();
        QCOMPARE(QStringList({job.part(0).files.wordFile, job.part(1).files.wordFile, job.part(0).files.text, job.part(1).files.text,
                              job.part(0).files.recording, job.part(1).files.recording}),
                 expected);
        // Each shows as its Open command shows it.
        if (opened[4] >= 0)
            QVERIFY2(statusTexts(w)[4].startsWith("Recording of part 1: " + files[opened[4]]), qPrintable(statusTexts(w)[4]));
        if (opened[1] >= 0)
            QCOMPARE(w.findChild<QTableView *>("sgCTM2")->model()->rowCount(), 2);
        if (dropOrder.contains(7)) {
            QCOMPARE(job.partCount(), 3);
            QCOMPARE(job.partRow(2).files.recording, files[7]);
            QCOMPARE(w.findChild<QTabWidget *>("tcData")->currentIndex(), int(Tab::Parts));
        }
    }

    // --- Long steps off the GUI thread --------------------------------------------------

    void theWindowTurnsDuringAGlue()
    {
        const QString folder = tmp.path() + "/turning";
        const Interview i = writeLongInterview(folder);
        MainWindow w;
        FakePerson person;
        person.saveAnswers << folder + "/joined.wav";
        w.setFileChooser(&person);
        showActive(w);
        openAll(w, i);
        int ticks = 0;
        bool commandsOpen = false;
        QTimer timer;
        timer.setInterval(0);
        connect(&timer, &QTimer::timeout, [&] {
            ++ticks;
            // Nothing can be started or changed meanwhile.
            commandsOpen = commandsOpen || child<QWidget>(w, "paCommands")->isEnabled()
                           || child<QTabWidget>(w, "tcData")->isEnabled();
        });
        timer.start();
        w.findChild<QAction *>(QStringLiteral("miGlue"))->trigger();
        timer.stop();
        QVERIFY2(ticks > 0, "the event loop stood still during Glue");
        QVERIFY(!commandsOpen);
        QVERIFY(w.job().isGlued());
        QCOMPARE(w.job().joinedFrames(), 2 * 16000 * 300);
        QVERIFY(child<QWidget>(w, "paCommands")->isEnabled());
        QVERIFY(child<QTabWidget>(w, "tcData")->isEnabled());
    }

    void cancelledGlueLeavesEverythingAsItWas_data()
    {
        QTest::addColumn<bool>("gluedBefore");
        QTest::newRow("before any Glue") << false;
        QTest::newRow("over a glued result") << true;
    }

    void cancelledGlueLeavesEverythingAsItWas()
    {
        QFETCH(bool, gluedBefore);
        const QString folder = tmp.path() + "/cancel/" + QTest::currentDataTag();
        const Interview i = writeLongInterview(folder);
        const QString target = folder + "/joined.wav";
        writeBytes(target, "an earlier file of that name");
        MainWindow w;
        FakePerson person;
        w.setFileChooser(&person);
        showActive(w);
        openAll(w, i);
        if (gluedBefore) {
            person.saveAnswers << folder + "/first.wav";
            w.findChild<QAction *>(QStringLiteral("miGlue"))->trigger();
            QVERIFY(w.job().isGlued());
        }
        const auto state = [&] {
            QStringList s = statusTexts(w);
            for (auto *view : w.findChildren<QPlainTextEdit *>())
                s << view->objectName() + ": " + view->toPlainText();
            for (auto *table : w.findChildren<QTableView *>())
                s << table->objectName() + ": " + QString::number(table->model()->rowCount());
            s << QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
            s << QString::number(w.job().joinedFrames()) << QString::number(w.job().isGlued())
              << QString::number(w.job().hasUnsavedWork());
            return s;
        };
        const QStringList before = state();

        person.saveAnswers << target;
        bool cancelled = false;
        QTimer timer;
        timer.setInterval(0);
        connect(&timer, &QTimer::timeout, [&] {
            if (auto *progress = w.findChild<QProgressDialog *>(QStringLiteral("stepProgress"));
                progress && !cancelled) {
                // As a person cancels: with the dialog's button.
                progress->findChild<QPushButton *>()->click();
                cancelled = true;
            }
        });
        timer.start();
        QStringList shown =
            shownDuring([&] { w.findChild<QAction *>(QStringLiteral("miGlue"))->trigger(); });
        timer.stop();
        QVERIFY(cancelled);
        // The step's own progress shows when the step takes long (a busy
        // machine); what else shows would be an error.
        shown.removeAll(QStringLiteral("stepProgress"));
        QCOMPARE(shown, QStringList()); // a cancel is no error
        QCOMPARE(state(), before);
        QCOMPARE(readBytes(target), QByteArray("an earlier file of that name"));
    }

    void closingDuringAStepAsksToCancelItFirst_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("cancel and close") << true;
        QTest::newRow("go on") << false;
    }

    void closingDuringAStepAsksToCancelItFirst()
    {
        QFETCH(bool, cancel);
        const QString folder = tmp.path() + "/closing/" + QTest::currentDataTag();
        const Interview i = writeLongInterview(folder);
        MainWindow w;
        FakePerson person;
        person.saveAnswers << folder + "/joined.wav";
        w.setFileChooser(&person);
        showActive(w);
        openAll(w, i);
        QString asked;
        bool closed = false;
        // One timer closes the window during the step, another answers the
        // question that brings (a timer does not fire inside its own tick).
        QTimer answerer;
        answerer.setInterval(0);
        connect(&answerer, &QTimer::timeout, [&] {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (auto *box = qobject_cast<QMessageBox *>(top);
                    box && box->isVisible() && box->objectName() == u"cancelStep") {
                    asked = box->text();
                    box->button(cancel ? QMessageBox::Yes : QMessageBox::No)->click();
                }
        });
        answerer.start();
        QTimer timer;
        timer.setInterval(0);
        connect(&timer, &QTimer::timeout, [&] {
            if (!closed && w.findChild<QProgressDialog *>(QStringLiteral("stepProgress"))) {
                closed = true;
                w.close();
            }
        });
        timer.start();
        w.findChild<QAction *>(QStringLiteral("miGlue"))->trigger();
        QCOMPARE(asked, QStringLiteral("A step is still running. Cancel it and close Naadwerk?"));
        if (cancel) {
            QTRY_VERIFY(!w.isVisible());
            QVERIFY(!w.job().isGlued());
            QVERIFY(!QFile::exists(folder + "/joined.wav"));
        } else {
            QTest::qWait(50);
            QVERIFY(w.isVisible());
            QVERIFY(w.job().isGlued());
        }
        timer.stop();
    }

    // A number typed on the Settings tab but not entered yet is entered
    // when the window goes, once its job is gone: it must reach no job then.
    void aNumberTypedButNotEnteredReachesNoJobWhenTheWindowGoes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::newRow("before") << "sbBefore" << "7";
        QTest::newRow("after") << "sbAfter" << "1234";
        QTest::newRow("pause") << "sbPause" << "700";
    }

    void aNumberTypedButNotEnteredReachesNoJobWhenTheWindowGoes()
    {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        auto *w = new MainWindow;
        showActive(*w);
        child<QTabWidget>(*w, "tcData")->setCurrentIndex(0);
        auto *box = w->findChild<QSpinBox *>(name);
        QVERIFY(box && !box->keyboardTracking());
        const int entered = box->value();
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, typed);
        QCOMPARE(box->value(), entered);
        bool going = false;
        int enteredWhileGoing = 0;
        connect(box, &QSpinBox::valueChanged, [&](int value) {
            if (going && value == typed.toInt())
                ++enteredWhileGoing;
        });
        going = true;
        delete w; // a control that reached the job would write into it, gone, and run a command on it
        // The case above happened: the typed number was entered during the teardown.
        QCOMPARE(enteredWhileGoing, 1);
        // The window kept what was entered before it went.
        GlueSettings kept;
        WindowMemory().readSettings(kept);
        for (const Setting &setting : settingsTable())
            QVERIFY2(setting.read(kept) == setting.startValue(), setting.key);
    }

    // --- Help and About -----------------------------------------------------------

    void helpShowsTheStepsOfGluing()
    {
        MainWindow w;
        showActive(w);
        QString help;
        QTimer::singleShot(0, [&] {
            if (auto *browser = w.findChild<QTextBrowser *>(QStringLiteral("helpText")))
                help = browser->toPlainText();
        });
        const QStringList seen = shownDuring([&] { QTest::keyClick(&w, Qt::Key_F1); });
        QCOMPARE(seen.value(0), QStringLiteral("helpDialog"));
        QVERIFY2(help.startsWith(QStringLiteral("Gluing in the window")), qPrintable(help.left(80)));
        for (const char *step : {"Settings", "Open", "Glue", "Save"})
            QVERIFY2(help.contains(QString::fromLatin1(step)), step);
        // Only that section: the next one of the README is not shown.
        QVERIFY(!help.contains(QStringLiteral("What you can redo")));
    }

    void aboutNamesTheVersionTheLicenceAndTheLibraries()
    {
        MainWindow w;
        const QStringList seen =
            shownDuring([&] { w.findChild<QAction *>(QStringLiteral("miAbout"))->trigger(); });
        QCOMPARE(seen.size(), 1);
        const QString about = seen.first();
        QVERIFY2(about.startsWith(QStringLiteral("aboutBox: Naadwerk ") + QString::fromLatin1(naadwerkVersion)),
                 qPrintable(about));
        for (const QString &library : {QStringLiteral("Qt ") + QString::fromLatin1(qVersion()),
                                       QStringLiteral("FFmpeg libavformat "), QStringLiteral("FFmpeg libavcodec "),
                                       QStringLiteral("libsoxr"), QStringLiteral("GPL-3.0-or-later")})
            QVERIFY2(about.contains(library), qPrintable(library));
    }
};

QTEST_MAIN(TstDesktopWindow)
#include "tst_desktopwindow.moc"
