// Lists of parts as people write them, and the join of the parts' recordings.
#include "support/files.h"
#include "support/wavbuilder.h"

#include "formats/joinpart.h"
#include "formats/partlistentry.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using Entries = QList<QStringList>; // word file, text, recording, gap

Q_DECLARE_METATYPE(Entries)

class TestJoinParts : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }

private slots:
    void listsAreRead_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<Entries>("parts");
        QTest::newRow("relative to the list's folder")
            << QStringList{"a.ctm\ta.txt\ta.wav"} << Entries{{"/l/a.ctm", "/l/a.txt", "/l/a.wav", "0"}};
        QTest::newRow("up, down and absolute")
            << QStringList{"../t/a.ctm\tsub/a.txt\t/r/a.wav\t1500"}
            << Entries{{"/t/a.ctm", "/l/sub/a.txt", "/r/a.wav", "1500"}};
        QTest::newRow("comments, empty lines and blanks around fields")
            << QStringList{"# tape 1", "", "  a.ctm \t a.txt\ta b.wav \t 20 ", "   # tape 2", "b.ctm\tb.txt\tb.wav"}
            << Entries{{"/l/a.ctm", "/l/a.txt", "/l/a b.wav", "20"}, {"/l/b.ctm", "/l/b.txt", "/l/b.wav", "0"}};
        QTest::newRow("the order of the list, not of the names")
            << QStringList{"z.ctm\tz.txt\tz.wav", "a.ctm\ta.txt\ta.wav"}
            << Entries{{"/l/z.ctm", "/l/z.txt", "/l/z.wav", "0"}, {"/l/a.ctm", "/l/a.txt", "/l/a.wav", "0"}};
        QTest::newRow("nothing but comments") << QStringList{"# none", ""} << Entries{};
    }

    void listsAreRead()
    {
        QFETCH(QStringList, lines);
        QFETCH(Entries, parts);
        Entries read;
        for (const PartListEntry &e : parsePartList(lines, QStringLiteral("/l"), QStringLiteral("l.tsv")))
            read << QStringList{e.files.wordFile, e.files.text, e.files.recording, QString::number(e.gapMs)};
        QCOMPARE(read, parts);
    }

    void badLinesNameTheirLine_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("message");
        const QString fields = QStringLiteral("a part is a word file, a text file and a recording, separated by "
                                              "tabs, and optionally the gap after it in ms");
        QTest::newRow("two files") << QStringList{"# x", "a.ctm\ta.txt"} << "\"l.tsv\", line 2: " + fields;
        QTest::newRow("five fields") << QStringList{"a\tb\tc\t1\t2"} << "\"l.tsv\", line 1: " + fields;
        QTest::newRow("an empty field") << QStringList{"a.ctm\t\ta.wav"} << "\"l.tsv\", line 1: " + fields;
        QTest::newRow("a gap in seconds")
            << QStringList{"a\tb\tc\t1.5"}
            << "\"l.tsv\", line 1: the gap \"1.5\" is not a whole number of milliseconds from 0 to 86400000";
        QTest::newRow("a gap over a day")
            << QStringList{"a\tb\tc\t86400001"}
            << "\"l.tsv\", line 1: the gap \"86400001\" is not a whole number of milliseconds from 0 to 86400000";
        QTest::newRow("a signed gap")
            << QStringList{"a\tb\tc\t+5"}
            << "\"l.tsv\", line 1: the gap \"+5\" is not a whole number of milliseconds from 0 to 86400000";
    }

    void badLinesNameTheirLine()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, message);
        QCOMPARE(errorMessage([&] { parsePartList(lines, QStringLiteral("/l"), QStringLiteral("l.tsv")); }), message);
    }

    void partsArePlacedAtTheirConvertedFrames()
    {
        writeSilentWav(path("p1.wav"), 44100, 2, 16, 44101); // 16000.36 frames at 16 kHz: 16000
        writeSilentWav(path("p2.wav"), 48000, 1, 24, 3);     // 1 frame
        writeSilentWav(path("p3.wav"), 8000, 1, 8, 5);       // 10 frames
        std::vector<JoinPart> parts{{path("p1.wav"), 32}, {path("p2.wav"), 0}, {path("p3.wav"), 1600}};
        QCOMPARE(joinParts(path("j.wav"), parts), qint64(16000 + 32 + 1 + 10));
        QCOMPARE(parts[0].firstFrame, 0);
        QCOMPARE(parts[1].firstFrame, 16032);
        QCOMPARE(parts[2].firstFrame, 16033);
        QCOMPARE(parts[2].joinedFrames, 10);
        QCOMPARE(parts[1].frames, 3);
        QCOMPARE(parts[1].rate, 48000u);
        QCOMPARE(QFileInfo(path("j.wav")).size(), 44 + 2 * (16000 + 32 + 1 + 10));
    }

    void aBadHeaderWritesNothing()
    {
        writeSilentWav(path("ok.wav"), 16000, 1, 16, 100);
        writeBytes(path("bad.wav"), QByteArray("RIFF\x04\0\0\0WAVX", 12));
        writeBytes(path("out.wav"), "earlier");
        std::vector<JoinPart> parts{{path("ok.wav")}, {path("bad.wav")}, {path("ok.wav")}};
        QCOMPARE(errorMessage([&] { joinParts(path("out.wav"), parts); }), "\"" + path("bad.wav") + "\": Wrong idWAVE");
        QCOMPARE(readBytes(path("out.wav")), QByteArray("earlier"));
        QCOMPARE(parts[0].firstFrame, 0);
        QCOMPARE(parts[1].firstFrame, -1);
        QCOMPARE(parts[2].firstFrame, -1);
    }
};

QTEST_GUILESS_MAIN(TestJoinParts)
#include "tst_joinparts.moc"
