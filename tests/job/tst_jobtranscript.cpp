// The Word-like transcript: marker clean-up, paragraphs, time and speaker lines.
#include "support/fakeperson.h"
#include "support/files.h"
#include "support/wavbuilder.h"

#include "base/error.h"
#include "base/numbers.h"
#include "base/text.h"
#include "base/timetext.h"
#include "job/gluejob.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList header{"Interview joined_word.txt", "", "Metadata", "[Please add here relevant Metadata]",
                         "", "Transcript", ""};

bool isSpeaker(const QString &s) { return s.startsWith(u"[Speaker: SP_"); }
bool isStart(const QString &s) { return s.startsWith(u"[StartTime:"); }
bool isEnd(const QString &s) { return s.startsWith(u"[EndTime:"); }
bool isBracket(const QString &s) { return s.startsWith(u'['); }

void removeEmptyOneByOne(QStringList &L)
{
    for (qsizetype i = 0; i < L.size();)
        if (L[i].isEmpty())
            L.removeAt(i);
        else
            ++i;
}

// The clean-up as its steps read: every walk to its end, every line removed
// where it stands. Quadratic, and the reference for the job's linear passes.
QStringList cleanUpStepByStep(QStringList L)
{
    const qsizetype n = L.size();
    for (qsizetype p = 0; p < n; ++p) {
        if (isEnd(L[p])) {
            L[p] = QString();
        } else if (isSpeaker(L[p]) && p + 1 < n && isSpeaker(L[p + 1])) {
            L[p] = QString();
        } else if (isSpeaker(L[p])) {
            for (qsizetype i = p + 1; i < n; ++i) {
                if (isSpeaker(L[i])) {
                    if (L[i] == L[p])
                        L[i] = QString();
                    else
                        break;
                }
            }
        }
    }
    for (qsizetype p = 0; p < n; ++p) {
        if (isStart(L[p])) {
            for (qsizetype i = p + 1; i < n; ++i) {
                if (isStart(L[i]))
                    L[i] = QString();
                if (isBracket(L[i]))
                    break;
            }
        }
    }
    removeEmptyOneByOne(L);
    for (qsizetype p = 0; p + 1 < L.size(); ++p)
        if (isStart(L[p]) && !isSpeaker(L[p + 1]))
            L.swapItemsAt(p, p + 1);
    bool found = false;
    for (qsizetype p = 0; p + 1 < L.size(); ++p) {
        if (found || !isSpeaker(L[p]))
            continue;
        for (qsizetype i = p + 1; i < L.size(); ++i) {
            if (isSpeaker(L[i]) && L[i] == L[p] && isStart(L[i - 1])) {
                L[i - 1] = QString();
                found = true;
                break;
            }
        }
    }
    removeEmptyOneByOne(L);
    for (qsizetype p = L.size() - 2; p >= 0; --p) {
        if (!isBracket(L[p]) && !isBracket(L[p + 1])) {
            L[p] = L[p] + u' ' + L[p + 1];
            L.removeAt(p + 1);
        }
    }
    return L;
}

// The formatted lines, or the lines so far and the message of the failure.
QStringList transcriptStepByStep(const QStringList &L, QString &failure)
{
    QStringList out = header;
    QString label;
    for (const QString &line : L) {
        if (isStart(line)) {
            QString t = trimmed(line.mid(11));
            t.chop(3);
            t = trimmed(t);
            try {
                out << u'\t' + timeText(parseInt(t)).left(8);
            } catch (const Error &e) {
                failure = e.message();
                return out;
            }
            label = QString();
        } else if (isSpeaker(line)) {
            QString t = trimmed(line.mid(16));
            t.chop(1);
            label = trimmed(t);
        } else {
            out << label + u'\t' + line;
            label = QString();
        }
    }
    return out;
}

struct Outcome
{
    QStringList view;
    QStringList transcriptLines;
    QString failure;
};

// The transcript of a glued job whose joined text the person replaced with
// text: the derived views are built again from it.
Outcome buildWithJob(GlueJob &job, const QStringList &text)
{
    job.setText(TextView::Text1, text);
    Outcome o;
    try {
        job.rebuildDerived();
    } catch (const Error &e) {
        o.failure = e.message();
    }
    o.view = job.text(TextView::Transcript);
    o.transcriptLines = job.transcriptLines();
    return o;
}

} // namespace

class TstJobTranscript : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    // Opens two recordings of one frame each and glues them into joinedPath.
    void glueRecordings(GlueJob &job, const QString &joinedPath)
    {
        writeSilentWav(dir.filePath("r1.wav"), 16000, 1, 16, 16);
        writeSilentWav(dir.filePath("r2.wav"), 16000, 1, 16, 16);
        job.openRecording(1, dir.filePath("r1.wav"));
        job.openRecording(2, dir.filePath("r2.wav"));
        job.glue(joinedPath);
    }

