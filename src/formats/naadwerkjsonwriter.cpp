#include "formats/naadwerkjsonwriter.h"

#include "base/paths.h"
#include "base/utf8writer.h"
#include "formats/annotatedinterview.h"
#include "formats/jsontext.h"

using namespace Qt::Literals::StringLiterals;

void writeNaadwerkJson(AtomicFile &out, const AnnotatedInterview &interview)
{
    Utf8Writer w(out);
    w << "{\n  \"format\": \"naadwerk\",\n  \"version\": " << QString::number(naadwerkJsonVersion)
      << ",\n  \"recording\": " << jsonQuoted(fileNamePart(interview.recordingPath))
      << ",\n  \"length\": " << jsonSeconds(interview.lengthMs) << ",\n  \"speakers\": [";
    bool first = true;
    for (const QString &speaker : interview.speakers()) {
        if (!namesSpeaker(speaker))
            continue;
        w << (first ? "" : ", ") << jsonQuoted(speaker);
        first = false;
    }
    w << "],\n  \"parts\": [";
    const std::size_t parts = interview.partFirstWords.size();
    for (std::size_t k = 0; k < parts; ++k) {
        const std::size_t end = k + 1 < parts ? interview.partFirstWords[k + 1] : interview.words.size();
        w << (k ? ",\n" : "\n") << "    {\"part\": " << QString::number(k + 1)
          << ", \"start\": " << jsonSeconds(interview.partStartsMs[k])
          << ", \"words\": " << QString::number(end - interview.partFirstWords[k]) << '}';
    }
    w << (parts ? "\n  ],\n  \"words\": [" : "],\n  \"words\": [");
    // One word a line: a file of a million words stays readable in an editor.
    std::size_t part = 0;
    for (std::size_t r = 0; r < interview.words.size(); ++r) {
        while (part + 1 < parts && r >= interview.partFirstWords[part + 1])
            ++part;
        const WordRow &row = interview.words[r];
        w << (r ? ",\n" : "\n") << "    {\"part\": " << QString::number(part + 1)
          << ", \"start\": " << jsonSeconds(interview.startMs(r)) << ", \"end\": " << jsonSeconds(interview.endMs(r))
          << ", \"word\": " << jsonQuoted(row.text) << ", \"confidence\": " << jsonFloat(row.confidence)
          << ", \"speaker\": " << jsonSpeaker(row.speaker) << '}';
    }
    w << (interview.words.empty() ? "],\n  \"phrases\": [" : "\n  ],\n  \"phrases\": [");
    for (std::size_t i = 0; i < interview.phrases.size(); ++i) {
        const AnnotatedPhrase &phrase = interview.phrases[i];
        w << (i ? ",\n" : "\n") << "    {\"start\": " << jsonSeconds(interview.startMs(phrase.firstWord))
          << ", \"end\": " << jsonSeconds(interview.endMs(phrase.lastWord)) << ", \"text\": " << jsonQuoted(phrase.text)
          << ", \"speaker\": " << jsonSpeaker(interview.words[phrase.firstWord].speaker)
          << ", \"firstWord\": " << QString::number(phrase.firstWord)
          << ", \"lastWord\": " << QString::number(phrase.lastWord) << '}';
    }
    w << (interview.phrases.empty() ? "]\n}\n" : "\n  ]\n}\n");
    w.flush();
}
