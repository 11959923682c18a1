#include "job/wordedits.h"

#include "base/error.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace Qt::Literals::StringLiterals;

void confirmWord(WordRow &row)
{
    row.confidence = 1.0f;
    if (row.isTyped(WordRow::Confidence)) {
        auto typed = std::make_shared<WordRow::TypedCells>(*row.typed);
        (*typed)[WordRow::Confidence] = QString();
        const bool anyLeft = std::any_of(typed->begin(), typed->end(), [](const QString &t) { return !t.isNull(); });
        row.typed = anyLeft ? std::shared_ptr<const WordRow::TypedCells>(std::move(typed)) : nullptr;
    }
}

WordRow wordBetween(const WordRow *before, const WordRow *after, const QString &speaker)
{
    WordRow row;
    row.speaker = speaker;
    row.confidence = 1.0f;
    if (before && after) {
        row.start = before->end;
        row.end = std::max(row.start, after->start);
    } else {
        row.start = row.end = before ? before->end : after->start;
    }
    return row;
}

WordRow mergedWords(const WordRow &first, const WordRow &second)
{
    WordRow row = first;
    row.text = first.text.isEmpty() ? second.text
               : second.text.isEmpty() ? first.text
                                       : first.text + u' ' + second.text;
    row.end = second.end;
    // A typed end cell goes with the end it stands for.
    if (row.isTyped(WordRow::End) || second.isTyped(WordRow::End)) {
        auto typed = std::make_shared<WordRow::TypedCells>(row.typed ? *row.typed : WordRow::TypedCells{});
        (*typed)[WordRow::End] = second.isTyped(WordRow::End) ? (*second.typed)[WordRow::End] : QString();
        row.typed = std::move(typed);
    }
    confirmWord(row);
    return row;
}

std::vector<WordRow> splitWord(const WordRow &row)
{
    const QStringList pieces = row.text.split(u' ', Qt::SkipEmptyParts);
    if (pieces.size() < 2)
        throw Error(u"The word \"%1\" has no blank to split it at."_s.arg(row.text));
    qsizetype characters = 0;
    for (const QString &piece : pieces)
        characters += piece.size();
    const double length = static_cast<double>(row.end) - static_cast<double>(row.start);
    std::vector<WordRow> rows;
    qsizetype done = 0;
    std::int64_t start = row.start;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        WordRow piece;
        piece.number = row.number + i;
        piece.confidence = row.confidence;
        piece.speaker = row.speaker;
        piece.text = pieces[i];
        done += pieces[i].size();
        piece.start = start;
        piece.end = i + 1 == pieces.size()
                        ? row.end
                        : row.start + static_cast<std::int64_t>(std::llround(length * static_cast<double>(done)
                                                                              / static_cast<double>(characters)));
        start = piece.end;
        rows.push_back(std::move(piece));
    }
    // A typed start stays with the first piece, a typed end with the last.
    if (row.isTyped(WordRow::Start) || row.isTyped(WordRow::Number)) {
        auto typed = std::make_shared<WordRow::TypedCells>();
        (*typed)[WordRow::Start] = (*row.typed)[WordRow::Start];
        (*typed)[WordRow::Number] = (*row.typed)[WordRow::Number];
        rows.front().typed = std::move(typed);
    }
    if (row.isTyped(WordRow::End)) {
        auto typed = std::make_shared<WordRow::TypedCells>();
        (*typed)[WordRow::End] = (*row.typed)[WordRow::End];
        rows.back().typed = std::move(typed);
    }
    return rows;
}
