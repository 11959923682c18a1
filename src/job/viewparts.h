#pragma once

// The parts of the window the glue job talks about, by what they show rather
// than by widget, so the job never needs to see a widget.

// The tabs, left to right.
enum class Tab { Settings, WordTable1, WordTable2, Text1, Text2, Phrases, Subtitles, Transcript, Log, Parts };

// The six status lines at the foot of the window, top to bottom.
enum class StatusLine { Line1, Line2, Line3, Line4, Line5, Line6 };
constexpr int statusLineCount = 6;

// The text views: the two transcript texts, the subtitles, the Word-like
// transcript and the result log.
enum class TextView { Text1, Text2, Subtitles, Transcript, Log };
constexpr int textViewCount = 5;

// The two word tables: the main one shows part 1 before Glue and the joined
// list of every part after; the other shows part 2.
enum class WordTable { Main, PartTwo };
