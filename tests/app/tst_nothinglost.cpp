// Nothing lost: naadwerk-cli glue killed (SIGKILL) while it writes a file
// leaves the file that was there before byte for byte as it was. Each file is
// written to a temporary file beside it that replaces it only when complete;
// the test kills the program as soon as that temporary file appears. The
// inputs are large (300,000 words, five minutes of 44.1 kHz stereo) so that
// every write lasts long enough to be caught.
#include "support/cli.h"
#include "support/files.h"
#include "support/wavbuilder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int wordsPerHalf = 150000;

QByteArray hash(const QString &path)
{
    QFile f(path);
    QCryptographicHash h(QCryptographicHash::Sha256);
    if (!f.open(QIODevice::ReadOnly) || !h.addData(&f))
        return "<unreadable>";
    return h.result().toHex();
}

// A PCM WAV of a tone: 16-bit, the given rate and channels.
QByteArray toneWav(quint32 rate, quint16 channels, qint64 frames)
{
    std::vector<qint16> samples;
    samples.reserve(size_t(frames * channels));
    for (qint64 i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            samples.push_back(qint16(8000 * std::sin(double(i) * 0.0627)));
    return riff(chunk("fmt ", fmtBody(1, channels, rate, 16)) + chunk("data", pcm16(samples)));
}

// A word file of one half: a sentence end every ten words, two speakers.
QByteArray words(const char *name, int count)
{
    QByteArray b;
    b.reserve(count * 48);
    for (int i = 0; i < count; ++i) {
        const int ms = i * 300;
        b += name;
        b += "\t1\t" + QByteArray::number(ms / 1000.0, 'f', 3) + '\t'
             + QByteArray::number((ms + 250) / 1000.0, 'f', 3) + "\tword" + QByteArray::number(i % 97)
             + (i % 10 == 9 ? "." : "") + "\t0.90\t" + (i / 1000 % 2 ? "Anna" : "Bob") + '\n';
    }
    return b;
}

// A transcript text of one half: a turn of ten lines every hundred words.
QByteArray transcript(int count)
{
    QByteArray b;
    for (int i = 0; i < count; i += 100) {
        b += "[StartTime: " + QByteArray::number(i * 300) + " ms]\n[Speaker: SP_0"
             + (i / 1000 % 2 ? "1 Anna" : "2 Bob") + "]\n";
        for (int r = 0; r < 10; ++r)
            b += "word word word word word word word word word word.\n";
        b += "[EndTime: " + QByteArray::number(i * 300 + 30000) + " ms]\n\n";
    }
    return b;
}

// A temporary file of target's: "name.naadwerk-....tmp" in its folder.
QString temporaryFileOf(const QString &target)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    const QByteArray prefix = QFile::encodeName(QFileInfo(target).fileName()) + ".naadwerk-";
    QString found;
    if (DIR *d = ::opendir(folder.constData())) {
        while (dirent *e = ::readdir(d)) {
            const QByteArray name(e->d_name);
            if (name.startsWith(prefix) && name.endsWith(".tmp")) {
                found = QFile::decodeName(folder + '/' + name);
                break;
            }
        }
        ::closedir(d);
    }
    return found;
}

struct Run
{
    bool killed = false; // killed while the temporary file existed
    QString temporary;   // that file
    int status = 0;
};

// Runs naadwerk-cli with arguments and kills it as soon as a temporary file
// of target appears; when the program ends first, killed stays false.
Run runAndKill(const QStringList &arguments, const QString &target)
{
    QList<QByteArray> bytes{QFile::encodeName(cliProgram())};
    for (const QString &a : arguments)
        bytes << a.toUtf8();
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    Run run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        run.status = -1;
        return run;
    }
    posix_spawn_file_actions_destroy(&actions);

    for (;;) {
        run.temporary = temporaryFileOf(target);
        if (!run.temporary.isEmpty()) {
            ::kill(pid, SIGKILL);
            run.killed = true;
            break;
        }
        if (::waitpid(pid, &run.status, WNOHANG) == pid)
            return run;
        ::usleep(100);
    }
    ::waitpid(pid, &run.status, 0);
    return run;
}

} // namespace

class TestNothingLost : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void anInterruptedGlueLeavesTheEarlierJoinedFileWhole();
    void anInterruptedSaveLeavesEveryFileWhole_data();
    void anInterruptedSaveLeavesEveryFileWhole();

private:
    QTemporaryDir tmp;
    QString in(const QString &name) const { return tmp.filePath(u"in/"_s + name); }
};

