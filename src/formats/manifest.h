#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// One row of a batch manifest: an interview's name and the path of its list
// of parts (see parsePartList), on line `line` of the manifest.
struct ManifestRow
{
    QString name;
    QString partList;
    int line = 0;
};

// The rows of a manifest: "NAME<TAB>PARTS-LIST" a line, the list's path
// relative to folder. Empty lines and lines starting with "#" are skipped;
// fields are trimmed. The name becomes a folder of the outputs, so it may
// not be empty, ".", "..", hold a "/" or a control character, or start with
// "."; no two rows may have one name. Throws Error naming name and the line:
// a manifest that is not one (no tab, a binary file) fails at its first line.
std::vector<ManifestRow> parseManifest(const QStringList &lines, const QString &folder, const QString &name);

// Why an interview may not be called name, empty when it may (see above).
QString refusedInterviewName(const QString &name);
