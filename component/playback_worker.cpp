#include "component/playback_worker.h"

#include <objbase.h>

#include <algorithm>
#include <climits>

#include "component/change_interval.h"
#include "component/folder_playlist.h"
#include "component/kv_settings.h"

namespace {

constexpr int64_t ticksPerMillisecond = 10000;
constexpr int64_t defaultPictureLength = 333333;  // 30 pictures a second, until the stream tells
constexpr int64_t noTime = INT64_MIN;             // no such time

// Media Foundation's objects live in the multithreaded apartment on this thread.
class MultithreadedApartment {
public:
    MultithreadedApartment() : entered_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ~MultithreadedApartment()
    {
        if (entered_)
            CoUninitialize();
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
      seam_(cardDecodingSeam()),
      thread_([this] {
          run();
          finished_ = true;
      })
{}

PlaybackWorker::~PlaybackWorker()
{
    stop();
    thread_.join();
}

void PlaybackWorker::stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_.stop = true;
    }
    wakeUp_.notify_all();
}

void PlaybackWorker::restart()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (state_ == PlaybackState::closed)
            return;  // nothing open to start over
        pending_.playing = false;
        pending_.seekTo = 0;
        pending_.restart = true;
        seeking_ = false;
        position_ = 0;
        state_ = PlaybackState::opening;
    }
    wakeUp_.notify_all();
}

void PlaybackWorker::setSeen(bool seen)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_.seen = seen;
    }
    wakeUp_.notify_all();
}

void PlaybackWorker::play()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_.playing = true;
        if (state_ == PlaybackState::ended)
            pending_.seekTo = 0;
    }
    wakeUp_.notify_all();
}

void PlaybackWorker::pause()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_.playing = false;
    }
    wakeUp_.notify_all();
}

void PlaybackWorker::seek(int64_t milliseconds)
{
    milliseconds = std::max<int64_t>(0, milliseconds);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_.seekTo = milliseconds * ticksPerMillisecond;
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
        const DWORD attributes = GetFileAttributesW(path_.c_str());
        const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        if (session.started() && (folder ? playFolder(*functions) : playSingleFile(*functions)))
            return;
    }
    // Not playable: nothing to show, every figure 0.
    seeking_ = false;
    position_ = 0;
    state_ = PlaybackState::closed;
}

bool PlaybackWorker::playSingleFile(const MediaFoundation& functions)
{
    return play(functions, path_, false).has_value();
}

// The folder is listed again at each change, so files added or removed meanwhile count. A
// file that does not play is passed over; a whole round of them in a row means none plays.
bool PlaybackWorker::playFolder(const MediaFoundation& functions)
{
    std::wstring current;
    size_t failedInARow = 0;
    while (!stopAsked()) {
        const std::vector<std::wstring> names = videosIn(path_);
        const std::optional<std::wstring> next = nameAfter(names, current);
        if (!next || failedInARow >= names.size())
            return false;
        current = *next;
        const std::optional<FileEnd> end = play(functions, inFolder(path_, current), true);
        if (!end) {
            ++failedInARow;
            continue;
        }
        failedInARow = 0;
        if (*end == FileEnd::stopped)
            return true;
    }
    return true;
}

std::unique_ptr<VideoReader> PlaybackWorker::open(const MediaFoundation& functions, const std::wstring& file,
                                                  bool tryCard)
{
    if (!tryCard)
        return VideoReader::open(functions, file);
    return VideoReader::open(functions, file, [&](const StoredVideo& video) { return cardFor(functions, video); });
}

// kv's "硬件解码" tick, unticked, keeps every file on the processor. A device is made only for
// a codec some card decodes: making one costs time and memory (much of both under Wine).
std::unique_ptr<DecodingDevice> PlaybackWorker::cardFor(const MediaFoundation& functions, const StoredVideo& video)
{
    const bool allowed = playSetting(L"硬件解码", 1) != 0;
    if (seam_.noDevice || (!seam_.force && !worthAskingTheCard(allowed, video.codec)))
        return nullptr;
    std::unique_ptr<DecodingDevice> device = DecodingDevice::create(functions, canvas_.monitor());
    if (!device || seam_.force)
        return device;
    const DecodingFacts facts{allowed, device->adapter(), device->offers(video.width, video.height), video.codec};
    return chooseDecoding(facts) == Decoding::card ? std::move(device) : nullptr;
}

