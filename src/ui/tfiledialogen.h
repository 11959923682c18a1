#pragma once

#include "ui/tdialogen.h"

#include <QPointer>
#include <QStringList>

class QFileDialog;
class QWidget;

// The file dialogs of the window: one open dialog and one save dialog, made
// on first use and kept, so each remembers its folder between uses.
class TFileDialogen : public TDialogen
{
public:
    // Filter texts: a description and its patterns, separated by bars.
    static const QString openFilter;
    static const QString saveFilter;

    explicit TFileDialogen(QWidget *ouder);

    QString kiesOpenBestand(int filterEntry) override;
    QString kiesBewaarBestand(int filterEntry, const QString &map,
                              const QString &voorstel) override;

    // The name filters of QFileDialog for a filter text, one per entry:
    // "Text-files|*.txt" gives "Text-files (*.txt)".
    static QStringList naamFilters(const QString &filterTekst);

    QFileDialog *OpenDialoog();
    QFileDialog *SaveDialoog();

private:
    static void kiesFilter(QFileDialog *dialoog, int filterEntry);
    static QString voerUit(QFileDialog *dialoog);

    QWidget *deOuder;
    QPointer<QFileDialog> deOpenDialoog;
    QPointer<QFileDialog> deSaveDialoog;
};
