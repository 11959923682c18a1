#pragma once

#include "job/dropplan.h"
#include "job/gluejob.h"
#include "job/person.h"
#include "job/viewparts.h"
#include "ui/filechooser.h"
#include "ui/windowparts.h"
#include "ui/windowmemory.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <span>
#include <utility>
#include <vector>

class EditActions;
class ElidedLabel;
class FileDialogs;
class InterviewFileActions;
class RecoveryCopy;
class PartsPanel;
class PlayerBar;
class TableFollower;
class PhraseTableModel;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QTabWidget;
class QTableView;
class RecentMenu;
class ReviewPanel;
class SettingsPanel;
class StepRunner;
class SubtitleCheckPanel;
class WordTableModel;

// The main window: a thin view over the glue job. The menu runs the job's
// commands, the tables are views over models of the job's rows, the text
// views show the job's texts and the settings controls write the job's
// settings. The window is the person the job talks to: it answers the file
// questions with dialogs and shows what the job's notices report.
class MainWindow : public QWidget, public Person
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    GlueJob &job() { return *theJob; }

    // Answers the file questions from chooser instead of the dialogs, e.g. a
    // test's fake person; nullptr brings the dialogs back. The window does
    // not own the chooser.
    void setFileChooser(FileChooser *chooser);

    // Opens the inputs of parts 1 and 2 through the Open commands, each path
    // as if it were chosen in its dialog; an empty path leaves its slot alone.
    void openInputs(const std::vector<PartFiles> &parts);
    // Adds parts 3 and on (parts[0] is part 3) to the list of parts and
    // shows it.
    void placeFurtherParts(std::span<const PartFiles> parts);
    // Files dropped on the window, or named on its command line, go to their
    // slots; what has none is named.
    void receiveDrop(const QStringList &paths, const QStringList &reasons);
    // Opens an interview file (asking about unsaved corrections first).
    void openInterview(const QString &path);
    // At start: a recovery copy left by a window that was killed or crashed
    // is offered to the person, and restored or removed.
    void offerRecovery();
    // The recovery copy of unsaved corrections (its folder can be set).
    RecoveryCopy &recovery() { return *recoveryCopy; }

    // Person
    void lineLogged(const QString &line) override;
    void fileOpened(int part, PartFile file) override;
    void outputsWritten() override;
    void glued() override;
    void textChanged(TextView view) override;
    void wordRowsReplaced(WordTable table) override;
    void wordRowsAppended(WordTable table, int first, int count) override;
    void wordRowsChanged(WordTable table, int first, int last) override;
    void phraseRowsReplaced() override;
    void phraseRowsChanged(int first, int last) override;
    void reviewChanged() override;
    void partsChanged() override;
    void unsavedWorkChanged(bool unsaved) override;
    void interviewNamed() override;
    // The long part runs on a thread of its own, with progress and Cancel.
    void runLongStep(const QString &what, const std::function<void(Progress &)> &work) override;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;
    // Closing the window runs Exit when there is unsaved work.
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *makeHeader();
    QWidget *makeMenu();
    QTabWidget *makeTabs();
    QWidget *makeFooter();
    QTableView *makeTable(const QString &name);
    QWidget *withEmptyHint(const QString &name, QTableView *table, int part);
    // The hint of a word table shows while it has no rows.
    void showEmptyHints();
    // Glue and Save run only when the job is ready for them; their tooltips
    // say what is missing.
    void showReadiness();
    void connectTables();
    void connectSettings();
    void connectPlayer();
    // The Edit menu, the find bar and the undo stack (mainwindow_edit.cpp).
    void makeEditActions();
    // The player plays the joined recording after Glue, before it the
    // recording of the part whose word table is shown.
    void choosePlayerRecording();
    void followPlayer(std::int64_t ms);
    bool follows(const TableFollower *follower) const;
    void playRow(TableFollower *follower, int row);
    TableFollower *followerOf(const QWidget *focus) const;
    void showJob();
    // The commands that ask the person first: a file to open, the name of
    // the joined recording, the SRT name, unsaved work at Exit.
    void openFile(GlueJob &job, void (GlueJob::*open)(int, const QString &), OpenFilter filter, int part);
    void glue(GlueJob &job);
    void save(GlueJob &job);
    void exit(GlueJob &job);
    void closeRequested();

    // Runs one command of the job: the one place where its errors are caught
    // and shown; the window goes on afterwards.
    void runCommand(const std::function<void(GlueJob &)> &command);
    void writeEditsBack();
    void showText(TextView view);
    void noteTableWidth();
    void fitPhraseTextColumn();
    void syncTables();
    void showError(const QString &message);
    void showNotice(const QString &name, const QString &message);
    void reopen(const WindowMemory::Interview &interview);
    // After an interview file was opened: its settings and status lines.
    void showOpenedInterview();
    // After a Glue, or once saved as an interview file: the interview heads
    // the Recent list.
    void rememberGlued();
    // What the window remembers between runs: read at start, kept at the end.
    void restoreMemory();
    void keepMemory();
    bool askToCancelStep();
    WordTableModel *wordModel(WordTable table);

    std::unique_ptr<FileDialogs> dialogs;
    FileChooser *chooser = nullptr; // the dialogs unless a chooser was set
    std::unique_ptr<GlueJob> theJob;
    // After the job: they go before it.
    std::unique_ptr<WordTableModel> wordModel1;
    std::unique_ptr<WordTableModel> wordModel2;
    std::unique_ptr<PhraseTableModel> phraseModel;
    // After the models they follow.
    std::array<std::unique_ptr<TableFollower>, 3> followers; // sgCTM1, sgCTM2, sgSRT
    PlayerBar *player = nullptr;
    QMenu *editMenu = nullptr;           // the Edit item's list
    EditActions *editActions = nullptr; // fills it
    int playerPart = 1; // before Glue: the part whose recording the player has
    std::unique_ptr<WindowMemory> memory;
    RecentMenu *recentList = nullptr;
    InterviewFileActions *interviewActions = nullptr; // before the job: the menu holds its items
    RecoveryCopy *recoveryCopy = nullptr;
    StepRunner *step = nullptr;    // the long step that runs, if any
    bool closeAfterStep = false;   // the person closed the window during a step

    QTabWidget *tcData = nullptr;
    QTableView *sgCTM1 = nullptr;
    QTableView *sgCTM2 = nullptr;
    QTableView *sgSRT = nullptr;
    SettingsPanel *settingsPanel = nullptr; // the "Settings" tab
    PartsPanel *partsPanel = nullptr; // the "Parts" tab
    ReviewPanel *reviewPanel = nullptr; // the "Review" tab
    SubtitleCheckPanel *checkPanel = nullptr; // the problems below the subtitles
    std::array<QPlainTextEdit *, textViewCount> textViews{}; // by TextView
    std::array<ElidedLabel *, statusLineCount> statusLabels{};    // by StatusLine
    std::vector<std::pair<QLabel *, QTableView *>> emptyHints;
    std::array<PartFiles, 2> linesShowFiles{};  // the files of parts 1 and 2 the status lines name  // a word table's hint, and the table

    int tableWidth = 0;            // the width the tables have, as last seen
    bool running = false;          // a command runs
    bool writingBack = false;      // edited texts go back to the job
    bool closeAllowed = false;     // Exit said the window may close
    bool closingByEvent = false;   // Exit runs inside a close event
    std::array<bool, textViewCount> textsToShow{}; // texts changed during a command
};
