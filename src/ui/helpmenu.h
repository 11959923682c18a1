#pragma once

#include <QCoreApplication>
#include <QString>

class QAction;
class QMenuBar;
class QWidget;

// The "Help" item of the menu: its list holds "Help" (F1), the steps of
// gluing in the window as the README gives them, and "About Naadwerk", the
// version and the libraries it runs with.
class HelpMenu
{
    Q_DECLARE_TR_FUNCTIONS(HelpMenu)
public:
    // Adds the item to the end of bar; the dialogs open over window.
    static QAction *add(QMenuBar *bar, QWidget *window);

    // The README's section on gluing in the window, as Markdown.
    static QString steps();
    // The text of the About box.
    static QString aboutText();

    static void showHelp(QWidget *window);
    static void showAbout(QWidget *window);
};
