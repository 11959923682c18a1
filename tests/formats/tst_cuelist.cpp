#include "base/numbers.h"
#include "base/text.h"
#include "formats/cuelist.h"

#include <QRandomGenerator>
#include <QRegularExpression>

#include <limits>

#include <QTest>

namespace {

struct C
{
    qint64 start;
    qint64 end;
    QString text;
};

// A cue list holding the given cues, numbered from 1.
void fill(CueList &srt, const QList<C> &cues)
{
    srt.cues.resize(static_cast<size_t>(cues.size()));
    for (qsizetype i = 0; i < cues.size(); ++i)
        srt.cues[static_cast<size_t>(i)] = {static_cast<std::int32_t>(i + 1), cues[i].start, cues[i].end, cues[i].text};
}

// The cues as "number start-end text", one per cue, so that a failure shows all.
QStringList shown(const CueList &srt)
{
    QStringList out;
    for (const Cue &c : srt.cues)
        out << QStringLiteral("%1 %2-%3 %4").arg(c.number).arg(c.start).arg(c.end).arg(c.text);
    return out;
}

QString words(int length)
{
    // Words of four letters and a blank: "abcd abcd abc...", cut to the length.
    QString s;
    while (s.size() < length)
        s += QStringLiteral("abcd ");
    s.truncate(length);
    return s;
}

} // namespace

Q_DECLARE_METATYPE(C)
Q_DECLARE_METATYPE(CueMarkup)

class TestCueList : public QObject
{
    Q_OBJECT
private slots:
    void limitsHaveTheirDefaults();

    void resolveOverlapsMeetsInTheMiddle_data();
    void resolveOverlapsMeetsInTheMiddle();
    void resolveOverlapsLeavesNoNegativeCue_data();
    void resolveOverlapsLeavesNoNegativeCue();
    void tagsAreNeitherCutNorCounted_data();
    void tagsAreNeitherCutNorCounted();
    void onlyMarkupIsLeftUncounted_data();
    void onlyMarkupIsLeftUncounted();
    void splitClosesAndReopensTags_data();
    void splitClosesAndReopensTags();
    void dropEmptyCuesKeepsTheOthers();
    void srtAndWebVttOfTheExample();
    void renderingOfSpecialTexts_data();
    void renderingOfSpecialTexts();
    void renderingWithoutCues();
    void renderingTwiceGivesTheSame();
    void renderingNumbersByPlace();

    void findBlankFindsTheNearestBlank_data();
    void findBlankFindsTheNearestBlank();
    void breakLinePutsOneMarker_data();
    void breakLinePutsOneMarker();

    void shapeCleans_data();
    void shapeCleans();
    void shapeSplitsInTwoParts();
    void shapeSplitsInThreeParts();
    void shapeSplitLimits_data();
    void shapeSplitLimits();
    void partsStayWithinTheirCue_data();
    void partsStayWithinTheirCue();
    void shapeLosesNoCharacterWithoutBlank();
    void shapeFollowsTheLiteralMethod();

    void widenExample();
    void widenSharesTheGap_data();
    void widenSharesTheGap();
    void widenStartsNotBeforeZero_data();
    void widenStartsNotBeforeZero();
    void widenWithoutTimeLeavesPairs();
    void timesAtTheEdgeDoNotOverflow_data();
    void timesAtTheEdgeDoNotOverflow();
};

void TestCueList::limitsHaveTheirDefaults()
{
    CueList srt;
    QCOMPARE(srt.maxCueLength, 95.0f);
    QCOMPARE(srt.maxLineLength, 45.0f);
    QVERIFY(srt.cues.empty());
}

void TestCueList::resolveOverlapsMeetsInTheMiddle_data()
{
    QTest::addColumn<qint64>("end");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("newEnd");
    QTest::addColumn<qint64>("newStart");
    QTest::newRow("half rounds down to even") << qint64(5003) << qint64(4998) << qint64(5000) << qint64(5000);
    QTest::newRow("half rounds up to even") << qint64(5001) << qint64(4998) << qint64(5000) << qint64(5000);
    QTest::newRow("whole middle") << qint64(5004) << qint64(4998) << qint64(5001) << qint64(5001);
    QTest::newRow("touching cues stay") << qint64(5000) << qint64(5000) << qint64(5000) << qint64(5000);
    QTest::newRow("a gap stays") << qint64(4000) << qint64(5000) << qint64(4000) << qint64(5000);
    QTest::newRow("negative half to even") << qint64(-1) << qint64(-4) << qint64(-2) << qint64(-2);
    QTest::newRow("near the 64-bit limit")
        << qint64(9223372036854775807) << qint64(9223372036854775804)
        << qint64(9223372036854775806) << qint64(9223372036854775806);
}

