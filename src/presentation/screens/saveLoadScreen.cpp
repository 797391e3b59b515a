// The save/load screen: a grid of 24 slots with their thumbnails, an information panel of the
// selected slot, its memo line and protect switch.
#include <cstdio>
#include <cstring>

#include "base/commandId.h"
#include "base/framePacer.h"
#include "base/input.h"
#include "base/present.h"
#include "base/uiText.h"
#include "graphics/graphics.h"
#include "graphics/image.h"
#include "graphics/screen.h"
#include "graphics/text/textOut.h"
#include "presentation/inputBox.h"
#include "presentation/screens/saveSlots.h"
#include "presentation/spots.h"

namespace {
constexpr int32_t kShownSlots = 24;
constexpr uint32_t kOkId = 1001, kDeleteId = 1002, kBackId = 1003;
constexpr int32_t kPanelX = 150, kPanelY = 456, kPanelWidth = 600, kPanelHeight = 130;
constexpr int32_t kMarkerX = 34, kMarkerY = 94;

struct ScreenImages {
    const char* base;
    const char* empty;
    const char* ok;
    const char* del;
    const char* back;
    const char* cursor;
};
constexpr ScreenImages kSaveImages = {"sys_save_base.png", "sys_save_empty.png",
                                      "sys_save_ok.png",   "sys_save_del.png",
                                      "sys_save_back.png", "sys_save_cursor.png"};
constexpr ScreenImages kLoadImages = {"sys_load_base.png", "sys_load_empty.png",
                                      "sys_load_ok.png",   "sys_load_del.png",
                                      "sys_load_back.png", "sys_load_cursor.png"};
constexpr const char* kQuickMarker = "sys_save_quick.png";

int32_t slotX(int32_t slot) { return 34 + 126 * (slot % 6); }
int32_t slotY(int32_t slot) { return 94 + 82 * (slot / 6); }

bool inside(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return x >= left && x <= right && y >= top && y <= bottom;
}

class cSaveLoadScreen {
public:
    explicit cSaveLoadScreen(bool save) : m_save(save), m_images(save ? kSaveImages : kLoadImages) {}

    bool Run() {
        m_marker.LoadPng(kQuickMarker);
        m_cursor.LoadPng(m_images.cursor);
        if (m_background.CreateScreen()) {
            gGraphics.CopyScreen(m_background, gNextScreen);
            cSprite picture;
            if (picture.LoadPng(m_images.base)) gGraphics.Blt(m_background, picture, 0, 0);
            if (picture.LoadPng(m_images.empty))
                for (int32_t slot = 0; slot < kShownSlots; ++slot)
                    gGraphics.Blt(m_background, picture, slotX(slot), slotY(slot));
            gGraphics.CopyScreen(gBackBuffer, m_background);
            presentScreen();
        }
        mSpots::SetButtonMode(kButtonsScreen);
        m_panel.Create(4, kPanelWidth, kPanelHeight);
        m_pen.SetFont(20, 20);

        bool rebuild = true;
        for (;;) {
            if (!pumpMessages()) return Leave(true);
            if (rebuild) BuildGrid();
            rebuild = false;
            DrawPanel();
            if (!FrameLoop()) return Leave(true);

            // Only a button's index, a click and cancel act here: OK without a button (Return,
            // Space, the pad) and the arrows do nothing on this screen.
            const uint8_t command = getCommand();
            const int32_t index = getSelectedIndex();
            if (command == kCmdOk && index >= 0) {
                if (index < kShownSlots + 1) {
                    m_selected = index;
                } else if (index == static_cast<int32_t>(kOkId) && m_selected >= 0) {
                    if (!m_save) return Leave(loadGame(m_selected));
                    if (!m_header.protect) {
                        saveGame(m_selected);
                        rebuild = true;
                    }
                } else if (index == static_cast<int32_t>(kDeleteId) && m_selected >= 0) {
                    if (!m_header.protect) {
                        deleteSaveSlot(m_selected);
                        m_selected = -1;
                        rebuild = true;
                    }
                } else if (index == static_cast<int32_t>(kBackId)) {
                    return Leave(false);
                }
            } else if (command == kCmdClick) {
                ClickOnPanel();
            } else if (command == kCmdCancel) {
                return Leave(false);
            }
            clearCommand();
        }
    }

private:
    bool Leave(bool result) {
        clearCommand();
        return result;
    }

