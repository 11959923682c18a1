#include "job/alsowritten.h"

#include "base/paths.h"
#include "formats/eafwriter.h"
#include "formats/naadwerkjsonwriter.h"
#include "formats/textgridwriter.h"
#include "formats/wordvttwriter.h"

#include <QDateTime>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Kind
{
    const char16_t *word;
    const char16_t *extension;
    const char16_t *what;
};

constexpr Kind kinds[] = {
    {u"eaf", u".eaf", u"ELAN"},
    {u"textgrid", u".TextGrid", u"TextGrid"},
    {u"vtt-words", u".vtt", u"WebVTT with word times"},
    {u"json", u".json", u"JSON"},
};

} // namespace

std::vector<AlsoWritten> alsoWrittenFiles(const QStringList &words, const QString &recordingPath)
{
    std::vector<AlsoWritten> files;
    for (const Kind &kind : kinds)
        if (words.contains(QStringView(kind.word)))
            files.push_back({QString::fromUtf16(kind.word),
                             replaceExtension(recordingPath, QString::fromUtf16(kind.extension)),
                             QString::fromUtf16(kind.what)});
    return files;
}

void writeAlso(AtomicFile &out, const AlsoWritten &file, const AnnotatedInterview &interview, const CueList &cues)
{
    if (file.word == u"eaf") {
        // With its offset from UTC, as ELAN writes its own documents' dates.
        const QDateTime now = QDateTime::currentDateTime();
        writeEaf(out, interview, now.toOffsetFromUtc(now.offsetFromUtc()));
    } else if (file.word == u"textgrid") {
        writeTextGrid(out, interview);
    } else if (file.word == u"vtt-words") {
        writeWordTimedVtt(out, cues.cues, interview.words, cues.markup);
    } else {
        writeNaadwerkJson(out, interview);
    }
}
