#pragma once

#include "job/textsearch.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The bar under the tabs that Find (Ctrl+F) and Replace (Ctrl+H) open: what
// to find, with whole words and case as options, what to put instead, and
// how often it occurs. It only asks: the window finds and replaces.
class FindBar : public QWidget
{
    Q_OBJECT
public:
    explicit FindBar(QWidget *parent = nullptr);

    // Shows the bar, with the replace field or without, and puts the focus
    // in the find field.
    void open(bool withReplace);
    TextSearch search() const;
    QString replacement() const;
    // Shows the count of matches, in the words, the texts and the phrases.
    void showCounts(const MatchCounts &counts);
    // Shows a line of its own instead (what a replace did, nothing found).
    void say(const QString &line);

signals:
    void searchChanged();
    void findNext();
    void findPrevious();
    void replaceAll();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLineEdit *findField = nullptr;
    QLineEdit *replaceField = nullptr;
    QCheckBox *wholeWords = nullptr;
    QCheckBox *matchCase = nullptr;
    QLabel *counts = nullptr;
    QPushButton *replaceButton = nullptr;
};
