#include "base/linewriter.h"

void appendUtf8(QByteArray &out, QStringView text)
{
    const qsizetype start = out.size();
    // At most three bytes per UTF-16 unit (a pair of four bytes is two units).
    out.resize(start + text.size() * 3);
    char *p = out.data() + start;
    const char16_t *s = text.utf16();
    const char16_t *const end = s + text.size();
    while (s < end) {
        const char16_t c = *s++;
        if (c < 0x80) {
            *p++ = char(c);
        } else if (c < 0x800) {
            *p++ = char(0xC0 | (c >> 6));
            *p++ = char(0x80 | (c & 0x3F));
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            if (c <= 0xDBFF && s < end && *s >= 0xDC00 && *s <= 0xDFFF) {
                const char32_t u = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(*s++) - 0xDC00);
                *p++ = char(0xF0 | (u >> 18));
                *p++ = char(0x80 | ((u >> 12) & 0x3F));
                *p++ = char(0x80 | ((u >> 6) & 0x3F));
                *p++ = char(0x80 | (u & 0x3F));
            } else {
                *p++ = '?'; // what QString::toUtf8 makes of a surrogate without its partner
            }
        } else {
            *p++ = char(0xE0 | (c >> 12));
            *p++ = char(0x80 | ((c >> 6) & 0x3F));
            *p++ = char(0x80 | (c & 0x3F));
        }
    }
    out.resize(p - out.constData());
}

LineWriter::LineWriter(AtomicFile &file) : out(file)
{
    out << "\xEF\xBB\xBF";
}

void LineWriter::writeLine(QStringView line)
{
    out << line << "\r\n";
}

void LineWriter::flush()
{
    out.flush();
}
