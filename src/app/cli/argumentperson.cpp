#include "app/cli/argumentperson.h"

#include <cstdio>

QString ArgumentPerson::chooseFileToOpen(OpenFilter)
{
    return openAnswer;
}

QString ArgumentPerson::chooseFileToSave(SaveFilter filter, const QString &folder, const QString &proposal)
{
    if (filter == SaveFilter::Recording)
        return joined;
    if (!srt.isEmpty())
        return srt;
    if (folder.isEmpty())
        return proposal;
    return folder.endsWith(u'/') ? folder + proposal : folder + u'/' + proposal;
}

void ArgumentPerson::lineLogged(const QString &line)
{
    std::fputs(qUtf8Printable(line), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
