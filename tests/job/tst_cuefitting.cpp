// Cues cut to a subtitle profile from timed words: the rules one by one on
// small word lists, and long made-up interviews read back by an independent
// checker (python3-srt).
#include "base/textfile.h"
#include "support/files.h"
#include "support/timedwords.h"
#include "formats/cuecheck.h"
#include "job/cuefitting.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <random>

namespace {

// Words written as "start-end text; ...": a text ending in ".", "!" or "?"
// ends its phrase, and a ">" before a text starts another speaker's turn.
struct Words
{
    std::vector<QString> texts;
    std::vector<TimedWord> words;

    explicit Words(const QString &written)
    {
        for (TimedText &item : timedTexts(written))
            add(std::move(item.text), item.start, item.end);
    }
    Words() = default;

    void add(QString text, std::int64_t start, std::int64_t end)
    {
        TimedWord w;
        w.newSpeaker = text.startsWith(u'>');
        if (w.newSpeaker)
            text.remove(0, 1);
        texts.push_back(text);
        w.start = start;
        w.end = end;
        w.length = static_cast<int>(text.size());
        w.endsPhrase = text.endsWith(u'.') || text.endsWith(u'!') || text.endsWith(u'?');
        words.push_back(w);
    }

    // The views point into texts, which no longer grows.
    std::span<const TimedWord> timed()
    {
        for (std::size_t i = 0; i < words.size(); ++i)
            words[i].text = texts[i];
        return words;
    }
};

const SubtitleProfile &streaming()
{
    return *findBuiltInProfile(u"streaming");
}

QString shown(const CueList &cues)
{
    QStringList lines;
    for (const Cue &cue : cues.cues)
        lines << QStringLiteral("%1-%2 %3").arg(cue.start).arg(cue.end).arg(cue.text);
    return lines.join(u'\n');
}

// A made-up interview: stretches of speech at 120 to 220 words per minute,
// sentences of 3 to 25 words with commas, pauses between them from 0.1 to
// 2 s and now and then one of 3 to 8 s, speakers taking turns.
Words madeUpInterview(std::int64_t lengthMs, unsigned seed)
{
    static const QStringList vocabulary{
        "we", "went", "to", "the", "village", "my", "father", "worked", "at", "harbour", "and", "I",
        "remember", "it", "was", "very", "cold", "that", "winter", "so", "they", "moved", "again",
        "a", "school", "teacher", "told", "us", "about", "war", "nobody", "spoke", "of", "it", "later",
        "grandmother", "kept", "chickens", "beans", "summer", "cousins", "came", "from", "south",
        "extraordinarily", "unfortunately", "neighbourhood", "yes", "no", "well", "perhaps"};
    std::mt19937 random(seed);
    const auto uniform = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    Words out;
    std::int64_t t = 500;
    int wpm = 170;
    bool speakerChange = false;
    while (t < lengthMs) {
        if (uniform(0, 9) == 0)
            wpm = uniform(120, 220);
        const int sentence = uniform(3, 25);
        for (int k = 0; k < sentence; ++k) {
            QString word = vocabulary.at(uniform(0, static_cast<int>(vocabulary.size()) - 1));
            if (k == 0)
                word[0] = word[0].toUpper();
            if (k + 1 == sentence)
                word += uniform(0, 4) == 0 ? u'?' : u'.';
            else if (uniform(0, 7) == 0)
                word += u',';
            // A word's share of a minute, with a short breath between words.
            const std::int64_t slot = 60000 / wpm;
            const std::int64_t length = std::max<std::int64_t>(slot * 8 / 10 + uniform(-40, 40), 60);
            out.add((speakerChange ? QStringLiteral(">") : QString()) + word, t, t + length);
            speakerChange = false;
            t += slot + uniform(-20, 20);
        }
        t += uniform(0, 11) == 0 ? uniform(3000, 8000) : uniform(100, 2000);
        speakerChange = uniform(0, 5) == 0;
    }
    return out;
}

struct CheckerRun
{
    int code = -1;
    QString out;
};

// Writes cues as SRT and the words as TSV, and runs the independent checker.
CheckerRun runChecker(CueList &cues, std::span<const TimedWord> words, const SubtitleProfile &profile,
                      std::int64_t lead, double fps)
{
    QTemporaryDir folder;
    const QString srt = folder.filePath(QStringLiteral("cues.srt"));
    writeTextFile(srt, cues.srtLines());
    QStringList lines;
    for (const TimedWord &w : words)
        lines << QStringLiteral("%1\t%2\t%3").arg(w.start).arg(w.end).arg(w.text);
    writeLines(folder.filePath(QStringLiteral("words.tsv")), lines);
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(NAADWERK_SOURCE_DIR "/tests/support/check_subtitle_profile.py"), srt,
                  folder.filePath(QStringLiteral("words.tsv")), QStringLiteral("--line=%1").arg(profile.charsPerLine),
                  QStringLiteral("--lines=%1").arg(profile.lines), QStringLiteral("--cps=%1").arg(profile.charsPerSecond),
                  QStringLiteral("--min=%1").arg(profile.minDurationMs),
                  QStringLiteral("--max=%1").arg(profile.maxDurationMs),
                  QStringLiteral("--gap=%1").arg(profile.minGapMs(fps)), QStringLiteral("--lead=%1").arg(lead)});
    python.waitForFinished(300000);
    return {python.exitStatus() == QProcess::NormalExit ? python.exitCode() : -1,
            QString::fromUtf8(python.readAllStandardOutput() + python.readAllStandardError())};
}

