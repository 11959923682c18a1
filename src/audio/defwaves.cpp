#include "audio/defwaves.h"

#include "lines/bestandsnaam.h"
#include "lines/efout.h"
#include "lines/tatomischbestand.h"

#include <QFile>
#include <QtEndian>

#include <soxr.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// RIFF sizes are unsigned 32-bit: the RIFF size counts the file minus its
// first 8 bytes, and the data of a written file comes after a 44-byte header.
constexpr qint64 maxRiffGrootte = 0xFFFFFFFFLL;
constexpr qint64 maxBestandGrootte = maxRiffGrootte + 8;
constexpr qint64 maxDataBytes = maxRiffGrootte - 36;

// Large enough that the system calls cost nothing next to the copying,
// small enough that two open recordings stay far below the memory limit.
constexpr qint64 blokBytes = 1 << 20;

const char *const afgekapt = "Truncated WAV header";

[[noreturn]] void bestandsFout(const char *wat, const QString &pad, int fout)
{
    throw EFout(QStringLiteral("Cannot %1 file \"%2\". %3")
                    .arg(QLatin1StringView(wat), pad,
                         QString::fromLocal8Bit(std::strerror(fout))));
}

bool isId(const char *id, const char (&verwacht)[5])
{
    return std::memcmp(id, verwacht, 4) == 0;
}

void controleerDataGrootte(qint64 dataBytes)
{
    if (dataBytes < 0 || dataBytes > maxDataBytes)
        throw EFout(QStringLiteral("The joined recording would be larger than 4 GB, "
                                   "more than a WAV file can hold"));
}

