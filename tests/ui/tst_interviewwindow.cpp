// Correcting an interview over days in the window: the interview file saved
// and opened again, the question before any command drops corrections, the
// title, and the recovery copy after the window was killed.
#include "support/celltyping.h"
#include "support/fakeperson.h"
#include "support/files.h"

#include "ui/mainwindow.h"
#include "ui/partspanel.h"
#include "ui/recoverycopy.h"
#include "ui/windowmemory.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

const QStringList resultNames{u"joined.srt"_s, u"joined.spk"_s, u"joined.txt"_s, u"joined.html"_s,
                              u"joined_word.txt"_s};

QStringList examplePaths(const QString &folder)
{
    QStringList paths;
    for (const char *name : {"interview_1.spk", "interview_2.spk", "interview_1.txt", "interview_2.txt",
                             "interview_1.wav", "interview_2.wav"}) {
        const QString path = folder + u'/' + QString::fromLatin1(name);
        if (!QFile::exists(path))
            QFile::copy(QStringLiteral(NAADWERK_SOURCE_DIR "/examples/") + QString::fromLatin1(name), path);
        paths << path;
    }
    return paths;
}

void openExample(MainWindow &w, const QString &folder)
{
    const QStringList p = examplePaths(folder);
    w.openInputs({{p[0], p[2], p[4]}, {p[1], p[3], p[5]}});
}

QAction *mi(QWidget &w, const char *name)
{
    auto *action = w.findChild<QAction *>(QString::fromLatin1(name));
    if (!action)
        qFatal("no item %s", name);
    return action;
}

QTableView *table(QWidget &w, const char *name)
{
    return w.findChild<QTableView *>(QString::fromLatin1(name));
}

void typeIntoCell(QTableView *view, int row, int column, const QString &text)
{
    typeIntoCell(view, view->model()->index(row, column), text);
}

// The corrections of a sitting: one before Glue, Glue, one after.
void correctAndGlue(MainWindow &w, FakePerson &person, const QString &folder)
{
    typeIntoCell(table(w, "sgCTM1"), 1, WordRow::Text, u"Hello"_s);
    person.saveAnswers << folder + u"/joined.wav"_s;
    mi(w, "miGlue")->trigger();
    QVERIFY(w.job().isGlued());
    typeIntoCell(table(w, "sgCTM2"), 2, WordRow::Text, u"gestern"_s);
}

// A window as a person starts it, answered by its person, its recovery
// copy kept in folder/data.
struct Sitting
{
    MainWindow w;
    FakePerson person;
    explicit Sitting(const QString &folder)
    {
        w.recovery().setFolder(folder + u"/data"_s);
        w.setFileChooser(&person);
        w.show();
    }
};

QList<QByteArray> results(const QString &folder)
{
    QList<QByteArray> bytes;
    for (const QString &name : resultNames)
        bytes << readBytes(folder + u'/' + name);
    return bytes;
}

// The child of the kill test: a window with corrections and its recovery
// copy written, waiting to be killed.
int runChildWindow(const QString &folder, const QString &dataFolder)
{
    MainWindow w;
    w.recovery().setFolder(dataFolder);
    FakePerson person;
    w.setFileChooser(&person);
    w.show();
    openExample(w, folder);
    QSignalSpy written(&w.recovery(), &RecoveryCopy::written);
    correctAndGlue(w, person, folder);
    if (!written.wait(60000) && written.isEmpty())
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    return QApplication::exec(); // until killed
}

} // namespace

class TstInterviewWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;

