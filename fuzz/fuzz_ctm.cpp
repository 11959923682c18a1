// Any bytes as a CTM/SPK word file, read with either separator and in either
// layout (aligner or NIST CTM): the reader
// either gives its words or throws Error, never reads out of bounds, and
// reading the bytes gives what reading the file's trimmed lines gives.
#include "base/error.h"
#include "base/text.h"
#include "base/textfile.h"
#include "formats/wordfile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, static_cast<qsizetype>(size - 1));
    const QChar separator = (data[0] & 1) ? QChar(u'\t') : QChar(u' ');
    const WordFileLayout layout = (data[0] & 2) ? WordFileLayout::Nist : WordFileLayout::Aligner;
    QStringList lines = linesFromBytes(bytes);
    for (QString &line : lines)
        line = trimmed(line);

    std::vector<Word> fromLines;
    QString lineError;
    try {
        fromLines = parseWordLines(lines, separator, layout);
        if (fromLines.size() > static_cast<size_t>(lines.size()))
            __builtin_trap();
        // Every line gives a word in the aligner layout; NIST skips some, so
        // the line numbers only rise.
        for (size_t i = 0; i < fromLines.size(); ++i)
            if (layout == WordFileLayout::Aligner ? fromLines[i].line != static_cast<std::int32_t>(i + 1)
                                                  : (fromLines[i].line < 1 || (i > 0 && fromLines[i].line <= fromLines[i - 1].line)))
                __builtin_trap();
    } catch (const Error &e) {
        lineError = e.message();
    }

    std::vector<Word> fromBytes;
    QString byteError;
    try {
        fromBytes = parseWordFile(bytes, separator, layout);
    } catch (const Error &e) {
        byteError = e.message();
    }
    if (byteError != lineError || fromBytes.size() != fromLines.size())
        __builtin_trap();
    for (size_t i = 0; i < fromBytes.size(); ++i) {
        const Word &a = fromLines[i];
        const Word &b = fromBytes[i];
        if (a.line != b.line || a.start != b.start || a.end != b.end || a.text != b.text ||
            a.speaker != b.speaker || a.confidence != b.confidence)
            __builtin_trap();
    }
    return 0;
}