void TestCueList::resolveOverlapsMeetsInTheMiddle()
{
    QFETCH(qint64, end);
    QFETCH(qint64, start);
    QFETCH(qint64, newEnd);
    QFETCH(qint64, newStart);
    CueList srt;
    // The outer ends lie far out, so only the middle decides.
    fill(srt, {{std::numeric_limits<qint64>::min(), end, "a"}, {start, 9223372036854775807, "b"}});
    srt.resolveOverlaps();
    QCOMPARE(qint64(srt.cues[0].end), newEnd);
    QCOMPARE(qint64(srt.cues[1].start), newStart);
}

void TestCueList::resolveOverlapsLeavesNoNegativeCue_data()
{
    QTest::addColumn<QList<C>>("cues");
    QTest::addColumn<QStringList>("resolved");
    QTest::newRow("a cue inside an earlier long one")
        << QList<C>{{0, 10000, "long"}, {2000, 3000, "inside"}, {4000, 5000, "after"}}
        << QStringList({"1 0-3000 long", "2 3000-3000 inside", "3 4000-5000 after"});
    // A later cue wholly before the earlier one's start shares no time with
    // it: it gives way, and the earlier one keeps its time.
    QTest::newRow("the later cue lies before the earlier one")
        << QList<C>{{5000, 6000, "b"}, {1000, 2000, "a"}}
        << QStringList({"1 5000-6000 b", "2 6000-6000 a"});
    QTest::newRow("the later cue ends where the earlier one starts")
        << QList<C>{{5000, 6000, "b"}, {4000, 5000, "a"}}
        << QStringList({"1 5000-6000 b", "2 6000-6000 a"});
    // The middle of the second pair lies before the start the first pair gave.
    QTest::newRow("two cues inside an earlier long one")
        << QList<C>{{0, 10000, "long"}, {2000, 3000, "b"}, {2500, 2600, "c"}, {4000, 5000, "after"}}
        << QStringList({"1 0-3000 long", "2 3000-3000 b", "3 3000-3000 c", "4 4000-5000 after"});
    QTest::newRow("a cue that ends before it starts ends where it starts")
        << QList<C>{{1000, 2000, "a"}, {3000, 2500, "b"}, {4000, 5000, "c"}}
        << QStringList({"1 1000-2000 a", "2 3000-3000 b", "3 4000-5000 c"});
    QTest::newRow("the middle lies before the earlier start")
        << QList<C>{{4000, 4200, "a"}, {0, 9000, "b"}}
        << QStringList({"1 4000-4000 a", "2 4000-9000 b"});
    QTest::newRow("an ordinary overlap meets in the middle")
        << QList<C>{{1000, 3000, "a"}, {2000, 4000, "b"}}
        << QStringList({"1 1000-2500 a", "2 2500-4000 b"});
}

void TestCueList::resolveOverlapsLeavesNoNegativeCue()
{
    QFETCH(QList<C>, cues);
    QFETCH(QStringList, resolved);
    CueList srt;
    fill(srt, cues);
    srt.resolveOverlaps();
    QCOMPARE(shown(srt), resolved);
    for (size_t i = 0; i < srt.cues.size(); ++i) {
        QVERIFY(srt.cues[i].start <= srt.cues[i].end);
        QVERIFY(i + 1 == srt.cues.size() || srt.cues[i].end <= srt.cues[i + 1].start);
    }
}

void TestCueList::tagsAreNeitherCutNorCounted_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("shaped");
    // 40 shown characters: no break, however long the tags.
    QTest::newRow("tags do not count toward the line length")
        << "<font color=\"#00ff00\">" + words(40) + "</font>"
        << QStringList({"1 0-10000 <font color=\"#00ff00\">" + words(40) + "</font>"});
    QTest::newRow("the break is not put in the blank of a tag")
        << "<font color=\"red\">abcdefghijklmnopqrstuvwxyz abcdefghijklmnopqrstuvwxyz</font>"
        << QStringList({"1 0-10000 <font color=\"red\">abcdefghijklmnopqrstuvwxyz|abcdefghijklmnopqrstuvwxyz</font>"});
    QTest::newRow("a text without blanks breaks beside the tag")
        << "{\\an8}" + QString(50, u'x')
        << QStringList({"1 0-10000 {\\an8}" + QString(24, u'x') + "|" + QString(26, u'x')});
    QTest::newRow("italics over a split")
        << "<i>" + words(59) + "</i> <b>" + words(59) + "</b>"
        << QStringList({"1 0-5000 <i>abcd abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd abcd</i>",
                        "2 5000-10000 <b>abcd abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd abcd</b>"});
}

void TestCueList::tagsAreNeitherCutNorCounted()
{
    QFETCH(QString, text);
    QFETCH(QStringList, shaped);
    CueList srt;
    fill(srt, {{0, 10000, text}});
    srt.shape();
    QCOMPARE(shown(srt), shaped);
    QCOMPARE(shownLength(text), shownLength(QString(text).remove(QRegularExpression("<[^>]*>|\\{\\\\[^}]*\\}"))));
}

