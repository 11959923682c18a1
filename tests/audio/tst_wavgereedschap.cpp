// Recordings written by real tools (sox, ffmpeg) are read and joined, and
// the joined file is checked by soxi and against sox's own conversion.

#include "audio/defwaves.h"
#include "wavbouw_helper.h"

#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <numbers>

namespace {

// Moves the "bext" chunk of a file to just after "WAVE", where field
// recorders write it (ffmpeg puts it after "fmt ").
QByteArray bextVooraan(const QByteArray &bestand)
{
    QByteArray bext;
    QByteArray rest;
    qsizetype p = 12;
    while (p + 8 <= bestand.size()) {
        const quint32 n = qFromLittleEndian<quint32>(bestand.constData() + p + 4);
        const bool isData = bestand.mid(p, 4) == "data";
        const qsizetype lengte = isData ? bestand.size() - p : 8 + qsizetype(n) + (n & 1);
        (bestand.mid(p, 4) == "bext" ? bext : rest) += bestand.mid(p, lengte);
        p += lengte;
    }
    return riff(bext + rest);
}

// sox writes mono 16-bit with the bare 44-byte header.
const QStringList kaalSox = {"fmt ", "data"};

} // namespace

class TestWavGereedschap : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void echteBestandenWordenGelezenEnSamengevoegd_data();
    void echteBestandenWordenGelezenEnSamengevoegd();
    void sinusKomtAlsSinusOpHetzelfdeNiveauUit();

private:
    QTemporaryDir map;
    QString pad(const QString &naam) const { return map.filePath(naam); }
};

void TestWavGereedschap::initTestCase()
{
    QVERIFY(map.isValid());
    for (const char *programma : {"sox", "soxi", "ffmpeg"}) {
        if (!heeftProgramma(programma))
            QSKIP(qPrintable(QStringLiteral("%1 is not installed (scripts/install-deps.sh)").arg(programma)));
    }
}

void TestWavGereedschap::echteBestandenWordenGelezenEnSamengevoegd_data()
{
    QTest::addColumn<QString>("maker");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("kanalen");
    QTest::addColumn<QStringList>("opties");
    QTest::addColumn<bool>("bextVoorFmt");
    QTest::addColumn<int>("audioFormat"); // as stored
    QTest::addColumn<QStringList>("chunks");

    const QStringList kaal = {"fmt ", "data"};
    const QStringList fact = {"fmt ", "fact", "data"};
    const QStringList list = {"fmt ", "LIST", "data"};
    const QStringList factList = {"fmt ", "fact", "LIST", "data"};
    auto rij = [](const char *naam, const char *maker, int rate, int kanalen, const QStringList &opties,
                  int audioFormat, const QStringList &chunks, bool bextVoorFmt = false) {
        QTest::newRow(naam) << QString(maker) << rate << kanalen << opties << bextVoorFmt << audioFormat
                            << chunks;
    };
    rij("sox 16-bit mono 16 kHz", "sox", 16000, 1, {"-b", "16"}, 1, kaal);
    rij("sox 8-bit stereo 8 kHz", "sox", 8000, 2, {"-b", "8", "-e", "unsigned-integer"}, 1, kaal);
    rij("sox 16-bit stereo 44.1 kHz", "sox", 44100, 2, {"-b", "16"}, 1, kaal);
    rij("sox 24-bit stereo 48 kHz", "sox", 48000, 2, {"-b", "24"}, 0xFFFE, fact);
    rij("sox 32-bit mono 22.05 kHz", "sox", 22050, 1, {"-b", "32", "-e", "signed-integer"}, 0xFFFE, fact);
    rij("sox float stereo 44.1 kHz", "sox", 44100, 2, {"-b", "32", "-e", "floating-point"}, 3, fact);
    rij("sox 64-bit float mono 48 kHz", "sox", 48000, 1, {"-b", "64", "-e", "floating-point"}, 3, fact);
    rij("sox 16-bit 6 channels 16 kHz", "sox", 16000, 6, {"-b", "16"}, 0xFFFE, fact);
    rij("ffmpeg 16-bit stereo 44.1 kHz", "ffmpeg", 44100, 2, {"-c:a", "pcm_s16le"}, 1, list);
    rij("ffmpeg 16-bit mono 16 kHz", "ffmpeg", 16000, 1, {"-c:a", "pcm_s16le"}, 1, list);
    rij("ffmpeg 24-bit mono 48 kHz with bext", "ffmpeg", 48000, 1,
        {"-c:a", "pcm_s24le", "-write_bext", "1"}, 0xFFFE, {"fmt ", "bext", "LIST", "data"});
    rij("field recorder: bext before fmt", "ffmpeg", 48000, 2,
        {"-c:a", "pcm_s24le", "-write_bext", "1"}, 0xFFFE, {"bext", "fmt ", "LIST", "data"}, true);
    rij("ffmpeg float stereo 48 kHz", "ffmpeg", 48000, 2, {"-c:a", "pcm_f32le"}, 0xFFFE, factList);
    rij("ffmpeg float 6 channels 44.1 kHz", "ffmpeg", 44100, 6, {"-c:a", "pcm_f32le"}, 0xFFFE, factList);
    rij("ffmpeg 8-bit mono 11.025 kHz", "ffmpeg", 11025, 1, {"-c:a", "pcm_u8"}, 1, list);
    rij("ffmpeg 64-bit float stereo 8 kHz", "ffmpeg", 8000, 2, {"-c:a", "pcm_f64le"}, 0xFFFE, factList);
    rij("ffmpeg 32-bit stereo 96 kHz", "ffmpeg", 96000, 2, {"-c:a", "pcm_s32le"}, 0xFFFE, list);
}

