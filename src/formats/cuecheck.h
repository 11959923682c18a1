#pragma once

#include "formats/cue.h"
#include "formats/cuemarkup.h"
#include "formats/subtitleprofile.h"

#include <QChar>
#include <QString>

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// One way a cue breaks a subtitle profile's rule.
struct CueProblem
{
    enum Kind { LineLength, Lines, CueLength, ReadingSpeed, TooShort, TooLong, Gap };
    static constexpr int kindCount = 7;

    std::size_t cue = 0;     // its position, 1 for the first
    std::int64_t start = 0;  // ms
    Kind kind = LineLength;
    double value = 0;        // characters, lines, characters per second or ms
    double limit = 0;

    // As the check's rows name it: "line-length", "reading-speed", "gap" ...
    static QString kindWord(Kind kind);
};

// The problems of cues in their order, and how many cues there were.
struct CueCheck
{
    std::vector<CueProblem> problems;
    std::size_t cueCount = 0;

    std::array<std::size_t, CueProblem::kindCount> countPerKind() const;
};

// Checks every cue against the profile's limits, at a frame rate for a gap
// given in frames. A cue's lines are its text cut at lineBreak; a character
// counts when a viewer sees it (blanks count, tags and line breaks do not).
// The gap of a cue is to the start of the cue after it; an overlap is a
// negative gap. Never fails.
CueCheck checkCues(std::span<const Cue> cues, const SubtitleProfile &profile, double framesPerSecond,
                   CueMarkup markup, QChar lineBreak);

// The characters of a cue a viewer reads: its shown characters without the
// line breaks.
qsizetype readCharacters(QStringView text, CueMarkup markup, QChar lineBreak);
