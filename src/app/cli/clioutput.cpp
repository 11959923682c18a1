#include "app/cli/clioutput.h"

#include "base/error.h"

#include <QCommandLineParser>

#include <exception>
#include <new>

void printText(std::FILE *stream, const QString &text)
{
    std::fputs(qUtf8Printable(text), stream);
    if (!text.endsWith(u'\n'))
        std::fputc('\n', stream);
}

int usageError(const QCommandLineParser &parser, const QString &error)
{
    printText(stderr, error);
    printText(stderr, parser.helpText());
    return exitUsage;
}

int runStep(const std::function<void()> &work)
{
    try {
        work();
        return 0;
    } catch (const Error &e) {
        printText(stderr, e.message());
    } catch (const std::bad_alloc &) {
        // Inputs too large for this computer: the step ends, as on any error.
        printText(stderr, QStringLiteral("Not enough memory to finish this step."));
    } catch (const std::exception &e) {
        printText(stderr, QString::fromLocal8Bit(e.what()));
    }
    return exitFailure;
}
