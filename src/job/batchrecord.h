#pragma once

#include "job/batchinterview.h"
#include "job/batchreport.h"
#include "job/gluesettings.h"

#include <QString>
#include <QStringList>

#include <optional>

// What a finished interview leaves beside its outputs so that --resume can
// skip it: its inputs (path, size, modification time), the settings and the
// program's version it was glued with, its outputs (name and size) and its
// report row (its seconds left out). An interview is up to date when the record is there, its
// inputs, settings and version are those of now and every output is there
// with its size.
class BatchRecord
{
public:
    // The record of the interview as it is now: its inputs and settings.
    BatchRecord(const BatchInterview &interview, const GlueSettings &settings);

    // The record's file in the interview's output folder.
    static QString path(const QString &outputFolder);

    // Adds every file of outputFolder (but the record and files being
    // written) and the row, then writes the record atomically.
    void write(const QString &outputFolder, const BatchRow &row);
    // The row of the record in outputFolder when the interview is up to date
    // there; nothing otherwise.
    std::optional<BatchRow> upToDateRow(const QString &outputFolder) const;

private:
    QStringList lines; // the inputs, the settings and the version
};
