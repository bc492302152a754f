#include "component/playback_worker.h"

#include <objbase.h>

#include <algorithm>
#include <climits>

namespace {

constexpr int64_t kTicksPerMillisecond = 10000;
constexpr int64_t kDefaultPictureLength = 333333;  // 30 pictures a second, until the stream tells
constexpr int64_t kStallLimit = 5000000;           // half a second behind: restart the clock, do not race
constexpr int kMostDroppedInARow = 4;              // late pictures skipped before one is shown anyway
constexpr int64_t kNone = INT64_MIN;               // no such time

// Media Foundation's objects live in the multithreaded apartment on this thread.
class MultithreadedApartment {
public:
    MultithreadedApartment() : entered_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ~MultithreadedApartment()
    {
        if (entered_) CoUninitialize();
    }
    MultithreadedApartment(const MultithreadedApartment&) = delete;
    MultithreadedApartment& operator=(const MultithreadedApartment&) = delete;

private:
    bool entered_;
};

}  // namespace

PlaybackWorker::PlaybackWorker(std::wstring path, const ConfigItems& config, FrameCanvas& canvas,
                               uint64_t canvasSession)
    : path_(std::move(path)),
      config_(config),
      canvas_(canvas),
      canvasSession_(canvasSession),
      thread_([this] {
          run();
          finished_ = true;
      })
{
}

PlaybackWorker::~PlaybackWorker()
{
    stop();
    thread_.join();
}

void PlaybackWorker::stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopRequested_ = true;
    }
    wakeUp_.notify_all();
}

void PlaybackWorker::play()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        playRequested_ = true;
        if (state_ == PlaybackState::ended) seekRequested_ = 0;
    }
    wakeUp_.notify_all();
}

void PlaybackWorker::pause()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        playRequested_ = false;
    }
    wakeUp_.notify_all();
}

void PlaybackWorker::seek(int64_t milliseconds)
{
    milliseconds = std::max<int64_t>(0, milliseconds);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        seekRequested_ = milliseconds * kTicksPerMillisecond;
        seeking_ = true;
        position_ = milliseconds;
    }
    wakeUp_.notify_all();
}

void PlaybackWorker::run()
{
    MultithreadedApartment apartment;
    if (const MediaFoundation* functions = mediaFoundation()) {
        MediaFoundationSession session(*functions);
        if (session.started()) {
            if (std::unique_ptr<VideoReader> reader = VideoReader::open(*functions, path_)) {
                playFile(*reader);
                return;
            }
        }
    }
    // Not playable: nothing to show, every figure 0.
    seeking_ = false;
    position_ = 0;
    publishState(PlaybackState::closed);
}

