// The list of parts: adding, removing and moving parts, and what the Parts
// tab shows of each.

#include "job/gluejob.h"

#include "base/error.h"
#include "base/paths.h"
#include "base/textfile.h"
#include "formats/partlistentry.h"
#include "formats/recording.h"
#include "formats/samples16k.h"
#include "formats/wordfile.h"
#include "job/settingstable.h"

#include <algorithm>
#include <array>
#include <utility>

using namespace Qt::Literals::StringLiterals;

int GlueJob::partCount() const
{
    if (parts.size() > 2)
        return static_cast<int>(parts.size());
    for (int k = static_cast<int>(parts.size()); k > 0; --k)
        if (!parts[static_cast<std::size_t>(k - 1)].files.isEmpty())
            return k;
    return 0;
}

// The views of parts 1 and 2 show what is there now, and the Parts tab too.
void GlueJob::listChanged()
{
    for (int k = 0; k < 2; ++k) {
        showPartText(k);
        reportPartRows(k);
    }
    person.partsChanged();
}

void GlueJob::addPart(const PartFiles &files, std::int64_t gapMs)
{
    // Everything is read before the list changes: a bad file adds nothing.
    Part part;
    part.files = files;
    part.gapMs = std::max<std::int64_t>(gapMs, 0);
    if (!files.wordFile.isEmpty()) {
        const WordFileRead read = readWords(readFileBytes(files.wordFile), files.wordFile);
        part.takeWordFile(read);
        part.takeTextOfWords(read.transcript);
    }
    if (!files.text.isEmpty())
        part.takeText(readTextLines(files.text, chosenTextEncoding(settings)));
    if (!files.recording.isEmpty())
        part.takeRecording(probeRecording(files.recording));

    dropGlue();
    partsListed = true;
    if (!files.wordFile.isEmpty()) {
        // The joined word file is written as the word file read last.
        separatorOut = settings.separator();
        layoutOut = settings.layout;
    }
    const std::size_t count = static_cast<std::size_t>(partCount());
    if (count < parts.size())
        parts[count] = std::move(part);
    else
        parts.push_back(std::move(part));
    listChanged();
}

void GlueJob::addPartList(const QString &path)
{
    const std::vector<PartListEntry> listed = parsePartList(readTextFile(path), folderPart(path), path);
    if (listed.empty())
        throw Error(u"\"%1\" lists no parts."_s.arg(path));
    for (const PartListEntry &part : listed)
        addPart(part.files, part.gapMs);
}

void GlueJob::addPartFiles(const QStringList &paths)
{
    std::array<QStringList, 3> kinds; // word files, texts, recordings
    for (const QString &path : paths) {
        const QString name = fileNamePart(path).toLower();
        if (name.endsWith(u".tsv"))
            addPartList(path);
        else if (isWordFileName(name))
            kinds[0].append(path);
        else if (name.endsWith(u".txt"))
            kinds[1].append(path);
        else
            kinds[2].append(path);
    }
    const qsizetype count = std::max({kinds[0].size(), kinds[1].size(), kinds[2].size()});
    for (qsizetype i = 0; i < count; ++i)
        addPart({kinds[0].value(i), kinds[1].value(i), kinds[2].value(i)});
}

void GlueJob::removePart(int index)
{
    if (index < 0 || index >= partCount())
        return;
    dropGlue();
    parts.erase(parts.begin() + index);
    // The interview keeps two places at least: the six Open items fill them.
    if (parts.size() < 2)
        parts.resize(2);
    // An emptied list leaves the six Open items a classic glue again.
    partsListed = partCount() > 0;
    listChanged();
}

void GlueJob::movePart(int index, int to)
{
    const int count = partCount();
    if (index < 0 || index >= count || to < 0 || to >= count || index == to)
        return;
    dropGlue();
    partsListed = true;
    const auto at = [this](int k) { return parts.begin() + k; };
    if (index < to)
        std::rotate(at(index), at(index + 1), at(to + 1));
    else
        std::rotate(at(to), at(index), at(index + 1));
    listChanged();
}

