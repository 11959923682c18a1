#include "ui/tfiledialogen.h"

#include <QFileDialog>

const QString TFileDialogen::openFilter =
    QStringLiteral("CTM/SPK-files|*.ctm;*.spk|Text-files|*.txt|Wav-files|*.wav|all files|*.*");
const QString TFileDialogen::saveFilter =
    QStringLiteral("srt-files|*.srt|vtt-files|*.vtt|wav-files|*.wav|All files|*.*");

TFileDialogen::TFileDialogen(QWidget *ouder) : deOuder(ouder) {}

QStringList TFileDialogen::naamFilters(const QString &filterTekst)
{
    const QStringList delen = filterTekst.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < delen.size(); i += 2) {
        QStringList patronen = delen[i + 1].split(u';', Qt::SkipEmptyParts);
        // "*.*" means every file; here a name needs no dot to be a file.
        for (QString &patroon : patronen)
            if (patroon == u"*.*")
                patroon = QStringLiteral("*");
        filters << delen[i] + QStringLiteral(" (") + patronen.join(u' ') + u')';
    }
    return filters;
}

QFileDialog *TFileDialogen::OpenDialoog()
{
    if (!deOpenDialoog) {
        deOpenDialoog = new QFileDialog(deOuder);
        deOpenDialoog->setObjectName(QStringLiteral("OpenDialoog"));
        deOpenDialoog->setAcceptMode(QFileDialog::AcceptOpen);
        deOpenDialoog->setFileMode(QFileDialog::ExistingFile);
        deOpenDialoog->setNameFilters(naamFilters(openFilter));
    }
    return deOpenDialoog;
}

QFileDialog *TFileDialogen::SaveDialoog()
{
    if (!deSaveDialoog) {
        deSaveDialoog = new QFileDialog(deOuder);
        deSaveDialoog->setObjectName(QStringLiteral("SaveDialoog"));
        deSaveDialoog->setAcceptMode(QFileDialog::AcceptSave);
        deSaveDialoog->setFileMode(QFileDialog::AnyFile);
        deSaveDialoog->setNameFilters(naamFilters(saveFilter));
    }
    return deSaveDialoog;
}

void TFileDialogen::kiesFilter(QFileDialog *dialoog, int filterEntry)
{
    const QStringList filters = dialoog->nameFilters();
    if (filterEntry >= 1 && filterEntry <= filters.size())
        dialoog->selectNameFilter(filters[filterEntry - 1]);
}

QString TFileDialogen::voerUit(QFileDialog *dialoog)
{
    if (dialoog->exec() != QDialog::Accepted)
        return QString();
    const QStringList gekozen = dialoog->selectedFiles();
    return gekozen.isEmpty() ? QString() : gekozen.first();
}

QString TFileDialogen::kiesOpenBestand(int filterEntry)
{
    QFileDialog *dialoog = OpenDialoog();
    kiesFilter(dialoog, filterEntry);
    return voerUit(dialoog);
}

QString TFileDialogen::kiesBewaarBestand(int filterEntry, const QString &map,
                                         const QString &voorstel)
{
    QFileDialog *dialoog = SaveDialoog();
    // The filter first: in a save dialog, choosing a filter changes the
    // extension of the name in the dialog, and the proposal must stay as given.
    kiesFilter(dialoog, filterEntry);
    // An empty folder keeps the folder the dialog was in.
    if (!map.isEmpty())
        dialoog->setDirectory(map);
    dialoog->selectFile(voorstel);
    return voerUit(dialoog);
}
