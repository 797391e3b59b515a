// Picture slots: the kinds of load, default placement, the dirty flag of every operation, the
// fade request, and the save section "Data_Anime" against bytes written here.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "animeTestSupport.h"
#include "files/saveStream.h"
#include "scenario/anime/composition.h"
#include "scenario/anime/pictureSlots.h"
#include "scenario/variableStore.h"
#include "../scenarioTestSupport.h"
#include "screenSizeGuard.h"
#include "testing.h"

namespace {

class PictureSlots : public ::testing::Test {
protected:
    void SetUp() override {
        resetKeepingScreen();
        files.picture("hero.png", 4, 4, 3, 10, 20, 30);
        files.picture("room.png", 3, 16, 12, 1, 2, 3);
        files.definition("BLACK.img", "Type=actor\r\nBase=hero.png\r\nPosX=1\r\nPosY=2\r\n");
    }
    void TearDown() override { resetEngineState(); }
    ScreenSize screen{16, 12};
    AnimeDataFolder files;
    TestClock clock{5000};
};

TEST_F(PictureSlots, KindsOfLoad) {
    // A colour name in any case, unless it carries the extension of a definition.
    for (const char* name : {"black", "Black", "BLACK"}) {
        ASSERT_TRUE(loadAnime(4, name)) << name;
        EXPECT_EQ(kAnimeTypeColour, animeSlot(4)->type);
        EXPECT_STREQ(name, animeSlot(4)->name.c_str());
    }
    ASSERT_TRUE(loadAnime(4, "red"));
    EXPECT_EQ(255, animeSlot(4)->colour.red);
    EXPECT_EQ(0, animeSlot(4)->colour.green);

    ASSERT_TRUE(loadAnime(4, "BLACK.img"));
    EXPECT_EQ(kAnimeTypeActor, animeSlot(4)->type);
    EXPECT_STREQ("hero.png", animeSlot(4)->baseName.c_str());
    EXPECT_EQ(5000u, animeSlot(4)->startTime);

    ASSERT_TRUE(loadAnime(4, "hero.png"));
    EXPECT_EQ(kAnimeTypeImage, animeSlot(4)->type);
    EXPECT_TRUE(animeSlot(4)->base.HasPixels());
    EXPECT_STREQ("hero.png", animeSlot(4)->baseName.c_str());

    EXPECT_FALSE(loadAnime(4, "nothing.img"));
    EXPECT_EQ(kAnimeTypeNone, animeSlot(4)->type);
    EXPECT_STREQ("nothing.img", animeSlot(4)->name.c_str());

    EXPECT_FALSE(loadAnime(4, ""));
    EXPECT_EQ(kAnimeTypeImage, animeSlot(4)->type);
    EXPECT_FALSE(loadAnime(4, nullptr));
    EXPECT_FALSE(loadAnime(10, "black"));
    EXPECT_FALSE(loadAnime(-1, "black"));
}

TEST_F(PictureSlots, AMissingPictureStillSetsItsSeenFlagAndDrawsNothing) {
    defineVariables({{VariableKind::Seen, 7, "gone.png", 0}, {VariableKind::Seen, 8, "hero.png", 0}});
    EXPECT_FALSE(loadAnime(3, "gone.png"));
    EXPECT_EQ(1, variableValues(VariableKind::Seen)[7]);
    EXPECT_EQ(kAnimeTypeImage, animeSlot(3)->type);
    EXPECT_FALSE(animeSlot(3)->base.HasPixels());
    EXPECT_TRUE(animeSlot(3)->baseName.empty());
    EXPECT_TRUE(loadAnime(3, "hero.png"));
    EXPECT_EQ(1, variableValues(VariableKind::Seen)[8]);

    ScreenCanvases canvases;
    loadAnime(3, "gone.png");
    composeAllAnime();
    for (uint64_t i = 0; i < gNextScreen.ByteCount(); ++i) ASSERT_EQ(0, gNextScreen.pixels[i]);
}

TEST_F(PictureSlots, DefaultPlacement) {
    ASSERT_TRUE(loadAnime(3, "hero.png"));
    mAnime::cAnimeData& s3 = *animeSlot(3);
    EXPECT_EQ(8, s3.x);
    EXPECT_EQ(12, s3.y);
    EXPECT_EQ(2, s3.originX);
    EXPECT_EQ(3, s3.originY);
    ASSERT_TRUE(loadAnime(0, "hero.png"));
    mAnime::cAnimeData& s0 = *animeSlot(0);
    EXPECT_EQ(0, s0.x);
    EXPECT_EQ(0, s0.y);
    EXPECT_EQ(0, s0.originX);
    EXPECT_EQ(0, s0.originY);

    ScreenCanvases canvases;
    composeAllAnime();
    EXPECT_EQ((Bgr{10, 20, 30}), pixelAt(gNextScreen, 0, 0));  // slot 0 top-left at (0, 0)
    EXPECT_EQ((Bgr{10, 20, 30}), pixelAt(gNextScreen, 6, 9));  // slot 3 bottom-centred
    EXPECT_EQ((Bgr{10, 20, 30}), pixelAt(gNextScreen, 9, 11));
    EXPECT_EQ((Bgr{0, 0, 0}), pixelAt(gNextScreen, 5, 9));
    EXPECT_EQ((Bgr{0, 0, 0}), pixelAt(gNextScreen, 10, 11));
    EXPECT_EQ((Bgr{0, 0, 0}), pixelAt(gNextScreen, 6, 8));

    // An actor stands at the same point with its definition's origin.
    ASSERT_TRUE(loadAnime(5, "BLACK.img"));
    EXPECT_EQ(8, animeSlot(5)->x);
    EXPECT_EQ(12, animeSlot(5)->y);
    EXPECT_EQ(1, animeSlot(5)->originX);
    EXPECT_EQ(2, animeSlot(5)->originY);
    // Colours and other kinds keep (0, 0).
    setAnimeX(6, 40);
    ASSERT_TRUE(loadAnime(6, "white"));
    EXPECT_EQ(0, animeSlot(6)->x);
}

TEST_F(PictureSlots, EveryOperationInRangeRaisesTheDirtyFlag) {
    const std::vector<std::pair<const char*, std::function<void(int)>>> ops = {
        {"clearAnime", [](int s) { clearAnime(s); }},
        {"loadAnime", [](int s) { loadAnime(s, "hero.png"); }},
        {"loadAnime failing", [](int s) { loadAnime(s, "gone.png"); }},
        {"applyAnimeSection", [](int s) { applyAnimeSection(s, 2); }},
        {"setAnimeX", [](int s) { setAnimeX(s, 3); }},
        {"setAnimeY", [](int s) { setAnimeY(s, 3); }},
        {"resetAnimeOrigin", [](int s) { resetAnimeOrigin(s); }},
    };
    for (const auto& op : ops) {
        for (int slot : {-1, 0, 9, 10}) {
            gAnimeDirty = 0;
            op.second(slot);
            EXPECT_EQ(slot >= 0 && slot <= 9 ? 1 : 0, gAnimeDirty) << op.first << " " << slot;
        }
    }
    gAnimeDirty = 0;
    clearAllAnime();
    EXPECT_EQ(1, gAnimeDirty);
    gAnimeDirty = 0;
    EXPECT_TRUE(markAnimeDirty());
    EXPECT_EQ(1, gAnimeDirty);
    gAnimeDirty = 0;
    setFadeTime(100);
    animeMessageHook();
    EXPECT_EQ(0, gAnimeDirty);
    EXPECT_FALSE(applyAnimeSection(10, 1));
    EXPECT_TRUE(applyAnimeSection(9, 1));

    ScreenCanvases canvases;
    markAnimeDirty();
    composeAllAnime();
    EXPECT_EQ(0, gAnimeDirty);
}

TEST_F(PictureSlots, FadeRequestIsClamped) {
    EXPECT_EQ(-1, gRequestedFadeTime);
    setFadeTime(-5);
    EXPECT_EQ(0, gRequestedFadeTime);
    setFadeTime(70000);
    EXPECT_EQ(60000, gRequestedFadeTime);
    setFadeTime(1234);
    EXPECT_EQ(1234, gRequestedFadeTime);
}

TEST_F(PictureSlots, ClearKeepsTheStartTimeAndEmptiesEverythingElse) {
    ASSERT_TRUE(loadAnime(5, "BLACK.img"));
    animeSlot(5)->layers[2].name = "x.png";
    animeSlot(5)->layers[2].mode = 0;
    animeSlot(5)->layers[2].alpha = 3;
    clock.now() = 9000;
    clearAnime(5);
    const mAnime::cAnimeData& s = *animeSlot(5);
    EXPECT_TRUE(s.name.empty());
    EXPECT_EQ(kAnimeTypeNone, s.type);
    EXPECT_EQ(0u, s.definition.LineCount());
    EXPECT_TRUE(s.baseName.empty());
    EXPECT_EQ(0, s.originX);
    EXPECT_EQ(0, s.x);
    EXPECT_TRUE(s.layers[2].name.empty());
    EXPECT_EQ(1, s.layers[2].mode);
    EXPECT_EQ(255, s.layers[2].alpha);
    EXPECT_EQ(5000u, s.startTime);
}

// ---------------------------------------------------------------------------------------------
// "Data_Anime"

void putLe32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
void record(std::vector<uint8_t>& out, const std::string& name, const std::vector<uint8_t>& data) {
    putLe32(out, static_cast<uint32_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    putLe32(out, static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
}
std::vector<uint8_t> text(const std::string& s) {
    std::vector<uint8_t> v(s.begin(), s.end());
    v.push_back(0);
    return v;
}
std::vector<uint8_t> i32(int32_t v) {
    std::vector<uint8_t> out;
    putLe32(out, static_cast<uint32_t>(v));
    return out;
}

TEST_F(PictureSlots, DataAnimeIsWrittenRecordByRecord) {
    files.definition("pair.img", "Type=actor\r\nBase=hero.png\r\n#2\r\nFace=hero.png\r\n");
    ASSERT_TRUE(loadAnime(1, "pair.img"));
    applyAnimeSection(1, 2);
    setAnimeX(1, -7);
    setAnimeY(1, 300);
    ASSERT_TRUE(loadAnime(0, "room.png"));
    cSaveStream out;
    serializeAnime(out);

    std::vector<uint8_t> want;
    for (int i = 0; i < 10; ++i) {
        const std::string n = std::to_string(i);
        const char* name = i == 0 ? "room.png" : i == 1 ? "pair.img" : "";
        record(want, "Name" + n, text(name));
        record(want, "Code" + n, i32(i == 1 ? 2 : 0));
        record(want, "PosX" + n, i32(i == 1 ? -7 : 0));
        record(want, "PosY" + n, i32(i == 1 ? 300 : 0));
    }
    EXPECT_EQ(want, out.Buffer());
}

TEST_F(PictureSlots, DataAnimeIsReadBackFromBytesWrittenHere) {
    ScreenCanvases canvases;
    files.definition("pair.img", "Type=actor\r\nBase=hero.png\r\nPosX=2\r\n#2\r\nFace=face.png\r\n");
    // Slot 4 holds a picture before the load; the save has no Name4, so slot 4 ends empty.
    ASSERT_TRUE(loadAnime(4, "hero.png"));
    // Slot 1 showed section 2 before; the save has no Code1, so section 0 applies.
    ASSERT_TRUE(loadAnime(1, "pair.img"));
    applyAnimeSection(1, 2);
    resetAnimeOrigin(3);
    std::memset(gPrevScreen.pixels, 77, static_cast<size_t>(gPrevScreen.ByteCount()));

    std::vector<uint8_t> bytes;
    record(bytes, "Name0", text("room.png"));
    record(bytes, "Code0", i32(0));
    record(bytes, "PosX0", i32(0));
    record(bytes, "PosY0", i32(0));
    record(bytes, "Name1", text("pair.img"));
    record(bytes, "PosX1", i32(5));
    record(bytes, "PosY1", i32(6));
    record(bytes, "Name3", text("hero.png"));
    record(bytes, "Code3", std::vector<uint8_t>{1, 0});  // another size: section 0
    record(bytes, "PosX3", i32(8));
    record(bytes, "PosY3", i32(12));
    record(bytes, "Name5", text("pair.img"));
    record(bytes, "Code5", i32(2));
    cSaveStream in(bytes.data(), bytes.size());
    gAnimeDirty = 1;
    serializeAnime(in);

    EXPECT_EQ(kAnimeTypeImage, animeSlot(0)->type);
    EXPECT_EQ(kAnimeTypeActor, animeSlot(1)->type);
    EXPECT_EQ(0, animeSlot(1)->section);
    EXPECT_TRUE(animeSlot(1)->faceName.empty());
    EXPECT_EQ(5, animeSlot(1)->x);
    EXPECT_EQ(6, animeSlot(1)->y);
    // The origin set by resetAnimeOrigin is not kept: the reload gives the picture's own.
    EXPECT_EQ(2, animeSlot(3)->originX);
    EXPECT_EQ(3, animeSlot(3)->originY);
    EXPECT_EQ(8, animeSlot(3)->x);
    EXPECT_TRUE(animeSlot(4)->name.empty());
    EXPECT_FALSE(animeSlot(4)->base.HasPixels());
    EXPECT_EQ(2, animeSlot(5)->section);
    EXPECT_STREQ("face.png", animeSlot(5)->faceName.c_str());
    EXPECT_EQ(8, animeSlot(5)->x);  // absent PosX5 keeps the default placement
    EXPECT_EQ(12, animeSlot(5)->y);
    EXPECT_EQ(0, gAnimeDirty);
    // The restored scene is composed and the old picture is black.
    EXPECT_EQ((Bgr{1, 2, 3}), pixelAt(gNextScreen, 0, 0));
    EXPECT_EQ((Bgr{10, 20, 30}), pixelAt(gNextScreen, 6, 9));
    for (uint64_t i = 0; i < gPrevScreen.ByteCount(); ++i) ASSERT_EQ(0, gPrevScreen.pixels[i]);

    // Written again, it reads back to the same slots.
    cSaveStream out;
    serializeAnime(out);
    cSaveStream again(out.Data(), out.Size());
    serializeAnime(again);
    EXPECT_EQ(5, animeSlot(1)->x);
    EXPECT_EQ(2, animeSlot(5)->section);
    cSaveStream third;
    serializeAnime(third);
    EXPECT_EQ(out.Buffer(), third.Buffer());
}

}  // namespace
