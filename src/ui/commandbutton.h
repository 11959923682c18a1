#pragma once

class QAction;
class QPushButton;

// A push button that runs action: it shows the action's text with its
// underlined letter (Alt and that letter press it), its icon, and follows its
// enabled state and tooltip. A button, not a menu item: a screen reader gets
// its tooltip as its description, so a disabled command says what is
// missing. The button is named after the action, "mi" becoming "bt".
QPushButton *commandButton(QAction *action);
