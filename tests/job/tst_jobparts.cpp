// Glue of a list of parts: the order, the offsets from the joined frames, the
// gaps of silence, the part map, the marks in the transcript and the WebVTT
// notes, the checks before anything is written, and the list's commands.
#include "support/fakeperson.h"
#include "support/files.h"
#include "support/wavbuilder.h"

#include "base/textfile.h"
#include "job/gluejob.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

// One part of a case: its recording and how many words and text lines it has.
struct PartSpec
{
    QString name;   // the base name of its three files
    int rate = 16000;
    int channels = 1;
    int bits = 16;
    qint64 frames = 16000;
    qint64 gapMs = 0;
    int words = 2;
    int textLines = 2;
};
using PartSpecs = QList<PartSpec>;

// Word i of part k (k from 0): its times in ms in the part's own recording.
qint64 wordStart(int k, int i) { return 100 * i + 7 * k + 3; }
qint64 wordEnd(int k, int i) { return wordStart(k, i) + 50; }
// Each word ends a sentence, so each is a phrase and a cue of its own.
QString wordText(int k, int i) { return QStringLiteral("p%1w%2.").arg(k + 1).arg(i + 1); }

QString seconds(qint64 ms) { return QString::number(ms / 1000.0, 'f', 3); }

// A half to the even one, as the program rounds.
qint64 evenRound(double x) { return qint64(std::nearbyint(x)); }

QString clock(qint64 ms)
{
    const qint64 s = ms / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600, 2, 10, QChar(u'0'))
        .arg(s / 60 % 60, 2, 10, QChar(u'0'))
        .arg(s % 60, 2, 10, QChar(u'0'));
}

} // namespace

Q_DECLARE_METATYPE(PartSpecs)

class TstJobParts : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }

    // A part's word file; none for a part with no words (an empty word file is refused).
    QString wordFileOf(const PartSpec &p) const { return p.words > 0 ? path(p.name + ".ctm") : QString(); }

    // Writes the three files of each part; returns nothing, the names follow from the specs.
    void writeParts(const PartSpecs &parts)
    {
        for (int k = 0; k < parts.size(); ++k) {
            const PartSpec &p = parts[k];
            QStringList words;
            for (int i = 0; i < p.words; ++i)
                words << QStringLiteral("u\t1\t%1\t%2\t%3\t0.9\tSP_01 Anna")
                             .arg(seconds(wordStart(k, i)), seconds(wordEnd(k, i)), wordText(k, i));
            if (!words.isEmpty())
                writeLines(path(p.name + ".ctm"), words);
            QStringList text;
            for (int i = 0; i < p.textLines; ++i)
                text << QStringLiteral("Line %1 of %2.").arg(i + 1).arg(p.name);
            writeLines(path(p.name + ".txt"), text);
            writeSilentWav(path(p.name + ".wav"), p.rate, p.channels, p.bits, p.frames);
        }
    }

    void addParts(GlueJob &job, const PartSpecs &parts)
    {
        for (const PartSpec &p : parts)
            job.addPart(PartFiles{wordFileOf(p), path(p.name + ".txt"), path(p.name + ".wav")}, p.gapMs);
    }

