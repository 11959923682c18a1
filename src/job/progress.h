#pragma once

#include <QtGlobal>

// How a long step (joining the recordings) tells how far it is, and learns
// that the person cancelled it: report() throws Cancelled then.
class Progress
{
public:
    virtual ~Progress() = default;
    // done of total units (frames, bytes); total 0 when not known yet.
    virtual void report(qint64 done, qint64 total) = 0;
};

// The progress of a step nobody watches and nobody can cancel (the command
// line, the tests of the job).
class NoProgress : public Progress
{
public:
    void report(qint64 done, qint64 total) override { (void)done; (void)total; }
};
