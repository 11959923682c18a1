#include "job/alignmentpairing.h"

#include <algorithm>
#include <limits>

namespace {

using Key = std::int32_t;

bool same(Key a, Key b)
{
    return a >= 0 && a == b;
}

// A stretch still to pair: words [w0, w1) with text [t0, t1).
struct Stretch
{
    std::size_t w0, w1, t0, t1;
};

class Pairer
{
public:
    Pairer(std::span<const Key> words, std::span<const Key> text, const PairingLimits &limits)
        : words(words), text(text), limits(limits), pairing(words.size(), -1)
    {
        Key top = -1;
        for (std::span<const Key> keys : {words, text})
            for (Key key : keys)
                top = std::max(top, key);
        const std::size_t keyCount = static_cast<std::size_t>(top + 1);
        seenIn.assign(keyCount, 0);
        countWords.assign(keyCount, 0);
        countText.assign(keyCount, 0);
        placeInText.assign(keyCount, 0);
    }

    std::vector<std::int32_t> run()
    {
        // A stack, not recursion: a long interview may nest deeply.
        std::vector<Stretch> todo{{0, words.size(), 0, text.size()}};
        while (!todo.empty()) {
            const Stretch s = todo.back();
            todo.pop_back();
            pairStretch(s, todo);
        }
        return std::move(pairing);
    }

private:
    void pair(std::size_t w, std::size_t t) { pairing[w] = static_cast<std::int32_t>(t); }

    void pairStretch(Stretch s, std::vector<Stretch> &todo)
    {
        while (s.w0 < s.w1 && s.t0 < s.t1 && same(words[s.w0], text[s.t0]))
            pair(s.w0++, s.t0++);
        while (s.w0 < s.w1 && s.t0 < s.t1 && same(words[s.w1 - 1], text[s.t1 - 1]))
            pair(--s.w1, --s.t1);
        const std::size_t n = s.w1 - s.w0, m = s.t1 - s.t0;
        if (n == 0 || m == 0)
            return;
        const double cells = double(n) * double(m);
        if (cells <= double(limits.directCells)) {
            alignInBand(s, n + m);
            return;
        }
        const std::vector<std::pair<std::size_t, std::size_t>> anchors = anchorsOf(s);
        if (anchors.empty()) {
            // Wide enough for any path when the whole stretch fits; else a
            // band of about fullCells around the diagonal.
            const std::size_t band = cells <= double(limits.fullCells) ? n + m : limits.fullCells / (n + m);
            alignInBand(s, band);
            return;
        }
        std::size_t w = s.w0, t = s.t0;
        for (const auto &[aw, at] : anchors) {
            pair(aw, at);
            todo.push_back({w, aw, t, at});
            w = aw + 1;
            t = at + 1;
        }
        todo.push_back({w, s.w1, t, s.t1});
    }

    // The words that occur once in the stretch's words and once in its
    // text with a neighbour that agrees, as pairs (word, text), and of them
    // the longest run in the same order in both.
    std::vector<std::pair<std::size_t, std::size_t>> anchorsOf(const Stretch &s)
    {
        ++stamp;
        auto touch = [this](Key key) {
            const auto k = static_cast<std::size_t>(key);
            if (seenIn[k] != stamp) {
                seenIn[k] = stamp;
                countWords[k] = 0;
                countText[k] = 0;
            }
            return k;
        };
        for (std::size_t w = s.w0; w < s.w1; ++w)
            if (words[w] >= 0) {
                const std::size_t k = touch(words[w]);
                countWords[k] = static_cast<std::uint8_t>(std::min(2, countWords[k] + 1));
            }
        for (std::size_t t = s.t0; t < s.t1; ++t)
            if (text[t] >= 0) {
                const std::size_t k = touch(text[t]);
                countText[k] = static_cast<std::uint8_t>(std::min(2, countText[k] + 1));
                placeInText[k] = t;
            }
        std::vector<std::pair<std::size_t, std::size_t>> unique;
        for (std::size_t w = s.w0; w < s.w1; ++w) {
            const Key key = words[w];
            if (key < 0)
                continue;
            const auto k = static_cast<std::size_t>(key);
            // A neighbour that agrees too: a word heard otherwise that
            // happens to be unique elsewhere anchors nothing.
            const std::size_t t = placeInText[k];
            const bool before = w > s.w0 && t > s.t0 && same(words[w - 1], text[t - 1]);
            const bool after = w + 1 < s.w1 && t + 1 < s.t1 && same(words[w + 1], text[t + 1]);
            if (countWords[k] == 1 && countText[k] == 1 && (before || after))
                unique.emplace_back(w, t);
        }
        return longestIncreasingRun(unique);
    }

