#include "base/framePacer.h"

#include "base/clock.h"
#include "base/input.h"

namespace {
constexpr uint32_t kDefaultFrameIntervalMs = 16;
// Wiring set by the main window, not state: an engine reset leaves it.
uint32_t gFrameIntervalMs = kDefaultFrameIntervalMs;

// Signed distance from now to a clock time, across a wrap of the counter.
int64_t ahead(uint32_t when, uint32_t now) { return static_cast<int32_t>(when - now); }
}  // namespace

uint32_t frameIntervalMs() { return gFrameIntervalMs; }
void setFrameIntervalMs(uint32_t ms) { gFrameIntervalMs = ms ? ms : kDefaultFrameIntervalMs; }

void cFramePacer::BeginFrame() { BeginFrame(currentTimeMs()); }

void cFramePacer::Words::Add(uint64_t w) {
    if (count < kMaxKeyWords) {
        word[count++] = w;
        return;
    }
    // More words than the key holds: the rest is folded into the last one.
    uint64_t& last = word[kMaxKeyWords - 1];
    last = (last ^ w) * 0x100000001B3ull + 0x9E3779B97F4A7C15ull;
}

bool cFramePacer::Words::operator==(const Words& other) const {
    if (count != other.count) return false;
    for (uint32_t i = 0; i < count; ++i)
        if (word[i] != other.word[i]) return false;
    return true;
}

void cFramePacer::BeginFrame(uint32_t now) {
    now_ = now;
    key_.count = 0;
    moving_.count = 0;
    changedNow_ = false;
    everyFrame_ = false;
    hasDeadline_ = false;
    hasMovingChange_ = false;
}

void cFramePacer::Key(uint64_t word) { key_.Add(word); }

void cFramePacer::Moving(uint64_t word, uint32_t nextChangeAt) {
    moving_.Add(word);
    if (!hasMovingChange_ || ahead(nextChangeAt, now_) < ahead(movingChange_, now_))
        movingChange_ = nextChangeAt;
    hasMovingChange_ = true;
}

void cFramePacer::DueAt(uint32_t when) {
    if (!hasDeadline_ || ahead(when, now_) < ahead(deadline_, now_)) deadline_ = when;
    hasDeadline_ = true;
}

void cFramePacer::EveryFrame() { everyFrame_ = true; }

bool cFramePacer::IntervalPassed() const {
    return ahead(presentedAt_ + frameIntervalMs(), now_) <= 0;
}

bool cFramePacer::MovingPending() const { return !(moving_ == presentedMoving_); }

bool cFramePacer::FrameDue() const {
    if (!presentedValid_ || changedNow_) return true;
    if (!(key_ == presentedKey_)) return true;
    return (everyFrame_ || MovingPending()) && IntervalPassed();
}

void cFramePacer::Presented() {
    presentedKey_ = key_;
    presentedMoving_ = moving_;
    presentedValid_ = true;
    presentedAt_ = now_;
    changedNow_ = false;
}

uint32_t cFramePacer::WaitMs(uint32_t now) const {
    // A frame described but not presented is not waited for.
    if (FrameDue()) return 0;
    uint32_t wait = kPacerLongestWaitMs;
    const auto until = [&](uint32_t when) {
        const int64_t left = ahead(when, now);
        if (left <= 0) wait = 0;
        else if (left < wait) wait = static_cast<uint32_t>(left);
    };
    if (hasDeadline_) until(deadline_);
    // A moving picture: its next frame once the frame interval has passed, and for moving words
    // not before they change.
    const uint32_t nextFrame = presentedAt_ + frameIntervalMs();
    if (everyFrame_ || MovingPending()) {
        until(nextFrame);
    } else if (hasMovingChange_) {
        until(ahead(movingChange_, nextFrame) > 0 ? movingChange_ : nextFrame);
    }
    return wait;
}

bool cFramePacer::Poll(uint8_t inputMode, bool sleep) {
    // The loop's first pass comes at once, whatever was presented before it.
    bool waited = false;
    if (polled_) waited = waitForInput(WaitMs(currentTimeMs()));
    polled_ = true;
    // The wait stands for the loop's short sleep.
    return pollInput(inputMode, sleep && !waited);
}
