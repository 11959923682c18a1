// The Save command: writes the results of the last Glue next to the joined
// recording. Every file goes through an atomic write, so a failure leaves the
// file it was writing as it was.

#include "job/gluejob.h"

#include "base/atomicfile.h"
#include "base/error.h"
#include "base/paths.h"
#include "base/textfile.h"
#include "formats/karaokebody.h"
#include "formats/standalonepage.h"
#include "formats/wordfilewriter.h"
#include "job/vectorstate.h"

using namespace Qt::Literals::StringLiterals;

void GlueJob::save()
{
    // Without an accepted Glue dialog there is no joined recording to name
    // the other files after: writing them would scatter bare ".ctm" files
    // into the current folder.
    if (joinedRecordingPath.isEmpty())
        throw Error(u"Nothing to save yet: run Glue first."_s);

    const QString proposal = replaceExtension(joinedTextPath, u".srt"_s);
    const QString chosen =
        person.chooseFileToSave(SaveFilter::Srt, folderPart(proposal), fileNamePart(proposal));
    if (chosen.isEmpty())
        return;

    // The five files Save writes, named before any is written, so none of
    // them can replace an opened input.
    const QString wordFilePath =
        replaceExtension(joinedWordFilePath, wordFileWithSpeaker() ? u".spk"_s : u".ctm"_s);
    const QString pagePath = replaceExtension(joinedRecordingPath, u".html"_s);
    const QString wordTranscriptPath = replaceExtension(joinedTextPath, u"_word.txt"_s);
    for (const QString &output : {chosen, wordFilePath, joinedTextPath, pagePath, wordTranscriptPath, partMapPath})
        if (!output.isEmpty())
            checkNotAnInput(output, u"Save would overwrite the opened file \"%1\". Nothing was saved."_s);

    // The derived files follow the words, texts and settings as they are now.
    if (derivedStale)
        rebuildDerived();
    srtPath = chosen;
    clearUpperVectorState();
    writeTextFile(srtPath, srtLines);
    setStatus(StatusLine::Line1, u"Saved: "_s + srtPath);

    saveWordFile();
    saveText();
    saveKaraokePage();
    saveTranscript();
    if (!partMapPath.isEmpty())
        savePartMap();
    setUnsaved(false);
}

// One cell decides for the whole file: a first word without a speaker makes
// a CTM file, anything else (an empty table too) an SPK file.
bool GlueJob::wordFileWithSpeaker() const
{
    return wordTable1.empty() || wordTable1.front().speaker != u"X";
}

void GlueJob::saveWordFile()
{
    // The first field names the recording; the separator the file is written
    // with may not occur in it, or the file could not be read back.
    QString baseName = replaceExtension(fileNamePart(joinedWordFilePath), QString());
    baseName.replace(joinedSeparator, u'_');
    // A time cell that is no 32-bit whole number of milliseconds stops Save
    // with the message of the first one, before any file is created.
    checkWordFileTimes(wordTable1);
    const bool withSpeaker = wordFileWithSpeaker();
    joinedWordFilePath = replaceExtension(joinedWordFilePath, withSpeaker ? u".spk"_s : u".ctm"_s);

    AtomicFile out(joinedWordFilePath);
    writeWordFile(out, wordTable1, baseName, joinedSeparator, withSpeaker, joinedLayout);
    out.commit();
    log(u"Saving CTM: "_s + joinedWordFilePath);
    setStatus(StatusLine::Line4, u"Saved: "_s + joinedWordFilePath);
}

void GlueJob::saveText()
{
    writeTextFile(joinedTextPath, text(TextView::Text1));
    setStatus(StatusLine::Line6, u"Saved: "_s + joinedTextPath);
}

void GlueJob::saveKaraokePage()
{
    log(u"Start making Karaoke"_s);
    karaokePath = replaceExtension(joinedRecordingPath, u".html"_s);
    const QString title = replaceExtension(fileNamePart(joinedTextPath), QString());
    AtomicFile out(karaokePath);
    if (settings.pageStyle == GlueSettings::PageStyle::Standalone) {
        // A glue of parts heads each part; two halves glued the classic
        // way get no part headings.
        StandalonePage page;
        if (partsMode && partRowStarts.size() > 2)
            page.partStarts.assign(partRowStarts.begin() + 1, partRowStarts.end() - 1);
        page.lowConfidence = settings.lowConfidence;
        page.write(out, wordTable1, title, joinedRecordingPath);
    } else {
        writeKaraokePage(out, wordTable1, title, joinedRecordingPath);
    }
    out.commit();
    setStatus(StatusLine::Line2, u"Saved: "_s + karaokePath);
    log(u"Ready making Karaoke"_s);
}

void GlueJob::saveTranscript()
{
    writeTextFile(transcriptPath, transcriptLines);
    setStatus(StatusLine::Line3, u"Saved: "_s + transcriptPath);
}

void GlueJob::saveWebVtt(const QString &path)
{
    // Rendered from a copy: the cues and srtLines stay what Save writes.
    CueList copy = cues;
    if (!partsMode) {
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
