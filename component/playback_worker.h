#pragma once
// One open media file, played on a thread of its own: it opens the file, decodes the video
// stream, paces the pictures by their time stamps and draws them through the canvas. The
// GUI thread's calls only leave requests and read published figures, so none of them waits
// for decoding. stop() only asks; the destructor asks and waits for the thread, which ends
// after the step it is in (one picture, or opening the file).
// While the picture cannot be seen (setSeen(false)) nothing is decoded or drawn and the
// position holds, yet the state stays what was asked: unseen playing is still playing.
// restart() is opening the same file again, with the reader it already has.
// The path may name a folder: its videos then play in turn (folder_playlist.h), each one
// looping until its time is up (change_interval.h); the last picture of one stays on the
// screen until the next one's first picture, and only one file is open at a time.
// Each file is decoded on the graphics card where that pays (decoder_choice.h), else on the
// processor. When the card fails under a file, the file is opened again, on a new device
// after a lost one, else on the processor, and goes on at the picture it had; the canvas
// keeps the last picture meanwhile.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "component/card_decoding_seam.h"
#include "component/config_items.h"
#include "component/frame_canvas.h"
#include "component/playback_clock.h"
#include "component/playback_state.h"
#include "component/video_reader.h"

class PlaybackWorker {
public:
    PlaybackWorker(std::wstring path, const ConfigItems& config, FrameCanvas& canvas, uint64_t canvasSession);
    ~PlaybackWorker();
    PlaybackWorker(const PlaybackWorker&) = delete;
    PlaybackWorker& operator=(const PlaybackWorker&) = delete;

    void play();
    void pause();
    void seek(int64_t milliseconds);
    void stop();
    void restart();  // as a new opening: "opening" until taken up, then paused at the first picture
    void setSeen(bool seen);
    bool finished() const { return finished_; }  // the thread has ended: destroying is instant

    const std::wstring& path() const { return path_; }
    PlaybackState state() const { return state_; }
    int64_t duration() const { return duration_; }  // milliseconds, 0 until open
    int64_t position() const { return position_; }  // milliseconds of the picture shown
    int videoWidth() const { return videoWidth_; }
    int videoHeight() const { return videoHeight_; }
    bool seeking() const { return seeking_; }
    bool onCard() const { return onCard_; }  // the open file is decoded on the graphics card

private:
    // What the GUI thread's calls ask, as the thread takes it.
    struct Request {
        bool stop = false;
        bool playing = false;
        bool seen = true;
        std::optional<int64_t> seekTo;  // 100 ns units
        bool restart = false;           // until taken, the state says "opening"
    };
    struct Playthrough;  // where the loop stands between two requests
    // How the playback of one file ends.
    enum class FileEnd {
        stopped,     // asked to stop: the worker is done
        changeDue,   // a folder's video finished a pass and its time is up: on to the next
        cardFailed,  // decoding on the card failed: the file is to be opened again
    };

    void run();
    bool playSingleFile(const MediaFoundation& functions);  // false: not playable
    bool playFolder(const MediaFoundation& functions);      // false: none of its videos plays
    bool stopAsked();
    std::unique_ptr<VideoReader> open(const MediaFoundation& functions, const std::wstring& file, bool tryCard);
    std::unique_ptr<DecodingDevice> cardFor(const MediaFoundation& functions, const StoredVideo& video);
    // The whole playback of one file, opened again as often as the card fails; none when it
    // does not open.
    std::optional<FileEnd> play(const MediaFoundation& functions, const std::wstring& file, bool inFolder);
    FileEnd playFile(VideoReader& reader, Playthrough& p);
    void apply(const Request& request, VideoReader& reader, Playthrough& p);
    static void seekTo(int64_t time, VideoReader& reader, Playthrough& p);  // 100 ns of the file
    bool decodeAndDraw(VideoReader& reader, Playthrough& p);                // false: nothing to show yet
    // Its steps in order: the file's end, or a picture noted, passed over (short of a seek's
    // target, or late) or drawn.
    void reachEnd(VideoReader::Outcome outcome, VideoReader& reader, Playthrough& p);
    static void notePicture(const VideoReader::Sample& sample, Playthrough& p);
    static bool shortOfSeekTarget(int64_t time, Playthrough& p);
    static void startPassAt(int64_t time, Playthrough& p);
    static bool droppedAsLate(int64_t time, Playthrough& p);
    bool cardFailed(const VideoReader::Sample& sample, const VideoReader& reader, Playthrough& p) const;
    bool draw(const VideoReader::Sample& sample, const VideoReader& reader, Playthrough& p);  // false: not drawn
    bool showWaiting(Playthrough& p);  // false: a request came first
    Request nextRequest(const Playthrough& p);
    bool sleepUntil(int64_t wallTime, const Playthrough& p);  // false when a request came first
    bool changeAsked(const Playthrough& p) const;             // with the lock held
    static int64_t now();                                     // steady wall time, 100 ns units
    void publishState(PlaybackState state);                   // unless a restart waits: it says "opening" until taken

    const std::wstring path_;
    const ConfigItems& config_;
    FrameCanvas& canvas_;
    const uint64_t canvasSession_;
    const CardDecodingSeam seam_;

    std::mutex mutex_;
    std::condition_variable wakeUp_;
    Request pending_;  // guarded by mutex_

    std::atomic<PlaybackState> state_{PlaybackState::opening};
    std::atomic<int64_t> duration_{0};
    std::atomic<int64_t> position_{0};
    std::atomic<int> videoWidth_{0};
    std::atomic<int> videoHeight_{0};
    std::atomic<bool> seeking_{false};
    std::atomic<bool> onCard_{false};
    std::atomic<bool> finished_{false};

    std::thread thread_;  // last: starts once everything above exists
};
