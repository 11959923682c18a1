#include "job/part.h"

#include "base/textfile.h"
#include "formats/recording.h"
#include "formats/wordfile.h"
#include "job/wordrowfill.h"

void Part::showWords(std::span<const Word> words)
{
    // The rows shown before go first: a long list is never held twice.
    std::vector<WordRow>().swap(rows);
    filled.clear();
    std::vector<WordRow> shown(words.size());
    fillWordRows(shown, words, 1, 0);
    lines.resize(words.size());
    for (std::size_t i = 0; i < words.size(); ++i)
        lines[i] = words[i].line;
    rows = std::move(shown);
}

void Part::takeWordFile(const WordFileRead &read)
{
    showWords(read.words);
    wordFileEncoding = read.encoding;
    alternations = read.alternations;
    firstAlternation = read.firstAlternation;
    untimedWords = read.untimed;
    firstUntimed = read.firstUntimed;
}

void Part::takeTextOfWords(const QStringList &transcript)
{
    if (!files.text.isEmpty())
        return;
    openedText = transcript;
    text = openedText;
    textEncoding.clear();
}

void Part::takeText(TextLines &&read)
{
    openedText = std::move(read.lines);
    text = openedText;
    textEncoding = std::move(read.encoding);
}

void Part::takeRecording(const RecordingInfo &recording)
{
    frames = recording.frames;
    rate = recording.rate;
    channels = recording.channels;
    recordingFormat = recording.format;
    recordingDecoded = recording.decoded;
}
