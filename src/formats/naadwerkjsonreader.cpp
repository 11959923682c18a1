#include "formats/naadwerkjsonreader.h"

#include "base/error.h"
#include "formats/naadwerkjsonwriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

[[noreturn]] void refuse(const QString &fileName, const QString &why)
{
    throw Error(u"\"%1\": not a valid Naadwerk JSON file (%2)"_s.arg(fileName, why));
}

// Seconds to whole milliseconds, rounded: "1.230" is 1230 ms, not 1229.
std::int64_t msOf(const QJsonValue &value, const QString &fileName, qsizetype word, const char *key)
{
    const double ms = std::round(value.toDouble() * 1000);
    if (!value.isDouble() || !(std::abs(ms) <= double(std::numeric_limits<std::int32_t>::max())))
        refuse(fileName, u"word %1: \"%2\" is no time in seconds"_s.arg(word).arg(QLatin1StringView(key)));
    return static_cast<std::int64_t>(ms);
}

} // namespace

bool looksLikeNaadwerkJson(const QByteArray &bytes)
{
    static const QRegularExpression opening(uR"(^(\x{FEFF})?\s*\{)"_s);
    static const QRegularExpression format(uR"("format"\s*:\s*"naadwerk")"_s);
    const QString head = QString::fromUtf8(bytes.first(std::min<qsizetype>(bytes.size(), 4096)));
    return opening.match(head).hasMatch() && format.match(head).hasMatch();
}

WordFileRead parseNaadwerkJson(const QByteArray &bytes, const QString &fileName)
{
    QJsonParseError error;
    const QByteArray json = bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        refuse(fileName, u"at byte %1: %2"_s.arg(error.offset).arg(error.errorString()));
    const QJsonObject top = document.object();
    if (top.value("format"_L1) != "naadwerk"_L1)
        refuse(fileName, u"no \"format\": \"naadwerk\""_s);
    const QJsonValue version = top.value("version"_L1);
    if (!version.isDouble() || version.toDouble() < 1 || version.toDouble() != std::floor(version.toDouble()))
        refuse(fileName, u"no whole \"version\" from 1"_s);
    if (version.toDouble() > naadwerkJsonVersion)
        throw Error(u"\"%1\" was written by a newer Naadwerk (JSON version %2); this one reads version %3 and older."_s
                        .arg(fileName)
                        .arg(version.toDouble())
                        .arg(naadwerkJsonVersion));
    const QJsonValue words = top.value("words"_L1);
    if (!words.isArray())
        refuse(fileName, u"no list \"words\""_s);

    WordFileRead read;
    // One string for all the words of a speaker, as the other readers keep it.
    QString speakerHeld = u"X"_s;
    const QJsonArray list = words.toArray();
    read.words.reserve(static_cast<std::size_t>(list.size()));
    for (qsizetype i = 0; i < list.size(); ++i) {
        const qsizetype number = i + 1;
        const QJsonObject object = list.at(i).toObject();
        const QJsonValue text = object.value("word"_L1);
        if (!text.isString())
            refuse(fileName, u"word %1 has no text \"word\""_s.arg(number));
        Word &word = read.words.emplace_back();
        word.line = static_cast<std::int32_t>(std::min<qsizetype>(number, std::numeric_limits<std::int32_t>::max()));
        word.text = text.toString();
        word.start = msOf(object.value("start"_L1), fileName, number, "start");
        word.end = msOf(object.value("end"_L1), fileName, number, "end");
        const QJsonValue confidence = object.value("confidence"_L1);
        if (!confidence.isUndefined() && !confidence.isDouble())
            refuse(fileName, u"word %1: \"confidence\" is no number"_s.arg(number));
        word.confidence = confidence.isUndefined() ? 1.0f : static_cast<float>(confidence.toDouble());
        const QJsonValue speaker = object.value("speaker"_L1);
        if (!speaker.isUndefined() && !speaker.isNull() && !speaker.isString())
            refuse(fileName, u"word %1: \"speaker\" is no text"_s.arg(number));
        const QString name = speaker.isString() && !speaker.toString().isEmpty() ? speaker.toString() : u"X"_s;
        if (name != speakerHeld)
            speakerHeld = name;
        word.speaker = speakerHeld;
    }
    return read;
}
