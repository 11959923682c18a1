#include "audio/defwaves.h"
#include "lines/efout.h"
#include "wavbouw_helper.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

namespace {

const QString afgekapt = QStringLiteral("Truncated WAV header");

// The message an action throws, or "(no error)".
QString foutVan(const std::function<void()> &actie)
{
    try {
        actie();
    } catch (const EFout &e) {
        return e.bericht();
    }
    return QStringLiteral("(no error)");
}

QByteArray f32(const QList<float> &waarden)
{
    QByteArray b;
    for (float w : waarden) {
        char x[4];
        qToLittleEndian(w, x);
        b.append(x, 4);
    }
    return b;
}

QByteArray f64(const QList<double> &waarden)
{
    QByteArray b;
    for (double w : waarden) {
        char x[8];
        qToLittleEndian(w, x);
        b.append(x, 8);
    }
    return b;
}

QByteArray s24(const QList<int> &waarden)
{
    QByteArray b;
    for (int w : waarden)
        b += le32(quint32(w)).left(3);
    return b;
}

QByteArray s32(const QList<qint32> &waarden)
{
    QByteArray b;
    for (qint32 w : waarden)
        b += le32(quint32(w));
    return b;
}

QByteArray fmt(quint16 formaat, quint16 kanalen, quint32 rate, quint16 bits)
{
    return chunk("fmt ", fmtBody(formaat, kanalen, rate, bits));
}

QByteArray data(int bytes) { return chunk("data", QByteArray(bytes, '\x01')); }

std::vector<qint16> alsVector(const QList<int> &l) { return {l.begin(), l.end()}; }

} // namespace

class TestDefWaves : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void kopWordtGecontroleerd_data();
    void kopWordtGecontroleerd();
    void afgekaptBestandGeeftDeMelding_data();
    void afgekaptBestandGeeftDeMelding();
    void onopenbaarPadNoemtBestandEnReden_data();
    void onopenbaarPadNoemtBestandEnReden();
    void bestandBoven4GBWordtGeweigerd();
    void samenvoegingBoven4GBWordtVoorafGeweigerd();
    void voorbeeldVan54BytesKomtByteVoorByteUit();
    void ontbrekendeInvoerSchrijftNiets_data();
    void ontbrekendeInvoerSchrijftNiets();
    void uitvoerMagEenInvoerZijn_data();
    void uitvoerMagEenInvoerZijn();
    void mislukteSamenvoegingLaatHetDoelHeel_data();
    void mislukteSamenvoegingLaatHetDoelHeel();
    void samplesWordenGemiddeldAfgerondEnBegrensd_data();
    void samplesWordenGemiddeldAfgerondEnBegrensd();
    void aantallenVolgenDeOmrekeningNaar16k_data();
    void aantallenVolgenDeOmrekeningNaar16k();
    void mono16kWordtBitVoorBitGekopieerd();

private:
    QString pad(const QString &naam) const { return map->filePath(naam); }
    QString maak(const QString &naam, const QByteArray &inhoud)
    {
        const QString p = pad(naam);
        if (!schrijfBestand(p, inhoud))
            qFatal("cannot write %s", qPrintable(p));
        return p;
    }

    std::unique_ptr<QTemporaryDir> map;
};

void TestDefWaves::init()
{
    map = std::make_unique<QTemporaryDir>();
    QVERIFY(map->isValid());
}