void TestCueList::onlyMarkupIsLeftUncounted_data()
{
    QTest::addColumn<CueMarkup>("markup");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("length");
    const CueMarkup srt = CueMarkup::Srt;
    const CueMarkup vtt = CueMarkup::WebVtt;
    QTest::newRow("srt: formatting tags in any case") << srt << "<I>a</I><b >b</B><U>c</u><s>d</s>" << 4;
    QTest::newRow("srt: font with and without attributes")
        << srt << "<font color=\"red\">a</font><FONT>b</Font>" << 2;
    QTest::newRow("srt: an override") << srt << "{\\an8}{\\i1}a" << 1;
    QTest::newRow("srt: an aligner's words are text") << srt << "<unk> <sil> <noise>" << 19;
    QTest::newRow("srt: WebVTT tags are text") << srt << "<c.yellow>a</c>" << 15;
    QTest::newRow("srt: a tag that is never closed is text") << srt << "<i a" << 4;
    QTest::newRow("srt: tag-like names are text") << srt << "<is><fonts><bold>" << 17;
    QTest::newRow("srt: a hard space and line breaks are one character")
        << srt << "a\\hb\\Nc\\nd" << 7;
    QTest::newRow("srt: an entity is text") << srt << "&amp;" << 5;
    QTest::newRow("webvtt: classes, voices, languages")
        << vtt << "<v.loud Bob><c.yellow.bg_blue>a</c></v><lang en-GB>b</lang>" << 2;
    QTest::newRow("webvtt: ruby") << vtt << "<ruby>\u6F22<rt>kan</rt></ruby>" << 4;
    QTest::newRow("webvtt: timestamps") << vtt << "a <00:05:04.199>b <05:05.000>c" << 5;
    QTest::newRow("webvtt: every tag is a tag, as its readers take it") << vtt << "<unk>a" << 1;
    QTest::newRow("webvtt: an entity is one character") << vtt << "a &amp; b&nbsp;&#39;" << 7;
    QTest::newRow("webvtt: an override and a hard space are text") << vtt << "{\\an8}\\h" << 8;
}

void TestCueList::onlyMarkupIsLeftUncounted()
{
    QFETCH(CueMarkup, markup);
    QFETCH(QString, text);
    QFETCH(int, length);
    QCOMPARE(shownLength(text, markup), qsizetype(length));
}

void TestCueList::splitClosesAndReopensTags_data()
{
    QTest::addColumn<CueMarkup>("markup");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("shaped");
    // words(149) + "d": 150 characters, cut at the blank after the 75th.
    const QString part1 = "abcd abcd abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd abcd abcd abcd";
    const QString part2 = "abcd abcd abcd abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd abcd abcdd";
    const QString text = words(149) + "d";
    QTest::newRow("srt: italics over the cut")
        << CueMarkup::Srt << "<i>" + text + "</i>"
        << QStringList({"1 0-5000 <i>" + part1 + "</i>", "2 5000-10000 <i>" + part2 + "</i>"});
    QTest::newRow("srt: nested tags after an override")
        << CueMarkup::Srt << "{\\an8}<font color=\"red\"><b>" + text + "</b></font>"
        << QStringList({"1 0-5000 {\\an8}<font color=\"red\"><b>" + part1 + "</b></font>",
                        "2 5000-10000 {\\an8}<font color=\"red\"><b>" + part2 + "</b></font>"});
    QTest::newRow("srt: an override in the text stays where it is")
        << CueMarkup::Srt << words(80) + "{\\i1}" + words(69) + "d"
        << QStringList({"1 0-5000 " + part1, "2 5000-10000 abcd {\\i1}abcd abcd abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd abcd abcdd"});
    // A voice is often left open to the cue's end; the last part leaves it so.
    QTest::newRow("webvtt: a voice and a class")
        << CueMarkup::WebVtt << "<v Bob><c.yellow>" + text + "</c>"
        << QStringList({"1 0-5000 <v Bob><c.yellow>" + part1 + "</c></v>", "2 5000-10000 <v Bob><c.yellow>" + part2 + "</c>"});
    // Of the tags around the blank at the cut, closers end the part before
    // it and the others start the next.
    QTest::newRow("webvtt: a timestamp at the cut starts the next part")
        << CueMarkup::WebVtt << "<i>" + words(74) + "</i> <00:00:05.000><b>" + words(74) + "d</b>"
        << QStringList({"1 0-5000 <i>" + part1 + "</i>", "2 5000-10000 <00:00:05.000><b>" + part2 + "</b>"});
    QTest::newRow("srt: no blank: the cut between characters in italics")
        << CueMarkup::Srt << "<i>" + QString(100, u'x') + "</i>"
        << QStringList({"1 0-5000 <i>" + QString(24, u'x') + "|" + QString(26, u'x') + "</i>",
                        "2 5000-10000 <i>" + QString(24, u'x') + "|" + QString(26, u'x') + "</i>"});
    QTest::newRow("srt: no blank: a hard space is never cut")
        << CueMarkup::Srt << "{\\an1}" + QStringLiteral("\\h").repeated(100)
        << QStringList({"1 0-5000 {\\an1}" + QStringLiteral("\\h").repeated(24) + "|" + QStringLiteral("\\h").repeated(26),
                        "2 5000-10000 {\\an1}" + QStringLiteral("\\h").repeated(24) + "|" + QStringLiteral("\\h").repeated(26)});
}