void TestWavGereedschap::echteBestandenWordenGelezenEnSamengevoegd()
{
    QFETCH(QString, maker);
    QFETCH(int, rate);
    QFETCH(int, kanalen);
    QFETCH(QStringList, opties);
    QFETCH(bool, bextVoorFmt);
    QFETCH(int, audioFormat);
    QFETCH(QStringList, chunks);

    // A different tone in each channel, so that a wrong mix shows.
    const QString bron = pad("bron.wav");
    QString fout = draai("sox", {"-n", "-r", QString::number(rate), "-c", QString::number(kanalen), "-b", "32",
                                 "-e", "floating-point", bron, "synth", "0.5", "sine", "1000", "sine", "440",
                                 "sine", "250", "vol", "0.5"});
    QVERIFY2(fout.isEmpty(), qPrintable(fout));
    const QString in = pad("in.wav");
    if (maker == "sox")
        fout = draai("sox", QStringList{bron} + opties + QStringList{in});
    else
        fout = draai("ffmpeg", QStringList{"-v", "error", "-y", "-i", bron} + opties + QStringList{in});
    QVERIFY2(fout.isEmpty(), qPrintable(fout));
    if (bextVoorFmt)
        QVERIFY(schrijfBestand(in, bextVooraan(leesBestand(in))));
    // The file is laid out as this row means it to be.
    QCOMPARE(chunkIds(leesBestand(in)), chunks);

    const TWavGegevens kop = leesWavKop(in);
    QCOMPARE(int(kop.wavKop.audioFormat), audioFormat);
    QCOMPARE(kop.aantalFrames, soxi("-s", in));
    QCOMPARE(qint64(kop.wavKop.numChannels), soxi("-c", in));
    QCOMPARE(qint64(kop.wavKop.sampleRate), soxi("-r", in));
    QCOMPARE(qint64(kop.wavKop.bitsPerSample), soxi("-b", in));

    const std::vector<qint16> staart(4000, 1234);
    const QString kort = pad("kort.wav");
    QVERIFY(schrijfBestand(kort, wav16k(staart)));
    const QString uit = pad("samen.wav");
    qint64 totaal = -1, aantal1 = -1, aantal2 = -1, begin2 = -1;
    QVERIFY(plakWavs(uit, in, kort, totaal, aantal1, aantal2, begin2));
    QCOMPARE(aantal1, kop.aantalFrames);
    QCOMPARE(aantal2, qint64(staart.size()));
    QCOMPARE(begin2, qint64(std::nearbyint(double(aantal1) * 16000 / rate)));
    QCOMPARE(totaal, begin2 + aantal2);

    QCOMPARE(soxi("-c", uit), qint64(1));
    QCOMPARE(soxi("-b", uit), qint64(16));
    QCOMPARE(soxi("-r", uit), qint64(16000));
    QCOMPARE(soxi("-s", uit), totaal);

    const std::vector<qint16> samen = samplesNa44(uit);
    QCOMPARE(std::vector<qint16>(samen.begin() + begin2, samen.end()), staart);
    const QString ref = pad("sox.wav");
    fout = draai("sox", {in, "-r", "16000", "-c", "1", "-b", "16", ref});
    QVERIFY2(fout.isEmpty(), qPrintable(fout));
    QCOMPARE(chunkIds(leesBestand(ref)), kaalSox);
    const std::vector<qint16> soxHelft = samplesNa44(ref);
    QVERIFY2(std::abs(qint64(soxHelft.size()) - begin2) <= 1,
             qPrintable(QStringLiteral("sox made %1 frames, the join %2").arg(soxHelft.size()).arg(begin2)));
    const double snr = snrDb(soxHelft, std::vector<qint16>(samen.begin(), samen.begin() + begin2));
    QVERIFY2(snr >= 40, qPrintable(QStringLiteral("SNR against sox: %1 dB").arg(snr)));
}

