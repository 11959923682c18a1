#include "formats/interviewfile.h"

#include "base/atomicfile.h"
#include "base/error.h"
#include "formats/jsoncursor.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <charconv>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

const std::array<const char *, 3> inputKeys{"wordFile", "textFile", "recording"};
const std::array<const char *, WordRow::columnCount> columnKeys{"number", "start", "end", "text", "confidence", "speaker"};

// JSON is written by hand, part by part and row by row, into a buffer that
// goes to the file whenever it is full: QJsonDocument would hold the whole
// interview a second time.
class JsonOut
{
public:
    explicit JsonOut(AtomicFile &file) : file(file) { buffer.reserve(chunk + 4096); }
    ~JsonOut() = default;

    JsonOut &raw(const char *text)
    {
        buffer.append(text);
        return *this;
    }
    JsonOut &string(const QString &text)
    {
        buffer.append('"');
        const QByteArray utf8 = text.toUtf8();
        for (const char c : utf8) {
            const auto u = static_cast<unsigned char>(c);
            if (c == '"' || c == '\\') {
                buffer.append('\\').append(c);
            } else if (u < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
                buffer.append(escaped);
            } else {
                buffer.append(c);
            }
        }
        buffer.append('"');
        return *this;
    }
    JsonOut &number(std::int64_t value)
    {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        buffer.append(digits, end - digits);
        return *this;
    }
    // The shortest text that reads back as the same float.
    JsonOut &number(float value)
    {
        char digits[32];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        buffer.append(digits, end - digits);
        return *this;
    }
    JsonOut &boolean(bool value) { return raw(value ? "true" : "false"); }
    // "key": (with the comma before it unless first)
    JsonOut &key(const char *name, bool first = false)
    {
        if (!first)
            buffer.append(',');
        buffer.append('"').append(name).append("\":");
        return *this;
    }
    JsonOut &json(const QJsonObject &object)
    {
        buffer.append(QJsonDocument(object).toJson(QJsonDocument::Compact));
        return *this;
    }
    void flushIfFull()
    {
        if (buffer.size() >= chunk)
            flush();
    }
    void flush()
    {
        file.write(buffer);
        buffer.clear();
    }

private:
    static constexpr qsizetype chunk = 1 << 20;
    AtomicFile &file;
    QByteArray buffer;
};

void writeRow(JsonOut &out, const WordRow &row, std::int64_t shiftMs)
{
    out.raw("{").key("start", true).number(row.start - shiftMs).key("end").number(row.end - shiftMs);
    out.key("text").string(row.text).key("confidence").number(row.confidence);
    out.key("speaker").string(row.speaker);
    if (row.typed) {
        // A cell typed in another form than its number's keeps its text.
        out.key("typed").raw("{");
        bool first = true;
        for (int column = 0; column < WordRow::columnCount; ++column) {
            if (!row.isTyped(static_cast<WordRow::Column>(column)))
                continue;
            out.key(columnKeys[static_cast<std::size_t>(column)], first).string((*row.typed)[static_cast<std::size_t>(column)]);
            first = false;
        }
        out.raw("}");
    }
    out.raw("}");
}

void writePart(JsonOut &out, const InterviewPart &part, InterviewRows rows)
{
    out.raw("\n{");
    for (std::size_t k = 0; k < part.inputs.size(); ++k) {
        const InterviewInput &input = part.inputs[k];
        out.key(inputKeys[k], k == 0).raw("{").key("path", true).string(input.path);
        out.key("size").number(input.size).key("modifiedMs").number(input.modifiedMs).raw("}");
    }
    out.key("gapMs").number(part.gapMs).key("frames").number(part.frames);
    out.key("rate").number(std::int64_t(part.rate)).key("recordingFormat").string(part.recordingFormat);
    out.key("recordingDecoded").boolean(part.recordingDecoded);
    out.key("wordFileEncoding").string(part.wordFileEncoding).key("textEncoding").string(part.textEncoding);
    out.key("alternations").number(std::int64_t(part.alternations));
    out.key("firstAlternation").number(std::int64_t(part.firstAlternation));
    out.key("rows").raw("[");
    for (std::size_t i = 0; i < rows.rows.size(); ++i) {
        out.raw(i == 0 ? "\n" : ",\n");
        writeRow(out, rows.rows[i], rows.shiftMs);
        out.flushIfFull();
    }
    out.raw("]").key("text").raw("[");
    for (qsizetype i = 0; i < part.text.size(); ++i) {
        out.raw(i == 0 ? "\n" : ",\n").string(part.text[i]);
        out.flushIfFull();
    }
    out.raw("]}");
}