void TestNothingLost::initTestCase()
{
    QVERIFY(tmp.isValid());
    QVERIFY(QDir(tmp.path()).mkdir(u"in"_s));
    writeBytes(in(u"half1.spk"_s), words("half1", wordsPerHalf));
    writeBytes(in(u"half2.spk"_s), words("half2", wordsPerHalf));
    // Longer texts than word lists: the transcript is the smallest file of all.
    writeBytes(in(u"half1.txt"_s), transcript(3 * wordsPerHalf));
    writeBytes(in(u"half2.txt"_s), transcript(3 * wordsPerHalf));
    writeBytes(in(u"half1.wav"_s), toneWav(16000, 1, 16000));
    writeBytes(in(u"half2.wav"_s), toneWav(16000, 1, 16000));
    writeBytes(in(u"long.wav"_s), toneWav(44100, 2, 44100 * 300));
}

void TestNothingLost::anInterruptedGlueLeavesTheEarlierJoinedFileWhole()
{
    // The joined recording goes over the one an earlier Glue wrote (Glue
    // refuses to write over an opened input).
    const QString wav1 = tmp.filePath(u"recording.wav"_s);
    QVERIFY(QFile::copy(in(u"long.wav"_s), wav1));
    const QString earlier = tmp.filePath(u"earlier.wav"_s);
    QVERIFY(QFile::copy(in(u"long.wav"_s), earlier));
    const QByteArray before = hash(earlier);

    const Run run = runAndKill({u"glue"_s, u"--wav1"_s, wav1, u"--wav2"_s, in(u"half2.wav"_s), u"--joined"_s,
                                earlier, u"--no-save"_s},
                               earlier);
    QVERIFY2(run.killed, "the join ended before its temporary file was seen");
    QVERIFY(WIFSIGNALED(run.status));
    QCOMPARE(WTERMSIG(run.status), SIGKILL);
    QCOMPARE(hash(earlier), before);
    // What was being written is left beside it, never in its place.
    QVERIFY(QFile::exists(run.temporary));
    QVERIFY(QFile::remove(run.temporary));
    QVERIFY(QFile::remove(wav1));
    QVERIFY(QFile::remove(earlier));
}

void TestNothingLost::anInterruptedSaveLeavesEveryFileWhole_data()
{
    QTest::addColumn<QString>("target");
    // The files of Save; the joined recording before them is small here.
    for (const char *name : {"joined.srt", "joined.spk", "joined.txt", "joined.html", "joined_word.txt"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestNothingLost::anInterruptedSaveLeavesEveryFileWhole()
{
    QFETCH(QString, target);
    // The order in which Glue and Save write them.
    const QStringList order = {u"joined.wav"_s, u"joined.srt"_s, u"joined.spk"_s,
                               u"joined.txt"_s, u"joined.html"_s, u"joined_word.txt"_s};

    QTemporaryDir out;
    QVERIFY(out.isValid());
    QMap<QString, QByteArray> before;
    for (const QString &name : order) {
        writeBytes(out.filePath(name), "earlier " + name.toUtf8() + "\r\n");
        before.insert(name, hash(out.filePath(name)));
    }

    const Run run = runAndKill(
        {u"glue"_s, u"--ctm1"_s, in(u"half1.spk"_s), u"--ctm2"_s, in(u"half2.spk"_s), u"--text1"_s,
         in(u"half1.txt"_s), u"--text2"_s, in(u"half2.txt"_s), u"--wav1"_s, in(u"half1.wav"_s),
         u"--wav2"_s, in(u"half2.wav"_s), u"--joined"_s, out.filePath(u"joined.wav"_s), u"--srt"_s,
         out.filePath(u"joined.srt"_s)},
        out.filePath(target));
    QVERIFY2(run.killed, qPrintable(target + u" was written before its temporary file was seen"_s));
    QCOMPARE(WTERMSIG(run.status), SIGKILL);

    // Glue replaced the joined recording; Save replaces its files only once
    // all are complete, so each of them, before the one being written too,
    // is as it was.
    for (qsizetype i = 0; i < order.size(); ++i) {
        const QByteArray now = hash(out.filePath(order[i]));
        if (i == 0)
            QVERIFY2(now != before[order[i]], qPrintable(order[i] + u" was not replaced"_s));
        else
            QCOMPARE(now, before[order[i]]);
    }
    QVERIFY(QFile::exists(run.temporary));
}

QTEST_GUILESS_MAIN(TestNothingLost)
#include "tst_nothinglost.moc"
