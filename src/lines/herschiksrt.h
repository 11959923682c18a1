#pragma once

#include <QString>
#include <cstdint>

// How herschikSRT reshapes a subtitle file.
struct THerschikOpties
{
    bool vtt = false;    // write WebVTT instead of SRT
    bool veruim = false; // widen the display times by tV and tN
    std::int64_t tV = 100; // ms earlier
    std::int64_t tN = 200; // ms later
};

// Reads the SRT file in as cues, shapes them (clean, split, line-break),
// widens them on request and saves them as SRT or WebVTT to uit. Throws
// EFout when in cannot be read, holds a bad time, or uit cannot be written.
void herschikSRT(const QString &in, const QString &uit, const THerschikOpties &opties);
