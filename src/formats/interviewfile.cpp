#include "formats/interviewfile.h"

#include "base/atomicfile.h"
#include "base/error.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

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

[[noreturn]] void notAnInterview(const QString &name)
{
    throw Error(u"\"%1\" is not a Naadwerk interview file."_s.arg(name));
}

std::int64_t integer(const QJsonObject &object, QLatin1StringView key, std::int64_t otherwise = 0)
{
    const QJsonValue value = object.value(key);
    return value.isDouble() ? value.toInteger(otherwise) : otherwise;
}

WordRow readRow(const QJsonObject &object, std::int64_t number)
{
    WordRow row;
    row.number = number;
    row.start = integer(object, "start"_L1);
    row.end = integer(object, "end"_L1);
    row.text = object.value("text"_L1).toString();
    row.confidence = static_cast<float>(object.value("confidence"_L1).toDouble());
    row.speaker = object.value("speaker"_L1).toString();
    const QJsonObject typed = object.value("typed"_L1).toObject();
    if (!typed.isEmpty()) {
        WordRow::TypedCells cells;
        for (std::size_t column = 0; column < columnKeys.size(); ++column) {
            const QJsonValue text = typed.value(QLatin1StringView(columnKeys[column]));
            if (text.isString())
                cells[column] = text.toString();
        }
        row.typed = std::make_shared<const WordRow::TypedCells>(std::move(cells));
    }
    return row;
}

InterviewPart readPart(const QJsonObject &object)
{
    InterviewPart part;
    for (std::size_t k = 0; k < inputKeys.size(); ++k) {
        const QJsonObject input = object.value(QLatin1StringView(inputKeys[k])).toObject();
        part.inputs[k].path = input.value("path"_L1).toString();
        part.inputs[k].size = integer(input, "size"_L1, -1);
        part.inputs[k].modifiedMs = integer(input, "modifiedMs"_L1);
    }
    part.gapMs = integer(object, "gapMs"_L1);
    part.frames = integer(object, "frames"_L1);
    part.rate = static_cast<std::uint32_t>(integer(object, "rate"_L1));
    part.recordingFormat = object.value("recordingFormat"_L1).toString();
    part.recordingDecoded = object.value("recordingDecoded"_L1).toBool();
    part.wordFileEncoding = object.value("wordFileEncoding"_L1).toString();
    part.textEncoding = object.value("textEncoding"_L1).toString();
    part.alternations = static_cast<int>(integer(object, "alternations"_L1));
    part.firstAlternation = static_cast<std::int32_t>(integer(object, "firstAlternation"_L1));
    const QJsonArray rows = object.value("rows"_L1).toArray();
    part.rows.reserve(static_cast<std::size_t>(rows.size()));
    std::int64_t number = 0;
    for (const QJsonValue &row : rows)
        part.rows.push_back(readRow(row.toObject(), ++number));
    const QJsonArray text = object.value("text"_L1).toArray();
    part.text.reserve(text.size());
    for (const QJsonValue &line : text)
        part.text.append(line.toString());
    return part;
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
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    const QJsonObject top = document.object();
    if (error.error != QJsonParseError::NoError || !document.isObject()
        || top.value("format"_L1).toString() != u"naadwerk-interview"_s || !top.value("version"_L1).isDouble())
        notAnInterview(name);
    InterviewFile interview;
    interview.version = static_cast<int>(integer(top, "version"_L1));
    if (interview.version > InterviewFile::currentVersion)
        throw Error(u"\"%1\" was written by a newer Naadwerk (interview file version %2); this version reads "
                    u"version %3."_s.arg(name).arg(interview.version).arg(InterviewFile::currentVersion));
    if (interview.version < 1)
        notAnInterview(name);
    for (const QJsonValue &part : top.value("parts"_L1).toArray())
        interview.parts.push_back(readPart(part.toObject()));
    interview.gluesParts = top.value("gluesParts"_L1).toBool();
    interview.settings = top.value("settings"_L1).toObject();
    interview.outputSeparator = top.value("outputSeparator"_L1).toString(u" "_s);
    interview.outputLayout = top.value("outputLayout"_L1).toString(u"aligner"_s);
    interview.joinedRecording = top.value("joinedRecording"_L1).toString();
    interview.joinedFrames = integer(top, "joinedFrames"_L1);
    for (const QJsonValue &value : top.value("placements"_L1).toArray()) {
        const QJsonObject object = value.toObject();
        InterviewPlacement place;
        place.gapFrames = integer(object, "gapFrames"_L1);
        place.frames = integer(object, "frames"_L1, -1);
        place.rate = static_cast<std::uint32_t>(integer(object, "rate"_L1));
        place.firstFrame = integer(object, "firstFrame"_L1, -1);
        place.joinedFrames = integer(object, "joinedFrames"_L1, -1);
        interview.placements.push_back(place);
    }
    interview.outputs = top.value("outputs"_L1).toObject();
    return interview;
}
