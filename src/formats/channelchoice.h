#pragma once

// Which channel of a recording goes into the joined mono recording: all of
// them averaged, or one of them (recorders that put one speaker on each
// channel). Left is the first channel, right the second; a mono recording
// has only its one channel, whatever the choice.
enum class ChannelChoice { Mix, Left, Right };

// The index of the channel to take from a recording of channels channels,
// or -1 to average them all.
inline int chosenChannel(ChannelChoice choice, int channels)
{
    if (channels < 2 || choice == ChannelChoice::Mix)
        return -1;
    return choice == ChannelChoice::Left ? 0 : 1;
}
