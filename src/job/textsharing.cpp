#include "job/textsharing.h"

#include "base/twothreads.h"

#include <QString>

#include <array>
#include <cstdint>
#include <memory>

namespace {

constexpr std::size_t slotCount = 4096;

std::uint32_t hashOf(const QString &text)
{
    std::uint32_t h = 2166136261u; // FNV-1a over the UTF-16 units
    for (const QChar c : text)
        h = (h ^ c.unicode()) * 16777619u;
    return h;
}

// The texts seen last, one per slot by hash: a repeat of a text in its slot
// takes that text's block, anything else takes the slot.
void share(std::span<Word> words)
{
    auto seen = std::make_unique<std::array<QString, slotCount>>();
    for (Word &w : words) {
        if (w.text.isEmpty())
            continue;
        QString &slot = (*seen)[hashOf(w.text) % slotCount];
        if (slot.constData() == w.text.constData())
            continue;
        if (slot == w.text)
            w.text = slot;
        else
            slot = w.text;
    }
}

} // namespace

void shareRepeatedTexts(std::span<Word> words)
{
    const std::size_t n = words.size();
    if (n < 100000) {
        share(words);
        return;
    }
    // The halves are those the rows are later filled in, so each text block
    // is counted by one thread only.
    runOnTwoThreads([&] { share(words.first(n / 2)); }, [&] { share(words.subspan(n / 2)); });
}