bool PlaybackWorker::stopAsked()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return pending_.stop;
}

// The playback of the open file between two requests: what was asked, the pass of the file
// being played, and the picture drawn into the canvas and waiting for its time.
struct PlaybackWorker::Playthrough {
    struct Pass {
        int pictures = 0;
        int64_t lastTime = 0;          // of the last picture decoded
        int64_t seekTarget = noTime;   // the stamp a seek is after
        int64_t lastPassEnd = noTime;  // after a loop's wrap: when the pass that ended would have ended
        int droppedInARow = 0;
    };
    struct Waiting {
        bool drawn = false;  // a picture is in the canvas, not shown yet
        int64_t time = 0;
    };

    bool inFolder = false;   // a folder's video: it may give way to the next at the end of a pass
    bool changeDue = false;  // a pass ended and the next video is due
    int64_t played = 0;      // of this video since it started, its passes end to end

    bool playing = false;  // as last requested
    bool seen = true;      // as last told
    bool ended = false;    // at the end, not looping
    bool showNext = true;  // the next picture shows at once: the first after opening or a seek
    bool atStart = true;   // the reader has given nothing since opening or going back to 0
    int64_t shownTime = 0;
    int64_t pictureLength = defaultPictureLength;
    // Positions count from the first picture's stamp, which need not be 0 (66.7 ms is seen),
    // so that a clip plays from 0 to its duration and SetPosition(x) shows position x.
    std::optional<int64_t> firstStamp;
    PlaybackClock clock;
    Pass pass;
    Waiting waiting;

    bool cardFailed = false;  // the reader's card failed under it
    bool lostDevice = false;  // ...and its device went with it
    int cardPictures = 0;     // decoded by this reader's card
    bool drawnByReader = false;
    int64_t resumeAt = 0;  // of the file, from a reader that failed

    bool advancing() const { return playing && seen; }
    // The same file from a new reader: its time so far, and a seek to the picture it had,
    // or was seeking.
    Playthrough resumed() const
    {
        Playthrough next;
        next.inFolder = inFolder;
        next.played = played;
        next.pictureLength = pictureLength;
        next.firstStamp = firstStamp;
        next.shownTime = shownTime;
        const int64_t at = pass.seekTarget != noTime ? pass.seekTarget : (waiting.drawn ? waiting.time : shownTime);
        next.resumeAt = std::max<int64_t>(0, at - firstStamp.value_or(0));
        return next;
    }
    bool hasWork() const { return !ended && seen && (showNext || playing); }
};

std::optional<PlaybackWorker::FileEnd> PlaybackWorker::play(const MediaFoundation& functions, const std::wstring& file,
                                                            bool inFolder)
{
    std::unique_ptr<VideoReader> reader = open(functions, file, true);
    Playthrough p;
    p.inFolder = inFolder;
    for (;;) {
        if (!reader)
            return std::nullopt;
        const FileEnd end = playFile(*reader, p);
        if (end != FileEnd::cardFailed)
            return end;
        // A device lost under pictures it decoded (sleep and resume, a driver update) is made
        // anew; any other failure, or a new device failing at once, leaves the file to the
        // processor. The failed reader goes first: one decoder at a time.
        const bool newDevice = p.lostDevice && p.drawnByReader;
        p = p.resumed();
        reader.reset();
        reader = open(functions, file, newDevice);
        if (reader)
            seekTo(p.resumeAt, *reader, p);
    }
}

PlaybackWorker::FileEnd PlaybackWorker::playFile(VideoReader& reader, Playthrough& p)
{
    duration_ = reader.duration() / ticksPerMillisecond;
    const PlaneSize shown = uprightSize(reader.format().width, reader.format().height, reader.format().rotation);
    videoWidth_ = shown.width;
    videoHeight_ = shown.height;
    onCard_ = reader.onCard();

    for (;;) {
        const Request request = nextRequest(p);
        if (request.stop)
            return FileEnd::stopped;
        apply(request, reader, p);
        publishState(p.ended ? PlaybackState::ended : (p.playing ? PlaybackState::playing : PlaybackState::paused));
        if (!p.hasWork())
            continue;  // nothing to do until the next request
        if (!p.waiting.drawn && !decodeAndDraw(reader, p)) {
            if (p.changeDue)
                return FileEnd::changeDue;
            if (p.cardFailed)
                return FileEnd::cardFailed;
            continue;
        }
        if (!showWaiting(p))
            continue;  // the picture stays waiting
        position_ = std::max<int64_t>(0, p.shownTime - p.firstStamp.value_or(0)) / ticksPerMillisecond;
        std::lock_guard<std::mutex> lock(mutex_);
        if (!pending_.seekTo)
            seeking_ = false;
    }
}

