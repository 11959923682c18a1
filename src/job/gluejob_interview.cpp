// The interview file: the interview as a person left it, written and opened
// again with every correction.

#include "job/gluejob.h"

#include "base/atomicfile.h"
#include "base/error.h"
#include "base/paths.h"
#include "formats/recording.h"
#include "job/interviewinputs.h"
#include "job/settingstable.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

// A choice is kept by its word, so a file stays readable when choices are added.
QJsonObject settingsObject(const GlueSettings &settings)
{
    QJsonObject object;
    for (const Setting &setting : settingsTable()) {
        const QVariant value = setting.read(settings);
        const QString key = QString::fromLatin1(setting.key);
        if (setting.kind == Setting::Kind::Choice)
            object.insert(key, QString::fromLatin1(setting.choices[static_cast<std::size_t>(value.toInt())].word));
        else
            object.insert(key, QJsonValue::fromVariant(value));
    }
    return object;
}

// A value the table does not accept (a file edited by hand) keeps the setting as it is.
void readSettings(const QJsonObject &object, GlueSettings &settings)
{
    for (const Setting &setting : settingsTable()) {
        const QJsonValue json = object.value(QLatin1StringView(setting.key));
        if (json.isUndefined())
            continue;
        QVariant value;
        switch (setting.kind) {
        case Setting::Kind::Bool:
            value = json.toBool();
            break;
        case Setting::Kind::Int:
            value = json.toInt();
            break;
        case Setting::Kind::Double:
            value = json.toDouble();
            break;
        case Setting::Kind::Choice:
            value = setting.choiceOf(json.toString());
            break;
        case Setting::Kind::Words:
        case Setting::Kind::Set:
            value = json.toVariant().toStringList();
            break;
        }
        if (json.isBool() == (setting.kind == Setting::Kind::Bool) && setting.accepts(value))
            setting.write(settings, value);
    }
}

const std::array<std::pair<const char *, QString GlueOutputs::*>, 7> outputKeys{{
    {"recording", &GlueOutputs::recording},
    {"text", &GlueOutputs::text},
    {"wordFile", &GlueOutputs::wordFile},
    {"srt", &GlueOutputs::srt},
    {"transcript", &GlueOutputs::transcript},
    {"page", &GlueOutputs::page},
    {"partMap", &GlueOutputs::partMap},
}};

} // namespace

InterviewFile GlueJob::interviewSnapshot(const QString &folder, bool copyRows) const
{
    // Paths relative to the interview file's folder, so a folder moved whole
    // with its interview opens again; absolute without a folder.
    const QDir base(folder);
    const auto pathFor = [&](const QString &path) {
        if (path.isEmpty())
            return path;
        // A path given relative to the working folder (the command line) is
        // made whole first.
        const QString absolute = QFileInfo(path).absoluteFilePath();
        return folder.isEmpty() ? absolute : base.relativeFilePath(absolute);
    };
    InterviewFile file;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const Part &part = parts[k];
        InterviewPart saved;
        const QString *paths[] = {&part.files.wordFile, &part.files.text, &part.files.recording};
        for (std::size_t f = 0; f < 3; ++f) {
            saved.inputs[f] = describeInput(*paths[f]);
            saved.inputs[f].path = pathFor(*paths[f]);
        }
        saved.gapMs = part.gapMs;
        saved.frames = part.frames;
        saved.rate = part.rate;
        saved.recordingFormat = part.recordingFormat;
        saved.recordingDecoded = part.recordingDecoded;
        saved.wordFileEncoding = part.wordFileEncoding;
        saved.textEncoding = part.textEncoding;
        saved.alternations = part.alternations;
        saved.firstAlternation = part.firstAlternation;
        saved.text = part.text;
        if (copyRows) {
            const InterviewRows rows = interviewRows(k);
            saved.rows.assign(rows.rows.begin(), rows.rows.end());
            for (WordRow &row : saved.rows) {
                row.start -= rows.shiftMs;
                row.end -= rows.shiftMs;
            }
        }
        file.parts.push_back(std::move(saved));
    }
    file.gluesParts = partsListed;
    file.settings = settingsObject(settings);
    file.outputSeparator = QString(separatorOut);
    file.outputLayout = layoutOut == WordFileLayout::Nist ? u"nist"_s : u"aligner"_s;
    if (isGlued()) {
        file.joinedRecording = pathFor(named.recording);
        file.joinedFrames = joinedFrameCount;
        for (const JoinPart &place : placed)
            file.placements.push_back({place.gapFrames, place.frames, place.firstFrame, place.joinedFrames, place.rate});
        for (const auto &[key, member] : outputKeys)
            if (!(named.*member).isEmpty())
                file.outputs.insert(QString::fromLatin1(key), pathFor(named.*member));
    }
    return file;
}

InterviewRows GlueJob::interviewRows(std::size_t part) const
{
    if (isGlued() && part < placed.size())
        return {joined.partRows(part), partOffset(part)};
    return {parts[part].rows, 0};
}

