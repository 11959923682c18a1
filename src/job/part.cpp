#include "job/part.h"

#include "formats/recording.h"
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

void Part::takeRecording(const RecordingInfo &recording)
{
    frames = recording.frames;
    rate = recording.rate;
    recordingFormat = recording.format;
    recordingDecoded = recording.decoded;
}
