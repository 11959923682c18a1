#include "job/interviewinputs.h"

#include "base/paths.h"
#include "base/textfile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace {

QString absoluteIn(const QDir &folder, const QString &path)
{
    return path.isEmpty() ? path : QDir::cleanPath(folder.absoluteFilePath(path));
}

QString fileName(InterviewPart::File file)
{
    switch (file) {
    case InterviewPart::WordFile:
        return u"word file"_s;
    case InterviewPart::Text:
        return u"text"_s;
    case InterviewPart::Recording:
        break;
    }
    return u"recording"_s;
}

} // namespace

QString InterviewInputProblem::message() const
{
    const QString what = u"The %1 of part %2, \"%3\","_s.arg(fileName(file)).arg(part + 1).arg(path);
    return kind == Missing ? what + u" is no longer there."_s
                           : what + u" has changed since the interview was saved."_s;
}

InterviewFile readInterview(const QString &path)
{
    InterviewFile interview = readInterviewFile(readFileBytes(path), path);
    const QDir folder = QFileInfo(path).absoluteDir();
    for (InterviewPart &part : interview.parts)
        for (InterviewInput &input : part.inputs)
            input.path = absoluteIn(folder, input.path);
    interview.joinedRecording = absoluteIn(folder, interview.joinedRecording);
    for (auto it = interview.outputs.begin(); it != interview.outputs.end(); ++it)
        it.value() = absoluteIn(folder, it.value().toString());
    return interview;
}

InterviewInput describeInput(const QString &path)
{
    InterviewInput input;
    input.path = path;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return input;
    input.size = info.size();
    input.modifiedMs = info.lastModified().toMSecsSinceEpoch();
    return input;
}

std::vector<InterviewInputProblem> inputProblems(const InterviewFile &interview)
{
    std::vector<InterviewInputProblem> problems;
    for (std::size_t k = 0; k < interview.parts.size(); ++k) {
        for (std::size_t f = 0; f < 3; ++f) {
            const InterviewInput &saved = interview.parts[k].inputs[f];
            if (saved.path.isEmpty())
                continue;
            const InterviewInput now = describeInput(saved.path);
            InterviewInputProblem problem;
            problem.part = k;
            problem.file = static_cast<InterviewPart::File>(f);
            problem.path = saved.path;
            if (!isRegularFile(saved.path))
                problem.kind = InterviewInputProblem::Missing;
            else if (now.size != saved.size || now.modifiedMs != saved.modifiedMs)
                problem.kind = InterviewInputProblem::Changed;
            else
                continue;
            problems.push_back(problem);
        }
    }
    return problems;
}
