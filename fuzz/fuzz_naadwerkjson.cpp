// Any bytes as a Naadwerk JSON file: the reader either gives its words or
// throws Error, and every word it gives has times within 32 bits of ms, a
// speaker ("X" for none) and a line counting from 1.
#include "base/error.h"
#include "formats/naadwerkjsonreader.h"

#include <cstddef>
#include <cstdint>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    looksLikeNaadwerkJson(bytes);
    WordFileRead read;
    try {
        read = parseNaadwerkJson(bytes, QStringLiteral("f.json"));
    } catch (const Error &) {
        return 0;
    }
    constexpr std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    for (std::size_t i = 0; i < read.words.size(); ++i) {
        const Word &word = read.words[i];
        if (word.start < -limit || word.start > limit || word.end < -limit || word.end > limit)
            __builtin_trap();
        if (word.speaker.isEmpty() || word.line != static_cast<std::int32_t>(i + 1))
            __builtin_trap();
    }
    return 0;
}
