#include "formats/sampleoutput.h"

#include <algorithm>
#include <cmath>

namespace {

// Far more than the resampler's rounding of a length can add.
constexpr size_t heldBack = 4096;

// Silence is handed on in blocks of this many samples.
constexpr qint64 silenceBlock = 1 << 19;

qint16 toInt16(float x)
{
    const float v = x * 32768.0f;
    if (std::isnan(v))
        return 0;
    if (v >= 32767.0f)
        return 32767;
    if (v <= -32768.0f)
        return -32768;
    return static_cast<qint16>(std::lrintf(v)); // the default rounding: half to even
}

} // namespace

void SampleOutput::give(const float *x, qint64 n)
{
    if (rest >= 0)
        n = std::min(n, rest);
    if (n <= 0)
        return;
    const size_t kept = held.size();
    samples.resize(kept + size_t(n));
    std::copy(held.begin(), held.end(), samples.begin());
    for (qint64 i = 0; i < n; ++i)
        samples[kept + size_t(i)] = toInt16(x[i]);
    held.clear();
    size_t out = samples.size();
    if (rest < 0) {
        out -= std::min(out, heldBack);
        held.assign(samples.begin() + qint64(out), samples.end());
    } else {
        rest -= n;
    }
    hand(samples.data(), out);
}

void SampleOutput::fillUp(qint64 target)
{
    if (rest < 0) {
        hand(held.data(), size_t(std::clamp<qint64>(target - handed, 0, qint64(held.size()))));
        held.clear();
        rest = std::max<qint64>(0, target - handed);
    }
    const std::vector<float> silence(size_t(std::min<qint64>(rest, silenceBlock)), 0.0f);
    while (rest > 0)
        give(silence.data(), qint64(silence.size()));
}

void SampleOutput::hand(const qint16 *p, size_t n)
{
    if (n == 0)
        return;
    process(std::span<const qint16>(p, n));
    handed += qint64(n);
}
