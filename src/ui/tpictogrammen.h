#pragma once

#include <QIcon>
#include <QPixmap>

// The window's own pictures, drawn with QPainter so that nothing has to be
// shipped or borrowed: the two logos of the header and the icons of the menu
// and the tabs.
class TPictogrammen
{
public:
    // A logo of 168 by 74 pixels: links for the left end of the header,
    // otherwise the one for the right end.
    static QPixmap logo(bool links);

    static QIcon deur();        // an exit door: Exit
    static QIcon openMap();     // an open folder: Open
    static QIcon pijlen();      // two arrows, import and export: Glue
    static QIcon schijf();      // a disk: Save
    static QIcon programma();   // a generic program: Settings
    static QIcon blad();        // a sheet with text lines: the word tables
    static QIcon stapel();      // a stack of documents: Phrases, Word
    static QIcon plaatje();     // a picture file: SRT
    static QIcon tweeBladen();  // two sheets of paper: Result
};
