#pragma once

#include "formats/word.h"
#include "formats/wordfile.h"

#include <QByteArray>
#include <QString>

#include <vector>

// Words as one line each, "text start end confidence speaker", so a test
// compares a whole file's reading with one QCOMPARE.
QString wordListing(const std::vector<Word> &words);

// The read of a word file's bytes as a part reads them, in kind (Auto: found
// from the content), with tier chosen.
WordFileRead readWordBytes(const QByteArray &bytes, WordFileKind kind = WordFileKind::Auto,
                           const QString &tier = QString(), const QString &fileName = QStringLiteral("words"));
