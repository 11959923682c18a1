#pragma once

#include "formats/jsontree.h"
#include "formats/wordfilekind.h"

#include <QByteArrayView>
#include <QString>

#include <span>

class FoundWords;

// What a reader of a structured word file is given: the file's text as
// UTF-8 and, for a reader of JSON, the document parsed once.
struct WordSource
{
    QByteArrayView utf8;
    JsonTree json;
    QString tier; // the tier chosen (TextGrid, EAF); empty for none
};

// One reader of a structured word file, a row of the table detection goes
// through: a new format is a new row.
struct WordReader
{
    enum class Syntax { Json, Xml, Text };
    WordFileKind kind;
    Syntax syntax;
    const char *name;      // as messages name the format
    const char *lookedFor; // what detection looks for, as a refusal names it
    bool (*detects)(const WordSource &source);
    // Throws Error with what is wrong, without the file's name.
    void (*read)(const WordSource &source, FoundWords &found);
};

// Every reader, in the order detection asks them.
std::span<const WordReader> wordReaders();

// The reader of the text (UTF-8, byte-order mark skipped) that kind names,
// or, for Auto, the one whose content it is; nullptr for CTM/SPK lines. A
// JSON reader's document is parsed into source.json. Throws "\"FILE\": not
// a word file Naadwerk knows (...)" naming what was looked for, for a JSON
// or XML file no reader takes, a JSON file that does not parse and a reader
// chosen for a file of other syntax.
const WordReader *findWordReader(QByteArrayView utf8, WordFileKind kind, const QString &fileName,
                                 WordSource &source);
