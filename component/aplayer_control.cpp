#include "component/aplayer_control.h"

#include <algorithm>
#include <string>

namespace {

constexpr LONG answerAccepted = 0;
constexpr LONG answerRefused = -1;
constexpr wchar_t versionText[] = L"kv APlayer 1.0";

// A file, or a folder whose videos play in turn.
bool exists(const wchar_t* path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

std::wstring fullPath(const wchar_t* path)
{
    std::wstring full(GetFullPathNameW(path, 0, nullptr, nullptr), L'\0');
    const DWORD length = full.empty() ? 0 : GetFullPathNameW(path, DWORD(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size())
        return path;
    full.resize(length);
    return full;
}

// Paths name the same file as Windows compares them: letter case aside.
bool samePath(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_EQUAL;
}

// Writes `value` through `out`, the [out, retval] of every method.
template <class T>
HRESULT answer(T* out, T value)
{
    if (!out)
        return E_POINTER;
    *out = value;
    return S_OK;
}

}  // namespace

APlayerControl::~APlayerControl() { closeFile(); }

void APlayerControl::closeFile()
{
    if (worker_) {
        worker_->stop();
        retired_.push_back(std::move(worker_));
    }
    retired_.erase(
        std::remove_if(retired_.begin(), retired_.end(), [](const auto& worker) { return worker->finished(); }),
        retired_.end());
    canvas_.clear();
}

HRESULT APlayerControl::Open(BSTR fileName, LONG* result)
{
    const std::wstring path = fileName && *fileName ? fullPath(fileName) : std::wstring();
    // The file (or folder) already open starts over with the reader it has: hosts open the same
    // file twice on the way to showing it, and a second reader would cost memory and a cold start.
    if (worker_ && worker_->state() != PlaybackState::closed && !path.empty() && samePath(worker_->path(), path)) {
        worker_->restart();
        return answer(result, answerAccepted);
    }
    closeFile();
    if (path.empty() || !exists(path.c_str()))
        return answer(result, answerRefused);
    const uint64_t session = canvas_.clear();
    worker_ = std::make_unique<PlaybackWorker>(path, config_, canvas_, session);
    worker_->setSeen(seen_);
    return answer(result, answerAccepted);
}

HRESULT APlayerControl::Close(LONG* result)
{
    closeFile();
    return answer(result, answerAccepted);
}

HRESULT APlayerControl::Play(LONG* result)
{
    if (!worker_)
        return answer(result, answerRefused);
    worker_->play();
    return answer(result, answerAccepted);
}

HRESULT APlayerControl::Pause(LONG* result)
{
    if (!worker_)
        return answer(result, answerRefused);
    worker_->pause();
    return answer(result, answerAccepted);
}

HRESULT APlayerControl::GetVersion(BSTR* version)
{
    if (!version)
        return E_POINTER;
    *version = SysAllocString(versionText);
    return *version ? S_OK : E_OUTOFMEMORY;
}

HRESULT APlayerControl::SetCustomLogo(LONG logo, LONG* result)
{
    customLogo_ = logo;
    return answer(result, answerAccepted);
}

HRESULT APlayerControl::GetState(LONG* state)
{
    return answer(state, static_cast<LONG>(worker_ ? worker_->state() : PlaybackState::closed));
}

HRESULT APlayerControl::GetDuration(LONG* milliseconds)
{
    return answer(milliseconds, static_cast<LONG>(worker_ ? worker_->duration() : 0));
}

HRESULT APlayerControl::GetPosition(LONG* milliseconds)
{
    return answer(milliseconds, static_cast<LONG>(worker_ ? worker_->position() : 0));
}

HRESULT APlayerControl::SetPosition(LONG milliseconds, LONG* result)
{
    if (!worker_ || worker_->state() == PlaybackState::closed)
        return answer(result, answerRefused);
    worker_->seek(milliseconds);
    return answer(result, answerAccepted);
}

HRESULT APlayerControl::GetVideoWidth(LONG* width)
{
    return answer(width, static_cast<LONG>(worker_ ? worker_->videoWidth() : 0));
}

HRESULT APlayerControl::GetVideoHeight(LONG* height)
{
    return answer(height, static_cast<LONG>(worker_ ? worker_->videoHeight() : 0));
}

HRESULT APlayerControl::GetVolume(LONG* volume) { return answer(volume, volume_); }

HRESULT APlayerControl::SetVolume(LONG volume, LONG* result)
{
    volume_ = std::clamp<LONG>(volume, 0, 100);
    return answer(result, answerAccepted);
}

HRESULT APlayerControl::IsSeeking(VARIANT_BOOL* seeking)
{
    return answer(seeking, static_cast<VARIANT_BOOL>(worker_ && worker_->seeking() ? VARIANT_TRUE : VARIANT_FALSE));
}

HRESULT APlayerControl::GetBufferProgress(LONG* percent)
{
    // Local files are whole at once: everything is there as soon as the file is open.
    const bool open =
        worker_ && worker_->state() != PlaybackState::closed && worker_->state() != PlaybackState::opening;
    return answer(percent, static_cast<LONG>(open ? 100 : 0));
}

HRESULT APlayerControl::GetConfig(LONG item, BSTR* value)
{
    if (!value)
        return E_POINTER;
    const std::optional<int> current =
        item == decodingItem ? std::optional<int>(worker_ && worker_->onCard()) : config_.get(item);
    *value = SysAllocString(current ? std::to_wstring(*current).c_str() : L"");
    return *value ? S_OK : E_OUTOFMEMORY;
}

HRESULT APlayerControl::SetConfig(LONG item, VARIANT value, LONG* result)
{
    VARIANT number;
    VariantInit(&number);
    const bool isNumber = SUCCEEDED(VariantChangeType(&number, &value, 0, VT_I4));
    const bool accepted = isNumber && config_.set(item, number.lVal);
    VariantClear(&number);
    return answer(result, accepted ? answerAccepted : answerRefused);
}

LRESULT APlayerControl::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (watch_ && watch_->handleMessage(message, wParam, lParam, result))
        return result;
    // Also when the window goes with its parent, without a deactivation first.
    if (message == WM_DESTROY) {
        stopWatching();
        canvas_.attach(nullptr);
    }
    return DispatchControl::handleMessage(message, wParam, lParam);
}

void APlayerControl::paint(HDC dc, const RECT& client) { canvas_.paint(dc, client); }

void APlayerControl::onActivated()
{
    canvas_.attach(window());
    watch_ = std::make_unique<VisibilityWatch>(window(), [this](bool seen) { onSeenChanged(seen); });
    onSeenChanged(watch_->seen());
}

void APlayerControl::onDeactivating()
{
    stopWatching();
    canvas_.attach(nullptr);
}

void APlayerControl::onSeenChanged(bool seen)
{
    seen_ = seen;
    if (worker_)
        worker_->setSeen(seen);
}

// Without a window there is nothing to watch; playing goes on as it did before one existed.
void APlayerControl::stopWatching()
{
    watch_.reset();
    onSeenChanged(true);
}
