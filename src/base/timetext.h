#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

// The time text "hh:nn:ss,zzz" of subtitles and transcripts.

// Milliseconds to "hh:nn:ss,zzz": the time of day of |ms|, so the hours run
// from 00 to 23 and start again after a day.
QString timeText(std::int64_t ms);
// The same twelve characters written to out, for callers that build a longer
// line without a text per time.
void writeTimeText(std::int64_t ms, char16_t *out);

// "hh:nn:ss,zzz" to milliseconds. The separators are not looked at, so
// "00:00:01.250" reads too; a short millisecond part counts as tenths or
// hundredths ("5" is 500). Throws "'%s' is not a valid integer value" when a
// part is not a whole number.
std::int64_t parseTimeText(QStringView s);
