#pragma once

#include "base/utf8writer.h"

#include <QByteArray>
#include <QStringView>

class AtomicFile;

// Writes lines to a file the way writeTextFile does (the UTF-8 byte-order
// mark, then every line as UTF-8 followed by CR LF), but line by line: the
// bytes go to the file in blocks, so a page of a million lines is never held
// whole. An unpaired surrogate is written as "?", as QString::toUtf8 does.
// The owner of the file calls flush() and then commits the file.
class LineWriter
{
public:
    // Writes the byte-order mark at once.
    explicit LineWriter(AtomicFile &out);
    LineWriter(const LineWriter &) = delete;
    LineWriter &operator=(const LineWriter &) = delete;

    void writeLine(QStringView line);
    // Hands the collected bytes to the file. Lines not flushed when the file
    // is committed are not in it.
    void flush();

private:
    Utf8Writer out;
};

// Appends text to out as UTF-8, exactly the bytes text.toString().toUtf8() gives.
void appendUtf8(QByteArray &out, QStringView text);
