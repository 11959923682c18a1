// The corrections a person makes of the words and texts: each is made as
// splices of a part's rows and a change of the parts' texts, kept in a
// Correction that undoCorrection takes back and redoCorrection makes again.
#include "job/gluejob.h"

#include "base/error.h"
#include "job/wordedits.h"
#include "job/wordrowfill.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

// Texts that are the same, null or not: an empty typed cell is not an
// untouched one.
bool sameText(const QString &a, const QString &b)
{
    return a == b && a.isNull() == b.isNull();
}

bool sameRow(const WordRow &a, const WordRow &b)
{
    const auto typedOf = [](const WordRow &row) { return row.typed ? *row.typed : WordRow::TypedCells{}; };
    const WordRow::TypedCells typedA = typedOf(a), typedB = typedOf(b);
    return a.number == b.number && a.start == b.start && a.end == b.end
           && std::memcmp(&a.confidence, &b.confidence, sizeof a.confidence) == 0 && sameText(a.text, b.text)
           && sameText(a.speaker, b.speaker)
           && std::equal(typedA.begin(), typedA.end(), typedB.begin(), sameText);
}

} // namespace

std::pair<std::size_t, std::size_t> GlueJob::partRowOf(WordTable table, int row) const
{
    const auto r = static_cast<std::size_t>(row);
    if (!isGlued())
        return {table == WordTable::Main ? 0 : 1, r};
    if (table == WordTable::PartTwo)
        return {1, r};
    const std::size_t k = joined.partOf(r);
    return {k, r - joined.firstRowOf(k)};
}

std::vector<WordRow> GlueJob::partRowsAsRead(std::size_t k, std::size_t first, std::size_t count) const
{
    if (isGlued())
        return joined.partRowsAsReleased(k, first, count);
    const auto begin = parts[k].rows.begin() + static_cast<std::ptrdiff_t>(first);
    return {begin, begin + static_cast<std::ptrdiff_t>(count)};
}

RowSplice GlueJob::makeSplice(std::size_t k, std::size_t first, std::size_t count, std::vector<WordRow> after) const
{
    RowSplice splice;
    splice.part = k;
    splice.first = first;
    splice.before = partRowsAsRead(k, first, count);
    const std::vector<std::int32_t> &lines = parts[k].lines;
    if (lines.size() == partWordRows(static_cast<int>(k)).size() && !lines.empty()) {
        splice.linesBefore.assign(lines.begin() + static_cast<std::ptrdiff_t>(first),
                                  lines.begin() + static_cast<std::ptrdiff_t>(first + count));
        // A new row names the line of the row it came from.
        const std::size_t source = std::min(first + (count > 0 ? count - 1 : 0), lines.size() - 1);
        for (std::size_t i = 0; i < after.size(); ++i)
            splice.linesAfter.push_back(i < count ? lines[first + i] : lines[source]);
    }
    if (after.size() != count)
        splice.filledBefore = parts[k].filled;
    splice.after = std::move(after);
    return splice;
}

void GlueJob::applySplice(const RowSplice &splice, bool forward)
{
    const std::vector<WordRow> &out = forward ? splice.before : splice.after;
    const std::vector<WordRow> &in = forward ? splice.after : splice.before;
    Part &part = parts[splice.part];
    const std::size_t k = splice.part;
    const auto delta = static_cast<std::ptrdiff_t>(in.size()) - static_cast<std::ptrdiff_t>(out.size());
    if (isGlued()) {
        joined.splicePart(k, splice.first, out.size(), in);
    } else {
        std::vector<WordRow> &rows = part.rows;
        const auto at = rows.begin() + static_cast<std::ptrdiff_t>(splice.first);
        if (delta == 0) {
            std::copy(in.begin(), in.end(), at);
        } else {
            rows.erase(at, at + static_cast<std::ptrdiff_t>(out.size()));
            rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(splice.first), in.begin(), in.end());
            for (auto it = rows.begin() + static_cast<std::ptrdiff_t>(splice.first + in.size()); it != rows.end(); ++it)
                it->number += delta;
        }
    }
    const std::vector<std::int32_t> &linesOut = forward ? splice.linesBefore : splice.linesAfter;
    const std::vector<std::int32_t> &linesIn = forward ? splice.linesAfter : splice.linesBefore;
    if (linesOut.size() == out.size() && linesIn.size() == in.size() && (!linesOut.empty() || !linesIn.empty())) {
        const auto at = part.lines.begin() + static_cast<std::ptrdiff_t>(splice.first);
        part.lines.erase(at, at + static_cast<std::ptrdiff_t>(linesOut.size()));
        part.lines.insert(part.lines.begin() + static_cast<std::ptrdiff_t>(splice.first), linesIn.begin(),
                          linesIn.end());
    }
    if (forward && splice.filledAfter) {
        part.filled = *splice.filledAfter;
    } else if (splice.filledBefore) {
        if (!forward) {
            part.filled = *splice.filledBefore;
        } else {
            std::erase_if(part.filled, [&](const FilledMark &m) {
                return m.row >= splice.first && m.row < splice.first + out.size();
            });
            for (FilledMark &m : part.filled)
                if (m.row >= splice.first + out.size())
                    m.row = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(m.row) + delta);
        }
    }
    reportSplice(k, splice.first, out.size(), delta != 0);
}

