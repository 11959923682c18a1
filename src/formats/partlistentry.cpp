#include "formats/partlistentry.h"

#include "base/error.h"
#include "base/text.h"

#include <QDir>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

std::vector<PartListEntry> parsePartList(const QStringList &lines, const QString &folder, const QString &name)
{
    std::vector<PartListEntry> parts;
    const QDir dir(folder.isEmpty() ? u"."_s : folder);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = trimmed(lines[i]);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const auto fail = [&](const QString &what) {
            return Error(u"\"%1\", line %2: %3"_s.arg(name).arg(i + 1).arg(what));
        };
        QStringList fields = line.split(u'\t');
        for (QString &field : fields)
            field = trimmed(field);
        if (fields.size() < 3 || fields.size() > 4 || fields.mid(0, 3).contains(QString()))
            throw fail(u"a part is a word file, a text file and a recording, separated by tabs, "
                       u"and optionally the gap after it in ms"_s);
        PartListEntry part;
        part.files.wordFile = QDir::cleanPath(dir.absoluteFilePath(fields[0]));
        part.files.text = QDir::cleanPath(dir.absoluteFilePath(fields[1]));
        part.files.recording = QDir::cleanPath(dir.absoluteFilePath(fields[2]));
        if (fields.size() == 4) {
            bool ok = false;
            const QString &gap = fields[3];
            part.gapMs = gap.toLongLong(&ok);
            const bool digits = !gap.isEmpty() && std::all_of(gap.begin(), gap.end(), [](QChar c) {
                return c >= u'0' && c <= u'9';
            });
            if (!ok || !digits || part.gapMs > 86400000)
                throw fail(u"the gap \"%1\" is not a whole number of milliseconds from 0 to 86400000"_s.arg(gap));
        }
        parts.push_back(std::move(part));
    }
    return parts;
}
