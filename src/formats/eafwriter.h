#pragma once

#include <QDateTime>

class AtomicFile;
struct AnnotatedInterview;

// Writes the interview as an ELAN annotation document (EAF 3.0), UTF-8,
// for the file eafPath beside the joined recording: a MEDIA_DESCRIPTOR
// naming the recording by its absolute URL and relative to the document,
// time slots in ms in increasing order, and per speaker a tier of its
// phrases (named after the speaker, PARTICIPANT the speaker) with a child
// tier "SPEAKER - words" of its words (time-aligned, "Included_In"). A
// phrase where several speakers speak gives each of them a phrase of their
// words. Words that name no speaker give tiers "phrases" and "words" when
// no word names one. Rows that are empty or "SIL", and words in no phrase,
// are left out; a speaker's items that overlap are laid out as TierLayout
// says. written is the document's DATE. Does not commit out.
void writeEaf(AtomicFile &out, const AnnotatedInterview &interview, const QDateTime &written);
