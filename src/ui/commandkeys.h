#pragma once

#include <vector>

class QToolBar;
class QWidget;

// The keys of the window's commands. The menu is a tool bar, whose buttons
// show an item's text without its mnemonic, so the mnemonics (Alt and the
// underlined letter) are given as shortcuts here, beside the standard keys:
// Open (drops down the list of inputs), Ctrl+G Glue, Save, Quit and Help.
class CommandKeys
{
public:
    // Gives the items of bar (found by their object names) their keys; window
    // is where the keys that open a drop-down list live.
    static void attach(QToolBar *bar, QWidget *window);
    // Makes Tab walk the widgets in the order given, as the layout shows them.
    static void chain(const std::vector<QWidget *> &widgets);
};
