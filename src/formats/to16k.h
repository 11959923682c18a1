#pragma once

#include "formats/sampleoutput.h"

#include <memory>
#include <vector>

struct soxr; // libsoxr's resampler

// Mono samples at a recording's rate in, exactly framesAt16k(frames, rate)
// samples at 16000 frames per second out: resampled with libsoxr (high
// quality) unless the rate is 16000 already, then rounded and clipped to 16
// bits (SampleOutput).
class To16k
{
public:
    // frames -1: the count is known only at the end and told to finish().
    // framesPerBlock: the most push() is given at once. Throws Error
    // "Cannot resample the recording. %s" when libsoxr cannot be set up.
    To16k(quint32 rate, qint64 frames, qint64 framesPerBlock, const SampleBlock &process);
    ~To16k();
    To16k(const To16k &) = delete;
    To16k &operator=(const To16k &) = delete;

    void push(const float *mono, qint64 n);
    // Hands on the tail still in the filter and ends the output at its
    // count: frames, when the constructor was not told it.
    void finish(qint64 frames = -1);

private:
    struct SoxrDelete
    {
        void operator()(soxr *s) const;
    };

    void feed(const float *in, qint64 n);

    quint32 rate;
    SampleOutput out;
    std::unique_ptr<soxr, SoxrDelete> resampler;
    std::vector<float> outBuffer;
};
