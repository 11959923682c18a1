#pragma once

#include <QtGlobal>

#include <functional>
#include <span>

// The form every recording is joined in: mono, 16-bit, 16000 frames per
// second.

// The frame rate of the joined recording.
inline constexpr quint32 wavRate = 16000;

// One block of samples in that form.
using SampleBlock = std::function<void(std::span<const qint16> block)>;

// The number of frames that count frames at rate occupy at 16000 frames per
// second: count x 16000 / rate, rounded half to even.
qint64 framesAt16k(qint64 count, quint32 rate);

// The milliseconds that frames at 16000 frames per second last: frames / 16,
// rounded half to even.
qint64 msAt16k(qint64 frames);