// The tables that show the part's rows hear of the splice: rows changed in
// place, or all of them replaced when rows came or went.
void GlueJob::reportSplice(std::size_t k, std::size_t first, std::size_t count, bool moved)
{
    if (moved) {
        if (isGlued() || k == 0)
            person.wordRowsReplaced(WordTable::Main);
        if (isGlued() || k == 1)
            person.wordRowsReplaced(WordTable::PartTwo);
    } else if (count > 0) {
        const auto last = static_cast<int>(first + count - 1);
        if (isGlued()) {
            const auto j = static_cast<int>(joined.firstRowOf(k) + first);
            person.wordRowsChanged(WordTable::Main, j, j + last - static_cast<int>(first));
        } else if (k == 0) {
            person.wordRowsChanged(WordTable::Main, static_cast<int>(first), last);
        }
        if (k == 1)
            person.wordRowsChanged(WordTable::PartTwo, static_cast<int>(first), last);
    }
    if (k >= 2 && !isGlued())
        person.partsChanged();
}

std::vector<QStringList> GlueJob::partTexts() const
{
    std::vector<QStringList> all;
    for (const Part &part : parts)
        all.push_back(part.text);
    return all;
}

void GlueJob::putPartTexts(const std::vector<QStringList> &all)
{
    if (all.size() != parts.size())
        return;
    for (std::size_t k = 0; k < parts.size(); ++k)
        parts[k].text = all[k];
    if (isGlued()) {
        showJoinedText();
        textRef(TextView::Text2) = parts[1].text;
        reportText(TextView::Text2);
    } else {
        showPartText(0);
        showPartText(1);
    }
    person.partsChanged();
}

void GlueJob::redoCorrection(const Correction &correction)
{
    for (const RowSplice &splice : correction.splices)
        applySplice(splice, true);
    if (correction.textsAfter)
        putPartTexts(*correction.textsAfter);
    noteCorrection(correction);
}

// A correction is work to keep, before Glue too; after it, the derived
// views are stale as well.
void GlueJob::noteCorrection(const Correction &correction)
{
    if (correction.isEmpty())
        return;
    if (isGlued())
        noteEdit();
    else
        setUnsaved(true);
}

void GlueJob::undoCorrection(const Correction &correction)
{
    for (auto splice = correction.splices.rbegin(); splice != correction.splices.rend(); ++splice)
        applySplice(*splice, false);
    if (correction.textsBefore)
        putPartTexts(*correction.textsBefore);
    noteCorrection(correction);
}

Correction GlueJob::made(Correction correction)
{
    redoCorrection(correction);
    return correction;
}

void GlueJob::returnToSaved()
{
    setUnsaved(false);
}

// --- The corrections ---------------------------------------------------------------

Correction GlueJob::correctWordCell(WordTable table, int row, WordRow::Column column, const QString &text)
{
    if (row < 0 || static_cast<std::size_t>(row) >= wordRows(table).size() || column < 0
        || column >= WordRow::columnCount)
        return {};
    // The cell is typed in the form the table shows it (after Glue: joined
    // times and numbers); the part keeps it as read.
    const auto [k, r] = partRowOf(table, row);
    WordRow shown = wordRows(table)[static_cast<std::size_t>(row)];
    const QString oldText = shown.text;
    shown.setCell(column, text);
    if (column == WordRow::Text && shown.text != oldText)
        confirmWord(shown);
    WordRow edited = isGlued() ? joined.asReleased(k, shown) : std::move(shown);
    if (sameRow(edited, partRowsAsRead(k, r, 1).front()))
        return {};
    Correction correction;
    correction.splices.push_back(makeSplice(k, r, 1, {std::move(edited)}));
    return made(std::move(correction));
}

Correction GlueJob::correctText(TextView view, const QStringList &lines)
{
    if (view != TextView::Text1 && view != TextView::Text2) {
        setText(view, lines);
        return {};
    }
    std::vector<QStringList> before = partTexts();
    setText(view, lines);
    std::vector<QStringList> after = partTexts();
    if (before == after)
        return {};
    Correction correction;
    correction.textsBefore = std::move(before);
    correction.textsAfter = std::move(after);
    return correction;
}

