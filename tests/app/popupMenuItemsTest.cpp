#include "app/popupMenuItems.h"

#include <string>

#include "testing.h"

namespace {
struct Expected {
    uint8_t id;
    const char* text;
};
// Top to bottom; separators as id 0.
const Expected kExpected[kPopupMenuItemCount] = {
#ifdef MORVANE_EARLIER
    {17, "\x83N\x83" "C\x83" "b\x83N\x83Z\x81[\x83u(&Q)\tINS"},  // クイックセーブ
    {0, nullptr},
    {16, "\x8e\xa9\x93\xae\x91\x97\x82\xe8\x83\x82\x81[\x83h(&A)\tShift + \x81\xab"},  // 自動送りモード
    {15, "\x83X\x83L\x83" "b\x83v\x83\x82\x81[\x83h(&J)\tShift + \x81\xa8"},  // スキップモード
    {0, nullptr},
    {12, "\x83" "E\x83" "B\x83\x93\x83h\x83" "E\x8f\xc1\x8b\x8e(&H)\tTAB"},  // ウィンドウ消去
    {14, "\x97\x9a\x97\xf0\x95\x5c\x8e\xa6(&L)\tBS"},  // 履歴表示
    {0, nullptr},
    {20, "\x83Z\x81[\x83u(&S)\tHOME"},  // セーブ
    {21, "\x83\x8d\x81[\x83h(&O)\tEND"},  // ロード
    {22, "\x83R\x83\x93\x83t\x83" "B\x83O(&C)\tESC"},  // コンフィグ
    {0, nullptr},
    {28, "\x83t\x83\x8b\x83X\x83N\x83\x8a\x81[\x83\x93\x83\x82\x81[\x83h(&F)"},  // フルスクリーンモード
    {27, "\x83" "E\x83" "B\x83\x93\x83h\x83" "E\x83\x82\x81[\x83h(&W)"},  // ウィンドウモード
    {0, nullptr},
    {19, "\x83^\x83" "C\x83g\x83\x8b\x89\xe6\x96\xca\x82\xc9\x96\xdf\x82\xe9(&T)\tShift + HOME"},  // タイトル画面に戻る
    {25, "\x8fI\x97\xb9(&X)\tAlt+F4"},  // 終了
#else
    {17, "\xbf\xec\xcb\xd9\xb4\xe6\xb5\xb5(&Q)\tINS"},  // 快速存档
    {0, nullptr},
    {16, "\xd7\xd4\xb6\xaf\xb6\xd4\xbb\xb0\xc4\xa3\xca\xbd(&A)\tShift + \xa1\xfd"},  // 自动对话模式
    {15, "\xcc\xf8\xd4\xbe\xc4\xa3\xca\xbd(&J)\tShift + \xa1\xfa"},  // 跳跃模式
    {0, nullptr},
    {12, "\xcf\xfb\xb3\xfd\xb6\xd4\xbb\xb0\xbf\xf2(&H)\tTAB"},  // 消除对话框
    {14, "\xb6\xd4\xbb\xb0\xbc\xc7\xc2\xbc(&L)\tBS"},  // 对话记录
    {0, nullptr},
    {20, "\xb4\xe6\xb5\xb5(&S)\tHOME"},  // 存档
    {21, "\xb6\xc1\xc8\xa1(&O)\tEND"},  // 读取
    {22, "\xc9\xe8\xd6\xc3(&C)\tESC"},  // 设置
    {0, nullptr},
    {28, "\xc8\xab\xc6\xc1\xc4\xa3\xca\xbd(&F)"},  // 全屏模式
    {27, "\xb4\xb0\xbf\xda\xc4\xa3\xca\xbd(&W)"},  // 窗口模式
    {0, nullptr},
    {19, "\xbb\xd8\xb5\xbd\xd6\xf7\xbb\xad\xc3\xe6(&T)\tShift + HOME"},  // 回到主画面
    {25, "\xbd\xe1\xca\xf8(&X)\tAlt+F4"},  // 结束
#endif
};
}  // namespace

TEST(PopupMenu, ItemsTopToBottomWithTheirTextsInTheConfigurationsSet) {
    for (size_t i = 0; i < kPopupMenuItemCount; ++i) {
        SCOPED_TRACE(i);
        PopupMenuItem item = popupMenuItem(i);
        EXPECT_EQ(kExpected[i].id, item.id);
        if (kExpected[i].text) EXPECT_EQ(std::string(kExpected[i].text), std::string(item.text));
        else EXPECT_EQ(nullptr, item.text);
    }
}

TEST(PopupMenu, NothingBeyondTheLastItem) {
    EXPECT_EQ(0, popupMenuItem(kPopupMenuItemCount).id);
    EXPECT_EQ(nullptr, popupMenuItem(kPopupMenuItemCount).text);
}
