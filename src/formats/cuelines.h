#pragma once

#include <QString>
#include <QStringView>

#include <span>

// The words of a cue laid out as a subtitler lays them out: on one line when
// they fit; else on as few lines as fit, at most maxLines, broken after
// punctuation first, else where the lines are best balanced, never leaving
// one short word alone on a line where another break works. lengths are the
// shown lengths of the words. Words that fit no layout (a word longer than a
// line) go on the lines that overflow least. Lines are joined with "|".
QString layOutCueLines(std::span<const QStringView> words, std::span<const int> lengths, int lineChars,
                       int maxLines);

// Whether a word ends a clause: its last character is one of ",;:.!?" or a
// dash or an ellipsis, before any closing quotes or brackets.
bool endsClause(QStringView word);
