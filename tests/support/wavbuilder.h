#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// WAV files for the tests, built byte by byte so that every header field and
// every chunk can be made right or wrong on purpose.

QByteArray le16(quint16 value);
QByteArray le32(quint32 value);

// A chunk: id, little-endian size and body, plus a pad byte after an odd size.
QByteArray chunk(const char *id, const QByteArray &body);
// "RIFF", size, "WAVE" and the given chunks.
QByteArray riff(const QByteArray &chunks);
// The 16-byte body of a plain "fmt " chunk, plus any extension bytes.
QByteArray fmtBody(quint16 format, quint16 channels, quint32 rate, quint16 bits,
                   const QByteArray &extra = {});
// The 40-byte body of a WAVE_FORMAT_EXTENSIBLE "fmt " chunk.
QByteArray extensibleBody(quint16 subformat, quint16 channels, quint32 rate, quint16 bits);
// Samples as little-endian 16-bit bytes.
QByteArray pcm16(const std::vector<qint16> &samples);
// A canonical mono 16-bit 16 kHz file of the given samples.
QByteArray wav16k(const std::vector<qint16> &samples);
// A canonical PCM file of silence: a 44-byte header, then frames x channels samples.
QByteArray silentWav(int rate, int channels, int bits, qint64 frames);
// The same, written to path; throws std::runtime_error when it cannot be written.
void writeSilentWav(const QString &path, int rate, int channels, int bits, qint64 frames);

// The chunk ids of a RIFF file in order, walked by their sizes.
QStringList chunkIds(const QByteArray &file);
// The samples of a canonical 44-byte-header mono 16-bit file.
std::vector<qint16> samplesAfter44(const QString &path);
// Signal-to-noise ratio in dB of test against ref over their common length.
double snrDb(const std::vector<qint16> &ref, const std::vector<qint16> &test);
