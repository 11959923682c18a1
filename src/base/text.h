#pragma once

#include <QString>
#include <QStringView>

// Trimming shared by every layer.

// Removes every character up to U+0020 at both ends (blank, tab, line ends,
// other control characters).
QString trimmed(const QString &s);
QStringView trimmedView(QStringView s);