// An input file open for reading; closed again however the read ends.
class TBron
{
public:
    explicit TBron(const QString &pad) : hetPad(pad)
    {
        const QByteArray naam = QFile::encodeName(pad);
        fd = pad.isEmpty() ? -1 : ::open(naam.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            bestandsFout("open", pad, pad.isEmpty() ? ENOENT : errno);
        struct stat st {};
        if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
            const int fout = S_ISDIR(st.st_mode) ? EISDIR : errno;
            ::close(fd);
            bestandsFout("open", pad, fout);
        }
        deGrootte = st.st_size;
        (void)::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    ~TBron() { ::close(fd); }
    TBron(const TBron &) = delete;
    TBron &operator=(const TBron &) = delete;

    const QString &pad() const { return hetPad; }
    qint64 grootte() const { return deGrootte; }

    // Reads up to n bytes at positie; fewer only where the file ends.
    qint64 lees(void *doel, qint64 n, qint64 positie) const
    {
        char *p = static_cast<char *>(doel);
        qint64 gelezen = 0;
        while (gelezen < n) {
            const ssize_t k = ::pread(fd, p + gelezen, static_cast<size_t>(n - gelezen),
                                      static_cast<off_t>(positie + gelezen));
            if (k < 0) {
                if (errno == EINTR)
                    continue;
                bestandsFout("read", hetPad, errno);
            }
            if (k == 0)
                break;
            gelezen += k;
        }
        return gelezen;
    }

private:
    QString hetPad;
    int fd = -1;
    qint64 deGrootte = 0;
};

quint16 le16(const unsigned char *p) { return qFromLittleEndian<quint16>(p); }
quint32 le32(const unsigned char *p) { return qFromLittleEndian<quint32>(p); }

// The "fmt " chunk of size grootte whose body starts at positie.
void leesFmt(const TBron &bron, qint64 positie, quint32 grootte, TWavGegevens &g)
{
    // 16 bytes for PCM and float, 40 for WAVE_FORMAT_EXTENSIBLE; more is never needed.
    unsigned char f[40] = {};
    const qint64 nodig = std::min<qint64>(grootte, sizeof f);
    if (bron.lees(f, nodig, positie) < nodig)
        throw EFout(afgekapt);
    if (grootte < 16)
        throw EFout("Unknown format");

    TWavKop &k = g.wavKop;
    std::memcpy(k.idFmt, "fmt ", 4);
    k.fmtSize = grootte;
    k.audioFormat = le16(f);
    k.numChannels = le16(f + 2);
    k.sampleRate = le32(f + 4);
    k.byteRate = le32(f + 8);
    k.blockAlign = le16(f + 12);
    k.bitsPerSample = le16(f + 14);

    quint16 formaat = k.audioFormat;
    if (formaat == 0xFFFE) {
        // The subformat GUID is the format code followed by the fixed tail
        // of KSDATAFORMAT_SUBTYPE_PCM; any other GUID is some other coding.
        static const unsigned char guidStaart[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                     0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        if (grootte < 40 || std::memcmp(f + 26, guidStaart, sizeof guidStaart) != 0)
            throw EFout("Unknown format");
        formaat = le16(f + 24);
    }
    const quint16 bits = k.bitsPerSample;
    const bool pcm = formaat == 1 && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
    const bool drijvend = formaat == 3 && (bits == 32 || bits == 64);
    if (!(pcm || drijvend) || k.numChannels == 0 || k.sampleRate == 0)
        throw EFout("Unknown format");
    g.formaat = formaat;
}

// Walks the chunks up to the first data byte. Chunks before "fmt " and
// between "fmt " and "data" ("bext", "JUNK", "fact", "LIST", ...) are skipped
// by their size plus the pad byte that follows an odd size.
TWavGegevens leesKop(const TBron &bron)
{
    TWavGegevens g;
    unsigned char riff[12];
    const qint64 n = bron.lees(riff, sizeof riff, 0);
    if (n >= 4 && std::memcmp(riff, "RIFF", 4) != 0)
        throw EFout("Wrong idRIFF");
    if (n < 12)
        throw EFout(afgekapt);
    if (std::memcmp(riff + 8, "WAVE", 4) != 0)
        throw EFout("Wrong idWAVE");
    if (bron.grootte() > maxBestandGrootte)
        throw EFout(QStringLiteral("The file \"%1\" is larger than 4 GB, more than "
                                   "the sizes in a WAV header can describe")
                        .arg(bron.pad()));
    std::memcpy(g.wavKop.idRIFF, riff, 4);
    g.wavKop.riffSize = le32(riff + 4);
    std::memcpy(g.wavKop.idWAVE, riff + 8, 4);

    bool fmtGelezen = false;
    qint64 positie = 12;
    for (;;) {
        unsigned char kop[8];
        const qint64 k = bron.lees(kop, sizeof kop, positie);
        if (k == 0)
            throw EFout(fmtGelezen ? "Wrong idData" : "Wrong idFmt");
        if (k < 8)
            throw EFout(afgekapt);
        const char *id = reinterpret_cast<const char *>(kop);
        const quint32 grootte = le32(kop + 4);
        positie += 8;
        if (isId(id, "data")) {
            if (!fmtGelezen)
                throw EFout("Wrong idFmt");
            std::memcpy(g.chunkKop.idData, id, 4);
            g.chunkKop.dataSize = grootte;
            g.dataBegin = positie;
            // A recorder that stopped without closing its file leaves a size
            // that runs past the end: take the whole frames that are there.
            const qint64 aanwezig = std::min<qint64>(grootte, bron.grootte() - positie);
            g.aantalFrames = aanwezig / g.frameGrootte();
            return g;
        }
        if (isId(id, "fmt ") && !fmtGelezen) {
            leesFmt(bron, positie, grootte, g);
            fmtGelezen = true;
        }
        positie += qint64(grootte) + (grootte & 1);
        if (positie > bron.grootte())
            throw EFout(afgekapt);
    }
}

qint16 naarInt16(float x)
{
    const float v = x * 32768.0f;
    if (std::isnan(v))
        return 0;
    if (v >= 32767.0f)
        return 32767;
    if (v <= -32768.0f)
        return -32768;
    return static_cast<qint16>(std::lrintf(v)); // the default rounding: half to even
}

// Averages the channels of each frame into one sample in [-1, 1).
template <typename Sample>
void mengMono(const unsigned char *p, qint64 frames, int kanalen, int sampleBytes,
              float *uit, Sample sample)
{
    if (kanalen == 1) {
        for (qint64 f = 0; f < frames; ++f, p += sampleBytes)
            uit[f] = float(sample(p));
        return;
    }
    for (qint64 f = 0; f < frames; ++f) {
        double som = 0;
        for (int c = 0; c < kanalen; ++c, p += sampleBytes)
            som += sample(p);
        uit[f] = float(som / kanalen);
    }
}

void decodeer(const TWavGegevens &g, const unsigned char *p, qint64 frames, float *uit)
{
    const int kanalen = g.wavKop.numChannels;
    switch (g.formaat == 3 ? -int(g.wavKop.bitsPerSample) : int(g.wavKop.bitsPerSample)) {
    case 8:  // unsigned, 128 is silence
        mengMono(p, frames, kanalen, 1, uit, [](const unsigned char *s) {
            return (double(*s) - 128.0) / 128.0;
        });
        break;
    case 16:
        mengMono(p, frames, kanalen, 2, uit, [](const unsigned char *s) {
            return qFromLittleEndian<qint16>(s) / 32768.0;
        });
        break;
    case 24:
        mengMono(p, frames, kanalen, 3, uit, [](const unsigned char *s) {
            // Into the top of an int32, so the shift back extends the sign.
            const qint32 w = qint32(quint32(s[0]) << 8 | quint32(s[1]) << 16 | quint32(s[2]) << 24);
            return (w >> 8) / 8388608.0;
        });
        break;
    case 32:
        mengMono(p, frames, kanalen, 4, uit, [](const unsigned char *s) {
            return qFromLittleEndian<qint32>(s) / 2147483648.0;
        });
        break;
    case -32:
        mengMono(p, frames, kanalen, 4, uit, [](const unsigned char *s) {
            return double(qFromLittleEndian<float>(s));
        });
        break;
    case -64:
        mengMono(p, frames, kanalen, 8, uit, [](const unsigned char *s) {
            return qFromLittleEndian<double>(s);
        });
        break;
    default:
        throw EFout("Unknown format"); // leesFmt lets no other layout through
    }
}

// Hands exactly doel samples to verwerk: whatever comes beyond is dropped,
// whatever is missing at the end is made up with silence.
class TUitvoer
{
public:
    TUitvoer(qint64 doel, const TSignaalBlok &verwerk) : rest(doel), hetVerwerk(verwerk) {}

    bool vol() const { return rest == 0; }

    void geef(const float *x, qint64 n)
    {
        n = std::min(n, rest);
        if (n <= 0)
            return;
        deSamples.resize(size_t(n));
        for (qint64 i = 0; i < n; ++i)
            deSamples[size_t(i)] = naarInt16(x[i]);
        hetVerwerk(std::span<const qint16>(deSamples.data(), size_t(n)));
        rest -= n;
    }

    void vulAan()
    {
        const std::vector<float> stilte(size_t(std::min<qint64>(rest, blokBytes / 2)), 0.0f);
        while (rest > 0)
            geef(stilte.data(), qint64(stilte.size()));
    }

private:
    qint64 rest;
    const TSignaalBlok &hetVerwerk;
    std::vector<qint16> deSamples;
};

struct TSoxrWeg
{
    void operator()(soxr_t s) const { soxr_delete(s); }
};
using TResampler = std::unique_ptr<std::remove_pointer_t<soxr_t>, TSoxrWeg>;

void voerDoor(soxr_t s, const float *in, qint64 n, std::vector<float> &buf, TUitvoer &uit)
{
    qint64 gedaan = 0;
    for (;;) {
        size_t idone = 0;
        size_t odone = 0;
        const soxr_error_t fout = soxr_process(s, in ? in + gedaan : nullptr, size_t(n - gedaan),
                                               &idone, buf.data(), buf.size(), &odone);
        if (fout)
            throw EFout(QStringLiteral("Cannot resample the recording. %1").arg(QLatin1StringView(fout)));
        gedaan += qint64(idone);
        uit.geef(buf.data(), qint64(odone));
        if (in ? gedaan >= n : (odone == 0 || uit.vol()))
            return;
    }
}

// The exact path: a mono 16-bit 16 kHz file's samples go out as they are.
void kopieer16k(const TBron &bron, const TWavGegevens &g, const TSignaalBlok &verwerk)
{
    std::vector<qint16> buf(static_cast<size_t>(blokBytes / 2));
    qint64 rest = g.aantalFrames;
    qint64 positie = g.dataBegin;
    while (rest > 0) {
        const qint64 n = std::min<qint64>(rest, qint64(buf.size()));
        const qint64 gelezen = bron.lees(buf.data(), n * 2, positie) / 2;
        // The file got shorter since its header was read: silence keeps the count.
        std::fill(buf.begin() + gelezen, buf.begin() + n, qint16(0));
        if constexpr (Q_BYTE_ORDER == Q_BIG_ENDIAN) {
            for (qint64 i = 0; i < n; ++i)
                buf[size_t(i)] = qFromLittleEndian(buf[size_t(i)]);
        }
        verwerk(std::span<const qint16>(buf.data(), size_t(n)));
        positie += n * 2;
        rest -= n;
    }
}

void stroom16k(const TBron &bron, const TWavGegevens &g, const TSignaalBlok &verwerk)
{
    const quint32 rate = g.wavKop.sampleRate;
    if (g.formaat == 1 && g.wavKop.bitsPerSample == 16 && g.wavKop.numChannels == 1 &&
        rate == wavRate) {
        kopieer16k(bron, g, verwerk);
        return;
    }

    const qint64 frameGrootte = g.frameGrootte();
    const qint64 framesPerBlok = std::max<qint64>(1, blokBytes / frameGrootte);
    std::vector<unsigned char> ruw(static_cast<size_t>(framesPerBlok * frameGrootte));
    std::vector<float> mono(static_cast<size_t>(framesPerBlok));
    TUitvoer uit(framesOp16k(g.aantalFrames, rate), verwerk);

    TResampler resampler;
    std::vector<float> uitBuf;
    if (rate != wavRate) {
        const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
        const soxr_quality_spec_t kwaliteit = soxr_quality_spec(SOXR_HQ, 0);
        soxr_error_t fout = nullptr;
        resampler.reset(soxr_create(rate, wavRate, 1, &fout, &io, &kwaliteit, nullptr));
        if (!resampler || fout)
            throw EFout(QStringLiteral("Cannot resample the recording. %1")
                            .arg(QLatin1StringView(fout ? fout : "")));
        // soxr takes no more input per call than fits this buffer; the cap
        // keeps a very low input rate from asking for a huge one.
        uitBuf.resize(size_t(std::min<qint64>(framesPerBlok * wavRate / rate + 1024, 1 << 18)));
    }

    qint64 rest = g.aantalFrames;
    qint64 positie = g.dataBegin;
    while (rest > 0) {
        const qint64 n = std::min(rest, framesPerBlok);
        const qint64 gelezen = bron.lees(ruw.data(), n * frameGrootte, positie) / frameGrootte;
        decodeer(g, ruw.data(), gelezen, mono.data());
        if (resampler)
            voerDoor(resampler.get(), mono.data(), gelezen, uitBuf, uit);
        else
            uit.geef(mono.data(), gelezen);
        if (gelezen < n)
            break; // the file got shorter since its header was read
        positie += n * frameGrootte;
        rest -= n;
    }
    if (resampler)
        voerDoor(resampler.get(), nullptr, 0, uitBuf, uit); // the tail still in the filter
    uit.vulAan();
}

void zetLe16(char *p, quint16 w) { qToLittleEndian(w, p); }
void zetLe32(char *p, quint32 w) { qToLittleEndian(w, p); }

} // namespace

int TWavGegevens::frameGrootte() const
{
    return int(wavKop.numChannels) * (wavKop.bitsPerSample / 8);
}

QString TWavGegevens::idRIFFTekst() const
{
    const qsizetype n = std::find(wavKop.idRIFF, wavKop.idRIFF + 4, '\0') - wavKop.idRIFF;
    return QString::fromLatin1(wavKop.idRIFF, n);
}

qint64 framesOp16k(qint64 aantal, quint32 rate)
{
    if (rate == wavRate)
        return aantal;
    // In whole numbers: aantal < 2^33 and 16000 < 2^14, so nothing overflows.
    const qint64 teller = aantal * qint64(wavRate);
    const qint64 q = teller / rate;
    const qint64 r = teller % rate;
    if (2 * r > qint64(rate) || (2 * r == qint64(rate) && (q & 1)))
        return q + 1;
    return q;
}

TWavGegevens leesWavKop(const QString &pad)
{
    const TBron bron(pad);
    return leesKop(bron);
}

TWavGegevens leesWav(const QString &pad, const TSignaalBlok &verwerk)
{
    const TBron bron(pad);
    const TWavGegevens g = leesKop(bron);
    stroom16k(bron, g, verwerk);
    return g;
}

void schrijfWav(TAtomischBestand &stroom, quint16 kanalen, quint16 bits, quint32 rate, qint64 aantal)
{
    const qint64 dataBytes = aantal * kanalen * (bits / 8);
    controleerDataGrootte(dataBytes);
    char kop[44];
    std::memcpy(kop, "RIFF", 4);
    zetLe32(kop + 4, quint32(dataBytes + 36));
    std::memcpy(kop + 8, "WAVE", 4);
    std::memcpy(kop + 12, "fmt ", 4);
    zetLe32(kop + 16, 16);
    zetLe16(kop + 20, 1);
    zetLe16(kop + 22, kanalen);
    zetLe32(kop + 24, rate);
    zetLe32(kop + 28, 32000);
    zetLe16(kop + 32, 2);
    zetLe16(kop + 34, bits);
    std::memcpy(kop + 36, "data", 4);
    zetLe32(kop + 40, quint32(dataBytes));
    stroom.schrijf(kop, sizeof kop);
}

bool plakWavs(const QString &uitPad, const QString &pad1, const QString &pad2,
              qint64 &totaal, qint64 &aantal1, qint64 &aantal2, qint64 &begin2)
{
    if (!bestandBestaat(pad1) || !bestandBestaat(pad2))
        return false;

    // Both inputs stay open for the whole join; the output replaces its
    // target only at the end, so it may be one of them.
    const TBron bron1(pad1);
    const TWavGegevens kop1 = leesKop(bron1);
    aantal1 = kop1.aantalFrames;
    const TBron bron2(pad2);
    const TWavGegevens kop2 = leesKop(bron2);
    aantal2 = kop2.aantalFrames;
    const qint64 frames1 = framesOp16k(kop1.aantalFrames, kop1.wavKop.sampleRate);
    const qint64 frames2 = framesOp16k(kop2.aantalFrames, kop2.wavKop.sampleRate);
    begin2 = frames1;
    totaal = frames1 + frames2;

    controleerDataGrootte(totaal * 2); // before a byte is written
    TAtomischBestand uit(uitPad);
    schrijfWav(uit, 1, 16, wavRate, totaal);
    const TSignaalBlok schrijf = [&uit](std::span<const qint16> blok) {
        if constexpr (Q_BYTE_ORDER == Q_BIG_ENDIAN) {
            std::vector<qint16> le(blok.begin(), blok.end());
            for (qint16 &s : le)
                s = qToLittleEndian(s);
            uit.schrijf(reinterpret_cast<const char *>(le.data()), qint64(le.size()) * 2);
        } else {
            uit.schrijf(reinterpret_cast<const char *>(blok.data()), qint64(blok.size()) * 2);
        }
    };
    stroom16k(bron1, kop1, schrijf);
    stroom16k(bron2, kop2, schrijf);
    uit.commit();
    return true;
}
