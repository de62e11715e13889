#include "richtext/QtRichTextEngine.h"
#include "rtf/RtfTestSupport.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QTextFragment>

#include <string>

namespace {

using bp::test::readDocument;

std::string textOf(const std::string& body) {
    bp::rtf::QtRichTextEngine engine;
    return engine.plainText(body);
}

QTextCharFormat formatAt(const QTextDocument& document, int position) {
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

struct TextCase {
    const char* name;
    std::string rtf;
    std::string text;
};

class RtfReaderText : public ::testing::TestWithParam<TextCase> {};

TEST_P(RtfReaderText, GivesTheTextTheControlShows) {
    EXPECT_EQ(textOf(GetParam().rtf), GetParam().text);
}

const std::string kHead =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}";

INSTANTIATE_TEST_SUITE_P(
    Cases, RtfReaderText,
    ::testing::Values(
        TextCase{"LastParAddsNoParagraph", kHead + "A\\par}", "A"},
        TextCase{"TwoParsLeaveOneEmptyParagraph", kHead + "A\\par\\par}", "A\r\n"},
        TextCase{"ParagraphWithoutPar", kHead + "A\\par B}", "A\r\nB"},
        TextCase{"ControlWordDelimiters", kHead + "\\b0Normal\\fs22\\'dcber\\b  x}",
                 "Normal\xC3\x9C"
                 "ber x"},
        TextCase{"EscapedCharacters", kHead + "\\{a\\}\\\\}", "{a}\\"},
        TextCase{"NamedCharacters",
                 kHead + "\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\~\\-\\_}",
                 "\u2014\u2013\u2022\u2018\u2019\u201C\u201D\u00A0\u00AD\u2011"},
        TextCase{"LineAndTab", kHead + "a\\line b\\tab c}", "a\r\nb\tc"},
        TextCase{"RawNewlinesAreNotText", kHead + "a\r\nb\nc}", "abc"},
        TextCase{"BackslashNewlineIsPar", kHead + "a\\\nb}", "a\r\nb"},
        TextCase{"NulIsBlank", kHead + std::string("a\0b}", 4), "a b"},
        TextCase{"UnicodeSkipsOneFallback", kHead + "\\u8364?x}", "\u20ACx"},
        TextCase{"UnicodeSkipsTwoFallbackBytes", kHead + "\\uc2\\u26085\\'93\\'fax}", "\u65E5x"},
        TextCase{"UcZeroSkipsNothing", kHead + "{\\uc0\\u65}B}", "AB"},
        TextCase{"FallbackEndsAtGroupEnd", kHead + "{\\uc3\\u65 b}c}", "Ac"},
        TextCase{"NegativeUnicode", kHead + "\\u-4064?}", "\uF020"},
        TextCase{"SurrogatePair", kHead + "\\u-10179?\\u-9047?}", "\U0001F4A9"},
        TextCase{"UnpairedSurrogates", kHead + "\\u-10179?x\\u-9047?}", "\uFFFDx\uFFFD"},
        TextCase{"FontCharsetDecides",
                 "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset204 B;}}"
                 "\\f1\\'c0\\f0\\'c0}",
                 "\u0410\u00C0"},
        TextCase{"DoubleByteWithAsciiTrailByte",
                 "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 M;}}\\'8b\\'43\\'82\\'a0}",
                 "\u6C17\u3042"},
        TextCase{"InvalidAnsiCodePage", "{\\rtf1\\ansi\\ansicpg0 \\'e9}", "\u00E9"},
        TextCase{"IgnorableDestinationSkipped", kHead + "{\\*\\unknown hidden {inner}}shown}",
                 "shown"},
        TextCase{"StarInsideGroupHidesNothing", kHead + "{\\b0\\*\\cs7\\cf0 shown}}", "shown"},
        TextCase{"BinDataIsNotText", kHead + "{\\*\\x\\bin3 }{\\}a}", "a"},
        TextCase{"HyperlinkShowsItsResult",
                 kHead + "{\\field{\\*\\fldinst{HYPERLINK \"http://a.b/\"}}{\\fldrslt{\\ul name}}}"
                         " x}",
                 "name x"},
        TextCase{"MarkersAreNotText",
                 kHead + "\\pard{\\pntext\\f0 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec{\\pntxta.}}"
                         "One\\par{\\pntext\\f0 2.\\tab}Two\\par}",
                 "One\r\nTwo"},
        TextCase{"TableCellsAreTabSeparated",
                 kHead + "\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row c\\par}",
                 "a\tb\r\nc"},
        TextCase{"EverythingAfterTheDocumentIgnored", kHead + "a}b}c", "a"},
        TextCase{"TruncatedKeepsText", kHead + "{\\b abc", "abc"},
        TextCase{"NestedRtfGroupIsContent", kHead + "a{\\rtf1 b}c}", "abc"},
        TextCase{"UprUsesTheUnicodePart", kHead + "{\\upr{x}{\\*\\ud{\\u955?}}}}", "\u03BB"},
        TextCase{"HiddenTextIsDropped", kHead + "a{\\v hidden}b}", "ab"},
        TextCase{"PlainTextUtf8", "caf\xC3\xA9\nnext", "caf\u00E9\r\nnext"},
        TextCase{"PlainTextNotUtf8Is1252", "caf\xE9\r\n\x80", "caf\u00E9\r\n\u20AC"},
        TextCase{"NotQuiteRtf", " {\\rtf1 x}", " {\\rtf1 x}"}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

TEST(RtfReader, CharacterFormats) {
    const auto document = readDocument(
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fnil Courier New;}}"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        "\\fs22 a\\b b\\b0\\i c\\i0\\ul d\\ulnone\\strike e\\strike0\\f1\\fs30 f\\f0\\fs22"
        "\\cf1 g\\cf0\\highlight2 h\\highlight0 i{\\super j}\\ul k\\ul0 l\\plain m}");
    struct Expect {
        int at;
        const char* description;
    };
    const Expect expects[] = {
        {0, "Arial 11pt"},
        {1, "Arial 11pt bold"},
        {2, "Arial 11pt italic"},
        {3, "Arial 11pt underline"},
        {4, "Arial 11pt strike"},
        {5, "Courier New 15pt"},
        {6, "Arial 11pt fg=#ff0000"},
        {7, "Arial 11pt bg=#0000ff"},
        {8, "Arial 11pt"},
        {9, "Arial 11pt super"},
        {10, "Arial 11pt underline"},
        {11, "Arial 11pt"},
        {12, "Arial 12pt"},
    };
    for (const Expect& e : expects) {
        EXPECT_EQ(bp::test::describeChar(*document, formatAt(*document, e.at)), e.description)
            << "at " << e.at;
    }
}

TEST(RtfReader, ParagraphFormats) {
    const auto document = readDocument(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 A;}}\\pard\\qc\\li720\\ri360\\fi-360\\sb120\\sa200"
        "\\sl360\\slmult1 a\\par\\pard\\qr\\sl-300\\slmult0 b\\par\\pard\\qj\\sl300 c\\par"
        "\\pard d\\par}");
    QTextBlock block = document->begin();
    EXPECT_EQ(bp::test::describeBlock(block),
              "align=1 li=720 ri=360 fi=-360 sb=120 sa=200 sl=360/1");
    EXPECT_EQ(block.blockFormat().lineHeight(), 150);
    block = block.next();
    EXPECT_EQ(bp::test::describeBlock(block), "align=2 li=0 ri=0 fi=0 sb=0 sa=0 sl=-300/0");
    block = block.next();
    EXPECT_EQ(bp::test::describeBlock(block), "align=3 li=0 ri=0 fi=0 sb=0 sa=0 sl=300/0");
    block = block.next();
    EXPECT_EQ(bp::test::describeBlock(block), "align=0 li=0 ri=0 fi=0 sb=0 sa=0 sl=0/0");
}

