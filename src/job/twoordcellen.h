#pragma once

#include "lines/twoord.h"

#include <QString>
#include <cstdint>
#include <vector>

// The six cell texts of a word table row: number, start, end (under the
// caption "Duration"), word, confidence with two decimals, speaker.
class TWoordCellen
{
public:
    // Fills c[0..5] for word w shown as row number nummer, both times
    // shifted by verschuiving milliseconds.
    void vul(QString *c, std::int64_t nummer, const TWoord &w, std::int64_t verschuiving);

    // The cells of all words, row after row, numbered from 1. Long lists are
    // filled by two threads, each with cells of its own.
    static std::vector<QString> vanWoorden(const std::vector<TWoord> &woorden, size_t aantal);

private:
    // Confidences repeat (aligners write two or three decimals), so their
    // texts are kept by the float's bits and shared between rows.
    struct TVertrouwen
    {
        std::uint32_t bits = 0;
        QString tekst;
    };
    TVertrouwen deVertrouwens[1024];
    const QString &vertrouwen(float co);
};
