#pragma once

#include <QtGlobal>

#include <span>

class AtomicFile;

// Writing PCM WAV files: the 44-byte header and the 16-bit samples after it.

// Writes the 44-byte header of a PCM WAV file that holds frames frames of
// channels channels of bits-bit samples (a multiple of 8) at rate frames per
// second: "RIFF", data bytes + 36, "WAVE", "fmt ", 16, 1, channels, rate,
// byte rate, block align, bits, "data", data bytes, where block align =
// channels x bits / 8, byte rate = rate x block align and data bytes =
// frames x block align. Throws Error "The joined recording would be larger
// than 4 GB, more than a WAV file can hold" when the sizes exceed 4 GB.
void writeWavHeader(AtomicFile &out, quint16 channels, quint16 bits, quint32 rate, qint64 frames);

// Appends block to out as 16-bit little-endian samples, the data of a file
// whose header writeWavHeader wrote.
void writeSamples(AtomicFile &out, std::span<const qint16> block);
