// The rules the settings dialogs keep, without a display: what a typed number reads as, how
// sizes fit the desktop, the combo texts, the title text's cut and the hot-key codes.
#include "settings/HotKeyCodes.h"
#include "settings/SettingsRules.h"

#include <Qt>

#include <gtest/gtest.h>

namespace bp::settings {
namespace {

TEST(SettingsRules, TypedNumbersReadAsThemselvesAndAnythingElseAsZero) {
    const std::pair<const char*, int> cases[] = {
        {"15", 15},         {" 7 ", 7}, {"+8", 8},      {"-3", -3},
        {"0", 0},           {"", 0},    {"abc", 0},     {"12ab", 0},
        {"1 2", 0},         {"-", 0},   {"5000", 5000}, {"2147483647", 2147483647},
        {"99999999999", 0},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(readNumber(text), value) << '"' << text << '"';
    }
}

TEST(SettingsRules, NoteSizesFitTheDesktopAndTheirMinimums) {
    struct Case {
        NoteSizes typed;
        NoteSizes stored;
    };
    // A desktop of 1280 × 800.
    const Case cases[] = {
        {{150, 72, 230, 175}, {150, 72, 230, 175}},
        {{150, 72, 2000, 900}, {150, 72, 1280, 800}},     // larger than the desktop
        {{100, 50, 230, 175}, {150, 72, 230, 175}},       // minimums below the smallest note
        {{400, 300, 230, 175}, {400, 300, 400, 300}},     // sizes below the new minimums
        {{2000, 900, 230, 175}, {1280, 800, 1280, 800}},  // minimums beyond the desktop
        {{0, 0, 0, 0}, {150, 72, 150, 72}},               // texts that were no numbers
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fitNoteSizes(c.typed, 1280, 800), c.stored)
            << c.typed.minWidth << ' ' << c.typed.minHeight << ' ' << c.typed.width << ' '
            << c.typed.height;
    }
}

TEST(SettingsRules, ComboTextsMapToTheirValuesAndTypedTextToNone) {
    EXPECT_EQ(showNotesModeFor("Remember notes' state"), 0);
    EXPECT_EQ(showNotesModeFor("Show all notes"), 1);
    EXPECT_EQ(showNotesModeFor("Hide all notes"), 2);
    EXPECT_EQ(showNotesModeFor("Hide all"), std::nullopt);
    EXPECT_EQ(showNotesModeFor(""), std::nullopt);
    EXPECT_EQ(priorityFor("High"), 2);
    EXPECT_EQ(priorityFor("Regular"), 1);
    EXPECT_EQ(priorityFor("Low"), 0);
    EXPECT_EQ(priorityFor("high"), std::nullopt);
    EXPECT_EQ(borderFor("Plain"), 1);
    EXPECT_EQ(borderFor("3D Thick"), 3);
    for (const int border : {1, 2, 3}) {
        EXPECT_EQ(borderFor(borderName(border)), border);
    }
    EXPECT_EQ(borderName(0), "3D Thin");
    EXPECT_EQ(borderName(7), "3D Thin");
}

TEST(SettingsRules, TitleTextIsCutAfterEightyCharactersNeverInsideOne) {
    EXPECT_EQ(cutTitleText(std::string(100, 'x')), std::string(80, 'x'));
    EXPECT_EQ(cutTitleText("Shopping"), "Shopping");
    std::string accented;
    for (int i = 0; i < 100; ++i) {
        accented += "\xC3\xA9";  // é
    }
    EXPECT_EQ(cutTitleText(accented), accented.substr(0, 160));
    // A four-byte character on the boundary stays whole.
    const std::string mixed = std::string(79, 'a') + "\xF0\x9F\x93\x8C" + "bc";
    EXPECT_EQ(cutTitleText(mixed), std::string(79, 'a') + "\xF0\x9F\x93\x8C");
}

TEST(SettingsRules, BlackTextStartsTheChooserAtDarkGrey) {
    EXPECT_EQ(chooserStartColor(0), 3618615u);
    EXPECT_EQ(chooserStartColor(1), 1u);
    EXPECT_EQ(chooserStartColor(0xFFFFFF), 0xFFFFFFu);
}

TEST(HotKeyCodes, KeysMapToTheVirtualKeysTheSettingsStore) {
    struct Case {
        int key;
        bool keypad;
        std::optional<VirtualKey> expected;
    };
    const Case cases[] = {
        {Qt::Key_K, false, VirtualKey{75, false}},
        {Qt::Key_N, false, VirtualKey{78, false}},
        {Qt::Key_5, false, VirtualKey{0x35, false}},
        {Qt::Key_5, true, VirtualKey{0x65, false}},
        {Qt::Key_Percent, false, VirtualKey{0x35, false}},  // Shift+5
        {Qt::Key_F5, false, VirtualKey{0x74, false}},
        {Qt::Key_F24, false, VirtualKey{0x87, false}},
        {Qt::Key_PageDown, false, VirtualKey{0x22, true}},
        {Qt::Key_PageDown, true, VirtualKey{0x22, false}},  // keypad 3 without NumLock
        {Qt::Key_Delete, false, VirtualKey{0x2E, true}},
        {Qt::Key_Delete, true, VirtualKey{0x6E, false}},
        {Qt::Key_Slash, true, VirtualKey{0x6F, true}},
        {Qt::Key_Enter, true, VirtualKey{0x0D, true}},
        {Qt::Key_Return, false, VirtualKey{0x0D, false}},
        {Qt::Key_Space, false, VirtualKey{0x20, false}},
        {Qt::Key_Semicolon, false, VirtualKey{0xBA, false}},
        {Qt::Key_Colon, false, VirtualKey{0xBA, false}},
        {Qt::Key_BracketRight, false, VirtualKey{0xDD, false}},
        {Qt::Key_Control, false, std::nullopt},
        {Qt::Key_Alt, false, std::nullopt},
        {Qt::Key_VolumeUp, false, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(virtualKeyFor(c.key, c.keypad), c.expected)
            << std::hex << c.key << (c.keypad ? " keypad" : "");
    }
}

TEST(HotKeyCodes, ControlTextNamesModifiersInOrderAndTheKey) {
    EXPECT_EQ(hotKeyControlText(5111814), "Ctrl + Alt + N");
    EXPECT_EQ(hotKeyControlText(hotKeyValue(75, kHotKeyAlt | kHotKeyShift | kHotKeyCtrl)),
              "Ctrl + Alt + Shift + K");
    EXPECT_EQ(hotKeyControlText(hotKeyValue(0x22, kHotKeyCtrl | kHotKeyExtended)),
              "Ctrl + Page Down");
    EXPECT_EQ(hotKeyControlText(hotKeyValue(0x22, kHotKeyCtrl)), "Ctrl + Num 3");
    EXPECT_EQ(hotKeyControlText(hotKeyValue(0x74, 0)), "F5");
    EXPECT_EQ(hotKeyControlText(0), "None");
    EXPECT_EQ(hotKeyControlText(6), "None");  // modifiers without a key set no hot key
}

TEST(HotKeyCodes, SameHotKeyMeansTheSameKeyAndModifiers) {
    const std::uint32_t ctrlAltS = hotKeyValue('S', kHotKeyCtrl | kHotKeyAlt);
    struct Case {
        std::uint32_t a;
        std::uint32_t b;
        bool same;
    };
    const Case cases[] = {
        {ctrlAltS, ctrlAltS, true},
        {ctrlAltS, ctrlAltS | 0x0100, true},  // bits the grab never reads
        {ctrlAltS, hotKeyValue('S', kHotKeyCtrl), false},
        {ctrlAltS, hotKeyValue('N', kHotKeyCtrl | kHotKeyAlt), false},
        {hotKeyValue(0x24, kHotKeyCtrl | kHotKeyExtended), hotKeyValue(0x24, kHotKeyCtrl), false},
        {0, 0, false},  // no key is no one's key
        {6, 6, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sameHotKey(c.a, c.b), c.same) << c.a << " " << c.b;
        EXPECT_EQ(sameHotKey(c.b, c.a), c.same) << c.b << " " << c.a;
    }
}

}  // namespace
}  // namespace bp::settings
