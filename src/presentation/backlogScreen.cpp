// The backlog screen: the scene darkened behind a page of the last messages, a scroll bar with a
// handle and two arrows, and a button per row that replays the row's voice.
#include "presentation/backlogScreen.h"

#include "base/framePacer.h"
#include "base/input.h"
#include "base/present.h"
#include "graphics/graphics.h"
#include "graphics/image.h"
#include "graphics/screen.h"
#include "graphics/text/textOut.h"
#include "graphics/transitions.h"
#include "media/sound.h"
#include "presentation/backlog.h"
#include "presentation/backlogPage.h"
#include "presentation/spots.h"
#include "scenario/anime/composition.h"

namespace {
constexpr uint32_t kDarkening = 127;
constexpr uint32_t kOlderId = 100;
constexpr uint32_t kNewerId = 101;
constexpr int32_t kNewerArrowY = 580;

const BacklogCallees kRealCallees = {playVoice};
// Wiring, not state: an engine reset leaves it.
BacklogCallees gCallees = kRealCallees;

void addButtons() {
    gScreenSpots.Clear();
    for (uint32_t id = 1; id <= mLogBox::kPageRows; ++id)
        gScreenSpots.Add(3, id, "sys_log_item.png", 0,
                         mLogBox::kRowHeight * (mLogBox::kPageRows - static_cast<int32_t>(id)));
    gScreenSpots.Add(3, kOlderId, "sys_log_icon_up.png", mLogBox::kBarX, 0);
    gScreenSpots.Add(3, kNewerId, "sys_log_icon_down.png", mLogBox::kBarX, kNewerArrowY);
    gScreenSpots.Mark(kOlderId);
    gScreenSpots.Mark(kNewerId);
}

// A button of the screen taken: the arrows scroll, a row replays its entry's voice.
void pressButton(int32_t id, int32_t& scroll) {
    if (id == static_cast<int32_t>(kOlderId)) {
        ++scroll;
    } else if (id == static_cast<int32_t>(kNewerId)) {
        --scroll;
    } else if (id >= 1 && id <= mLogBox::kPageRows) {
        const mLogBox::cLogNode* node = mLogBox::entryBehind(scroll + id);
        if (node && !node->voice.empty()) gCallees.playVoice(node->voice.c_str());
    }
}
}  // namespace

BacklogCallees& backlogCallees() { return gCallees; }
void restoreBacklogCallees() { gCallees = kRealCallees; }

namespace mLogBox {

void RunScreen() {
    // The scene without the message window, darkened, with the bar drawn in.
    updateScreen();
    cCanvas background;
    background.CreateScreen();
    scaleBrightness(background, gBackBuffer, kDarkening);
    gGraphics.CopyScreen(gBackBuffer, background);
    presentScreen();
    {
        cSprite bar;
        if (bar.LoadPng("sys_log_bar.png")) gGraphics.Blt(background, bar, kBarX, 0);
    }
    cSprite handle;
    handle.LoadPng("sys_log_handle.png");
    cTextOut pen;
    setUpPagePen(pen);
    cSprite page;
    page.Create(4, kPageWidth, kPageHeight);
    addButtons();
    mSpots::SetButtonMode(kButtonsScreen);

    int32_t scroll = 0;
    // A frame is drawn when the page, the handle or a button changed; between them the loop waits
    // for input. While the handle is held still the page passes wait too.
    cFramePacer pacer;
    const auto describe = [&] {
        pacer.BeginFrame();
        mSpots::PaceButtons(pacer);
        pacer.Key(static_cast<uint32_t>(scroll));
    };
    while (pacer.Poll(kInputScreen, true)) {
        const uint32_t voiced = drawPage(page, pen, scroll);
        for (uint32_t id = 1; id <= kPageRows; ++id)
            gScreenSpots.SetEnabled(id, ((voiced >> id) & 1u) != 0);

        bool dragged = false;
        bool alive = true;
        while (getCommand() == kCmdNone) {
            describe();
            pacer.PresentIfDue([&] {
                gGraphics.CopyScreen(gBackBuffer, background);
                mSpots::UpdateButtons();
                gGraphics.Blt(gBackBuffer, handle, kBarX, handleY(scroll));
                gGraphics.Blt(gBackBuffer, page, 0, 0);
            });
            if (gMouseDown && onScrollBar(gMousePos)) {
                scroll = dragScroll(gMousePos.y);
                dragged = true;
                // The next page pass comes at once when the handle moved, else with input.
                describe();
                break;
            }
            if (!pacer.Poll(kInputScreen, true)) {
                alive = false;
                break;
            }
        }
        if (!alive) break;
        if (dragged) continue;

        uint8_t command = getCommand();
        if (command == kCmdOk) {
            int32_t id = getSelectedIndex();
            // OK from the keyboard: a click where the cursor stands.
            if (id < 0) {
                mSpots::PressButtons();
                uint8_t scratch = kCmdNone;
                mSpots::ReleaseButtons(scratch, id);
            }
            pressButton(id, scroll);
        }
        mSpots::NavigateButtons(command);
        if (command == kCmdCancel) break;
        if (command == kCmdPageUp) ++scroll;
        else if (command == kCmdPageDown) --scroll;
        scroll = clampScroll(scroll);
        clearCommand();
        // The command may have moved the page or the cursor, or another screen drew.
        pacer.Invalidate();
    }
    // Nothing of the screen stays behind.
    gScreenSpots.Clear();
    mSpots::SetButtonMode(kButtonsNone);
}

}  // namespace mLogBox