private slots:
    void initTestCase()
    {
        if (!hasProgram("soxi"))
            QSKIP("soxi (package sox) is needed to measure the recordings");
    }

    void partsAreGluedInTheirOrder_data()
    {
        QTest::addColumn<PartSpecs>("parts");
        QTest::newRow("three parts") << PartSpecs{{"a", 16000, 1, 16, 16000},
                                                  {"b", 44100, 2, 16, 44101},
                                                  {"c", 48000, 1, 24, 24001}};
        PartSpecs twenty;
        for (int k = 0; k < 20; ++k)
            twenty.append({QStringLiteral("t%1").arg(k, 2, 10, QChar(u'0')), k % 2 ? 48000 : 44100, 1 + k % 2, 16,
                           // odd lengths: no part ends on a whole 16 kHz frame
                           qint64(4410 * (k + 1) + 2 * k + 1), 0, 3, 1});
        QTest::newRow("twenty parts of odd lengths at 44.1 and 48 kHz") << twenty;
        QTest::newRow("gaps") << PartSpecs{{"g1", 16000, 1, 16, 8000, 250},
                                           {"g2", 44100, 1, 16, 22051, 1001},
                                           {"g3", 16000, 1, 16, 4000, 5000}}; // the last gap is not written
        QTest::newRow("a part with no words") << PartSpecs{{"w1", 16000, 1, 16, 8000},
                                                           {"w2", 16000, 1, 16, 8000, 0, 0},
                                                           {"w3", 16000, 1, 16, 8000}};
        QTest::newRow("a part whose text is empty") << PartSpecs{{"e1", 16000, 1, 16, 8000},
                                                                 {"e2", 48000, 1, 16, 12000, 0, 2, 0},
                                                                 {"e3", 16000, 1, 16, 8000}};
        // Named against the order of the list, and part 1 the longest: the
        // list's order holds, not the names' nor any time.
        QTest::newRow("an order that is not time order") << PartSpecs{{"z3", 16000, 1, 16, 48000},
                                                                      {"a1", 16000, 1, 16, 8000},
                                                                      {"m2", 16000, 1, 16, 16000}};
    }

    void partsAreGluedInTheirOrder()
    {
        QFETCH(PartSpecs, parts);
        writeParts(parts);
        FakePerson person;
        GlueJob job(person);
        job.settings.widenCues = false;
        addParts(job, parts);
        QCOMPARE(job.partCount(), parts.size());
        QVERIFY(job.partStartsMs().empty());
        const QString joined = path(QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_') + ".wav");
        job.glue(joined);

        // Where each part starts, from what soxi measures of the recordings.
        QList<qint64> first, offsets;
        qint64 frame = 0;
        for (int k = 0; k < parts.size(); ++k) {
            const QString wav = path(parts[k].name + ".wav");
            QCOMPARE(soxi("-r", wav), qint64(parts[k].rate));
            first << frame;
            offsets << evenRound(frame / 16.0);
            frame += evenRound(double(soxi("-s", wav)) * 16000 / parts[k].rate);
            if (k + 1 < parts.size())
                frame += parts[k].gapMs * 16;
        }
        QCOMPARE(soxi("-s", joined), frame);
        QCOMPARE(job.joinedFrames(), frame);
        QCOMPARE(job.partStartsMs(), std::vector<std::int64_t>(offsets.begin(), offsets.end()));

        // Every word of part k, in the list's order, shifted by offset k exactly.
        const std::span<const WordRow> rows = job.wordRows(WordTable::Main);
        std::size_t r = 0;
        for (int k = 0; k < parts.size(); ++k) {
            QCOMPARE(job.partWordRows(k).size(), std::size_t(parts[k].words));
            for (int i = 0; i < parts[k].words; ++i, ++r) {
                QVERIFY(r < rows.size());
                QCOMPARE(rows[r].text, wordText(k, i));
                QCOMPARE(rows[r].start, wordStart(k, i) + offsets[k]);
                QCOMPARE(rows[r].end, wordEnd(k, i) + offsets[k]);
                QCOMPARE(rows[r].number, qint64(r + 1));
            }
        }
        QCOMPARE(rows.size(), r);

        // The log names each part with its frame and offset.
        for (int k = 0; k < parts.size(); ++k)
            QVERIFY2(std::any_of(person.logged.begin(), person.logged.end(), [&](const QString &line) {
                         return line.startsWith(QStringLiteral("Part %1 starts at frame %2: time to add is %3ms")
                                                    .arg(k + 1).arg(first[k]).arg(offsets[k]));
                     }),
                     qPrintable(QStringLiteral("no log line of part %1").arg(k + 1)));

        job.save(path("out.srt"));
        const QStringList map = readTextFile(path(QFileInfo(joined).completeBaseName() + ".parts.tsv"));
        QCOMPARE(map.size(), parts.size() + 1);
        QCOMPARE(map[0], QStringLiteral("part\twords\ttext\trecording\tfirst_frame\tstart_ms\tend_ms\tgap_ms"));
        for (int k = 0; k < parts.size(); ++k) {
            const QStringList f = map[k + 1].split(u'\t');
            QCOMPARE(f.size(), 8);
            QCOMPARE(f[0], QString::number(k + 1));
            QCOMPARE(f[1], wordFileOf(parts[k]));
            QCOMPARE(f[2], path(parts[k].name + ".txt"));
            QCOMPARE(f[3], path(parts[k].name + ".wav"));
            QCOMPARE(f[4].toLongLong(), first[k]);
            QCOMPARE(f[5].toLongLong(), offsets[k]);
            QCOMPARE(f[7].toLongLong(), k + 1 < parts.size() ? parts[k].gapMs : 0);
            // A part's frames in the joined file: what soxi measures, at 16 kHz.
            const qint64 end = k + 1 < parts.size() ? first[k + 1] - parts[k].gapMs * 16 : frame;
            QCOMPARE(end - first[k],
                     evenRound(double(soxi("-s", path(parts[k].name + ".wav"))) * 16000 / parts[k].rate));
            QCOMPARE(f[6].toLongLong(), evenRound(end / 16.0));
        }
        QCOMPARE(map.last().split(u'\t')[6].toLongLong(), evenRound(soxi("-s", joined) / 16.0));

        // The transcript marks each part's start, part 1 included, in order.
        QStringList marks;
        for (const QString &line : job.transcriptLines())
            if (line.startsWith(u"[Part "))
                marks << line;
        QStringList expected;
        for (int k = 0; k < parts.size(); ++k)
            expected << QStringLiteral("[Part %1, %2]").arg(k + 1).arg(clock(offsets[k]));
        QCOMPARE(marks, expected);
    }

    void theGapIsSilence()
    {
        const std::vector<qint16> loud(160, 1000);
        writeBytes(path("s1.wav"), wav16k(loud));
        writeBytes(path("s2.wav"), wav16k(loud));
        writeLines(path("s.txt"), {"x"});
        FakePerson person;
        GlueJob job(person);
        job.addPart(PartFiles{QString(), path("s.txt"), path("s1.wav")}, 3);
        job.addPart(PartFiles{QString(), path("s.txt"), path("s2.wav")});
        job.glue(path("s.wav"));
        const std::vector<qint16> samples = samplesAfter44(path("s.wav"));
        QCOMPARE(samples.size(), std::size_t(160 + 48 + 160));
        QVERIFY(std::all_of(samples.begin(), samples.begin() + 160, [](qint16 s) { return s == 1000; }));
        QVERIFY(std::all_of(samples.begin() + 160, samples.begin() + 208, [](qint16 s) { return s == 0; }));
        QVERIFY(std::all_of(samples.begin() + 208, samples.end(), [](qint16 s) { return s == 1000; }));
        QCOMPARE(job.partStartsMs(), (std::vector<std::int64_t>{0, 13}));
    }

    void aWordInTheGapIsBeyondRecordingOne()
    {
        // Part 1 is 1000 ms long and followed by 500 ms of silence; its last
        // word ends at 1200 ms, in the silence.
        writeSilentWav(path("q1.wav"), 16000, 1, 16, 16000);
        writeSilentWav(path("q2.wav"), 16000, 1, 16, 16000);
        writeLines(path("q1.ctm"), {"u\t1\t0.10\t0.40\tso.\t0.9\tSP_01 Anna", "u\t1\t0.90\t1.20\tgone.\t0.9\tSP_01 Anna"});
        FakePerson person;
        GlueJob job(person);
        job.addPart(PartFiles{path("q1.ctm"), QString(), path("q1.wav")}, 500);
        job.addPart(PartFiles{QString(), QString(), path("q2.wav")});
        job.glue(path("q.wav"));
        QVERIFY2(person.logged.contains("Warning: \"" + path("q1.ctm")
                                        + "\", line 2: the word ends at 1200 ms, after recording 1 ends (1000 ms); "
                                          "are the word file and the recording of the same part?"),
                 qPrintable(person.logged.join(u'\n')));
    }

    void aSecondGlueWarnsAsTheFirst_data()
    {
        QTest::addColumn<bool>("parts");
        QTest::newRow("two halves") << false;
        QTest::newRow("three parts") << true;
    }

    // Gluing again judges each part's words as read, not the joined list as
    // words of part 1.
    void aSecondGlueWarnsAsTheFirst()
    {
        QFETCH(bool, parts);
        writeParts({{"k1"}, {"k2"}, {"k3"}});
        FakePerson person;
        GlueJob job(person);
        if (parts) {
            addParts(job, {{"k1"}, {"k2"}, {"k3"}});
        } else {
            job.openWordFile(1, path("k1.ctm"));
            job.openWordFile(2, path("k2.ctm"));
            job.openRecording(1, path("k1.wav"));
            job.openRecording(2, path("k2.wav"));
        }
        job.glue(path("k.wav"));
        job.glue(path("k.wav"));
        const auto warnings = [&] {
            return std::count_if(person.logged.begin(), person.logged.end(),
                                 [](const QString &line) { return line.startsWith(u"Warning: "); });
        };
        QCOMPARE(warnings(), 0);
    }

    void twoHalvesGiveTheirOffsetAsPartStarts()
    {
        writeSilentWav(path("h1.wav"), 16000, 1, 16, 24);
        writeSilentWav(path("h2.wav"), 16000, 1, 16, 16);
        FakePerson person;
        GlueJob job(person);
        job.openRecording(1, path("h1.wav"));
        job.openRecording(2, path("h2.wav"));
        QVERIFY(job.partStartsMs().empty());
        job.glue(path("h.wav"));
        QCOMPARE(job.partStartsMs(), (std::vector<std::int64_t>{0, 2})); // 24 / 16 = 1.5 goes to 2
        QVERIFY(!job.gluesParts());
        job.save(path("h.srt"));
        // The classic glue writes no map and no marks.
        QVERIFY(!QFileInfo::exists(path("h.parts.tsv")));
        QVERIFY(std::none_of(job.transcriptLines().begin(), job.transcriptLines().end(),
                             [](const QString &line) { return line.startsWith(u"[Part "); }));
        QVERIFY(std::none_of(person.logged.begin(), person.logged.end(),
                             [](const QString &line) { return line.startsWith(u"Part "); }));
    }

    void glueChecksEveryPart_data()
    {
        QTest::addColumn<QString>("joined");
        QTest::addColumn<QString>("message");
        QTest::newRow("joined is part 3's word file")
            << "c3.ctm" << "Glue would overwrite the opened file \"" + path("c3.ctm") + "\". Nothing was glued.";
        QTest::newRow("joined is part 3's recording")
            << "c3.wav" << "Glue would overwrite the opened file \"" + path("c3.wav") + "\". Nothing was glued.";
    }

    void glueChecksEveryPart()
    {
        QFETCH(QString, joined);
        QFETCH(QString, message);
        writeParts({{"c1"}, {"c2"}, {"c3"}});
        const QByteArray before = readBytes(path(joined));
        FakePerson person;
        GlueJob job(person);
        addParts(job, {{"c1"}, {"c2"}, {"c3"}});
        QCOMPARE(errorMessage([&] { job.glue(path(joined)); }), message);
        QCOMPARE(readBytes(path(joined)), before);
        QVERIFY(!job.isGlued());
    }

    void glueNeedsEveryRecording()
    {
        writeParts({{"r1"}, {"r2"}, {"r3"}});
        FakePerson person;
        GlueJob job(person);
        job.addPart(PartFiles{path("r1.ctm"), path("r1.txt"), path("r1.wav")});
        QCOMPARE(errorMessage([&] { job.checkReadyToGlue(); }), QStringLiteral("Add at least two parts before Glue."));
        QCOMPARE(errorMessage([&] { job.glue(path("r.wav")); }), QStringLiteral("Add at least two parts before Glue."));
        job.addPart(PartFiles{path("r2.ctm"), path("r2.txt"), path("r2.wav")});
        job.addPart(PartFiles{path("r3.ctm"), path("r3.txt"), QString()});
        QCOMPARE(errorMessage([&] { job.checkReadyToGlue(); }),
                 QStringLiteral("Choose the recording of part 3 before Glue."));
        // Even a cancelled Glue says what is missing.
        QCOMPARE(errorMessage([&] { job.glue(QString()); }),
                 QStringLiteral("Choose the recording of part 3 before Glue."));
        QCOMPARE(errorMessage([&] { job.glue(path("r.wav")); }),
                 QStringLiteral("Choose the recording of part 3 before Glue."));
        QVERIFY(!QFileInfo::exists(path("r.wav"))); // refused before anything is written
        QVERIFY(!job.isGlued());
    }

    void saveNeverOverwritesAPartWithTheMap()
    {
        writeParts({{"m1"}, {"m2"}, {"m3"}});
        // Part 3's text is where the map of "joined.wav" would go.
        writeLines(path("joined.parts.tsv"), {"words of part 3"});
        FakePerson person;
        GlueJob job(person);
        addParts(job, {{"m1"}, {"m2"}});
        job.addPart(PartFiles{path("m3.ctm"), path("joined.parts.tsv"), path("m3.wav")});
        job.glue(path("joined.wav"));
        QCOMPARE(errorMessage([&] { job.save(path("joined.srt")); }),
                 "Save would overwrite the opened file \"" + path("joined.parts.tsv") + "\". Nothing was saved.");
        QCOMPARE(readTextFile(path("joined.parts.tsv")), QStringList{"words of part 3"});
        QVERIFY(!QFileInfo::exists(path("joined.srt")));
    }

    void removeAndMoveChangeTheOrder()
    {
        writeParts({{"o1"}, {"o2"}, {"o3"}, {"o4"}});
        FakePerson person;
        GlueJob job(person);
        addParts(job, {{"o1"}, {"o2"}, {"o3"}, {"o4"}});
        job.movePart(3, 0); // o4 first
        job.removePart(2);  // o2 goes
        job.movePart(0, 1); // o1, o4, o3
        QStringList order;
        for (int k = 0; k < job.partCount(); ++k)
            order << QFileInfo(job.partRow(k).files.recording).baseName();
        QCOMPARE(order, (QStringList{"o1", "o4", "o3"}));
        // The halves' views follow the parts that are now parts 1 and 2.
        QCOMPARE(job.text(TextView::Text2), (QStringList{"Line 1 of o4.", "Line 2 of o4."}));
        QCOMPARE(job.wordRows(WordTable::PartTwo)[0].text, wordText(3, 0));
        job.glue(path("o.wav"));
        QCOMPARE(job.text(TextView::Text1),
                 (QStringList{"Line 1 of o1.", "Line 2 of o1.", "Line 1 of o4.", "Line 2 of o4.", "Line 1 of o3.",
                              "Line 2 of o3."}));
        QCOMPARE(job.wordRows(WordTable::Main)[4].text, wordText(2, 0));
        QCOMPARE(job.wordRows(WordTable::Main)[4].start, wordStart(2, 0) + 2000);
    }

    void anEmptiedListGluesTheClassicWayAgain()
    {
        writeParts({{"x1"}, {"x2"}});
        FakePerson person;
        GlueJob job(person);
        addParts(job, {{"x1"}, {"x2"}});
        job.removePart(0);
        QVERIFY(job.gluesParts());
        QCOMPARE(QFileInfo(job.partRow(0).files.recording).fileName(), QStringLiteral("x2.wav"));
        job.removePart(0);
        QCOMPARE(job.partCount(), 0);
        QVERIFY(!job.gluesParts());
        QVERIFY(job.wordRows(WordTable::Main).empty());
        QVERIFY(job.text(TextView::Text1).isEmpty());
    }

    void editsOfALaterPartGoBackToIt()
    {
        writeParts({{"d1"}, {"d2"}, {"d3"}});
        FakePerson person;
        GlueJob job(person);
        addParts(job, {{"d1"}, {"d2"}, {"d3"}});
        job.glue(path("d.wav"));
        // Row 6 of the joined list is part 3's second word, 2000 ms in.
        job.setWordCell(WordTable::Main, 5, WordRow::Start, QStringLiteral("2500"));
        QCOMPARE(job.partWordRows(2)[1].start, 2500);
        job.setPartWordCell(2, 0, WordRow::Text, QStringLiteral("fixed"));
        // The joined text: an edit inside part 3's lines goes to part 3.
        QStringList joined = job.text(TextView::Text1);
        joined[4] = QStringLiteral("Changed line of d3.");
        job.setText(TextView::Text1, joined);
        QCOMPARE(job.partText(2), (QStringList{"Changed line of d3.", "Line 2 of d3."}));
        QCOMPARE(job.partText(1), (QStringList{"Line 1 of d2.", "Line 2 of d2."}));
        // A second Glue builds the result from the parts: the edits stay, shifted once.
        job.glue(path("d.wav"));
        QCOMPARE(job.wordRows(WordTable::Main)[4].text, QStringLiteral("fixed"));
        QCOMPARE(job.wordRows(WordTable::Main)[5].start, 2500);
        QCOMPARE(job.text(TextView::Text1)[4], QStringLiteral("Changed line of d3."));
    }

    void theStandalonePageHeadsEachPart()
    {
        writeParts({{"s1"}, {"s2"}, {"s3"}});
        FakePerson person;
        GlueJob job(person);
        job.settings.pageStyle = GlueSettings::PageStyle::Standalone;
        addParts(job, {{"s1"}, {"s2"}, {"s3"}});
        job.glue(path("s.wav"));
        job.save(path("s.srt"));
        const QString page = QString::fromUtf8(readBytes(path("s.html")));
        const qsizetype part2 = page.indexOf(u"<h2 class=\"part\">Part 2</h2>");
        const qsizetype part3 = page.indexOf(u"<h2 class=\"part\">Part 3</h2>");
        // Each heading stands right before the first word of its part.
        QVERIFY(part2 > 0 && part3 > part2);
        QVERIFY(page.indexOf(wordText(1, 0).chopped(1)) > part2);
        QVERIFY(page.indexOf(wordText(1, 1).chopped(1)) < part3);
        QVERIFY(page.indexOf(wordText(2, 0).chopped(1)) > part3);
    }

    void webVttNotesEachPart()
    {
        writeParts({{"v1"}, {"v2"}, {"v3", 16000, 1, 16, 16000, 0, 0}});
        FakePerson person;
        GlueJob job(person);
        job.settings.widenCues = false;
        addParts(job, {{"v1"}, {"v2"}, {"v3", 16000, 1, 16, 16000, 0, 0}});
        job.glue(path("v.wav"));
        job.saveWebVtt(path("v.vtt"));
        // Part 3 has no words: no cue starts at or after its start, so no note.
        QCOMPARE(readTextFile(path("v.vtt")),
                 (QStringList{"WEBVTT", "", "00:00:00.003 --> 00:00:00.053", "p1w1.", "",
                              "00:00:00.103 --> 00:00:00.153", "p1w2.", "", "NOTE Part 2", "",
                              "00:00:01.010 --> 00:00:01.060", "p2w1.", "", "00:00:01.110 --> 00:00:01.160", "p2w2.",
                              ""}));
    }
};

QTEST_GUILESS_MAIN(TstJobParts)
#include "tst_jobparts.moc"
