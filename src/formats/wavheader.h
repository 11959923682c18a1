#pragma once

#include <QtGlobal>

class ByteSource;

// The header of a RIFF WAVE file: which layout its samples have and where
// they lie. Only integer PCM and IEEE float samples are accepted; other
// recordings are read through FFmpeg's decoders (recording.h).
//
// Header errors throw Error with "Wrong idRIFF", "Wrong idWAVE", "Wrong idFmt"
// (no "fmt " chunk before "data" or the end), "Unknown format" (neither
// integer PCM nor IEEE float, also inside WAVE_FORMAT_EXTENSIBLE; no channels;
// a sample rate of 0; bits other than 8, 16, 24, 32, or 32 and 64 for float),
// "Wrong idData" (no "data" chunk) or "Truncated WAV header" (the bytes end
// inside the RIFF header, a chunk header or a chunk before "data").

// The RIFF header and the start of the "fmt " chunk, with the fields as
// stored (little-endian on disk). In a file written by writeWavHeader these
// are its first 36 bytes; in a file read, other chunks may lie between them.
struct WavHeader
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
struct ChunkHeader
{
    char idData[4];
    quint32 dataSize;     // as stored: may claim more than the file holds
};

// What the header of a WAV file says about its samples.
struct WavLayout
{
    WavHeader header{};
    ChunkHeader chunk{};
    // 1 (integer PCM) or 3 (IEEE float): audioFormat, or for an extensible
    // file the format code of its subformat.
    quint16 format = 0;
    // Whole sample frames in the data chunk as far as the bytes hold them
    // (a frame is one sample per channel), at the recording's own rate.
    qint64 frameCount = 0;
    // Offset of the first data byte.
    qint64 dataStart = 0;
    // A data size of 0 with samples after it: a recorder that stopped before
    // it wrote its sizes. frameCount is taken from the file's size.
    bool headerUnfinished = false;
    // A data size beyond the file's end (other than 0xFFFFFFFF, which writers
    // that stream leave on purpose): the file was cut short.
    bool cutShort = false;

    // Bytes per frame: channels x bits / 8.
    int frameSize() const;
};

// Reads and checks the header of the WAV file in source. Throws the header
// errors above, with "\"NAME\": " before them when source.name() is not
// empty, a refusal for bytes over 4 GB (more than RIFF sizes can describe)
// that names source.name(), and the source's read errors.
WavLayout parseWavHeader(const ByteSource &source);
