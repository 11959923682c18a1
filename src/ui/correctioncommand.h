#pragma once

#include "job/correction.h"

#include <QUndoCommand>

class GlueJob;

// One correction on the window's undo stack. The job made it before it was
// pushed, so the first redo (QUndoStack::push) does nothing; undo and redo
// then take it back and make it again through the job; the caller makes
// the derived views again after the stack moved.
class CorrectionCommand : public QUndoCommand
{
public:
    CorrectionCommand(GlueJob &job, Correction correction, const QString &text);

    void undo() override;
    void redo() override;

private:
    GlueJob &job;
    Correction correction;
    bool made = true; // the job made it already: the push's redo is no change
};
