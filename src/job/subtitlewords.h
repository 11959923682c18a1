#pragma once

#include "formats/wordrow.h"
#include "job/gluesettings.h"
#include "job/phraserow.h"

#include <QStringView>

#include <cstdint>
#include <span>
#include <vector>

// A word the subtitles show, with its own time from the word rows.
struct TimedWord
{
    QStringView text;        // a view into its row's text: the rows outlive the words
    int length = 0;          // characters shown (tags do not count)
    std::int64_t start = 0;  // ms
    std::int64_t end = 0;    // ms
    bool endsPhrase = false; // the last shown word of its phrase
    bool newSpeaker = false; // its speaker differs from the word before
};

// The words of the phrases in order, as their texts show them: words left
// out by the settings (holding "*", the token "SIL") and bracketed remarks
// ("[laughs]") are not shown. Times are the rows' own; a typed time cell is
// read as a decimal number, rounded half to even, and one that is no number
// throws Error, as the SRT step does for a phrase's cell.
std::vector<TimedWord> subtitleWords(std::span<const WordRow> rows, const std::vector<PhraseRow> &phrases,
                                     const GlueSettings &settings);
