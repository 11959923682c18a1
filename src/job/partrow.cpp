#include "job/partrow.h"

#include "base/paths.h"

using namespace Qt::Literals::StringLiterals;

namespace {

QString clockText(std::int64_t ms)
{
    const std::int64_t seconds = ms / 1000;
    return QString::number(seconds / 3600) + u':' + QString::number(seconds / 60 % 60).rightJustified(2, u'0')
           + u':' + QString::number(seconds % 60).rightJustified(2, u'0');
}

} // namespace

QString PartRow::cell(Column column) const
{
    switch (column) {
    case Number:
        return QString::number(number);
    case WordFile:
        return fileNamePart(files.wordFile);
    case Text:
        return fileNamePart(files.text);
    case Recording:
        return fileNamePart(files.recording);
    case Length:
        return rate == 0 ? QString() : clockText(frames * 1000 / rate);
    case Start:
        return startMs < 0 ? QString() : clockText(startMs);
    case Gap:
        return QString::number(gapMs);
    }
    return QString();
}

QString PartRow::caption(Column column)
{
    static const QString captions[columnCount] = {u"#"_s,        u"Word file"_s, u"Text"_s, u"Recording"_s,
                                                  u"Length"_s,   u"Start"_s,     u"Gap (ms)"_s};
    return captions[column];
}
