#pragma once

#include "ui/filechooser.h"

#include <QMap>
#include <QPointer>
#include <QStringList>

class QFileDialog;
class QWidget;

// The file dialogs of the window: one open dialog and one save dialog, made
// on first use and kept. Each question has its own title and remembers its
// own last folder (a recording's folder is not proposed for a word file);
// the open dialog starts with an empty file name field.
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
    bool confirmReplace(const QStringList &paths) override;
    QString locateMovedInput(const QString &problem, OpenFilter filter) override;
    bool chooseToRestore(const QString &when) override;

    // The name filters of QFileDialog for a filter text, one per entry:
    // "Text-files|*.txt" gives "Text-files (*.txt)".
    static QStringList nameFilters(const QString &filterText);

    // The part the next open question is about; its title names it.
    void setPart(int part) { questionPart = part; }
    static QString openTitle(OpenFilter filter, int part);
    static QString saveTitle(SaveFilter filter);

    // The last folder of each kind of question, by a key such as
    // "open/wordFile" or "save/recording": what the window remembers between runs.
    QMap<QString, QString> folders() const { return lastFolders; }
    void setFolders(const QMap<QString, QString> &folders) { lastFolders = folders; }
    static QString folderKey(OpenFilter filter);
    static QString folderKey(SaveFilter filter);

    QFileDialog *openDialog();
    QFileDialog *saveDialog();

private:
    static void selectFilter(QFileDialog *dialog, int filterEntry);
    static QString run(QFileDialog *dialog);
    void noteFolder(const QString &key, const QString &chosen);

    QWidget *parent;
    QPointer<QFileDialog> theOpenDialog;
    QPointer<QFileDialog> theSaveDialog;
    int questionPart = 1;
    QMap<QString, QString> lastFolders;
};