void TestCueList::splitClosesAndReopensTags()
{
    QFETCH(CueMarkup, markup);
    QFETCH(QString, text);
    QFETCH(QStringList, shaped);
    CueList srt;
    srt.markup = markup;
    fill(srt, {{0, 10000, text}});
    srt.shape();
    QCOMPARE(shown(srt), shaped);
}

void TestCueList::dropEmptyCuesKeepsTheOthers()
{
    CueList srt;
    fill(srt, {{0, 1000, ""}, {1000, 2000, "a"}, {2000, 3000, ""}, {3000, 4000, "b"}});
    srt.dropEmptyCues();
    QCOMPARE(shown(srt), QStringList({"2 1000-2000 a", "4 3000-4000 b"}));
}

void TestCueList::srtAndWebVttOfTheExample()
{
    const QList<C> cues = {
        {10000, 16000, "so we moved to the city in the spring|of that year because my father had"},
        {15990, 22000, "found work at the harbour"}};
    CueList srt;
    fill(srt, cues);
    QCOMPARE(srt.srtLines(), QStringList({"1", "00:00:10,000 --> 00:00:15,995",
                                        "so we moved to the city in the spring",
                                        "of that year because my father had", "", "2",
                                        "00:00:15,995 --> 00:00:22,000", "found work at the harbour", ""}));
    // The repair stays in the cues.
    QCOMPARE(qint64(srt.cues[0].end), qint64(15995));
    QCOMPARE(qint64(srt.cues[1].start), qint64(15995));

    CueList vtt;
    fill(vtt, cues);
    QCOMPARE(vtt.webVttLines(), QStringList({"WEBVTT", "", "00:00:10.000 --> 00:00:15.995",
                                        "so we moved to the city in the spring",
                                        "of that year because my father had", "",
                                        "00:00:15.995 --> 00:00:22.000", "found work at the harbour", ""}));
}

void TestCueList::renderingOfSpecialTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    // The same SRT text written as WebVTT: what SRT shows as characters
    // escaped, so a browser shows it too; empty: as in SRT.
    QTest::addColumn<QStringList>("webVtt");
    QTest::newRow("empty text") << "" << QStringList({""}) << QStringList();
    QTest::newRow("three lines") << "a|b|c" << QStringList({"a", "b", "c"}) << QStringList();
    QTest::newRow("marker first") << "|a" << QStringList({"", "a"}) << QStringList();
    QTest::newRow("marker last") << "a|" << QStringList({"a", ""}) << QStringList();
    QTest::newRow("an aligner's token") << "I was born in <unk>.|<sil>" << QStringList({"I was born in <unk>.", "<sil>"})
                                        << QStringList({"I was born in &lt;unk&gt;.", "&lt;sil&gt;"});
    QTest::newRow("an ampersand in italics") << "<i>Tom & Jerry</i>" << QStringList({"<i>Tom & Jerry</i>"})
                                             << QStringList({"<i>Tom &amp; Jerry</i>"});
    QTest::newRow("a hard space and a lone >") << "1\\h>\\h0" << QStringList({"1\\h>\\h0"})
                                               << QStringList({"1&nbsp;&gt;&nbsp;0"});
}

void TestCueList::renderingOfSpecialTexts()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, webVtt);
    CueList srt;
    fill(srt, {{1000, 2000, text}});
    QCOMPARE(srt.srtLines(), QStringList({"1", "00:00:01,000 --> 00:00:02,000"}) + lines + QStringList({""}));
    QCOMPARE(srt.webVttLines(), QStringList({"WEBVTT", "", "00:00:01.000 --> 00:00:02.000"})
                                    + (webVtt.isEmpty() ? lines : webVtt) + QStringList({""}));
    // A WebVTT text is written as it is.
    CueList vtt;
    vtt.markup = CueMarkup::WebVtt;
    fill(vtt, {{1000, 2000, text}});
    QCOMPARE(vtt.webVttLines(), QStringList({"WEBVTT", "", "00:00:01.000 --> 00:00:02.000"}) + lines + QStringList({""}));
}

void TestCueList::renderingWithoutCues()
{
    CueList srt;
    QCOMPARE(srt.srtLines(), QStringList());
    QCOMPARE(srt.webVttLines(), QStringList({"WEBVTT", ""}));
}

void TestCueList::renderingTwiceGivesTheSame()
{
    CueList srt;
    fill(srt, {{0, 5003, "a"}, {4998, 6000, "b"}, {5500, 7000, "c"}});
    const QStringList first = srt.srtLines();
    QCOMPARE(srt.srtLines(), first);
    QCOMPARE(shown(srt), QStringList({"1 0-5000 a", "2 5000-5750 b", "3 5750-7000 c"}));
}

