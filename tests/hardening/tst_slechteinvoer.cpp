// Bad inputs through the job's commands, as the window and naadwerk-cli run
// them: open the six inputs, Glue, Save, stopping at the first error. Every
// row names the message the person sees and which outputs are written; every
// other file in the folder, the outputs of an earlier run included, must be
// byte for byte what it was, and no temporary file may be left behind.
#include "audio/defwaves.h"
#include "job/tnaadwerkjob.h"
#include "lines/efout.h"
#include "lines/regellijst.h"
#include "lines/tleesctm.h"
#include "lines/tleessrts.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>

#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// Answers the open dialogs and the save dialogs from two queues; an empty
// queue cancels.
class TTafelPersoon : public TPersoon
{
public:
    QStringList open;
    QStringList bewaar;
    QString kiesOpenBestand(int) override { return open.isEmpty() ? QString() : open.takeFirst(); }
    QString kiesBewaarBestand(int, const QString &, const QString &) override
    {
        return bewaar.isEmpty() ? QString() : bewaar.takeFirst();
    }
};

constexpr qint64 framesPerHelft = 16000; // one second of each half

void zet16(QByteArray &b, quint16 v)
{
    char d[2];
    qToLittleEndian(v, d);
    b.append(d, 2);
}

void zet32(QByteArray &b, quint32 v)
{
    char d[4];
    qToLittleEndian(v, d);
    b.append(d, 4);
}

// "RIFF" riffSize "WAVE", then a 16-byte "fmt " chunk of mono 16-bit 16 kHz.
QByteArray riffEnFmt(quint32 riffSize, quint32 fmtSize = 16)
{
    QByteArray b = "RIFF";
    zet32(b, riffSize);
    b += "WAVEfmt ";
    zet32(b, fmtSize);
    zet16(b, 1);
    zet16(b, 1);
    zet32(b, 16000);
    zet32(b, 32000);
    zet16(b, 2);
    zet16(b, 16);
    return b;
}

// A whole mono 16-bit 16 kHz WAV file, the sizes as given; the samples a
// quiet saw tooth, or silence.
QByteArray wav(qint64 frames, bool stil = false)
{
    const auto data = quint32(frames * 2);
    QByteArray b = riffEnFmt(data + 36);
    b += "data";
    zet32(b, data);
    for (qint64 i = 0; i < frames; ++i)
        zet16(b, stil ? 0 : quint16(qint16((i % 200) * 20 - 2000)));
    return b;
}

QByteArray regels(const QStringList &lijst)
{
    return (lijst.join(u'\n') + u'\n').toUtf8();
}

const QStringList spk1 = {u"half1\t1\t0.000\t0.400\tSIL\t1.00\tAnna"_s,
                          u"half1\t1\t0.400\t0.700\tGood\t0.97\tAnna"_s,
                          u"half1\t1\t0.700\t0.950\tmorning.\t0.94\tAnna"_s};
const QStringList spk2 = {u"half2\t1\t0.000\t0.300\tYes,\t0.90\tBob"_s,
                          u"half2\t1\t0.300\t0.800\tindeed.\t0.90\tBob"_s};
const QStringList tekst1 = {u"[StartTime: 400 ms]"_s, u"[Speaker: SP_01 Anna]"_s,
                            u"Good morning."_s, u"[EndTime: 950 ms]"_s};
const QStringList tekst2 = {u"[StartTime: 1000 ms]"_s, u"[Speaker: SP_02 Bob]"_s,
                            u"Yes, indeed."_s, u"[EndTime: 1800 ms]"_s};

// What the folder holds: the bytes of each file under it (its size and a
// hash for the sparse giants), by path relative to it.
using Inhoud = QMap<QString, QByteArray>;

Inhoud leesMap(const QString &map)
{
    Inhoud inhoud;
    QDirIterator it(map, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString pad = it.next();
        QFile f(pad);
        QByteArray bytes = "<unreadable>";
        if (f.open(QIODevice::ReadOnly)) {
            if (f.size() <= (64 << 20))
                bytes = f.readAll();
            else
                bytes = "<" + QByteArray::number(f.size()) + " bytes, starting "
                        + QCryptographicHash::hash(f.read(1 << 20), QCryptographicHash::Sha1).toHex() + ">";
        }
        inhoud.insert(QDir(map).relativeFilePath(pad), bytes);
    }
    return inhoud;
}

