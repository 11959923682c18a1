#include "ui/correctioncommand.h"

#include "job/gluejob.h"

#include <utility>

CorrectionCommand::CorrectionCommand(GlueJob &job, Correction correction, const QString &text)
    : QUndoCommand(text), job(job), correction(std::move(correction))
{
}

void CorrectionCommand::undo()
{
    job.undoCorrection(correction);
}

void CorrectionCommand::redo()
{
    if (std::exchange(made, false))
        return;
    job.redoCorrection(correction);
}
