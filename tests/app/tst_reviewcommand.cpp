// naadwerk-cli review and glue --fill-unknown, run as programs: the list as
// TSV, into a file and as JSON over two parts and over three, its exit codes,
// and the fill that changes the saved word file only when asked.
#include "support/cli.h"
#include "support/files.h"
#include "support/wavbuilder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Part k's files in folder: a word file of words at 300 ms each, its text,
// and a recording of 10 s.
void writePart(const QString &folder, int k, const QStringList &words, const QStringList &text)
{
    QStringList lines;
    int ms = 0;
    for (const QString &word : words) {
        lines << QStringLiteral("p\t1\t%1\t%2\t%3\t0.90\tAnna").arg(ms / 1000.0, 0, 'f', 3).arg((ms + 250) / 1000.0, 0, 'f', 3).arg(word);
        ms += 300;
    }
    writeLines(QStringLiteral("%1/p%2.spk").arg(folder).arg(k), lines);
    writeLines(QStringLiteral("%1/p%2.txt").arg(folder).arg(k), text);
    writeSilentWav(QStringLiteral("%1/p%2.wav").arg(folder).arg(k), 16000, 1, 16, 160000);
}

QStringList halves()
{
    return {"--ctm1", "p1.spk", "--ctm2", "p2.spk", "--text1", "p1.txt", "--text2", "p2.txt",
            "--wav1", "p1.wav", "--wav2", "p2.wav"};
}

} // namespace

class TestReviewCommand : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir folder;

private slots:
    void initTestCase()
    {
        writePart(folder.path(), 1, {"I", "was", "born", "in", "<unk>", "in", "spring."},
                  {"[StartTime: 0 ms]", "[Speaker: SP_01 Anna]", "I was born in Zwolle, in spring."});
        writePart(folder.path(), 2, {"We", "left", "SIL", "again."}, {"We left it again."});
        writePart(folder.path(), 3, {"Yes", "yes."}, {"Yes."});
        writeLines(folder.path() + "/three.tsv", {"p1.spk\tp1.txt\tp1.wav", "p2.spk\tp2.txt\tp2.wav",
                                                  "p3.spk\tp3.txt\tp3.wav"});
    }

    void listsTheSpotsAsTsv()
    {
        const CliOutcome o = runCli(folder.path(), QStringList{"review"} + halves());
        QCOMPARE(o.err, QString());
        QCOMPARE(o.code, 0);
        // Part 2 starts at 10 s in the joined recording.
        QCOMPARE(o.out, QStringLiteral("part\ttime\trow\tkind\twords\ttranscript\n"
                                       "1\t00:00:01,200\t5\tunknown\t<unk>\tZwolle,\n"
                                       "2\t00:00:10,300\t9\tskipped\t\tit\n"));
    }

    void jsonIntoAFileOverThreeParts()
    {
        const CliOutcome o = runCli(folder.path(), {"review", "--parts", "three.tsv", "--format", "json",
                                                    "-o", "list.json", "--fill-unknown"});
        QCOMPARE(o.err, QString());
        QCOMPARE(o.code, 0);
        QCOMPARE(o.out, QString());
        const QJsonArray rows = QJsonDocument::fromJson(readBytes(folder.path() + "/list.json")).array();
        QStringList found;
        for (const QJsonValue &row : rows) {
            const QJsonObject o = row.toObject();
            found << QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                         .arg(o["part"].toInt())
                         .arg(o["time"].toString())
                         .arg(o["ms"].toInteger())
                         .arg(o["row"].toInt())
                         .arg(o["kind"].toString(), o["words"].toString(), o["transcript"].toString());
        }
        QCOMPARE(found, (QStringList{"1 00:00:01,200 1200 5 filled <unk> Zwolle,",
                                     "2 00:00:10,300 10300 9 skipped  it", "3 00:00:20,300 20300 13 extra yes. "}));
    }

    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("err");
        QTest::newRow("a file that is not there")
            << QStringList{"review", "--ctm1", "p1.spk", "--wav1", "none.wav", "--wav2", "p2.wav"} << 1
            << "Cannot open file";
        QTest::newRow("an unknown format") << QStringList{"review", "--format", "xml"} << 2
                                           << "--format must be tsv or json.";
        QTest::newRow("a file name without an option") << QStringList{"review", "p1.spk"} << 2
                                                       << "review takes no file names without an option.";
        QTest::newRow("a setting out of range") << QStringList{"review", "--long-gap", "50"} << 2
                                                << "--long-gap must be a whole number from 100 to 600000.";
    }

    void exitCodes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, err);
        const CliOutcome o = runCli(folder.path(), arguments);
        QCOMPARE(o.code, code);
        QVERIFY2(o.err.startsWith(err), qPrintable(o.err));
    }

    // A plain Glue writes the word file as it was read; --fill-unknown fills
    // before Save and says so in the log.
    void glueFillsOnlyWhenAsked()
    {
        const CliOutcome plain = runGlue(folder.path(), halves() + QStringList{"--joined", "plain.wav"});
        QCOMPARE(plain.code, 0);
        QVERIFY(readBytes(folder.path() + "/plain.spk").contains("\t<unk>\t"));
        QVERIFY(!plain.out.contains("Filled"));

        const CliOutcome filled = runGlue(folder.path(), halves() + QStringList{"--joined", "filled.wav", "--fill-unknown"});
        QCOMPARE(filled.code, 0);
        QVERIFY(filled.out.contains("Filled 1 unknown words from the transcript\n"));
        const QByteArray words = readBytes(folder.path() + "/filled.spk");
        QVERIFY(!words.contains("<unk>"));
        QVERIFY(words.contains("\t1.200\t1.450\tZwolle,\t"));
    }
};

QTEST_APPLESS_MAIN(TestReviewCommand)
#include "tst_reviewcommand.moc"
