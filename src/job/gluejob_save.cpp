// The Save command: writes the results of the last Glue next to the joined
// recording. Every file goes through an atomic write, so a failure leaves the
// file it was writing as it was.

#include "job/gluejob.h"

#include "base/atomicfile.h"
#include "base/error.h"
#include "base/paths.h"
#include "base/textfile.h"
#include "formats/karaokebody.h"
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

    srtPath = replaceExtension(joinedTextPath, u".srt"_s);
    const QString chosen =
        person.chooseFileToSave(SaveFilter::Srt, folderPart(srtPath), fileNamePart(srtPath));
    if (chosen.isEmpty())
        return;
    srtPath = chosen;
    clearUpperVectorState();
    writeTextFile(srtPath, srtLines);
    setStatus(StatusLine::Line1, u"Saved: "_s + srtPath);

    saveWordFile();
    saveText();
    saveKaraokePage();
    saveTranscript();
}

void GlueJob::saveWordFile()
{
    const QString baseName = replaceExtension(fileNamePart(joinedWordFilePath), QString());
    // A time cell that is no 32-bit whole number of milliseconds stops Save
    // with the message of the first one, before any file is created.
    checkWordFileTimes(wordTable1);
    // One cell decides for the whole file: a first word without a speaker
    // makes a CTM file, anything else (an empty table too) an SPK file.
    const bool withSpeaker = wordTable1.empty() || wordTable1.front().speaker != u"X";
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
    writeKaraokePage(out, wordTable1, title, joinedRecordingPath);
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
    writeTextFile(path, copy.webVttLines());
}