bool hasPythonSrt()
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral("import srt")});
    return p.waitForFinished() && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

class TestCueFitting : public QObject
{
    Q_OBJECT

private slots:
    void eachRuleShapesTheCues_data();
    void eachRuleShapesTheCues();
    void aCueTooLongIsSplitAtAWord();
    void noWordsGiveNoCues();
    void madeUpInterviewKeepsTheProfile_data();
    void madeUpInterviewKeepsTheProfile();
    void theCheckerFindsABrokenRule_data();
    void theCheckerFindsABrokenRule();
};

void TestCueFitting::eachRuleShapesTheCues_data()
{
    QTest::addColumn<QString>("words");
    QTest::addColumn<int>("lead");
    QTest::addColumn<int>("tail");
    QTest::addColumn<QString>("cues");

    QTest::newRow("a short phrase is lengthened to the shortest time")
        << "1000-1300 Yes.; 9000-9400 Good." << 0 << 0 << "1000-1833 Yes.\n9000-9833 Good.";
    QTest::newRow("two short phrases share a cue rather than flash by")
        << "1000-1300 Yes.; 1400-1700 Fine.; 9000-9400 Good." << 0 << 0 << "1000-1833 Yes. Fine.\n9000-9833 Good.";
    QTest::newRow("the gap wins over the last word's end")
        << "1000-2000 Hello; 2000-2990 there.; 2990-4000 Next; 4000-5000 one." << 0 << 0
        << "1000-2910 Hello there.\n2990-5000 Next one.";
    QTest::newRow("the lead stops at the gap after the words before, the tail at the next cue")
        << "1000-2000 Yes indeed.; 2100-3000 Of course." << 100 << 200 << "900-2000 Yes indeed.\n2080-3200 Of course.";
    QTest::newRow("a cue never holds two speakers where a cut works")
        << "1000-1400 So; 1500-1900 you; 2000-2400 went; 2500-2900 >yes; 3000-3400 to; 3500-3900 Paris." << 0 << 0
        << "1000-2400 So you went\n2500-3900 yes to Paris.";
    QTest::newRow("fast words are lengthened into the pause after them")
        << "1000-1200 Absolutely; 1200-1400 wonderful.; 5000-5400 Yes." << 0 << 0
        << "1000-2236 Absolutely wonderful.\n5000-5833 Yes.";
    // 98 characters: two cues, cut after the comma; each broken into two
    // balanced lines.
    QString slow;
    const QStringList sentence = QStringLiteral("When we came home from the market that evening, my mother had "
                                                "already made the soup for all of us.").split(u' ');
    for (int k = 0; k < sentence.size(); ++k)
        slow += QStringLiteral("%1-%2 %3;").arg(1000 + 500 * k).arg(1400 + 500 * k).arg(sentence.at(k));
    QTest::newRow("a long phrase is cut after its comma")
        << slow << 0 << 0
        << "1000-5400 When we came home from|the market that evening,\n5500-10900 my mother had already made|the soup "
           "for all of us.";
}

void TestCueFitting::eachRuleShapesTheCues()
{
    QFETCH(QString, words);
    QFETCH(int, lead);
    QFETCH(int, tail);
    QFETCH(QString, cues);
    Words w(words);
    CueList list;
    fitCues(list, w.timed(), streaming(), CueTiming{lead, tail, 25});
    QCOMPARE(shown(list), cues);
    QCOMPARE(checkCues(list.cues, streaming(), 25, CueMarkup::Srt, u'|').problems.size(), std::size_t(0));
}

void TestCueFitting::aCueTooLongIsSplitAtAWord()
{
    // Ten slow words, 10 s without punctuation: no cue may last 7 s.
    Words w;
    const QStringList text = QStringLiteral("one two three four five six seven eight nine ten.").split(u' ');
    for (int k = 0; k < text.size(); ++k)
        w.add(text.at(k), 1000 + 1000 * k, 1900 + 1000 * k);
    CueList list;
    fitCues(list, w.timed(), streaming(), CueTiming{});
    QCOMPARE(list.cues.size(), std::size_t(2));
    QStringList all;
    for (const Cue &cue : list.cues) {
        QVERIFY2(cue.end - cue.start <= 7000, qPrintable(shown(list)));
        all << cue.text;
    }
    QCOMPARE(all.join(u' '), text.join(u' '));
    QCOMPARE(list.cues.front().start, 1000);
    QCOMPARE(list.cues.back().end, 10900);
}

