#pragma once

#include <QString>

class QAction;
class QToolBar;
class QWidget;

// The "Help" item of the menu: its list holds "Help" (F1), the steps of
// gluing in the window as the README gives them, and "About Naadwerk", the
// version and the libraries it runs with.
class HelpMenu
{
public:
    // Adds the item to the end of bar; the dialogs open over window.
    static QAction *add(QToolBar *bar, QWidget *window);

    // The README's section on gluing in the window, as Markdown.
    static QString steps();
    // The text of the About box.
    static QString aboutText();

    static void showHelp(QWidget *window);
    static void showAbout(QWidget *window);
};
