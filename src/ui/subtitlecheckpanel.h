#pragma once

#include "formats/cuecheck.h"

#include <QWidget>

#include <cstdint>

class QLabel;
class QTableView;
class SubtitleProblemModel;

// Below the subtitles on the "SRT" tab: where the cues break the rules of
// the subtitle profile chosen on the Settings tab, a count per kind and a
// row per problem. A click (or Enter) on a problem chooses its cue.
class SubtitleCheckPanel : public QWidget
{
    Q_OBJECT
public:
    explicit SubtitleCheckPanel(QWidget *parent = nullptr);
    ~SubtitleCheckPanel() override;

    // Shows the problems of the cues, checked under profileName.
    void showCheck(CueCheck check, const QString &profileName);
    QTableView *table() const { return sgProblems; }
    QLabel *summary() const { return lbProblems; }

signals:
    // The person chose the problem of the cue that starts at ms.
    void cueChosen(std::int64_t ms);

private:
    SubtitleProblemModel *model = nullptr;
    QLabel *lbProblems = nullptr;
    QTableView *sgProblems = nullptr;
};
