#pragma once

class AtomicFile;
struct AnnotatedInterview;

// The version of the Naadwerk JSON files this program writes; it reads the
// versions up to it.
inline constexpr int naadwerkJsonVersion = 1;

// Writes the interview as a Naadwerk JSON file (docs/naadwerk-json.md), UTF-8
// without a byte-order mark: "format" first, then "version", the recording,
// its length, the speakers, the parts, the words (one a line, each with its
// part, start, end, text, confidence and speaker) and the phrases. Times are
// seconds with three decimals as the rows hold them; a confidence is the
// shortest number that reads back as the same float. Does not commit out.
void writeNaadwerkJson(AtomicFile &out, const AnnotatedInterview &interview);
