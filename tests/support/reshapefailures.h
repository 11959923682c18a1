#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

// The ways reshaping a subtitle file fails, one table for the layers that
// meet them: the subtitle reader (formats) refuses the lines of some,
// reshapeSubtitles (job) throws each message, naadwerk-cli reshape (app)
// prints it and ends with code 1. In the paths and messages "%d" stands for
// a folder of the test's own and "%f" for the input's path.
struct ReshapeFailure
{
    const char *name;
    QString in;         // written with bytes when those are not null
    QByteArray bytes;   // null: in is no file of the test's own
    QString out;
    QString message;
    bool readerRefuses; // parseSubtitleLines refuses the lines of bytes
};

const std::vector<ReshapeFailure> &reshapeFailures();

// A column "failure" and a row for each failure that keep accepts (all when
// keep is empty), holding its place in reshapeFailures().
void addReshapeFailureRows(const std::function<bool(const ReshapeFailure &)> &keep = {});

// The failure of the current row with its input written into folder, and
// its in, out and message spelled out for that folder.
ReshapeFailure placeReshapeFailure(const QString &folder);
