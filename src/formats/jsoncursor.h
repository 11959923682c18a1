#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// Reads JSON text value by value, without building a document: a reader of
// a large file walks its arrays and takes what it knows, and skips the
// rest. Every method throws JsonCursor::Malformed at text that is not JSON.
class JsonCursor
{
public:
    struct Malformed
    {
    };

    explicit JsonCursor(const QByteArray &bytes);

    // The character the next value or token starts with (after blanks); 0 at the end.
    char peek();
    bool atEnd() { return peek() == 0; }
    // Takes c as the next token, or throws.
    void expect(char c);

    // An object's members: beginObject, then nextKey until it says false.
    void beginObject() { expect('{'); }
    // The next member's key (the cursor then stands before its value), or
    // false after the object's "}".
    bool nextKey(QString &key);
    // An array's elements: beginArray, then nextElement until it says false.
    void beginArray() { expect('['); }
    bool nextElement();

    QString string();
    // A string that often repeats the one before (a speaker's name): the
    // same bytes give the very same QString, sharing its characters.
    struct Repeat
    {
        QByteArray raw;
        QString text;
    };
    QString string(Repeat &last);
    double number();
    std::int64_t integer();
    float floatNumber();
    bool boolean();
    // The next value's text, whatever it is, skipped.
    QByteArray skipValue();

private:
    void skipBlanks();
    bool justOpened() const;
    void numberText(const char *&first, const char *&stop);

    const char *const begin;
    const char *at;
    const char *const end;
};
