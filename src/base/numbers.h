#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

// Rounding and the number conversions whose failures the user sees.

// Nearest whole number, a half going to the even one (50.5 -> 50, 51.5 -> 52).
// Throws Error when the value is not finite or does not fit in 64 bits.
std::int64_t roundHalfEven(double x);

// Reads a decimal number: optional blanks, optional sign, digits with an
// optional "." and fraction digits (at least one digit in all), an optional
// exponent, optional blanks. Nothing else: no comma, tab, hex, "inf" or "nan".
// Throws "'%s' is not a valid floating point value" otherwise. The message
// quotes at most 60 characters of the text (then "...") and shows control
// characters other than the tab as U+FFFD.
double parseFloat(QStringView s);

// Reads a signed 32-bit decimal integer: optional leading blanks, an optional
// sign and digits. Throws "'%s' is not a valid integer value" otherwise,
// quoting the text as parseFloat does.
std::int32_t parseInt(QStringView s);

// Seconds as a decimal text to whole milliseconds: x1000, rounded half to even.
std::int64_t secondsToMs(QStringView s);

// A number with exactly the given decimals and "." as separator ("%.2f").
QString withDecimals(double x, int decimals);

// A whole number as decimal digits with a "-" for a negative one, as
// QString::number writes it, without its locale machinery: the word tables
// make several million of these for a long interview.
QString decimalText(std::int64_t number);
