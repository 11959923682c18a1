#pragma once

#include "job/reviewlist.h"

#include <QByteArray>

// The review list as a file: TSV, a header line of the column names and a
// line per row, fields apart by tabs; or JSON, an array of one object per
// row, its column names as keys (part and row as numbers) and its time in ms.
QByteArray reviewListTsv(const ReviewList &list);
QByteArray reviewListJson(const ReviewList &list);