void TestCueList::renderingNumbersByPlace()
{
    CueList srt;
    fill(srt, {{0, 1000, "a"}, {1000, 2000, "b"}});
    srt.cues[0].number = 7;
    srt.cues[1].number = 9;
    QCOMPARE(srt.srtLines(), QStringList({"1", "00:00:00,000 --> 00:00:01,000", "a", "",
                                        "2", "00:00:01,000 --> 00:00:02,000", "b", ""}));
    QCOMPARE(qint64(srt.cues[1].end), qint64(2000));
}

void TestCueList::findBlankFindsTheNearestBlank_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("p");
    QTest::addColumn<int>("q");
    QTest::newRow("on a blank") << "ab cd" << 3 << 3;
    QTest::newRow("left is nearer") << "ab cdefg h" << 5 << 3;
    QTest::newRow("right is nearer") << "abc d efgh" << 3 << 4;
    QTest::newRow("tie goes right") << "a b c" << 3 << 4;
    QTest::newRow("no blank gives p") << "abcdef" << 3 << 3;
    QTest::newRow("p after the end") << "abc d" << 10 << 4;
    QTest::newRow("p before the start") << "ab c" << -5 << 3;
    QTest::newRow("empty text") << "" << 0 << 0;
    QTest::newRow("tab is no blank") << "ab\tc d" << 3 << 5;
}

void TestCueList::findBlankFindsTheNearestBlank()
{
    QFETCH(QString, text);
    QFETCH(int, p);
    QFETCH(int, q);
    QCOMPARE(int(CueList::findBlank(text, p)), q);
}

void TestCueList::breakLinePutsOneMarker_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("45 characters stay") << words(44) + "d" << words(44) + "d";
    const QString fortySix = QString(22, u'a') + u' ' + QString(23, u'b');
    QTest::newRow("46 characters break") << fortySix << QString(22, u'a') + u'|' + QString(23, u'b');
    QTest::newRow("tie goes right")
        << "we sat by the old stove and my aunt told long stories"
        << "we sat by the old stove and|my aunt told long stories";
    QTest::newRow("odd length rounds half to even")
        << "found work at the harbour and we all thought that life would be easier there."
        << "found work at the harbour and we all|thought that life would be easier there.";
    QTest::newRow("no blank: marker inserted before the middle")
        << QString(24, u'x') + QString(26, u'y') << QString(24, u'x') + u'|' + QString(26, u'y');
    QTest::newRow("one marker only") << words(200).replace(u' ', u'_') + " end"
                                     << words(200).replace(u' ', u'_') + "|end";
    // Six emoji are twelve code units: 48 in all, so the text breaks at 23.
    const QString emoji = QString::fromUtf8("\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600 ");
    QTest::newRow("surrogate pairs count twice")
        << emoji + words(35) << emoji + words(35).replace(9, 1, u'|');
    // 24 emoji without a blank: the middle, position 24, is the second half
    // of the twelfth; the marker goes behind that emoji, not into it.
    const QString twelve = QString::fromUtf8("\U0001F600").repeated(12);
    QTest::newRow("no blank: a surrogate pair is not cut")
        << twelve + twelve << twelve + u'|' + twelve;
}

void TestCueList::breakLinePutsOneMarker()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    CueList srt;
    QCOMPARE(srt.breakLine(text), expected);
}

void TestCueList::shapeCleans_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("remark first") << "[laughs] yes" << "yes";
    QTest::newRow("two remarks") << "yes [laughs] no [coughs]" << "yes no";
    QTest::newRow("] before [") << "a ] b [c] d" << "a ] b [c] d";
    QTest::newRow("unclosed") << "[unclosed" << "[unclosed";
    QTest::newRow("only a remark") << "[empty cue]" << "";
    QTest::newRow("nested to the first ]") << "[a [b] c] d" << "c] d";
    QTest::newRow("remark between words") << "yes[laughs]no" << "yes no";
    QTest::newRow("line feed") << "one\ntwo" << "one two";
    QTest::newRow("line feed beside blanks") << "one \n two" << "one two";
    QTest::newRow("double blank") << "a  b" << "a b";
    QTest::newRow("long run of blanks") << "a       b" << "a b";
    QTest::newRow("carriage return stays") << "a\rb" << "a\rb";
    QTest::newRow("trimmed") << " \tword\t " << "word";
}

void TestCueList::shapeCleans()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    CueList srt;
    fill(srt, {{0, 1000, text}});
    srt.shape();
    QCOMPARE(srt.cues[0].text, expected);
}

void TestCueList::shapeSplitsInTwoParts()
{
    const QString text = "so we moved to the city in the spring of that year because my father had "
                          "found work at the harbour and we all thought that life would be easier there.";
    QCOMPARE(text.size(), 150);
    CueList srt;
    fill(srt, {{10000, 22000, text}});
    srt.shape();
    QCOMPARE(shown(srt),
             QStringList({"1 10000-16000 so we moved to the city in the spring|of that year because my father had",
                          "2 16000-22000 found work at the harbour and we all|thought that life would be easier there."}));
    QCOMPARE(srt.cues.size(), size_t(2));
}

