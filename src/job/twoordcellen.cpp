#include "job/twoordcellen.h"

#include "job/decimaal.h"
#include "lines/tekst.h"
#include "lines/tweetegelijk.h"

#include <cstring>
#include <limits>

namespace {

// A time shifted by the offset of half 2; a time at the end of the 64-bit
// range (nonsense, but a word file can hold it) stays there instead of
// wrapping around to the other side of zero.
std::int64_t verschoven(std::int64_t tijd, std::int64_t verschuiving)
{
    std::int64_t r;
    if (__builtin_add_overflow(tijd, verschuiving, &r))
        return verschuiving > 0 ? std::numeric_limits<std::int64_t>::max()
                                : std::numeric_limits<std::int64_t>::min();
    return r;
}

} // namespace

const QString &TWoordCellen::vertrouwen(float co)
{
    std::uint32_t bits;
    std::memcpy(&bits, &co, sizeof bits);
    TVertrouwen &v = deVertrouwens[(bits ^ (bits >> 13)) % 1024];
    if (v.tekst.isNull() || v.bits != bits) {
        v.bits = bits;
        v.tekst = metDecimalen(co, 2);
    }
    return v.tekst;
}

void TWoordCellen::vul(QString *c, std::int64_t nummer, const TWoord &w, std::int64_t verschuiving)
{
    c[0] = decimaal(nummer);
    c[1] = decimaal(verschoven(w.st, verschuiving));
    c[2] = decimaal(verschoven(w.et, verschuiving));
    c[3] = w.T;
    c[4] = vertrouwen(w.co);
    c[5] = w.spk;
}

std::vector<QString> TWoordCellen::vanWoorden(const std::vector<TWoord> &woorden, size_t aantal)
{
    std::vector<QString> cellen(aantal * 6);
    auto vulDeel = [&](size_t van, size_t tot) {
        TWoordCellen maker;
        for (size_t r = van; r < tot; ++r)
            maker.vul(&cellen[r * 6], static_cast<std::int64_t>(r) + 1, woorden[r], 0);
    };
    if (aantal < 100000) {
        vulDeel(0, aantal);
    } else {
        tweeTegelijk([&] { vulDeel(0, aantal / 2); }, [&] { vulDeel(aantal / 2, aantal); });
    }
    return cellen;
}
