#pragma once

#include "formats/karaokestyle.h"
#include "formats/wordrow.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <span>
#include <vector>

class AtomicFile;

// The standalone transcript page of a glued recording: one HTML file with
// its script and style inline, so it works from a folder (file://) and from
// any web server without a network. Every shown word is a span with its
// start in seconds ("data-t") and its confidence with two decimals
// ("data-c"); paragraphs end at sentence ends as on the classic page and
// where the speaker changes, and each carries its speaker ("data-s"). A
// heading names the speaker where the speaker changes and the part where a
// part starts. After the transcript, a JSON block ("timing") gives the
// script the words' starts and the words per paragraph, so it indexes the
// words without reading the document; the paragraphs come in chunks that
// the browser lays out only near the view. The script finds the current word by
// binary search over the starts and touches only the words whose state
// changes.
class StandalonePage
{
public:
    // Words whose confidence is below this are marked; 0 marks none.
    double lowConfidence = 0.5;
    // The rows at which parts 2, 3, ... start (part 1 starts at row 0), in
    // increasing order. Empty: the page has no part headings.
    std::vector<std::size_t> partStarts;
    // The kind of audio file the player gets, as on the classic page.
    KaraokeStyle style;
    // Paragraphs per chunk of the transcript ("div.chunk"), the unit the
    // browser skips while it is far from the view: a lock per paragraph made
    // reading a page of 300,000 words twice as slow as a lock per hundred.
    int paragraphsPerChunk = 100;

    // The page's lines, for a caller that wants them at once.
    QStringList lines(std::span<const WordRow> rows, const QString &title, const QString &audioPath) const;

    // Writes the same lines to out as writeTextFile would (UTF-8 byte-order
    // mark, CR LF after each line), without holding the page. Does not
    // commit out.
    void write(AtomicFile &out, std::span<const WordRow> rows, const QString &title,
               const QString &audioPath) const;

private:
    template <typename Put>
    void build(std::span<const WordRow> rows, const QString &title, const QString &audioPath, Put &&put) const;
};
