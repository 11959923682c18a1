// Nothing lost: naadwerk-cli glue killed (SIGKILL) while it writes a file
// leaves the file that was there before byte for byte as it was. Each file is
// written to a temporary file beside it that replaces it only when complete;
// the test kills the program as soon as that temporary file appears. The
// inputs are large (300,000 words, five minutes of 44.1 kHz stereo) so that
// every write lasts long enough to be caught.
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <cstring>
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

constexpr int woordenPerHelft = 150000;

QString cli()
{
    return QStringLiteral(NAADWERK_BINARY_DIR "/src/app/naadwerk-cli");
}

void schrijf(const QString &pad, const QByteArray &bytes)
{
    QFile f(pad);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(pad));
}

QByteArray hash(const QString &pad)
{
    QFile f(pad);
    QCryptographicHash h(QCryptographicHash::Sha256);
    if (!f.open(QIODevice::ReadOnly) || !h.addData(&f))
        return "<unreadable>";
    return h.result().toHex();
}

// A PCM WAV of a tone: 16-bit, the given rate and channels.
QByteArray wav(quint32 rate, quint16 kanalen, qint64 frames)
{
    QByteArray b(44 + frames * kanalen * 2, Qt::Uninitialized);
    char *p = b.data();
    const auto data = quint32(frames * kanalen * 2);
    std::memcpy(p, "RIFF", 4);
    qToLittleEndian<quint32>(data + 36, p + 4);
    std::memcpy(p + 8, "WAVEfmt ", 8);
    qToLittleEndian<quint32>(16, p + 16);
    qToLittleEndian<quint16>(1, p + 20);
    qToLittleEndian<quint16>(kanalen, p + 22);
    qToLittleEndian<quint32>(rate, p + 24);
    qToLittleEndian<quint32>(rate * kanalen * 2, p + 28);
    qToLittleEndian<quint16>(quint16(kanalen * 2), p + 32);
    qToLittleEndian<quint16>(16, p + 34);
    std::memcpy(p + 36, "data", 4);
    qToLittleEndian<quint32>(data, p + 40);
    auto *s = reinterpret_cast<qint16 *>(p + 44);
    for (qint64 i = 0; i < frames; ++i)
        for (int c = 0; c < kanalen; ++c)
            *s++ = qToLittleEndian(qint16(8000 * std::sin(double(i) * 0.0627)));
    return b;
}

// A word file of one half: a sentence end every ten words, two speakers.
QByteArray woorden(const char *naam, int aantal)
{
    QByteArray b;
    b.reserve(aantal * 48);
    for (int i = 0; i < aantal; ++i) {
        const int ms = i * 300;
        b += naam;
        b += "\t1\t" + QByteArray::number(ms / 1000.0, 'f', 3) + '\t'
             + QByteArray::number((ms + 250) / 1000.0, 'f', 3) + "\tword" + QByteArray::number(i % 97)
             + (i % 10 == 9 ? "." : "") + "\t0.90\t" + (i / 1000 % 2 ? "Anna" : "Bob") + '\n';
    }
    return b;
}

// A transcript text of one half: a turn of ten lines every hundred words.
QByteArray tekst(int aantal)
{
    QByteArray b;
    for (int i = 0; i < aantal; i += 100) {
        b += "[StartTime: " + QByteArray::number(i * 300) + " ms]\n[Speaker: SP_0"
             + (i / 1000 % 2 ? "1 Anna" : "2 Bob") + "]\n";
        for (int r = 0; r < 10; ++r)
            b += "word word word word word word word word word word.\n";
        b += "[EndTime: " + QByteArray::number(i * 300 + 30000) + " ms]\n\n";
    }
    return b;
}

// A temporary file of doel's: "name.naadwerk-....tmp" in its folder.
QString tijdelijkBestand(const QString &doel)
{
    const QByteArray map = QFile::encodeName(QFileInfo(doel).absolutePath());
    const QByteArray voor = QFile::encodeName(QFileInfo(doel).fileName()) + ".naadwerk-";
    QString gevonden;
    if (DIR *d = ::opendir(map.constData())) {
        while (dirent *e = ::readdir(d)) {
            const QByteArray naam(e->d_name);
            if (naam.startsWith(voor) && naam.endsWith(".tmp")) {
                gevonden = QFile::decodeName(map + '/' + naam);
                break;
            }
        }
        ::closedir(d);
    }
    return gevonden;
}

struct TAfloop
{
    bool gedood = false; // killed while the temporary file existed
    QString tijdelijk;   // that file
    int status = 0;
};

// Runs naadwerk-cli with argumenten and kills it as soon as a temporary
// file of doel appears; when the program ends first, gedood stays false.
TAfloop draaiEnDood(const QStringList &argumenten, const QString &doel)
{
    QList<QByteArray> bytes{QFile::encodeName(cli())};
    for (const QString &a : argumenten)
        bytes << a.toUtf8();
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t acties;
    posix_spawn_file_actions_init(&acties);
    posix_spawn_file_actions_addopen(&acties, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    TAfloop afloop;
    if (posix_spawn(&pid, argv[0], &acties, nullptr, argv.data(), environ) != 0) {
        posix_spawn_file_actions_destroy(&acties);
        afloop.status = -1;
        return afloop;
    }
    posix_spawn_file_actions_destroy(&acties);

    for (;;) {
        afloop.tijdelijk = tijdelijkBestand(doel);
        if (!afloop.tijdelijk.isEmpty()) {
            ::kill(pid, SIGKILL);
            afloop.gedood = true;
            break;
        }
        if (::waitpid(pid, &afloop.status, WNOHANG) == pid)
            return afloop;
        ::usleep(100);
    }
    ::waitpid(pid, &afloop.status, 0);
    return afloop;
}

} // namespace

