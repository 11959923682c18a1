// Reads a WhisperX file of 500,000 words and the same words as a CTM file,
// as Open reads a part's word file (loadWordFile on the file's bytes), and
// prints the fastest of N reads of each and their ratio. The aim: the JSON
// file takes at most twice as long as the CTM file.
//
//   bench_wordformats [words] [runs]
#include "formats/wordfile.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

// The words as WhisperX writes them: segments of 20 words, every word with
// its speaker, and word_segments repeating each.
QByteArray whisperxFile(int words)
{
    QByteArray out = "{\"segments\": [";
    QByteArray wordSegments;
    for (int i = 0; i < words; i += 20) {
        const int last = std::min(words, i + 20);
        QByteArray text, list;
        for (int k = i; k < last; ++k) {
            const double start = k * 0.31;
            const QByteArray word = "word" + QByteArray::number(k % 977);
            const QByteArray entry = "{\"word\": \"" + word + "\", \"start\": " + QByteArray::number(start, 'g', 17) +
                                     ", \"end\": " + QByteArray::number(start + 0.25, 'g', 17) + ", \"score\": 0." +
                                     QByteArray::number(100 + k % 899) + ", \"speaker\": \"SPEAKER_0" +
                                     QByteArray::number((k / 20) % 2) + "\"}";
            text += ' ' + word;
            list += (k > i ? ", " : "") + entry;
            wordSegments += (k > 0 ? ", " : "") + entry;
        }
        out += (i > 0 ? ", " : "") + QByteArray("{\"start\": ") + QByteArray::number(i * 0.31, 'g', 17) +
               ", \"end\": " + QByteArray::number((last - 1) * 0.31 + 0.25, 'g', 17) + ", \"text\": \"" + text +
               "\", \"words\": [" + list + "], \"speaker\": \"SPEAKER_0" + QByteArray::number((i / 20) % 2) + "\"}";
    }
    return out + "], \"word_segments\": [" + wordSegments + "], \"language\": \"en\"}";
}

QByteArray ctmFile(int words)
{
    QByteArray out;
    for (int k = 0; k < words; ++k) {
        const double start = k * 0.31;
        out += "interview\t1\t" + QByteArray::number(start, 'f', 3) + '\t' + QByteArray::number(start + 0.25, 'f', 3) +
               "\tword" + QByteArray::number(k % 977) + "\t0." + QByteArray::number(100 + k % 899) + "\tSPEAKER_0" +
               QByteArray::number((k / 20) % 2) + '\n';
    }
    return out;
}

// The fastest of runs reads, in ms: the least disturbed by the machine's other work.
double fastestRead(const QByteArray &bytes, int runs, std::size_t &words)
{
    double best = std::numeric_limits<double>::max();
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer timer;
        timer.start();
        const WordFileRead read = loadWordFile(bytes, WordFileFormat{}, QStringLiteral("bench"));
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e6);
        words = read.words.size();
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    const int words = argc > 1 ? std::atoi(argv[1]) : 500000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    const QByteArray json = whisperxFile(words);
    const QByteArray ctm = ctmFile(words);
    std::size_t jsonWords = 0, ctmWords = 0;
    // Side by side, alternating, so both meet the same load.
    // The first read of each, too: the JSON parser's memory is fresh then,
    // its page faults not yet paid, as on the first part Open reads.
    double jsonMs = std::numeric_limits<double>::max(), ctmMs = std::numeric_limits<double>::max();
    double firstJsonMs = 0, firstCtmMs = 0;
    for (int r = 0; r < runs; ++r) {
        ctmMs = std::min(ctmMs, fastestRead(ctm, 1, ctmWords));
        jsonMs = std::min(jsonMs, fastestRead(json, 1, jsonWords));
        if (r == 0) {
            firstCtmMs = ctmMs;
            firstJsonMs = jsonMs;
        }
    }
    std::printf("words: %zu (WhisperX, %.1f MB), %zu (CTM, %.1f MB)\n", jsonWords, json.size() / 1e6, ctmWords,
                ctm.size() / 1e6);
    std::printf("fastest of %d: WhisperX %.0f ms, CTM %.0f ms, ratio %.2f (aim: at most 2)\n", runs, jsonMs, ctmMs,
                jsonMs / ctmMs);
    std::printf("first read: WhisperX %.0f ms, CTM %.0f ms, ratio %.2f\n", firstJsonMs, firstCtmMs, firstJsonMs / firstCtmMs);
    return jsonWords == ctmWords ? 0 : 1;
}
