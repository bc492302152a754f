#pragma once
// The numbers GetState answers.
enum class PlaybackState : int {
    closed = 0,   // nothing open: before Open, after Close, or the file could not be played
    opening = 1,  // Open was accepted; the file is being opened
    paused = 2,   // open and showing a picture, not advancing (also right after opening)
    playing = 3,  // pictures advance with their time stamps
    ended = 4,    // played to the end without looping; Play starts again from the beginning
};
