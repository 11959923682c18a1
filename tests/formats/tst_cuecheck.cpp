// The check of cues against a subtitle profile, rule by rule, and the
// profiles themselves: a person's own file and the gap in frames.
#include "base/error.h"
#include "support/files.h"
#include "support/timedwords.h"
#include "formats/cuecheck.h"

#include <QTest>

namespace {

// Cues written as "start-end text; ...", "|" between lines.
std::vector<Cue> cuesOf(const QString &written)
{
    std::vector<Cue> cues;
    for (TimedText &item : timedTexts(written))
        cues.push_back({static_cast<std::int32_t>(cues.size() + 1), item.start, item.end, std::move(item.text)});
    return cues;
}

// The problems as "cue kind value limit", one per line.
QString problemsOf(const CueCheck &check)
{
    QStringList lines;
    for (const CueProblem &p : check.problems)
        lines << QStringLiteral("%1 %2 %3 %4").arg(p.cue).arg(CueProblem::kindWord(p.kind)).arg(p.value).arg(p.limit);
    return lines.join(u'\n');
}

} // namespace

class TestCueCheck : public QObject
{
    Q_OBJECT

private slots:
    void eachRuleIsChecked_data();
    void eachRuleIsChecked();
    void gapInFramesFollowsTheFrameRate_data();
    void gapInFramesFollowsTheFrameRate();
    void ownProfileIsRead();
    void badProfileLinesAreRefused_data();
    void badProfileLinesAreRefused();
};

void TestCueCheck::eachRuleIsChecked_data()
{
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QString>("cues");
    QTest::addColumn<QString>("problems");

    const QString line42 = QString(42, u'a');
    QTest::newRow("42 characters on a line pass, 43 do not")
        << "streaming" << QStringLiteral("0-5000 %1|b; 6000-11000 %1a").arg(line42) << "2 line-length 43 42";
    QTest::newRow("a third line")
        << "streaming" << "0-5000 a|b|c" << "1 lines 3 2";
    QTest::newRow("tags and line breaks are not read")
        << "streaming" << QStringLiteral("0-5000 <i>%1</i>|{\\an8}b").arg(line42) << "";
    // 17 characters per second: 34 characters need 2000 ms.
    QTest::newRow("reading speed exactly at the limit passes")
        << "streaming" << QStringLiteral("0-2000 %1").arg(QString(34, u'x')) << "";
    QTest::newRow("reading speed above the limit")
        << "streaming" << QStringLiteral("0-1999 %1").arg(QString(34, u'x')) << "1 reading-speed 17.01 17";
    QTest::newRow("blanks are read, the line break is not")
        << "streaming" << "0-1000 aaaaaaaa|aaaaaaaa b" << "1 reading-speed 18 17";
    QTest::newRow("a cue shown for no time reads its characters in 1 ms")
        << "streaming-en" << "5000-5000 ab" << "1 reading-speed 2000 20\n1 too-short 0 833";
    QTest::newRow("shortest and longest time")
        << "teletext" << "0-999 a; 2000-3000 b; 4000-11000 c; 12000-19001 d" << "1 too-short 999 1000\n4 too-long 7001 7000";
    QTest::newRow("a gap of 2 frames passes, shorter and overlaps do not")
        << "streaming" << "0-1000 a; 1080-2000 b; 2079-3000 c; 2900-4000 d" << "2 gap 79 80\n3 gap -100 80";
    QTest::newRow("classic checks 45 per line and 95 per cue, no times")
        << "classic" << QStringLiteral("0-10 %1|%1x; 20-20 %1|%1").arg(QString(45, u'z'))
        << "1 line-length 46 45";
    QTest::newRow("a cue of 96 characters under classic")
        << "classic" << QStringLiteral("0-10 %1|%2").arg(QString(45, u'z'), QString(51, u'y'))
        << "1 line-length 51 45\n1 cue-length 96 95";
    QTest::newRow("no cues, no problems") << "captions32" << "" << "";
}

void TestCueCheck::eachRuleIsChecked()
{
    QFETCH(QString, profile);
    QFETCH(QString, cues);
    QFETCH(QString, problems);
    const std::vector<Cue> list = cuesOf(cues);
    const CueCheck check = checkCues(list, *findBuiltInProfile(profile), 25, CueMarkup::Srt, u'|');
    QCOMPARE(problemsOf(check), problems);
    QCOMPARE(check.cueCount, list.size());
}