void TestDefWaves::kopWordtGecontroleerd_data()
{
    QTest::addColumn<QByteArray>("bestand");
    QTest::addColumn<QString>("melding"); // empty: accepted
    QTest::addColumn<qint64>("frames");
    QTest::addColumn<int>("formaat");

    const QByteArray fmt16 = fmt(1, 1, 16000, 16);
    const QByteArray d10 = data(10);
    auto ok = [](const char *naam, const QByteArray &b, qint64 frames, int formaat = 1) {
        QTest::newRow(naam) << b << QString() << frames << formaat;
    };
    auto fout = [](const char *naam, const QByteArray &b, const char *melding) {
        QTest::newRow(naam) << b << QString::fromLatin1(melding) << qint64(0) << 0;
    };

    ok("canonical mono 16-bit", riff(fmt16 + data(320000)), 160000);
    fout("RIFX instead of RIFF", "RIFX" + riff(fmt16 + d10).mid(4), "Wrong idRIFF");
    fout("a text file", "Hello, this is no recording at all.", "Wrong idRIFF");
    fout("an AVI form", riff(fmt16 + d10).replace("WAVE", "AVI "), "Wrong idWAVE");

    // The chunk walk.
    ok("JUNK before fmt", riff(chunk("JUNK", QByteArray(28, '\0')) + fmt16 + d10), 5);
    ok("bext of odd size before fmt", riff(chunk("bext", "1234567") + fmt16 + d10), 5);
    fout("data before fmt", riff(d10 + fmt16), "Wrong idFmt");
    fout("no fmt at all", riff(chunk("LIST", "INFO")), "Wrong idFmt");
    fout("nothing after WAVE", riff({}), "Wrong idFmt");
    fout("fmt but no data", riff(fmt16), "Wrong idData");
    fout("fmt and LIST but no data", riff(fmt16 + chunk("LIST", "INFOabcd")), "Wrong idData");
    ok("fact of 4 bytes", riff(fmt16 + chunk("fact", le32(5)) + d10), 5);
    ok("fact of 8 bytes", riff(fmt16 + chunk("fact", le32(5) + le32(0)) + d10), 5);
    ok("LIST before data", riff(fmt16 + chunk("LIST", "INFOISFT") + d10), 5);
    ok("fact then LIST", riff(fmt16 + chunk("fact", le32(5)) + chunk("LIST", "INFO") + d10), 5);
    ok("LIST of odd size, padded", riff(fmt16 + chunk("LIST", "INFOx") + d10), 5);
    ok("fmtSize 18", riff(chunk("fmt ", fmtBody(1, 1, 16000, 16, QByteArray(2, '\0'))) + d10), 5);
    ok("fmtSize 17, padded", riff(chunk("fmt ", fmtBody(1, 1, 16000, 16, QByteArray(1, '\0'))) + d10), 5);
    ok("a second fmt is skipped", riff(fmt16 + fmt(1, 2, 8000, 8) + d10), 5);
    fout("id with a zero byte", riff(fmt16 + chunk("da\0a", "12")), "Wrong idData");
    fout("DATA in capitals", riff(fmt16 + chunk("DATA", "12")), "Wrong idData");
    fout("LIST running past the end", riff(fmt16 + "LIST" + le32(100) + QByteArray(10, 'x')),
         "Truncated WAV header");

    // The formats.
    fout("fmt shorter than 16 bytes", riff(chunk("fmt ", fmtBody(1, 1, 16000, 16).left(14)) + d10),
         "Unknown format");
    fout("ADPCM", riff(fmt(2, 1, 16000, 4) + d10), "Unknown format");
    fout("A-law", riff(fmt(6, 1, 8000, 8) + d10), "Unknown format");
    fout("16-bit float", riff(fmt(3, 1, 16000, 16) + d10), "Unknown format");
    fout("12-bit integer", riff(fmt(1, 1, 16000, 12) + d10), "Unknown format");
    fout("64-bit integer", riff(fmt(1, 1, 16000, 64) + d10), "Unknown format");
    fout("no channels", riff(fmt(1, 0, 16000, 16) + d10), "Unknown format");
    fout("rate 0", riff(fmt(1, 1, 0, 16) + d10), "Unknown format");
    ok("8-bit", riff(fmt(1, 1, 8000, 8) + data(10)), 10);
    ok("24-bit stereo", riff(fmt(1, 2, 48000, 24) + data(13)), 2);
    ok("32-bit float", riff(fmt(3, 1, 44100, 32) + data(12)), 3, 3);
    ok("64-bit float", riff(fmt(3, 1, 22050, 64) + data(16)), 2, 3);
    ok("extensible 24-bit stereo", riff(chunk("fmt ", extensibleBody(1, 2, 48000, 24)) + data(12)), 2);
    ok("extensible float", riff(chunk("fmt ", extensibleBody(3, 2, 48000, 32)) + data(16)), 2, 3);
    fout("extensible ADPCM", riff(chunk("fmt ", extensibleBody(2, 1, 16000, 16)) + d10),
         "Unknown format");
    QByteArray vreemd = extensibleBody(1, 1, 16000, 16);
    vreemd[39] = 'x';
    fout("extensible with a foreign GUID", riff(chunk("fmt ", vreemd) + d10), "Unknown format");
    fout("extensible cut to 18 bytes",
         riff(chunk("fmt ", extensibleBody(1, 1, 16000, 16).left(18)) + d10), "Unknown format");

    // The data chunk.
    ok("data running past the end", riff(fmt(1, 2, 16000, 16) + "data" + le32(1000) + QByteArray(103, '\x02')),
       25);
    ok("data size of a streaming writer", riff(fmt16 + "data" + le32(0xFFFFFFFF) + QByteArray(40, '\x02')),
       20);
    ok("empty data", riff(fmt16 + data(0)), 0);
    ok("data of odd size", riff(fmt16 + data(11)), 5);
}

