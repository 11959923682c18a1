// Any bytes as a text file in an encoding found from its bytes: the guess
// never fails, and a file it reads as Windows-1252 (or as UTF-8) gives
// exactly the lines the reading without a guess gives, so stored files keep
// being read as they always were.
#include "base/encodingguess.h"
#include "base/textfile.h"

#include <QStringDecoder>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const EncodingGuess guess = guessEncoding(bytes.constData(), bytes.size());
    if (!guess.converter.isEmpty() && !QStringDecoder(guess.converter.constData()).isValid())
        __builtin_trap();
    if (guess.converter.isEmpty() && !guess.shown.isEmpty() && guess.shown != QStringLiteral("Windows-1252"))
        __builtin_trap();

    const TextLines found = textLinesFromBytes(bytes, {});
    const TextLines asUtf8 = textLinesFromBytes(bytes, "UTF-8");
    if (found.encoding.isEmpty() || found.encoding == QStringLiteral("Windows-1252")) {
        if (found.lines != asUtf8.lines)
            __builtin_trap();
    }
    // A choice reads every byte into some text.
    (void)textLinesFromBytes(bytes, "shift_jis");
    return 0;
}
