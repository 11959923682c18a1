// Glues two halves of 50,000 and of 500,000 words each (SPK files and
// transcripts of matching size, a speaker turn every few lines, no audio)
// through the job's commands, and compares the times: the job is linear when
// ten times the words take about ten times as long. The large glue is also
// compared with reading its two word files alone. Medians over several runs,
// each in a fresh process.
//
//   bench_glue [small] [large]   (words per half; defaults 50000 and 500000)
#include "base/textfile.h"
#include "formats/wordfile.h"
#include "job/gluejob.h"
#include "job/person.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// One second of silence, 16 kHz mono 16-bit, as bench/make-glue-input.sh writes it.
void makeRecording(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        std::exit(1);
    QByteArray header("RIFF");
    const auto put32 = [&header](quint32 v) {
        for (int i = 0; i < 4; ++i)
            header += char((v >> (8 * i)) & 0xFF);
    };
    const auto put16 = [&header](quint16 v) {
        header += char(v & 0xFF);
        header += char(v >> 8);
    };
    put32(36 + 32000);
    header += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(1);
    put32(16000);
    put32(32000);
    put16(2);
    put16(16);
    header += "data";
    put32(32000);
    file.write(header);
    file.write(QByteArray(32000, '\0'));
}

const char *const vocabulary[] = {"so", "we", "moved", "to", "the", "city", "in", "spring", "of", "that",
                                  "year", "because", "my", "father", "had", "found", "work", "at", "harbour",
                                  "uh*", "and", "all", "thought", "life", "would", "be", "easier", "there"};
constexpr int vocabularySize = sizeof(vocabulary) / sizeof(vocabulary[0]);

