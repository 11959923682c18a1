// Any bytes as a list of parts: the reader either gives its parts or throws
// Error, and every part it gives has three absolute paths and a gap in range.
#include "base/error.h"
#include "base/textfile.h"
#include "formats/partlistentry.h"

#include <QDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QStringList lines =
        linesFromBytes(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    std::vector<PartListEntry> parts;
    try {
        parts = parsePartList(lines, QStringLiteral("/list"), QStringLiteral("list.tsv"));
    } catch (const Error &) {
        return 0;
    }
    if (parts.size() > static_cast<size_t>(lines.size()))
        __builtin_trap();
    for (const PartListEntry &part : parts) {
        for (const QString *path : {&part.files.wordFile, &part.files.text, &part.files.recording})
            if (!QDir::isAbsolutePath(*path) || path->contains(u'\t'))
                __builtin_trap();
        if (part.gapMs < 0 || part.gapMs > 86400000)
            __builtin_trap();
    }
    return 0;
}
