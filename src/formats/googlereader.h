#pragma once

struct WordSource;
class FoundWords;

// Google Speech-to-Text JSON: results[].alternatives[0].words[] with
// startTime/endTime as "12.900s" or as {seconds, nanos} (seconds may be a
// text, nanos absent on whole seconds; also snake_case and v2's
// startOffset), confidence and speakerTag. With speaker tags only the last
// result carries them, repeating every word: that result alone is read.
bool isGoogle(const WordSource &source);
void readGoogle(const WordSource &source, FoundWords &found);
