#pragma once

// How the player in the window plays: what a person sets on its bar, kept as
// plain values so they can be stored and given back.
struct PlayerSettings
{
    double rate = 1.0;        // 0.5 to 2
    int volume = 80;          // percent
    bool follow = true;       // the tables select the word playing
    int rewindOnPauseMs = 1000; // pausing steps back this much, 0 to 5000
};
