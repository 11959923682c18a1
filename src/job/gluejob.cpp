#include "job/gluejob.h"

#include <utility>

GlueJob::GlueJob(Person &person) : person(person)
{
    // Numbers are always written with "." and read with "." (base/numbers.h),
    // whatever the locale, so there is no process-wide format to set here.
    selectTab(Tab::WordTable1);
    for (int i = 0; i < statusLineCount; ++i)
        setStatus(static_cast<StatusLine>(i), QString());
}

// --- Views, status lines, log ---------------------------------------------------

const std::vector<WordRow> &GlueJob::wordRows(WordTable table) const
{
    return table == WordTable::First ? wordTable1 : wordTable2;
}

std::vector<WordRow> &GlueJob::wordTable(WordTable table)
{
    return table == WordTable::First ? wordTable1 : wordTable2;
}

std::vector<Word> &GlueJob::partWords(int part)
{
    return part == 1 ? part1Words : part2Words;
}

void GlueJob::setWordCell(WordTable table, int row, WordRow::Column column, const QString &text)
{
    std::vector<WordRow> &rows = wordTable(table);
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size() || column < 0
        || column >= WordRow::columnCount)
        return;
    rows[static_cast<std::size_t>(row)].setCell(column, text);
    person.wordRowsChanged(table, row, row);
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
    wordTable(table) = std::move(rows);
    person.wordRowsReplaced(table);
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
    textRef(view) = lines;
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
    textRef(TextView::Log).append(line);
    person.lineLogged(line);
}

// --- Exit ----------------------------------------------------------------------------

void GlueJob::exit()
{
    // The word lists, the held word files and the cues go; the tables stay
    // on view until the window has closed.
    part1Words = {};
    part2Words = {};
    heldWordFiles = {};
    cues = CueList();
    srtLines = QStringList();
    person.closeRequested();
}
