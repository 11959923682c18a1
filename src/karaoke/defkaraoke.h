#pragma once

#include <QString>
#include <QStringList>

// The fixed text of the karaoke page: the head (document type, title, the
// script that makes the word spans follow the player, the styles) and the
// tail (the audio player, the information table, the end of the document).
// Like the other def units it keeps its state for the life of the program:
// three settings and the two lists its builders fill.
namespace defKaraoke {

// Background colours of the "h1" and "h2" headings, inserted directly after
// "background-color:", so each carries its own leading blank (" lightgray").
extern QString kleurH1;
extern QString kleurH2;
// The kind of audio the player gets: "mp4", "mp3", anything else is WAV.
extern QString audioSoort;

// The CDN host the page loads jQuery 1.11.2 from.
inline constexpr const char *jQueryHost = "ajax.googleapis.com";

// Clears and fills the head list, 77 lines from "<!doctype html>" to
// "  </head>", with the page title HTML-escaped, and returns it. Every call
// returns the same list, so copy it before calling again.
const QStringList &maakKaraokeKop(const QString &titel);

// Clears and fills the tail list, 26 lines from "  <br />" to "</html>", for
// the audio file at audioPad (only its file name is used: the page plays it
// from its own folder), and returns it. Same list on every call.
const QStringList &maakKaraokeStaart(const QString &audioPad);

// HTML-escapes a text for an element or a quoted attribute: "&", "<", ">"
// and '"', nothing else.
QString htmlVeilig(const QString &tekst);

// Percent-encodes what a relative URL cannot hold as it is: blank, "#", "%",
// "?" and every non-ASCII character (as its UTF-8 bytes), in upper-case hex.
QString urlVeilig(const QString &naam);

} // namespace defKaraoke
