#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

// A text file held as a Line list of trimmed lines: the base of every file
// class. The owner sets fileNaam, then reads, or fills deRegels and writes.
class TLeesFile
{
public:
    TLeesFile();
    virtual ~TLeesFile();

    // Reads fileNaam into deRegels, every line trimmed. A missing file is no
    // error: the earlier lines and deNaam stay. Throws "Cannot open file ...".
    void leesBestand();
    // Saves deRegels to fileNaam atomically. Throws "Cannot create file ...".
    void schrijfBestand();

    QString fileNaam;            // full path of the file to read or write
    QString deNaam;              // name of the file last read, without folder and extension
    QStringList deRegels;        // deRegels: the file's lines
    std::int32_t aantalRegels = 0; // lines counted at the end of the last leesBestand
};