void schrijf(const QString &pad, const QByteArray &bytes)
{
    QFile f(pad);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(pad));
}

// A sparse WAV whose header is followed by nothing but a hole: large on the
// disk's books, no room taken.
void schrijfReus(const QString &pad, const QByteArray &kop, qint64 grootte)
{
    schrijf(pad, kop);
    QFile f(pad);
    if (!f.resize(grootte))
        qFatal("cannot resize %s", qPrintable(pad));
}

QString reden(int fout)
{
    return QString::fromLocal8Bit(std::strerror(fout));
}

// A small tmpfs mounted on a folder for as long as it lives.
class TKleineSchijf
{
public:
    TKleineSchijf(const QString &map, const char *grootte) : hetPad(map)
    {
        QDir().mkpath(map);
        const QByteArray opties = QByteArray("size=") + grootte;
        gelukt = ::geteuid() == 0
                 && ::mount("tmpfs", QFile::encodeName(map).constData(), "tmpfs", 0, opties.constData()) == 0;
    }
    ~TKleineSchijf()
    {
        if (gelukt)
            ::umount2(QFile::encodeName(hetPad).constData(), MNT_DETACH);
    }
    bool gelukt = false;

private:
    QString hetPad;
};

// Fills the file system of map to the last byte.
void vulTotDeRand(const QString &map)
{
    QFile f(map + u"/vulling"_s);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot fill %s", qPrintable(map));
    const QByteArray blok(4096, 'v');
    while (f.write(blok) == blok.size() && f.flush()) {
    }
    f.close();
    QFile g(map + u"/vulling2"_s); // the last partial block
    if (g.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        while (g.write("v", 1) == 1) {
        }
}

// Runs doe in a child process that has given up root, so that folder
// permissions apply, and returns what it returns. Without root it runs here.
QString zonderRoot(const std::function<QString()> &doe)
{
    if (::geteuid() != 0)
        return doe();
    int pijp[2];
    if (::pipe(pijp) != 0)
        return u"pipe failed"_s;
    const pid_t kind = ::fork();
    if (kind == 0) {
        ::close(pijp[0]);
        QByteArray bericht = "could not give up root";
        if (::setgid(65534) == 0 && ::setuid(65534) == 0)
            bericht = doe().toUtf8();
        (void)!::write(pijp[1], bericht.constData(), size_t(bericht.size()));
        ::_exit(0); // no destructors: the parent's temporary folder stays
    }
    ::close(pijp[1]);
    QByteArray uit;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(pijp[0], buf, sizeof buf)) > 0)
        uit.append(buf, n);
    ::close(pijp[0]);
    ::waitpid(kind, nullptr, 0);
    return QString::fromUtf8(uit);
}

} // namespace

class TestSlechteInvoer : public QObject
{
    Q_OBJECT
private slots:
    void slechteInvoerGeeftEenMeldingEnLaatDeBestandenHeel_data();
    void slechteInvoerGeeftEenMeldingEnLaatDeBestandenHeel();
};

