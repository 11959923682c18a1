#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <span>

// A broadcaster's or publisher's rules for subtitles. A limit of 0 means
// none. Lengths count the characters a viewer sees: blanks count, tags and
// line breaks do not.
struct SubtitleProfile
{
    QString name;            // as the command line and the Settings tab name it
    int charsPerLine = 45;   // the longest line
    int lines = 2;           // the most lines of a cue
    int charsPerCue = 0;     // the longest cue text; 0: lines x charsPerLine
    double charsPerSecond = 0; // the fastest reading speed
    int minDurationMs = 0;   // the shortest time on screen
    int maxDurationMs = 0;   // the longest time on screen
    int gapFrames = 0;       // the shortest gap between cues, in frames ...
    int gapMs = 0;           // ... or in ms, whichever is longer
    // Cues are made as Naadwerk has always made them, byte for byte; the
    // figures above are only checked.
    bool classic = false;

    // The longest text a cue may hold.
    int cueChars() const { return charsPerCue > 0 ? charsPerCue : lines * charsPerLine; }
    // The shortest gap in whole ms at a frame rate: never less than the frames
    // last (2 frames at 23.976 fps are 83.4 ms, so 84).
    std::int64_t minGapMs(double framesPerSecond) const;
};

// The profiles Naadwerk knows, classic first (the start-up value).
std::span<const SubtitleProfile> builtInProfiles();
// The built-in profile of that name; nullptr for none.
const SubtitleProfile *findBuiltInProfile(QStringView name);

// A person's own profile from the lines of a small file, "key = value" per
// line ("#" starts a comment): name, chars-per-line, lines, chars-per-cue,
// chars-per-second, min-duration-ms, max-duration-ms, gap-frames, gap-ms.
// A key left out has no limit (chars-per-line 42 and lines 2 if left out).
// Throws Error naming the file and line for an unknown key, a bad number or
// a missing "=".
SubtitleProfile parseSubtitleProfile(const QStringList &lines, const QString &fileName);
