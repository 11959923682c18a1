#pragma once

#include "formats/channelchoice.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>
#include <span>

class AtomicFile;
class ByteSource;

// WAV files: reading and checking RIFF WAVE headers, decoding the samples of
// any PCM or float layout to mono 16-bit at 16000 frames per second, writing
// the 44-byte header of such a file and joining two recordings into one.
//
// Header errors throw Error with "Wrong idRIFF", "Wrong idWAVE", "Wrong idFmt"
// (no "fmt " chunk before "data" or the end), "Unknown format" (neither
// integer PCM nor IEEE float, also inside WAVE_FORMAT_EXTENSIBLE; no channels;
// a sample rate of 0; bits other than 8, 16, 24, 32, or 32 and 64 for float),
// "Wrong idData" (no "data" chunk) or "Truncated WAV header" (the bytes end
// inside the RIFF header, a chunk header or a chunk before "data").

// The frame rate of every file this unit writes.
inline constexpr quint32 wavRate = 16000;

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

// What a header read learns about a recording.
struct WavInfo
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

    // The coding FFmpeg's decoder named ("MP3", "AAC", "FLAC" ...) for a
    // recording the own reader refused and FFmpeg's libraries read; empty
    // for a WAV file of the own reader. Such a recording has only
    // numChannels, sampleRate and frameCount (the frames it decodes to) set.
    QString decodedFormat;
    // A decoded recording that ends before the end its file promises
    // (AudioDecoder::cutShort): frameCount counts what could be decoded.
    bool cutShort = false;

    // Bytes per frame: channels x bits / 8.
    int frameSize() const;
    // The first four bytes as text, one character per byte, ending at a zero byte.
    QString riffIdText() const;
    // decodedFormat, or for a WAV file of the own reader riffIdText().
    QString formatText() const;
};

// One block of decoded samples: mono, 16-bit, 16000 frames per second.
using SampleBlock = std::function<void(std::span<const qint16> block)>;

// Reads and checks the header of the recording in source. Throws the header
// errors above, with "\"NAME\": " before them when source.name() is not
// empty, and a refusal for bytes over 4 GB (more than RIFF sizes can
// describe) that names source.name().
WavInfo parseWavHeader(const ByteSource &source);

// Opens the file at path, reads and checks its header and closes it again.
// A file the own reader refuses is handed to FFmpeg's decoders, which decode
// it once to count its frames; when they cannot decode it either, or find
// no audio in it, the own reader's error is thrown.
// Throws "Cannot open file "%s". %s" when it cannot be opened, and the
// errors of parseWavHeader.
WavInfo readWavHeader(const QString &path);

// The number of frames that count frames at rate occupy at 16000 frames per
// second: count x 16000 / rate, rounded half to even.
qint64 framesAt16k(qint64 count, quint32 rate);

// Reads the recording in source and hands it to process block by block as
// mono 16-bit samples at 16000 frames per second: the channels averaged (or
// the one channels chooses), resampled with libsoxr (high quality) unless the rate is 16000 already,
// rounded and clipped to 16 bits. A mono 16-bit 16 kHz recording is passed
// on bit for bit. Exactly framesAt16k(frameCount, sampleRate) samples are
// handed on in all. Never holds more than a block of the recording in memory.
// Throws as parseWavHeader does, and the source's read errors.
WavInfo readWav(const ByteSource &source, const SampleBlock &process,
                ChannelChoice channels = ChannelChoice::Mix);

// The same for the file at path. Throws as readWavHeader does, and
// "Cannot read file "%s". %s".
WavInfo readWav(const QString &path, const SampleBlock &process,
                ChannelChoice channels = ChannelChoice::Mix);

// Hands the recording at path to process as joinWavs converts each
// recording: a WAV file through the own reader, any other through FFmpeg's
// decoders, decoded once, with the channels chosen. Returns its frames as
// decoded, at its own rate; exactly framesAt16k(those, its rate) samples are
// handed on. A decoded recording cut short adds a sentence naming it to
// warnings, as joinWavs does. Throws as readWavHeader and readWav do.
qint64 streamRecording(const QString &path, const SampleBlock &process,
                       ChannelChoice channels = ChannelChoice::Mix, QStringList *warnings = nullptr);

// Writes the 44-byte header of a PCM WAV file that holds frames frames:
// "RIFF", data bytes + 36, "WAVE", "fmt ", 16, 1, channels, rate, 32000, 2,
// bits, "data", data bytes, where data bytes = frames x channels x (bits / 8).
// byteRate and blockAlign are always those of mono 16-bit 16 kHz, the only
// layout this unit writes. Throws Error when the sizes exceed 4 GB.
void writeWavHeader(AtomicFile &out, quint16 channels, quint16 bits, quint32 rate, qint64 frames);

// Appends block to out as 16-bit little-endian samples, the data of a file
// whose header writeWavHeader wrote.
void writeSamples(AtomicFile &out, std::span<const qint16> block);

// Ends a joined recording in out whose header writeWavHeader wrote for
// headerFrames: the header again when written frames were written instead
// (a decoded recording's length is known only once it has been decoded), a
// last report to progress before the target is replaced, and the commit.
void commitJoinedWav(AtomicFile &out, qint64 headerFrames, qint64 written,
                     const std::function<void(qint64 done, qint64 total)> &progress);

// Joins the recordings at path1 and path2 into one mono 16-bit 16 kHz file
// at outPath, converting each as readWav does with the channels chosen; a
// recording the own reader refuses goes to FFmpeg's decoders, is decoded
// once (its length is learnt on the way; the header is written again at the
// end) and mixed and resampled the same way. Such a recording that ends
// before the end its file promises (AudioDecoder::cutShort) is joined as far
// as it could be decoded, and a sentence naming it is added to warnings;
// one without a single decodable frame is refused as readWavHeader refuses
// it. Returns false, having read and written nothing and left every out
// value as it was, when path1 or path2 names no regular file.
// Out values, each set as soon as it is known:
//   frames1  frames of recording 1 as stored (at its own rate): set once
//            its header has been read (a decoded recording: once decoded);
//   frames2  the same for recording 2, set once its header has been read,
//            together with
//   total    frames of the joined file = start2 + frames of part 2 in it, and
//   start2   frames of part 1 in the joined file, where part 2 starts:
//            framesAt16k(frames1, rate 1).
// So with WAV files a header error of recording 1 sets nothing, one of
// recording 2 sets only frames1, and a later failure (creating or writing
// the output, reading the samples) leaves all four set. A decoded
// recording's counts are set once it has been decoded.
// The output is written atomically: the target is replaced only when the
// joined file is complete, so outPath may name an input, and a failure leaves
// whatever was at outPath untouched. A joined file over 4 GB is refused
// before anything is written. Throws the errors of readWav and
// "Cannot create file "%s". %s".
// progress, when given, hears the frames written of total after each block
// (total 0 while a decoded recording's length is not known) and once more
// before the target is replaced; what it throws ends the join with the
// target untouched.
bool joinWavs(const QString &outPath, const QString &path1, const QString &path2,
              qint64 &total, qint64 &frames1, qint64 &frames2, qint64 &start2,
              ChannelChoice channels = ChannelChoice::Mix, QStringList *warnings = nullptr,
              const std::function<void(qint64 done, qint64 total)> &progress = {});