void TestDefWaves::kopWordtGecontroleerd()
{
    QFETCH(QByteArray, bestand);
    QFETCH(QString, melding);
    QFETCH(qint64, frames);
    QFETCH(int, formaat);

    const QString p = maak("kop.wav", bestand);
    if (!melding.isEmpty()) {
        QCOMPARE(foutVan([&] { leesWavKop(p); }), melding);
        QCOMPARE(foutVan([&] { leesWav(p, [](std::span<const qint16>) {}); }), melding);
        return;
    }
    TWavGegevens g;
    QCOMPARE(foutVan([&] { g = leesWavKop(p); }), QStringLiteral("(no error)"));
    QCOMPARE(g.aantalFrames, frames);
    QCOMPARE(int(g.formaat), formaat);
    QCOMPARE(g.idRIFFTekst(), QStringLiteral("RIFF"));

    qint64 samples = 0;
    const TWavGegevens h = leesWav(p, [&](std::span<const qint16> b) { samples += qint64(b.size()); });
    QCOMPARE(h.aantalFrames, frames);
    QCOMPARE(samples, framesOp16k(frames, g.wavKop.sampleRate));
}

void TestDefWaves::afgekaptBestandGeeftDeMelding_data()
{
    QTest::addColumn<int>("lengte");
    QTest::addColumn<QString>("melding");
    QTest::addColumn<qint64>("frames");

    // A file cut exactly between two chunks lacks a chunk; cut anywhere
    // else before the data, it is short.
    const QList<QByteArray> chunks = {
        chunk("bext", "12345"),
        chunk("fmt ", fmtBody(1, 1, 16000, 16, QByteArray(2, '\0'))),
        chunk("LIST", "abc"),
    };
    QMap<int, QString> grenzen;
    int eind = 12;
    grenzen[eind] = "Wrong idFmt";
    for (const QByteArray &c : chunks) {
        eind += int(c.size());
        grenzen[eind] = c.startsWith("bext") ? "Wrong idFmt" : "Wrong idData";
    }
    const int dataBegin = eind + 8;
    for (int n = 0; n < dataBegin; ++n)
        QTest::newRow(qPrintable(QStringLiteral("cut at %1").arg(n)))
            << n << grenzen.value(n, afgekapt) << qint64(0);
    for (int n = dataBegin; n <= dataBegin + 8; ++n)
        QTest::newRow(qPrintable(QStringLiteral("cut at %1 in the data").arg(n)))
            << n << QString() << qint64((n - dataBegin) / 2);
}

void TestDefWaves::afgekaptBestandGeeftDeMelding()
{
    QFETCH(int, lengte);
    QFETCH(QString, melding);
    QFETCH(qint64, frames);

    const QByteArray heel = riff(chunk("bext", "12345") +
                                 chunk("fmt ", fmtBody(1, 1, 16000, 16, QByteArray(2, '\0'))) +
                                 chunk("LIST", "abc") + chunk("data", pcm16({1, 2, 3, 4})));
    const QString p = maak("kort.wav", heel.left(lengte));
    if (!melding.isEmpty()) {
        QCOMPARE(foutVan([&] { leesWavKop(p); }), melding);
        return;
    }
    TWavGegevens g;
    QCOMPARE(foutVan([&] { g = leesWavKop(p); }), QStringLiteral("(no error)"));
    QCOMPARE(g.aantalFrames, frames);
    std::vector<qint16> samples;
    leesWav(p, [&](std::span<const qint16> b) { samples.insert(samples.end(), b.begin(), b.end()); });
    const std::vector<qint16> alle = {1, 2, 3, 4};
    QCOMPARE(samples, std::vector<qint16>(alle.begin(), alle.begin() + frames));
}