Correction GlueJob::insertWord(WordTable table, int row, bool after)
{
    if (row < 0 || static_cast<std::size_t>(row) >= wordRows(table).size())
        return {};
    const auto [k, r] = partRowOf(table, row);
    const std::size_t count = partWordRows(static_cast<int>(k)).size();
    const std::size_t at = after ? r + 1 : r;
    const std::optional<WordRow> before = at > 0 ? std::optional(partRowsAsRead(k, at - 1, 1).front()) : std::nullopt;
    const std::optional<WordRow> next = at < count ? std::optional(partRowsAsRead(k, at, 1).front()) : std::nullopt;
    WordRow word = wordBetween(before ? &*before : nullptr, next ? &*next : nullptr,
                               (after ? before : next)->speaker);
    word.number = next ? next->number : before->number + 1;
    Correction correction;
    correction.splices.push_back(makeSplice(k, at, 0, {std::move(word)}));
    return made(std::move(correction));
}

Correction GlueJob::deleteWords(WordTable table, int first, int count)
{
    const auto shown = static_cast<int>(wordRows(table).size());
    first = std::max(first, 0);
    count = std::min(count, shown - first);
    if (count <= 0)
        return {};
    // A stretch across parts is a splice in each.
    // A stretch across parts is a splice in each; the rows after a splice
    // move up to where it began.
    Correction correction;
    for (int left = count; left > 0;) {
        const auto [k, r] = partRowOf(table, first);
        const auto n = std::min(partWordRows(static_cast<int>(k)).size() - r, static_cast<std::size_t>(left));
        correction.splices.push_back(makeSplice(k, r, n, {}));
        applySplice(correction.splices.back(), true);
        left -= static_cast<int>(n);
    }
    if (isGlued())
        noteEdit();
    return correction;
}

Correction GlueJob::mergeWithNext(WordTable table, int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= wordRows(table).size())
        return {};
    const auto [k, r] = partRowOf(table, row);
    if (r + 1 >= partWordRows(static_cast<int>(k)).size())
        throw Error(u"The last word of a part has no next word to merge with."_s);
    const std::vector<WordRow> pair = partRowsAsRead(k, r, 2);
    Correction correction;
    correction.splices.push_back(makeSplice(k, r, 2, {mergedWords(pair[0], pair[1])}));
    return made(std::move(correction));
}

Correction GlueJob::splitWordAtBlanks(WordTable table, int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= wordRows(table).size())
        return {};
    const auto [k, r] = partRowOf(table, row);
    Correction correction;
    correction.splices.push_back(makeSplice(k, r, 1, splitWord(partRowsAsRead(k, r, 1).front())));
    return made(std::move(correction));
}

// Runs of rows that change become one splice each, so a rename of a
// speaker of half the interview keeps a few stretches, not a row each.
template <typename Change>
void GlueJob::spliceRuns(Correction &correction, std::size_t k, const Change &change)
{
    const std::span<const WordRow> rows = partWordRows(static_cast<int>(k));
    std::size_t i = 0;
    while (i < rows.size()) {
        if (!change(rows[i], nullptr)) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < rows.size() && change(rows[end], nullptr))
            ++end;
        std::vector<WordRow> after = partRowsAsRead(k, i, end - i);
        for (WordRow &row : after)
            change(row, &row);
        correction.splices.push_back(makeSplice(k, i, end - i, std::move(after)));
        i = end;
    }
}

Correction GlueJob::renameSpeaker(const QString &from, const QString &to, int part)
{
    if (from == to)
        return {};
    Correction correction;
    const QString name = to; // one string for all its words
    for (std::size_t k = 0; k < parts.size(); ++k)
        if (part < 0 || static_cast<std::size_t>(part) == k)
            spliceRuns(correction, k, [&](const WordRow &row, WordRow *changed) {
                if (row.speaker != from)
                    return false;
                if (changed)
                    changed->speaker = name;
                return true;
            });
    return made(std::move(correction));
}

Correction GlueJob::replaceAll(const TextSearch &search, const QString &with)
{
    Correction correction;
    for (std::size_t k = 0; k < parts.size(); ++k)
        spliceRuns(correction, k, [&](const WordRow &row, WordRow *changed) {
            if (search.indexIn(row.text) < 0)
                return false;
            if (changed) {
                changed->text = search.replacedIn(row.text, with);
                if (changed->text != row.text)
                    confirmWord(*changed);
            }
            return true;
        });
    std::vector<QStringList> before = partTexts(), after = before;
    for (QStringList &text : after)
        for (QString &line : text)
            line = search.replacedIn(line, with);
    if (after != before) {
        correction.textsBefore = std::move(before);
        correction.textsAfter = std::move(after);
    }
    return made(std::move(correction));
}

MatchCounts GlueJob::countMatches(const TextSearch &search) const
{
    MatchCounts counts;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        for (const WordRow &row : partWordRows(static_cast<int>(k)))
            counts.words += search.countIn(row.text);
        for (const QString &line : parts[k].text)
            counts.texts += search.countIn(line);
    }
    for (const PhraseRow &row : phrases)
        counts.phrases += search.countIn(row.text);
    return counts;
}
