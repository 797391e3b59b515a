#include "config/colourName.h"

#include "testing.h"

TEST(ColourName, TableAnyCaseAndUnknownNames) {
    struct Case {
        const char* name;
        uint8_t r, g, b;
    };
    const Case cases[] = {
        {"WHITE", 255, 255, 255}, {"RED", 255, 0, 0},       {"BLUE", 192, 192, 255},
        {"PURPLE", 255, 160, 190}, {"ORANGE", 255, 160, 0}, {"YELLOW", 255, 255, 0},
        {"PINK", 255, 100, 180},  {"SKYBLUE", 142, 208, 255}, {"GREEN", 168, 230, 160},
        {"BROWN", 180, 130, 10},  {"GRAY", 170, 170, 170},  {"BLACK", 0, 0, 0},
        {"skyblue", 142, 208, 255}, {"Gray", 170, 170, 170}, {"wHiTe", 255, 255, 255},
    };
    for (const Case& c : cases) {
        RgbColour out = {1, 2, 3};
        ASSERT_TRUE(lookupColourName(c.name, out)) << c.name;
        EXPECT_EQ(out.red, c.r) << c.name;
        EXPECT_EQ(out.green, c.g) << c.name;
        EXPECT_EQ(out.blue, c.b) << c.name;
    }
    for (const char* name : {"cyan", "", "GREY", "RED ", "RE", "REDD", "SKY BLUE", "\xB0\xD7"}) {
        RgbColour out = {1, 2, 3};
        EXPECT_FALSE(lookupColourName(name, out)) << name;
        EXPECT_EQ(out.red, 1);
        EXPECT_EQ(out.blue, 3);
    }
    RgbColour out;
    EXPECT_FALSE(lookupColourName(nullptr, out));
}
