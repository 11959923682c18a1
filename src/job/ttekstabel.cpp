#include "job/ttekstabel.h"

TTekstTabel::TTekstTabel(const QStringList &kopjes, QObject *parent)
    : QAbstractTableModel(parent), deKopjes(kopjes), deBreedtes(kopjes.size(), 0)
{
}

void TTekstTabel::zetAantalRijen(int n)
{
    n = std::max(n, 0);
    if (n == rijen)
        return;
    const size_t k = static_cast<size_t>(aantalKolommen());
    if (n > rijen) {
        beginInsertRows(QModelIndex(), rijen, n - 1);
        deCellen.resize(static_cast<size_t>(n) * k);
        rijen = n;
        endInsertRows();
    } else {
        beginRemoveRows(QModelIndex(), n, rijen - 1);
        deCellen.resize(static_cast<size_t>(n) * k);
        rijen = n;
        endRemoveRows();
    }
}

QString TTekstTabel::cel(int rij, int kolom) const
{
    if (rij < 0 || rij >= rijen || kolom < 0 || kolom >= aantalKolommen())
        return QString();
    return deCellen[static_cast<size_t>(rij) * deKopjes.size() + kolom];
}

const QString &TTekstTabel::celRef(int rij, int kolom) const
{
    static const QString leeg;
    if (rij < 0 || rij >= rijen || kolom < 0 || kolom >= aantalKolommen())
        return leeg;
    return deCellen[static_cast<size_t>(rij) * deKopjes.size() + kolom];
}

void TTekstTabel::zetCel(int rij, int kolom, const QString &tekst)
{
    if (rij < 0 || rij >= rijen || kolom < 0 || kolom >= aantalKolommen())
        return;
    deCellen[static_cast<size_t>(rij) * deKopjes.size() + kolom] = tekst;
    const QModelIndex i = index(rij, kolom);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
}

void TTekstTabel::vervangAlles(std::vector<QString> &&cellen)
{
    beginResetModel();
    deCellen = std::move(cellen);
    rijen = static_cast<int>(deCellen.size() / static_cast<size_t>(aantalKolommen()));
    deCellen.resize(static_cast<size_t>(rijen) * aantalKolommen());
    endResetModel();
}

void TTekstTabel::voegRijenToe(std::vector<QString> &&cellen)
{
    const int extra = static_cast<int>(cellen.size() / static_cast<size_t>(aantalKolommen()));
    if (extra == 0)
        return;
    beginInsertRows(QModelIndex(), rijen, rijen + extra - 1);
    deCellen.reserve(deCellen.size() + static_cast<size_t>(extra) * aantalKolommen());
    for (int i = 0; i < extra * aantalKolommen(); ++i)
        deCellen.push_back(std::move(cellen[static_cast<size_t>(i)]));
    rijen += extra;
    endInsertRows();
}

void TTekstTabel::voegRijenToe(int aantal,
                               const std::function<void(int rij, QString *cellen)> &schrijf)
{
    if (aantal <= 0)
        return;
    const size_t k = static_cast<size_t>(aantalKolommen());
    beginInsertRows(QModelIndex(), rijen, rijen + aantal - 1);
    deCellen.resize(static_cast<size_t>(rijen + aantal) * k);
    for (int r = rijen; r < rijen + aantal; ++r)
        schrijf(r, deCellen.data() + static_cast<size_t>(r) * k);
    rijen += aantal;
    endInsertRows();
}

void TTekstTabel::wijzigRijen(int van, int tot,
                              const std::function<void(int rij, QString *cellen)> &schrijf)
{
    van = std::max(van, 0);
    tot = std::min(tot, rijen);
    if (van >= tot)
        return;
    const size_t k = static_cast<size_t>(aantalKolommen());
    for (int r = van; r < tot; ++r)
        schrijf(r, deCellen.data() + static_cast<size_t>(r) * k);
    emit dataChanged(index(van, 0), index(tot - 1, aantalKolommen() - 1), {Qt::DisplayRole, Qt::EditRole});
}

int TTekstTabel::kolomBreedte(int kolom) const
{
    return kolom >= 0 && kolom < aantalKolommen() ? deBreedtes[static_cast<size_t>(kolom)] : 0;
}

void TTekstTabel::zetKolomBreedte(int kolom, int breedte)
{
    if (kolom < 0 || kolom >= aantalKolommen())
        return;
    deBreedtes[static_cast<size_t>(kolom)] = breedte;
    emit kolomBreedteGewijzigd(kolom, breedte);
}

int TTekstTabel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rijen;
}

int TTekstTabel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : aantalKolommen();
}

QVariant TTekstTabel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return cel(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && bovenUitgelijnd)
        return QVariant(Qt::AlignLeft | Qt::AlignTop);
    return QVariant();
}

bool TTekstTabel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    zetCel(index.row(), index.column(), value.toString());
    return true;
}

Qt::ItemFlags TTekstTabel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

QVariant TTekstTabel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < deKopjes.size() ? deKopjes[section] : QVariant();
    return section + 1;
}