// --- Reading ---------------------------------------------------------------------------

// The file is walked value by value (JsonCursor): a document of a million
// rows would take several times the time and memory of the rows themselves.
// Small objects (an input, the settings) are handed to QJsonDocument.

[[noreturn]] void notAnInterview(const QString &name)
{
    throw Error(u"\"%1\" is not a Naadwerk interview file."_s.arg(name));
}

QJsonObject smallObject(JsonCursor &json)
{
    if (json.peek() != '{')
        throw JsonCursor::Malformed();
    return QJsonDocument::fromJson(json.skipValue()).object();
}

std::int64_t integer(const QJsonObject &object, QLatin1StringView key, std::int64_t otherwise = 0)
{
    const QJsonValue value = object.value(key);
    return value.isDouble() ? value.toInteger(otherwise) : otherwise;
}

WordRow readRow(JsonCursor &json, std::int64_t number, JsonCursor::Repeat &speaker)
{
    WordRow row;
    row.number = number;
    json.beginObject();
    QString key;
    while (json.nextKey(key)) {
        if (key == u"start")
            row.start = json.integer();
        else if (key == u"end")
            row.end = json.integer();
        else if (key == u"text")
            row.text = json.string();
        else if (key == u"confidence")
            row.confidence = json.floatNumber();
        else if (key == u"speaker")
            row.speaker = json.string(speaker);
        else if (key == u"typed") {
            const QJsonObject typed = smallObject(json);
            WordRow::TypedCells cells;
            for (std::size_t column = 0; column < columnKeys.size(); ++column) {
                const QJsonValue text = typed.value(QLatin1StringView(columnKeys[column]));
                if (text.isString())
                    cells[column] = text.toString();
            }
            row.typed = std::make_shared<const WordRow::TypedCells>(std::move(cells));
        } else
            json.skipValue();
    }
    return row;
}

InterviewPart readPart(JsonCursor &json)
{
    InterviewPart part;
    json.beginObject();
    QString key;
    while (json.nextKey(key)) {
        const auto input = std::find(inputKeys.begin(), inputKeys.end(), key.toLatin1());
        if (input != inputKeys.end()) {
            const QJsonObject object = smallObject(json);
            InterviewInput &in = part.inputs[static_cast<std::size_t>(input - inputKeys.begin())];
            in.path = object.value("path"_L1).toString();
            in.size = integer(object, "size"_L1, -1);
            in.modifiedMs = integer(object, "modifiedMs"_L1);
        } else if (key == u"gapMs")
            part.gapMs = json.integer();
        else if (key == u"frames")
            part.frames = json.integer();
        else if (key == u"rate")
            part.rate = static_cast<std::uint32_t>(json.integer());
        else if (key == u"recordingFormat")
            part.recordingFormat = json.string();
        else if (key == u"recordingDecoded")
            part.recordingDecoded = json.boolean();
        else if (key == u"wordFileEncoding")
            part.wordFileEncoding = json.string();
        else if (key == u"textEncoding")
            part.textEncoding = json.string();
        else if (key == u"alternations")
            part.alternations = static_cast<int>(json.integer());
        else if (key == u"firstAlternation")
            part.firstAlternation = static_cast<std::int32_t>(json.integer());
        else if (key == u"rows") {
            JsonCursor::Repeat speaker;
            json.beginArray();
            while (json.nextElement())
                part.rows.push_back(readRow(json, std::int64_t(part.rows.size()) + 1, speaker));
        } else if (key == u"text") {
            json.beginArray();
            while (json.nextElement())
                part.text.append(json.string());
        } else
            json.skipValue();
    }
    return part;
}