void GlueJob::setPartGap(int index, std::int64_t gapMs)
{
    if (index < 0 || index >= partCount())
        return;
    dropGlue(); // the joined recording would no longer be the one glued
    partsListed = true;
    parts[static_cast<std::size_t>(index)].gapMs = std::max<std::int64_t>(gapMs, 0);
    person.partsChanged();
}

// --- What the list shows ------------------------------------------------------------------

PartRow GlueJob::partRow(int index) const
{
    PartRow row;
    if (index < 0 || index >= partCount())
        return row;
    const std::size_t k = static_cast<std::size_t>(index);
    const Part &part = parts[k];
    row.number = index + 1;
    row.files = part.files;
    row.frames = part.frames;
    row.rate = part.rate;
    row.gapMs = part.gapMs;
    if (k >= placed.size())
        return row;
    row.firstFrame = placed[k].firstFrame;
    row.startMs = partOffset(k);
    row.endMs = msAt16k(placed[k].firstFrame + placed[k].joinedFrames);
    return row;
}

std::span<const WordRow> GlueJob::partWordRows(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= parts.size())
        return {};
    if (isGlued())
        return joined.partRows(static_cast<std::size_t>(index));
    return parts[static_cast<std::size_t>(index)].rows;
}

const QStringList &GlueJob::partText(int index) const
{
    static const QStringList none;
    if (index < 0 || index >= partCount())
        return none;
    return parts[static_cast<std::size_t>(index)].text;
}

void GlueJob::setPartWordCell(int index, int row, WordRow::Column column, const QString &text)
{
    if (index < 0 || index >= partCount())
        return;
    const std::size_t k = static_cast<std::size_t>(index);
    if (isGlued()) {
        // The joined list holds every part: the edit is made there.
        if (row >= 0 && static_cast<std::size_t>(row) < partWordRows(index).size())
            setWordCell(WordTable::Main, static_cast<int>(joined.firstRowOf(k)) + row, column, text);
    } else if (index < 2) {
        setWordCell(index == 0 ? WordTable::Main : WordTable::PartTwo, row, column, text);
    } else {
        std::vector<WordRow> &rows = parts[k].rows;
        if (row < 0 || static_cast<std::size_t>(row) >= rows.size() || column < 0 || column >= WordRow::columnCount)
            return;
        rows[static_cast<std::size_t>(row)].setCell(column, text);
        setUnsaved(true);
    }
    person.partsChanged();
}

void GlueJob::setPartText(int index, const QStringList &lines)
{
    if (index < 0 || index >= partCount())
        return;
    if (!isGlued() && index < 2) {
        setText(index == 0 ? TextView::Text1 : TextView::Text2, lines);
        return;
    }
    if (parts[static_cast<std::size_t>(index)].text != lines)
        setUnsaved(true);
    parts[static_cast<std::size_t>(index)].text = lines;
    if (index == 1) {
        textRef(TextView::Text2) = lines;
        reportText(TextView::Text2);
    }
    if (isGlued()) {
        showJoinedText();
        noteEdit();
    }
}

// --- Save ---------------------------------------------------------------------------------

QStringList GlueJob::partMapLines() const
{
    QStringList lines{u"part\twords\ttext\trecording\tfirst_frame\tstart_ms\tend_ms\tgap_ms"_s};
    for (int k = 0; k < partCount(); ++k) {
        const PartRow row = partRow(k);
        // The gap after the last part is not in the recording.
        const std::int64_t gap = k + 1 < partCount() ? row.gapMs : 0;
        lines.append(QStringList{QString::number(row.number), row.files.wordFile, row.files.text,
                                 row.files.recording, QString::number(row.firstFrame), QString::number(row.startMs),
                                 QString::number(row.endMs), QString::number(gap)}
                         .join(u'\t'));
    }
    return lines;
}
