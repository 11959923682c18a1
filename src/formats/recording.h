#pragma once

#include "formats/channelchoice.h"
#include "formats/samples16k.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Recordings in any format: a WAV file of integer PCM or float samples
// through the own reader (wavheader.h, wavstream.h), any other through
// FFmpeg's decoders (decodedrecording.h). A file neither reads is refused
// with both reasons: ""PATH": not a recording Naadwerk can read (WAV reader:
// REASON; FFmpeg: REASON)", or, for a text file, ""PATH" is a text file, not
// a recording".

// What probeRecording learns about a recording.
struct RecordingInfo
{
    // "RIFF" for a WAV file of the own reader; otherwise the coding FFmpeg's
    // decoder names ("MP3", "AAC", "FLAC", "PCM_S16LE" ...).
    QString format;
    // Read through FFmpeg's decoders: the own reader refused it.
    bool decoded = false;
    int channels = 0;
    quint32 rate = 0; // frames per second
    // Frames at its own rate (a frame is one sample per channel): a WAV
    // file's whole frames as far as its bytes hold them, a decoded
    // recording's frames as it decodes to them.
    qint64 frames = 0;
    // A recording that ends before the end its file promises (a WAV data
    // size beyond the file's end, AudioDecoder::cutShort): frames counts
    // what could be read.
    bool cutShort = false;
    // A WAV file whose data size was never written: frames comes from the
    // file's size.
    bool headerUnfinished = false;
};

// The sentences of the log about a recording read in part, or whose length
// came from elsewhere than its header; frames at its own rate.
QString cutShortWarning(const QString &path, qint64 frames);
QString unfinishedHeaderWarning(const QString &path, qint64 frames);

// Opens the file at path, reads what it is and closes it again. A WAV file
// of the own reader is known from its header; any other recording is
// decoded once to count its frames (only its first frame where its packets
// tell the length exactly). Throws "Cannot open file "%s". %s" when it
// cannot be opened, the header errors of parseWavHeader and the refusal of
// bytes over 4 GB.
RecordingInfo probeRecording(const QString &path);

// Hands the recording at path to process block by block as mono 16-bit
// samples at 16000 frames per second, the channels averaged or the one
// channels chooses, decoded once. Returns its frames as decoded, at its own
// rate; exactly framesAt16k(those, its rate) samples are handed on. A
// recording cut short is handed on as far as it reads, and a sentence naming
// it is added to warnings, as is one for a WAV header never finished. Throws
// as probeRecording does, and "Cannot read file "%s". %s".
qint64 streamRecording(const QString &path, const SampleBlock &process,
                       ChannelChoice channels = ChannelChoice::Mix, QStringList *warnings = nullptr);
