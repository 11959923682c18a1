// reshapeSubtitles: reads a subtitle file or a pipe, shapes its cues and
// writes them as SRT or WebVTT.
#include "support/files.h"
#include "support/reshapefailures.h"

#include "base/textfile.h"
#include "job/reshape.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

const QString data = QStringLiteral(NAADWERK_TEST_DATA "/reshape/");

} // namespace

class TstJobReshape : public QObject
{
    Q_OBJECT
private slots:
    void writesTheShapedCues_data();
    void writesTheShapedCues();
    void readsFromAPipe();
    void keepsWebVttTagsWhole();
    void aFailureWritesNothing_data();
    void aFailureWritesNothing();
};

void TstJobReshape::writesTheShapedCues_data()
{
    QTest::addColumn<bool>("webVtt");
    QTest::addColumn<bool>("widen");
    QTest::addColumn<qint64>("before");
    QTest::addColumn<qint64>("after");
    QTest::addColumn<QString>("expected");
    // The input has long cues, remarks in brackets, "<br>", blanks before
    // punctuation, overlapping cues and cues without text.
    QTest::newRow("srt") << false << false << qint64(100) << qint64(200) << "interview.reshaped.srt";
    QTest::newRow("webvtt, widened by the default times")
        << true << true << qint64(100) << qint64(200) << "interview.enlarged.vtt";
    QTest::newRow("srt, widened by given times")
        << false << true << qint64(50) << qint64(300) << "interview.enlarged-50-300.srt";
    // Times given without widening are not used.
    QTest::newRow("srt, times without widening")
        << false << false << qint64(50) << qint64(300) << "interview.reshaped.srt";
}

void TstJobReshape::writesTheShapedCues()
{
    QFETCH(bool, webVtt);
    QFETCH(bool, widen);
    QFETCH(qint64, before);
    QFETCH(qint64, after);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString out = dir.filePath("out");
    reshapeSubtitles(data + "interview.srt", out, ReshapeOptions{webVtt, widen, before, after});
    QCOMPARE(readBytes(out), readBytes(data + expected));
}

void TstJobReshape::readsFromAPipe()
{
    // A pipe is no regular file: its lines are read as they come, to its end.
    // The input fits the pipe's buffer, so it is written and closed first.
    const QByteArray input = readBytes(data + "interview.srt");
    QVERIFY(!input.isEmpty() && input.size() < 4096);
    int ends[2];
    QVERIFY(::pipe(ends) == 0);
    QCOMPARE(::write(ends[1], input.constData(), size_t(input.size())), ssize_t(input.size()));
    ::close(ends[1]);
    QTemporaryDir dir;
    const QString out = dir.filePath("out.srt");
    const QString message = errorMessage(
        [&] { reshapeSubtitles(QStringLiteral("/proc/self/fd/%1").arg(ends[0]), out, ReshapeOptions{}); });
    ::close(ends[0]);
    QCOMPARE(message, QStringLiteral("(no error)"));
    QCOMPARE(readBytes(out), readBytes(data + "interview.reshaped.srt"));
}

void TstJobReshape::keepsWebVttTagsWhole()
{
    // A WebVTT file as a browser reads it: its tags do not count, the voice
    // open at the cut ends the first part and starts the second, and the
    // note and the identifier are no text.
    QTemporaryDir dir;
    writeBytes(dir.filePath("in.vtt"),
               "WEBVTT\n\nNOTE made by hand\n\nq1\n00:01.000 --> 00:05.000 line:0\n<v Anna>Where were you born, "
               "<c.yellow>and when did your family</c> come to the city, and where did <00:03.000>you go to "
               "school &amp; work after that?\n");
    reshapeSubtitles(dir.filePath("in.vtt"), dir.filePath("out.vtt"), ReshapeOptions{true, false, 100, 200});
    QCOMPARE(readTextFile(dir.filePath("out.vtt")),
             (QStringList{"WEBVTT", "", "00:00:01.000 --> 00:00:03.000", "<v Anna>Where were you born, <c.yellow>and when",
                          "did your family</c> come to the</v>", "", "00:00:03.000 --> 00:00:05.000",
                          "<v Anna>city, and where did <00:03.000>you go", "to school &amp; work after that?", ""}));
}

void TstJobReshape::aFailureWritesNothing_data()
{
    addReshapeFailureRows();
}

void TstJobReshape::aFailureWritesNothing()
{
    QTemporaryDir dir;
    const ReshapeFailure f = placeReshapeFailure(dir.path());
    QCOMPARE(errorMessage([&] { reshapeSubtitles(f.in, f.out, ReshapeOptions{}); }), f.message);
    QVERIFY(!QFileInfo::exists(f.out));
}

QTEST_GUILESS_MAIN(TstJobReshape)
#include "tst_jobreshape.moc"
