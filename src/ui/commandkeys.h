#pragma once

#include <vector>

class QMenuBar;
class QWidget;

// The keys of the window's commands beside their underlined letters (which
// the menu bar and the buttons answer themselves): Ctrl+O drops down the
// list of inputs, Ctrl+G glues, Ctrl+S saves, Ctrl+Q exits.
class CommandKeys
{
public:
    // Gives the menu bar's items and the window's Glue and Save actions
    // (found by their object names) their keys; window is where the keys
    // that drop down a list live.
    static void attach(QMenuBar *bar, QWidget *window);
    // Makes Tab walk the widgets in the order given, as the layout shows them.
    static void chain(const std::vector<QWidget *> &widgets);
};
