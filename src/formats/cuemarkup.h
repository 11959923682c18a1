#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// How a cue text marks its styling. Tags are shown as nothing: they do not
// count toward a length and are never cut by a line break or a split.
enum class CueMarkup {
    // SRT: the formatting tags <i> <b> <u> <s> <font ...> and their closers,
    // in any case, and overrides such as "{\an8}". Any other "<word>" (an
    // aligner's "<unk>", "<sil>") is text. "\h" (a hard space), "\N" and "\n"
    // are one character each.
    Srt,
    // WebVTT: every "<...>" is a tag, as WebVTT readers take it: <c.class>,
    // <v Name>, <lang en>, <ruby>, <rt>, <i>, <b>, <u>, timestamps
    // (<00:05:04.199>). An entity ("&amp;") is one character.
    WebVtt,
};

// One piece of a cue text, starting at a given index.
struct CuePiece
{
    enum Kind {
        Character, // shown: one code unit, or an escape or entity of more
        Opener,    // a tag that holds until its closer: "<i>", "<font ...>", "<v Name>"
        Closer,    // "</i>", "</font>", "</v>"
        Mark,      // a tag that opens nothing: "{\an8}", a timestamp, a tag WebVTT does not know
    };
    Kind kind = Character;
    qsizetype length = 1; // in code units
    QStringView name;     // of an opener or a closer: "i", "font", "c", "v"
};

CuePiece cuePieceAt(QStringView text, qsizetype i, CueMarkup markup);

// An SRT cue text as WebVTT text: what SRT shows as characters ("&", and the
// "<" and ">" of an aligner's "<unk>") escaped, so a WebVTT reader shows them
// too, and a hard space "\h" as "&nbsp;"; its tags stay as they are.
QString srtTextAsWebVtt(const QString &text);

// Whether text may hold anything but plain characters; false lets a caller
// take the plain, faster way.
bool mayHoldMarkup(QStringView text, CueMarkup markup);

// The length of a text without its tags, an escape or entity counting one.
qsizetype shownLength(QStringView text, CueMarkup markup = CueMarkup::Srt);

// The characters of a text that are shown, one code unit each (an escape or
// an entity stands as its first code unit, which is never a blank), and for
// each where it lies in the text.
struct ShownText
{
    QString text;
    std::vector<qsizetype> at;  // its first index in the text
    std::vector<qsizetype> end; // the index after it

    ShownText(QStringView s, CueMarkup markup);

    // The index in the text of shown character k; the text's end for k at
    // the end of the shown text.
    qsizetype indexOf(qsizetype k, qsizetype textSize) const;
};