void PlaybackWorker::apply(const Request& request, VideoReader& reader, Playthrough& p)
{
    if (request.seekTo)
        seekTo(*request.seekTo, reader, p);
    if (request.restart)
        p.played = 0;  // as opened anew
    const bool wasAdvancing = p.advancing();
    p.playing = request.playing;
    p.seen = request.seen;
    // Time stood still while not advancing. Going on, the picture already drawn and waiting
    // shows at once (else the next one after the shown picture's time).
    if (p.advancing() && !wasAdvancing)
        p.clock.anchor(p.waiting.drawn ? p.waiting.time : p.shownTime, now());
}

// The reader seeks in the file's own time (its first picture at 0), while stamps may carry
// the first picture's offset: the picture wanted is time + offset. A reader that has given
// nothing since it opened or went back to the start is there already: seeking it anyway (a
// host opening the same file twice) would rebuild the platform's decoder for nothing, at the
// cost of a second set of pictures at once.
void PlaybackWorker::seekTo(int64_t time, VideoReader& reader, Playthrough& p)
{
    // Positions count from the first picture's stamp: a seek before any picture was seen (asked
    // at once after opening, or a reader failing at its first) reads that picture first.
    if (!p.firstStamp && p.atStart && time != 0) {
        const VideoReader::Sample first = reader.read();
        if (first.outcome == VideoReader::Outcome::frame)
            p.firstStamp = first.time;
        p.atStart = false;
    }
    if (time != 0 || !p.atStart)
        reader.seek(time);
    p.atStart = time == 0;
    p.pass = Playthrough::Pass{};
    p.pass.seekTarget = time + p.firstStamp.value_or(0);
    p.waiting.drawn = false;
    p.showNext = true;
    p.ended = false;
}

bool PlaybackWorker::decodeAndDraw(VideoReader& reader, Playthrough& p)
{
    const VideoReader::Sample sample = reader.read();
    p.atStart = false;
    if (cardFailed(sample, reader, p))
        return false;
    if (sample.outcome != VideoReader::Outcome::frame) {
        reachEnd(sample.outcome, reader, p);
        return false;
    }
    notePicture(sample, p);
    if (shortOfSeekTarget(sample.time, p))
        return false;
    startPassAt(sample.time, p);
    if (droppedAsLate(sample.time, p))
        return false;
    return draw(sample, reader, p);
}

// A folder's video whose time is up gives way to the next one. Else looping goes back to
// the start for a new pass, if the pass that ended showed anything; else playback stays at
// the end.
void PlaybackWorker::reachEnd(VideoReader::Outcome outcome, VideoReader& reader, Playthrough& p)
{
    Playthrough::Pass& pass = p.pass;
    const int64_t passEnd = pass.lastTime + p.pictureLength;
    if (p.inFolder) {
        if (pass.pictures > 0)
            p.played += passEnd - p.firstStamp.value_or(0);
        const std::chrono::milliseconds played(p.played / ticksPerMillisecond);
        // A pass that failed or showed nothing would not loop: move on rather than stay.
        p.changeDue =
            outcome != VideoReader::Outcome::end || pass.pictures == 0 || changeAtPassEnd(played, changeInterval());
        if (p.changeDue)
            return;
    }
    const bool loop = outcome == VideoReader::Outcome::end && config_.get(loopItem) == 1;
    if (loop && pass.pictures > 0 && reader.seek(0)) {
        p.atStart = true;
        pass = Playthrough::Pass{};
        pass.lastPassEnd = passEnd;
        return;
    }
    p.ended = true;
    pass.seekTarget = noTime;
    seeking_ = false;
    publishState(PlaybackState::ended);
}

// The picture length is the stream's, else the distance between stamps, else as it was.
void PlaybackWorker::notePicture(const VideoReader::Sample& sample, Playthrough& p)
{
    Playthrough::Pass& pass = p.pass;
    if (sample.length > 0) {
        p.pictureLength = sample.length;
    } else if (pass.pictures > 0 && sample.time > pass.lastTime) {
        p.pictureLength = sample.time - pass.lastTime;
    }
    pass.lastTime = sample.time;
    if (!p.firstStamp)
        p.firstStamp = sample.time;
    ++pass.pictures;
}

