#include "job/gluejob.h"

#include "base/error.h"
#include "base/paths.h"
#include "job/wordrowfill.h"

#include <algorithm>
#include <utility>

using namespace Qt::Literals::StringLiterals;

GlueJob::GlueJob(Person &person) : person(person)
{
    // Numbers are always written with "." and read with "." (base/numbers.h),
    // whatever the locale, so there is no process-wide format to set here.
    selectTab(Tab::WordTable1);
    for (int i = 0; i < statusLineCount; ++i)
        setStatus(static_cast<StatusLine>(i), QString());
}

// --- Views, status lines, log ---------------------------------------------------

std::span<const WordRow> GlueJob::wordRows(WordTable table) const
{
    if (table == WordTable::First)
        return wordTable1;
    if (glued)
        return std::span<const WordRow>(wordTable1).subspan(half1Rows);
    return wordTable2;
}

std::vector<WordRow> &GlueJob::wordTable(WordTable table)
{
    return table == WordTable::First ? wordTable1 : wordTable2;
}

std::vector<Word> &GlueJob::partWords(int part)
{
    return part == 1 ? part1Words : part2Words;
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

// Row joinedRow of the joined list, just edited, goes back to half 2's row
// it shows: its number and times shifted back.
void GlueJob::routeJoinedRowBack(std::size_t joinedRow)
{
    const std::size_t i = joinedRow - half1Rows;
    wordTable2[i] = shiftedRow(wordTable1[joinedRow], -static_cast<std::int64_t>(half1Rows),
                               -timeOffset);
}

void GlueJob::setWordCell(WordTable table, int row, WordRow::Column column, const QString &text)
{
    if (row < 0 || static_cast<std::size_t>(row) >= wordRows(table).size() || column < 0
        || column >= WordRow::columnCount)
        return;
    if (!glued) {
        wordTable(table)[static_cast<std::size_t>(row)].setCell(column, text);
        person.wordRowsChanged(table, row, row);
        return;
    }
    // Both tables show the joined list's rows: the edit is made there, in
    // the form the person saw, and goes back to its half.
    const std::size_t joinedRow =
        static_cast<std::size_t>(row) + (table == WordTable::Second ? half1Rows : 0);
    wordTable1[joinedRow].setCell(column, text);
    person.wordRowsChanged(WordTable::First, static_cast<int>(joinedRow), static_cast<int>(joinedRow));
    if (joinedRow >= half1Rows) {
        routeJoinedRowBack(joinedRow);
        const int second = static_cast<int>(joinedRow - half1Rows);
        person.wordRowsChanged(WordTable::Second, second, second);
    }
    noteEdit();
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
    if (!glued) {
        wordTable(table) = std::move(rows);
        person.wordRowsReplaced(table);
        return;
    }
    if (table == WordTable::First) {
        // A new joined list: the rows beyond half 1 are half 2's, shifted back.
        wordTable1 = std::move(rows);
        half1Rows = std::min(half1Rows, wordTable1.size());
        wordTable2.resize(wordTable1.size() - half1Rows);
        for (std::size_t r = half1Rows; r < wordTable1.size(); ++r)
            routeJoinedRowBack(r);
    } else {
        // A new half 2: the joined list shows it shifted.
        wordTable2 = std::move(rows);
        wordTable1.resize(half1Rows + wordTable2.size());
        shiftWordRows(std::span(wordTable1).subspan(half1Rows), wordTable2,
                      static_cast<std::int64_t>(half1Rows), timeOffset);
    }
    person.wordRowsReplaced(WordTable::First);
    person.wordRowsReplaced(WordTable::Second);
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
    if (view == TextView::Text1 && glued) {
        splitJoinedText(lines);
        noteEdit();
        return;
    }
    textRef(view) = lines;
    if (view == TextView::Text1 || view == TextView::Text2) {
        halfTexts[view == TextView::Text1 ? 0 : 1] = lines;
        if (glued) {
            showJoinedText();
            noteEdit();
        }
    }
}

// The joined text is edited as a whole: the lines before the first changed
// line and after the last stay where they were; the changed lines go to the
// half where the change starts, up to the end of half 1's lines.
void GlueJob::splitJoinedText(const QStringList &lines)
{
    const QStringList &old = textRef(TextView::Text1);
    const qsizetype oldCount = old.size(), newCount = lines.size();
    const qsizetype count1 = halfTexts[0].size();
    qsizetype prefix = 0;
    while (prefix < oldCount && prefix < newCount && old[prefix] == lines[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < oldCount - prefix && suffix < newCount - prefix
           && old[oldCount - 1 - suffix] == lines[newCount - 1 - suffix])
        ++suffix;
    qsizetype newCount1;
    if (oldCount - suffix <= count1 && prefix < count1)
        newCount1 = count1 + (newCount - oldCount); // the change lies in half 1
    else if (prefix >= count1)
        newCount1 = count1; // in half 2
    else
        newCount1 = std::clamp(count1, prefix, newCount - suffix); // across both
    // So lines inserted right at the border belong to half 2.
    halfTexts[0] = lines.mid(0, newCount1);
    halfTexts[1] = lines.mid(newCount1);
    textRef(TextView::Text1) = lines;
    textRef(TextView::Text2) = halfTexts[1];
    reportText(TextView::Text2);
}

void GlueJob::showJoinedText()
{
    QStringList joined = halfTexts[0];
    joined.append(halfTexts[1]);
    textRef(TextView::Text1) = std::move(joined);
    reportText(TextView::Text1);
}

QStringList &GlueJob::textRef(TextView view)
{
    return texts[static_cast<std::size_t>(view)];
}

void GlueJob::reportText(TextView view)
{
    person.textChanged(view);
}

const QString &GlueJob::status(StatusLine line) const
{
    return statusLines[static_cast<std::size_t>(line)];
}

void GlueJob::setStatus(StatusLine line, const QString &text)
{
    statusLines[static_cast<std::size_t>(line)] = text;
    person.statusSet(line, text);
}

void GlueJob::selectTab(Tab tab)
{
    currentTab = tab;
    person.tabSelected(tab);
}

void GlueJob::log(const QString &line)
{
    if (quiet)
        return;
    textRef(TextView::Log).append(line);
    person.lineLogged(line);
}

// An output may not be one of the six opened inputs: the same file, however
// its path is spelled.
void GlueJob::checkNotAnInput(const QString &path, const QString &message) const
{
    for (const QString *input : {&wordFilePath1, &wordFilePath2, &textPath1, &textPath2,
                                 &recordingPath1, &recordingPath2})
        if (isSameFile(path, *input))
            throw Error(message.arg(path));
}

// --- Settings ------------------------------------------------------------------------

void GlueJob::settingsChanged()
{
    if (!glued)
        return;
    noteEdit();
    rebuildDerived();
}

// --- Exit ----------------------------------------------------------------------------

void GlueJob::exit()
{
    if (unsaved) {
        switch (person.chooseForUnsavedWork()) {
        case UnsavedChoice::Cancel:
            return;
        case UnsavedChoice::Save:
            save(); // a failure throws: the window stays
            if (unsaved)
                return; // the save dialog was cancelled
            break;
        case UnsavedChoice::Discard:
            break;
        }
    }
    // The word lists, the held word files and the cues go; the tables stay
    // on view until the window has closed.
    part1Words = {};
    part2Words = {};
    heldWordFiles = {};
    cues = CueList();
    srtLines = QStringList();
    person.closeRequested();
}

std::vector<std::int64_t> GlueJob::partStartsMs() const
{
    if (!glued)
        return {};
    return {0, timeOffset};
}