    void BuildGrid() {
        gScreenSpots.Clear();
        for (int32_t slot = 0; slot < kShownSlots; ++slot) {
            SaveSlotHeader header;
            if (readSaveHeader(slot, header)) {
                gScreenSpots.Add(1, static_cast<uint32_t>(slot), nullptr, slotX(slot), slotY(slot));
                cSprite& image = gScreenSpots.Find(static_cast<uint32_t>(slot));
                if (image.Create(3, kThumbnailWidth, kThumbnailHeight))
                    for (int32_t y = 0; y < kThumbnailHeight; ++y)
                        std::memcpy(image.pixels + static_cast<size_t>(y) * image.pitch * 3,
                                    header.thumbnail + static_cast<size_t>(y) * kThumbnailWidth * 3,
                                    kThumbnailWidth * 3);
            } else if (m_save) {
                gScreenSpots.Add(1, static_cast<uint32_t>(slot), m_images.empty, slotX(slot),
                                 slotY(slot));
            }
        }
        if (m_save) gScreenSpots.SetEnabled(0, false);
        gScreenSpots.Add(1, kOkId, m_images.ok, 390, 542);
        gScreenSpots.Add(1, kDeleteId, m_images.del, 520, 542);
        gScreenSpots.Add(1, kBackId, m_images.back, 650, 542);
    }

    void DrawPanel() {
        if (m_panel.HasPixels()) std::memset(m_panel.pixels, 0, static_cast<size_t>(m_panel.ByteCount()));
        std::memset(&m_header, 0, sizeof m_header);
        if (m_selected < 0 || !readSaveHeader(m_selected, m_header)) return;
        if (!m_panel.HasPixels()) return;
        Put(0, 0, m_header.chapterText);
        Put(0, 33, m_header.dateText);
        Put(0, 66, m_header.memo);
        if (m_header.protect) Put(0, 99, uiText(UiText::SaveProtectMark));
        char deaths[16];
        std::snprintf(deaths, sizeof deaths, "%d", static_cast<int>(m_header.deathCount));
        Put(164, 99, deaths);
    }

    void Put(int32_t x, int32_t y, const char* text) {
        m_pen.x = x;
        m_pen.y = y;
        m_pen.PutString(m_panel, text, false);
    }

    // Draws frames until a command is latched; false on quit. Between commands only the buttons
    // change (hot, held), so a frame is drawn when they do; otherwise the loop waits for input.
    bool FrameLoop() {
        // The command before may have changed anything: the grid, the panel, the selection, or
        // another screen drew over this one.
        m_pacer.Invalidate();
        while (getCommand() == kCmdNone) {
            if (!m_pacer.Poll(kInputScreen, true)) return false;
            m_pacer.BeginFrame();
            mSpots::PaceButtons(m_pacer);
            m_pacer.PresentIfDue([this] {
                gGraphics.CopyScreen(gBackBuffer, m_background);
                gGraphics.Blt(gBackBuffer, m_panel, kPanelX, kPanelY);
                mSpots::UpdateButtons();
                gGraphics.Blt(gBackBuffer, m_marker, kMarkerX, kMarkerY);
                if (m_selected >= 0)
                    gGraphics.Blt(gBackBuffer, m_cursor, slotX(m_selected) - 2, slotY(m_selected) - 2);
            });
        }
        return true;
    }

    // A click no button took: the memo line or the protect switch of the selected slot.
    void ClickOnPanel() {
        if (m_selected < 0) return;
        const int32_t x = gMousePos.x, y = gMousePos.y;
        if (inside(x, y, 148, 520, 756, 541)) {
            char memo[sizeof m_header.memo];
            std::memcpy(memo, m_header.memo, sizeof memo);
            inputTextBox(memo, 148, 522, 609, 20, 20, 256, 0x00FFFFFF, 10u | 0u << 8 | 109u << 16);
            std::memcpy(m_header.memo, memo, sizeof memo);
            m_header.memo[sizeof m_header.memo - 1] = 0;
            writeSaveHeader(m_selected, m_header);
        } else if (inside(x, y, 148, 553, 167, 572)) {
            m_header.protect = m_header.protect ? 0 : 1;
            writeSaveHeader(m_selected, m_header);
        }
    }

    bool m_save;
    ScreenImages m_images;
    cSprite m_marker, m_cursor;
    cCanvas m_background;
    cSprite m_panel;
    cTextOut m_pen;
    SaveSlotHeader m_header{};
    int32_t m_selected = -1;
    cFramePacer m_pacer;
};
}  // namespace

bool runSaveLoadScreen(bool save) {
    // The screen holds its pictures and a 25 kB header: on the heap, not the stack.
    auto* screen = new cSaveLoadScreen(save);
    const bool result = screen->Run();
    delete screen;
    return result;
}
