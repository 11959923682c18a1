#include "job/twoordcellen.h"

#include "job/decimaal.h"
#include "lines/tekst.h"
#include "lines/tweetegelijk.h"

#include <cstring>

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
    c[1] = decimaal(w.st + verschuiving);
    c[2] = decimaal(w.et + verschuiving);
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
