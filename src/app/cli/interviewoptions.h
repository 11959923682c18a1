#pragma once

#include <QCommandLineOption>

#include <optional>

class GlueJob;
class QCommandLineParser;

// An option of a command, with a value when valueName is given.
QCommandLineOption makeOption(const char *name, const char *description, const char *valueName = nullptr);

// The inputs glue and review take alike: the options of the settings, the
// six files of two halves or a list of parts, and the joined recording.
class InterviewOptions
{
public:
    // Adds the options to parser, the settings' first; joinedHelp says what
    // the command does without --joined.
    InterviewOptions(QCommandLineParser &parser, const char *joinedHelp);

    // Parses arguments for command. Returns the exit code when the command
    // ends here: its help shown (0), or a usage error (2); nothing when it
    // goes on.
    std::optional<int> parse(QCommandLineParser &parser, const QStringList &arguments,
                             const QCommandLineOption &help, const char *command) const;
    // Why the options given do not go together; empty when they do.
    QString refusal(const QCommandLineParser &parser) const;
    // Sets the job's settings from the options and opens the files given,
    // in the order of the menu; or opens the interview file given, then
    // sets the settings given. An input of the interview file that is
    // missing or changed fails, naming it.
    void open(const QCommandLineParser &parser, GlueJob &job) const;
    const QCommandLineOption joined;

private:
    const QCommandLineOption ctm1, ctm2, text1, text2, wav1, wav2, parts, interview;
};
