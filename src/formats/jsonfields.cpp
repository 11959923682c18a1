#include "formats/jsonfields.h"

#include "base/error.h"
#include "base/numbers.h"
#include "formats/foundwords.h"

#include <algorithm>

namespace {

QString shown(const JsonValue &value)
{
    if (value.isBool())
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (value.isArray())
        return QStringLiteral("[...]");
    if (value.isObject())
        return QStringLiteral("{...}");
    return value.toString();
}

} // namespace

std::optional<std::int64_t> secondsField(const JsonValue &value)
{
    if (value.isUndefined() || value.isNull())
        return std::nullopt;
    if (value.isDouble())
        return msOfSeconds(value.toDouble());
    if (value.isString()) {
        const QString string = value.toString();
        QStringView text = string; // Google writes "12.900s"
        if (text.endsWith(u's'))
            text.chop(1);
        return secondsToMs(text);
    }
    throw Error(QStringLiteral("'%1' is not a time in seconds").arg(shown(value)));
}

std::optional<std::int64_t> millisecondsField(const JsonValue &value)
{
    if (value.isUndefined() || value.isNull())
        return std::nullopt;
    if (value.isDouble())
        return msOfSeconds(value.toDouble() / 1000.0);
    if (value.isString())
        return msOfSeconds(parseFloat(value.toString()) / 1000.0);
    throw Error(QStringLiteral("'%1' is not a time in milliseconds").arg(shown(value)));
}

double confidenceField(const JsonValue &value)
{
    if (value.isDouble())
        return value.toDouble();
    if (value.isString())
        return parseFloat(value.toString());
    if (value.isUndefined() || value.isNull())
        return 1.0;
    throw Error(QStringLiteral("'%1' is not a confidence").arg(shown(value)));
}

QString speakerField(const JsonValue &value, const QString &prefix)
{
    if (value.isString())
        return value.toString().trimmed();
    if (value.isDouble())
        return prefix + u'_' + QString::number(value.toInteger());
    return QString();
}

const QString &SpeakerField::operator()(const JsonValue &value)
{
    const bool text = value.isString();
    if (text && lastWasText && value.toUtf8() == lastText)
        return last;
    last = speakerField(value, prefix);
    lastWasText = text;
    lastText = text ? value.toUtf8() : QByteArrayView();
    return last;
}

void addPiece(std::vector<Piece> &words, const QString &piece, std::optional<Span> span, double confidence)
{
    const QString text = piece.trimmed();
    if (text.isEmpty())
        return;
    if (words.empty() || piece.front().isSpace()) {
        words.push_back({text, span, confidence});
        return;
    }
    Piece &word = words.back();
    word.text += text;
    if (word.span && span)
        word.span->end = std::max(word.span->end, span->end);
    else
        word.span.reset();
    word.confidence = std::min(word.confidence, confidence);
}

void addPieces(FoundWords &found, const std::vector<Piece> &words, const QString &speaker)
{
    for (const Piece &word : words) {
        if (word.span)
            found.add(word.text, word.span->start, word.span->end, word.confidence, speaker);
        else
            found.addUntimed(word.text, speaker);
    }
}

std::optional<Span> spanOf(std::optional<std::int64_t> start, std::optional<std::int64_t> end)
{
    if (!start || !end)
        return std::nullopt;
    return Span{*start, *end};
}
