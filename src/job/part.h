#pragma once

#include "formats/partfiles.h"
#include "formats/word.h"
#include "formats/wordrow.h"
#include "job/reviewlist.h"

#include <QByteArray>
#include <QStringList>

#include <cstdint>
#include <span>
#include <vector>

struct RecordingInfo;
struct TextLines;
struct WordFileRead;

// One part of an interview: its three files, its words and text as read and
// edited (never shifted), what its recording holds, and the silence that
// follows it in the joined recording. While the interview is glued, the
// part's rows lie in the joined list, shifted (see JoinedWords).
struct Part
{
    PartFiles files;
    std::vector<WordRow> rows;
    std::vector<std::int32_t> lines; // the file line of each row (Glue's warnings name them)
    QStringList openedText;          // as read
    QStringList text;                // as edited
    // The bytes of the word file read last: opening a path that names no
    // regular file reads these again, with the separator then chosen.
    QByteArray heldWordFile;
    // What the word file and the text were read in when it is not UTF-8.
    QString wordFileEncoding, textEncoding;
    int alternations = 0;               // in its NIST word file, each read as its first alternative
    std::int32_t firstAlternation = 0;  // the line of the first
    int untimedWords = 0;               // words of its word file timed by their neighbours or their stretch
    QString firstUntimed;               // the first of them
    std::int64_t frames = 0;         // of the recording as stored, at its own rate
    std::uint32_t rate = 0;          // that rate; 0 before a recording is read
    int channels = 0;                // as stored
    QString recordingFormat;         // "RIFF" for a WAV file, else the coding FFmpeg named
    bool recordingDecoded = false;   // read through FFmpeg's decoders
    std::int64_t gapMs = 0;          // silence after the part
    std::vector<FilledMark> filled;  // rows filled from the transcript

    // Shows words as the part's rows, numbered from 1, and keeps each
    // word's file line.
    void showWords(std::span<const Word> words);
    // Shows the words of a word file read and keeps what the read found.
    void takeWordFile(const WordFileRead &read);
    // Takes a text read as opened and as edited.
    void takeText(TextLines &&read);
    // Takes the transcript a word file holds as the part's text, when the
    // part has no text file of its own (one opened later replaces it).
    void takeTextOfWords(const QStringList &transcript);
    // Takes what a probe learnt of the part's recording.
    void takeRecording(const RecordingInfo &recording);
};
