#include "store/Markup.h"

#include <gtest/gtest.h>

using namespace bp::markup;

TEST(Markup, FindRefusesPositionsOutsideTheSection) {
    EXPECT_EQ(Find("abcabc", "abc", 0), 0);
    EXPECT_EQ(Find("abcabc", "abc", 1), 3);
    EXPECT_EQ(Find("abcabc", "abc", 4), -1);
    EXPECT_EQ(Find("abcabc", "abc", -1), -1);
    EXPECT_EQ(Find("abcabc", "abc", 7), -1);
}

TEST(Markup, RemoveAndExtractClampToTheEnd) {
    std::string s = "0123456789";
    Remove(s, 8, 100);
    EXPECT_EQ(s, "01234567");
    EXPECT_EQ(Extract(s, 6, 100), "67");
    EXPECT_EQ(Extract(s, 20, 1), "");
    InsertAt(s, 2, "xy");
    EXPECT_EQ(s, "01xy234567");
}

TEST(Markup, EscapingPutsABlankAfterTheFirstCharacterOfEveryToken) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"a|<|<|<|<|<b", "a| <|<|<|<|<b"},
        {"a>|>|>|>|>|b", "a> |>|>|>|>|b"},
        {"[]]]]]>>>>>", "[ ]]]]]>>>>>"},
        {"x<![CDATABEGIN[y", "x< ![CDATABEGIN[y"},
        {"]CDATAEND]!>", "] CDATAEND]!>"},
        // A value ending in ">|" would merge with the terminator.
        {"ends>|", "ends> |"},
        {"", ""},
    };
    for (const Case& c : cases) {
        std::string value = c.in;
        EscapeReservedTokens(value);
        EXPECT_EQ(value, c.out) << c.in;
    }
}

TEST(Markup, EscapedValuesReadBackWhole) {
    const std::string values[] = {"title >|>|>|>|>| here", "ends>|", "ends>|>|", "|<|<|<|<|<", "",
                                  "line\r\n<note x"};
    for (const std::string& value : values) {
        std::string element =
            "<note" + AttributeText("title", "old") + AttributeText("x", "1") + ">";
        ASSERT_EQ(WriteAttribute(element, "title", value), AttributeFailure::None);
        std::string read;
        ASSERT_EQ(ReadAttribute(element, "title", read), AttributeFailure::None);
        std::string expected = value;
        EscapeReservedTokens(expected);
        EXPECT_EQ(read, expected);
        EXPECT_GE(read.size(), value.size()) << "value was cut short: " << value;
        std::string x;
        ASSERT_EQ(ReadAttribute(element, "x", x), AttributeFailure::None);
        EXPECT_EQ(x, "1");
    }
}

TEST(Markup, OldStyleValueEndingInTerminatorPairReadsShortened) {
    // Files written before trailing ">|" was escaped keep reading the way they always did.
    const std::string element = "<note title=|<|<|<|<|<abc>|>|>|>|>|>|>";
    std::string read;
    ASSERT_EQ(ReadAttribute(element, "title", read), AttributeFailure::None);
    EXPECT_EQ(read, "abc");
}

TEST(Markup, AttributeNamesMatchWholeNamesOnly) {
    const std::string settings =
        "\r\n<settings" + AttributeText("minWidth", "150") + AttributeText("Width", "230") + ">";
    std::string value;
    ASSERT_EQ(ReadAttribute(settings, "Width", value), AttributeFailure::None);
    EXPECT_EQ(value, "230");
    EXPECT_EQ(ReadAttribute(settings, "idth", value), AttributeFailure::Missing);
    EXPECT_EQ(ReadAttribute("\r\n<s Broken=|<|<|<|<|<1", "Broken", value),
              AttributeFailure::NoTerminator);
    // An attribute can never sit at position 0.
    EXPECT_EQ(ReadAttribute(AttributeText("a", "1"), "a", value), AttributeFailure::Missing);
}
