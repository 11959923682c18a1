#pragma once

#include "formats/word.h"
#include "formats/wordfilekind.h"

#include <QByteArray>
#include <QChar>
#include <QStringList>

#include <cstdint>
#include <vector>

// A CTM or SPK word file: one aligned word per line, fields separated by
// separator: file name, channel, start and end in seconds, the word, the
// confidence and, in an SPK file, the speaker. A line with fewer than two
// separators is read from its start (no file name and channel). A last word
// "SIL" is dropped.
//
// In the NIST layout (WordFileLayout::Nist) field 4 is the duration (end =
// start + duration), the confidence may be left out (read as 1.00), fields
// after it are ignored, any run of blanks or tabs separates fields whatever
// the separator, and lines starting with ";;" and empty lines are skipped:
// they give no word. Alternations, as scoring tools write them (a line with
// the word <ALT_BEGIN>, alternatives apart by <ALT> lines, an <ALT_END>
// line; the marker lines' times may be "*"), are read as their first
// alternative, its empty words ("@") left out.
//
// Throws "'%s' is not a valid floating point value" for the first line (in
// file order) whose time or confidence is not a number; a line that holds no
// word fails this way too. Given a file name, the message starts with
// "\"FILE\", line N: ", and when the line holds no separator but would be
// read with the other one (tab or blank) it ends with the separator to
// choose on the Settings tab and its option; a NIST line with fewer than
// five fields fails with "a NIST CTM line needs at least 5 fields ...". When
// a line up to the failing one holds a NUL or another control character no
// text holds, the file is no text: "\"FILE\" is not a word file: line N is
// not text", N that line. An alternation that is not closed, or a marker
// out of place, fails naming its line.

// The words of a file's lines, each line trimmed by the caller. Long files
// are parsed by two threads.
std::vector<Word> parseWordLines(const QStringList &trimmedLines, QChar separator,
                                 WordFileLayout layout = WordFileLayout::Aligner);

// The words of a file's bytes, read as readTextFile reads a file (byte-order
// mark, encodings, line ends) and each line trimmed: the same words as
// parseWordLines on those lines, without holding the lines.
std::vector<Word> parseWordFile(const QByteArray &fileBytes, QChar separator,
                                WordFileLayout layout = WordFileLayout::Aligner, const QString &fileName = QString());

// The same into words, for a reader that keeps its words from one read to
// the next: words is resized to the number of lines (the words it held below
// that stay) and filled line by line. On an error it keeps that size and
// holds the words parsed before the failing line (of each half, for a long
// file) and, after it, what it held before; the last word is then not
// checked for "SIL".
// In the NIST layout the skipped lines are left out after the parse.
void parseWordLines(const QStringList &trimmedLines, QChar separator, std::vector<Word> &words,
                    WordFileLayout layout = WordFileLayout::Aligner, const QString &fileName = QString());
void parseWordFile(const QByteArray &fileBytes, QChar separator, std::vector<Word> &words,
                   WordFileLayout layout = WordFileLayout::Aligner, const QString &fileName = QString());

// The extensions of the word files Naadwerk reads, in lower case: drops and
// the open dialog place files by them; reading goes by the content.
const QStringList &wordFileExtensions();
// True when the file name ends in ".EXT" of one of them, in any case.
bool isWordFileName(const QString &name);

// How the word files to open are read, as the Settings tab says.
struct WordFileFormat
{
    QChar separator = u'\t';
    WordFileLayout layout = WordFileLayout::Aligner;
    QByteArray encoding; // Qt's converter name; empty: found from the bytes (see TextBytes)
    WordFileKind kind = WordFileKind::Auto; // what the file is; Auto: found from its content
    QString tier; // the tier of a TextGrid or EAF file to read; empty: the word tiers
};

// A word file as a part reads it: its words and what the read found besides them.
struct WordFileRead
{
    std::vector<Word> words;
    QString encoding;              // what the bytes were read in when it is not UTF-8
    int alternations = 0;          // NIST alternations, each read as its first alternative
    std::int32_t firstAlternation = 0; // the line of the first
    int untimed = 0;               // words that got their times from their neighbours or their stretch
    QString firstUntimed;          // the first of them
    QStringList transcript;        // the text the file holds, in Naadwerk's conventions; empty for none
};

// The words of a file's bytes, in format: CTM/SPK lines as parseWordFile
// reads them, or the JSON, XML, TextGrid or WebVTT of an aligner or
// recogniser (see wordReaders), found from the content unless format names
// it; a Naadwerk JSON file (looksLikeNaadwerkJson) as parseNaadwerkJson
// reads it. A file without words (empty, or only blank lines, comments or a
// closing "SIL") is refused: "\"FILE\": no words found"; a JSON or XML file
// no reader takes: "\"FILE\": not a word file Naadwerk knows (...)"; what a
// reader refuses: "\"FILE\": " and its reason.
WordFileRead loadWordFile(const QByteArray &fileBytes, const WordFileFormat &format, const QString &fileName);
