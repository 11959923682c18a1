#include "formats/to16k.h"

#include "base/error.h"

#include <QString>

#include <soxr.h>

#include <algorithm>

namespace {

[[noreturn]] void resampleError(const char *error)
{
    throw Error(QStringLiteral("Cannot resample the recording. %1").arg(QLatin1StringView(error ? error : "")));
}

} // namespace

void To16k::SoxrDelete::operator()(soxr *s) const
{
    soxr_delete(s);
}

To16k::To16k(quint32 rate, qint64 frames, qint64 framesPerBlock, const SampleBlock &process)
    : rate(rate), out(frames < 0 ? -1 : framesAt16k(frames, rate), process)
{
    if (rate == wavRate)
        return;
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    soxr_error_t error = nullptr;
    resampler.reset(soxr_create(rate, wavRate, 1, &error, &io, &quality, nullptr));
    if (!resampler || error)
        resampleError(error);
    // soxr takes no more input per call than fits this buffer; the cap
    // keeps a very low input rate from asking for a huge one.
    outBuffer.resize(size_t(std::min<qint64>(framesPerBlock * wavRate / rate + 1024, 1 << 18)));
}

To16k::~To16k() = default;

void To16k::push(const float *mono, qint64 n)
{
    if (resampler)
        feed(mono, n);
    else
        out.give(mono, n);
}

void To16k::finish(qint64 frames)
{
    if (resampler)
        feed(nullptr, 0); // the tail still in the filter
    out.fillUp(frames < 0 ? -1 : framesAt16k(frames, rate));
}

// Input null drains the filter.
void To16k::feed(const float *in, qint64 n)
{
    qint64 done = 0;
    for (;;) {
        size_t inputDone = 0;
        size_t outputDone = 0;
        const soxr_error_t error = soxr_process(resampler.get(), in ? in + done : nullptr, size_t(n - done),
                                                &inputDone, outBuffer.data(), outBuffer.size(), &outputDone);
        if (error)
            resampleError(error);
        done += qint64(inputDone);
        out.give(outBuffer.data(), qint64(outputDone));
        if (in ? done >= n : (outputDone == 0 || out.full()))
            return;
    }
}
