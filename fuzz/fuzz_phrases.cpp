// Any word table through the phrase building and the SRT building of the
// Glue command, with the settings taken from the first bytes: the phrases
// never fail, the SRT building either fills the cue list or throws Error
// (a time cell that is no number or out of range), and the SRT it renders
// has whole cues numbered from 1 whose times never run backwards.
#include "silentperson.h"
#include "wordtable.h"

#include "base/error.h"
#include "job/gluejob.h"
#include "job/phrasebuilder.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

// A word file of n plain words, whose rows the fuzzed cells then replace.
QString wordFileOf(qsizetype n)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("words.ctm"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        __builtin_trap();
    const QByteArray line("u\t1\t0\t0\tw\t0\n");
    file.write(line.repeated(n));
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    SilentPerson person;
    GlueJob job(person);
    job.settings.skipStarWords = data[0] & 1;
    job.settings.blankSilence = data[0] & 2;
    job.settings.widenCues = data[0] & 4;
    // The spin boxes run from 0 to 2000; 0 and 0 is the open point of sharing a gap.
    job.settings.msBefore = data[0] & 8 ? 0 : data[1] * 2000 / 255;
    job.settings.msAfter = data[0] & 8 ? 0 : data[2] * 2000 / 255;
    job.settings.tabSeparated = true;
    // Phrases ended at pauses of 100 to about 2600 ms.
    job.settings.endPhrasesAtPauses = data[0] & 16;
    job.settings.phrasePauseMs = 100 + data[1] * 10;

    const std::vector<QStringList> cells = wordCellsFromBytes(data + 3, size - 3);
    if (!cells.empty()) {
        person.fileToOpen = wordFileOf(static_cast<qsizetype>(cells.size()));
        job.openWordFile(1);
        if (job.wordRows(WordTable::Main).size() != cells.size())
            __builtin_trap();
        for (size_t r = 0; r < cells.size(); ++r)
            for (int column = WordRow::Start; column <= WordRow::Speaker; ++column)
                job.setWordCell(WordTable::Main, static_cast<int>(r), static_cast<WordRow::Column>(column),
                                cells[r][column - 1]);
    }

    try {
        job.makePhrases();
    } catch (...) {
        __builtin_trap(); // the phrase building accepts any text
    }
    const std::vector<PhraseRow> &phrases = job.phraseRows();
    if (phrases.size() > job.wordRows(WordTable::Main).size())
        __builtin_trap();
    for (size_t i = 0; i < phrases.size(); ++i)
        if (phrases[i].cell(PhraseRow::Number) != QString::number(i + 1))
            __builtin_trap();

    try {
        job.makeSrt();
    } catch (const Error &) {
        return 0;
    }
    const std::vector<Cue> &cues = job.cues.cues;
    const QStringList &srt = job.srtLines;
    if (cues.size() < phrases.size())
        __builtin_trap();
    if (job.text(TextView::Subtitles) != srt)
        __builtin_trap();
    // Each cue: its number, its time line (longer than 29 characters only
    // for times of a day or more), one line per piece of its text
    // between "|" markers (a piece may be empty), an empty line.
    qsizetype r = 0;
    for (size_t i = 0; i < cues.size(); ++i) {
        const Cue &c = cues[i];
        if (c.number != static_cast<std::int32_t>(i + 1) || (i > 0 && cues[i - 1].end > c.start))
            __builtin_trap();
        const qsizetype pieces = c.text.count(u'|') + 1;
        if (r + 3 + pieces > srt.size() || srt[r] != QString::number(i + 1) || srt[r + 1].size() < 29 || !srt[r + 1].contains(u" --> ")
            || !srt[r + 2 + pieces].isEmpty())
            __builtin_trap();
        r += 3 + pieces;
    }
    if (r != srt.size())
        __builtin_trap();
    return 0;
}
