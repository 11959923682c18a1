#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

// text as a JSON string, quotes included: the quote, the backslash and the
// control characters escaped, everything else as it is.
QString jsonQuoted(QStringView text);
// A speaker's name as a JSON string, or null where the word file named none.
QString jsonSpeaker(const QString &speaker);
// Whole milliseconds as JSON seconds with three decimals ("1.230", "-0.001").
QString jsonSeconds(std::int64_t ms);
// The shortest decimal that reads back as the same float.
QString jsonFloat(float value);
