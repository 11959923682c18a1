#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <span>

class TAtomischBestand;

// WAV files: reading and checking RIFF WAVE headers, decoding the samples of
// any PCM or float layout to mono 16-bit at 16000 frames per second, writing
// the 44-byte header of such a file and joining two recordings into one.
//
// Header errors throw EFout with "Wrong idRIFF", "Wrong idWAVE", "Wrong idFmt"
// (no "fmt " chunk before "data" or the end), "Unknown format" (neither
// integer PCM nor IEEE float, also inside WAVE_FORMAT_EXTENSIBLE; no channels;
// a sample rate of 0; bits other than 8, 16, 24, 32, or 32 and 64 for float),
// "Wrong idData" (no "data" chunk) or "Truncated WAV header" (the file ends
// inside the RIFF header, a chunk header or a chunk before "data").

// The frame rate of every file this unit writes.
inline constexpr quint32 wavRate = 16000;

// The RIFF header and the start of the "fmt " chunk, with the fields as
// stored (little-endian on disk). In a file written by schrijfWav these are
// its first 36 bytes; in a file read, other chunks may lie between them.
struct TWavKop
{
    char idRIFF[4];
    quint32 riffSize;
    char idWAVE[4];
    char idFmt[4];
    quint32 fmtSize;
    quint16 audioFormat;  // 1 PCM, 3 IEEE float, 0xFFFE extensible
    quint16 numChannels;
    quint32 sampleRate;
    quint32 byteRate;
    quint16 blockAlign;
    quint16 bitsPerSample;
};

// The header of the "data" chunk.
struct TChunkKop
{
    char idData[4];
    quint32 dataSize;     // as stored: may claim more than the file holds
};

// What leesWavKop learns about a file.
struct TWavGegevens
{
    TWavKop wavKop{};
    TChunkKop chunkKop{};
    // 1 (integer PCM) or 3 (IEEE float): audioFormat, or for an extensible
    // file the format code of its subformat.
    quint16 formaat = 0;
    // Whole sample frames in the data chunk as far as the file holds them
    // (a frame is one sample per channel), at the file's own rate.
    qint64 aantalFrames = 0;
    // File offset of the first data byte.
    qint64 dataBegin = 0;

    // Bytes per frame: channels x bits / 8.
    int frameGrootte() const;
    // The first four bytes as text, one character per byte, ending at a zero byte.
    QString idRIFFTekst() const;
};

// One block of decoded samples: mono, 16-bit, 16000 frames per second.
using TSignaalBlok = std::function<void(std::span<const qint16> blok)>;

// Opens the file at pad, reads and checks its header and closes it again.
// Throws "Cannot open file "%s". %s" when it cannot be opened, the header
// errors above, and a refusal for a file over 4 GB (more than RIFF sizes
// can describe).
TWavGegevens leesWavKop(const QString &pad);

// The number of frames that aantal frames at rate occupy at 16000 frames per
// second: aantal x 16000 / rate, rounded half to even.
qint64 framesOp16k(qint64 aantal, quint32 rate);

// Reads the recording at pad and hands it to verwerk block by block as mono
// 16-bit samples at 16000 frames per second: the channels averaged,
// resampled with libsoxr (high quality) unless the rate is 16000 already,
// rounded and clipped to 16 bits. A mono 16-bit 16 kHz file is passed on bit
// for bit. Exactly framesOp16k(aantalFrames, sampleRate) samples are handed
// on in all. Never holds more than a block of the recording in memory.
// Throws as leesWavKop does, and "Cannot read file "%s". %s".
TWavGegevens leesWav(const QString &pad, const TSignaalBlok &verwerk);

// Writes the 44-byte header of a PCM WAV file that holds aantal frames:
// "RIFF", data bytes + 36, "WAVE", "fmt ", 16, 1, kanalen, rate, 32000, 2,
// bits, "data", data bytes, where data bytes = aantal x kanalen x (bits / 8).
// byteRate and blockAlign are always those of mono 16-bit 16 kHz, the only
// layout this unit writes. Throws EFout when the sizes exceed 4 GB.
void schrijfWav(TAtomischBestand &stroom, quint16 kanalen, quint16 bits, quint32 rate,
                qint64 aantal);

// Joins the recordings at pad1 and pad2 into one mono 16-bit 16 kHz file at
// uitPad, converting each as leesWav does. Returns false, having read and
// written nothing and left every out value as it was, when pad1 or pad2
// names no regular file.
// Out values, each set as soon as it is known:
//   aantal1  frames of recording 1 as stored (at its own rate): set once
//            its header has been read;
//   aantal2  the same for recording 2, set once its header has been read,
//            together with
//   totaal   frames of the joined file = begin2 + frames of half 2 in it, and
//   begin2   frames of half 1 in the joined file, where half 2 starts:
//            framesOp16k(aantal1, rate 1).
// So a header error of recording 1 sets nothing, one of recording 2 sets
// only aantal1, and a later failure (creating or writing the output, reading
// the samples) leaves all four set.
// The output is written atomically: the target is replaced only when the
// joined file is complete, so uitPad may name an input, and a failure leaves
// whatever was at uitPad untouched. A joined file over 4 GB is refused
// before anything is written. Throws the errors of leesWav and
// "Cannot create file "%s". %s".
bool plakWavs(const QString &uitPad, const QString &pad1, const QString &pad2,
              qint64 &totaal, qint64 &aantal1, qint64 &aantal2, qint64 &begin2);
