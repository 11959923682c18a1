#include "support/archive.h"

#include "support/files.h"
#include "support/wavbuilder.h"

#include <QDir>

void writeInterview(const QString &folder, const QString &name)
{
    const QDir dir(QDir(folder).filePath(name));
    QDir().mkpath(dir.path());
    const QByteArray who = name.toUtf8();
    writeSilentWav(dir.filePath("tape_1.wav"), 16000, 1, 16, 4000);
    writeSilentWav(dir.filePath("tape_2.wav"), 16000, 1, 16, 8000);
    writeBytes(dir.filePath("tape_1.spk"), "t\t1\t0.01\t0.10\tso\t0.9\tSP_01 Anna\n"
                                           "t\t1\t0.12\t0.20\t" + who + ".\t1\tSP_01 Anna\n");
    writeBytes(dir.filePath("tape_2.spk"), "t\t1\t0.00\t0.30\tfine.\t0.8\tSP_02 Bob\n");
    writeBytes(dir.filePath("tape_1.txt"), "[StartTime: 10 ms]\n[Speaker: SP_01 Anna]\nSo " + who + ".\n");
    writeBytes(dir.filePath("tape_2.txt"), "[StartTime: 0 ms]\n[Speaker: SP_02 Bob]\nFine.\n");
    writeBytes(dir.filePath("parts.tsv"), "tape_1.spk\ttape_1.txt\ttape_1.wav\ntape_2.spk\ttape_2.txt\ttape_2.wav\n");
}

void writeArchive(const QString &folder, const QStringList &names)
{
    QByteArray manifest = "# name\tlist of parts\n";
    for (const QString &name : names) {
        writeInterview(folder, name);
        manifest += name.toUtf8() + "\t" + name.toUtf8() + "/parts.tsv\n";
    }
    writeBytes(QDir(folder).filePath("manifest.tsv"), manifest);
}
