#pragma once

#include <QIcon>
#include <QPixmap>

// The window's own pictures, drawn with QPainter so that nothing has to be
// shipped or borrowed: the two logos of the header and the icons of the menu
// and the tabs.
class Icons
{
public:
    // A logo of 168 by 74 pixels: left for the left end of the header,
    // otherwise the one for the right end.
    static QPixmap logo(bool left);

    static QIcon exitDoor();   // an exit door: Exit
    static QIcon openFolder(); // an open folder: Open
    static QIcon arrows();     // two arrows, import and export: Glue
    static QIcon disk();       // a disk: Save
    static QIcon program();    // a generic program: Settings
    static QIcon sheet();      // a sheet with text lines: the word tables
    static QIcon stack();      // a stack of documents: Phrases, Word
    static QIcon picture();    // a picture file: SRT
    static QIcon twoSheets();  // two sheets of paper: Result
};
