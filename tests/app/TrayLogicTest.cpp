// Plain logic behind the tray: note placement, texts, hot-key values, the key table and the
// command line.
#include "app/AppOptions.h"
#include "app/NotePlacement.h"
#include "app/TrayText.h"
#include "note/NoteGeometry.h"
#include "platform/KeyTable.h"

#include <gtest/gtest.h>

using namespace bp;

namespace {

TEST(CascadeLayout, NoteSizeFollowsTheDesktop) {
    struct Case {
        int W, H, w, h;
    };
    for (const Case c :
         {Case{800, 600, 150, 125}, Case{801, 601, 200, 150}, Case{1024, 768, 200, 150},
          Case{1025, 769, 230, 175}, Case{1920, 1080, 230, 175}}) {
        const auto layout = cascadeLayout(c.W, c.H, 1);
        ASSERT_TRUE(layout) << c.W << "x" << c.H;
        EXPECT_EQ(layout->width, c.w) << c.W;
        EXPECT_EQ(layout->height, c.h) << c.H;
    }
}

TEST(CascadeLayout, FirstNotesStepDiagonally) {
    const auto layout = cascadeLayout(1024, 768, 3);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->positions, (std::vector<Point>{{0, 0}, {15, 30}, {30, 60}}));
}

TEST(CascadeLayout, ARunReachesTheBottomThenTheNextColumnStarts) {
    const auto layout = cascadeLayout(1920, 1080, 33);
    ASSERT_TRUE(layout);
    for (int n = 0; n < 31; ++n) {
        EXPECT_EQ(layout->positions[n], (Point{15 * n, 30 * n})) << n;
    }
    EXPECT_EQ(layout->positions[31], (Point{231, 0}));
    EXPECT_EQ(layout->positions[32], (Point{246, 30}));
}

TEST(CascadeLayout, RunsThatNoLongerFitStartOverAtTheTopLeft) {
    // 800 x 600: notes 150 x 125, runs of 16 (y up to 450), columns 151 apart.
    const auto layout = cascadeLayout(800, 600, 200);
    ASSERT_TRUE(layout);
    for (const Point p : layout->positions) {
        EXPECT_LE(p.x + 150, 800);
        EXPECT_LE(p.y + 125, 600);
    }
    EXPECT_EQ(layout->positions[16], (Point{151, 0}));
}

TEST(CascadeLayout, TooSmallDesktopsGetNoLayout) {
    for (const auto& [W, H] : {std::pair{150, 600}, std::pair{800, 125}, std::pair{0, 0}}) {
        EXPECT_FALSE(cascadeLayout(W, H, 1)) << W << "x" << H;
    }
}

TEST(CollapsedLayout, RowsOf201PixelsThenTheNextRow) {
    const auto layout = collapsedLayout(1280, 1024, 8);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->width, 200);
    EXPECT_EQ(layout->positions,
              (std::vector<Point>{
                  {0, 0}, {201, 0}, {402, 0}, {603, 0}, {804, 0}, {1005, 0}, {0, 25}, {201, 25}}));
}

TEST(CollapsedLayout, WidthFollowsTheDesktopAndRowsWrapToTheTop) {
    struct Case {
        int W, w;
    };
    for (const Case c : {Case{800, 100}, Case{1024, 150}, Case{1025, 200}}) {
        EXPECT_EQ(collapsedLayout(c.W, 600, 1)->width, c.w) << c.W;
    }
    // 150 x 50: one note a row, two rows, then the top-left again.
    const auto layout = collapsedLayout(150, 50, 3);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->positions, (std::vector<Point>{{0, 0}, {0, 25}, {0, 0}}));
    EXPECT_FALSE(collapsedLayout(100, 600, 1));
    EXPECT_TRUE(collapsedLayout(101, 600, 1));
}

TEST(FitIntoDesktop, MovesAndShrinksOntoTheDesktop) {
    struct Case {
        Rect in, out;
    };
    for (const Case c : {
             Case{{10, 20, 200, 150}, {10, 20, 200, 150}},
             Case{{-50, -5, 200, 150}, {0, 0, 200, 150}},
             Case{{1900, 1000, 200, 150}, {1720, 930, 200, 150}},
             Case{{100, 100, 2500, 1500}, {0, 0, 1920, 1080}},
         }) {
        EXPECT_EQ(clampToDesktop(c.in, 1920, 1080), c.out) << c.in.x << "," << c.in.y;
    }
}

