#pragma once

#include "formats/channelchoice.h"
#include "formats/samples16k.h"

class ByteSource;
struct WavLayout;

// Hands the samples of the WAV file in source, whose header parseWavHeader
// read as layout, to process block by block as mono 16-bit samples at 16000
// frames per second: the channels averaged (or the one channels chooses),
// resampled and rounded by To16k. A mono 16-bit 16 kHz recording is passed
// on bit for bit. Exactly framesAt16k(layout.frameCount, sample rate)
// samples are handed on in all, also when the file got shorter since its
// header was read. Never holds more than a block of the recording in
// memory. Throws the source's read errors and To16k's.
void streamWav(const ByteSource &source, const WavLayout &layout, const SampleBlock &process,
               ChannelChoice channels = ChannelChoice::Mix);
