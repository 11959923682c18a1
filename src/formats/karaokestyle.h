#pragma once

#include <QString>

// The settings of the karaoke page template.
struct KaraokeStyle
{
    // Background colours of the "h1" and "h2" headings, inserted directly
    // after "background-color:", so each carries its own leading blank.
    QString heading1Colour = QStringLiteral(" lightgray");
    QString heading2Colour = QStringLiteral(" powderblue");
    // The kind of audio the player gets: "mp4", "mp3", anything else is WAV.
    QString audioKind = QStringLiteral("wav");
    // The language of the interview, the page's "lang" (a BCP 47 tag).
    QString language = QStringLiteral("nl");
};
