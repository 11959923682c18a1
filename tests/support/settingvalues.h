#pragma once

#include "job/settingstable.h"

#include <QVariant>

// A value of setting other than its start-up value, for tests that must see
// a setting move: the other state of a flag, the end of its range farther
// from the start-up value, the last choice (the first where the last is the
// start-up one), the last choice alone in a set.
inline QVariant otherValue(const Setting &setting)
{
    const QVariant start = setting.startValue();
    switch (setting.kind) {
    case Setting::Kind::Bool:
        return !start.toBool();
    case Setting::Kind::Int:
        return static_cast<int>(start.toInt() - setting.low < setting.high - start.toInt() ? setting.high : setting.low);
    case Setting::Kind::Double:
        return start.toDouble() - setting.low < setting.high - start.toDouble() ? setting.high : setting.low;
    case Setting::Kind::Words:
        return QStringList{QStringLiteral("<x>")};
    case Setting::Kind::Set:
        return QStringList{QString::fromLatin1(setting.choices.back().word)};
    case Setting::Kind::Choice:
        break;
    }
    const int last = static_cast<int>(setting.choices.size()) - 1;
    return start.toInt() == last ? 0 : last;
}