TEST(RtfReader, ListsInBothForms) {
    const auto document = readDocument(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 A;}{\\f1\\fcharset2 Symbol;}}"
        "\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}"
        "\\fi-360\\li720 b1\\par{\\pntext\\f1\\'B7\\tab}b2\\par"
        "\\pard{\\pntext\\f0 a)\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnlcltr{\\pntxta)}}"
        "\\fi-360\\li720 n1\\par"
        "\\pard{\\listtext\\pard\\plain iv.\\tab}\\ls2\\ilvl0 w1\\par}");
    QTextBlock block = document->begin();
    ASSERT_NE(block.textList(), nullptr);
    const QTextList* bullets = block.textList();
    EXPECT_EQ(bullets->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(block.next().textList(), bullets);
    EXPECT_EQ(bp::rtf::fromBlockFormat(block.blockFormat()).leftIndent, 720);
    block = block.next().next();
    ASSERT_NE(block.textList(), nullptr);
    EXPECT_EQ(block.textList()->format().style(), QTextListFormat::ListLowerAlpha);
    EXPECT_EQ(block.textList()->format().numberSuffix(), ")");
    EXPECT_EQ(block.text(), "n1");
    block = block.next();
    ASSERT_NE(block.textList(), nullptr);
    EXPECT_EQ(block.textList()->format().style(), QTextListFormat::ListLowerRoman);
    EXPECT_EQ(block.text(), "w1");
}

TEST(RtfReader, LinkKeepsItsTargetAndFormat) {
    const auto document = readDocument(
        kHead +
        "{\\colortbl ;\\red0\\green0\\blue255;}a{\\field{\\*\\fldinst{HYPERLINK "
        "\"http://x.y/\"}}{\\fldrslt{\\ul\\cf1 go}}}b"
        "{{\\field{\\*\\fldinst{HYPERLINK https://u.v/ }}{\\fldrslt{https://u.v/\\ul0\\cf0}}}}"
        "{\\field{\\*\\fldinst HYPERLINK \\\\l \"part\" }{\\fldrslt here}}}");
    const QTextCharFormat link = formatAt(*document, 1);
    EXPECT_TRUE(link.isAnchor());
    EXPECT_EQ(link.anchorHref(), "http://x.y/");
    EXPECT_TRUE(link.fontUnderline());
    EXPECT_FALSE(formatAt(*document, 3).isAnchor());
    EXPECT_EQ(formatAt(*document, 4).anchorHref(), "https://u.v/");
    EXPECT_EQ(formatAt(*document, 16).anchorHref(), "#part");
}

