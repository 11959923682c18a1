#include "formats/jsontree.h"

#include "base/error.h"

#include <simdjson.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>
#include <type_traits>

namespace dom = simdjson::dom;
namespace ondemand = simdjson::ondemand;

// The source's padded copy, the parser and the document in it. Fresh
// memory costs its page faults, more than simdjson's parse itself on the
// files of long interviews: a tree hands them on to the next tree of its
// thread (the next part's file), which parses into them.
struct JsonTree::Parsed
{
    std::unique_ptr<char[]> buffer;
    std::size_t capacity = 0; // of buffer, without its padding
    std::size_t size = 0;
    dom::parser parser;
    dom::element root;

    simdjson::padded_string_view source() const
    {
        return simdjson::padded_string_view(buffer.get(), size, capacity + simdjson::SIMDJSON_PADDING);
    }
};

namespace {

thread_local std::unique_ptr<JsonTree::Parsed> spare;

} // namespace

namespace {

constexpr std::size_t deepest = 512;

// simdjson's elements and iterators are a pointer to their document and a
// place on its tape: plain bytes a JsonValue carries.
template<typename T, std::size_t size>
void put(unsigned char (&into)[size], const T &from)
{
    static_assert(sizeof(T) == size && std::is_trivially_copyable_v<T>);
    std::memcpy(into, &from, size);
}

template<typename T, std::size_t size>
T got(const unsigned char (&from)[size])
{
    static_assert(sizeof(T) == size && std::is_trivially_copyable_v<T>);
    T out;
    std::memcpy(&out, from, size);
    return out;
}

// The document's values walked through in order, each read whole, up to
// the first that is wrong: simdjson's DOM parser tells what is wrong, its
// On Demand reader where.
simdjson::error_code walk(ondemand::value value, std::size_t depth);

simdjson::error_code walkArray(ondemand::array array, std::size_t depth)
{
    if (depth >= deepest)
        return simdjson::DEPTH_ERROR;
    for (auto element : array) {
        ondemand::value child;
        if (const auto error = std::move(element).get(child))
            return error;
        if (const auto error = walk(child, depth + 1))
            return error;
    }
    return simdjson::SUCCESS;
}

simdjson::error_code walkObject(ondemand::object object, std::size_t depth)
{
    if (depth >= deepest)
        return simdjson::DEPTH_ERROR;
    for (auto member : object) {
        ondemand::field field;
        if (const auto error = std::move(member).get(field))
            return error;
        std::string_view key;
        if (const auto error = field.unescaped_key().get(key))
            return error;
        if (const auto error = walk(field.value(), depth + 1))
            return error;
    }
    return simdjson::SUCCESS;
}

template<typename Value>
simdjson::error_code walkScalar(Value &value, ondemand::json_type type)
{
    switch (type) {
    case ondemand::json_type::number: return value.get_double().error();
    case ondemand::json_type::string: return value.get_string().error();
    case ondemand::json_type::boolean: return value.get_bool().error();
    case ondemand::json_type::null: return value.is_null().error();
    default: return simdjson::TAPE_ERROR;
    }
}

simdjson::error_code walk(ondemand::value value, std::size_t depth)
{
    ondemand::json_type type;
    if (const auto error = value.type().get(type))
        return error;
    if (type == ondemand::json_type::array)
        return walkArray(value.get_array().value_unsafe(), depth);
    if (type == ondemand::json_type::object)
        return walkObject(value.get_object().value_unsafe(), depth);
    return walkScalar(value, type);
}

// What is wrong in source, as the On Demand reader finds it going through
// its values, and where, if simdjson can place it.
struct Fault
{
    simdjson::error_code error = simdjson::SUCCESS;
    std::optional<std::size_t> at;
};

Fault faultIn(simdjson::padded_string_view source)
{
    ondemand::parser parser;
    ondemand::document document;
    Fault fault;
    if ((fault.error = parser.iterate(source).get(document)))
        return fault; // wrong before any value is read: no place
    ondemand::json_type type;
    fault.error = document.type().get(type);
    if (!fault.error && type == ondemand::json_type::array) {
        ondemand::array array;
        fault.error = document.get_array().get(array);
        if (!fault.error)
            fault.error = walkArray(array, 0);
    } else if (!fault.error && type == ondemand::json_type::object) {
        ondemand::object object;
        fault.error = document.get_object().get(object);
        if (!fault.error)
            fault.error = walkObject(object, 0);
    } else if (!fault.error) {
        fault.error = walkScalar(document, type);
    }
    const char *at = nullptr;
    if (fault.error == simdjson::INCOMPLETE_ARRAY_OR_OBJECT) {
        fault.at = source.size(); // ended early: missing is what would follow the end
    } else if (!document.current_location().get(at)) {
        if (!fault.error)
            fault.error = simdjson::TRAILING_CONTENT; // read whole, and something after
        fault.at = static_cast<std::size_t>(at - source.data());
    } else if (fault.error) {
        fault.at = source.size();
    }
    return fault;
}

[[noreturn]] void refuse(simdjson::error_code error, simdjson::padded_string_view source)
{
    // The DOM parser's words, but for a wrong structure, where the On Demand
    // reader's say more.
    const Fault fault = faultIn(source);
    QString what = QString::fromUtf8(
        simdjson::error_message(error == simdjson::TAPE_ERROR && fault.error ? fault.error : error));
    if (what.endsWith(u'.'))
        what.chop(1);
    QString message = QStringLiteral("JSON that does not parse: %1").arg(what);
    if (fault.at)
        message += QStringLiteral(" at byte %1").arg(static_cast<qint64>(*fault.at));
    throw Error(message);
}

} // namespace

