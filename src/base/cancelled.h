#pragma once

#include <exception>

// Thrown where the person cancelled a running step. It is no error: the
// front end ends the command with nothing changed and shows no message.
class Cancelled : public std::exception
{
public:
    const char *what() const noexcept override { return "The step was cancelled."; }
};
