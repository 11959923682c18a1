#include "ui/filedialogs.h"

#include <QFileDialog>
#include <QMessageBox>

const QString FileDialogs::openFilter =
    QStringLiteral("CTM/SPK-files|*.ctm;*.spk|Text-files|*.txt|Recordings|*.wav;*.mp3;*.m4a;*.aac;*.flac;*.ogg;*.oga;*.opus;*.rf64|all files|*.*");
const QString FileDialogs::saveFilter =
    QStringLiteral("srt-files|*.srt|vtt-files|*.vtt|wav-files|*.wav|All files|*.*");

FileDialogs::FileDialogs(QWidget *parent) : parent(parent) {}

QStringList FileDialogs::nameFilters(const QString &filterText)
{
    const QStringList parts = filterText.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        // "*.*" means every file; here a name needs no dot to be a file.
        for (QString &pattern : patterns)
            if (pattern == u"*.*")
                pattern = QStringLiteral("*");
        filters << parts[i] + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return filters;
}

QFileDialog *FileDialogs::openDialog()
{
    if (!theOpenDialog) {
        theOpenDialog = new QFileDialog(parent);
        theOpenDialog->setObjectName(QStringLiteral("OpenDialoog"));
        theOpenDialog->setAcceptMode(QFileDialog::AcceptOpen);
        theOpenDialog->setFileMode(QFileDialog::ExistingFile);
        theOpenDialog->setNameFilters(nameFilters(openFilter));
    }
    return theOpenDialog;
}

QFileDialog *FileDialogs::saveDialog()
{
    if (!theSaveDialog) {
        theSaveDialog = new QFileDialog(parent);
        theSaveDialog->setObjectName(QStringLiteral("SaveDialoog"));
        theSaveDialog->setAcceptMode(QFileDialog::AcceptSave);
        theSaveDialog->setFileMode(QFileDialog::AnyFile);
        theSaveDialog->setNameFilters(nameFilters(saveFilter));
    }
    return theSaveDialog;
}

// Entries are numbered from 1, as the filter enums number them.
void FileDialogs::selectFilter(QFileDialog *dialog, int filterEntry)
{
    const QStringList filters = dialog->nameFilters();
    if (filterEntry >= 1 && filterEntry <= filters.size())
        dialog->selectNameFilter(filters[filterEntry - 1]);
}

QString FileDialogs::run(QFileDialog *dialog)
{
    if (dialog->exec() != QDialog::Accepted)
        return QString();
    const QStringList chosen = dialog->selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

QString FileDialogs::chooseFileToOpen(OpenFilter filter)
{
    QFileDialog *dialog = openDialog();
    selectFilter(dialog, static_cast<int>(filter));
    return run(dialog);
}

QString FileDialogs::chooseFileToSave(SaveFilter filter, const QString &folder,
                                      const QString &proposal)
{
    QFileDialog *dialog = saveDialog();
    // The filter first: in a save dialog, choosing a filter changes the
    // extension of the name in the dialog, and the proposal must stay as given.
    selectFilter(dialog, static_cast<int>(filter));
    // A name typed without an extension gets the filter's.
    static const char *const suffixes[] = {"srt", "vtt", "wav", ""};
    const int entry = static_cast<int>(filter);
    dialog->setDefaultSuffix(entry >= 1 && entry <= 4 ? QString::fromLatin1(suffixes[entry - 1])
                                                      : QString());
    // An empty folder keeps the folder the dialog was in.
    if (!folder.isEmpty())
        dialog->setDirectory(folder);
    dialog->selectFile(proposal);
    return run(dialog);
}

UnsavedChoice FileDialogs::chooseForUnsavedWork()
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Naadwerk"),
                    QStringLiteral("The glued result has changes that are not saved."),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setObjectName(QStringLiteral("unsavedWork"));
    box.setInformativeText(QStringLiteral("Save them before closing?"));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save: return UnsavedChoice::Save;
    case QMessageBox::Discard: return UnsavedChoice::Discard;
    default: return UnsavedChoice::Cancel;
    }
}
