#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// A tier of a TextGrid or EAF file whose intervals are read as words.
struct ChosenTier
{
    qsizetype index = 0; // among the file's tiers
    QString speaker;     // NAME of a tier "NAME - words"; empty for none
};

// The word tiers among tiers (their names, in file order; timed says which
// have times of their own): the tier the person chose by name when chosen
// is not empty; else every tier named "words" or "word" (any case), or
// "NAME - words", one speaker per tier, as the Montreal Forced Aligner
// writes interviews; else the first timed tier. Throws "no tier \"NAME\"
// (the file's tiers: ...)" for a chosen tier the file lacks, and "no tier
// with times" when there is nothing to read.
std::vector<ChosenTier> chooseWordTiers(const QStringList &tiers, const std::vector<bool> &timed,
                                        const QString &chosen);