class TestNietsVerloren : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void eenAfgebrokenGlueLaatWav1Heel();
    void eenAfgebrokenSaveLaatElkBestandHeel_data();
    void eenAfgebrokenSaveLaatElkBestandHeel();

private:
    QTemporaryDir tmp;
    QString in(const QString &naam) const { return tmp.filePath(u"in/"_s + naam); }
};

void TestNietsVerloren::initTestCase()
{
    QVERIFY(tmp.isValid());
    QVERIFY(QDir(tmp.path()).mkdir(u"in"_s));
    schrijf(in(u"half1.spk"_s), woorden("half1", woordenPerHelft));
    schrijf(in(u"half2.spk"_s), woorden("half2", woordenPerHelft));
    // Longer texts than word lists: the transcript is the smallest file of all.
    schrijf(in(u"half1.txt"_s), tekst(3 * woordenPerHelft));
    schrijf(in(u"half2.txt"_s), tekst(3 * woordenPerHelft));
    schrijf(in(u"half1.wav"_s), wav(16000, 1, 16000));
    schrijf(in(u"half2.wav"_s), wav(16000, 1, 16000));
    schrijf(in(u"lang.wav"_s), wav(44100, 2, 44100 * 300));
}

void TestNietsVerloren::eenAfgebrokenGlueLaatWav1Heel()
{
    // The joined recording goes over WAV 1, as when the person accepts the
    // name the Glue dialog proposes.
    const QString wav1 = tmp.filePath(u"opname.wav"_s);
    QVERIFY(QFile::copy(in(u"lang.wav"_s), wav1));
    const QByteArray vooraf = hash(wav1);

    const TAfloop afloop = draaiEnDood({u"glue"_s, u"--wav1"_s, wav1, u"--wav2"_s, in(u"half2.wav"_s),
                                        u"--joined"_s, wav1, u"--no-save"_s},
                                       wav1);
    QVERIFY2(afloop.gedood, "the join ended before its temporary file was seen");
    QVERIFY(WIFSIGNALED(afloop.status));
    QCOMPARE(WTERMSIG(afloop.status), SIGKILL);
    QCOMPARE(hash(wav1), vooraf);
    // What was being written is left beside it, never in its place.
    QVERIFY(QFile::exists(afloop.tijdelijk));
    QVERIFY(QFile::remove(afloop.tijdelijk));
    QVERIFY(QFile::remove(wav1));
}

void TestNietsVerloren::eenAfgebrokenSaveLaatElkBestandHeel_data()
{
    QTest::addColumn<QString>("doel");
    // The files of Save; the joined recording before them is small here.
    for (const char *naam : {"joined.srt", "joined.spk", "joined.txt", "joined.html", "joined_word.txt"})
        QTest::newRow(naam) << QString::fromLatin1(naam);
}

void TestNietsVerloren::eenAfgebrokenSaveLaatElkBestandHeel()
{
    QFETCH(QString, doel);
    // The order in which Glue and Save write them.
    const QStringList volgorde = {u"joined.wav"_s, u"joined.srt"_s, u"joined.spk"_s,
                                  u"joined.txt"_s, u"joined.html"_s, u"joined_word.txt"_s};

    QTemporaryDir uit;
    QVERIFY(uit.isValid());
    QMap<QString, QByteArray> vooraf;
    for (const QString &naam : volgorde) {
        schrijf(uit.filePath(naam), "earlier " + naam.toUtf8() + "\r\n");
        vooraf.insert(naam, hash(uit.filePath(naam)));
    }

    const TAfloop afloop = draaiEnDood(
        {u"glue"_s, u"--ctm1"_s, in(u"half1.spk"_s), u"--ctm2"_s, in(u"half2.spk"_s), u"--text1"_s,
         in(u"half1.txt"_s), u"--text2"_s, in(u"half2.txt"_s), u"--wav1"_s, in(u"half1.wav"_s),
         u"--wav2"_s, in(u"half2.wav"_s), u"--joined"_s, uit.filePath(u"joined.wav"_s), u"--srt"_s,
         uit.filePath(u"joined.srt"_s)},
        uit.filePath(doel));
    QVERIFY2(afloop.gedood, qPrintable(doel + u" was written before its temporary file was seen"_s));
    QCOMPARE(WTERMSIG(afloop.status), SIGKILL);

    // The file being written is as it was, so are those after it; those
    // before it were replaced.
    const qsizetype k = volgorde.indexOf(doel);
    for (qsizetype i = 0; i < volgorde.size(); ++i) {
        const QByteArray nu = hash(uit.filePath(volgorde[i]));
        if (i < k)
            QVERIFY2(nu != vooraf[volgorde[i]], qPrintable(volgorde[i] + u" was not replaced"_s));
        else
            QCOMPARE(nu, vooraf[volgorde[i]]);
    }
    QVERIFY(QFile::exists(afloop.tijdelijk));
}

QTEST_GUILESS_MAIN(TestNietsVerloren)
#include "tst_nietsverloren.moc"