void TestCueList::shapeSplitsInThreeParts()
{
    const QString text = "after the war the family stayed in the old house near the river where my grandmother "
                          "kept chickens and grew beans, and every summer all the cousins came from the south to "
                          "help us with the harvest.";
    QCOMPARE(text.size(), 196);
    CueList srt;
    fill(srt, {{0, 10000, text}});
    srt.shape();
    QCOMPARE(shown(srt),
             QStringList({"1 0-3333 after the war the family stayed|in the old house near the river",
                          "2 3333-6666 where my grandmother kept chickens|and grew beans, and every summer",
                          "3 6667-10000 all the cousins came from the|south to help us with the harvest."}));
}

void TestCueList::shapeSplitLimits_data()
{
    QTest::addColumn<QList<C>>("cues");
    QTest::addColumn<QStringList>("expected");
    // words(n - 1) + "d": n characters with blanks at 5, 10, 15 ... and none at the end.
    const QString part1 = "abcd abcd abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd abcd abcd abcd";
    const QString part2 = "abcd abcd abcd abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd abcd abcdd";
    QTest::newRow("95 characters: not split, one marker")
        << QList<C>{{0, 1000, words(94) + "d"}}
        << QStringList({"1 0-1000 abcd abcd abcd abcd abcd abcd abcd abcd abcd abcd|"
                        "abcd abcd abcd abcd abcd abcd abcd abcd abcdd"});
    QTest::newRow("96 characters: two parts")
        << QList<C>{{0, 1000, words(94) + "dd"}}
        << QStringList({"1 0-500 abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd",
                        "2 500-1000 abcd abcd abcd abcd abcd|abcd abcd abcd abcddd"});
    QTest::newRow("190 characters: three parts")
        << QList<C>{{0, 3000, words(189) + "d"}}
        << QStringList({"1 0-1000 abcd abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd abcd abcd",
                        "2 1000-2000 abcd abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd abcd",
                        "3 2000-3000 abcd abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd abcd abcdd"});
    QTest::newRow("zero duration: parts at the cue's time")
        << QList<C>{{5000, 5000, words(149) + "d"}}
        << QStringList({"1 5000-5000 " + part1, "2 5000-5000 " + part2});
    QTest::newRow("1003 ms: half rounds to even, parts overlap")
        << QList<C>{{1000, 2003, words(149) + "d"}}
        << QStringList({"1 1000-1502 " + part1, "2 1501-2003 " + part2});
    QTest::newRow("renumbered around a split cue")
        << QList<C>{{0, 100, "first"}, {100, 300, words(149) + "d"}, {300, 400, "[laughs] last"}}
        << QStringList({"1 0-100 first", "2 100-200 " + part1, "3 200-300 " + part2, "4 300-400 last"});
    // 97 characters of two code units each (194 units), no blank: three parts
    // of 33, 32 and 32 characters. The first cut, after 65 units, would fall
    // inside a character and moves behind it; so does the marker of the two
    // later parts (position 32 of 64 units).
    const auto characters = [](int n) { return QString::fromUtf8("\U00020000").repeated(n); };
    QTest::newRow("no blank: surrogate pairs stay whole")
        << QList<C>{{0, 3000, characters(97)}}
        << QStringList({"1 0-1000 " + characters(16) + "|" + characters(17), "2 1000-2000 " + characters(16) + "|" + characters(16),
                        "3 2000-3000 " + characters(16) + "|" + characters(16)});
    QTest::newRow("cleaning comes before the length")
        << QList<C>{{0, 1000, "[" + words(100) + "] short"}} << QStringList({"1 0-1000 short"});
}

void TestCueList::shapeSplitLimits()
{
    QFETCH(QList<C>, cues);
    QFETCH(QStringList, expected);
    CueList srt;
    fill(srt, cues);
    srt.shape();
    QCOMPARE(shown(srt), expected);
}

void TestCueList::partsStayWithinTheirCue_data()
{
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("end");
    QTest::addColumn<int>("length");
    QTest::addColumn<QStringList>("times");
    const auto part = [](qint64 from, qint64 to) { return QStringLiteral("%1-%2").arg(from).arg(to); };
    // 11 parts of 17 ms: 1.55 rounds to 2, and ten parts of 2 ms would run 3
    // ms past the cue's end, into the cues after it. Parts of 1 ms do not.
    QStringList eleven;
    for (int i = 0; i < 10; ++i)
        eleven << part(1000 + i, 1001 + i);
    eleven << part(1016, 1017);
    QTest::newRow("a long text in a short cue") << qint64(1000) << qint64(1017) << 950 << eleven;
    QTest::newRow("a cue that ends before it starts")
        << qint64(58500) << qint64(56500) << 150 << QStringList({part(58500, 58500), part(58500, 58500)});
    QTest::newRow("1003 ms: the parts overlap by 1 ms, in order")
        << qint64(1000) << qint64(2003) << 150 << QStringList({part(1000, 1502), part(1501, 2003)});
}

