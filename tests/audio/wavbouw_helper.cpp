#include "wavbouw_helper.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>

#include <algorithm>
#include <cmath>

QByteArray le16(quint16 w)
{
    QByteArray b(2, '\0');
    qToLittleEndian(w, b.data());
    return b;
}

QByteArray le32(quint32 w)
{
    QByteArray b(4, '\0');
    qToLittleEndian(w, b.data());
    return b;
}

QByteArray chunk(const char *id, const QByteArray &body)
{
    QByteArray c = QByteArray(id, 4) + le32(quint32(body.size())) + body;
    if (body.size() % 2)
        c += '\0';
    return c;
}

QByteArray riff(const QByteArray &chunks)
{
    return "RIFF" + le32(quint32(chunks.size() + 4)) + "WAVE" + chunks;
}

QByteArray fmtBody(quint16 formaat, quint16 kanalen, quint32 rate, quint16 bits,
                   const QByteArray &extra)
{
    const quint16 blok = quint16(kanalen * (bits / 8));
    return le16(formaat) + le16(kanalen) + le32(rate) + le32(rate * blok) + le16(blok) +
           le16(bits) + extra;
}

QByteArray extensibleBody(quint16 subformaat, quint16 kanalen, quint32 rate, quint16 bits)
{
    const QByteArray guidStaart = QByteArray::fromHex("000000001000800000aa00389b71");
    return fmtBody(0xFFFE, kanalen, rate, bits,
                   le16(22) + le16(bits) + le32(0) + le16(subformaat) + guidStaart);
}

QByteArray pcm16(const std::vector<qint16> &samples)
{
    QByteArray b;
    for (qint16 s : samples)
        b += le16(quint16(s));
    return b;
}

QByteArray wav16k(const std::vector<qint16> &samples)
{
    return riff(chunk("fmt ", fmtBody(1, 1, 16000, 16)) + chunk("data", pcm16(samples)));
}

QStringList chunkIds(const QByteArray &bestand)
{
    QStringList ids;
    qsizetype p = 12;
    while (p + 8 <= bestand.size()) {
        ids << QString::fromLatin1(bestand.mid(p, 4));
        const quint32 n = qFromLittleEndian<quint32>(bestand.constData() + p + 4);
        if (ids.last() == QLatin1String("data"))
            break;
        p += 8 + qsizetype(n) + (n & 1);
    }
    return ids;
}

bool schrijfBestand(const QString &pad, const QByteArray &inhoud)
{
    QFile f(pad);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(inhoud) == inhoud.size();
}

QByteArray leesBestand(const QString &pad)
{
    QFile f(pad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::vector<qint16> samplesNa44(const QString &pad)
{
    const QByteArray b = leesBestand(pad);
    std::vector<qint16> s;
    for (qsizetype p = 44; p + 2 <= b.size(); p += 2)
        s.push_back(qFromLittleEndian<qint16>(b.constData() + p));
    return s;
}

QString draai(const QString &programma, const QStringList &argumenten, QByteArray *uitvoer)
{
    QProcess p;
    p.start(programma, argumenten);
    if (!p.waitForFinished(60000))
        return programma + " did not finish: " + p.errorString();
    if (uitvoer)
        *uitvoer = p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return programma + " " + argumenten.join(' ') + " failed: " +
               QString::fromLocal8Bit(p.readAllStandardError());
    return {};
}

qint64 soxi(const QString &optie, const QString &pad)
{
    QByteArray uit;
    if (!draai("soxi", {optie, pad}, &uit).isEmpty())
        return -1;
    bool ok = false;
    const qint64 n = uit.trimmed().toLongLong(&ok);
    return ok ? n : -1;
}

bool heeftProgramma(const QString &programma)
{
    return !QStandardPaths::findExecutable(programma).isEmpty();
}

double snrDb(const std::vector<qint16> &ref, const std::vector<qint16> &test)
{
    const size_t n = std::min(ref.size(), test.size());
    double signaal = 0;
    double ruis = 0;
    for (size_t i = 0; i < n; ++i) {
        const double r = ref[i];
        const double d = double(test[i]) - r;
        signaal += r * r;
        ruis += d * d;
    }
    if (ruis == 0)
        return 200;
    return 10 * std::log10(signaal / ruis);
}