// An SPK file of n words and the transcript that goes with it: sentences of
// 6 to 17 words, a "SIL" now and then, three text lines of about ten words
// per turn, and every turn framed by start, speaker and end lines.
// bench/make-glue-input.sh writes the same bytes.
void makeHalf(const QString &spkPath, const QString &textPath, int n, int half)
{
    QFile wordFile(spkPath), textFile(textPath);
    if (!wordFile.open(QIODevice::WriteOnly) || !textFile.open(QIODevice::WriteOnly))
        std::exit(1);
    QByteArray w, t, line;
    int sentence = 0, inLine = 0, linesInTurn = 0, turn = 0;
    qint64 ms = 0;
    for (int i = 0; i < n; ++i) {
        const bool silence = i % 53 == 52;
        const bool last = !silence && ++sentence >= 6 + (i * 7) % 12;
        QByteArray word = silence ? QByteArray("SIL") : QByteArray(vocabulary[(i * 13 + half) % vocabularySize]);
        if (last) {
            word += (i % 5 == 0) ? "?" : ".";
            sentence = 0;
        }
        const QByteArray speaker = turn % 2 ? "SP_02 Bob" : "SP_01 Anna";
        w += "interview_" + QByteArray::number(half) + "\t1\t" + QByteArray::number(ms / 1000.0, 'f', 3) + '\t'
             + QByteArray::number((ms + 240) / 1000.0, 'f', 3) + '\t' + word + "\t0." + QByteArray::number(50 + i % 50)
             + '\t' + speaker + '\n';
        if (linesInTurn == 0 && inLine == 0)
            t += "[StartTime: " + QByteArray::number(ms) + " ms]\n[Speaker: " + speaker + "]\n";
        if (!silence) {
            line += (inLine ? " " : "") + word;
            ++inLine;
        }
        if (inLine >= 10 || i == n - 1) {
            t += line + '\n';
            line.clear();
            inLine = 0;
            if (++linesInTurn == 3 || i == n - 1) {
                t += "[EndTime: " + QByteArray::number(ms + 240) + " ms]\n\n";
                linesInTurn = 0;
                ++turn;
            }
        }
        ms += 300;
        if (w.size() > (1 << 20)) {
            wordFile.write(w);
            textFile.write(t);
            w.clear();
            t.clear();
        }
    }
    wordFile.write(w);
    textFile.write(t);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

QString inputPath(const QString &folder, const char *kind, int n)
{
    return QStringLiteral("%1/%2_%3").arg(folder, QString::fromLatin1(kind)).arg(n);
}

// One measurement in this process, printed as milliseconds on stdout.
// "read": reading the two word files alone, as Open CTM reads them; "glue":
// the six Open commands, then the Glue command.
int measureHere(const QString &kind, const QString &folder, int n)
{
    const QString spk1 = inputPath(folder, "one", n) + ".spk", spk2 = inputPath(folder, "two", n) + ".spk";
    QElapsedTimer clock;
    clock.start();
    if (kind == u"read") {
        for (const QString &path : {spk1, spk2})
            parseWordFile(readFileBytes(path), u'\t');
        std::printf("%f\n", clock.nsecsElapsed() / 1e6);
        return 0;
    }
    Person person;
    GlueJob job(person);
    clock.restart();
    job.openWordFile(1, spk1);
    job.openWordFile(2, spk2);
    job.openText(1, inputPath(folder, "one", n) + ".txt");
    job.openText(2, inputPath(folder, "two", n) + ".txt");
    job.openRecording(1, inputPath(folder, "one", n) + ".wav");
    job.openRecording(2, inputPath(folder, "two", n) + ".wav");
    const double open = clock.nsecsElapsed() / 1e6;
    clock.restart();
    job.glue(inputPath(folder, "joined", n) + ".wav");
    const double glue = clock.nsecsElapsed() / 1e6;
    std::printf("%f %f %lld %lld %lld %lld\n", open, glue,
                static_cast<long long>(job.wordRows(WordTable::Main).size()),
                static_cast<long long>(job.phraseRows().size()),
                static_cast<long long>(job.text(TextView::Subtitles).size()),
                static_cast<long long>(job.transcriptLines().size()));
    return 0;
}

struct Times
{
    double open = 0; // the six Open commands
    double glue = 0; // the Glue command
    double read = 0; // reading the two word files alone
};

// Every measurement runs in a program of its own, as a glue from the command
// line does: a fresh heap each time, so the small glue does not run on memory
// that an earlier round left warm while the large one, whose tables exceed
// what the allocator keeps, always starts cold.
Times measure(const QString &program, const QString &folder, int n, int rounds)
{
    makeHalf(inputPath(folder, "one", n) + ".spk", inputPath(folder, "one", n) + ".txt", n, 1);
    makeHalf(inputPath(folder, "two", n) + ".spk", inputPath(folder, "two", n) + ".txt", n, 2);
    makeRecording(inputPath(folder, "one", n) + ".wav");
    makeRecording(inputPath(folder, "two", n) + ".wav");
    const auto run = [&](const char *kind) {
        QProcess p;
        p.start(program, {QStringLiteral("--one"), QString::fromLatin1(kind), folder, QString::number(n)});
        if (!p.waitForFinished(-1) || p.exitCode() != 0)
            std::exit(1);
        return QString::fromLatin1(p.readAllStandardOutput()).split(u' ');
    };
    std::vector<double> open, glue, read;
    for (int round = 0; round < rounds; ++round) {
        read.push_back(run("read").value(0).toDouble());
        const QStringList out = run("glue");
        open.push_back(out.value(0).toDouble());
        glue.push_back(out.value(1).toDouble());
        if (round == 0)
            std::printf("  %d words a half: %s rows, %s phrases, %s SRT lines, %s transcript lines\n", n,
                        qPrintable(out.value(2)), qPrintable(out.value(3)), qPrintable(out.value(4)),
                        qPrintable(out.value(5).trimmed()));
    }
    return {median(open), median(glue), median(read)};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == u"--one")
        return measureHere(args.value(2), args.value(3), args.value(4).toInt());

    const int small = args.size() > 1 ? args[1].toInt() : 50000;
    const int large = args.size() > 2 ? args[2].toInt() : 500000;
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;

    const Times s = measure(app.applicationFilePath(), folder.path(), small, 9);
    const Times l = measure(app.applicationFilePath(), folder.path(), large, 5);
    std::printf("%-26s %12s %12s\n", "median ms", "small", "large");
    std::printf("%-26s %12.1f %12.1f\n", "read two word files", s.read, l.read);
    std::printf("%-26s %12.1f %12.1f\n", "open CTM, Text, Wav 1/2", s.open, l.open);
    std::printf("%-26s %12.1f %12.1f\n", "Glue command", s.glue, l.glue);
    std::printf("%-26s %12.1f %12.1f\n", "open + Glue", s.open + s.glue, l.open + l.glue);
    std::printf("large / small, open + Glue: %.2f (aim <= 12 for ten times the words)\n",
                (l.open + l.glue) / (s.open + s.glue));
    std::printf("large / small, Glue alone:  %.2f\n", l.glue / s.glue);
    std::printf("large open + Glue / reading its two word files: %.2f (aim <= 4)\n",
                (l.open + l.glue) / l.read);
    std::printf("large Glue alone / reading its two word files:  %.2f\n", l.glue / l.read);
    return 0;
}