void TestDefWaves::onopenbaarPadNoemtBestandEnReden_data()
{
    QTest::addColumn<QString>("naam"); // inside the test folder; "" for the empty path
    QTest::addColumn<bool>("isMap");
    QTest::addColumn<int>("reden");
    QTest::newRow("no such file") << "missing.wav" << false << ENOENT;
    QTest::newRow("a folder") << "folder.wav" << true << EISDIR;
    QTest::newRow("empty path") << "" << false << ENOENT;
}

void TestDefWaves::onopenbaarPadNoemtBestandEnReden()
{
    QFETCH(QString, naam);
    QFETCH(bool, isMap);
    QFETCH(int, reden);

    const QString p = naam.isEmpty() ? QString() : pad(naam);
    if (isMap)
        QVERIFY(QDir().mkdir(p));
    QCOMPARE(foutVan([&] { leesWavKop(p); }),
             QStringLiteral("Cannot open file \"%1\". %2").arg(p, QString::fromLocal8Bit(std::strerror(reden))));
}

void TestDefWaves::bestandBoven4GBWordtGeweigerd()
{
    // A sparse file: the size is there without the disk space.
    const QString p = maak("groot.wav", wav16k({1, 2, 3}));
    QVERIFY(QFile::resize(p, 0xFFFFFFFFLL + 9));
    QCOMPARE(foutVan([&] { leesWavKop(p); }),
             QStringLiteral("The file \"%1\" is larger than 4 GB, more than the sizes in a "
                            "WAV header can describe").arg(p));
    // One byte less still fits the RIFF sizes.
    QVERIFY(QFile::resize(p, 0xFFFFFFFFLL + 8));
    QCOMPARE(leesWavKop(p).aantalFrames, qint64(3));
}

void TestDefWaves::samenvoegingBoven4GBWordtVoorafGeweigerd()
{
    // Two sparse halves of 2^30 frames each make 2^32 data bytes together:
    // one frame too many for the joined file.
    const qint64 frames = qint64(1) << 30;
    const QByteArray kop = riff(fmt(1, 1, 16000, 16) + "data" + le32(quint32(frames * 2)));
    const QString p1 = maak("een.wav", kop);
    const QString p2 = maak("twee.wav", kop);
    QVERIFY(QFile::resize(p1, kop.size() + frames * 2));
    QVERIFY(QFile::resize(p2, kop.size() + frames * 2));
    const QString uit = pad("samen.wav");

    qint64 totaal = -7, aantal1 = -7, aantal2 = -7, begin2 = -7;
    QCOMPARE(foutVan([&] { plakWavs(uit, p1, p2, totaal, aantal1, aantal2, begin2); }),
             QStringLiteral("The joined recording would be larger than 4 GB, more than a WAV file can hold"));
    QCOMPARE(aantal1, frames);
    QCOMPARE(aantal2, frames);
    QCOMPARE(QDir(map->path()).entryList(QDir::Files), QStringList({"een.wav", "twee.wav"}));
}

void TestDefWaves::voorbeeldVan54BytesKomtByteVoorByteUit()
{
    const QString p1 = maak("een.wav", wav16k({1, -2, 32767}));
    const QString p2 = maak("twee.wav", wav16k({-32768, 256}));
    const QString uit = pad("samen.wav");
    qint64 totaal = -1, aantal1 = -1, aantal2 = -1, begin2 = -1;

    QVERIFY(plakWavs(uit, p1, p2, totaal, aantal1, aantal2, begin2));
    QCOMPARE(totaal, qint64(5));
    QCOMPARE(aantal1, qint64(3));
    QCOMPARE(aantal2, qint64(2));
    QCOMPARE(begin2, qint64(3));
    const QByteArray verwacht = QByteArray::fromHex(
        "52494646" "2e000000" "57415645" "666d7420" "10000000" "0100" "0100" "803e0000"
        "007d0000" "0200" "1000" "64617461" "0a000000" "0100" "feff" "ff7f" "0080" "0001");
    QCOMPARE(verwacht.size(), 54);
    QCOMPARE(leesBestand(uit).toHex(' '), verwacht.toHex(' '));
}

