#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

// Text helpers shared by every layer: trimming, rounding and the number
// conversions whose failures the user sees.

// Removes every character up to U+0020 at both ends (blank, tab, line ends,
// other control characters).
QString trimTekst(const QString &s);
QStringView trimView(QStringView s);

// Nearest whole number, a half going to the even one (50.5 -> 50, 51.5 -> 52).
// Throws EFout when the value is not finite or does not fit in 64 bits.
std::int64_t afronden(double x);

// Reads a decimal number: optional blanks, optional sign, digits with an
// optional "." and fraction digits (at least one digit in all), an optional
// exponent, optional blanks. Nothing else: no comma, tab, hex, "inf" or "nan".
// Throws "'%s' is not a valid floating point value" otherwise. The message
// quotes at most 60 characters of the text (then "...") and shows control
// characters other than the tab as U+FFFD.
double strNaarFloat(QStringView s);

// Reads a signed 32-bit decimal integer: optional leading blanks, an optional
// sign and digits. Throws "'%s' is not a valid integer value" otherwise,
// quoting the text as strNaarFloat does.
std::int32_t strNaarInt(QStringView s);

// Seconds as a decimal text to whole milliseconds: x1000, rounded half to even.
std::int64_t secondenNaarMs(QStringView s);

// A number with exactly the given decimals and "." as separator ("%.2f").
QString metDecimalen(double x, int decimalen);
