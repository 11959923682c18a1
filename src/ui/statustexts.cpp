#include "ui/statustexts.h"

using namespace Qt::Literals::StringLiterals;

namespace StatusTexts {

namespace {

// A recording in another format says how long it is: its frame count is at
// its own rate, which the line does not show.
QString recordingText(const Part &part)
{
    QString line = u"Wav-file: "_s + part.files.recording + u" - "_s + part.recordingFormat + u" - "_s
                   + QString::number(part.frames);
    if (part.recordingDecoded && part.rate > 0) {
        const qint64 seconds = part.frames / qint64(part.rate);
        line += u" - "_s + QString::number(seconds / 3600) + u':'
                + QString::number(seconds / 60 % 60).rightJustified(2, u'0') + u':'
                + QString::number(seconds % 60).rightJustified(2, u'0');
    }
    return line;
}

// A text read in another encoding than UTF-8 names it.
QString fileText(const QString &kind, const QString &path, const QString &encoding)
{
    return encoding.isEmpty() ? kind + path : kind + path + u" - "_s + encoding;
}

} // namespace

std::optional<std::pair<StatusLine, QString>> opened(const GlueJob &job, int part, PartFile file)
{
    if (part != 1 && part != 2)
        return std::nullopt;
    const Part &opened = job.part(part - 1);
    const int k = part - 1;
    switch (file) {
    case PartFile::WordFile:
        return std::pair{static_cast<StatusLine>(k), fileText(u"CTM-file: "_s, opened.files.wordFile, opened.wordFileEncoding)};
    case PartFile::Text:
        return std::pair{static_cast<StatusLine>(2 + k), fileText(u"Text-file: "_s, opened.files.text, opened.textEncoding)};
    case PartFile::Recording:
        return std::pair{static_cast<StatusLine>(4 + k), recordingText(opened)};
    }
    return std::nullopt;
}

std::array<std::optional<QString>, statusLineCount> written(const GlueOutputs &outputs)
{
    const auto saved = [](const QString &path) { return std::optional<QString>(u"Saved: "_s + path); };
    // Glue's lines name only what Glue wrote.
    if (outputs.srt.isEmpty())
        return {QString(), QString(), QString(), QString(), saved(outputs.recording), QString()};
    // Save leaves Glue's line as it is.
    return {saved(outputs.srt),      saved(outputs.page), saved(outputs.transcript),
            saved(outputs.wordFile), std::nullopt,        saved(outputs.text)};
}

} // namespace StatusTexts