void PlaybackWorker::playFile(VideoReader& reader)
{
    duration_ = reader.duration() / kTicksPerMillisecond;
    videoWidth_ = reader.format().width;
    videoHeight_ = reader.format().height;

    PlaybackClock clock;
    bool playing = false;   // as last requested
    bool ended = false;     // at the end, not looping
    bool showNext = true;   // the next picture shows at once: the first after opening or a seek
    bool pending = false;   // a picture is drawn into the canvas but not shown yet
    int64_t pendingTime = 0;
    int64_t shownTime = 0;
    int64_t lastTime = 0;   // of the last picture decoded
    int64_t pictureLength = kDefaultPictureLength;
    int64_t seekTarget = kNone;  // the stamp a seek is after
    int64_t passEnd = kNone;     // after a loop's wrap: when the pass that ended would have ended
    int picturesThisPass = 0;
    int droppedInARow = 0;
    // Positions count from the first picture's stamp, which need not be 0 (66.7 ms is seen),
    // so that a clip plays from 0 to its duration and SetPosition(x) shows position x.
    std::optional<int64_t> firstStamp;

    for (;;) {
        const Request request = nextRequest(playing, !ended && (showNext || playing));
        if (request.stop) return;
        if (request.seekTo) {
            // The reader seeks in the file's own time (its first picture at 0), while stamps
            // may carry the first picture's offset: the picture wanted is target + offset.
            reader.seek(*request.seekTo);
            seekTarget = *request.seekTo + firstStamp.value_or(0);
            pending = false;
            showNext = true;
            ended = false;
            passEnd = kNone;
            picturesThisPass = 0;
        }
        if (request.playing != playing) {
            playing = request.playing;
            if (playing) clock.anchor(shownTime, now());
        }
        publishState(ended ? PlaybackState::ended : (playing ? PlaybackState::playing : PlaybackState::paused));
        if (ended || (!showNext && !playing)) continue;  // nothing to do until the next request

        if (!pending) {
            const VideoReader::Sample sample = reader.read();
            if (sample.outcome != VideoReader::Outcome::frame) {
                const bool loop = sample.outcome == VideoReader::Outcome::end && config_.get(kLoopItem) == 1;
                if (loop && picturesThisPass > 0 && reader.seek(0)) {
                    passEnd = lastTime + pictureLength;
                    picturesThisPass = 0;
                    continue;
                }
                ended = true;
                seekTarget = kNone;
                seeking_ = false;
                publishState(PlaybackState::ended);
                continue;
            }
            if (sample.length > 0) {
                pictureLength = sample.length;
            } else if (picturesThisPass > 0 && sample.time > lastTime) {
                pictureLength = sample.time - lastTime;
            }
            lastTime = sample.time;
            if (!firstStamp) firstStamp = sample.time;
            ++picturesThisPass;
            if (seekTarget != kNone && sample.time + pictureLength / 2 < seekTarget) continue;  // decode up to the target
            seekTarget = kNone;
            if (passEnd != kNone) {
                clock.startPass(passEnd, sample.time);
                passEnd = kNone;
            }
            if (!showNext) {
                const int64_t lateness = now() - clock.dueAt(sample.time);
                if (lateness > kStallLimit) {
                    clock.anchor(sample.time, now());
                } else if (lateness > pictureLength && droppedInARow < kMostDroppedInARow) {
                    ++droppedInARow;
                    continue;
                }
            }
            droppedInARow = 0;
            DecodedFrame frame(sample.buffer, reader.format());
            if (!frame.valid()) continue;
            canvas_.draw(canvasSession_, frame.image(), reader.format().coefficients);
            pending = true;
            pendingTime = sample.time;
        }

        if (showNext) {
            clock.anchor(pendingTime, now());
            showNext = false;
        } else if (!sleepUntil(clock.dueAt(pendingTime), playing)) {
            continue;  // a request came first; the picture stays pending
        }
        canvas_.present(canvasSession_);
        pending = false;
        shownTime = pendingTime;
        position_ = std::max<int64_t>(0, shownTime - firstStamp.value_or(0)) / kTicksPerMillisecond;
        std::lock_guard<std::mutex> lock(mutex_);
        if (!seekRequested_) seeking_ = false;
    }
}

PlaybackWorker::Request PlaybackWorker::nextRequest(bool playing, bool hasWork)
{
    std::unique_lock<std::mutex> lock(mutex_);
    wakeUp_.wait(lock, [&] {
        return hasWork || stopRequested_ || seekRequested_.has_value() || playRequested_ != playing;
    });
    Request request{stopRequested_, playRequested_, seekRequested_};
    seekRequested_.reset();
    return request;
}

bool PlaybackWorker::sleepUntil(int64_t wallTime, bool playing)
{
    using namespace std::chrono;
    const steady_clock::time_point deadline(duration_cast<steady_clock::duration>(nanoseconds(wallTime * 100)));
    std::unique_lock<std::mutex> lock(mutex_);
    const bool interrupted = wakeUp_.wait_until(lock, deadline, [&] {
        return stopRequested_ || seekRequested_.has_value() || playRequested_ != playing;
    });
    return !interrupted;
}

int64_t PlaybackWorker::now()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count() / 100;
}
