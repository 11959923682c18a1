#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class GlueJob;
class PartTableModel;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class WordTableModel;

// The "Parts" tab: the job's list of parts (files, length, start in the
// joined recording, gap after it) with Add, Remove, Move up and Move down,
// files dropped onto it added as parts, and below the list the selected
// part's words and text, editable as the word tables and texts are.
class PartsPanel : public QWidget
{
    Q_OBJECT
public:
    // Runs one command of the job inside the window's error boundary.
    using Runner = std::function<void(const std::function<void(GlueJob &)> &)>;

    explicit PartsPanel(QWidget *parent = nullptr);
    ~PartsPanel() override;

    // The job to show and how to run its commands; nullptr lets go of it.
    void setJob(GlueJob *job, Runner runCommand);
    // Asked before Remove drops a part with its corrections: false keeps it.
    void setRemoveGuard(std::function<bool(GlueJob &)> guard) { removeGuard = std::move(guard); }
    // The job's parts, words or texts changed: shown again once the events
    // of the moment are handled.
    void jobChanged();
    // An edited text of the selected part goes back to the job.
    void writeEditsBack();
    // Adds the files as parts (see GlueJob::addPartFiles) and selects the last part.
    void addFiles(const QStringList &paths);
    int selectedPart() const;
    QTableView *wordTable() const { return sgPartWords; }
    void selectPart(int index);


    // Add's question: the files of one part. A file dialog unless set.
    std::function<QStringList()> chooseFiles;

signals:
    // Another part's words are shown (the player plays that part's recording).
    void selectedPartChanged(int index);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    void refresh();
    void showSelectedPart();
    void moveSelected(int step);
    void run(const std::function<void(GlueJob &)> &command);

    GlueJob *job = nullptr;
    Runner runner;
    std::function<bool(GlueJob &)> removeGuard;
    std::unique_ptr<PartTableModel> partModel;
    std::unique_ptr<WordTableModel> wordModel;
    QTableView *sgParts = nullptr;
    QTableView *sgPartWords = nullptr;
    QPlainTextEdit *mePartText = nullptr;
    QPushButton *btRemove = nullptr;
    QPushButton *btUp = nullptr;
    QPushButton *btDown = nullptr;
    int shownPart = -1;
    bool refreshQueued = false;
};
