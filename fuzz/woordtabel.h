#pragma once
// Shared by the fuzz targets that drive the glue job. A word table from
// bytes: one row a line, the cells of columns 1 to 5 (start, end, word,
// confidence, speaker) separated by tabs; column 0 holds the row number, as
// Open CTM writes it.
#include "job/tpersoon.h"
#include "job/ttekstabel.h"
#include "lines/regellijst.h"

#include <QByteArray>
#include <QStringTokenizer>

#include <cstddef>
#include <cstdint>
#include <vector>

inline void vulWoordTabel(TTekstTabel &tabel, const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    std::vector<QString> cellen;
    int rij = 0;
    for (const QString &regel : regelsUitBytes(bytes)) {
        cellen.push_back(QString::number(++rij));
        int kolom = 1;
        for (const QStringView veld : QStringTokenizer(regel, u'\t')) {
            if (kolom == 6)
                break;
            cellen.push_back(veld.toString());
            ++kolom;
        }
        for (; kolom < 6; ++kolom)
            cellen.emplace_back();
    }
    tabel.vervangAlles(std::move(cellen));
}

// The person of a fuzzed job: every dialog is cancelled.
class TStillePersoon : public TPersoon
{
public:
    QString kiesOpenBestand(int) override { return QString(); }
    QString kiesBewaarBestand(int, const QString &, const QString &) override { return QString(); }
};
