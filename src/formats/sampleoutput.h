#pragma once

#include "formats/samples16k.h"

#include <vector>

// The last stage of the conversion to 16 kHz: float samples in [-1, 1) in,
// 16-bit samples out, rounded half to even and clipped, exactly target of
// them in all. Whatever comes beyond the target is dropped, whatever is
// missing at the end is made up with silence.
class SampleOutput
{
public:
    // A target of -1 is told only to fillUp (a recording whose length is
    // known once it has been decoded): until then the last few samples are
    // held back, enough for the resampler's rounding of the length.
    SampleOutput(qint64 target, const SampleBlock &process) : rest(target), process(process) {}

    // Whether the target has been handed on.
    bool full() const { return rest == 0; }
    void give(const float *x, qint64 n);
    // Ends the output at target samples in all; target is needed only when
    // it was not known at the start.
    void fillUp(qint64 target = -1);

private:
    void hand(const qint16 *p, size_t n);

    qint64 rest;
    const SampleBlock &process;
    std::vector<qint16> samples;
    std::vector<qint16> held;
    qint64 handed = 0;
};
