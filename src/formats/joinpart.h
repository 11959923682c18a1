#pragma once

#include "formats/channelchoice.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>
#include <vector>

// One recording of a join of parts, and where it lands in the joined file.
struct JoinPart
{
    QString path;         // the recording
    qint64 gapFrames = 0; // silence after it, in frames at 16 kHz (the last part's is not written)

    // Set by joinParts as soon as the part has been probed, and again once it
    // has been joined (a file cut short may decode to other than it promised),
    // so they keep what was reached when the join fails later:
    qint64 frames = -1;       // frames as stored, at its own rate
    quint32 rate = 0;         // its own rate
    qint64 firstFrame = -1;   // its first frame in the joined file
    qint64 joinedFrames = -1; // its frames in the joined file: framesAt16k(frames, rate)
};

// Joins the recordings of parts, in the order given, into one mono 16-bit
// 16 kHz file at outPath: each converted by streamRecording, with the
// channels chosen, each but the last followed by its gap of silence. Every
// part is probed (probeRecording) before anything is written, so a bad part,
// or a joined file over 4 GB, is refused before the first sample; a part
// after a failing one keeps its -1s. Each recording is then decoded once and
// its place set from what it decoded to; a recording cut short adds its
// sentence to warnings. Where every part is a WAV file, whose place the probes
// tell exactly, and the join is longer than a minute, two parts are converted
// at a time on two threads, each into its place: the bytes are the same, and
// progress hears the blocks of both as they come. The output is written atomically: the target
// is replaced only when the joined file is complete, so outPath may name an
// input, and a failure leaves whatever was at outPath untouched. Returns the
// frames of the joined file. progress, when given, hears the frames written
// of the total the probes promise after each block, and once more before the
// target is replaced; what it throws ends the join with the target untouched.
// Throws "Cannot open file ..." for a recording that is not there, the errors
// of probeRecording and streamRecording, "The joined recording would be
// larger than 4 GB, more than a WAV file can hold" and
// "Cannot create file "%s". %s".
qint64 joinParts(const QString &outPath, std::vector<JoinPart> &parts,
                 ChannelChoice channels = ChannelChoice::Mix, QStringList *warnings = nullptr,
                 const std::function<void(qint64 done, qint64 total)> &progress = {});
