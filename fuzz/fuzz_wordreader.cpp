// Any bytes as the word file of one aligner or recogniser (the kind this
// fuzzer is built for, NAADWERK_FUZZ_KIND), chosen and found from the
// content: the reader either gives words or throws Error, never reads out
// of bounds, and what it gives holds together: every word numbered in file
// order, with a text and a speaker, confidences within 0 to 1, no more
// untimed words than words.
#include "base/error.h"
#include "formats/wordfile.h"

#include <cstddef>
#include <cstdint>

namespace {

bool read(const QByteArray &bytes, WordFileKind kind, WordFileRead &out)
{
    WordFileFormat format;
    format.kind = kind;
    try {
        out = loadWordFile(bytes, format, QStringLiteral("fuzz"));
    } catch (const Error &) {
        return false;
    }
    // Detection may read CTM lines, whose own fuzzer judges them.
    if (kind == WordFileKind::Auto)
        return true;
    if (out.words.empty() || out.untimed < 0 || static_cast<std::size_t>(out.untimed) > out.words.size())
        __builtin_trap();
    for (std::size_t i = 0; i < out.words.size(); ++i) {
        const Word &w = out.words[i];
        if (!(w.confidence >= 0 && w.confidence <= 1) || w.text.isEmpty() || w.speaker.isEmpty())
            __builtin_trap();
        if (w.line != static_cast<std::int32_t>(i + 1))
            __builtin_trap();
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    WordFileRead out;
    read(bytes, WordFileKind::NAADWERK_FUZZ_KIND, out);
    read(bytes, WordFileKind::Auto, out);
    return 0;
}
