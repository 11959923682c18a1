#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// A table of text cells, as the word tables and the phrase table are: the job
// reads and writes cells, a view shows and edits them. Cells are kept in one
// flat vector (no object per row) so a million rows stay cheap. A cell read
// outside the table is the empty text.
class TTekstTabel : public QAbstractTableModel
{
    Q_OBJECT
public:
    TTekstTabel(const QStringList &kopjes, QObject *parent = nullptr);

    int aantalRijen() const { return rijen; }
    int aantalKolommen() const { return static_cast<int>(deKopjes.size()); }
    // A larger count adds rows of empty cells; a smaller one drops rows.
    void zetAantalRijen(int n);
    QString cel(int rij, int kolom) const;
    // The same without a copy, for walks over many rows: the reference holds
    // until the table changes.
    const QString &celRef(int rij, int kolom) const;
    // Writes a cell inside the table; outside it nothing happens.
    void zetCel(int rij, int kolom, const QString &tekst);
    // Replaces the whole table in one model reset: cellen holds the rows one
    // after the other, aantalKolommen() cells each.
    void vervangAlles(std::vector<QString> &&cellen);
    // Appends rows in one insert (cellen as above).
    void voegRijenToe(std::vector<QString> &&cellen);
    // Appends aantal rows in one insert and lets schrijf fill each new row
    // in place (row number, its aantalKolommen() cells, empty at first): no
    // second vector of a million cells on the way.
    void voegRijenToe(int aantal, const std::function<void(int rij, QString *cellen)> &schrijf);
    // Rewrites rows van .. tot - 1 in place, one row at a time: schrijf gets
    // the row number and its aantalKolommen() cells. One dataChanged for all.
    void wijzigRijen(int van, int tot, const std::function<void(int rij, QString *cellen)> &schrijf);

    // Column widths in the toolkit's units; the view applies them and reports
    // its own width back, so the job can compute widths from it.
    int kolomBreedte(int kolom) const;
    void zetKolomBreedte(int kolom, int breedte);
    int tabelBreedte() const { return deTabelBreedte; }
    void zetTabelBreedte(int breedte) { deTabelBreedte = breedte; }

    // Cells aligned to the top (the phrase table) rather than centred.
    void zetBovenUitgelijnd(bool boven) { bovenUitgelijnd = boven; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    void kolomBreedteGewijzigd(int kolom, int breedte);

private:
    QStringList deKopjes;
    std::vector<QString> deCellen; // rij * aantalKolommen() + kolom
    std::vector<int> deBreedtes;   // 0: the toolkit's default width
    int rijen = 0;
    int deTabelBreedte = 0;
    bool bovenUitgelijnd = false;
};
