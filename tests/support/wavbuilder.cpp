#include "support/wavbuilder.h"

#include "support/files.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>

QByteArray le16(quint16 value)
{
    QByteArray b(2, '\0');
    qToLittleEndian(value, b.data());
    return b;
}

QByteArray le32(quint32 value)
{
    QByteArray b(4, '\0');
    qToLittleEndian(value, b.data());
    return b;
}

QByteArray chunk(const char *id, const QByteArray &body)
{
    QByteArray c = QByteArray(id, 4) + le32(quint32(body.size())) + body;
    if (body.size() % 2)
        c += '\0';
    return c;
}

QByteArray riff(const QByteArray &chunks)
{
    return "RIFF" + le32(quint32(chunks.size() + 4)) + "WAVE" + chunks;
}

QByteArray fmtBody(quint16 format, quint16 channels, quint32 rate, quint16 bits, const QByteArray &extra)
{
    const quint16 blockAlign = quint16(channels * (bits / 8));
    return le16(format) + le16(channels) + le32(rate) + le32(rate * blockAlign) + le16(blockAlign)
           + le16(bits) + extra;
}

QByteArray extensibleBody(quint16 subformat, quint16 channels, quint32 rate, quint16 bits)
{
    const QByteArray guidTail = QByteArray::fromHex("000000001000800000aa00389b71");
    return fmtBody(0xFFFE, channels, rate, bits, le16(22) + le16(bits) + le32(0) + le16(subformat) + guidTail);
}

QByteArray pcm16(const std::vector<qint16> &samples)
{
    QByteArray b;
    b.reserve(qsizetype(samples.size()) * 2);
    for (qint16 s : samples)
        b += le16(quint16(s));
    return b;
}

QByteArray wav16k(const std::vector<qint16> &samples)
{
    return riff(chunk("fmt ", fmtBody(1, 1, 16000, 16)) + chunk("data", pcm16(samples)));
}

QByteArray silentWav(int rate, int channels, int bits, qint64 frames)
{
    const quint32 blockAlign = quint32(channels * bits / 8);
    const quint32 dataBytes = quint32(frames) * blockAlign;
    // Built by hand rather than with riff(): the header stays 44 bytes even
    // for an odd data size.
    QByteArray b = "RIFF" + le32(dataBytes + 36) + "WAVEfmt " + le32(16)
                   + fmtBody(1, quint16(channels), quint32(rate), quint16(bits)) + "data" + le32(dataBytes);
    b += QByteArray(qsizetype(dataBytes), '\0');
    return b;
}

void writeSilentWav(const QString &path, int rate, int channels, int bits, qint64 frames)
{
    writeBytes(path, silentWav(rate, channels, bits, frames));
}

QStringList chunkIds(const QByteArray &file)
{
    QStringList ids;
    qsizetype p = 12;
    while (p + 8 <= file.size()) {
        ids << QString::fromLatin1(file.mid(p, 4));
        const quint32 n = qFromLittleEndian<quint32>(file.constData() + p + 4);
        if (ids.last() == QLatin1String("data"))
            break;
        p += 8 + qsizetype(n) + (n & 1);
    }
    return ids;
}

std::vector<qint16> samplesAfter44(const QString &path)
{
    const QByteArray b = readBytes(path);
    std::vector<qint16> samples;
    for (qsizetype p = 44; p + 2 <= b.size(); p += 2)
        samples.push_back(qFromLittleEndian<qint16>(b.constData() + p));
    return samples;
}

double snrDb(const std::vector<qint16> &ref, const std::vector<qint16> &test)
{
    const size_t n = std::min(ref.size(), test.size());
    double signal = 0;
    double noise = 0;
    for (size_t i = 0; i < n; ++i) {
        const double r = ref[i];
        const double d = double(test[i]) - r;
        signal += r * r;
        noise += d * d;
    }
    if (noise == 0)
        return 200;
    return 10 * std::log10(signal / noise);
}
