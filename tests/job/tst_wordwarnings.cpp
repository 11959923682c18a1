// Glue's warnings about doubtful words, in the forms aligners get wrong:
// NIST files read in the aligner layout, word files of the wrong half,
// lists out of order, many words piled on one time.
#include "support/fakeperson.h"
#include "support/files.h"
#include "support/wavbuilder.h"

#include "job/gluejob.h"

#include <QTemporaryDir>
#include <QTest>

class TstWordWarnings : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }

private slots:
    void glueWarnsOncePerKind_data();
    void glueWarnsOncePerKind();
};

void TstWordWarnings::glueWarnsOncePerKind_data()
{
    QTest::addColumn<QByteArray>("file1");
    QTest::addColumn<QByteArray>("file2");
    QTest::addColumn<QStringList>("warnings"); // "%1" and "%2" stand for the word files
    QTest::newRow("sound files") << QByteArray("u\t1\t0.10\t0.40\ta\t1\nu\t1\t0.40\t0.90\tb.\t1\n")
                                 << QByteArray("v\t1\t0.00\t0.30\tc.\t1\n") << QStringList();
    // A NIST CTM (start, duration) read in the aligner layout.
    QTest::newRow("durations read as ends")
        << QByteArray("u\t1\t0.10\t0.30\ta\t1\nu\t1\t0.40\t0.20\tb.\t1\nu\t1\t0.70\t0.10\tc.\t1\n")
        << QByteArray("v\t1\t0.50\t0.30\td.\t1\n")
        << QStringList{"Warning: \"%1\", line 2: the word ends before it starts; field 4 may be a duration: choose "
                       "the NIST layout (\"Word file layout\" on the Settings tab, --layout nist)"};
    QTest::newRow("out of order in half 2")
        << QByteArray("u\t1\t0.10\t0.40\ta.\t1\n")
        << QByteArray("v\t1\t0.50\t0.60\tc\t1\nv\t1\t0.20\t0.30\td.\t1\nv\t1\t0.10\t0.15\te.\t1\n")
        << QStringList{"Warning: \"%2\", line 2: the word starts before the word before it"};
    // Recording 1 lasts one second.
    QTest::newRow("half 1 beyond recording 1")
        << QByteArray("u\t1\t0.10\t0.40\ta\t1\nu\t1\t0.90\t1.20\tb.\t1\nu\t1\t1.20\t1.50\tc.\t1\n")
        << QByteArray("v\t1\t0.00\t0.30\tc.\t1\n")
        << QStringList{"Warning: \"%1\", line 2: the word ends at 1200 ms, after recording 1 ends (1000 ms); are "
                       "the word file and the recording of the same half?"};
    QTest::newRow("five words at one start, in half 2")
        << QByteArray("u\t1\t0.10\t0.40\ta.\t1\n")
        << QByteArray("v\t1\t0.00\t0.10\tx\t1\nv\t1\t0.20\t0.20\ta\t1\nv\t1\t0.20\t0.20\tb\t1\nv\t1\t0.20\t0.20\tc\t1\n"
                      "v\t1\t0.20\t0.20\td\t1\nv\t1\t0.20\t0.20\te.\t1\n")
        << QStringList{"Warning: \"%2\", line 2: five or more words start at the same time (200 ms); the aligner "
                       "may have failed there"};
    QTest::newRow("four words at one start are no warning")
        << QByteArray("u\t1\t0.20\t0.20\ta\t1\nu\t1\t0.20\t0.20\tb\t1\nu\t1\t0.20\t0.20\tc\t1\nu\t1\t0.20\t0.20\td.\t1\n")
        << QByteArray("v\t1\t0.20\t0.20\ta.\t1\n") << QStringList();
    QTest::newRow("every kind, each once, the first file and line")
        << QByteArray("u\t1\t0.50\t0.40\ta\t1\nu\t1\t0.30\t0.20\tb\t1\nu\t1\t0.90\t1.10\tc.\t1\n")
        << QByteArray("v\t1\t0.50\t0.60\tc\t1\nv\t1\t0.20\t0.10\td\t1\n" + QByteArray("v\t1\t0.30\t0.30\tx\t1\n").repeated(5))
        << QStringList{"Warning: \"%1\", line 1: the word ends before it starts; field 4 may be a duration: choose "
                       "the NIST layout (\"Word file layout\" on the Settings tab, --layout nist)",
                       "Warning: \"%1\", line 2: the word starts before the word before it",
                       "Warning: \"%1\", line 3: the word ends at 1100 ms, after recording 1 ends (1000 ms); are "
                       "the word file and the recording of the same half?",
                       "Warning: \"%2\", line 3: five or more words start at the same time (300 ms); the aligner "
                       "may have failed there"};
}

void TstWordWarnings::glueWarnsOncePerKind()
{
    QFETCH(QByteArray, file1);
    QFETCH(QByteArray, file2);
    QFETCH(QStringList, warnings);
    writeBytes(path("one.ctm"), file1);
    writeBytes(path("two.ctm"), file2);
    writeSilentWav(path("one.wav"), 16000, 1, 16, 16000);
    writeSilentWav(path("two.wav"), 16000, 1, 16, 8000);
    FakePerson person;
    GlueJob job(person);
    person.openAnswers << path("one.ctm") << path("two.ctm") << path("one.wav") << path("two.wav");
    job.openWordFile(1);
    job.openWordFile(2);
    job.openRecording(1);
    job.openRecording(2);
    person.saveAnswers << path("joined.wav");
    job.glue();
    for (QString &w : warnings)
        w.replace("%1", path("one.ctm")).replace("%2", path("two.ctm"));
    // The warnings stand right after "Combining the two CTMs", and Glue goes on.
    const qsizetype at = person.logged.indexOf("Combining the two CTMs");
    QVERIFY(at >= 0);
    QCOMPARE(person.logged.mid(at + 1, warnings.size()), warnings);
    QCOMPARE(person.logged.at(at + 1 + warnings.size()), QStringLiteral("Combining the two Texts"));
    QCOMPARE(person.logged.filter("Warning: ").size(), warnings.size());
    QCOMPARE(person.logged.last(), QStringLiteral("Ready making Word-file"));
}

QTEST_GUILESS_MAIN(TstWordWarnings)
#include "tst_wordwarnings.moc"
