// What fuzzing and the bad-input runs turned up, each kept as a case: the
// inputs are the smallest that showed the fault. (A part's times shifted to
// the edge of the 64-bit range are kept with the joined word list, in
// tests/job/tst_joinedwords.cpp.)
#include "base/numbers.h"
#include "support/cli.h"
#include "support/fakeperson.h"
#include "support/files.h"
#include "formats/cuelist.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr std::int64_t largest = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t smallest = std::numeric_limits<std::int64_t>::min();

struct CueTimes
{
    std::int64_t start;
    std::int64_t end;
    bool operator==(const CueTimes &) const = default;
};
using CueTimesList = QList<CueTimes>;

char *toString(const CueTimes &c)
{
    return QTest::toString(u"(%1, %2)"_s.arg(c.start).arg(c.end));
}

} // namespace

class TestFindings : public QObject
{
    Q_OBJECT
private slots:
    void aNumberErrorQuotesShortAndReadable_data();
    void aNumberErrorQuotesShortAndReadable();
    void theCommandLineShowsTheWholeMessageOfABinaryFile();
    void anOverlapDeeperThanTheRangeIsShared();
};

void TestFindings::aNumberErrorQuotesShortAndReadable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("quoted");

    QTest::newRow("a short field is quoted as it is") << u"12,5"_s << u"12,5"_s;
    QTest::newRow("tabs stay: a CTM line read with the other separator")
        << u"utt\t1\t0.50\t0.92\tnew"_s << u"utt\t1\t0.50\t0.92\tnew"_s;
    QTest::newRow("NUL, escape and DEL show as replacement characters")
        << u"RIFF\0\x1b[2J\x7f"_s << u"RIFF\uFFFD\uFFFD[2J\uFFFD"_s;
    QTest::newRow("60 characters are quoted whole") << QString(60, u'x') << QString(60, u'x');
    QTest::newRow("a longer text is cut after 60") << QString(100000, u'7') + u'x' << QString(60, u'7') + u"..."_s;
    QTest::newRow("a character of two code units at the cut stays whole")
        << QString(59, u'a') + u"\U0001F600b"_s << QString(59, u'a') + u"..."_s;
}

void TestFindings::aNumberErrorQuotesShortAndReadable()
{
    QFETCH(QString, text);
    QFETCH(QString, quoted);
    QCOMPARE(errorMessage([&] { parseFloat(text); }), u"'%1' is not a valid floating point value"_s.arg(quoted));
    QCOMPARE(errorMessage([&] { parseInt(text); }), u"'%1' is not a valid integer value"_s.arg(quoted));
}

void TestFindings::theCommandLineShowsTheWholeMessageOfABinaryFile()
{
    // A recording picked as word file: its first line holds NUL bytes, which
    // used to end the message on standard error; it is named as no text.
    QTemporaryDir folder;
    const QString ctm = folder.filePath(u"recording.wav"_s);
    writeBytes(ctm, QByteArray("RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00"
                               "\x80\x3e\x00\x00\x00\x7d\x00\x00\x02\x00\x10\x00" "data\x00\x00\x00\x00",
                               44));

    const CliOutcome o = runGlue(QString(), {u"--separator"_s, u"space"_s, u"--ctm1"_s, ctm});
    QCOMPARE(o.code, 1);
    QCOMPARE(o.err, u"\""_s + ctm + u"\" is not a word file: line 1 is not text\n"_s);
}

void TestFindings::anOverlapDeeperThanTheRangeIsShared()
{
    // The fuzzer's case: the gap between an end at the top of the range and
    // a start at its bottom used to wrap around to one millisecond, so the
    // pair stayed as it was; now the whole overlap is shared.
    CueList list;
    list.cues = {Cue{1, 0, largest, u"a"_s}, Cue{2, smallest, smallest + 10, u"b"_s}};
    list.widen(0, 300);
    CueTimesList after;
    for (const Cue &c : list.cues)
        after.append({c.start, c.end});
    QCOMPARE(after, (CueTimesList{{0, -1}, {smallest, smallest + 310}}));
}

QTEST_GUILESS_MAIN(TestFindings)
#include "tst_findings.moc"
