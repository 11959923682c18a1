// Any bytes as the joined transcript text through the transcript builder:
// it either builds the transcript or throws Error for a start time that is
// no whole number, and what it builds is the header and one line per
// cleaned line that is not a speaker line.
#include "base/error.h"
#include "base/textfile.h"
#include "formats/transcriptbuilder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QStringList text =
        linesFromBytes(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));

    // The cleaned lines: none empty, no two plain lines in a row.
    const QStringList clean = TranscriptBuilder::cleanUp(text);
    qsizetype speakerLines = 0;
    for (qsizetype i = 0; i < clean.size(); ++i) {
        if (clean[i].isEmpty())
            __builtin_trap();
        if (i > 0 && !TranscriptBuilder::isBracketLine(clean[i]) && !TranscriptBuilder::isBracketLine(clean[i - 1]))
            __builtin_trap();
        speakerLines += TranscriptBuilder::isSpeakerLine(clean[i]);
    }

    QStringList transcript;
    try {
        TranscriptBuilder::writeTranscript(clean, QStringLiteral("joined_word.txt"), transcript);
    } catch (const Error &e) {
        if (!e.message().endsWith(QStringLiteral("' is not a valid integer value")))
            __builtin_trap();
        return 0;
    }
    if (transcript.size() != 7 + clean.size() - speakerLines
        || transcript.constFirst() != QStringLiteral("Interview joined_word.txt"))
        __builtin_trap();
    // Below the header every line holds a tab: after the label, or before a time.
    for (qsizetype i = 7; i < transcript.size(); ++i)
        if (!transcript[i].contains(u'\t'))
            __builtin_trap();
    return 0;
}
