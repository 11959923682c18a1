#include "job/reviewlistfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

QByteArray reviewListTsv(const ReviewList &list)
{
    QStringList names;
    for (int c = 0; c < ReviewRow::columnCount; ++c)
        names << ReviewRow::columnName(static_cast<ReviewRow::Column>(c));
    QString out = names.join(u'\t') + u'\n';
    for (const ReviewRow &row : list.rows) {
        for (int c = 0; c < ReviewRow::columnCount; ++c) {
            if (c > 0)
                out += u'\t';
            out += row.cell(static_cast<ReviewRow::Column>(c));
        }
        out += u'\n';
    }
    return out.toUtf8();
}

QByteArray reviewListJson(const ReviewList &list)
{
    QJsonArray rows;
    for (const ReviewRow &row : list.rows) {
        QJsonObject object;
        for (int c = 0; c < ReviewRow::columnCount; ++c) {
            const auto column = static_cast<ReviewRow::Column>(c);
            const QString name = ReviewRow::columnName(column);
            if (column == ReviewRow::Part || column == ReviewRow::Row)
                object.insert(name, row.cell(column).toLongLong());
            else
                object.insert(name, row.cell(column));
        }
        object.insert(QStringLiteral("ms"), static_cast<qint64>(row.timeMs));
        rows.append(object);
    }
    return QJsonDocument(rows).toJson(QJsonDocument::Indented);
}
