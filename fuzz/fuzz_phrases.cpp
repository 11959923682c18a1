// Any word table through the phrase building and the SRT building of the
// Glue command, with the settings taken from the first bytes: the phrases
// never fail, the SRT building either fills the cue list or throws Error
// (a time cell that is no number or out of range), and the SRT it renders
// has whole cues numbered from 1 whose times never run backwards.
#include "wordtable.h"

#include "base/error.h"
#include "job/gluesettings.h"
#include "job/subtitlesteps.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    GlueSettings settings;
    settings.skipStarWords = data[0] & 1;
    settings.blankSilence = data[0] & 2;
    settings.widenCues = data[0] & 4;
    // The spin boxes run from 0 to 2000; 0 and 0 is the open point of sharing a gap.
    settings.msBefore = data[0] & 8 ? 0 : data[1] * 2000 / 255;
    settings.msAfter = data[0] & 8 ? 0 : data[2] * 2000 / 255;
    // Phrases ended at pauses of 100 to about 2600 ms.
    settings.endPhrasesAtPauses = data[0] & 16;
    settings.phrasePauseMs = 100 + data[1] * 10;

    // The rows as a person's edits leave them: every cell typed.
    const std::vector<QStringList> cells = wordCellsFromBytes(data + 3, size - 3);
    std::vector<WordRow> rows(cells.size());
    for (size_t r = 0; r < cells.size(); ++r) {
        rows[r].setCell(WordRow::Number, QString::number(r + 1));
        for (int column = WordRow::Start; column <= WordRow::Speaker; ++column)
            rows[r].setCell(static_cast<WordRow::Column>(column), cells[r][column - 1]);
    }

    std::vector<PhraseRow> phrases;
    try {
        phrases = buildPhrases(rows, settings);
    } catch (...) {
        __builtin_trap(); // the phrase building accepts any text
    }
    if (phrases.size() > rows.size())
        __builtin_trap();
    for (size_t i = 0; i < phrases.size(); ++i)
        if (phrases[i].cell(PhraseRow::Number) != QString::number(i + 1))
            __builtin_trap();

    CueList cueList;
    try {
        fillCues(cueList, phrases, settings);
    } catch (const Error &) {
        return 0;
    }
    const std::vector<Cue> &cues = cueList.cues;
    const QStringList srt = cueList.srtLines();
    if (cues.size() < phrases.size())
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
