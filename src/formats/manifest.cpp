#include "formats/manifest.h"

#include "base/error.h"
#include "base/text.h"

#include <QDir>

#include <algorithm>
#include <set>

using namespace Qt::Literals::StringLiterals;

QString refusedInterviewName(const QString &name)
{
    if (name.isEmpty())
        return u"the interview has no name"_s;
    if (name.startsWith(u'.'))
        return u"the name \"%1\" starts with \".\""_s.arg(name);
    const bool control = std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.category() == QChar::Other_Control; });
    if (name.contains(u'/') || name.contains(u'\\') || control)
        return u"the name \"%1\" holds a \"/\", a \"\\\" or a control character"_s.arg(name);
    return {};
}

std::vector<ManifestRow> parseManifest(const QStringList &lines, const QString &folder, const QString &name)
{
    std::vector<ManifestRow> rows;
    std::set<QString> names;
    const QDir dir(folder.isEmpty() ? u"."_s : folder);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // Trimmed only to be skipped: an empty name before the tab is an error.
        const QString &line = lines[i];
        if (const QString bare = trimmed(line); bare.isEmpty() || bare.startsWith(u'#'))
            continue;
        const auto fail = [&](const QString &what) {
            return Error(u"\"%1\", line %2: %3"_s.arg(name).arg(i + 1).arg(what));
        };
        const QStringList fields = line.split(u'\t');
        if (fields.size() != 2 || trimmed(fields[1]).isEmpty())
            throw fail(u"a row is an interview's name and its list of parts, separated by a tab"_s);
        ManifestRow row;
        row.name = trimmed(fields[0]);
        if (const QString refused = refusedInterviewName(row.name); !refused.isEmpty())
            throw fail(refused);
        if (!names.insert(row.name).second)
            throw fail(u"the name \"%1\" is on an earlier row too"_s.arg(row.name));
        row.partList = QDir::cleanPath(dir.absoluteFilePath(trimmed(fields[1])));
        row.line = static_cast<int>(i + 1);
        rows.push_back(std::move(row));
    }
    return rows;
}
