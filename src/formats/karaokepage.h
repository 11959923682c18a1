#pragma once

#include "formats/karaokestyle.h"

#include <QString>
#include <QStringList>

// The fixed text of the karaoke page: the head (document type, title, the
// script that makes the word spans follow the player, the styles) and the
// tail (the audio player, the information table, the end of the document).

// The CDN host the page loads jQuery 1.11.2 from.
inline constexpr const char *jQueryHost = "ajax.googleapis.com";

// The head: 77 lines from "<!doctype html>" to "  </head>", with the page
// title HTML-escaped and the headings in the style's colours.
QStringList karaokeHead(const QString &title, const KaraokeStyle &style);

// The tail: 26 lines from "  <br />" to "</html>", for the audio file at
// audioPath (only its file name is used: the page plays it from its own
// folder) with the file kind of the style.
QStringList karaokeTail(const QString &audioPath, const KaraokeStyle &style);

// The name of the audio file the page plays: the file name of audioPath
// with the extension of the style's file kind.
QString karaokeAudioName(const QString &audioPath, const KaraokeStyle &style);
// The media type of the style's file kind.
QString karaokeAudioType(const KaraokeStyle &style);

// HTML-escapes a text for an element or a quoted attribute: "&", "<", ">"
// and '"', nothing else.
QString htmlEscaped(const QString &text);

// Percent-encodes what a relative URL cannot hold as it is: blank, "#", "%",
// "?" and every non-ASCII character (as its UTF-8 bytes), in upper-case hex.
QString urlEscaped(const QString &name);
