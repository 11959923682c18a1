#include "job/batchrecord.h"

#include "base/atomicfile.h"
#include "base/error.h"
#include "base/textfile.h"
#include "base/version.h"
#include "job/settingstable.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString recordName = u"batch-record.tsv"_s;

QString inputLine(const QString &path)
{
    const QFileInfo info(path);
    // A missing input is recorded as missing, so its arrival counts as a change.
    return info.exists() ? u"input\t%1\t%2\t%3"_s.arg(path).arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch())
                         : u"input\t%1\tmissing"_s.arg(path);
}

QString outputLine(const QFileInfo &info)
{
    return u"output\t%1\t%2"_s.arg(info.fileName()).arg(info.size());
}

} // namespace

BatchRecord::BatchRecord(const BatchInterview &interview, const GlueSettings &settings)
{
    lines << u"naadwerk batch record\t%1"_s.arg(QString::fromLatin1(naadwerkVersion));
    for (const Setting &setting : settingsTable())
        lines << u"setting\t%1\t%2"_s.arg(QString::fromLatin1(setting.key), setting.read(settings).toString());
    // A person's own profile is no choice of the table: its figures, so that
    // a changed file glues again.
    if (const std::optional<SubtitleProfile> &own = settings.ownProfile)
        lines << u"profile\t%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8\t%9"_s.arg(own->name)
                     .arg(own->charsPerLine)
                     .arg(own->lines)
                     .arg(own->charsPerCue)
                     .arg(own->charsPerSecond)
                     .arg(own->minDurationMs)
                     .arg(own->maxDurationMs)
                     .arg(own->gapFrames)
                     .arg(own->gapMs);
    for (const QString &file : inputFiles(interview))
        lines << inputLine(file);
}

QString BatchRecord::path(const QString &outputFolder)
{
    return QDir(outputFolder).filePath(recordName);
}

void BatchRecord::write(const QString &outputFolder, const BatchRow &row)
{
    QStringList all = lines;
    const QFileInfoList outputs = QDir(outputFolder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QFileInfo &output : outputs)
        if (output.fileName() != recordName && !output.fileName().endsWith(u".tmp"))
            all << outputLine(output);
    // Without the seconds taken: whichever run glues it, the record is the same bytes.
    BatchRow kept = row;
    kept.seconds = 0;
    all << u"row\t"_s + reportLine(kept);
    AtomicFile file(path(outputFolder));
    file.write((all.join(u'\n') + u'\n').toUtf8());
    file.commit();
}

std::optional<BatchRow> BatchRecord::upToDateRow(const QString &outputFolder) const
{
    const QString file = path(outputFolder);
    if (!QFileInfo::exists(file))
        return std::nullopt;
    try {
        const QStringList recorded = readTextFile(file);
        if (recorded.size() < lines.size() + 1 || recorded.mid(0, lines.size()) != lines
            || !recorded.last().startsWith(u"row\t"))
            return std::nullopt;
        for (qsizetype i = lines.size(); i + 1 < recorded.size(); ++i) {
            const QStringList fields = recorded[i].split(u'\t');
            const QFileInfo output(QDir(outputFolder).filePath(fields.value(1)));
            if (fields.size() != 3 || fields[0] != u"output" || !output.exists() || outputLine(output) != recorded[i])
                return std::nullopt;
        }
        return parseReportLine(recorded.last().mid(4), file, static_cast<int>(recorded.size()));
    } catch (const Error &) {
        return std::nullopt; // a record that cannot be read is no record
    }
}