void TestCueList::partsStayWithinTheirCue()
{
    QFETCH(qint64, start);
    QFETCH(qint64, end);
    QFETCH(int, length);
    QFETCH(QStringList, times);
    for (const QString &text : {words(length - 1) + "d", "{\\an1}" + QStringLiteral("\\h").repeated(length)}) {
        CueList srt;
        fill(srt, {{start, end, text}});
        srt.shape();
        QStringList shaped;
        for (const Cue &c : srt.cues) {
            QVERIFY(c.start >= start && c.start <= c.end && c.end <= std::max(start, end));
            shaped << QStringLiteral("%1-%2").arg(c.start).arg(c.end);
        }
        QCOMPARE(shaped, times);
    }
}

void TestCueList::shapeLosesNoCharacterWithoutBlank()
{
    QString text;
    for (int i = 0; i < 200; ++i)
        text += QChar(u'A' + i % 26);
    CueList srt;
    fill(srt, {{0, 3000, text}});
    srt.shape();
    // 200 characters: three parts, cut after 67 (200 / 3 rounded) and 66 (133 / 2 rounded).
    QCOMPARE(shown(srt), QStringList({"1 0-1000 " + text.mid(0, 33) + "|" + text.mid(33, 34),
                                     "2 1000-2000 " + text.mid(67, 32) + "|" + text.mid(99, 34),
                                     "3 2000-3000 " + text.mid(133, 33) + "|" + text.mid(166)}));
    QString joined;
    for (const Cue &c : srt.cues)
        joined += QString(c.text).remove(u'|');
    QCOMPARE(joined, text);
}

void TestCueList::widenExample()
{
    CueList srt;
    fill(srt, {{1000, 2000, "A"}, {2500, 3000, "B"}, {3100, 4000, "C"}});
    srt.widen(100, 200);
    QCOMPARE(shown(srt), QStringList({"1 900-2200 A", "2 2400-3066 B", "3 3067-4200 C"}));
}

void TestCueList::widenSharesTheGap_data()
{
    QTest::addColumn<qint64>("gap");
    QTest::addColumn<qint64>("endA");
    QTest::addColumn<qint64>("startB");
    // A runs 1000 to 2000, B starts at 2000 + gap; tV 100, tN 200.
    QTest::newRow("more than enough room") << qint64(301) << qint64(2200) << qint64(2201);
    QTest::newRow("exactly enough: shares") << qint64(300) << qint64(2200) << qint64(2200);
    QTest::newRow("one short") << qint64(299) << qint64(2199) << qint64(2200);
    QTest::newRow("touching") << qint64(0) << qint64(2000) << qint64(2000);
    QTest::newRow("overlap of 90") << qint64(-90) << qint64(1940) << qint64(1940);
    QTest::newRow("overlap of 1") << qint64(-1) << qint64(2000) << qint64(1999);
}

void TestCueList::widenSharesTheGap()
{
    QFETCH(qint64, gap);
    QFETCH(qint64, endA);
    QFETCH(qint64, startB);
    CueList srt;
    fill(srt, {{1000, 2000, "A"}, {2000 + gap, 9000, "B"}});
    srt.widen(100, 200);
    QCOMPARE(shown(srt), QStringList({QStringLiteral("1 900-%1 A").arg(endA),
                                     QStringLiteral("2 %1-9200 B").arg(startB)}));
}

void TestCueList::widenStartsNotBeforeZero_data()
{
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("newStart");
    QTest::newRow("below tV") << qint64(80) << qint64(0);
    QTest::newRow("at tV") << qint64(100) << qint64(0);
    QTest::newRow("above tV") << qint64(101) << qint64(1);
}

void TestCueList::widenStartsNotBeforeZero()
{
    QFETCH(qint64, start);
    QFETCH(qint64, newStart);
    CueList srt;
    fill(srt, {{start, 1000, "one"}});
    srt.widen(100, 200);
    QCOMPARE(shown(srt), QStringList({QStringLiteral("1 %1-1200 one").arg(newStart)}));

    CueList empty;
    empty.widen(100, 200);
    QVERIFY(empty.cues.empty());
}

void TestCueList::widenWithoutTimeLeavesPairs()
{
    CueList srt;
    fill(srt, {{1000, 2000, "A"}, {1900, 3000, "B"}, {3000, 4000, "C"}, {4500, 5000, "D"}});
    srt.widen(0, 0);
    QCOMPARE(shown(srt), QStringList({"1 1000-2000 A", "2 1900-3000 B", "3 3000-4000 C", "4 4500-5000 D"}));
}

