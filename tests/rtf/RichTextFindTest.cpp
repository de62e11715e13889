#include "richtext/QtRichTextEngine.h"
#include "richtext/WebAddresses.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kBody =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}"
    "\\viewkind4\\uc1\\pard\\f0\\fs20 Notes about the \\b Project\\b0  plan\\par"
    " second {\\field{\\*\\fldinst{HYPERLINK \"http://x.y/\"}}{\\fldrslt{\\ul link}}} line\\par}";

struct FindCase {
    const char* name;
    std::string body;
    bool title;
    std::string needle;
    bool caseSensitive;
    bool wholeWord;
    long long position;
};

class RichTextFind : public ::testing::TestWithParam<FindCase> {};

TEST_P(RichTextFind, FindsWhatTheNoteSearchExpects) {
    const FindCase& c = GetParam();
    bp::rtf::QtRichTextEngine engine;
    EXPECT_EQ(engine.find(c.body, c.title, c.needle, c.caseSensitive, c.wholeWord), c.position);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RichTextFind,
    ::testing::Values(
        FindCase{"WordAtTheStartIsAtOne", kBody, false, "Notes", false, false, 1},
        FindCase{"WholeWordNoteMissesNotes", kBody, false, "note", false, true, -1},
        FindCase{"PartWordNoteFindsNotes", kBody, false, "note", false, false, 1},
        FindCase{"CaseSensitiveMisses", kBody, false, "project", true, false, -1},
        FindCase{"CaseSensitiveFinds", kBody, false, "Project", true, false, 17},
        FindCase{"CaseInsensitiveFinds", kBody, false, "PROJECT", false, false, 17},
        FindCase{"AcrossFormatRuns", kBody, false, "Project plan", false, true, 17},
        FindCase{"MarkupNeverMatches", kBody, false, "fonttbl", false, false, -1},
        FindCase{"LinkTextIsFound", kBody, false, "link", false, true, 37},
        FindCase{"ParagraphBreakCountsOnce", kBody, false, "second", false, true, 30},
        FindCase{"EmptyNeedleFindsNothing", kBody, false, "", false, false, -1},
        FindCase{"PlainBody", "just text", false, "text", false, true, 6},
        FindCase{"TitleIsPlainText", "{\\rtf1 x}", true, "rtf1", false, false, 3},
        FindCase{"NonLatinCaseless", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", true,
                 "\xD0\xBF\xD1\x80\xD0\xB8", false, false, 1},
        FindCase{"WholeWordSkipsToALaterHit", "notes note", true, "note", false, true, 7}),
    [](const ::testing::TestParamInfo<FindCase>& info) { return std::string(info.param.name); });

TEST(RichTextEngine, PlainTextJoinsParagraphsWithCrLf) {
    bp::rtf::QtRichTextEngine engine;
    EXPECT_EQ(engine.plainText(kBody), "Notes about the Project plan\r\nsecond link line");
    EXPECT_EQ(engine.plainText(""), "");
}

struct UrlCase {
    const char* text;
    std::vector<std::string> urls;
};

TEST(WebAddresses, FindsAddressesWithoutTheirPunctuation) {
    const UrlCase cases[] = {
        {"see http://example.org/a.", {"http://example.org/a"}},
        {"(www.example.org) and https://x.y/p?q=1#f, done",
         {"www.example.org", "https://x.y/p?q=1#f"}},
        {"wiki https://en.wikipedia.org/wiki/C_(language)!",
         {"https://en.wikipedia.org/wiki/C_(language)"}},
        {"mail mailto:a@b.c or ftp://files.example.org",
         {"mailto:a@b.c", "ftp://files.example.org"}},
        {"nohttp://x and http:// alone", {}},
        {"<https://a.b/c>", {"https://a.b/c"}},
        {"[http://a.b/[x]], (http://a.b/(y)z)).", {"http://a.b/[x]", "http://a.b/(y)z"}},
        {"", {}},
    };
    for (const UrlCase& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        std::vector<std::string> found;
        for (const bp::rtf::TextRange& range : bp::rtf::findWebAddresses(text)) {
            found.push_back(text.mid(range.start, range.length).toStdString());
        }
        EXPECT_EQ(found, c.urls) << c.text;
    }
}

// A pasted address followed by a million closing brackets is trimmed in one pass, not one pass
// per bracket.
TEST(WebAddresses, LongPunctuationTailsAreTrimmedInOnePass) {
    const QString text = QStringLiteral("http://a.b/c") + QString(1000000, QLatin1Char(')'));
    const QList<bp::rtf::TextRange> ranges = bp::rtf::findWebAddresses(text);
    ASSERT_EQ(ranges.size(), 1);
    EXPECT_EQ(ranges[0].length, 12);
}

}  // namespace

TEST(RichTextFind, WholeWordsEndAtAnythingButLettersAndDigits) {
    struct Case {
        const char* text;
        qsizetype expected;
    };
    const Case cases[] = {{"a note_b", 2}, {"notes", -1}, {"note2", -1}, {"(note)", 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(bp::rtf::findText(QString::fromUtf8(c.text), u"note", false, true), c.expected)
            << c.text;
    }
}
