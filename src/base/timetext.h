#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

// The time texts: "hh:nn:ss,zzz" of subtitles and transcripts, and the
// seconds "s.mmm" of word files and karaoke pages.

// Milliseconds to "hh:nn:ss,zzz": the time of day of |ms|, so the hours run
// from 00 to 23 and start again after a day.
QString timeText(std::int64_t ms);
// The same twelve characters written to out, for callers that build a longer
// line without a text per time.
void writeTimeText(std::int64_t ms, char16_t *out);

// Milliseconds as a length a person reads at a glance, "h:mm:ss.zzz"
// ("0:00:17.530"); the hours go on past a day, a negative length reads as 0.
QString clockText(std::int64_t ms);
// The length of frames at rate frames a second, in ms rounded to the
// nearest; 0 for a rate of 0.
std::int64_t msOfFrames(std::int64_t frames, std::uint32_t rate);

// "hh:nn:ss,zzz" to milliseconds. The separators are not looked at, so
// "00:00:01.250" reads too; a short millisecond part counts as tenths or
// hundredths ("5" is 500). Throws "'%s' is not a valid integer value" when a
// part is not a whole number.
std::int64_t parseTimeText(QStringView s);

// Appends whole milliseconds as seconds with three decimals: the digits of
// |ms|, at least four, with a point before the last three and a "-" in front
// of a negative one ("0.005", "12.345", "-0.001"); for a 32-bit ms the text
// "%.3f" gives for ms / 1000. Written digit by digit: word files and pages
// write one for every word.
void appendSecondsText(QString &line, std::int64_t ms);
