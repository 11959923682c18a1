#pragma once

#include <QStringList>

class QPlainTextEdit;

// The lines of a text view as the job holds them: one per block. The blocks'
// own text is taken, since toPlainText() would turn no-break spaces into blanks.
QStringList linesOf(const QPlainTextEdit *view);
