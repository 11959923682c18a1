#pragma once

#include <QString>
#include <QStringList>

class TTekstTabel;

// The karaoke page of a glued recording: every word of the word table as a
// clickable span that carries its start time, cut into paragraphs at
// sentence ends, each paragraph headed by its speaker.

// Whole milliseconds as decimal digits to seconds with three decimals, built
// from the characters without reading a number: "1500" -> "1.500",
// "5" -> "0.005", "" -> "0.000", "-1" -> "-0.001". Cannot fail.
QString msNaarSeconden(const QString &ms);

// The body of the page from word table woorden (columns 1 start in ms,
// 3 word, 5 speaker: the heading of a paragraph and the "speaker" attribute
// of each span): from "<body>" to the "   </div>" that closes the
// transcript. Linear in the rows; cannot fail.
QStringList maakKaraokeTranscript(const TTekstTabel &woorden, const QString &titel);

// The whole page: sets the template's colours and audio kind, then head,
// body and tail for the audio file at audioPad.
QStringList maakKaraokePagina(const TTekstTabel &woorden, const QString &titel,
                              const QString &audioPad);
