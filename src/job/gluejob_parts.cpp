// The list of parts: adding, removing and moving parts, their places in the
// joined recording, the part map and the marks of where each part starts.

#include "job/gluejob.h"

#include "base/error.h"
#include "base/numbers.h"
#include "base/paths.h"
#include "base/textfile.h"
#include "formats/filebytesource.h"
#include "formats/partlistentry.h"
#include "formats/transcriptbuilder.h"
#include "formats/recording.h"
#include "formats/wordfile.h"
#include "job/textsharing.h"
#include "job/wordrowfill.h"
#include "job/wordwarnings.h"

#include <algorithm>
#include <array>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

// 16 frames make a millisecond at 16 kHz; a half goes to the even one.
std::int64_t framesToMs(std::int64_t frames)
{
    return roundHalfEven(static_cast<double>(frames) / 16.0);
}

} // namespace

// --- The list ---------------------------------------------------------------------------

int GlueJob::partCount() const
{
    if (!moreParts.empty())
        return 2 + static_cast<int>(moreParts.size());
    if (!wordFilePath2.isEmpty() || !textPath2.isEmpty() || !recordingPath2.isEmpty())
        return 2;
    if (!wordFilePath1.isEmpty() || !textPath1.isEmpty() || !recordingPath1.isEmpty())
        return 1;
    return 0;
}

void GlueJob::addPart(const QString &wordFile, const QString &textFile, const QString &recording,
                      std::int64_t gapMs)
{
    // Everything is read before the list changes: a bad file adds nothing.
    PartInputs part;
    part.wordFilePath = wordFile;
    part.textPath = textFile;
    part.recordingPath = recording;
    part.gapMs = std::max<std::int64_t>(gapMs, 0);
    const QChar separator = settings.tabSeparated ? QChar(u'\t') : QChar(u' ');
    if (!wordFile.isEmpty()) {
        std::vector<Word> words = parseWordFile(readFileBytes(wordFile), separator, settings.layout, wordFile);
        shareRepeatedTexts(words);
        part.rows.resize(words.size());
        fillWordRows(part.rows, words, 1, 0);
        part.lines.resize(words.size());
        for (std::size_t i = 0; i < words.size(); ++i)
            part.lines[i] = words[i].line;
    }
    if (!textFile.isEmpty()) {
        part.openedText = readTextFile(textFile);
        part.text = part.openedText;
    }
    if (!recording.isEmpty()) {
        const RecordingInfo wav = probeRecording(recording);
        part.frames = wav.frames;
        part.rate = wav.rate;
    }

    dropGlue();
    partsMode = true;
    if (!wordFile.isEmpty()) {
        // The joined word file is written as the word file read last.
        joinedSeparator = separator;
        joinedLayout = settings.layout;
    }
    const int count = partCount();
    putPart(count, std::move(part));
    person.partsChanged();
}

void GlueJob::addPartList(const QString &path)
{
    const std::vector<PartListEntry> parts = parsePartList(readTextFile(path), folderPart(path), path);
    if (parts.empty())
        throw Error(u"\"%1\" lists no parts."_s.arg(path));
    for (const PartListEntry &part : parts)
        addPart(part.wordFile, part.textFile, part.recording, part.gapMs);
}

void GlueJob::addPartFiles(const QStringList &paths)
{
    std::array<QStringList, 3> kinds; // word files, texts, recordings
    for (const QString &path : paths) {
        const QString name = fileNamePart(path).toLower();
        if (name.endsWith(u".tsv"))
            addPartList(path);
        else if (name.endsWith(u".ctm") || name.endsWith(u".spk"))
            kinds[0].append(path);
        else if (name.endsWith(u".txt"))
            kinds[1].append(path);
        else
            kinds[2].append(path);
    }
    const qsizetype count = std::max({kinds[0].size(), kinds[1].size(), kinds[2].size()});
    for (qsizetype i = 0; i < count; ++i)
        addPart(kinds[0].value(i), kinds[1].value(i), kinds[2].value(i));
}

void GlueJob::removePart(int index)
{
    const int count = partCount();
    if (index < 0 || index >= count)
        return;
    dropGlue();
    partsMode = true;
    for (int k = index; k + 1 < count; ++k)
        putPart(k, takePart(k + 1));
    if (!moreParts.empty())
        moreParts.pop_back();
    else
        putPart(count - 1, PartInputs());
    // An emptied list leaves the six Open items a classic glue again.
    partsMode = partCount() > 0;
    person.partsChanged();
}