void TestSlechteInvoer::slechteInvoerGeeftEenMeldingEnLaatDeBestandenHeel_data()
{
    // invoer: the input that holds inhoud ("ctm1", "text1", "wav1", "wav2"
    // or none); wanneer: "open" when it holds it from the start, "glue" when
    // it was good when opened and changed before Glue; geval: a set-up that
    // bytes cannot describe; melding: the message ("%m" the folder, empty
    // when all goes well); geschreven: the outputs written whole.
    QTest::addColumn<QString>("invoer");
    QTest::addColumn<QByteArray>("inhoud");
    QTest::addColumn<QString>("wanneer");
    QTest::addColumn<bool>("tab");
    QTest::addColumn<QString>("geval");
    QTest::addColumn<QString>("melding");
    QTest::addColumn<QStringList>("geschreven");

    const QStringList alles = {u"joined.wav"_s, u"joined.srt"_s, u"joined.spk"_s,
                               u"joined.txt"_s, u"joined.html"_s, u"joined_word.txt"_s};
    const QStringList wavAlleen = {u"joined.wav"_s};
    const QString float_ = u"'%1' is not a valid floating point value"_s;
    const QString afgekapt = u"Truncated WAV header"_s;

    const auto rij = [](const char *naam) -> QTestData & { return QTest::newRow(naam); };

    rij("an empty CTM file") << u"ctm1"_s << QByteArray() << u"open"_s << true << QString() << QString()
                             << alles;
    // A line without the separator is all start field: empty when the
    // separator is missing, the bytes up to the first blank otherwise.
    rij("a recording given as CTM, Tab") << u"ctm1"_s << wav(framesPerHelft, true) << u"open"_s << true
                                         << QString() << float_.arg(QString()) << QStringList();
    rij("a recording given as CTM, blank")
        << u"ctm1"_s << wav(framesPerHelft, true) << u"open"_s << false << QString()
        << float_.arg(u"RIFF$}\uFFFD\uFFFDWAVEfmt"_s) << QStringList();
    rij("a CTM of blanks read with Tab")
        << u"ctm1"_s << regels(spk1).replace('\t', ' ') << u"open"_s << true << QString()
        << float_.arg(QString()) << QStringList();
    rij("a CTM of tabs read with blanks, a blank in a word")
        << u"ctm1"_s << regels(QStringList{u"half1\t1\t0.400\t0.700\tnew york\t0.97\tAnna"_s} + spk1)
        << u"open"_s << false << QString() << float_.arg(u"half1\t1\t0.400\t0.700\tnew"_s)
        << QStringList();
    rij("a CTM word of 100,000 characters")
        << u"ctm1"_s << regels({spk1[0], u"half1\t1\t0.400\t0.700\t"_s + QString(100000, u'w') + u".\t0.97\tAnna"_s})
        << u"open"_s << true << QString() << QString() << alles;
    rij("a CTM time of 100,000 digits")
        << u"ctm1"_s << regels({u"half1\t1\t"_s + QString(100000, u'1') + u"\t0.700\tGood.\t0.97\tAnna"_s})
        << u"open"_s << true << QString() << float_.arg(QString(60, u'1') + u"..."_s) << QStringList();

    rij("an empty text") << u"text1"_s << QByteArray() << u"open"_s << true << QString() << QString()
                         << alles;
    rij("a recording given as text") << u"text1"_s << wav(framesPerHelft) << u"open"_s << true
                                     << QString() << QString() << alles;
    rij("a text with NUL bytes") << u"text1"_s << QByteArray("[StartTime: 400 ms]\nGood\0morning.\n\0\n", 36)
                                 << u"open"_s << true << QString() << QString() << alles;
    rij("a text line of 100,000 characters")
        << u"text1"_s << regels({QString(100000, u'x')}) << u"open"_s << true << QString() << QString()
        << alles;
    // The transcript is built after the joined recording was written.
    rij("a start time of 100,000 digits")
        << u"text1"_s << regels({u"[StartTime: "_s + QString(100000, u'9') + u" ms]"_s, u"Hello."_s})
        << u"open"_s << true << QString()
        << u"'%1...' is not a valid integer value"_s.arg(QString(60, u'9')) << wavAlleen;

    // A WAV cut short inside its 44-byte header, opened or changed before Glue.
    const QByteArray heel = wav(framesPerHelft);
    for (int k = 0; k <= 44; ++k) {
        QString m = afgekapt;
        if (k == 12)
            m = u"Wrong idFmt"_s;
        else if (k == 36)
            m = u"Wrong idData"_s;
        else if (k == 44)
            m.clear();
        for (const char *invoerNaam : {"wav1", "wav2"})
            for (const char *stap : {"open", "glue"})
                QTest::addRow("%s cut after %d bytes, %s", invoerNaam, k, stap)
                    << QString::fromLatin1(invoerNaam) << heel.first(k) << QString::fromLatin1(stap)
                    << true << QString() << m << (k == 44 ? alles : QStringList());
    }
    QTest::addRow("WAV 1 not a RIFF file") << u"wav1"_s << QByteArray("RIFX") << u"open"_s << true
                                           << QString() << u"Wrong idRIFF"_s << QStringList();

    // A recorder that stopped without closing its file.
    QByteArray claimt2GB = riffEnFmt(0x80000024u);
    claimt2GB += "data";
    zet32(claimt2GB, 0x80000000u);
    claimt2GB += wav(framesPerHelft).sliced(44);
    rij("a WAV whose sizes claim 2 GB") << u"wav1"_s << claimt2GB << u"open"_s << true << QString()
                                        << QString() << alles;
    QByteArray lijst2GB = riffEnFmt(0x80000024u);
    lijst2GB += "LIST";
    zet32(lijst2GB, 0x7FFFFFFFu);
    lijst2GB += "INFO" + wav(framesPerHelft);
    rij("a chunk before the data claiming 2 GB") << u"wav1"_s << lijst2GB << u"open"_s << true
                                                 << QString() << afgekapt << QStringList();
    QByteArray fmt2GB = riffEnFmt(0x80000024u, 0x80000000u);
    fmt2GB += QByteArray(24, '\0') + "data" + wav(framesPerHelft).sliced(40);
    rij("a fmt chunk claiming 2 GB") << u"wav1"_s << fmt2GB << u"open"_s << true << QString()
                                     << afgekapt << QStringList();
    rij("a WAV of more than 4 GB")
        << u"wav1"_s << QByteArray() << u"open"_s << true << u"wav1-over-4-gb"_s
        << u"The file \"%m/half1.wav\" is larger than 4 GB, more than the sizes in a WAV header can describe"_s
        << QStringList();
    rij("two halves of 2.2 GB")
        << QString() << QByteArray() << u"open"_s << true << u"samen-over-4-gb"_s
        << u"The joined recording would be larger than 4 GB, more than a WAV file can hold"_s
        << QStringList();

    rij("names with blanks, non-ASCII characters and no extension")
        << QString() << QByteArray() << u"open"_s << true << u"vreemde-namen"_s << QString()
        << QStringList{u"Samen één ü"_s, u"Samen één ü.srt"_s, u"Samen één ü.spk"_s,
                       u"Samen één ü.txt"_s, u"Samen één ü.html"_s, u"Samen één ü_word.txt"_s};

    const QString maken = u"Cannot create file \"%m/%1\". %2"_s;
    rij("the joined recording's folder does not exist")
        << QString() << QByteArray() << u"open"_s << true << u"joined-map-weg"_s
        << maken.arg(u"weg/joined.wav"_s, reden(ENOENT)) << QStringList();
    rij("the joined recording is a folder")
        << QString() << QByteArray() << u"open"_s << true << u"joined-is-map"_s
        << maken.arg(u"map.wav"_s, reden(EISDIR)) << QStringList();
    rij("the SRT is a folder")
        << QString() << QByteArray() << u"open"_s << true << u"srt-is-map"_s
        << maken.arg(u"map.srt"_s, reden(EISDIR)) << wavAlleen;
    rij("the joined recording's folder is read-only")
        << QString() << QByteArray() << u"open"_s << true << u"joined-alleen-lezen"_s
        << maken.arg(u"dicht/joined.wav"_s, reden(EACCES)) << QStringList();
    rij("the SRT's folder is read-only")
        << QString() << QByteArray() << u"open"_s << true << u"srt-alleen-lezen"_s
        << maken.arg(u"dicht/joined.srt"_s, reden(EACCES)) << wavAlleen;
    rij("the disk fills up during the joined recording")
        << QString() << QByteArray() << u"open"_s << true << u"joined-vol"_s
        << maken.arg(u"vol/joined.wav"_s, reden(ENOSPC)) << QStringList();
    rij("the disk is full when the SRT is saved")
        << QString() << QByteArray() << u"open"_s << true << u"srt-vol"_s
        << maken.arg(u"vol/joined.srt"_s, reden(ENOSPC)) << wavAlleen;
}

