#pragma once

#include <QByteArray>
#include <QStringView>

#include <string_view>

class AtomicFile;

// Writes text to a file as UTF-8, without a byte-order mark and without
// line ends of its own, in blocks: a file of a million words is never held
// whole. An unpaired surrogate is written as "?", as QString::toUtf8 does.
// The owner of the file calls flush() and then commits the file.
class Utf8Writer
{
public:
    explicit Utf8Writer(AtomicFile &out);
    Utf8Writer(const Utf8Writer &) = delete;
    Utf8Writer &operator=(const Utf8Writer &) = delete;

    Utf8Writer &operator<<(QStringView text);
    // ASCII only: markup and numbers.
    Utf8Writer &operator<<(std::string_view ascii);
    Utf8Writer &operator<<(const char *ascii) { return *this << std::string_view(ascii); }
    Utf8Writer &operator<<(char c) { return *this << std::string_view(&c, 1); }
    // Hands the collected bytes to the file. Text not flushed when the file
    // is committed is not in it.
    void flush();

private:
    void flushWhenFull();

    AtomicFile &out;
    QByteArray buffer;
};