void GlueJob::movePart(int index, int to)
{
    const int count = partCount();
    if (index < 0 || index >= count || to < 0 || to >= count || index == to)
        return;
    dropGlue();
    partsMode = true;
    PartInputs moving = takePart(index);
    const int step = to > index ? 1 : -1;
    for (int k = index; k != to; k += step)
        putPart(k, takePart(k + step));
    putPart(to, std::move(moving));
    person.partsChanged();
}

void GlueJob::setPartGap(int index, std::int64_t gapMs)
{
    if (index < 0 || index >= partCount())
        return;
    dropGlue(); // the joined recording would no longer be the one glued
    partsMode = true;
    gapMs = std::max<std::int64_t>(gapMs, 0);
    if (index < 2)
        halfGaps[static_cast<std::size_t>(index)] = gapMs;
    else
        moreParts[static_cast<std::size_t>(index - 2)].gapMs = gapMs;
    person.partsChanged();
}

// Takes part index out of the job (a half is left empty), before a Glue.
PartInputs GlueJob::takePart(int index)
{
    if (index >= 2)
        return std::exchange(moreParts[static_cast<std::size_t>(index - 2)], PartInputs());
    const std::size_t h = static_cast<std::size_t>(index);
    PartInputs part;
    part.wordFilePath = std::exchange(index == 0 ? wordFilePath1 : wordFilePath2, QString());
    part.textPath = std::exchange(index == 0 ? textPath1 : textPath2, QString());
    part.recordingPath = std::exchange(index == 0 ? recordingPath1 : recordingPath2, QString());
    part.rows = std::exchange(index == 0 ? wordTable1 : wordTable2, {});
    part.lines = std::exchange(index == 0 ? part1Lines : part2Lines, {});
    part.openedText = std::exchange(index == 0 ? openedText1 : openedText2, QStringList());
    part.text = std::exchange(halfTexts[h], QStringList());
    part.frames = std::exchange(index == 0 ? frames1 : frames2, 0);
    part.rate = std::exchange(halfRates[h], 0);
    part.gapMs = std::exchange(halfGaps[h], 0);
    return part;
}

// Puts part into place index: a half, or a part after them (appended when
// index is one past the last).
void GlueJob::putPart(int index, PartInputs part)
{
    if (index >= 2) {
        const std::size_t i = static_cast<std::size_t>(index - 2);
        if (i == moreParts.size())
            moreParts.push_back(std::move(part));
        else
            moreParts[i] = std::move(part);
        return;
    }
    const std::size_t h = static_cast<std::size_t>(index);
    (index == 0 ? wordFilePath1 : wordFilePath2) = std::move(part.wordFilePath);
    (index == 0 ? textPath1 : textPath2) = std::move(part.textPath);
    (index == 0 ? recordingPath1 : recordingPath2) = std::move(part.recordingPath);
    (index == 0 ? wordTable1 : wordTable2) = std::move(part.rows);
    (index == 0 ? part1Lines : part2Lines) = std::move(part.lines);
    (index == 0 ? openedText1 : openedText2) = std::move(part.openedText);
    halfTexts[h] = std::move(part.text);
    (index == 0 ? frames1 : frames2) = part.frames;
    halfRates[h] = part.rate;
    halfGaps[h] = part.gapMs;
    // A word file held for reopening belongs to the part that was here.
    heldWordFiles[h] = QByteArray();
    const TextView view = index == 0 ? TextView::Text1 : TextView::Text2;
    textRef(view) = halfTexts[h];
    reportText(view);
    person.wordRowsReplaced(index == 0 ? WordTable::First : WordTable::Second);
}

// --- What the list shows ------------------------------------------------------------------

PartRow GlueJob::partRow(int index) const
{
    PartRow row;
    if (index < 0 || index >= partCount())
        return row;
    row.number = index + 1;
    if (index >= 2) {
        const PartInputs &part = moreParts[static_cast<std::size_t>(index - 2)];
        row.wordFilePath = part.wordFilePath;
        row.textPath = part.textPath;
        row.recordingPath = part.recordingPath;
        row.frames = part.frames;
        row.rate = part.rate;
        row.gapMs = part.gapMs;
    } else {
        const std::size_t h = static_cast<std::size_t>(index);
        row.wordFilePath = index == 0 ? wordFilePath1 : wordFilePath2;
        row.textPath = index == 0 ? textPath1 : textPath2;
        row.recordingPath = index == 0 ? recordingPath1 : recordingPath2;
        row.frames = index == 0 ? frames1 : frames2;
        row.rate = halfRates[h];
        row.gapMs = halfGaps[h];
    }
    if (!glued)
        return row;
    const std::size_t k = static_cast<std::size_t>(index);
    if (!placedParts.empty()) {
        row.firstFrame = placedParts[k].firstFrame;
        row.endMs = framesToMs(placedParts[k].firstFrame + placedParts[k].joinedFrames);
    } else {
        // Two halves: part 2 starts where part 1 ends.
        row.firstFrame = k == 0 ? 0 : sampleOffset;
        row.endMs = framesToMs(k == 0 ? sampleOffset : joinedFrames);
    }
    row.startMs = partOffset(k);
    return row;
}

