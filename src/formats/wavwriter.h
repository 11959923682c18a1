#pragma once

#include <QtGlobal>

#include <span>

class AtomicFile;

// Writing PCM WAV files: the 44-byte header and the 16-bit samples after it.

// Writes the 44-byte header of a PCM WAV file that holds frames frames:
// "RIFF", data bytes + 36, "WAVE", "fmt ", 16, 1, channels, rate, 32000, 2,
// bits, "data", data bytes, where data bytes = frames x channels x (bits / 8).
// byteRate and blockAlign are always those of mono 16-bit 16 kHz, the only
// layout written. Throws Error "The joined recording would be larger than
// 4 GB, more than a WAV file can hold" when the sizes exceed 4 GB.
void writeWavHeader(AtomicFile &out, quint16 channels, quint16 bits, quint32 rate, qint64 frames);

// Appends block to out as 16-bit little-endian samples, the data of a file
// whose header writeWavHeader wrote.
void writeSamples(AtomicFile &out, std::span<const qint16> block);
