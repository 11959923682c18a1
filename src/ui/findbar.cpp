#include "ui/findbar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

FindBar::FindBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("paFind"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    findField = new QLineEdit;
    findField->setObjectName(QStringLiteral("leFind"));
    findField->setPlaceholderText(tr("Find"));
    findField->setClearButtonEnabled(true);
    replaceField = new QLineEdit;
    replaceField->setObjectName(QStringLiteral("leReplace"));
    replaceField->setPlaceholderText(tr("Replace with"));
    wholeWords = new QCheckBox(tr("Whole words"));
    wholeWords->setObjectName(QStringLiteral("cbWholeWords"));
    matchCase = new QCheckBox(tr("Match case"));
    matchCase->setObjectName(QStringLiteral("cbMatchCase"));
    auto *previous = new QPushButton(tr("Previous"));
    previous->setObjectName(QStringLiteral("pbFindPrevious"));
    auto *next = new QPushButton(tr("Next"));
    next->setObjectName(QStringLiteral("pbFindNext"));
    replaceButton = new QPushButton(tr("Replace all"));
    replaceButton->setObjectName(QStringLiteral("pbReplaceAll"));
    counts = new QLabel;
    counts->setObjectName(QStringLiteral("lbMatches"));
    auto *close = new QPushButton(tr("Close"));
    // No key letters: the window's items and settings have them all; the
    // bar has Enter, F3, Shift+F3 and Escape.
    close->setObjectName(QStringLiteral("pbFindClose"));
    for (QWidget *w : std::initializer_list<QWidget *>{findField, wholeWords, matchCase, previous, next, replaceField,
                                                        replaceButton, counts})
        row->addWidget(w);
    row->addStretch();
    row->addWidget(close);

    connect(findField, &QLineEdit::textChanged, this, &FindBar::searchChanged);
    connect(wholeWords, &QCheckBox::toggled, this, &FindBar::searchChanged);
    connect(matchCase, &QCheckBox::toggled, this, &FindBar::searchChanged);
    connect(findField, &QLineEdit::returnPressed, this, &FindBar::findNext);
    connect(next, &QPushButton::clicked, this, &FindBar::findNext);
    connect(previous, &QPushButton::clicked, this, &FindBar::findPrevious);
    connect(replaceButton, &QPushButton::clicked, this, &FindBar::replaceAll);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    hide();
}

void FindBar::open(bool withReplace)
{
    replaceField->setVisible(withReplace);
    replaceButton->setVisible(withReplace);
    show();
    findField->setFocus();
    findField->selectAll();
    emit searchChanged();
}

TextSearch FindBar::search() const
{
    return {findField->text(), wholeWords->isChecked(), matchCase->isChecked()};
}

QString FindBar::replacement() const
{
    return replaceField->text();
}

void FindBar::showCounts(const MatchCounts &found)
{
    if (findField->text().isEmpty()) {
        counts->clear();
        return;
    }
    counts->setText(tr("Matches: %1 (%2 in words, %3 in texts, %4 in phrases)")
                        .arg(found.total())
                        .arg(found.words)
                        .arg(found.texts)
                        .arg(found.phrases));
}

void FindBar::say(const QString &line)
{
    counts->setText(line);
}

void FindBar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}
