#pragma once

#include "formats/karaokestyle.h"
#include "formats/wordrow.h"

#include <QString>
#include <QStringList>

#include <span>

class AtomicFile;

// The karaoke page of a glued recording: every word of the word table as a
// clickable span that carries its start time, cut into paragraphs at
// sentence ends, each paragraph headed by its speaker.

// Whole milliseconds as decimal digits to seconds with three decimals, built
// from the characters without reading a number: "1500" -> "1.500",
// "5" -> "0.005", "" -> "0.000", "-1" -> "-0.001". Cannot fail.
QString msTextToSeconds(const QString &ms);

// The body of the page from the word rows (the Start cell's text in ms, the
// word, the speaker: the heading of a paragraph and the "speaker" attribute
// of each span): from "<body>" to the "   </div>" that closes the
// transcript. Linear in the rows; cannot fail.
QStringList karaokeBody(std::span<const WordRow> rows, const QString &title);

// The whole page: head, body and tail for the audio file at audioPath.
QStringList karaokePage(std::span<const WordRow> rows, const QString &title, const QString &audioPath,
                        const KaraokeStyle &style = {});

// Writes the lines of karaokePage to out as writeTextFile would (UTF-8
// byte-order mark, CR LF after each line), line by line, without holding the
// page. Does not commit out.
void writeKaraokePage(AtomicFile &out, std::span<const WordRow> rows, const QString &title,
                      const QString &audioPath, const KaraokeStyle &style = {});