std::span<const WordRow> GlueJob::partWordRows(int index) const
{
    if (index < 0 || index >= partCount())
        return {};
    const std::size_t k = static_cast<std::size_t>(index);
    if (glued && k + 1 < partRowStarts.size())
        return std::span<const WordRow>(wordTable1).subspan(partRowStarts[k], partRowStarts[k + 1] - partRowStarts[k]);
    if (index >= 2)
        return moreParts[k - 2].rows;
    return index == 0 ? wordTable1 : wordTable2;
}

const QStringList &GlueJob::partText(int index) const
{
    static const QStringList none;
    if (index < 0 || index >= partCount())
        return none;
    return index < 2 ? halfTexts[static_cast<std::size_t>(index)]
                     : moreParts[static_cast<std::size_t>(index - 2)].text;
}

void GlueJob::setPartWordCell(int index, int row, WordRow::Column column, const QString &text)
{
    if (index < 0 || index >= partCount())
        return;
    const std::size_t k = static_cast<std::size_t>(index);
    if (glued) {
        // The joined list holds every part: the edit goes back from there.
        if (row >= 0 && static_cast<std::size_t>(row) < partWordRows(index).size())
            setWordCell(WordTable::First, static_cast<int>(partRowStarts[k]) + row, column, text);
    } else if (index < 2) {
        setWordCell(index == 0 ? WordTable::First : WordTable::Second, row, column, text);
    } else {
        std::vector<WordRow> &rows = moreParts[k - 2].rows;
        if (row < 0 || static_cast<std::size_t>(row) >= rows.size() || column < 0 || column >= WordRow::columnCount)
            return;
        rows[static_cast<std::size_t>(row)].setCell(column, text);
    }
    person.partsChanged();
}

void GlueJob::setPartText(int index, const QStringList &lines)
{
    if (index < 0 || index >= partCount())
        return;
    if (!glued && index < 2) {
        setText(index == 0 ? TextView::Text1 : TextView::Text2, lines);
        return;
    }
    *partTexts()[static_cast<std::size_t>(index)] = lines;
    if (index == 1) {
        textRef(TextView::Text2) = lines;
        reportText(TextView::Text2);
    }
    if (glued) {
        showJoinedText();
        noteEdit();
    }
}

std::vector<QStringList *> GlueJob::partTexts()
{
    std::vector<QStringList *> all{&halfTexts[0], &halfTexts[1]};
    for (PartInputs &part : moreParts)
        all.push_back(&part.text);
    return all;
}

std::vector<std::int64_t> GlueJob::partStartsMs() const
{
    std::vector<std::int64_t> starts;
    if (!glued)
        return starts;
    const std::size_t n = placedParts.empty() ? 2 : placedParts.size();
    for (std::size_t k = 0; k < n; ++k)
        starts.push_back(partOffset(k));
    return starts;
}

// The shift of part index's times: where it starts in the joined recording.
std::int64_t GlueJob::partOffset(std::size_t index) const
{
    if (!placedParts.empty())
        return framesToMs(placedParts[index].firstFrame);
    return index == 0 ? 0 : timeOffset;
}

// --- Glue ---------------------------------------------------------------------------------

void GlueJob::checkPartRecordings() const
{
    if (partCount() < 2)
        throw Error(u"Add at least two parts before Glue."_s);
    for (int k = 0; k < partCount(); ++k)
        if (partRow(k).recordingPath.isEmpty())
            throw Error(u"Choose the recording of part %1 before Glue."_s.arg(k + 1));
}

std::vector<JoinPart> GlueJob::partsToJoin() const
{
    std::vector<JoinPart> parts(static_cast<std::size_t>(partCount()));
    for (int k = 0; k < partCount(); ++k) {
        const PartRow row = partRow(k);
        parts[static_cast<std::size_t>(k)].path = row.recordingPath;
        parts[static_cast<std::size_t>(k)].gapFrames = row.gapMs * 16;
    }
    return parts;
}

