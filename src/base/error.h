#pragma once

#include <QString>
#include <stdexcept>

// The one kind of error in Naadwerk: it carries the message the user sees.
// A command ends where it is thrown; the front end shows message() once.
class Error : public std::runtime_error
{
public:
    explicit Error(const QString &message)
        : std::runtime_error(message.toStdString()), theMessage(message) {}
    const QString &message() const { return theMessage; }

private:
    QString theMessage;
};
