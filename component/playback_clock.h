#pragma once
// When each picture is due, on the wall clock: media time runs from an anchor (a picture's
// time stamp shown at a wall time), so the first picture's stamp, whatever it is, is shown
// at once, and a new pass of a loop starts exactly where the last pass ended. All times in
// 100 ns units.
#include <cstdint>

class PlaybackClock {
public:
    // `mediaTime` is shown at `wallTime`; later pictures follow at their stamps' distance.
    void anchor(int64_t mediaTime, int64_t wallTime)
    {
        mediaAnchor_ = mediaTime;
        wallAnchor_ = wallTime;
    }
    int64_t dueAt(int64_t mediaTime) const { return wallAnchor_ + (mediaTime - mediaAnchor_); }
    // A new pass starts: `firstTime` is due when the old pass's `endTime` would have been.
    void startPass(int64_t endTime, int64_t firstTime) { anchor(firstTime, dueAt(endTime)); }

private:
    int64_t mediaAnchor_ = 0;
    int64_t wallAnchor_ = 0;
};