InterviewPlacement readPlacement(JsonCursor &json)
{
    const QJsonObject object = smallObject(json);
    InterviewPlacement place;
    place.gapFrames = integer(object, "gapFrames"_L1);
    place.frames = integer(object, "frames"_L1, -1);
    place.rate = static_cast<std::uint32_t>(integer(object, "rate"_L1));
    place.firstFrame = integer(object, "firstFrame"_L1, -1);
    place.joinedFrames = integer(object, "joinedFrames"_L1, -1);
    return place;
}

// Reads the top object's members; the version is judged as soon as the
// format is known, before the parts of a newer file are read.
void readTop(JsonCursor &json, InterviewFile &interview, const QString &name, bool &formatSeen)
{
    json.beginObject();
    QString key;
    bool versionSeen = false;
    const auto judge = [&] {
        if (versionSeen && formatSeen && interview.version > InterviewFile::currentVersion)
            throw Error(u"\"%1\" was written by a newer Naadwerk (interview file version %2); this version reads "
                        u"version %3."_s.arg(name).arg(interview.version).arg(InterviewFile::currentVersion));
    };
    while (json.nextKey(key)) {
        if (key == u"version") {
            interview.version = static_cast<int>(json.integer());
            versionSeen = true;
            judge();
        } else if (key == u"format") {
            formatSeen = json.string() == u"naadwerk-interview"_s;
            judge();
        } else if (key == u"parts") {
            json.beginArray();
            while (json.nextElement())
                interview.parts.push_back(readPart(json));
        } else if (key == u"gluesParts")
            interview.gluesParts = json.boolean();
        else if (key == u"settings")
            interview.settings = smallObject(json);
        else if (key == u"outputSeparator")
            interview.outputSeparator = json.string();
        else if (key == u"outputLayout")
            interview.outputLayout = json.string();
        else if (key == u"joinedRecording")
            interview.joinedRecording = json.string();
        else if (key == u"joinedFrames")
            interview.joinedFrames = json.integer();
        else if (key == u"placements") {
            json.beginArray();
            while (json.nextElement())
                interview.placements.push_back(readPlacement(json));
        } else if (key == u"outputs")
            interview.outputs = smallObject(json);
        else
            json.skipValue();
    }
    if (!versionSeen || interview.version < 1)
        throw JsonCursor::Malformed();
}

} // namespace

void writeInterviewFile(AtomicFile &file, const InterviewFile &interview,
                        const std::function<InterviewRows(std::size_t)> &rowsOf)
{
    JsonOut out(file);
    out.raw("{").key("version", true).number(std::int64_t(interview.version));
    out.key("format").string(u"naadwerk-interview"_s);
    out.key("parts").raw("[");
    for (std::size_t k = 0; k < interview.parts.size(); ++k) {
        if (k > 0)
            out.raw(",");
        writePart(out, interview.parts[k], rowsOf(k));
    }
    out.raw("],\n\"gluesParts\":").boolean(interview.gluesParts);
    out.key("settings").json(interview.settings);
    out.key("outputSeparator").string(interview.outputSeparator);
    out.key("outputLayout").string(interview.outputLayout);
    out.key("joinedRecording").string(interview.joinedRecording);
    out.key("joinedFrames").number(interview.joinedFrames);
    out.key("placements").raw("[");
    for (std::size_t k = 0; k < interview.placements.size(); ++k) {
        const InterviewPlacement &place = interview.placements[k];
        out.raw(k == 0 ? "{" : ",{").key("gapFrames", true).number(place.gapFrames);
        out.key("frames").number(place.frames).key("rate").number(std::int64_t(place.rate));
        out.key("firstFrame").number(place.firstFrame).key("joinedFrames").number(place.joinedFrames).raw("}");
    }
    out.raw("]").key("outputs").json(interview.outputs).raw("}\n");
    out.flush();
}

InterviewFile readInterviewFile(const QByteArray &bytes, const QString &name)
{
    InterviewFile interview;
    bool formatSeen = false;
    try {
        JsonCursor json(bytes);
        readTop(json, interview, name, formatSeen);
        if (!json.atEnd())
            throw JsonCursor::Malformed();
    } catch (const JsonCursor::Malformed &) {
        notAnInterview(name);
    }
    if (!formatSeen)
        notAnInterview(name);
    return interview;
}