JsonTree::JsonTree() = default;
JsonTree::JsonTree(JsonTree &&) noexcept = default;

JsonTree &JsonTree::operator=(JsonTree &&other) noexcept
{
    giveBack();
    parsed = std::move(other.parsed);
    return *this;
}

JsonTree::~JsonTree()
{
    giveBack();
}

void JsonTree::giveBack()
{
    if (parsed && !spare)
        spare = std::move(parsed);
    parsed.reset();
}

JsonTree::JsonTree(QByteArrayView text) : parsed(spare ? std::move(spare) : std::make_unique<Parsed>())
{
    const auto size = static_cast<std::size_t>(text.size());
    if (parsed->capacity < size || !parsed->buffer) {
        parsed->buffer = std::make_unique_for_overwrite<char[]>(size + simdjson::SIMDJSON_PADDING);
        parsed->capacity = size;
    }
    std::memcpy(parsed->buffer.get(), text.data(), size);
    std::memset(parsed->buffer.get() + size, 0, simdjson::SIMDJSON_PADDING);
    parsed->size = size;
    const simdjson::padded_string_view source = parsed->source();
    if (const auto error = parsed->parser.allocate(std::max(size, parsed->parser.capacity()), deepest))
        throw Error(QStringLiteral("JSON that does not parse: %1").arg(QString::fromUtf8(simdjson::error_message(error))));
    if (const auto error = parsed->parser.parse(source).get(parsed->root))
        refuse(error, source);
}

JsonValue JsonTree::root() const
{
    JsonValue out;
    if (parsed) {
        put(out.element, parsed->root);
        out.defined = true;
    }
    return out;
}

bool JsonValue::isNull() const { return defined && got<dom::element>(element).is_null(); }
bool JsonValue::isBool() const { return defined && got<dom::element>(element).is_bool(); }
bool JsonValue::isDouble() const { return defined && got<dom::element>(element).is_number(); }
bool JsonValue::isString() const { return defined && got<dom::element>(element).is_string(); }
bool JsonValue::isArray() const { return defined && got<dom::element>(element).is_array(); }
bool JsonValue::isObject() const { return defined && got<dom::element>(element).is_object(); }

bool JsonValue::toBool() const
{
    bool out = false;
    return defined && !got<dom::element>(element).get_bool().get(out) && out;
}

double JsonValue::toDouble() const
{
    double out = 0;
    return defined && !got<dom::element>(element).get_double().get(out) ? out : 0.0;
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
    return QString::fromUtf8(toUtf8());
}

QByteArrayView JsonValue::toUtf8() const
{
    std::string_view text;
    if (!defined || got<dom::element>(element).get_string().get(text))
        return {};
    return QByteArrayView(text.data(), static_cast<qsizetype>(text.size()));
}

JsonValue JsonValue::value(QLatin1StringView key) const
{
    dom::object object;
    dom::element member;
    JsonValue out;
    if (defined && !got<dom::element>(element).get_object().get(object)
        && !object.at_key(std::string_view(key.data(), static_cast<std::size_t>(key.size()))).get(member)) {
        put(out.element, member);
        out.defined = true;
    }
    return out;
}

qsizetype JsonValue::size() const
{
    if (!defined)
        return 0;
    const dom::element e = got<dom::element>(element);
    dom::array array;
    if (!e.get_array().get(array))
        return static_cast<qsizetype>(array.size());
    dom::object object;
    if (!e.get_object().get(object))
        return static_cast<qsizetype>(object.size());
    return 0;
}

JsonValue JsonValue::at(qsizetype i) const
{
    if (i < 0)
        return {};
    for (JsonValue child : *this)
        if (i-- == 0)
            return child;
    return {};
}

JsonValue JsonValue::last() const
{
    return at(size() - 1);
}

JsonValue JsonValue::Iterator::operator*() const
{
    JsonValue out;
    if (inObject)
        put(out.element, (*got<dom::object::iterator>(place)).value);
    else
        put(out.element, *got<dom::array::iterator>(place));
    out.defined = true;
    return out;
}

JsonValue::Iterator &JsonValue::Iterator::operator++()
{
    if (inObject) {
        auto at = got<dom::object::iterator>(place);
        put(place, ++at);
    } else {
        auto at = got<dom::array::iterator>(place);
        put(place, ++at);
    }
    return *this;
}

bool JsonValue::Iterator::operator!=(const Iterator &other) const
{
    return std::memcmp(place, other.place, sizeof place) != 0;
}

JsonValue::Iterator JsonValue::begin() const
{
    return walkFrom(true);
}

JsonValue::Iterator JsonValue::end() const
{
    return walkFrom(false);
}

JsonValue::Iterator JsonValue::walkFrom(bool first) const
{
    Iterator out;
    if (!defined)
        return out; // nothing to go through: begin() is end()
    const dom::element e = got<dom::element>(element);
    dom::array array;
    dom::object object;
    if (!e.get_array().get(array)) {
        put(out.place, first ? array.begin() : array.end());
    } else if (!e.get_object().get(object)) {
        put(out.place, first ? object.begin() : object.end());
        out.inObject = true;
    }
    return out;
}