void TestCueCheck::gapInFramesFollowsTheFrameRate_data()
{
    QTest::addColumn<double>("fps");
    QTest::addColumn<qint64>("gapMs");
    QTest::newRow("25 fps: 2 frames are 80 ms") << 25.0 << qint64(80);
    QTest::newRow("23.976 fps: 83.4 ms, so 84") << 23.976 << qint64(84);
    QTest::newRow("30 fps: 66.7 ms, so 67") << 30.0 << qint64(67);
    QTest::newRow("50 fps: 40 ms") << 50.0 << qint64(40);
}

void TestCueCheck::gapInFramesFollowsTheFrameRate()
{
    QFETCH(double, fps);
    QFETCH(qint64, gapMs);
    const SubtitleProfile &profile = *findBuiltInProfile(u"streaming");
    QCOMPARE(profile.minGapMs(fps), gapMs);
    // The check holds cues to the same gap: one ms less is a problem.
    const std::vector<Cue> cues = cuesOf(QStringLiteral("0-1000 a; %1-2100 b; %2-4000 c").arg(1000 + gapMs).arg(2099 + gapMs));
    QCOMPARE(problemsOf(checkCues(cues, profile, fps, CueMarkup::Srt, u'|')),
             QStringLiteral("2 gap %1 %2").arg(gapMs - 1).arg(gapMs));
}

void TestCueCheck::ownProfileIsRead()
{
    const SubtitleProfile p = parseSubtitleProfile(
        {"# our archive's rules", "name = archive", "chars-per-line = 40", "lines=3", "chars-per-second = 12.5",
         "min-duration-ms = 1200  # at least", "", "max-duration-ms = 6000", "gap-ms = 120"},
        "archive.profile");
    QCOMPARE(p.name, QStringLiteral("archive"));
    QCOMPARE(p.charsPerLine, 40);
    QCOMPARE(p.lines, 3);
    QCOMPARE(p.cueChars(), 120);
    QCOMPARE(p.charsPerSecond, 12.5);
    QCOMPARE(p.minDurationMs, 1200);
    QCOMPARE(p.maxDurationMs, 6000);
    QCOMPARE(p.minGapMs(25), qint64(120));
    QVERIFY(!p.classic);
    // A key left out sets no limit.
    const SubtitleProfile lines = parseSubtitleProfile({"chars-per-line = 30"}, "short.profile");
    QCOMPARE(problemsOf(checkCues(cuesOf("0-1 a; 1-2 b"), lines, 25, CueMarkup::Srt, u'|')), QString());
}

void TestCueCheck::badProfileLinesAreRefused_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("message");
    QTest::newRow("no equals sign") << QStringList{"name = a", "lines 2"}
                                    << "\"p.profile\", line 2: 'lines 2' is no setting; write it as key = value";
    QTest::newRow("unknown key") << QStringList{"colour = red"}
                                 << "\"p.profile\", line 1: 'colour' is no key of a subtitle profile; the keys are "
                                    "name, chars-per-line, lines, chars-per-cue, chars-per-second, min-duration-ms, "
                                    "max-duration-ms, gap-frames and gap-ms";
    QTest::newRow("a fraction of a line") << QStringList{"lines = 1.5"}
                                          << "\"p.profile\", line 1: lines must be a whole number of 1 or more, not '1.5'";
    QTest::newRow("no lines at all") << QStringList{"lines = 0"}
                                     << "\"p.profile\", line 1: lines must be a whole number of 1 or more, not '0'";
    QTest::newRow("a speed that is no number") << QStringList{"chars-per-second = fast"}
                                               << "\"p.profile\", line 1: chars-per-second must be a number from 0 "
                                                  "to 1000, not 'fast'";
    QTest::newRow("longest shorter than shortest")
        << QStringList{"min-duration-ms = 2000", "max-duration-ms = 1000"}
        << "\"p.profile\": max-duration-ms is shorter than min-duration-ms";
}

void TestCueCheck::badProfileLinesAreRefused()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, message);
    QCOMPARE(errorMessage([&] { parseSubtitleProfile(lines, "p.profile"); }), message);
}

QTEST_GUILESS_MAIN(TestCueCheck)
#include "tst_cuecheck.moc"
