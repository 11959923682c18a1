#pragma once

#include <QString>
#include <QStringView>

// text as XML character data or an attribute value: "&", "<", ">", the
// quotes as references, and the control characters XML 1.0 cannot hold
// (all below U+0020 but tab, LF and CR) left out.
QString xmlEscaped(QStringView text);
