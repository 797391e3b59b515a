// Frame pacing of the waiting loops. A waiting loop draws and presents a frame only when its pixels
// would differ from the last frame it presented, and between passes it waits until input arrives
// or until the next time something on screen is due to change, instead of redrawing the whole
// screen every millisecond.
//
// Each pass describes its frame: a few words of the state its pixels depend on (a key: a revision,
// a position, an animation frame) and the times at which that state changes by itself (a
// deadline). Equal keys mean equal pixels, so a frame with the key of the last presented one is
// neither drawn nor presented; the wait lasts until the earliest deadline, and input ends it at
// once.
//
//     cFramePacer pacer;
//     while (pacer.Poll(kInputScreen, true)) {  // waits for input or the next due change, then polls
//         ...act on the latched command; pacer.Invalidate() after another screen drew...
//         pacer.BeginFrame();
//         paceScene(pacer);                   // the scene's state and its next change
//         mSpots::PaceButtons(pacer);         // the buttons' hot and held states
//         pacer.Key(myState);                 // the loop's own overlays
//         pacer.PresentIfDue([&] { updateScreen(); ...overlays...; mSpots::UpdateButtons(); });
//     }
#pragma once
#include <cstdint>

#include "base/present.h"

// The display's frame interval: the least time between two frames of a moving picture, which no
// display shows faster. The main window sets it from the display's refresh rate; 16 ms until then.
uint32_t frameIntervalMs();
// 0 restores the default.
void setFrameIntervalMs(uint32_t ms);

// The longest a loop waits without input even when nothing is due.
constexpr uint32_t kPacerLongestWaitMs = 500;

class cFramePacer {
public:
    static constexpr uint32_t kMaxKeyWords = 24;

    // Starts describing this pass's frame at the clock's time now (or the given one): the key and
    // the deadlines start empty.
    void BeginFrame();
    void BeginFrame(uint32_t now);
    // The time of this pass.
    uint32_t Now() const { return now_; }

    // One word of the state the frame's pixels depend on; a change makes a frame due at once.
    void Key(uint64_t word);
    // One word of a picture that moves with time (a cross-fade's step), and the clock time of its
    // next change: a change makes a frame due, but no sooner than one frame interval after the
    // last frame.
    void Moving(uint64_t word, uint32_t nextChangeAt);
    // Something the loop shows or tests changes by itself at that clock time (a time already past
    // is due at once).
    void DueAt(uint32_t when);
    void DueIn(uint32_t ms) { DueAt(now_ + ms); }
    // The picture moves in ways no key tells (an animation program, a turning hand): a frame is
    // due one frame interval after the last one.
    void EveryFrame();
    // The picture changes at this pass whatever the key says (the scene is to be recomposed).
    void ChangedNow() { changedNow_ = true; }
    // Something shown depends on state that can change without a message (the cursor over a
    // button, which a quick move out of the window leaves without telling): the loop looks again
    // once per frame interval.
    void PollEveryFrame() { DueIn(frameIntervalMs()); }

    // The frame described must be drawn and presented: the first one, one after Invalidate, one
    // that changed now, a key other than the last presented one's, or a moving picture (changed
    // moving words, or EveryFrame) whose frame interval has passed.
    bool FrameDue() const;
    // The frame described was presented.
    void Presented();
    // When the frame described is due: draws it (into gBackBuffer), presents it and notes it;
    // true when it did.
    template <class DrawFn>
    bool PresentIfDue(DrawFn draw) {
        if (!FrameDue()) return false;
        draw();
        presentScreen();
        Presented();
        return true;
    }
    // The screen no longer shows the last presented frame (another screen or dialog drew over it):
    // the next frame is drawn whatever its key.
    void Invalidate() { presentedValid_ = false; }

    // Milliseconds from now until the earliest deadline of the last described pass; 0 when a
    // frame is due or a deadline has passed; at most kPacerLongestWaitMs.
    uint32_t WaitMs(uint32_t now) const;
    // One input step of the loop: waits (through the input seam) for input or WaitMs, then
    // pollInput with the input mode, and with its sleep only when nothing was waited for; the
    // first step of a pacer does not wait. False once WM_QUIT was seen.
    bool Poll(uint8_t inputMode, bool sleep);

private:
    struct Words {
        uint64_t word[kMaxKeyWords] = {};
        uint32_t count = 0;
        void Add(uint64_t w);
        bool operator==(const Words& other) const;
    };
    bool IntervalPassed() const;
    bool MovingPending() const;

    Words key_, presentedKey_;
    Words moving_, presentedMoving_;
    bool presentedValid_ = false;
    uint32_t presentedAt_ = 0;

    bool polled_ = false;
    uint32_t now_ = 0;
    bool changedNow_ = false;
    bool everyFrame_ = false;
    bool hasDeadline_ = false;
    uint32_t deadline_ = 0;  // the earliest, as a clock time
    bool hasMovingChange_ = false;
    uint32_t movingChange_ = 0;  // the moving words' earliest next change
};
