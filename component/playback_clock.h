#pragma once
// When each picture is due, on the wall clock: media time runs from an anchor (a picture's
// time stamp shown at a wall time), so the first picture's stamp, whatever it is, is shown
// at once, and a new pass of a loop starts exactly where the last pass ended. All times in
// 100 ns units.
#include <cstdint>

// What becomes of a decoded picture that is due now or already past due.
enum class Lateness {
    onTime,        // show it
    drop,          // skip it: the next one is nearer its time
    restartClock,  // show it and let the clock start again from it: too far behind to catch up
};

class PlaybackClock {
public:
    static constexpr int64_t stallLimit = 5000000;  // half a second behind: restart the clock, do not race
    static constexpr int mostDroppedInARow = 4;     // late pictures skipped before one is shown anyway

    // `mediaTime` is shown at `wallTime`; later pictures follow at their stamps' distance.
    void anchor(int64_t mediaTime, int64_t wallTime)
    {
        mediaAnchor_ = mediaTime;
        wallAnchor_ = wallTime;
    }
    int64_t dueAt(int64_t mediaTime) const { return wallAnchor_ + (mediaTime - mediaAnchor_); }
    // A new pass starts: `firstTime` is due when the old pass's `endTime` would have been.
    void startPass(int64_t endTime, int64_t firstTime) { anchor(firstTime, dueAt(endTime)); }

    // The picture stamped `mediaTime`, `pictureLength` long, decoded at `wallTime` after
    // `droppedInARow` pictures were skipped for lateness.
    Lateness lateness(int64_t mediaTime, int64_t wallTime, int64_t pictureLength, int droppedInARow) const
    {
        const int64_t behind = wallTime - dueAt(mediaTime);
        if (behind > stallLimit)
            return Lateness::restartClock;
        if (behind > pictureLength && droppedInARow < mostDroppedInARow)
            return Lateness::drop;
        return Lateness::onTime;
    }

private:
    int64_t mediaAnchor_ = 0;
    int64_t wallAnchor_ = 0;
};
