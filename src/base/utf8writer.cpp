#include "base/utf8writer.h"

#include "base/atomicfile.h"
#include "base/linewriter.h"

namespace {
// Large enough that the writes cost nothing next to the encoding.
constexpr qsizetype blockSize = 1 << 16;
}

Utf8Writer::Utf8Writer(AtomicFile &file) : out(file)
{
    buffer.reserve(blockSize + 1024);
}

Utf8Writer &Utf8Writer::operator<<(QStringView text)
{
    appendUtf8(buffer, text);
    flushWhenFull();
    return *this;
}

Utf8Writer &Utf8Writer::operator<<(std::string_view ascii)
{
    buffer.append(ascii.data(), static_cast<qsizetype>(ascii.size()));
    flushWhenFull();
    return *this;
}

void Utf8Writer::flushWhenFull()
{
    if (buffer.size() >= blockSize)
        flush();
}

void Utf8Writer::flush()
{
    if (buffer.isEmpty())
        return;
    out.write(buffer);
    buffer.resize(0); // keeps the capacity for the next block
}
