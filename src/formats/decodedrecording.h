#pragma once

#include "formats/recording.h"

class Error;

// The recordings the own WAV reader refused, through FFmpeg's decoders
// (AudioDecoder). ownError is the own reader's refusal: when the decoders
// cannot open the file either, find no audio in it or decode not a single
// frame, the file is refused with both reasons (recording.h).

// What probeRecording tells of such a recording.
RecordingInfo probeDecoded(const QString &path, const Error &ownError);

// Streams it as streamRecording does, mixed and resampled as a WAV file's
// samples are, in one pass that learns the length on the way; returns the
// frames decoded.
qint64 streamDecoded(const QString &path, const Error &ownError, const SampleBlock &process,
                     ChannelChoice channels, QStringList *warnings);
