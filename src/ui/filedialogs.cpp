#include "ui/filedialogs.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

const QString FileDialogs::openFilter =
    QStringLiteral("Word files|*.ctm;*.spk;*.json;*.TextGrid;*.textgrid;*.eaf;*.vtt|Text-files|*.txt|Recordings|*.wav;*.mp3;*.m4a;*.aac;*.flac;*.ogg;*.oga;*.opus;*.rf64|all files|*.*|"
                   "Interviews|*.naadwerk");
const QString FileDialogs::saveFilter =
    QStringLiteral("srt-files|*.srt|vtt-files|*.vtt|wav-files|*.wav|All files|*.*|Interviews|*.naadwerk");

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
        theOpenDialog->setObjectName(QStringLiteral("OpenDialog"));
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
        theSaveDialog->setObjectName(QStringLiteral("SaveDialog"));
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

QString FileDialogs::openTitle(OpenFilter filter, int part)
{
    switch (filter) {
    case OpenFilter::WordFile: return QStringLiteral("Open word file of part %1").arg(part);
    case OpenFilter::Text: return QStringLiteral("Open text of part %1").arg(part);
    case OpenFilter::Recording: return QStringLiteral("Open recording of part %1").arg(part);
    case OpenFilter::Interview: return QObject::tr("Open an interview");
    case OpenFilter::AnyFile: break;
    }
    return QStringLiteral("Open a file of part %1").arg(part);
}

QString FileDialogs::saveTitle(SaveFilter filter)
{
    switch (filter) {
    case SaveFilter::Srt: return QStringLiteral("Save the subtitles and the other results");
    case SaveFilter::WebVtt: return QStringLiteral("Save the subtitles as WebVTT");
    case SaveFilter::Recording: return QStringLiteral("Save the joined recording");
    case SaveFilter::Interview: return QObject::tr("Save the interview");
    case SaveFilter::AnyFile: break;
    }
    return QStringLiteral("Save a file");
}

QString FileDialogs::folderKey(OpenFilter filter)
{
    static const char *const keys[] = {"open/wordFile", "open/text", "open/recording", "open/anyFile",
                                       "open/interview"};
    return QString::fromLatin1(keys[static_cast<int>(filter) - 1]);
}

QString FileDialogs::folderKey(SaveFilter filter)
{
    static const char *const keys[] = {"save/srt", "save/webVtt", "save/recording", "save/anyFile",
                                       "save/interview"};
    return QString::fromLatin1(keys[static_cast<int>(filter) - 1]);
}

void FileDialogs::noteFolder(const QString &key, const QString &chosen)
{
    if (!chosen.isEmpty())
        lastFolders[key] = QFileInfo(chosen).absolutePath();
}

QString FileDialogs::chooseFileToOpen(OpenFilter filter)
{
    QFileDialog *dialog = openDialog();
    dialog->setWindowTitle(openTitle(filter, questionPart));
    selectFilter(dialog, static_cast<int>(filter));
    const QString key = folderKey(filter);
    if (const QString folder = lastFolders.value(key); !folder.isEmpty())
        dialog->setDirectory(folder);
    // A name chosen for another kind of file is never proposed: Qt's own
    // dialog keeps the last choice selected, and its name field with it.
    dialog->selectFile(QString());
    for (auto *view : dialog->findChildren<QAbstractItemView *>())
        view->clearSelection();
    if (auto *field = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        field->clear();
    const QString chosen = run(dialog);
    noteFolder(key, chosen);
    return chosen;
}

QString FileDialogs::chooseFileToSave(SaveFilter filter, const QString &folder,
                                      const QString &proposal)
{
    QFileDialog *dialog = saveDialog();
    dialog->setWindowTitle(saveTitle(filter));
    // The filter first: in a save dialog, choosing a filter changes the
    // extension of the name in the dialog, and the proposal must stay as given.
    selectFilter(dialog, static_cast<int>(filter));
    // A name typed without an extension gets the filter's.
    static const char *const suffixes[] = {"srt", "vtt", "wav", "", "naadwerk"};
    const int entry = static_cast<int>(filter);
    dialog->setDefaultSuffix(entry >= 1 && entry <= 5 ? QString::fromLatin1(suffixes[entry - 1])
                                                      : QString());
    // The SRT file is one of the files Save writes: the window asks about
    // all of them at once (confirmReplace).
    dialog->setOption(QFileDialog::DontConfirmOverwrite, filter == SaveFilter::Srt);
    // An empty folder takes the one last chosen for this kind of file, or
    // keeps the folder the dialog was in.
    const QString key = folderKey(filter);
    if (!folder.isEmpty())
        dialog->setDirectory(folder);
    else if (const QString last = lastFolders.value(key); !last.isEmpty())
        dialog->setDirectory(last);
    dialog->selectFile(proposal);
    const QString chosen = run(dialog);
    noteFolder(key, chosen);
    return chosen;
}

bool FileDialogs::confirmReplace(const QStringList &paths)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Naadwerk"),
                    QCoreApplication::translate("FileDialogs", "Save will replace these files:"),
                    QMessageBox::Cancel, parent);
    box.setObjectName(QStringLiteral("replaceFiles"));
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(paths.join(u'\n'));
    QPushButton *replace = box.addButton(QCoreApplication::translate("FileDialogs", "&Replace"), QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == replace;
}

UnsavedChoice FileDialogs::chooseForUnsavedWork()
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Naadwerk"),
                    QObject::tr("The interview has corrections or a glued result that are not saved."),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setObjectName(QStringLiteral("unsavedWork"));
    box.setInformativeText(QObject::tr("Save them first?"));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save: return UnsavedChoice::Save;
    case QMessageBox::Discard: return UnsavedChoice::Discard;
    default: return UnsavedChoice::Cancel;
    }
}

QString FileDialogs::locateMovedInput(const QString &problem, OpenFilter filter)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Naadwerk"), problem,
                    QMessageBox::Open | QMessageBox::Ignore, parent);
    box.setObjectName(QStringLiteral("movedInput"));
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(QObject::tr("Locate it in its new place? The corrections are kept either way."));
    box.setDefaultButton(QMessageBox::Open);
    if (box.exec() != QMessageBox::Open)
        return {};
    return chooseFileToOpen(filter);
}

bool FileDialogs::chooseToRestore(const QString &when)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Naadwerk"),
                    QObject::tr("Naadwerk was not closed normally. Corrections that were not saved were kept "
                                "at %1.").arg(when),
                    QMessageBox::Yes | QMessageBox::Discard, parent);
    box.setObjectName(QStringLiteral("restoreRecovery"));
    box.setInformativeText(QObject::tr("Restore them?"));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}