private slots:
    void initTestCase()
    {
        useOwnSettingsStore();
        QVERIFY(tmp.isValid());
    }
    void init() { WindowMemory::forget(); }

    void aSittingSavedAndReopenedSavesTheSameResults()
    {
        const QString folder = tmp.path() + u"/reopen"_s;
        QDir().mkpath(folder);
        QList<QByteArray> uninterrupted;
        {
            Sitting sitting(folder);
            auto &[w, person] = sitting;
            openExample(w, folder);
            correctAndGlue(w, person, folder);
            person.saveAnswers << folder + u"/joined.srt"_s;
            mi(w, "miSave")->trigger();
            uninterrupted = results(folder);
            // Save wrote the interview file beside the results.
            QVERIFY(QFile::exists(folder + u"/joined.naadwerk"_s));
            for (const QString &name : resultNames)
                QFile::remove(folder + u'/' + name);
        }
        const QString interview = folder + u"/tuesday.naadwerk"_s;
        {
            Sitting sitting(folder);
            auto &[w, person] = sitting;
            openExample(w, folder);
            correctAndGlue(w, person, folder);
            QCOMPARE(w.windowTitle(), u"Naadwerk[*]"_s);
            QVERIFY(w.isWindowModified());
            person.saveAnswers << interview;
            QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(person.questions.last().filter, int(SaveFilter::Interview));
            QCOMPARE(w.windowTitle(), u"tuesday[*] - Naadwerk"_s);
            QVERIFY(!w.isWindowModified());
            mi(w, "miExit")->trigger(); // saved: nothing to ask
            QCOMPARE(person.unsavedQuestions, 0);
        }
        Sitting sitting(folder);
        auto &[w, person] = sitting;
        person.openAnswers << interview;
        mi(w, "miOpenInterview")->trigger();
        QVERIFY(w.job().isGlued()); // shown again, not joined again
        QCOMPARE(w.job().wordRows(WordTable::Main)[1].text, u"Hello"_s);
        QCOMPARE(table(w, "sgCTM2")->model()->index(2, WordRow::Text).data().toString(), u"gestern"_s);
        person.saveAnswers << folder + u"/joined.srt"_s;
        mi(w, "miSave")->trigger();
        const QList<QByteArray> reopened = results(folder);
        for (qsizetype i = 0; i < resultNames.size(); ++i) {
            QVERIFY2(!reopened[i].isEmpty(), qPrintable(resultNames[i]));
            QVERIFY2(reopened[i] == uninterrupted[i], qPrintable(resultNames[i]));
        }
    }

    void aMovedInputIsLocatedAndTheCorrectionsKept()
    {
        const QString folder = tmp.path() + u"/moved"_s;
        QDir().mkpath(folder);
        const QString interview = folder + u"/moved.naadwerk"_s;
        {
            Sitting sitting(folder);
            auto &[w, person] = sitting;
            openExample(w, folder);
            typeIntoCell(table(w, "sgCTM1"), 1, WordRow::Text, u"Hello"_s);
            person.saveAnswers << interview;
            mi(w, "miSaveInterviewAs")->trigger();
        }
        QDir().mkpath(folder + u"/new"_s);
        QVERIFY(QFile::rename(folder + u"/interview_2.wav"_s, folder + u"/new/interview_2.wav"_s));
        Sitting sitting(folder);
        auto &[w, person] = sitting;
        person.locateAnswers << folder + u"/new/interview_2.wav"_s;
        w.openInterview(interview);
        QCOMPARE(person.locateProblems,
                 QStringList(u"The recording of part 2, \"%1/interview_2.wav\", is no longer there."_s.arg(folder)));
        QCOMPARE(w.job().part(1).files.recording, folder + u"/new/interview_2.wav"_s);
        QCOMPARE(w.job().wordRows(WordTable::Main)[1].text, u"Hello"_s);
    }

    // After a restart Recent opens the interview file, not the inputs.
    void recentOpensTheSavedInterview()
    {
        const QString folder = tmp.path() + u"/recent"_s;
        QDir().mkpath(folder);
        {
            Sitting sitting(folder);
            auto &[w, person] = sitting;
            openExample(w, folder);
            correctAndGlue(w, person, folder);
            person.saveAnswers << folder + u"/recent.naadwerk"_s;
            mi(w, "miSaveInterviewAs")->trigger();
        }
        Sitting sitting(folder);
        auto &[w, person] = sitting;
        auto *recent = w.findChild<QMenu *>(QStringLiteral("mnRecent"));
        QCOMPARE(recent->actions().size(), 1);
        recent->actions().first()->trigger();
        QCOMPARE(w.job().interviewPath(), folder + u"/recent.naadwerk"_s);
        QCOMPARE(w.job().wordRows(WordTable::Main)[1].text, u"Hello"_s);
        QCOMPARE(w.windowTitle(), u"recent[*] - Naadwerk"_s);
    }

    // Each command that would drop unsaved corrections asks first; Cancel
    // keeps them, and the window, as they were.
    void everyDropPathAsksFirst_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("afterGlue");
        for (bool glued : {false, true}) {
            const char *when = glued ? " after Glue" : " before Glue";
            for (const char *path : {"open a word file", "open a text", "open a recording", "open an interview",
                                     "Recent", "New", "remove a part", "Exit", "close the window", "a drop"})
                if (glued || QByteArray(path) != "Recent") // the list holds glued interviews only
                    QTest::newRow((QByteArray(path) + when).constData()) << QString::fromLatin1(path) << glued;
        }
    }
    void everyDropPathAsksFirst()
    {
        QFETCH(QString, path);
        QFETCH(bool, afterGlue);
        const QString folder = tmp.path() + u"/asks"_s;
        QDir().mkpath(folder);
        const QStringList files = examplePaths(folder);
        Sitting sitting(folder);
        auto &[w, person] = sitting;
        openExample(w, folder);
        if (afterGlue) {
            // The Recent list holds an interview once it was glued.
            person.saveAnswers << folder + u"/joined.wav"_s;
            mi(w, "miGlue")->trigger();
        }
        typeIntoCell(table(w, "sgCTM1"), 1, WordRow::Text, u"Hello"_s);
        QVERIFY(w.job().hasUnsavedWork());
        person.unsavedAnswers << UnsavedChoice::Cancel;
        if (path == u"open a word file")
            mi(w, "miCTM1")->trigger();
        else if (path == u"open a text")
            mi(w, "miOpenText2")->trigger();
        else if (path == u"open a recording")
            mi(w, "miWav1")->trigger();
        else if (path == u"open an interview")
            mi(w, "miOpenInterview")->trigger();
        else if (path == u"Recent") {
            auto *recent = w.findChild<QMenu *>(QStringLiteral("mnRecent"));
            QVERIFY(recent && !recent->actions().isEmpty());
            recent->actions().first()->trigger();
        } else if (path == u"New")
            mi(w, "miNewInterview")->trigger();
        else if (path == u"remove a part") {
            auto *panel = w.findChild<PartsPanel *>();
            panel->selectPart(0);
            w.findChild<QPushButton *>(QStringLiteral("btRemovePart"))->click();
        } else if (path == u"Exit")
            mi(w, "miExit")->trigger();
        else if (path == u"close the window")
            w.close();
        else
            w.receiveDrop({files[0]}, {});
        QCOMPARE(person.unsavedQuestions, 1);
        QVERIFY(w.isVisible());
        QCOMPARE(w.job().wordRows(WordTable::Main)[1].text, u"Hello"_s);
        QCOMPARE(w.job().isGlued(), afterGlue);
        QCOMPARE(w.job().part(0).files.wordFile, files[0]);
        QVERIFY(w.job().hasUnsavedWork());
        // Discard goes on (and so the test's window may close).
        person.cancelUnanswered = true;
        person.unsavedAnswers << UnsavedChoice::Discard;
        w.close();
        QVERIFY(!w.isVisible());
    }

    // Save in the question keeps the corrections before the command goes on:
    // before Glue in an interview file.
    void saveBeforeADropKeepsTheCorrections()
    {
        const QString folder = tmp.path() + u"/savefirst"_s;
        QDir().mkpath(folder);
        Sitting sitting(folder);
        auto &[w, person] = sitting;
        openExample(w, folder);
        typeIntoCell(table(w, "sgCTM1"), 1, WordRow::Text, u"Hello"_s);
        person.unsavedAnswers << UnsavedChoice::Save;
        person.saveAnswers << folder + u"/kept.naadwerk"_s;
        mi(w, "miNewInterview")->trigger();
        QCOMPARE(person.questions.last().proposal, u"interview_1.naadwerk"_s);
        QVERIFY(w.job().wordRows(WordTable::Main).empty());
        QCOMPARE(w.windowTitle(), u"Naadwerk"_s);
        w.openInterview(folder + u"/kept.naadwerk"_s);
        QCOMPARE(w.job().wordRows(WordTable::Main)[1].text, u"Hello"_s);
    }

    void aKilledWindowsCorrectionsAreRestored()
    {
        const QString folder = tmp.path() + u"/killed"_s;
        const QString data = folder + u"/data"_s;
        QDir().mkpath(folder);
        QProcess child;
        child.setProgram(QCoreApplication::applicationFilePath());
        child.setArguments({u"--child"_s, folder, data});
        child.start();
        QVERIFY(child.waitForStarted());
        QVERIFY2(child.waitForReadyRead(300000), child.readAllStandardError().constData());
        QCOMPARE(child.readLine().trimmed(), QByteArray("ready"));
        child.kill(); // SIGKILL: no exit runs
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QVERIFY(QFile::exists(data + u"/recovery.naadwerk"_s));

        MainWindow w;
        w.recovery().setFolder(data);
        FakePerson person;
        w.setFileChooser(&person);
        person.restoreAnswers << true;
        w.offerRecovery();
        QCOMPARE(person.restoreQuestions, 1);
        QVERIFY(w.job().isGlued());
        QCOMPARE(w.job().wordRows(WordTable::Main)[1].text, u"Hello"_s);
        // Restored, not saved: still asked about at Exit, and kept on disk.
        QVERIFY(w.job().hasUnsavedWork());
        QVERIFY(QFile::exists(data + u"/recovery.naadwerk"_s));
        person.saveAnswers << folder + u"/joined.srt"_s;
        mi(w, "miSave")->trigger();
        QVERIFY(!QFile::exists(data + u"/recovery.naadwerk"_s));
        QVERIFY(readBytes(folder + u"/joined.txt"_s).size() > 0);
    }

    void aRecoveryCopyRefusedIsRemoved()
    {
        const QString data = tmp.path() + u"/refused"_s;
        QDir().mkpath(data);
        writeBytes(data + u"/recovery.naadwerk"_s, "{\"version\":1,\"format\":\"naadwerk-interview\",\"parts\":[]}");
        MainWindow w;
        w.recovery().setFolder(data);
        FakePerson person;
        w.setFileChooser(&person);
        person.restoreAnswers << false;
        w.offerRecovery();
        QVERIFY(!QFile::exists(data + u"/recovery.naadwerk"_s));
        // No copy: nothing is asked.
        w.offerRecovery();
        QCOMPARE(person.restoreQuestions, 1);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    if (argc == 4 && QByteArray(argv[1]) == "--child") {
        useOwnSettingsStore();
        return runChildWindow(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    TstInterviewWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_interviewwindow.moc"
