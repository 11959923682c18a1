#include "nepersoon_helper.h"

#include "job/ttekstabel.h"
#include "lines/efout.h"

#include <QFile>
#include <QtEndian>

#include <stdexcept>

QString TNepPersoon::kiesOpenBestand(int filterEntry)
{
    dialogen.append({false, filterEntry, QString(), QString()});
    if (openAntwoorden.isEmpty())
        throw std::logic_error("open dialog without a queued answer");
    return openAntwoorden.takeFirst();
}

QString TNepPersoon::kiesBewaarBestand(int filterEntry, const QString &map, const QString &voorstel)
{
    dialogen.append({true, filterEntry, map, voorstel});
    if (bewaarAntwoorden.isEmpty())
        throw std::logic_error("save dialog without a queued answer");
    return bewaarAntwoorden.takeFirst();
}

void schrijfBytes(const QString &pad, const QByteArray &bytes)
{
    QFile f(pad);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file " + pad.toStdString());
}

void schrijfRegels(const QString &pad, const QStringList &regels)
{
    QByteArray bytes;
    for (const QString &r : regels)
        bytes += r.toUtf8() + '\n';
    schrijfBytes(pad, bytes);
}

namespace {

void zet32(QByteArray &b, quint32 v)
{
    char d[4];
    qToLittleEndian(v, d);
    b.append(d, 4);
}

void zet16(QByteArray &b, quint16 v)
{
    char d[2];
    qToLittleEndian(v, d);
    b.append(d, 2);
}

} // namespace

void schrijfWavBestand(const QString &pad, int rate, int kanalen, int bits, qint64 frames)
{
    const quint32 blok = static_cast<quint32>(kanalen * bits / 8);
    const quint32 data = static_cast<quint32>(frames) * blok;
    QByteArray b;
    b += "RIFF";
    zet32(b, data + 36);
    b += "WAVEfmt ";
    zet32(b, 16);
    zet16(b, 1);
    zet16(b, static_cast<quint16>(kanalen));
    zet32(b, static_cast<quint32>(rate));
    zet32(b, static_cast<quint32>(rate) * blok);
    zet16(b, static_cast<quint16>(blok));
    zet16(b, static_cast<quint16>(bits));
    b += "data";
    zet32(b, data);
    b += QByteArray(static_cast<qsizetype>(data), '\0');
    schrijfBytes(pad, b);
}

QStringList rij(const TTekstTabel &t, int r)
{
    QStringList cellen;
    for (int k = 0; k < t.aantalKolommen(); ++k)
        cellen << t.cel(r, k);
    return cellen;
}

QString bericht(const std::function<void()> &opdracht)
{
    try {
        opdracht();
    } catch (const EFout &e) {
        return e.bericht();
    }
    return QStringLiteral("(no error)");
}
