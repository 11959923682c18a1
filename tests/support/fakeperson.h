#pragma once

#include "job/person.h"
#include "ui/filechooser.h"

#include <QList>
#include <QString>
#include <QStringList>

// The one person of the tests: records every notice the job gives and, for
// the window's tests, answers the window's file dialogs from two queues,
// recording every question. A dialog without a queued answer is a fault of
// the test, not a cancel: it ends the test run with a message. Queue an
// empty text for a cancel.
class FakePerson : public Person, public FileChooser
{
public:
    struct Question
    {
        bool save = false; // a save dialog, else an open dialog
        int filter = 0;    // the filter entry, numbered from 1
        QString folder;
        QString proposal;
        bool operator==(const Question &) const = default;
    };

    struct RowNotice
    {
        enum Kind { WordsReplaced, WordsAppended, WordsChanged, PhrasesReplaced, PhrasesChanged };
        Kind kind;
        WordTable table = WordTable::Main; // word notices only
        int first = -1;
        int last = -1; // appended: first + count - 1
        bool operator==(const RowNotice &) const = default;
    };

    QStringList openAnswers; // next answers to chooseFileToOpen
    QStringList saveAnswers; // next answers to chooseFileToSave
    QList<UnsavedChoice> unsavedAnswers; // next answers about unsaved work
    QList<bool> replaceAnswers; // next answers to confirmReplace; none queued: replace
    QList<QStringList> replaceQuestions; // the files of every confirmReplace
    QStringList locateAnswers;           // next answers to locateMovedInput
    QStringList locateProblems;          // what each locateMovedInput said
    QList<bool> restoreAnswers;          // next answers to chooseToRestore
    int restoreQuestions = 0;
    // Every dialog is cancelled without a queued answer (a person who closes
    // each dialog), instead of failing the test.
    bool cancelUnanswered = false;

    QList<Question> questions;
    QStringList logged;
    QList<QPair<int, PartFile>> opened; // every fileOpened: part, file
    int outputsWrittenNotices = 0;
    int gluedNotices = 0;
    QList<TextView> changedTexts;
    QList<RowNotice> rowNotices;
    int unsavedQuestions = 0;       // times the person was asked about unsaved work
    QList<bool> unsavedNotices;     // every unsavedWorkChanged, in order

    QString chooseFileToOpen(OpenFilter filter) override;
    QString chooseFileToSave(SaveFilter filter, const QString &folder, const QString &proposal) override;
    void lineLogged(const QString &line) override { logged.append(line); }
    void fileOpened(int part, PartFile file) override { opened.append({part, file}); }
    void outputsWritten() override { ++outputsWrittenNotices; }
    void glued() override { ++gluedNotices; }
    void textChanged(TextView view) override { changedTexts.append(view); }
    void wordRowsReplaced(WordTable table) override;
    void wordRowsAppended(WordTable table, int first, int count) override;
    void wordRowsChanged(WordTable table, int first, int last) override;
    void phraseRowsReplaced() override;
    void phraseRowsChanged(int first, int last) override;
    UnsavedChoice chooseForUnsavedWork() override;
    bool confirmReplace(const QStringList &paths) override;
    QString locateMovedInput(const QString &problem, OpenFilter filter) override;
    bool chooseToRestore(const QString &when) override;
    void unsavedWorkChanged(bool unsaved) override { unsavedNotices.append(unsaved); }
    // Runs a long step here; with cancelAtReport set, the person cancels it at
    // that report (1 for the first), as Cancel in a window would.
    void runLongStep(const QString &what, const std::function<void(Progress &)> &work) override;
    int cancelAtReport = 0;
    QStringList longSteps; // what each long step said it does
    QList<QPair<qint64, qint64>> reports; // every report of the long steps: done, total

private:
    QString next(QStringList &answers, const char *dialog);
};

// The cells of a row as the table shows them, left to right (WordRow, PhraseRow).
template <typename Row>
QStringList cells(const Row &row)
{
    QStringList texts;
    for (int column = 0; column < Row::columnCount; ++column)
        texts << row.cell(static_cast<typename Row::Column>(column));
    return texts;
}
