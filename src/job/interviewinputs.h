#pragma once

#include "formats/interviewfile.h"

#include <QString>

#include <vector>

// An input of an interview file that is not as the file left it.
struct InterviewInputProblem
{
    enum Kind { Missing, Changed };
    Kind kind = Missing;
    std::size_t part = 0; // from 0
    InterviewPart::File file = InterviewPart::WordFile;
    QString path;

    // "The recording of part 2, "PATH", is no longer there." or "... has
    // changed since the interview was saved."
    QString message() const;
};

// Reads the interview file at path; the paths it holds come back absolute
// (those relative to its folder resolved). Throws "Cannot open file ...",
// and the errors of readInterviewFile.
InterviewFile readInterview(const QString &path);

// What an interview file says of an input as it is now (size and time).
InterviewInput describeInput(const QString &path);

// The inputs of interview that are missing or changed, in the order of the
// parts and their files.
std::vector<InterviewInputProblem> inputProblems(const InterviewFile &interview);