private slots:
    void workedExampleThroughTheCommands();
    void transcriptLines_data();
    void transcriptLines();
    void badStartTimeStopsTheBuild();
    void aNameWithoutExtensionGetsTheSuffix();
    void agreesWithTheStepByStepCleanUpOnRandomTexts();
};

void TstJobTranscript::workedExampleThroughTheCommands()
{
    const QStringList text1{"[StartTime: 1500 ms]", "[Speaker: SP_01 Interviewer]", "Good morning.",
                            "Thank you for coming.", "[EndTime: 4200 ms]", "[StartTime: 4300 ms]",
                            "[Speaker: SP_01 Interviewer]", "Shall we begin?", "[EndTime: 6000 ms]", ""};
    const QStringList text2{"[StartTime: 6100 ms]", "[Speaker: SP_02 Respondent]", "Yes, of course.",
                            "[EndTime: 8000 ms]", "[StartTime: 65000 ms]", "[Speaker: SP_01 Interviewer]",
                            "Where were you born?", "[EndTime: 67000 ms]"};
    writeLines(dir.filePath("t1.txt"), text1);
    writeLines(dir.filePath("t2.txt"), text2);

    FakePerson person;
    GlueJob job(person);
    job.openText(1, dir.filePath("t1.txt"));
    job.openText(2, dir.filePath("t2.txt"));
    glueRecordings(job, dir.filePath("joined.wav"));

    QStringList expected = header;
    expected << "\t00:00:01" << "Interviewer\tGood morning. Thank you for coming. Shall we begin?"
             << "\t00:00:04" << "Respondent\tYes, of course." << "Interviewer\tWhere were you born?";
    QCOMPARE(job.text(TextView::Transcript), expected);
    QCOMPARE(job.transcriptLines(), expected);
    QCOMPARE(job.outputs().transcript, dir.filePath("joined_word.txt"));
    // The transcript is not written yet: only Glue's write was told of, and
    // the names only Save gives are empty.
    QVERIFY(!QFileInfo::exists(job.outputs().transcript));
    QCOMPARE(person.outputsWrittenNotices, 1);
    QCOMPARE(job.outputs().srt, QString());
    QCOMPARE(job.text(TextView::Text1), text1 + text2);
    QCOMPARE(person.logged.mid(person.logged.size() - 3),
             (QStringList{"Make Word-like transcription", "Start making Word-file", "Ready making Word-file"}));
    QVERIFY(person.changedTexts.contains(TextView::Transcript));
}

void TstJobTranscript::transcriptLines_data()
{
    QTest::addColumn<QStringList>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty text") << QStringList{} << QStringList{};
    QTest::newRow("no marker lines: one paragraph")
        << QStringList{"a", "", "b", "c"} << QStringList{"\ta b c"};
    QTest::newRow("a start time without unit keeps what is left")
        << QStringList{"[StartTime: 1500]"} << QStringList{"\t00:00:00"};
    QTest::newRow("the label starts at the 17th character")
        << QStringList{"[Speaker: SP_1 Anna]", "hi"} << QStringList{"nna\thi"};
    QTest::newRow("a short speaker line gives an empty label")
        << QStringList{"[Speaker: SP_1]", "hi"} << QStringList{"\thi"};
    QTest::newRow("a speaker line at the end adds nothing")
        << QStringList{"a", "[Speaker: SP_01 A]"} << QStringList{"\ta"};
    QTest::newRow("a start time at the end gives a last time line")
        << QStringList{"a", "[StartTime: 5000 ms]"} << QStringList{"\ta", "\t00:00:05"};
    QTest::newRow("a line of blanks is text")
        << QStringList{"a", "  ", "b"} << QStringList{"\ta    b"};
    QTest::newRow("a marker after a blank is text")
        << QStringList{"x", " [Speaker: SP_01 Anna]", "y"} << QStringList{"\tx  [Speaker: SP_01 Anna] y"};
    QTest::newRow("an other bracket line stands alone")
        << QStringList{"a", "[laughs]", "b"} << QStringList{"\ta", "\t[laughs]", "\tb"};
    QTest::newRow("an other bracket line takes the label")
        << QStringList{"[Speaker: SP_01 Anna]", "[laughs]", "b"} << QStringList{"Anna\t[laughs]", "\tb"};
    QTest::newRow("one start time per stretch")
        << QStringList{"[StartTime: 1000 ms]", "a", "[StartTime: 2000 ms]", "b"}
        << QStringList{"\ta b", "\t00:00:01"};
    QTest::newRow("alternating speakers: the third turn loses its time")
        << QStringList{"[StartTime: 1000 ms]", "[Speaker: SP_01 A]", "x", "[StartTime: 2000 ms]",
                       "[Speaker: SP_02 B]", "y", "[StartTime: 3000 ms]", "[Speaker: SP_01 A]", "z",
                       "[StartTime: 4000 ms]", "[Speaker: SP_02 B]", "w"}
        << QStringList{"\t00:00:01", "A\tx", "\t00:00:02", "B\ty", "A\tz", "\t00:00:04", "B\tw"};
    QTest::newRow("of two speaker lines in a row the lower one stays")
        << QStringList{"[Speaker: SP_01 A]", "[Speaker: SP_02 B]", "x"} << QStringList{"B\tx"};
    QTest::newRow("a repeated speaker merges the turns")
        << QStringList{"[Speaker: SP_01 A]", "x", "[laughs]", "[Speaker: SP_01 A]", "y"}
        << QStringList{"A\tx", "\t[laughs]", "\ty"};
    QTest::newRow("a time line drops the pending label")
        << QStringList{"[Speaker: SP_01 A]", "[StartTime: 3723004 ms]"} << QStringList{"\t01:02:03"};
}

