#include "job/subtitlecheck.h"

#include "base/error.h"
#include "base/numbers.h"
#include "base/textfile.h"
#include "base/timetext.h"
#include "formats/subtitlereader.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <cmath>

namespace {

// A value as the rows show it: whole numbers without decimals, a reading
// speed with two.
QString valueText(double value)
{
    return value == std::floor(value) ? decimalText(static_cast<std::int64_t>(value)) : withDecimals(value, 2);
}

QJsonValue jsonNumber(double value)
{
    return value == std::floor(value) ? QJsonValue(static_cast<qint64>(value)) : QJsonValue(value);
}

} // namespace

SubtitleProfile subtitleProfileNamed(const QString &nameOrPath)
{
    if (const SubtitleProfile *builtIn = findBuiltInProfile(nameOrPath))
        return *builtIn;
    if (!QFileInfo(nameOrPath).isFile()) {
        QStringList names;
        for (const SubtitleProfile &p : builtInProfiles())
            names << p.name;
        throw Error(QStringLiteral("'%1' is neither a subtitle profile (%2) nor a profile file")
                        .arg(nameOrPath, names.join(QStringLiteral(", "))));
    }
    return parseSubtitleProfile(readTextFile(nameOrPath), nameOrPath);
}

CueCheck checkSubtitleFile(const QString &path, const SubtitleProfile &profile, double framesPerSecond)
{
    const QStringList lines = readTextFile(path, FileKind::PipesToo);
    const CueMarkup markup = subtitleMarkup(lines);
    // The lines of a cue stay apart: each is held to the line length.
    const std::vector<Cue> cues = parseSubtitleLines(lines, path, u'\n');
    return checkCues(cues, profile, framesPerSecond, markup, u'\n');
}

QByteArray cueCheckTsv(const CueCheck &check)
{
    QString out = QStringLiteral("cue\tstart\tkind\tvalue\tlimit\n");
    for (const CueProblem &p : check.problems) {
        out += decimalText(static_cast<std::int64_t>(p.cue)) + u'\t' + timeText(p.start) + u'\t'
            + CueProblem::kindWord(p.kind) + u'\t' + valueText(p.value) + u'\t' + valueText(p.limit) + u'\n';
    }
    return out.toUtf8();
}

QByteArray cueCheckJson(const CueCheck &check, const QString &profileName)
{
    QJsonArray problems;
    for (const CueProblem &p : check.problems) {
        problems.append(QJsonObject{{QStringLiteral("cue"), static_cast<qint64>(p.cue)},
                                    {QStringLiteral("start"), timeText(p.start)},
                                    {QStringLiteral("ms"), static_cast<qint64>(p.start)},
                                    {QStringLiteral("kind"), CueProblem::kindWord(p.kind)},
                                    {QStringLiteral("value"), jsonNumber(p.value)},
                                    {QStringLiteral("limit"), jsonNumber(p.limit)}});
    }
    QJsonObject counts;
    const auto perKind = check.countPerKind();
    for (int k = 0; k < CueProblem::kindCount; ++k)
        if (perKind[static_cast<std::size_t>(k)] > 0)
            counts.insert(CueProblem::kindWord(static_cast<CueProblem::Kind>(k)),
                          static_cast<qint64>(perKind[static_cast<std::size_t>(k)]));
    const QJsonObject all{{QStringLiteral("profile"), profileName},
                          {QStringLiteral("cues"), static_cast<qint64>(check.cueCount)},
                          {QStringLiteral("counts"), counts},
                          {QStringLiteral("problems"), problems}};
    return QJsonDocument(all).toJson(QJsonDocument::Indented);
}

QString cueCheckSummary(const CueCheck &check, const QString &profileName)
{
    const QString cues = QStringLiteral("%1 %2 under %3")
                             .arg(check.cueCount)
                             .arg(check.cueCount == 1 ? QStringLiteral("cue") : QStringLiteral("cues"), profileName);
    if (check.problems.empty())
        return QStringLiteral("No problems in %1.").arg(cues);
    QStringList parts;
    const auto perKind = check.countPerKind();
    for (int k = 0; k < CueProblem::kindCount; ++k)
        if (perKind[static_cast<std::size_t>(k)] > 0)
            parts << QStringLiteral("%1 %2").arg(perKind[static_cast<std::size_t>(k)]).arg(CueProblem::kindWord(static_cast<CueProblem::Kind>(k)));
    return QStringLiteral("%1 %2 in %3: %4.")
        .arg(check.problems.size())
        .arg(check.problems.size() == 1 ? QStringLiteral("problem") : QStringLiteral("problems"), cues,
             parts.join(QStringLiteral(", ")));
}
