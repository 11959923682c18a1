#pragma once

#include <QString>
#include <stdexcept>

// The one kind of error in Naadwerk: it carries the message the user sees.
// A command ends where it is thrown; the front end shows bericht() once.
class EFout : public std::runtime_error
{
public:
    explicit EFout(const QString &bericht)
        : std::runtime_error(bericht.toStdString()), deBericht(bericht) {}
    const QString &bericht() const { return deBericht; }

private:
    QString deBericht;
};