TEST(RtfReader, PngPictureIsShownAndMetafileSkipped) {
    const std::string png = bp::test::readFile(std::string(BP_SOURCE_DIR) +
                                               "/tests/data/rtf/samples/bin-png-picture.rtf");
    const auto document = readDocument(png);
    EXPECT_TRUE(document->toPlainText().contains(QChar(QChar::ObjectReplacementCharacter)));
    const auto metafile = readDocument(kHead + "a{\\pict\\wmetafile8 0102}b}");
    EXPECT_EQ(metafile->toPlainText(), "ab");
}

TEST(RtfReader, DeepNestingIsBounded) {
    std::string rtf = kHead;
    for (int i = 0; i < 100000; ++i)
        rtf += "{\\b ";
    rtf += "deep";
    for (int i = 0; i < 100000; ++i)
        rtf += "}";
    rtf += "after}";
    EXPECT_EQ(textOf(rtf), "deepafter");
}

TEST(RtfReader, HugeCountsAreBounded) {
    EXPECT_EQ(textOf(kHead + "\\bin2147483647 abc}"), "");
    EXPECT_EQ(textOf(kHead + "\\uc2147483647\\u65 bcd}e}"), "A");
    EXPECT_EQ(textOf(kHead + "\\bin-5 abc}"), "abc");
    EXPECT_EQ(textOf(kHead + "\\fs99999999999999999999 a\\li-99999999999 b}"), "ab");
}

// A body is read whole whatever its size; an editor's limit on typing never cuts stored text.
TEST(RtfReader, LongBodiesAreReadWhole) {
    const std::string line(2000000, 'x');
    std::string pars = kHead;
    for (int i = 0; i < 600000; ++i)
        pars += "ab\\par ";
    pars += "}";
    const struct {
        const char* name;
        std::string body;
        qsizetype characters;  // of the plain text, paragraphs joined by "\r\n"
    } cases[] = {
        {"one RTF line", kHead + line + "}", 2000000},
        {"plain text", line, 2000000},
        {"many paragraphs", pars, 600000 * 4 - 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(QString::fromStdString(textOf(c.body)).size(), c.characters);
        QTextDocument document;
        bp::rtf::loadBody(c.body, document);
        EXPECT_EQ(bp::rtf::bodySearchText(c.body), bp::rtf::documentSearchText(document));
    }
}

// A body written by the rich-edit control and the same content written by our writer carry the
// same formatting at every position.
TEST(RtfReader, ControlBodyAndOurWriterAgree) {
    for (const char* name :
         {"msftedit-alignment-linebreak", "riched20-bullets-paren-numbering-fbidis",
          "msftedit-hyperlink-negative-unicode", "riched20-colors-highlight-info",
          "msftedit-bold-italic-font-switch", "msftedit-gbk-bullets"}) {
        SCOPED_TRACE(name);
        const std::string control = bp::test::readFile(std::string(BP_SOURCE_DIR) +
                                                       "/tests/data/rtf/samples/" + name + ".rtf");
        const auto fromControl = readDocument(control);
        const auto fromOurs = readDocument(bp::rtf::writeRtf(*fromControl));
        EXPECT_EQ(bp::test::describeDocument(*fromOurs), bp::test::describeDocument(*fromControl));
    }
}

TEST(RtfReader, RichEditSampleFormatsAtPositions) {
    const auto document = readDocument(bp::test::readFile(
        std::string(BP_SOURCE_DIR) + "/tests/data/rtf/samples/msftedit-alignment-linebreak.rtf"));
    // "This \fs44 is\fs22  a \b simple \ul five \i paragraph \ulnone\b0 document\i0 ."
    EXPECT_EQ(bp::test::describeChar(*document, formatAt(*document, 0)), "Calibri 11pt");
    EXPECT_EQ(bp::test::describeChar(*document, formatAt(*document, 5)), "Calibri 22pt");
    EXPECT_EQ(bp::test::describeChar(*document, formatAt(*document, 10)), "Calibri 11pt bold");
    EXPECT_EQ(bp::test::describeChar(*document, formatAt(*document, 17)),
              "Calibri 11pt bold underline");
    EXPECT_EQ(bp::test::describeChar(*document, formatAt(*document, 22)),
              "Calibri 11pt bold italic underline");
    QTextBlock second = document->begin().next();
    EXPECT_EQ(bp::rtf::fromBlockFormat(second.blockFormat()).align,
              bp::rtf::ParaProps::Align::Center);
    EXPECT_EQ(bp::rtf::fromBlockFormat(document->begin().blockFormat()).lineSpacing, 276);
}

}  // namespace
