#pragma once

#include <QByteArrayView>
#include <QLatin1StringView>
#include <QString>

#include <cstdint>
#include <memory>

class JsonTree;

// A value of a JsonTree: an object, array, text, number, true/false, null,
// or undefined (what a missing key or an index past the end gives). Read as
// QJsonValue reads: a value of another kind than asked for gives 0, an empty
// text or an empty container.
//
// It holds one of simdjson's DOM elements (a place in the parsed document's
// tape) as plain bytes, so that the readers do not compile simdjson's header.
class JsonValue
{
public:
    bool isUndefined() const { return !defined; }
    bool isNull() const;
    bool isBool() const;
    bool isDouble() const;
    bool isString() const;
    bool isArray() const;
    bool isObject() const;

    bool toBool() const;
    double toDouble() const;
    std::int64_t toInteger() const;
    int toInt() const;
    QString toString() const;
    // A text's characters as UTF-8, escapes read, in the tree (valid while
    // it lives); empty for other values.
    QByteArrayView toUtf8() const;
    // The value itself when it is an array or object, else undefined.
    JsonValue toArray() const { return isArray() ? *this : JsonValue(); }
    JsonValue toObject() const { return isObject() ? *this : JsonValue(); }

    // Of an object: the member named key (undefined for none) and whether it is there.
    JsonValue value(QLatin1StringView key) const;
    bool contains(QLatin1StringView key) const { return !value(key).isUndefined(); }
    // Of an array or object: the number of elements, the element at i.
    qsizetype size() const;
    bool isEmpty() const { return size() == 0; }
    JsonValue at(qsizetype i) const;
    JsonValue last() const;

    // The elements of an array (or the values of an object's members) in order.
    class Iterator
    {
    public:
        JsonValue operator*() const;
        Iterator &operator++();
        bool operator!=(const Iterator &other) const;

    private:
        friend class JsonValue;
        Iterator() = default;
        alignas(8) unsigned char place[16]{}; // simdjson's array or object iterator
        bool inObject = false;
    };
    Iterator begin() const;
    Iterator end() const;

    JsonValue() = default;

private:
    friend class JsonTree;
    Iterator walkFrom(bool first) const; // begin() or end()
    alignas(8) unsigned char element[16]{}; // a simdjson::dom::element
    bool defined = false;
};

// A JSON document parsed whole by simdjson (into its DOM tape) from a
// padded copy of its source. A tree gone leaves its parser and memory to
// the next tree of its thread. Throws Error "JSON that does not parse: WHAT
// at byte N" (N counted from 0) on a document that is not JSON, or nests
// deeper than 512.
class JsonTree
{
public:
    JsonTree();
    explicit JsonTree(QByteArrayView source);
    JsonTree(JsonTree &&) noexcept;
    JsonTree &operator=(JsonTree &&) noexcept;
    ~JsonTree();

    bool isNull() const { return root().isUndefined(); }
    JsonValue root() const;
    bool isArray() const { return root().isArray(); }
    JsonValue object() const { return root().toObject(); }
    JsonValue array() const { return root().toArray(); }

    // The parser and its document stay in one place while values point into them.
    struct Parsed;

private:
    void giveBack();
    std::unique_ptr<Parsed> parsed;
};
