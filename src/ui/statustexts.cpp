#include "ui/statustexts.h"

#include "base/timetext.h"

#include <QCoreApplication>

using namespace Qt::Literals::StringLiterals;

namespace StatusTexts {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("StatusTexts", text);
}

// "16 kHz", "44.1 kHz": the rate in kHz without trailing zeros.
QString rateText(std::uint32_t rate)
{
    return QString::number(rate / 1000.0, 'g', 6) + u" kHz"_s;
}

QString channelsText(int channels)
{
    if (channels == 1)
        return tr("mono");
    if (channels == 2)
        return tr("stereo");
    return tr("%1 channels").arg(channels);
}

// What a person asks of a recording: its kind, rate, channels and length.
QString recordingText(const Part &part)
{
    // The own reader names a WAV file by its "RIFF" chunk.
    const QString kind = part.recordingFormat == u"RIFF" ? u"WAV"_s : part.recordingFormat;
    QString line = part.files.recording + u" - "_s + kind;
    if (part.rate > 0) {
        line += u", "_s + rateText(part.rate);
        if (part.channels > 0)
            line += u' ' + channelsText(part.channels);
        line += u", "_s + clockText(msOfFrames(part.frames, part.rate));
    }
    return line;
}

// A text read in another encoding than UTF-8 names it.
QString withEncoding(const QString &path, const QString &encoding)
{
    return encoding.isEmpty() ? path : path + u" - "_s + encoding;
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
        return std::pair{static_cast<StatusLine>(k), tr("Word file of part %1: ").arg(part)
                                                         + withEncoding(opened.files.wordFile, opened.wordFileEncoding)};
    case PartFile::Text:
        return std::pair{static_cast<StatusLine>(2 + k),
                         tr("Text of part %1: ").arg(part) + withEncoding(opened.files.text, opened.textEncoding)};
    case PartFile::Recording:
        return std::pair{static_cast<StatusLine>(4 + k), tr("Recording of part %1: ").arg(part) + recordingText(opened)};
    }
    return std::nullopt;
}

std::array<QString, statusLineCount> openedParts(const GlueJob &job)
{
    std::array<QString, statusLineCount> lines;
    for (int part : {1, 2}) {
        const PartFiles &files = job.part(part - 1).files;
        for (auto [file, path] : {std::pair{PartFile::WordFile, &files.wordFile}, std::pair{PartFile::Text, &files.text},
                                  std::pair{PartFile::Recording, &files.recording}}) {
            if (path->isEmpty())
                continue;
            if (const auto line = opened(job, part, file))
                lines[static_cast<std::size_t>(line->first)] = line->second;
        }
    }
    return lines;
}

std::array<std::optional<QString>, statusLineCount> written(const GlueOutputs &outputs)
{
    const auto saved = [](const QString &path) { return std::optional<QString>(tr("Saved: ") + path); };
    // Glue's lines name only what Glue wrote: the recording, written but
    // not yet saved with the rest (Exit says so).
    if (outputs.srt.isEmpty())
        return {QString(), QString(), QString(), QString(), tr("Joined recording written: ") + outputs.recording,
                QString()};
    // Save leaves Glue's line as it is.
    return {saved(outputs.srt),      saved(outputs.page), saved(outputs.transcript),
            saved(outputs.wordFile), std::nullopt,        saved(outputs.text)};
}

} // namespace StatusTexts
