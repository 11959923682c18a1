#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Pairs two sequences of word keys with a minimal-edit alignment: each word
// of the first is paired with at most one word of the second, in order, so
// that as few words as possible are left unpaired or paired with a word of
// another key. A key below 0 equals nothing (an unknown word): it can only
// be paired as a substitution.
//
// Long sequences stay near-linear: common starts and ends are paired first,
// then words that occur once in both stretches anchor the pairing (the
// longest run of such words in the same order in both), and the stretches
// between anchors are done the same way, down to stretches small enough for
// the plain dynamic-programming alignment. A large stretch without such
// words is aligned within a band around its diagonal.
struct PairingLimits
{
    // A stretch of at most this many cells (words x words) is aligned
    // directly; a larger one looks for anchors first.
    std::size_t directCells = std::size_t(1) << 14;
    // A stretch without anchors of at most this many cells is aligned whole,
    // a larger one within a band of about this many cells.
    std::size_t fullCells = std::size_t(1) << 22;
};

// For every word of words, the index of its partner in text, or -1.
std::vector<std::int32_t> pairWords(std::span<const std::int32_t> words, std::span<const std::int32_t> text,
                                    const PairingLimits &limits = {});

// The edits a pairing stands for: unpaired words of both sequences, and
// pairs of unequal keys.
std::size_t editsOf(std::span<const std::int32_t> words, std::span<const std::int32_t> text,
                    std::span<const std::int32_t> pairing);
