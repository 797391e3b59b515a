// The comparison beside the system's own (lstrcmpiA) in the code page the test environment sets
// for the configuration: every text of one byte and a letter, the letter in both cases.
#include <windows.h>

#include <cstdio>

#include "base/caseInsensitive.h"
#include "base/configuration.h"
#include "testing.h"

TEST(CaseInsensitivePlatform, AgreesWithTheSystemComparison) {
    ASSERT_EQ(kConfigCodePage, GetACP());
    int compared = 0;
    for (int first = 0x21; first <= 0xFF; ++first) {
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            const char upper[] = {static_cast<char>(first), letter, 0};
            const char lower[] = {static_cast<char>(first), static_cast<char>(letter - 'A' + 'a'), 0};
            // Only texts of whole characters: the system maps any other byte to a stand-in.
            if (!MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, upper, -1, nullptr, 0) ||
                !MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, lower, -1, nullptr, 0))
                continue;
            ++compared;
            char what[16];
            std::snprintf(what, sizeof what, "%02X %c", first, letter);
            EXPECT_EQ(lstrcmpiA(upper, lower) == 0, equalsIgnoringCase(upper, lower)) << what;
        }
    }
    EXPECT_GT(compared, 26 * 150);
}