void TestCueFitting::noWordsGiveNoCues()
{
    CueList list;
    list.cues.resize(3); // an earlier building's cues go
    fitCues(list, {}, streaming(), CueTiming{100, 200, 25});
    QCOMPARE(list.cues.size(), std::size_t(0));
}

void TestCueFitting::madeUpInterviewKeepsTheProfile_data()
{
    QTest::addColumn<QString>("profile");
    QTest::addColumn<int>("lead");
    QTest::addColumn<int>("tail");
    QTest::addColumn<qint64>("lengthMs");
    QTest::newRow("streaming, 3 hours, enlarged") << "streaming" << 100 << 200 << qint64(3 * 3600 * 1000);
    QTest::newRow("streaming, 20 minutes, not enlarged") << "streaming" << 0 << 0 << qint64(20 * 60 * 1000);
    QTest::newRow("teletext, 20 minutes, enlarged") << "teletext" << 100 << 200 << qint64(20 * 60 * 1000);
    QTest::newRow("captions32, 20 minutes, enlarged") << "captions32" << 300 << 500 << qint64(20 * 60 * 1000);
}

void TestCueFitting::madeUpInterviewKeepsTheProfile()
{
    QFETCH(QString, profile);
    QFETCH(int, lead);
    QFETCH(int, tail);
    QFETCH(qint64, lengthMs);
    if (!hasPythonSrt())
        QSKIP("python3-srt is not installed (scripts/install-deps.sh test)");
    Words w = madeUpInterview(lengthMs, 28);
    const SubtitleProfile &p = *findBuiltInProfile(profile);
    CueList list;
    fitCues(list, w.timed(), p, CueTiming{lead, tail, 25});
    const CheckerRun run = runChecker(list, w.timed(), p, lead, 25);
    QVERIFY2(run.code == 0, qPrintable(run.out.left(4000)));
    // What is left is what the speech makes impossible; the check finds no
    // other kind of problem than those.
    const QRegularExpressionMatch counts = QRegularExpression(QStringLiteral("cues (\\d+) impossible (\\d+)")).match(run.out);
    QVERIFY(counts.hasMatch());
    const CueCheck check = checkCues(list.cues, p, 25, CueMarkup::Srt, u'|');
    qInfo("%s: %zu words, %s cues, %s impossible, %zu problems the check lists", qPrintable(profile),
          w.words.size(), qPrintable(counts.captured(1)), qPrintable(counts.captured(2)), check.problems.size());
    QCOMPARE(check.problems.size(), std::size_t(counts.captured(2).toULongLong()));
    for (const CueProblem &problem : check.problems)
        QVERIFY2(problem.kind == CueProblem::ReadingSpeed || problem.kind == CueProblem::TooShort
                     || problem.kind == CueProblem::Gap || problem.kind == CueProblem::TooLong,
                 qPrintable(CueProblem::kindWord(problem.kind)));
}

void TestCueFitting::theCheckerFindsABrokenRule_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("found");
    QTest::newRow("a cue shown before its lead") << "early" << "starts at";
    QTest::newRow("a cue ended before its last word starts") << "cut" << "before its last word starts";
    QTest::newRow("a line too long") << "line" << "has a line of";
    QTest::newRow("three lines") << "lines" << "has 3 lines";
    QTest::newRow("cues too close") << "gap" << "leaves a gap of";
}

void TestCueFitting::theCheckerFindsABrokenRule()
{
    QFETCH(QString, fault);
    QFETCH(QString, found);
    if (!hasPythonSrt())
        QSKIP("python3-srt is not installed (scripts/install-deps.sh test)");
    Words w = madeUpInterview(5 * 60 * 1000, 7);
    const SubtitleProfile &p = streaming();
    CueList list;
    fitCues(list, w.timed(), p, CueTiming{100, 200, 25});
    QVERIFY(list.cues.size() > 20);
    // The longest cue but the last breaks the rule; its words stay as they were.
    const auto longest = std::max_element(list.cues.begin(), list.cues.end() - 1, [](const Cue &x, const Cue &y) {
        return x.text.size() < y.text.size();
    });
    Cue &cue = *longest;
    QVERIFY(cue.text.size() > 43);
    if (fault == u"early") {
        cue.start -= 150;
    } else if (fault == u"cut") {
        cue.end = cue.start;
    } else if (fault == u"line") {
        cue.text.replace(u'|', u' ');
    } else if (fault == u"lines") {
        cue.text.replace(u'|', u' ');
        const qsizetype first = cue.text.indexOf(u' ');
        cue.text[first] = u'|';
        cue.text[cue.text.indexOf(u' ', first + 1)] = u'|';
    } else {
        (longest + 1)->start = cue.end + 10;
    }
    const CheckerRun run = runChecker(list, w.timed(), p, 100, 25);
    QCOMPARE(run.code, 1);
    QVERIFY2(run.out.contains(found), qPrintable(run.out));
}

QTEST_GUILESS_MAIN(TestCueFitting)
#include "tst_cuefitting.moc"
