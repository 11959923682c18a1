#pragma once

#include "formats/wordrow.h"
#include "job/gluesettings.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The review list: the spots of an aligned interview a corrector should
// look at, found by pairing each part's word rows with the words of its
// transcript and by the rows' times and confidences. A pure step over rows,
// texts and settings: the job makes it, the window and naadwerk-cli show it.

// The kinds of doubtful spot, in the order the README explains them.
enum class ReviewKind {
    Unknown,         // an unknown-word token (<unk>), with the transcript's word there
    Filled,          // an unknown word filled from the transcript
    Skipped,         // transcript words without word rows
    Extra,           // word rows the transcript does not have there
    Stacked,         // three or more words starting at one time
    ZeroLength,      // words that end where they start
    LongWord,        // a word longer than the limit
    LongGap,         // a gap inside a speaker's turn longer than the limit
    LowConfidence,   // two or more words in a row below the confidence
    Backwards,       // a word ending before it starts, or starting before the one before it
    BeyondRecording, // words ending after the part's recording
};
constexpr int reviewKindCount = 11;

// The kind's word, as naadwerk-cli writes it and the window shows it.
QString reviewKindWord(ReviewKind kind);

struct ReviewRow
{
    enum Column { Part, Time, Row, Kind, Words, Transcript };
    static constexpr int columnCount = 6;

    int part = 1;            // counted from 1
    std::int64_t timeMs = 0; // in the times the word table shows
    std::size_t row = 0;     // the word table's row, from 0
    ReviewKind kind = ReviewKind::Unknown;
    QString words;           // what the word rows say
    QString transcript;      // what the transcript says there

    // The column's name ("part", "time", ...), as naadwerk-cli's header
    // line and the window's table name it.
    static QString columnName(Column column);
    // The text a column shows: the time as "hh:nn:ss,zzz", the row counted
    // from 1 as the table's "#" column counts it.
    QString cell(Column column) const;
};

// An unknown word the transcript fills without doubt: the word table's row
// and the word as the transcript writes it.
struct UnknownFill
{
    std::size_t row = 0;
    QString word;
};

// A row of a part that was filled from the transcript: the token it held
// and the word it got. It stays marked while it holds that word.
struct FilledMark
{
    std::size_t row = 0; // in the part's rows
    QString unknown;
    QString word;
};

struct ReviewList
{
    std::vector<ReviewRow> rows; // sorted by time, then row
    std::vector<UnknownFill> fills;
};

// One part as the review sees it.
struct PartUnderReview
{
    std::span<const WordRow> rows;      // as the word table shows them
    std::size_t firstRow = 0;           // the table's row of rows[0]
    const QStringList *text = nullptr;  // the part's transcript
    std::int64_t startMs = 0;           // where the part starts, in the rows' times
    std::int64_t recordingEndMs = -1;   // where its recording ends, in the rows' times; -1: unknown
    std::span<const FilledMark> filled;
};

// The review of every part, sorted by time.
ReviewList reviewParts(std::span<const PartUnderReview> parts, const GlueSettings &settings);

// --- Shared by the steps of the review ------------------------------------------

// A silence row of the aligner: no word of the transcript.
inline bool isSilenceWord(const QString &text)
{
    return text == u"SIL";
}

// The words of a run joined by blanks: the first twelve, then " …".
class RunWords
{
public:
    void add(QStringView word);
    const QString &text() const { return joined; }
    int count() const { return words; }

private:
    QString joined;
    int words = 0;
};
