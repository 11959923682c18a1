#pragma once

#include "job/person.h"

#include <utility>

// Answers the open question of one Open command with a path known
// beforehand (a dropped file, an input of a recent interview), as if the
// person had chosen it in the dialog; every other question goes to the
// chooser it stands in for.
class PathChooser : public FileChooser
{
public:
    PathChooser(const QString &path, FileChooser &others) : path(path), others(others) {}

    QString chooseFileToOpen(OpenFilter filter) override
    {
        (void)filter;
        return std::exchange(path, QString());
    }
    QString chooseFileToSave(SaveFilter filter, const QString &folder, const QString &proposal) override
    {
        return others.chooseFileToSave(filter, folder, proposal);
    }
    UnsavedChoice chooseForUnsavedWork() override { return others.chooseForUnsavedWork(); }

private:
    QString path;
    FileChooser &others;
};
