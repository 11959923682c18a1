#pragma once

#include <QString>
#include <cstdint>

// A whole number as decimal digits with a "-" for a negative one, as
// QString::number writes it, without its locale machinery: the word tables
// make several million of these for a long interview.
QString decimaal(std::int64_t getal);
