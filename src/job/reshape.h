#pragma once

#include <QString>

#include <cstdint>

// How reshapeSubtitles reshapes a subtitle file.
struct ReshapeOptions
{
    bool webVtt = false;         // write WebVTT instead of SRT
    bool widen = false;          // show every cue longer:
    std::int64_t msBefore = 100; // ... starting it this much earlier
    std::int64_t msAfter = 200;  // ... and ending it this much later
};

// Reads the subtitle file in (a regular file or a pipe such as /dev/stdin;
// SRT, or WebVTT with its own tags), shapes its cues (clean, split,
// line-break), sorts them by start time (stable, as players do), leaves out
// the cues that are empty after the clean-up,
// widens them on request and writes them as SRT or WebVTT to out. Throws
// Error when in cannot be read, holds a bad time or line (named with the
// file and line), holds no cue ("\"IN\": no subtitles found"), or out
// cannot be written.
void reshapeSubtitles(const QString &in, const QString &out, const ReshapeOptions &options);
