#pragma once

#include <QByteArrayView>
#include <QLatin1StringView>
#include <QString>

#include <cstdint>
#include <vector>

class JsonTree;

// A value of a JsonTree: an object, array, text, number, true/false, null,
// or undefined (what a missing key or an index past the end gives). Read as
// QJsonValue reads: a value of another kind than asked for gives 0, an empty
// text or an empty container.
class JsonValue
{
public:
    bool isUndefined() const { return !tree; }
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

    // The elements of an array (or the members of an object) in order.
    class Iterator
    {
    public:
        JsonValue operator*() const { return JsonValue(tree, index); }
        Iterator &operator++();
        bool operator!=(const Iterator &other) const { return index != other.index; }

    private:
        friend class JsonValue;
        Iterator(const JsonTree *tree, std::uint32_t index) : tree(tree), index(index) {}
        const JsonTree *tree;
        std::uint32_t index;
    };
    Iterator begin() const;
    Iterator end() const;

    JsonValue() = default;

private:
    friend class JsonTree;
    JsonValue(const JsonTree *tree, std::uint32_t index) : tree(tree), index(index) {}
    const struct JsonNode &node() const;
    const JsonTree *tree = nullptr;
    std::uint32_t index = 0;
};

// One node of the tree, in document order: a container's elements follow
// it, up to end.
struct JsonNode
{
    enum Type : std::uint8_t { Null, False, True, Number, Text, Array, Object } type = Null;
    bool escaped = false;     // a text (or key) holding backslash escapes
    bool keyEscaped = false;
    std::uint32_t end = 0;    // one past the last node inside a container; the next node for others
    std::uint32_t count = 0;  // a container's elements
    std::uint32_t keyAt = 0, keyLength = 0; // an object member's key in the source, without quotes
    // A text's characters in the source, without quotes, or a number: 32
    // bytes a node, for the millions of a long interview.
    struct Span
    {
        std::uint32_t at, length;
    };
    union {
        Span text;
        double number;
    } is{.number = 0};
};

// A JSON document parsed whole into a flat list of nodes that point into
// its source (which must outlive the tree): much faster than QJsonDocument
// on the files of long interviews, where the words of hours of speech are
// one array. Throws Error "JSON that does not parse: WHAT at byte N" (N
// counted from 0) on a document that is not JSON, or nests deeper than 512.
class JsonTree
{
public:
    JsonTree() = default;
    explicit JsonTree(QByteArrayView source);

    bool isNull() const { return nodes.empty(); }
    JsonValue root() const { return nodes.empty() ? JsonValue() : JsonValue(this, 0); }
    bool isArray() const { return root().isArray(); }
    JsonValue object() const { return root().toObject(); }
    JsonValue array() const { return root().toArray(); }

private:
    friend class JsonValue;
    QByteArrayView source;
    std::vector<JsonNode> nodes;
};
