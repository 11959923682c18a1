#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Which encoding the bytes of a text file are in when they are not UTF-8.
struct EncodingGuess
{
    // The name of Qt's converter to read the whole file with; empty to read
    // it as UTF-8 with each stray byte as Windows-1252 (LineDecoder::Mixed).
    QByteArray converter;
    // The encoding as a person knows it ("GB18030", "Windows-1250"); empty
    // for UTF-8 with a stray byte.
    QString shown;
};

// The encoding of bytes that are not well-formed UTF-8 and start with no
// byte-order mark. UTF-8 with stray bytes stays UTF-8 (a stray byte is read
// as Windows-1252). Otherwise libuchardet names the encoding, which is taken
// only when reading the bytes as Windows-1252 would give what no text in a
// western language holds: stored files in Windows-1252 keep being read as
// they always were, where the detector's guess for a short western text
// is often a central European or DOS code page.
EncodingGuess guessEncoding(const char *data, qsizetype length);

// The encoding converter names as a person knows it ("Windows-1250",
// "Shift_JIS"); converter in any case. An encoding Naadwerk does not know
// by name keeps its converter's name.
QString shownEncodingName(QByteArrayView converter);
