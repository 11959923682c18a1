#pragma once

#include "lines/tleesfile.h"
#include "lines/twoord.h"

#include <QChar>
#include <vector>

// A CTM or SPK word file: one aligned word per line, fields separated by sep.
class TleesCTM : public TLeesFile
{
public:
    TleesCTM();

    // aantalWoorden := n; Woorden resized, earlier records kept.
    void maakRecords(std::int32_t n);
    // Reads fileNaam and, when it has lines, parses them into Woorden.
    // Throws "'%s' is not a valid floating point value" on a bad number.
    void leesBestand();
    void schrijfBestand();

    std::int32_t aantalWoorden = 0;
    std::vector<TWoord> Woorden;
    QChar sep = u' ';

private:
    void leesWoorden();
    // Parses lines [van, tot); i is the line being parsed when it throws.
    void leesWoorden(std::int32_t van, std::int32_t tot, std::int32_t &i);
};
