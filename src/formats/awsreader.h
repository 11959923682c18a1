#pragma once

struct WordSource;
class FoundWords;

// AWS Transcribe JSON: results.items[] with start_time/end_time and
// alternatives[0].confidence as texts; punctuation items have no times and
// join the word before. Speakers from speaker_label of an item, else from
// results.speaker_labels.segments[].items[] by start time.
bool isAws(const WordSource &source);
void readAws(const WordSource &source, FoundWords &found);