void TestSlechteInvoer::slechteInvoerGeeftEenMeldingEnLaatDeBestandenHeel()
{
    QFETCH(QString, invoer);
    QFETCH(QByteArray, inhoud);
    QFETCH(QString, wanneer);
    QFETCH(bool, tab);
    QFETCH(QString, geval);
    QFETCH(QString, melding);
    QFETCH(QStringList, geschreven);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString map = tmp.path();
    // Open to all: a child that gave up root writes here too.
    QVERIFY(QFile::setPermissions(map, QFileDevice::Permissions(0x7777)));

    // The six inputs; "vreemde-namen" names them and the outputs differently.
    const bool vreemd = geval == u"vreemde-namen";
    const QMap<QString, QString> namen = {
        {u"ctm1"_s, vreemd ? u"Woorden één 1"_s : u"half1.spk"_s},
        {u"ctm2"_s, vreemd ? u"Woorden één 2"_s : u"half2.spk"_s},
        {u"text1"_s, vreemd ? u"Tekst één 1"_s : u"half1.txt"_s},
        {u"text2"_s, vreemd ? u"Tekst één 2"_s : u"half2.txt"_s},
        {u"wav1"_s, vreemd ? u"Opname één 1"_s : u"half1.wav"_s},
        {u"wav2"_s, vreemd ? u"Opname één 2"_s : u"half2.wav"_s}};
    const auto pad = [&](const QString &invoerNaam) { return map + u'/' + namen[invoerNaam]; };
    schrijf(pad(u"ctm1"_s), regels(spk1));
    schrijf(pad(u"ctm2"_s), regels(spk2));
    schrijf(pad(u"text1"_s), regels(tekst1));
    schrijf(pad(u"text2"_s), regels(tekst2));
    schrijf(pad(u"wav1"_s), wav(framesPerHelft));
    schrijf(pad(u"wav2"_s), wav(framesPerHelft));
    if (!invoer.isEmpty() && wanneer == u"open")
        schrijf(pad(invoer), inhoud);

    // The outputs of an earlier run, which only a whole new file may replace.
    QString uitMap = map;
    QString joined = map + u"/joined.wav"_s;
    QString srt = map + u"/joined.srt"_s;
    std::unique_ptr<TKleineSchijf> schijf;
    if (geval == u"joined-vol" || geval == u"srt-vol") {
        schijf = std::make_unique<TKleineSchijf>(map + u"/vol"_s, "48k");
        if (!schijf->gelukt)
            QSKIP("Mounting a small tmpfs needs root and a system that allows it: no full disk here.");
        uitMap = map + u"/vol"_s;
    }
    if (geval == u"joined-vol")
        joined = uitMap + u"/joined.wav"_s;
    if (geval == u"srt-vol")
        srt = uitMap + u"/joined.srt"_s;
    for (const QString &naam : {u"joined.wav"_s, u"joined.srt"_s, u"joined.spk"_s, u"joined.txt"_s,
                                u"joined.html"_s, u"joined_word.txt"_s})
        schrijf(uitMap + u'/' + naam, "earlier " + naam.toUtf8() + "\r\n");
    if (geval == u"srt-vol")
        vulTotDeRand(uitMap);

    if (vreemd) {
        joined = map + u"/Samen één ü"_s;
        srt = map + u"/Samen één ü.srt"_s;
    } else if (geval == u"joined-map-weg") {
        joined = map + u"/weg/joined.wav"_s;
    } else if (geval == u"joined-is-map") {
        joined = map + u"/map.wav"_s;
        QVERIFY(QDir(map).mkdir(u"map.wav"_s));
    } else if (geval == u"srt-is-map") {
        srt = map + u"/map.srt"_s;
        QVERIFY(QDir(map).mkdir(u"map.srt"_s));
    } else if (geval == u"joined-alleen-lezen" || geval == u"srt-alleen-lezen") {
        QVERIFY(QDir(map).mkdir(u"dicht"_s));
        QVERIFY(QFile::setPermissions(map + u"/dicht"_s, QFile::ReadOwner | QFile::ExeOwner
                                                            | QFile::ReadOther | QFile::ExeOther));
        if (geval == u"joined-alleen-lezen")
            joined = map + u"/dicht/joined.wav"_s;
        else
            srt = map + u"/dicht/joined.srt"_s;
    } else if (geval == u"wav1-over-4-gb") {
        schrijfReus(pad(u"wav1"_s), riffEnFmt(0xFFFFFFFFu) + "data" + QByteArray(4, '\xFF'),
                    (qint64(1) << 32) + 4096);
    } else if (geval == u"samen-over-4-gb") {
        const qint64 data = 2200000000;
        QByteArray kop = riffEnFmt(quint32(data + 36)) + "data";
        zet32(kop, quint32(data));
        schrijfReus(pad(u"wav1"_s), kop, 44 + data);
        schrijfReus(pad(u"wav2"_s), kop, 44 + data);
    }

    Inhoud vooraf = leesMap(map);
    const auto voerUit = [&]() -> QString {
        TTafelPersoon persoon;
        TNaadwerkJob job(persoon);
        job.rbTab = tab;
        persoon.open = {pad(u"ctm1"_s), pad(u"ctm2"_s), pad(u"text1"_s),
                        pad(u"text2"_s), pad(u"wav1"_s), pad(u"wav2"_s)};
        persoon.bewaar = {joined, srt};
        try {
            job.miCTM1Click();
            job.miCTM2Click();
            job.miOpenText1Click();
            job.miOpenText2Click();
            job.miWav1Click();
            job.miWav2Click();
            if (wanneer == u"glue") {
                schrijf(pad(invoer), inhoud);
                vooraf[QDir(map).relativeFilePath(pad(invoer))] = inhoud;
            }
            job.miGlueClick();
            job.miSaveClick();
        } catch (const EFout &e) {
            return e.bericht();
        }
        // The outputs hold what the job built, whole.
        if (leesWavKop(job.fnWav0).aantalFrames != job.L0)
            return u"not whole: "_s + job.fnWav0;
        const QList<std::pair<QString, QStringList>> teksten = {
            {job.fnSRT, job.srt0->deRegels}, {job.fnCTM0, job.ctm0->deRegels},
            {job.fnText0, job.tekst(TTekstView::Text1)}, {job.fnKarao, job.deHTML},
            {job.fnWord, job.deWord}};
        for (const auto &[bestand, lijst] : teksten) {
            QFile f(bestand);
            if (!f.open(QIODevice::ReadOnly) || f.readAll() != regellijstNaarBytes(lijst))
                return u"not whole: "_s + bestand;
        }
        return QString();
    };
    const bool zonderRechten = geval.endsWith(u"alleen-lezen"_s);
    const QString gezien = zonderRechten ? zonderRoot(voerUit) : voerUit();
    QCOMPARE(gezien, QString(melding).replace(u"%m"_s, map));

    // Every file is as it was, except the outputs written, and no other
    // file has come: no temporary file was left behind.
    const Inhoud achteraf = leesMap(map);
    QStringList bestanden = vooraf.keys() + geschreven;
    bestanden.removeDuplicates();
    bestanden.sort();
    QCOMPARE(achteraf.keys().join(u", "_s), bestanden.join(u", "_s));
    for (auto it = vooraf.cbegin(); it != vooraf.cend(); ++it)
        if (!geschreven.contains(it.key()))
            QVERIFY2(achteraf.value(it.key()) == it.value(), qPrintable(u"changed: "_s + it.key()));
    for (const QString &naam : geschreven)
        QVERIFY2(achteraf.value(naam) != vooraf.value(naam), qPrintable(u"not replaced: "_s + naam));
    if (geschreven.contains(QDir(map).relativeFilePath(joined))) {
        // The joined recording is whole: its header counts the samples it holds.
        const TWavGegevens kop = leesWavKop(joined);
        QCOMPARE(QFileInfo(joined).size(), 44 + 2 * kop.aantalFrames);
        QCOMPARE(qint64(kop.chunkKop.dataSize), 2 * kop.aantalFrames);
    }
}

QTEST_GUILESS_MAIN(TestSlechteInvoer)
#include "tst_slechteinvoer.moc"
