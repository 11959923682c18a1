#include "support/fakeperson.h"

#include "base/cancelled.h"

#include <QtGlobal>

#include <cstdlib>

QString FakePerson::next(QStringList &answers, const char *dialog)
{
    if (!answers.isEmpty())
        return answers.takeFirst();
    if (cancelUnanswered)
        return QString();
    qFatal("%s dialog asked for without a queued answer", dialog);
    std::abort();
}

QString FakePerson::chooseFileToOpen(OpenFilter filter)
{
    questions.append({false, static_cast<int>(filter), QString(), QString()});
    return next(openAnswers, "an open");
}

QString FakePerson::chooseFileToSave(SaveFilter filter, const QString &folder, const QString &proposal)
{
    questions.append({true, static_cast<int>(filter), folder, proposal});
    return next(saveAnswers, "a save");
}

void FakePerson::wordRowsReplaced(WordTable table)
{
    rowNotices.append({RowNotice::WordsReplaced, table, -1, -1});
}

void FakePerson::wordRowsAppended(WordTable table, int first, int count)
{
    rowNotices.append({RowNotice::WordsAppended, table, first, first + count - 1});
}

void FakePerson::wordRowsChanged(WordTable table, int first, int last)
{
    rowNotices.append({RowNotice::WordsChanged, table, first, last});
}

void FakePerson::phraseRowsReplaced()
{
    rowNotices.append({RowNotice::PhrasesReplaced, WordTable::Main, -1, -1});
}

void FakePerson::phraseRowsChanged(int first, int last)
{
    rowNotices.append({RowNotice::PhrasesChanged, WordTable::Main, first, last});
}

bool FakePerson::confirmReplace(const QStringList &paths)
{
    replaceQuestions.append(paths);
    // A person who chose a name that exists in the save dialog replaces it.
    return replaceAnswers.isEmpty() || replaceAnswers.takeFirst();
}

UnsavedChoice FakePerson::chooseForUnsavedWork()
{
    ++unsavedQuestions;
    if (!unsavedAnswers.isEmpty())
        return unsavedAnswers.takeFirst();
    if (cancelUnanswered)
        return UnsavedChoice::Cancel;
    qFatal("the question about unsaved work asked for without a queued answer");
    std::abort();
}

QString FakePerson::locateMovedInput(const QString &problem, OpenFilter filter)
{
    locateProblems.append(problem);
    questions.append({false, static_cast<int>(filter), QString(), QString()});
    return next(locateAnswers, "a locate");
}

bool FakePerson::chooseToRestore(const QString &when)
{
    (void)when;
    ++restoreQuestions;
    if (!restoreAnswers.isEmpty())
        return restoreAnswers.takeFirst();
    qFatal("the question about a recovery copy asked for without a queued answer");
    std::abort();
}

void FakePerson::runLongStep(const QString &what, const std::function<void(Progress &)> &work)
{
    longSteps.append(what);
    struct Watched : Progress
    {
        FakePerson &person;
        explicit Watched(FakePerson &person) : person(person) {}
        void report(qint64 done, qint64 total) override
        {
            person.reports.append({done, total});
            if (person.cancelAtReport > 0 && person.reports.size() >= person.cancelAtReport)
                throw Cancelled();
        }
    } progress(*this);
    work(progress);
}
