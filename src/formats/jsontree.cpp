#include "formats/jsontree.h"

#include "base/error.h"

#include <charconv>
#include <cctype>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr int deepest = 512;

class Parser
{
public:
    Parser(QByteArrayView source, std::vector<JsonNode> &nodes)
        : begin(source.data()), p(source.data()), end(source.data() + source.size()), nodes(nodes)
    {
    }

    void parse()
    {
        skipBlanks();
        value(0, nullptr);
        skipBlanks();
        if (p != end)
            fail("garbage at the end");
    }

private:
    [[noreturn]] void fail(const char *what) const
    {
        throw Error(QStringLiteral("JSON that does not parse: %1 at byte %2")
                        .arg(QLatin1StringView(what))
                        .arg(static_cast<qint64>(p - begin)));
    }

    void skipBlanks()
    {
        while (p < end && (*p == ' ' || *p == '\n' || *p == '\r' || *p == '\t'))
            ++p;
    }

    std::uint32_t offset(const char *at) const { return static_cast<std::uint32_t>(at - begin); }

    // A text after its opening quote: where it starts, how long, whether it holds escapes.
    void text(std::uint32_t &at, std::uint32_t &length, bool &escaped)
    {
        const char *from = p;
        escaped = false;
        for (;;) {
            const char *stop = p;
            while (stop < end && *stop != '"' && *stop != '\\' && static_cast<unsigned char>(*stop) >= 0x20)
                ++stop;
            p = stop;
            if (p >= end)
                fail("unterminated text");
            if (*p == '"')
                break;
            if (*p != '\\')
                fail("a control character in a text");
            escaped = true;
            if (++p >= end)
                fail("unterminated text");
            if (*p == 'u') {
                for (int i = 1; i <= 4; ++i)
                    if (p + i >= end || !std::isxdigit(static_cast<unsigned char>(p[i])))
                        fail("a bad \\u escape");
                p += 5;
            } else if (std::strchr("\"\\/bfnrt", *p) && *p) {
                ++p;
            } else {
                fail("a bad escape");
            }
        }
        at = offset(from);
        length = static_cast<std::uint32_t>(p - from);
        ++p; // the closing quote
    }

    void value(int depth, const JsonNode *key)
    {
        if (p >= end)
            fail("a value missing");
        if (nodes.size() >= std::numeric_limits<std::uint32_t>::max() - 1)
            fail("too many values");
        const std::uint32_t index = static_cast<std::uint32_t>(nodes.size());
        nodes.emplace_back();
        if (key) {
            nodes[index].keyAt = key->keyAt;
            nodes[index].keyLength = key->keyLength;
            nodes[index].keyEscaped = key->keyEscaped;
        }
        const char c = *p;
        if (c == '{' || c == '[') {
            if (depth >= deepest)
                fail("values nested too deeply");
            const bool object = c == '{';
            nodes[index].type = object ? JsonNode::Object : JsonNode::Array;
            ++p;
            skipBlanks();
            std::uint32_t count = 0;
            if (p < end && *p == (object ? '}' : ']')) {
                ++p;
            } else {
                for (;;) {
                    JsonNode member;
                    if (object) {
                        if (p >= end || *p != '"')
                            fail("a key missing");
                        ++p;
                        text(member.keyAt, member.keyLength, member.keyEscaped);
                        skipBlanks();
                        if (p >= end || *p != ':')
                            fail("a colon missing");
                        ++p;
                        skipBlanks();
                    }
                    value(depth + 1, object ? &member : nullptr);
                    ++count;
                    skipBlanks();
                    if (p < end && *p == ',') {
                        ++p;
                        skipBlanks();
                        continue;
                    }
                    if (p < end && *p == (object ? '}' : ']')) {
                        ++p;
                        break;
                    }
                    fail(object ? "unterminated object" : "unterminated array");
                }
            }
            nodes[index].count = count;
        } else if (c == '"') {
            ++p;
            JsonNode &n = nodes[index];
            n.type = JsonNode::Text;
            text(n.is.text.at, n.is.text.length, n.escaped);
        } else if (c == 't' && end - p >= 4 && std::memcmp(p, "true", 4) == 0) {
            nodes[index].type = JsonNode::True;
            p += 4;
        } else if (c == 'f' && end - p >= 5 && std::memcmp(p, "false", 5) == 0) {
            nodes[index].type = JsonNode::False;
            p += 5;
        } else if (c == 'n' && end - p >= 4 && std::memcmp(p, "null", 4) == 0) {
            p += 4;
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            number(nodes[index]);
        } else {
            fail("illegal value");
        }
        nodes[index].end = static_cast<std::uint32_t>(nodes.size());
    }