    // Of pairs sorted by their first, the longest run whose seconds rise too
    // (patience sorting).
    static std::vector<std::pair<std::size_t, std::size_t>>
    longestIncreasingRun(const std::vector<std::pair<std::size_t, std::size_t>> &pairs)
    {
        std::vector<std::size_t> tops;     // per length, the pair ending the best run so far
        std::vector<std::size_t> before(pairs.size());
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            const auto at = std::lower_bound(tops.begin(), tops.end(), pairs[i].second,
                                             [&](std::size_t top, std::size_t t) { return pairs[top].second < t; });
            before[i] = at == tops.begin() ? pairs.size() : *(at - 1);
            if (at == tops.end())
                tops.push_back(i);
            else
                *at = i;
        }
        std::vector<std::pair<std::size_t, std::size_t>> run(tops.size());
        for (std::size_t i = tops.empty() ? pairs.size() : tops.back(), k = run.size(); k > 0; i = before[i])
            run[--k] = pairs[i];
        return run;
    }

    // The plain edit-distance alignment of the stretch, its cells limited to
    // those within band of the diagonal from its start to its end.
    void alignInBand(const Stretch &s, std::size_t band)
    {
        const std::size_t n = s.w1 - s.w0, m = s.t1 - s.t0;
        // Every row must reach the next: at least the slope, and one more.
        band = std::max(band, m / n + 2);
        std::vector<std::size_t> lo(n + 1), hi(n + 1), first(n + 2);
        for (std::size_t i = 0; i <= n; ++i) {
            const std::size_t centre = static_cast<std::size_t>(double(i) * double(m) / double(n) + 0.5);
            lo[i] = centre > band ? centre - band : 0;
            hi[i] = std::min(m, centre + band);
            first[i + 1] = first[i] + (hi[i] - lo[i] + 1);
        }
        enum : std::uint8_t { Diagonal, Up, Left };
        std::vector<std::uint8_t> step(first[n + 1]);
        constexpr std::uint32_t far = std::numeric_limits<std::uint32_t>::max() / 2;
        std::vector<std::uint32_t> previous(m + 1, far), current(m + 1, far);
        for (std::size_t i = 0; i <= n; ++i) {
            for (std::size_t j = lo[i]; j <= hi[i]; ++j) {
                std::uint32_t best = far;
                std::uint8_t how = Diagonal;
                if (i == 0 && j == 0) {
                    best = 0;
                } else {
                    // The diagonal first: an unknown word takes the text's
                    // word rather than both going unpaired.
                    if (i > 0 && j > 0 && j - 1 >= lo[i - 1] && j - 1 <= hi[i - 1])
                        best = previous[j - 1] + (same(words[s.w0 + i - 1], text[s.t0 + j - 1]) ? 0 : 1);
                    if (i > 0 && j >= lo[i - 1] && j <= hi[i - 1] && previous[j] + 1 < best) {
                        best = previous[j] + 1;
                        how = Up;
                    }
                    if (j > lo[i] && current[j - 1] + 1 < best) {
                        best = current[j - 1] + 1;
                        how = Left;
                    }
                }
                current[j] = best;
                step[first[i] + (j - lo[i])] = how;
            }
            if (i > 0)
                for (std::size_t j = lo[i - 1]; j <= hi[i - 1]; ++j)
                    previous[j] = far;
            std::swap(previous, current);
        }
        std::size_t i = n, j = m;
        while (i > 0 || j > 0) {
            switch (step[first[i] + (j - lo[i])]) {
            case Diagonal:
                pair(s.w0 + --i, s.t0 + --j);
                break;
            case Up:
                --i;
                break;
            default:
                --j;
                break;
            }
        }
    }

    std::span<const Key> words, text;
    PairingLimits limits;
    std::vector<std::int32_t> pairing;
    // Per key, for the stretch whose stamp seenIn holds: its counts (2 for
    // more) and where in the text it stands.
    std::uint32_t stamp = 0;
    std::vector<std::uint32_t> seenIn;
    std::vector<std::uint8_t> countWords, countText;
    std::vector<std::size_t> placeInText;
};

} // namespace

std::vector<std::int32_t> pairWords(std::span<const std::int32_t> words, std::span<const std::int32_t> text,
                                    const PairingLimits &limits)
{
    return Pairer(words, text, limits).run();
}

std::size_t editsOf(std::span<const std::int32_t> words, std::span<const std::int32_t> text,
                    std::span<const std::int32_t> pairing)
{
    std::size_t edits = 0, paired = 0;
    for (std::size_t w = 0; w < words.size(); ++w) {
        if (pairing[w] < 0) {
            ++edits;
            continue;
        }
        ++paired;
        if (!same(words[w], text[static_cast<std::size_t>(pairing[w])]))
            ++edits;
    }
    return edits + (text.size() - paired);
}
