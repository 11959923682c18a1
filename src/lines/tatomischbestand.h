#pragma once

#include <QByteArray>
#include <QString>

// Writes a file so that it is either complete or not there at all: the bytes
// go to a temporary file beside the target, which replaces the target only on
// commit(). Without commit() (an error, an exception, a killed process) the
// target keeps what it held. Failures throw EFout with
// "Cannot create file "%s". %s" and the system's reason.
class TAtomischBestand
{
public:
    explicit TAtomischBestand(const QString &doel);
    ~TAtomischBestand();
    TAtomischBestand(const TAtomischBestand &) = delete;
    TAtomischBestand &operator=(const TAtomischBestand &) = delete;

    void schrijf(const char *data, qint64 lengte);
    void schrijf(const QByteArray &data) { schrijf(data.constData(), data.size()); }
    // Moves the write position (used to fill in a header at the end).
    void zoek(qint64 positie);
    void commit();

private:
    [[noreturn]] void faal(int fout);
    void spoel();

    QString hetDoel;      // the path the user named, for messages
    QByteArray hetEcht;   // the file that is replaced (links resolved)
    QByteArray hetTijdelijk;
    int fd = -1;
    QByteArray deBuffer;
};