void GlueJob::takeJoinedParts(const QString &path, JoinedRecording joined)
{
    if (joined.reached) {
        frames1 = joined.parts[0].frames;
        frames2 = joined.parts[1].frames;
    }
    if (joined.failure)
        std::rethrow_exception(joined.failure);
    const int n = partCount();
    joinedFrames = joined.total;
    std::vector<JoinPart> &parts = joined.parts;
    placedParts = std::move(parts);
    // The frame counts as stored stay with their parts; the halves' fields
    // keep the classic meaning for part 2.
    frames1 = placedParts[0].frames;
    frames2 = placedParts[1].frames;
    for (std::size_t k = 2; k < placedParts.size(); ++k)
        moreParts[k - 2].frames = placedParts[k].frames;
    sampleOffset = placedParts[1].firstFrame;
    timeOffset = partOffset(1);
    nameOutputs(path);

    log(u"Reading %1 wavfiles:"_s.arg(n));
    for (int k = 0; k < n; ++k)
        log(u"%1: %2 (%3)"_s.arg(k + 1).arg(placedParts[static_cast<std::size_t>(k)].path)
                .arg(placedParts[static_cast<std::size_t>(k)].frames));
    log(u"Writting into wavfile:"_s);
    log(u"W: "_s + joinedRecordingPath + u" ("_s + QString::number(joinedFrames) + u')');
    for (int k = 0; k < n; ++k) {
        const JoinPart &part = placedParts[static_cast<std::size_t>(k)];
        QString line = u"Part %1 starts at frame %2: time to add is %3ms"_s.arg(k + 1).arg(part.firstFrame).arg(
            partOffset(static_cast<std::size_t>(k)));
        if (k + 1 < n && part.gapFrames > 0)
            line += u", then %1ms of silence"_s.arg(part.gapFrames / 16);
        log(line);
    }
    for (const QString &warning : joined.warnings)
        log(u"Warning: "_s + warning);
    person.partsChanged();
}

// The joined list: part 1's rows (kept where they are), then every later
// part's rows, numbered on and shifted by that part's offset.
void GlueJob::joinPartRows()
{
    wordTable1.resize(half1Rows);
    partRowStarts = {0, half1Rows};
    for (std::size_t k = 1; k < 2 + moreParts.size(); ++k) {
        const std::vector<WordRow> &rows = k == 1 ? wordTable2 : moreParts[k - 2].rows;
        const std::size_t first = wordTable1.size();
        wordTable1.resize(first + rows.size());
        shiftWordRows(std::span(wordTable1).subspan(first), rows, static_cast<std::int64_t>(first),
                      partOffset(k));
        partRowStarts.push_back(wordTable1.size());
    }
}

void GlueJob::warnAboutMoreParts(WordWarnings &warnings) const
{
    for (const PartInputs &part : moreParts) {
        warnings.startFile(part.wordFilePath, 2);
        for (std::size_t i = 0; i < part.rows.size(); ++i) {
            const WordRow &row = part.rows[i];
            if (row.isTyped(WordRow::Start) || row.isTyped(WordRow::End))
                continue;
            const std::int32_t line = part.lines.size() == part.rows.size() ? part.lines[i] : static_cast<std::int32_t>(i + 1);
            warnings.word(line, row.start, row.end);
        }
    }
}

// The joined text with a mark of each part's start before the part's lines.
QStringList GlueJob::markedText() const
{
    QStringList lines;
    const std::size_t n = 2 + moreParts.size();
    for (std::size_t k = 0; k < n; ++k) {
        lines.append(TranscriptBuilder::partMark(static_cast<int>(k + 1), partOffset(k)));
        lines.append(k < 2 ? halfTexts[k] : moreParts[k - 2].text);
    }
    return lines;
}

// --- Save ---------------------------------------------------------------------------------

QStringList GlueJob::partMapLines() const
{
    QStringList lines{u"part\twords\ttext\trecording\tfirst_frame\tstart_ms\tend_ms\tgap_ms"_s};
    for (int k = 0; k < partCount(); ++k) {
        const PartRow row = partRow(k);
        // The gap after the last part is not in the recording.
        const std::int64_t gap = k + 1 < partCount() ? row.gapMs : 0;
        lines.append(QStringList{QString::number(row.number), row.wordFilePath, row.textPath, row.recordingPath,
                                 QString::number(row.firstFrame), QString::number(row.startMs),
                                 QString::number(row.endMs), QString::number(gap)}
                         .join(u'\t'));
    }
    return lines;
}