void TestDefWaves::ontbrekendeInvoerSchrijftNiets_data()
{
    QTest::addColumn<QString>("naam1"); // "" is the empty path
    QTest::addColumn<QString>("naam2");
    QTest::newRow("input 2 empty") << "een.wav" << "";
    QTest::newRow("input 1 missing") << "weg.wav" << "twee.wav";
    QTest::newRow("input 2 missing") << "een.wav" << "weg.wav";
    QTest::newRow("input 2 a folder") << "een.wav" << "map";
    QTest::newRow("input 1 a dangling link") << "link.wav" << "twee.wav";
}

void TestDefWaves::ontbrekendeInvoerSchrijftNiets()
{
    QFETCH(QString, naam1);
    QFETCH(QString, naam2);

    maak("een.wav", wav16k({1, 2, 3}));
    maak("twee.wav", wav16k({4, 5}));
    QVERIFY(QDir(map->path()).mkdir("map"));
    QVERIFY(QFile::link(pad("weg.wav"), pad("link.wav")));
    const QString uit = pad("samen.wav");
    qint64 totaal = -7, aantal1 = -7, aantal2 = -7, begin2 = -7;

    QVERIFY(!plakWavs(uit, naam1.isEmpty() ? QString() : pad(naam1),
                      naam2.isEmpty() ? QString() : pad(naam2), totaal, aantal1, aantal2, begin2));
    QCOMPARE(totaal, qint64(-7));
    QCOMPARE(aantal1, qint64(-7));
    QCOMPARE(aantal2, qint64(-7));
    QCOMPARE(begin2, qint64(-7));
    QVERIFY(!QFile::exists(uit));
}

void TestDefWaves::uitvoerMagEenInvoerZijn_data()
{
    QTest::addColumn<QString>("uitNaam");
    QTest::addColumn<QString>("naam2");
    QTest::addColumn<QList<int>>("verwacht");
    QTest::newRow("output is input 1") << "een.wav" << "twee.wav" << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("output is input 2") << "twee.wav" << "twee.wav" << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("one file twice") << "samen.wav" << "een.wav" << QList<int>{1, 2, 3, 1, 2, 3};
}

void TestDefWaves::uitvoerMagEenInvoerZijn()
{
    QFETCH(QString, uitNaam);
    QFETCH(QString, naam2);
    QFETCH(QList<int>, verwacht);

    maak("een.wav", wav16k({1, 2, 3}));
    maak("twee.wav", wav16k({4, 5}));
    qint64 totaal = -1, aantal1 = -1, aantal2 = -1, begin2 = -1;
    QVERIFY(plakWavs(pad(uitNaam), pad("een.wav"), pad(naam2), totaal, aantal1, aantal2, begin2));
    QCOMPARE(totaal, qint64(verwacht.size()));
    QCOMPARE(samplesNa44(pad(uitNaam)), alsVector(verwacht));
}

void TestDefWaves::mislukteSamenvoegingLaatHetDoelHeel_data()
{
    QTest::addColumn<QByteArray>("bestand1");
    QTest::addColumn<QByteArray>("bestand2");
    QTest::addColumn<QString>("uitNaam");
    QTest::addColumn<QString>("melding"); // %1 is the output path
    QTest::addColumn<QList<qint64>>("uitWaarden"); // totaal, aantal1, aantal2, begin2

    const QByteArray goed1 = wav16k({1, 2, 3});
    const QByteArray goed2 = wav16k({4, 5});
    QTest::newRow("input 2 not a recording")
        << goed1 << QByteArray("text, no sound") << "een.wav" << "Wrong idRIFF"
        << QList<qint64>{-7, 3, -7, -7};
    QTest::newRow("input 1 cut short") << goed1.left(30) << goed2 << "een.wav" << afgekapt
                                       << QList<qint64>{-7, -7, -7, -7};
    QTest::newRow("input 2 of unknown format")
        << goed1 << riff(fmt(2, 1, 16000, 4) + data(8)) << "een.wav" << "Unknown format"
        << QList<qint64>{-7, 3, -7, -7};
    QTest::newRow("output folder missing")
        << goed1 << goed2 << "weg/samen.wav"
        << QStringLiteral("Cannot create file \"%1\". ") + QString::fromLocal8Bit(std::strerror(ENOENT))
        << QList<qint64>{5, 3, 2, 3};
}

