#pragma once

#include <QtGlobal>

#include <algorithm>

// The channel step of the conversion to mono: frames frames of channels
// interleaved samples of sampleBytes bytes each at p, read by sample (a
// value in [-1, 1)), become one float each in out. Either the channels are
// averaged (in double, rounded to float once), or, for picked >= 0, that one
// channel is taken.
template <typename Sample>
void mixToMono(const unsigned char *p, qint64 frames, int channels, int sampleBytes, float *out,
               Sample sample, int picked)
{
    if (channels == 1 || picked >= 0) {
        const qint64 step = qint64(channels) * sampleBytes;
        p += std::max(picked, 0) * sampleBytes;
        for (qint64 f = 0; f < frames; ++f, p += step)
            out[f] = float(sample(p));
        return;
    }
    for (qint64 f = 0; f < frames; ++f) {
        double sum = 0;
        for (int c = 0; c < channels; ++c, p += sampleBytes)
            sum += sample(p);
        out[f] = float(sum / channels);
    }
}
