#pragma once

// The tabs, left to right.
enum class Tab { Settings, WordTable1, WordTable2, Text1, Text2, Phrases, Subtitles, Transcript, Log, Parts, Review };

// The six status lines at the foot of the window, top to bottom. Opening
// fills them with the inputs of parts 1 and 2 (word files, texts,
// recordings); Glue and Save with the files they wrote.
enum class StatusLine { Line1, Line2, Line3, Line4, Line5, Line6 };
constexpr int statusLineCount = 6;