// After a seek the pictures before the target are decoded and passed over; the first one
// nearer the target than half a picture ends the seek.
bool PlaybackWorker::shortOfSeekTarget(int64_t time, Playthrough& p)
{
    if (p.pass.seekTarget != noTime && time + p.pictureLength / 2 < p.pass.seekTarget)
        return true;
    p.pass.seekTarget = noTime;
    return false;
}

// The first picture of a loop's new pass is due where the pass before it ended.
void PlaybackWorker::startPassAt(int64_t time, Playthrough& p)
{
    if (p.pass.lastPassEnd == noTime)
        return;
    p.clock.startPass(p.pass.lastPassEnd, time);
    p.pass.lastPassEnd = noTime;
}

// A picture shown at once (after opening or a seek) is never late.
bool PlaybackWorker::droppedAsLate(int64_t time, Playthrough& p)
{
    if (!p.showNext) {
        switch (p.clock.lateness(time, now(), p.pictureLength, p.pass.droppedInARow)) {
        case Lateness::drop:
            ++p.pass.droppedInARow;
            return true;
        case Lateness::restartClock:
            p.clock.anchor(time, now());
            break;
        case Lateness::onTime:
            break;
        }
    }
    p.pass.droppedInARow = 0;
    return false;
}

// The card's failures, and those kv's tests plant where Wine's card cannot fail.
bool PlaybackWorker::cardFailed(const VideoReader::Sample& sample, const VideoReader& reader, Playthrough& p) const
{
    if (sample.outcome == VideoReader::Outcome::cardLost) {
        p.cardFailed = true;
        p.lostDevice = sample.lostDevice;
    } else if (reader.onCard() && sample.outcome == VideoReader::Outcome::frame && seam_.lostAfter > 0 &&
               ++p.cardPictures >= seam_.lostAfter) {
        p.cardFailed = p.lostDevice = true;
    }
    return p.cardFailed;
}

// A picture that will not lock is not drawn; on the card that ends the card's turn.
bool PlaybackWorker::draw(const VideoReader::Sample& sample, const VideoReader& reader, Playthrough& p)
{
    DecodedFrame frame(sample.buffer, reader.format());
    if (!frame.valid() || (reader.onCard() && seam_.noLock)) {
        p.cardFailed = reader.onCard();
        return false;
    }
    canvas_.draw(canvasSession_, frame.image(), reader.format().coefficients);
    p.waiting = Playthrough::Waiting{true, sample.time};
    p.drawnByReader = true;
    return true;
}

bool PlaybackWorker::showWaiting(Playthrough& p)
{
    if (p.showNext) {
        p.clock.anchor(p.waiting.time, now());
        p.showNext = false;
    } else if (!sleepUntil(p.clock.dueAt(p.waiting.time), p)) {
        return false;
    }
    canvas_.present(canvasSession_);
    p.waiting.drawn = false;
    p.shownTime = p.waiting.time;
    return true;
}

PlaybackWorker::Request PlaybackWorker::nextRequest(const Playthrough& p)
{
    std::unique_lock<std::mutex> lock(mutex_);
    wakeUp_.wait(lock, [&] { return p.hasWork() || changeAsked(p); });
    const Request request = pending_;
    pending_.seekTo.reset();
    pending_.restart = false;
    return request;
}

bool PlaybackWorker::sleepUntil(int64_t wallTime, const Playthrough& p)
{
    using namespace std::chrono;
    const steady_clock::time_point deadline(duration_cast<steady_clock::duration>(nanoseconds(wallTime * 100)));
    std::unique_lock<std::mutex> lock(mutex_);
    return !wakeUp_.wait_until(lock, deadline, [&] { return changeAsked(p); });
}

void PlaybackWorker::publishState(PlaybackState state)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!pending_.restart)
        state_ = state;
}

bool PlaybackWorker::changeAsked(const Playthrough& p) const
{
    return pending_.stop || pending_.seekTo.has_value() || pending_.playing != p.playing || pending_.seen != p.seen;
}

int64_t PlaybackWorker::now()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count() / 100;
}