void GlueJob::writeInterview(AtomicFile &out, const QString &path) const
{
    const InterviewFile file = interviewSnapshot(QFileInfo(path).absolutePath(), false);
    writeInterviewFile(out, file, [this](std::size_t part) { return interviewRows(part); });
}

void GlueJob::saveInterview(const QString &path)
{
    if (path.isEmpty())
        return;
    checkNotAnInput(path, u"Saving the interview would overwrite the opened file \"%1\". Nothing was saved."_s);
    person.runLongStep(u"Saving the interview"_s, [&](Progress &progress) {
        AtomicFile out(path);
        writeInterview(out, path);
        progress.report(1, 1);
        out.commit();
    });
    interviewFile = path;
    log(u"Saving interview: "_s + path);
    setUnsaved(false);
    person.interviewNamed();
}

void GlueJob::openInterview(InterviewFile file, const QString &path, OpenedAs as)
{
    // Nothing of the job is changed before this point: a failure of the read
    // left everything as it was.
    joined.release(parts);
    placed.clear();
    parts.clear();
    for (InterviewPart &saved : file.parts) {
        Part part;
        part.files = {saved.inputs[InterviewPart::WordFile].path, saved.inputs[InterviewPart::Text].path,
                      saved.inputs[InterviewPart::Recording].path};
        part.rows = std::move(saved.rows); // a million rows are moved, never copied
        part.openedText = saved.text;
        part.text = saved.text;
        part.wordFileEncoding = saved.wordFileEncoding;
        part.textEncoding = saved.textEncoding;
        part.alternations = saved.alternations;
        part.firstAlternation = saved.firstAlternation;
        part.frames = saved.frames;
        part.rate = saved.rate;
        part.recordingFormat = saved.recordingFormat;
        part.recordingDecoded = saved.recordingDecoded;
        part.gapMs = saved.gapMs;
        parts.push_back(std::move(part));
    }
    if (parts.size() < 2)
        parts.resize(2);
    partsListed = file.gluesParts;
    readSettings(file.settings, settings);
    separatorOut = file.outputSeparator.size() == 1 ? file.outputSeparator[0] : u' ';
    layoutOut = file.outputLayout == u"nist"_s ? WordFileLayout::Nist : WordFileLayout::Aligner;
    named = GlueOutputs();
    phrases = {};
    cueList = CueList();
    srt = QStringList();
    transcript = QStringList();
    for (TextView view : {TextView::Subtitles, TextView::Transcript})
        textRef(view) = QStringList();
    dropReview();
    interviewFile = path;

    if (!path.isEmpty())
        log(u"Opening interview: "_s + path);
    showOpenedParts();
    if (joinedRecordingStillThere(file))
        showGlueAgain(file);
    setUnsaved(as == OpenedAs::Recovered);
    person.interviewNamed();
}

// The result of the last Glue can be shown without joining the recordings
// again when the joined recording is there with the frames it had.
bool GlueJob::joinedRecordingStillThere(const InterviewFile &file) const
{
    const std::size_t glued = partsListed ? static_cast<std::size_t>(partCount()) : 2;
    if (file.joinedRecording.isEmpty() || file.placements.size() != glued || !isRegularFile(file.joinedRecording))
        return false;
    try {
        return probeRecording(file.joinedRecording).frames == file.joinedFrames;
    } catch (const Error &) {
        return false;
    }
}

void GlueJob::showGlueAgain(const InterviewFile &file)
{
    joinedFrameCount = file.joinedFrames;
    for (std::size_t k = 0; k < file.placements.size(); ++k) {
        const InterviewPlacement &place = file.placements[k];
        JoinPart part;
        part.path = parts[k].files.recording;
        part.gapFrames = place.gapFrames;
        part.frames = place.frames;
        part.rate = place.rate;
        part.firstFrame = place.firstFrame;
        part.joinedFrames = place.joinedFrames;
        placed.push_back(std::move(part));
    }
    for (const auto &[key, member] : outputKeys)
        named.*member = file.outputs.value(QLatin1StringView(key)).toString();
    named.recording = file.joinedRecording;
    joinWordLists();
    showJoinedText();
    rebuildDerived();
    textRef(TextView::Text2) = parts[1].text;
    reportText(TextView::Text2);
    log(u"The result of the last Glue is shown again: "_s + named.recording);
    person.partsChanged();
    person.outputsWritten();
    person.glued();
}

// Every view shows the parts as opened, as the Open commands would show them.
void GlueJob::showOpenedParts()
{
    for (TextView view : {TextView::Subtitles, TextView::Transcript})
        reportText(view);
    person.phraseRowsReplaced();
    for (int k = 0; k < 2; ++k) {
        reportPartRows(k);
        showPartText(k);
    }
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const PartFiles &files = parts[k].files;
        const std::pair<const QString &, PartFile> named[] = {
            {files.wordFile, PartFile::WordFile}, {files.text, PartFile::Text}, {files.recording, PartFile::Recording}};
        for (const auto &[path, file] : named)
            if (!path.isEmpty())
                person.fileOpened(static_cast<int>(k + 1), file);
    }
    person.partsChanged();
}
