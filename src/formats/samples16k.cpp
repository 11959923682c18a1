#include "formats/samples16k.h"

#include "base/numbers.h"

qint64 framesAt16k(qint64 count, quint32 rate)
{
    if (rate == wavRate)
        return count;
    // In whole numbers: count < 2^33 and 16000 < 2^14, so nothing overflows.
    const qint64 numerator = count * qint64(wavRate);
    const qint64 q = numerator / rate;
    const qint64 r = numerator % rate;
    if (2 * r > qint64(rate) || (2 * r == qint64(rate) && (q & 1)))
        return q + 1;
    return q;
}

qint64 msAt16k(qint64 frames)
{
    return roundHalfEven(static_cast<double>(frames) / 16.0);
}