void TestCueList::timesAtTheEdgeDoNotOverflow_data()
{
    // Times this far out only come from nonsense in a word file; the sums and
    // differences stop at the ends of the 64-bit range instead of wrapping.
    QTest::addColumn<bool>("widen"); // widen(100, 200), else shape
    QTest::addColumn<QList<C>>("cues");
    QTest::addColumn<QStringList>("expected");
    const qint64 max = std::numeric_limits<qint64>::max();
    const qint64 min = std::numeric_limits<qint64>::min();
    const QString maxText = QString::number(max);
    QTest::newRow("end past the largest time")
        << true << QList<C>{{0, max - 100, "a"}} << QStringList({"1 0-" + maxText + " a"});
    QTest::newRow("gap larger than the range")
        << true << QList<C>{{0, min + 10, "a"}, {max - 1000, max - 1000, "b"}}
        << QStringList({QStringLiteral("1 0-%1 a").arg(min + 210), QStringLiteral("2 %1-%2 b").arg(max - 1100).arg(max - 800)});
    // The duration, 18e18 ms, does not fit: it counts as the largest time,
    // and each of the two parts lasts half of that.
    const qint64 half = max / 2 + 1; // 2^62: the half of 2^63 - 1, rounded
    QTest::newRow("split of a cue longer than the range")
        << false << QList<C>{{-9000000000000000000, 9000000000000000000, words(149) + "d"}}
        << QStringList({QStringLiteral("1 -9000000000000000000-%1 ").arg(-9000000000000000000 + half) +
                            "abcd abcd abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd abcd abcd abcd",
                        QStringLiteral("2 %1-9000000000000000000 ").arg(9000000000000000000 - half) +
                            "abcd abcd abcd abcd abcd abcd abcd abcd|abcd abcd abcd abcd abcd abcd abcdd"});
}

void TestCueList::timesAtTheEdgeDoNotOverflow()
{
    QFETCH(bool, widen);
    QFETCH(QList<C>, cues);
    QFETCH(QStringList, expected);
    CueList srt;
    fill(srt, cues);
    if (widen)
        srt.widen(100, 200);
    else
        srt.shape();
    QCOMPARE(shown(srt), expected);
}

void TestCueList::shapeFollowsTheLiteralMethod()
{
    // The literal way: search the whole text again after every cut, trim after
    // every cut, and insert every part into the array where it belongs.
    auto literal = [](CueList &srt) {
        for (size_t k = 0; k < srt.cues.size(); ++k) {
            QString t = srt.cues[size_t(k)].text;
            qsizetype a = t.indexOf(u'[') + 1, b = t.indexOf(u']') + 1;
            while (a > 0 && b > a) {
                t = trimmed(t.left(a - 1) + " " + t.mid(b));
                a = t.indexOf(u'[') + 1;
                b = t.indexOf(u']') + 1;
            }
            t.replace(u'\n', u' ');
            while (t.contains("  "))
                t.replace("  ", " ");
            srt.cues[size_t(k)].text = trimmed(t);
        }
        for (std::int32_t k = 0; k < std::int32_t(srt.cues.size());) {
            QString t = srt.cues[size_t(k)].text;
            const qsizetype length = t.size();
            if (length <= 95) {
                srt.cues[size_t(k)].text = srt.breakLine(t);
                ++k;
                continue;
            }
            const std::int32_t n = std::int32_t(length / 95) + 1;
            const qint64 d = roundHalfEven(double(srt.cues[size_t(k)].end - srt.cues[size_t(k)].start) / n);
            const qint64 s0 = srt.cues[size_t(k)].start;
            for (std::int32_t i = 1; i < n; ++i) {
                const auto c = std::int32_t(roundHalfEven(double(t.size()) / (n - i + 1)));
                const std::int32_t q = CueList::findBlank(t, c);
                const bool blank = q >= 1 && q <= t.size() && t[q - 1] == u' ';
                const qsizetype cut = blank ? q - 1 : c;
                const Cue part{-1, s0 + (i - 1) * d, s0 + i * d, srt.breakLine(t.left(cut))};
                srt.cues.insert(srt.cues.begin() + (k + i - 1), part);
                t = t.mid(blank ? q : c);
            }
            Cue &last = srt.cues[size_t(k + n - 1)];
            last.start = last.end - d;
            last.text = srt.breakLine(t);
            k += n;
        }
        for (std::int32_t i = 0; i < std::int32_t(srt.cues.size()); ++i)
            srt.cues[size_t(i)].number = i + 1;
    };
    const QStringList pieces = {"word", "a", " ", "  ", "[", "]", "[laughs]", "\n", "\t", "longerword", "x",
                                 "verylongwordwithoutanyblankinit"};
    QRandomGenerator random(42);
    for (int round = 0; round < 2000; ++round) {
        QList<C> cues;
        const int count = 1 + int(random.bounded(4));
        for (int j = 0; j < count; ++j) {
            QString t;
            const int length = int(random.bounded(400));
            while (t.size() < length)
                t += pieces.at(random.bounded(int(pieces.size())));
            const qint64 st = random.bounded(100000);
            cues << C{st, st + random.bounded(20000), t};
        }
        CueList fast, slow;
        fill(fast, cues);
        fill(slow, cues);
        fast.shape();
        literal(slow);
        QCOMPARE(shown(fast), shown(slow));
    }
}

QTEST_APPLESS_MAIN(TestCueList)
#include "tst_cuelist.moc"
