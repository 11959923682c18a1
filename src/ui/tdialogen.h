#pragma once

#include <QString>

// The two file dialogs the window owns, behind an interface so that a test can
// answer them without showing a real dialog.
class TDialogen
{
public:
    virtual ~TDialogen() = default;

    // Runs the open dialog on filter entry n (numbered from 1). Returns the
    // chosen path, or an empty text when the person cancels.
    virtual QString kiesOpenBestand(int filterEntry) = 0;

    // Runs the save dialog on filter entry n, in folder map, proposing the file
    // name voorstel. Returns the chosen path, or an empty text on cancel.
    virtual QString kiesBewaarBestand(int filterEntry, const QString &map,
                                      const QString &voorstel) = 0;
};