void TestWavGereedschap::sinusKomtAlsSinusOpHetzelfdeNiveauUit()
{
    const double amplitude = 0.5;
    const QString in = pad("sinus.wav");
    QString fout = draai("sox", {"-n", "-r", "44100", "-c", "2", "-b", "24", in, "synth", "1", "sine", "1000",
                                 "vol", QString::number(amplitude)});
    QVERIFY2(fout.isEmpty(), qPrintable(fout));
    QCOMPARE(leesWavKop(in).wavKop.bitsPerSample, quint16(24));

    const QString uit = pad("samen.wav");
    qint64 totaal = -1, aantal1 = -1, aantal2 = -1, begin2 = -1;
    QVERIFY(plakWavs(uit, in, in, totaal, aantal1, aantal2, begin2));
    QCOMPARE(begin2, qint64(16000));
    const std::vector<qint16> samen = samplesNa44(uit);
    const std::vector<qint16> helft(samen.begin(), samen.begin() + begin2);

    // Fit a 1 kHz sine over whole periods (16 samples) away from the ends.
    const int begin = 800;
    const int n = 16 * 900;
    double a = 0, b = 0;
    for (int i = begin; i < begin + n; ++i) {
        const double fase = 2 * std::numbers::pi * 1000 * i / 16000;
        a += helft[size_t(i)] * std::sin(fase);
        b += helft[size_t(i)] * std::cos(fase);
    }
    a *= 2.0 / n;
    b *= 2.0 / n;
    const double gevonden = std::hypot(a, b);
    double rest = 0;
    for (int i = begin; i < begin + n; ++i) {
        const double fase = 2 * std::numbers::pi * 1000 * i / 16000;
        const double r = helft[size_t(i)] - (a * std::sin(fase) + b * std::cos(fase));
        rest += r * r;
    }
    const double niveauDb = 20 * std::log10(gevonden / (amplitude * 32768));
    QVERIFY2(std::abs(niveauDb) <= 0.5, qPrintable(QStringLiteral("level off by %1 dB").arg(niveauDb)));
    const double restDb = 10 * std::log10((rest / n) / (gevonden * gevonden / 2));
    QVERIFY2(restDb <= -40, qPrintable(QStringLiteral("not a pure 1 kHz sine: rest %1 dB").arg(restDb)));

    const QString ref = pad("sox.wav");
    fout = draai("sox", {in, "-r", "16000", "-c", "1", "-b", "16", ref});
    QVERIFY2(fout.isEmpty(), qPrintable(fout));
    QCOMPARE(chunkIds(leesBestand(ref)), kaalSox);
    const double snr = snrDb(samplesNa44(ref), helft);
    QVERIFY2(snr >= 40, qPrintable(QStringLiteral("SNR against sox: %1 dB").arg(snr)));
}

QTEST_GUILESS_MAIN(TestWavGereedschap)
#include "tst_wavgereedschap.moc"