void TestDefWaves::mislukteSamenvoegingLaatHetDoelHeel()
{
    QFETCH(QByteArray, bestand1);
    QFETCH(QByteArray, bestand2);
    QFETCH(QString, uitNaam);
    QFETCH(QString, melding);
    QFETCH(QList<qint64>, uitWaarden);

    const QString p1 = maak("een.wav", bestand1);
    const QString p2 = maak("twee.wav", bestand2);
    const QString uit = pad(uitNaam);
    qint64 totaal = -7, aantal1 = -7, aantal2 = -7, begin2 = -7;
    QCOMPARE(foutVan([&] { plakWavs(uit, p1, p2, totaal, aantal1, aantal2, begin2); }),
             melding.contains("%1") ? melding.arg(uit) : melding);
    QCOMPARE((QList<qint64>{totaal, aantal1, aantal2, begin2}), uitWaarden);
    QCOMPARE(leesBestand(p1), bestand1);
    QCOMPARE(leesBestand(p2), bestand2);
    // No temporary file is left behind.
    QCOMPARE(QDir(map->path()).entryList(QDir::Files), QStringList({"een.wav", "twee.wav"}));
}

void TestDefWaves::samplesWordenGemiddeldAfgerondEnBegrensd_data()
{
    QTest::addColumn<QByteArray>("bestand");
    QTest::addColumn<QList<int>>("verwacht");

    // All at 16 kHz, so no resampling blurs the arithmetic.
    const float lsb = 1.0f / 32768;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    QTest::newRow("float rounds half to even and clips")
        << riff(fmt(3, 1, 16000, 32) +
                chunk("data", f32({0.5f * lsb, 1.5f * lsb, 2.5f * lsb, -0.5f * lsb, -1.5f * lsb,
                                   0.25f, 1.0f, -1.0f, 2.0f, -3.0f, nan, inf, -inf})))
        << QList<int>{0, 2, 2, 0, -2, 8192, 32767, -32768, 32767, -32768, 0, 32767, -32768};
    QTest::newRow("64-bit float")
        << riff(fmt(3, 1, 16000, 64) + chunk("data", f64({0.25, -0.5, 3.5 / 32768, 1e300})))
        << QList<int>{8192, -16384, 4, 32767};
    QTest::newRow("stereo 16-bit averages")
        << riff(fmt(1, 2, 16000, 16) +
                chunk("data", pcm16({1, 2, 1, 0, 3, 0, 5, 0, -32768, -32767, 32767, 32767,
                                     -32768, 32767, 1000, -1000})))
        << QList<int>{2, 0, 2, 2, -32768, 32767, 0, 0};
    QTest::newRow("three channels average")
        << riff(fmt(1, 3, 16000, 16) + chunk("data", pcm16({3, 3, 3, 1, 1, 2, 300, -600, 0})))
        << QList<int>{3, 1, -100};
    QTest::newRow("8-bit is unsigned")
        << riff(fmt(1, 1, 16000, 8) + chunk("data", QByteArray::fromHex("0080ff0140")))
        << QList<int>{-32768, 0, 32512, -32512, -16384};
    QTest::newRow("24-bit")
        << riff(fmt(1, 1, 16000, 24) +
                chunk("data", s24({0x7FFFFF, -0x800000, 0x80, 0x180, -0x180, 0x123456})))
        << QList<int>{32767, -32768, 0, 2, -2, 0x1234};
    QTest::newRow("extensible 24-bit stereo")
        << riff(chunk("fmt ", extensibleBody(1, 2, 16000, 24)) +
                chunk("data", s24({0x100000, 0x300000, -0x400000, 0})))
        << QList<int>{0x2000, -0x2000};
    QTest::newRow("32-bit integer")
        << riff(fmt(1, 1, 16000, 32) +
                chunk("data", s32({0x7FFFFFFF, qint32(0x80000000), 0x8000, 0x18000, 0x12345678})))
        << QList<int>{32767, -32768, 0, 2, 0x1234};
}

void TestDefWaves::samplesWordenGemiddeldAfgerondEnBegrensd()
{
    QFETCH(QByteArray, bestand);
    QFETCH(QList<int>, verwacht);

    const QString p = maak("in.wav", bestand);
    std::vector<qint16> samples;
    leesWav(p, [&](std::span<const qint16> b) { samples.insert(samples.end(), b.begin(), b.end()); });
    QCOMPARE(samples, alsVector(verwacht));
}

