#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>

// A recording in any format FFmpeg's libraries decode (MP3, AAC in M4A, FLAC,
// Ogg Vorbis, Opus, WAV layouts such as RF64 or ADPCM), read block by block
// as float samples in [-1, 1).
//
// The samples are those the decoder hands out once the encoder's delay and
// padding are removed (the gapless information of the file where it has it):
// the samples `ffmpeg -i FILE -f s16le -` writes, but ending where the
// container's timestamps end the last packet (an M4A file's edit list cuts
// the last AAC frame short). Only one block of the recording is held in
// memory at a time.
class AudioDecoder
{
public:
    // Opens the file at path and its best audio stream, with the demuxer its
    // extension names where that one reads it cleanly, else with the one its
    // content names. Throws Error with FFmpeg's reason ("Invalid data found
    // when processing input", "no audio stream it can decode") when the file
    // cannot be opened, holds no audio stream or no decoder for it.
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
    // otherwise the block holds frames() frames.
    bool next();
    qint64 frames() const;
    // Writes the block's frames() frames to out as one channel: the channel
    // picked (an index below channels()), or for -1 all of them averaged.
    void mix(float *out, int picked) const;

    // Reads the whole recording and returns the frames it decodes to, what
    // next() would hand out in all. Where the packets tell that number
    // exactly (MP3, FLAC, AAC in MP4/M4A, Opus and Vorbis in Ogg), only the
    // first frame is decoded; otherwise all of them. Afterwards next() has
    // nothing more to hand out.
    qint64 countFrames();

    // Once next() returned false or countFrames() counted: whether the recording ends before the end
    // its file promises, as a file that stopped being written does (a phone
    // that died). The samples up to there were all handed out. Told by what
    // clean files never show: a read error other than the end of the file,
    // a packet the demuxer found cut off (an M4A sample table pointing past
    // the end of the file), fewer frames than the length the header states
    // (FLAC's STREAMINFO, an MP3's Xing or LAME frame count, an M4A's sample
    // table) by more than a packet, or an Ogg file whose last page is cut off
    // or is not the last page of its stream.
    bool cutShort() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
