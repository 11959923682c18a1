#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// Builders for WAV fixtures and small tools shared by the WAV tests.

QByteArray le16(quint16 w);
QByteArray le32(quint32 w);

// A chunk: id, little-endian size and body, plus a pad byte after an odd size.
QByteArray chunk(const char *id, const QByteArray &body);
// "RIFF", size, "WAVE" and the given chunks.
QByteArray riff(const QByteArray &chunks);
// The 16-byte body of a plain "fmt " chunk, plus any extension bytes.
QByteArray fmtBody(quint16 formaat, quint16 kanalen, quint32 rate, quint16 bits,
                   const QByteArray &extra = {});
// The 40-byte body of a WAVE_FORMAT_EXTENSIBLE "fmt " chunk.
QByteArray extensibleBody(quint16 subformaat, quint16 kanalen, quint32 rate, quint16 bits);
// Samples as little-endian 16-bit bytes.
QByteArray pcm16(const std::vector<qint16> &samples);
// A canonical mono 16-bit 16 kHz file of the given samples.
QByteArray wav16k(const std::vector<qint16> &samples);

// The chunk ids of a RIFF file in order, walked by their sizes.
QStringList chunkIds(const QByteArray &bestand);

bool schrijfBestand(const QString &pad, const QByteArray &inhoud);
QByteArray leesBestand(const QString &pad);
// The samples of a canonical 44-byte-header mono 16-bit file.
std::vector<qint16> samplesNa44(const QString &pad);

// Runs a program to its end; empty on success, otherwise what went wrong.
QString draai(const QString &programma, const QStringList &argumenten,
              QByteArray *uitvoer = nullptr);
// What soxi says about a file (one of -s, -c, -r, -b), as a number.
qint64 soxi(const QString &optie, const QString &pad);
bool heeftProgramma(const QString &programma);

// Signal-to-noise ratio in dB of test against ref over their common length.
double snrDb(const std::vector<qint16> &ref, const std::vector<qint16> &test);
