#include "job/partrow.h"

#include "base/paths.h"
#include "base/timetext.h"

using namespace Qt::Literals::StringLiterals;

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
        return rate == 0 ? QString() : clockText(msOfFrames(frames, rate));
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
