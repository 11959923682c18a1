// The Save command: writes the results of the last Glue next to the joined
// recording. Every file is written whole into a temporary file beside its
// target first; the targets are replaced only once all are complete, so a
// failure or a cancel leaves every one of them as it was.

#include "job/gluejob.h"

#include "base/atomicfile.h"
#include "base/error.h"
#include "base/paths.h"
#include "base/textfile.h"
#include "formats/karaokebody.h"
#include "formats/samples16k.h"
#include "formats/standalonepage.h"
#include "formats/wordfilewriter.h"
#include "job/settingstable.h"
#include "job/alsowritten.h"
#include "job/vectorstate.h"

#include <memory>
#include <vector>

using namespace Qt::Literals::StringLiterals;

void GlueJob::checkReadyToSave() const
{
    // Without a Glue there is no joined recording to name the other files
    // after: writing them would scatter bare ".ctm" files into the current folder.
    if (named.recording.isEmpty())
        throw Error(u"Nothing to save yet: run Glue first."_s);
}

QString GlueJob::proposedSrtPath() const
{
    return replaceExtension(named.text, u".srt"_s);
}

QStringList GlueJob::savePaths(const QString &srtPath, const QString &interviewPath) const
{
    QStringList paths{srtPath,
                      replaceExtension(named.wordFile, wordFileWithSpeaker() ? u".spk"_s : u".ctm"_s),
                      named.text,
                      replaceExtension(named.recording, u".html"_s),
                      replaceExtension(named.text, u"_word.txt"_s)};
    if (!named.partMap.isEmpty())
        paths << named.partMap;
    for (const AlsoWritten &file : alsoWrittenFiles(settings.alsoWrite, named.recording))
        paths << file.path;
    if (!interviewPath.isEmpty())
        paths << interviewPath;
    return paths;
}

QString GlueJob::proposedInterviewPath() const
{
    return replaceExtension(named.recording, u".naadwerk"_s);
}

void GlueJob::save(const QString &chosen, const QString &interviewPath)
{
    checkReadyToSave();
    if (chosen.isEmpty())
        return;

    // The files Save writes, named before any is written, so none of them
    // can replace an opened input.
    const std::vector<AlsoWritten> also = alsoWrittenFiles(settings.alsoWrite, named.recording);
    const QStringList paths = savePaths(chosen, interviewPath);
    const QString &wordFilePath = paths[1];
    const QString &pagePath = paths[3];
    for (const QString &output : paths)
        checkNotAnInput(output, u"Save would overwrite the opened file \"%1\". Nothing was saved."_s);

    // The derived files follow the words, texts and settings as they are now.
    if (derivedStale)
        rebuildDerived();
    // A time cell that is no 32-bit whole number of milliseconds stops Save
    // with the message of the first one, before any file is created.
    checkWordFileTimes(joined.rows());
    clearUpperVectorState();

    // The writing only reads the job: the person may run it on another thread.
    const QStringList partMap = named.partMap.isEmpty() ? QStringList() : partMapLines();
    const AnnotatedInterview interview = also.empty() ? AnnotatedInterview() : annotatedInterview();
    person.runLongStep(u"Saving the results"_s, [&](Progress &progress) {
        const int count = (partMap.isEmpty() ? 5 : 6) + static_cast<int>(also.size()) + int(!interviewPath.isEmpty());
        std::vector<std::unique_ptr<AtomicFile>> files;
        const auto next = [&](const QString &path) -> AtomicFile & {
            progress.report(qint64(files.size()), count); // a cancel comes between files
            files.push_back(std::make_unique<AtomicFile>(path));
            return *files.back();
        };
        writeTextLines(next(chosen), srt);
        writeJoinedWordFile(next(wordFilePath), wordFilePath);
        writeTextLines(next(named.text), text(TextView::Text1));
        writeJoinedPage(next(pagePath));
        writeTextLines(next(named.transcript), transcript);
        if (!partMap.isEmpty())
            writeTextLines(next(named.partMap), partMap);
        for (const AlsoWritten &file : also)
            writeAlso(next(file.path), file, interview, cueList);
        if (!interviewPath.isEmpty())
            writeInterview(next(interviewPath), interviewPath);
        progress.report(count, count);
        // Every file is complete: now they replace their targets.
        for (const std::unique_ptr<AtomicFile> &file : files)
            file->commit();
    });

    named.srt = chosen;
    named.wordFile = wordFilePath;
    named.page = pagePath;
    log(u"Saving CTM: "_s + named.wordFile);
    log(u"Start making Karaoke"_s);
    log(u"Ready making Karaoke"_s);
    person.outputsWritten();
    if (!partMap.isEmpty())
        log(u"Saving part map: "_s + named.partMap);
    named.also.clear();
    for (const AlsoWritten &file : also) {
        named.also << file.path;
        log(u"Saving "_s + file.what + u": "_s + file.path);
    }
    if (!interviewPath.isEmpty()) {
        interviewFile = interviewPath;
        log(u"Saving interview: "_s + interviewPath);
        person.interviewNamed();
    }
    setUnsaved(false);
}

