#pragma once

#include "job/person.h"

#include <QPointer>
#include <QStringList>

class QFileDialog;
class QWidget;

// The file dialogs of the window: one open dialog and one save dialog, made
// on first use and kept, so each remembers its folder between uses.
class FileDialogs : public FileChooser
{
public:
    // Filter texts: a description and its patterns, separated by bars.
    static const QString openFilter;
    static const QString saveFilter;

    explicit FileDialogs(QWidget *parent);

    QString chooseFileToOpen(OpenFilter filter) override;
    QString chooseFileToSave(SaveFilter filter, const QString &folder,
                             const QString &proposal) override;
    UnsavedChoice chooseForUnsavedWork() override;

    // The name filters of QFileDialog for a filter text, one per entry:
    // "Text-files|*.txt" gives "Text-files (*.txt)".
    static QStringList nameFilters(const QString &filterText);

    QFileDialog *openDialog();
    QFileDialog *saveDialog();

private:
    static void selectFilter(QFileDialog *dialog, int filterEntry);
    static QString run(QFileDialog *dialog);

    QWidget *parent;
    QPointer<QFileDialog> theOpenDialog;
    QPointer<QFileDialog> theSaveDialog;
};