void TestDefWaves::aantallenVolgenDeOmrekeningNaar16k_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<qint64>("frames");
    QTest::addColumn<qint64>("verwacht"); // frames at 16 kHz

    QTest::newRow("44.1 kHz, 441 frames") << 44100 << qint64(441) << qint64(160);
    QTest::newRow("32 kHz, 1 frame: 0.5 to 0") << 32000 << qint64(1) << qint64(0);
    QTest::newRow("32 kHz, 3 frames: 1.5 to 2") << 32000 << qint64(3) << qint64(2);
    QTest::newRow("32 kHz, 5 frames: 2.5 to 2") << 32000 << qint64(5) << qint64(2);
    QTest::newRow("48 kHz, 3 frames") << 48000 << qint64(3) << qint64(1);
    QTest::newRow("22.05 kHz, 1 frame") << 22050 << qint64(1) << qint64(1);
    QTest::newRow("8 kHz, 10 s") << 8000 << qint64(80000) << qint64(160000);
    QTest::newRow("11.025 kHz, 1 s") << 11025 << qint64(11025) << qint64(16000);
    QTest::newRow("44.1 kHz, 0 frames") << 44100 << qint64(0) << qint64(0);
    QTest::newRow("16 kHz, 7 frames") << 16000 << qint64(7) << qint64(7);
}

void TestDefWaves::aantallenVolgenDeOmrekeningNaar16k()
{
    QFETCH(int, rate);
    QFETCH(qint64, frames);
    QFETCH(qint64, verwacht);

    QCOMPARE(framesOp16k(frames, quint32(rate)), verwacht);

    std::vector<qint16> ramp(static_cast<size_t>(frames));
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = qint16(i % 2000);
    const QString p1 = maak("een.wav", riff(fmt(1, 1, quint32(rate), 16) + chunk("data", pcm16(ramp))));
    const QString p2 = maak("twee.wav", wav16k({7, 8}));
    const QString uit = pad("samen.wav");
    qint64 totaal = -1, aantal1 = -1, aantal2 = -1, begin2 = -1;
    QVERIFY(plakWavs(uit, p1, p2, totaal, aantal1, aantal2, begin2));
    QCOMPARE(aantal1, frames);
    QCOMPARE(aantal2, qint64(2));
    QCOMPARE(begin2, verwacht);
    QCOMPARE(totaal, verwacht + 2);
    QCOMPARE(QFileInfo(uit).size(), 44 + 2 * totaal);
    QCOMPARE(leesWavKop(uit).aantalFrames, totaal);
    // Half 2 starts exactly where begin2 says.
    const std::vector<qint16> samen = samplesNa44(uit);
    QCOMPARE(std::vector<qint16>(samen.end() - 2, samen.end()), std::vector<qint16>({7, 8}));
}

void TestDefWaves::mono16kWordtBitVoorBitGekopieerd()
{
    QRandomGenerator rnd(4);
    std::vector<qint16> a(40000), b(777);
    for (qint16 &s : a)
        s = qint16(rnd.bounded(-32768, 32768));
    for (qint16 &s : b)
        s = qint16(rnd.bounded(-32768, 32768));
    a[0] = -32768;
    a[1] = 32767;
    // Field-recorder chunks around the format must not disturb the copy.
    const QString p1 = maak("een.wav", riff(chunk("bext", QByteArray(603, 'b')) + fmt(1, 1, 16000, 16) +
                                            chunk("LIST", "INFOx") + chunk("data", pcm16(a))));
    const QString p2 = maak("twee.wav", wav16k(b));
    const QString uit = pad("samen.wav");
    qint64 totaal = -1, aantal1 = -1, aantal2 = -1, begin2 = -1;
    QVERIFY(plakWavs(uit, p1, p2, totaal, aantal1, aantal2, begin2));
    QCOMPARE(begin2, qint64(a.size()));
    QCOMPARE(leesBestand(uit).mid(44), pcm16(a) + pcm16(b));
}

QTEST_GUILESS_MAIN(TestDefWaves)
#include "tst_defwaves.moc"