    void number(JsonNode &n)
    {
        // The grammar of JSON: from_chars alone would take "inf" or "1.".
        const char *from = p;
        if (p < end && *p == '-')
            ++p;
        const char *digits = p;
        while (p < end && *p >= '0' && *p <= '9')
            ++p;
        if (p == digits || (*digits == '0' && p - digits > 1))
            fail("illegal number");
        if (p < end && *p == '.') {
            const char *fraction = ++p;
            while (p < end && *p >= '0' && *p <= '9')
                ++p;
            if (p == fraction)
                fail("illegal number");
        }
        if (p < end && (*p == 'e' || *p == 'E')) {
            ++p;
            if (p < end && (*p == '+' || *p == '-'))
                ++p;
            const char *exponent = p;
            while (p < end && *p >= '0' && *p <= '9')
                ++p;
            if (p == exponent)
                fail("illegal number");
        }
        n.type = JsonNode::Number;
        const auto [stop, error] = std::from_chars(from, p, n.is.number);
        // Out of range: as large as a double goes, or 0.
        if (error == std::errc::result_out_of_range)
            n.is.number = *from == '-' ? -HUGE_VAL : HUGE_VAL;
        (void)stop;
    }

    const char *begin;
    const char *p;
    const char *end;
    std::vector<JsonNode> &nodes;
};

// The text of a JSON string's characters, its escapes read.
QString unescaped(const char *data, qsizetype length)
{
    QString out;
    out.reserve(length);
    const char *p = data;
    const char *end = data + length;
    const char *run = p;
    auto flushRun = [&] {
        out += QString::fromUtf8(run, p - run);
    };
    while (p < end) {
        if (*p != '\\') {
            ++p;
            continue;
        }
        flushRun();
        const char e = p[1];
        p += 2;
        switch (e) {
        case 'b': out += u'\b'; break;
        case 'f': out += u'\f'; break;
        case 'n': out += u'\n'; break;
        case 'r': out += u'\r'; break;
        case 't': out += u'\t'; break;
        case 'u': {
            unsigned unit = 0;
            std::from_chars(p, p + 4, unit, 16);
            out += QChar(static_cast<char16_t>(unit)); // a surrogate pair comes as two escapes, in order
            p += 4;
            break;
        }
        default: out += QLatin1Char(e); break;
        }
        run = p;
    }
    flushRun();
    return out;
}

} // namespace

JsonTree::JsonTree(QByteArrayView text) : source(text)
{
    // A value takes ten bytes of text at least, but for digits and empty
    // texts: reserving that many nodes spares the copies of a growing list
    // (only the pages filled are ever touched).
    nodes.reserve(static_cast<std::size_t>(text.size() / 10 + 16));
    Parser(text, nodes).parse();
    nodes.shrink_to_fit();
}

const JsonNode &JsonValue::node() const
{
    return tree->nodes[index];
}

bool JsonValue::isNull() const { return tree && node().type == JsonNode::Null; }
bool JsonValue::isBool() const { return tree && (node().type == JsonNode::True || node().type == JsonNode::False); }
bool JsonValue::isDouble() const { return tree && node().type == JsonNode::Number; }
bool JsonValue::isString() const { return tree && node().type == JsonNode::Text; }
bool JsonValue::isArray() const { return tree && node().type == JsonNode::Array; }
bool JsonValue::isObject() const { return tree && node().type == JsonNode::Object; }
bool JsonValue::toBool() const { return tree && node().type == JsonNode::True; }

double JsonValue::toDouble() const
{
    return isDouble() ? node().is.number : 0.0;
}

std::int64_t JsonValue::toInteger() const
{
    const double x = toDouble();
    // Beyond 64 bits: no whole number the caller can use.
    return std::fabs(x) < 9.2e18 ? static_cast<std::int64_t>(x) : 0;
}

int JsonValue::toInt() const
{
    const std::int64_t x = toInteger();
    return x >= std::numeric_limits<int>::min() && x <= std::numeric_limits<int>::max() ? static_cast<int>(x) : 0;
}

QString JsonValue::toString() const
{
    if (!isString())
        return QString();
    const JsonNode &n = node();
    const char *data = tree->source.data() + n.is.text.at;
    return n.escaped ? unescaped(data, n.is.text.length) : QString::fromUtf8(data, n.is.text.length);
}

JsonValue JsonValue::value(QLatin1StringView key) const
{
    if (!isObject())
        return {};
    for (JsonValue member : *this) {
        const JsonNode &n = member.node();
        const char *data = tree->source.data() + n.keyAt;
        if (n.keyEscaped ? unescaped(data, n.keyLength) == key
                         : (n.keyLength == static_cast<std::uint32_t>(key.size())
                            && std::memcmp(data, key.data(), n.keyLength) == 0))
            return member;
    }
    return {};
}

qsizetype JsonValue::size() const
{
    return isArray() || isObject() ? node().count : 0;
}

JsonValue JsonValue::at(qsizetype i) const
{
    if (i < 0 || i >= size())
        return {};
    Iterator it = begin();
    while (i-- > 0)
        ++it;
    return *it;
}

JsonValue JsonValue::last() const
{
    return at(size() - 1);
}

JsonValue::Iterator &JsonValue::Iterator::operator++()
{
    index = tree->nodes[index].end;
    return *this;
}

JsonValue::Iterator JsonValue::begin() const
{
    return size() > 0 ? Iterator(tree, index + 1) : end();
}

JsonValue::Iterator JsonValue::end() const
{
    return size() > 0 ? Iterator(tree, node().end) : Iterator(tree, index);
}
