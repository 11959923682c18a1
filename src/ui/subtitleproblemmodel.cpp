#include "ui/subtitleproblemmodel.h"

#include "base/numbers.h"
#include "base/timetext.h"

#include <cmath>

namespace {

enum Column { CueColumn, StartColumn, KindColumn, ValueColumn, LimitColumn, columnTotal };

QString number(double value)
{
    return value == std::floor(value) ? decimalText(static_cast<std::int64_t>(value)) : withDecimals(value, 2);
}

} // namespace

void SubtitleProblemModel::setCheck(CueCheck check)
{
    beginResetModel();
    shown = std::move(check);
    endResetModel();
}

int SubtitleProblemModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(shown.problems.size());
}

int SubtitleProblemModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columnTotal;
}

QString SubtitleProblemModel::kindText(CueProblem::Kind kind)
{
    switch (kind) {
    case CueProblem::LineLength:
        return tr("line too long");
    case CueProblem::Lines:
        return tr("too many lines");
    case CueProblem::CueLength:
        return tr("cue too long");
    case CueProblem::ReadingSpeed:
        return tr("reading too fast");
    case CueProblem::TooShort:
        return tr("shown too briefly");
    case CueProblem::TooLong:
        return tr("shown too long");
    case CueProblem::Gap:
        return tr("gap too short");
    }
    return {};
}

QVariant SubtitleProblemModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= shown.problems.size())
        return {};
    const CueProblem &p = shown.problems[static_cast<std::size_t>(index.row())];
    if (role == Qt::TextAlignmentRole)
        return index.column() == KindColumn ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case CueColumn:
        return decimalText(static_cast<std::int64_t>(p.cue));
    case StartColumn:
        return timeText(p.start);
    case KindColumn:
        return kindText(p.kind);
    case ValueColumn:
        return number(p.value);
    case LimitColumn:
        return number(p.limit);
    }
    return {};
}

QVariant SubtitleProblemModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case CueColumn:
        return tr("Cue");
    case StartColumn:
        return tr("Start");
    case KindColumn:
        return tr("Problem");
    case ValueColumn:
        return tr("Value");
    case LimitColumn:
        return tr("Limit");
    }
    return {};
}
