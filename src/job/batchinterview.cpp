#include "job/batchinterview.h"

#include "base/error.h"
#include "base/paths.h"
#include "base/textfile.h"
#include "formats/manifest.h"
#include "formats/partlistentry.h"
#include "job/dropplan.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

std::vector<BatchInterview> folderInterviews(const QString &path)
{
    const QDir root(path);
    const QStringList folders = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    std::vector<BatchInterview> interviews;
    for (const QString &folder : folders) {
        if (!refusedInterviewName(folder).isEmpty())
            continue; // hidden folders are no interviews
        BatchInterview interview;
        interview.name = folder;
        interview.where = u"\"%1\""_s.arg(QDir::cleanPath(root.filePath(folder)));
        interview.place = static_cast<int>(interviews.size());
        const QDir dir(root.filePath(folder));
        for (const QString &file : dir.entryList(QDir::Files, QDir::Name))
            interview.folderFiles << QDir::cleanPath(dir.absoluteFilePath(file));
        interview.parts = DropPlan(interview.folderFiles).parts();
        interviews.push_back(std::move(interview));
    }
    if (interviews.empty())
        throw Error(u"\"%1\" holds no folder of an interview."_s.arg(path));
    return interviews;
}

} // namespace

std::vector<BatchInterview> readBatchInterviews(const QString &path)
{
    if (QFileInfo(path).isDir())
        return folderInterviews(path);
    std::vector<BatchInterview> interviews;
    for (ManifestRow &row : parseManifest(readTextFile(path), folderPart(path), path)) {
        BatchInterview interview;
        interview.name = std::move(row.name);
        interview.where = u"\"%1\", line %2"_s.arg(path).arg(row.line);
        interview.place = static_cast<int>(interviews.size());
        interview.partList = std::move(row.partList);
        interviews.push_back(std::move(interview));
    }
    if (interviews.empty())
        throw Error(u"\"%1\" lists no interviews."_s.arg(path));
    return interviews;
}

std::vector<BatchInterview> shareOfTask(std::vector<BatchInterview> interviews, int index, int count)
{
    std::erase_if(interviews, [&](const BatchInterview &interview) { return interview.place % count != index % count; });
    return interviews;
}

QStringList inputFiles(const BatchInterview &interview)
{
    if (interview.partList.isEmpty())
        return interview.folderFiles;
    QStringList files{interview.partList};
    try {
        for (const PartListEntry &part :
             parsePartList(readTextFile(interview.partList), folderPart(interview.partList), interview.partList))
            for (const QString *file : {&part.files.wordFile, &part.files.text, &part.files.recording})
                if (!file->isEmpty())
                    files << *file;
    } catch (const Error &) {
        // The list alone: the glue fails on it with its own message.
    }
    return files;
}