TEST(TrayTip, FourLinesAndTheMissedAlarmsWhenThereAreAny) {
    const std::string counts =
        "Brightpost\r\nCreated notes: 3\r\nVisible notes: 2\r\nInvisible notes: 1";
    EXPECT_EQ(trayTipText(3, 2, 1), counts);
    EXPECT_EQ(trayTipText(3, 2, 1, 0), counts);
    EXPECT_EQ(trayTipText(3, 2, 1, 1), counts + "\r\n1 missed alarm");
    EXPECT_EQ(trayTipText(3, 2, 1, 2), counts + "\r\n2 missed alarms");
}

TEST(HotKeyTextTest, ModifiersInFixedOrderAndShortKeyNames) {
    struct Case {
        std::uint32_t value;
        const char* text;
    };
    const auto value = [](unsigned key, unsigned bits) { return key << 16 | bits; };
    for (const Case c : {
             Case{5111814, "Ctrl + Alt + N"},
             Case{5439494, "Ctrl + Alt + S"},
             Case{4718598, "Ctrl + Alt + H"},
             Case{5046278, "Ctrl + Alt + M"},
             Case{value('N', 7), "Ctrl + Alt + Shift + N"},
             Case{value('N', 5), "Alt + Shift + N"},
             Case{value('N', 1), "Shift + N"},
             Case{value(0x22, 8 | 2), "Ctrl + Page Do"},  // Page Down, cut to 7
             Case{value(0x22, 2), "Ctrl + Num 3"},        // its keypad twin
             Case{value(0x2E, 8 | 6), "Ctrl + Alt + Delete"},
             Case{value(0x70 + 11, 0), "F12"},
             Case{value(0x31, 6), "Ctrl + Alt + 1"},
             Case{value(0x07, 6), "Ctrl + Alt + "},  // a code no key has
             Case{0, ""},
         }) {
        EXPECT_EQ(HotKeyText(c.value), c.text) << c.value;
    }
}

TEST(KeyTable, MapsVirtualKeysToKeysyms) {
    struct Case {
        unsigned vk;
        bool extended;
        std::uint32_t keysym;
    };
    for (const Case c :
         {Case{'N', false, 0x6e}, Case{'0', false, 0x30}, Case{0x70, false, 0xffbe},
          Case{0x87, false, 0xffd5}, Case{0x22, true, 0xff56}, Case{0x22, false, 0xff9b},
          Case{0x60, false, 0xffb0}, Case{0x20, false, 0x20}, Case{0xBA, false, 0x3b},
          Case{0, false, 0}, Case{0x07, false, 0}, Case{0xFFFF, true, 0}}) {
        EXPECT_EQ(keysymForVirtualKey(c.vk, c.extended), c.keysym) << c.vk;
    }
}

TEST(DatExtension, AddedUnlessAlreadyThereInAnyCase) {
    struct Case {
        const char* in;
        const char* out;
    };
    for (const Case c :
         {Case{"/tmp/notes", "/tmp/notes.dat"}, Case{"/tmp/notes.dat", "/tmp/notes.dat"},
          Case{"/tmp/NOTES.DAT", "/tmp/NOTES.DAT"}, Case{"/tmp/a.txt", "/tmp/a.txt.dat"},
          Case{"dat", "dat.dat"}, Case{"/tmp/x.data", "/tmp/x.data.dat"}}) {
        EXPECT_EQ(withDatExtension(c.in), c.out);
    }
}

TEST(AboutText, NamesTheVersion) {
    EXPECT_EQ(aboutVersionText(), "Brightpost version 1.3.0");
}

TEST(AppOptionsActions, ParsedInOrder) {
    const AppOptions options =
        parseAppOptions({"--new-note", "--data-dir", "/d", "--save", "--quit"});
    EXPECT_TRUE(options.error.empty());
    EXPECT_EQ(options.actions, (std::vector<std::string>{"new-note", "save", "quit"}));
    EXPECT_EQ(options.dataDir, "/d");

    EXPECT_EQ(parseAppOptions({"--autostart", "off", "--autostart=on"}).actions,
              (std::vector<std::string>{"autostart-off", "autostart-on"}));
    EXPECT_NE(appUsage().find("--autostart on|off"), std::string::npos);
    for (const char* bad : {"--new", "--notes", "new-note", "--show-all=1", "--autostart",
                            "--autostart=yes", "--autostart-on"}) {
        EXPECT_FALSE(parseAppOptions({bad}).error.empty()) << bad;
    }
    for (const char* action : {"--new-note", "--show-all", "--hide-all", "--toggle-manager",
                               "--save", "--tray-menu", "--quit"}) {
        EXPECT_EQ(parseAppOptions({action}).actions.size(), 1u) << action;
        EXPECT_NE(appUsage().find(action), std::string::npos) << action;
    }
}

}  // namespace
