#pragma once

#include <QLabel>

// A one-line label that keeps its full text but draws a text too long for
// its width with its middle left out ("/home/ann/…/interview_1.wav"), so the
// start and the file name stay in sight. Its tooltip is the full text.
class ElidedLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

    void setFullText(const QString &text);
    // The text as drawn at the label's width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};
