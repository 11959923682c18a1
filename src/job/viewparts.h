#pragma once

// The parts of the window the glue job talks about, by what they show rather
// than by widget, so the job never needs to see a widget.

// The files of a part, as the Open commands name them.
enum class PartFile { WordFile, Text, Recording };

// The text views: the two transcript texts, the subtitles, the Word-like
// transcript and the result log.
enum class TextView { Text1, Text2, Subtitles, Transcript, Log };
constexpr int textViewCount = 5;

// The two word tables: the main one shows part 1 before Glue and the joined
// list of every part after; the other shows part 2.
enum class WordTable { Main, PartTwo };
