#include "job/gluejob.h"

#include "base/error.h"
#include "base/paths.h"

#include <algorithm>
#include <utility>

using namespace Qt::Literals::StringLiterals;

// Numbers are always written with "." and read with "." (base/numbers.h),
// whatever the locale, so there is no process-wide format to set here.
GlueJob::GlueJob(Person &person) : person(person), parts(2) {}

// --- Views, status lines, log ---------------------------------------------------

std::span<const WordRow> GlueJob::wordRows(WordTable table) const
{
    if (table == WordTable::Main)
        return joined.isJoined() ? std::span<const WordRow>(joined.rows()) : std::span<const WordRow>(parts[0].rows);
    return partWordRows(1);
}

void GlueJob::setUnsaved(bool value)
{
    if (unsaved == value)
        return;
    unsaved = value;
    person.unsavedWorkChanged(value);
}

void GlueJob::noteEdit()
{
    derivedStale = true;
    setUnsaved(true);
}

// The tables that show part index's rows hear that they were replaced.
void GlueJob::reportPartRows(int index)
{
    if (index == 0)
        person.wordRowsReplaced(WordTable::Main);
    if (index == 1)
        person.wordRowsReplaced(WordTable::PartTwo);
}

void GlueJob::setPhraseCell(int row, PhraseRow::Column column, const QString &text)
{
    if (row < 0 || static_cast<std::size_t>(row) >= phrases.size() || column < 0
        || column >= PhraseRow::columnCount)
        return;
    phrases[static_cast<std::size_t>(row)].setCell(column, text);
    person.phraseRowsChanged(row, row);
}

void GlueJob::setWordRows(WordTable table, std::vector<WordRow> rows)
{
    if (!isGlued()) {
        parts[table == WordTable::Main ? 0 : 1].rows = std::move(rows);
        person.wordRowsReplaced(table);
        setUnsaved(true);
        return;
    }
    if (table == WordTable::Main) {
        joined.replace(std::move(rows));
    } else {
        // A new part 2: the joined list shows it shifted.
        joined.release(parts);
        parts[1].rows = std::move(rows);
        const std::vector<std::int64_t> starts = partStartsMs();
        joined.join(parts, starts);
    }
    person.wordRowsReplaced(WordTable::Main);
    person.wordRowsReplaced(WordTable::PartTwo);
    noteEdit();
}

void GlueJob::setPhraseRows(std::vector<PhraseRow> rows)
{
    phrases = std::move(rows);
    person.phraseRowsReplaced();
}

const QStringList &GlueJob::text(TextView view) const
{
    return texts[static_cast<std::size_t>(view)];
}

void GlueJob::setText(TextView view, const QStringList &lines)
{
    if (view == TextView::Text1 && isGlued()) {
        splitJoinedText(lines);
        noteEdit();
        return;
    }
    textRef(view) = lines;
    if (view == TextView::Text1 || view == TextView::Text2) {
        QStringList &partText = parts[view == TextView::Text1 ? 0 : 1].text;
        if (partText != lines)
            setUnsaved(true);
        partText = lines;
        if (isGlued()) {
            showJoinedText();
            noteEdit();
        }
    }
}

// The joined text is edited as a whole: the lines before the first changed
// line and after the last stay where they were; the changed lines go to the
// part where the change starts, up to the end of that part's lines.
void GlueJob::splitJoinedText(const QStringList &lines)
{
    const QStringList &old = textRef(TextView::Text1);
    const qsizetype oldCount = old.size(), newCount = lines.size();
    qsizetype prefix = 0;
    while (prefix < oldCount && prefix < newCount && old[prefix] == lines[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < oldCount - prefix && suffix < newCount - prefix
           && old[oldCount - 1 - suffix] == lines[newCount - 1 - suffix])
        ++suffix;
    // Each border between two parts' lines moves with the change.
    qsizetype border = 0, newBorder = 0;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const qsizetype newStart = newBorder;
        if (k + 1 == parts.size()) {
            newBorder = newCount;
        } else {
            border += parts[k].text.size();
            if (oldCount - suffix <= border && prefix < border)
                newBorder = border + (newCount - oldCount); // the change lies before the border
            else if (prefix >= border)
                newBorder = border; // after it
            else
                newBorder = std::clamp(border, prefix, newCount - suffix); // across it
        }
        // So lines inserted right at a border belong to the later part.
        parts[k].text = lines.mid(newStart, newBorder - newStart);
    }
    textRef(TextView::Text1) = lines;
    textRef(TextView::Text2) = parts[1].text;
    reportText(TextView::Text2);
}

void GlueJob::showJoinedText()
{
    QStringList all;
    for (const Part &part : parts)
        all.append(part.text);
    textRef(TextView::Text1) = std::move(all);
    reportText(TextView::Text1);
}

// The views that show part index's text show it again.
void GlueJob::showPartText(int index)
{
    if (index > 1)
        return;
    const TextView view = index == 0 ? TextView::Text1 : TextView::Text2;
    textRef(view) = parts[static_cast<std::size_t>(index)].text;
    reportText(view);
}

QStringList &GlueJob::textRef(TextView view)
{
    return texts[static_cast<std::size_t>(view)];
}

void GlueJob::reportText(TextView view)
{
    person.textChanged(view);
}

void GlueJob::log(const QString &line)
{
    if (quiet)
        return;
    textRef(TextView::Log).append(line);
    person.lineLogged(line);
}

// An output may not be one of the opened inputs: the same file, however its
// path is spelled.
void GlueJob::checkNotAnInput(const QString &path, const QString &message) const
{
    for (const Part &part : parts)
        for (const QString *input : {&part.files.wordFile, &part.files.text, &part.files.recording})
            if (isSameFile(path, *input))
                throw Error(message.arg(path));
}

// --- Settings ------------------------------------------------------------------------

void GlueJob::settingsChanged()
{
    if (!isGlued())
        return;
    noteEdit();
    rebuildDerived();
}
