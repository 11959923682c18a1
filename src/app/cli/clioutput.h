#pragma once

#include <QString>

#include <cstdio>
#include <functional>

class QCommandLineParser;

// What naadwerk-cli prints and the codes it ends with. Every command runs
// its work through runStep, the one place where a failure becomes a message.

// The exit codes: the work failed, or the arguments were wrong.
constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

// Prints text to stream, ending it with a line end when it has none.
void printText(std::FILE *stream, const QString &text);

// Prints the error and the command's help to stderr; returns exitUsage.
int usageError(const QCommandLineParser &parser, const QString &error);

// Runs one command's work. A failure is reported once, on stderr, and gives
// exitFailure; success gives 0.
int runStep(const std::function<void()> &work);
