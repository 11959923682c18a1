#include "app/cli/logprinter.h"

#include <cstdio>

void LogPrinter::lineLogged(const QString &line)
{
    std::fputs(qUtf8Printable(line), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