void TstJobTranscript::transcriptLines()
{
    QFETCH(QStringList, text);
    QFETCH(QStringList, lines);
    FakePerson person;
    GlueJob job(person);
    glueRecordings(job, dir.filePath("joined.wav"));
    const Outcome o = buildWithJob(job, text);
    QCOMPARE(o.failure, QString());
    QCOMPARE(o.view, header + lines);
    QCOMPARE(o.transcriptLines, header + lines);
}

void TstJobTranscript::badStartTimeStopsTheBuild()
{
    writeLines(dir.filePath("bad.txt"), {"[Speaker: SP_01 Anna]", "hello", "there", "[StartTime: 12x4 ms]",
                                          "[Speaker: SP_02 Bob]", "bye"});
    FakePerson person;
    GlueJob job(person);
    job.openText(1, dir.filePath("bad.txt"));
    QCOMPARE(errorMessage([&] { glueRecordings(job, dir.filePath("joined.wav")); }),
             QStringLiteral("'12x4' is not a valid integer value"));
    QCOMPARE(job.text(TextView::Transcript), header + QStringList{"Anna\thello there"});
    QCOMPARE(job.transcriptLines(), (QStringList{"[Speaker: SP_01 Anna]", "hello there", "[StartTime: 12x4 ms]",
                                                 "[Speaker: SP_02 Bob]", "bye"}));
    QCOMPARE(job.outputs().transcript, dir.filePath("joined_word.txt"));
    // The joined recording was written and told of; the transcript was not,
    // and Glue did not run to its end.
    QVERIFY(!QFileInfo::exists(job.outputs().transcript));
    QCOMPARE(person.outputsWrittenNotices, 1);
    QCOMPARE(job.outputs().srt, QString());
    QCOMPARE(person.gluedNotices, 0);
    QCOMPARE(person.logged.mid(person.logged.size() - 2),
             (QStringList{"Make Word-like transcription", "Start making Word-file"}));
}

void TstJobTranscript::aNameWithoutExtensionGetsTheSuffix()
{
    // A joined recording named without extension, in a folder whose name has one.
    QVERIFY(QDir(dir.path()).mkpath("a.b"));
    FakePerson person;
    GlueJob job(person);
    glueRecordings(job, dir.filePath("a.b/joined"));
    QCOMPARE(job.outputs().transcript, dir.filePath("a.b/joined_word.txt"));
    QCOMPARE(job.text(TextView::Transcript).first(), QStringLiteral("Interview joined_word.txt"));
}

void TstJobTranscript::agreesWithTheStepByStepCleanUpOnRandomTexts()
{
    const QStringList lines{"[EndTime: 1 ms]", "[StartTime: 1000 ms]", "[StartTime: 2500 ms]",
                            "[StartTime: 61000 ms]", "[Speaker: SP_01 A]", "[Speaker: SP_02 B]",
                            "[Speaker: SP_03 C]", "[Speaker: SP_01 A] ", "[laughs]", "[", "", "  ", "a",
                            "b c", " [Speaker: SP_01 A]", "[Speaker: SP_", "[StartTime: 7]"};
    FakePerson person;
    GlueJob job(person);
    glueRecordings(job, dir.filePath("joined.wav"));
    QRandomGenerator random(31415);
    for (int round = 0; round < 4000; ++round) {
        QStringList text;
        const int n = random.bounded(round < 3000 ? 14 : 60);
        for (int i = 0; i < n; ++i)
            text << lines[random.bounded(lines.size())];
        // Now and then a start time that is no number, so failures are compared too.
        if (random.bounded(20) == 0)
            text.insert(random.bounded(text.size() + 1), QStringLiteral("[StartTime: x ms]"));

        const QStringList clean = cleanUpStepByStep(text);
        QString failure;
        const QStringList expected = transcriptStepByStep(clean, failure);
        const Outcome o = buildWithJob(job, text);
        QCOMPARE(o.failure, failure);
        QCOMPARE(o.view, expected);
        QCOMPARE(o.transcriptLines, failure.isEmpty() ? expected : clean);
    }
}

QTEST_GUILESS_MAIN(TstJobTranscript)
#include "tst_jobtranscript.moc"
