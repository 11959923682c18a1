#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>
#include <span>

// A recording in any format FFmpeg's libraries decode (MP3, AAC in M4A, FLAC,
// Ogg Vorbis, Opus, WAV layouts such as RF64 or ADPCM), read block by block
// as float samples in [-1, 1), channels interleaved.
//
// The samples are those the decoder hands out once the encoder's delay and
// padding are removed (the gapless information of the file where it has it),
// the same samples `ffmpeg -i FILE -f s16le -` writes. Only one block of the
// recording is held in memory at a time.
class AudioDecoder
{
public:
    // Opens the file at path and its first audio stream. Throws Error
    // "Cannot decode file "%s". %s" when the file cannot be opened, holds no
    // audio stream or no decoder for it.
    explicit AudioDecoder(const QString &path);
    ~AudioDecoder();
    AudioDecoder(const AudioDecoder &) = delete;
    AudioDecoder &operator=(const AudioDecoder &) = delete;

    // The coding of the audio, as a person knows it: "MP3", "AAC", "FLAC",
    // "Opus", "Vorbis", "PCM_S16LE" ...
    QString formatName() const;
    int channels() const;
    quint32 rate() const;

    // Decodes the next block. Returns false at the end of the recording;
    // otherwise block() holds frames() frames of channels() samples each.
    bool next();
    std::span<const float> block() const;
    qint64 frames() const;

    // True once the decoder met bytes it could not read or the file ended
    // inside a packet: what came before was decoded, the rest is lost.
    bool damaged() const;

    // Decodes the whole recording at path once and returns its frame count;
    // damaged tells whether the file was cut short or broken. Throws as the
    // constructor does.
    static qint64 countFrames(const QString &path, bool *damaged = nullptr);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