// One cell decides for the whole file: a first word without a speaker makes
// a CTM file, anything else (an empty table too) an SPK file.
bool GlueJob::wordFileWithSpeaker() const
{
    return joined.rows().empty() || joined.rows().front().speaker != u"X";
}

void GlueJob::writeJoinedWordFile(AtomicFile &out, const QString &path) const
{
    // The first field names the recording; the separator the file is written
    // with may not occur in it, or the file could not be read back.
    QString baseName = replaceExtension(fileNamePart(path), QString());
    baseName.replace(separatorOut, u'_');
    writeWordFile(out, joined.rows(), baseName, separatorOut, wordFileWithSpeaker(), layoutOut);
}

AnnotatedInterview GlueJob::annotatedInterview() const
{
    AnnotatedInterview interview;
    interview.words = joined.rows();
    interview.phrases.reserve(phrases.size());
    // A phrase row put in by hand names no rows of these words.
    for (const PhraseRow &phrase : phrases)
        if (phrase.firstWord <= phrase.lastWord && phrase.lastWord < interview.words.size())
            interview.phrases.push_back({phrase.firstWord, phrase.lastWord, phrase.text});
    interview.partStartsMs = partStartsMs();
    interview.partFirstWords.clear();
    for (std::size_t k = 0; k < interview.partStartsMs.size(); ++k)
        interview.partFirstWords.push_back(joined.firstRowOf(k));
    // The recording's end, a part of a millisecond at most after its last frame.
    interview.lengthMs = (joinedFrameCount * 1000 + wavRate - 1) / wavRate;
    interview.recordingPath = named.recording;
    return interview;
}

void GlueJob::writeJoinedPage(AtomicFile &out) const
{
    const QString title = replaceExtension(fileNamePart(named.text), QString());
    KaraokeStyle style;
    style.language = QString::fromLatin1(
        findSetting(u"interviewLanguage")->choices[static_cast<std::size_t>(settings.interviewLanguage)].word);
    if (settings.pageStyle == GlueSettings::PageStyle::Standalone) {
        // A glue of parts heads each part; two halves glued the classic
        // way get no part headings.
        StandalonePage page;
        if (partsListed)
            page.partStarts = joined.laterPartsFirstRows();
        page.lowConfidence = settings.lowConfidence;
        page.style = style;
        page.write(out, joined.rows(), title, named.recording);
    } else {
        writeKaraokePage(out, joined.rows(), title, named.recording, style);
    }
}

void GlueJob::saveWebVtt(const QString &path)
{
    // Rendered from a copy: the cues and srtLines stay what Save writes.
    CueList copy = cueList;
    if (!partsListed) {
        writeTextFile(path, copy.webVttLines());
        return;
    }
    // Each part's cues are rendered on their own, after a note of the parts
    // that start before their first cue; the overlaps are resolved over all
    // cues first, as they would be in one list.
    copy.resolveOverlaps();
    const std::vector<std::int64_t> starts = partStartsMs();
    QStringList lines{u"WEBVTT"_s, QString()};
    std::size_t k = 1;
    std::size_t first = 0;
    const auto renderUpTo = [&](std::size_t end) {
        CueList group;
        group.cues.assign(copy.cues.begin() + static_cast<std::ptrdiff_t>(first),
                          copy.cues.begin() + static_cast<std::ptrdiff_t>(end));
        lines.append(group.webVttLines().mid(2));
        first = end;
    };
    for (std::size_t i = 0; i < copy.cues.size(); ++i) {
        while (k < starts.size() && copy.cues[i].start >= starts[k]) {
            renderUpTo(i);
            lines << u"NOTE Part %1"_s.arg(k + 1) << QString();
            ++k;
        }
    }
    renderUpTo(copy.cues.size());
    writeTextFile(path, lines);
}
