// Documents built in code survive write -> read -> write: the RTF is identical the second time
// and the document read back carries the same text and formats at every position.

#include "rtf/RtfTestSupport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTextCursor>
#include <QUrl>

#include <functional>

namespace {

using Build = std::function<void(QTextCursor&)>;

QTextCharFormat font(const QString& family, double points) {
    QTextCharFormat format;
    format.setFontFamilies({family});
    format.setFontPointSize(points);
    return format;
}

void addList(QTextCursor& cursor, QTextListFormat::Style style, const QStringList& items) {
    QTextListFormat list;
    list.setStyle(style);
    cursor.insertBlock();
    QTextList* created = cursor.createList(list);
    (void)created;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i > 0)
            cursor.insertBlock();
        cursor.insertText(items[i], font("Arial", 11));
    }
}

struct RoundTripCase {
    const char* name;
    Build build;
};

class RtfRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RtfRoundTrip, WriteReadWriteIsStable) {
    QTextDocument original;
    QTextCursor cursor(&original);
    GetParam().build(cursor);

    const std::string first = bp::rtf::writeRtf(original);
    const auto reread = bp::test::readDocument(first);
    const std::string second = bp::rtf::writeRtf(*reread);
    EXPECT_EQ(second, first);
    EXPECT_EQ(bp::test::describeDocument(*reread), bp::test::describeDocument(original));
    EXPECT_TRUE(first.starts_with("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
    for (unsigned char c : first) {
        ASSERT_LT(c, 0x80) << "RTF is 7-bit text";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RtfRoundTrip,
    ::testing::Values(
        RoundTripCase{"Empty", [](QTextCursor&) {}},
        RoundTripCase{"CharacterEffects",
                      [](QTextCursor& c) {
                          QTextCharFormat f = font("Arial", 11);
                          c.insertText("plain ", f);
                          f.setFontWeight(QFont::Bold);
                          c.insertText("bold ", f);
                          f.setFontItalic(true);
                          c.insertText("bold italic ", f);
                          f.setFontWeight(QFont::Normal);
                          f.setFontUnderline(true);
                          c.insertText("italic underline ", f);
                          f = font("Arial", 11);
                          f.setFontStrikeOut(true);
                          c.insertText("strike", f);
                          f = font("Arial", 11);
                          f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
                          c.insertText("2", f);
                          f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
                          c.insertText("3", f);
                      }},
        RoundTripCase{"FontsAndSizes",
                      [](QTextCursor& c) {
                          c.insertText("a", font("Arial", 11));
                          c.insertText("b", font("Courier New", 8));
                          c.insertText("c", font("Times New Roman", 36));
                          c.insertText("d", font("Arial", 10.5));
                          c.insertText("{e}\\", font("Arial", 11));
                      }},
        RoundTripCase{"ColoursAndHighlight",
                      [](QTextCursor& c) {
                          QTextCharFormat f = font("Arial", 11);
                          f.setForeground(QColor(255, 0, 0));
                          c.insertText("red", f);
                          f.setBackground(QColor(255, 255, 0));
                          c.insertText("red on yellow", f);
                          f.clearForeground();
                          c.insertText("on yellow", f);
                          f = font("Arial", 11);
                          f.setForeground(QColor(255, 0, 0));
                          c.insertText("red again", f);
                      }},
        RoundTripCase{"AlignmentsAndIndents",
                      [](QTextCursor& c) {
                          QTextBlockFormat b;
                          b.setAlignment(Qt::AlignHCenter);
                          c.setBlockFormat(b);
                          c.insertText("centre", font("Arial", 11));
                          b.setAlignment(Qt::AlignRight);
                          c.insertBlock(b);
                          c.insertText("right", font("Arial", 11));
                          b = QTextBlockFormat();
                          b.setLeftMargin(48);
                          b.setRightMargin(24);
                          b.setTextIndent(-24);
                          b.setTopMargin(8);
                          b.setBottomMargin(13.333333333333334);
                          c.insertBlock(b);
                          c.insertText("indented", font("Arial", 11));
                          b = QTextBlockFormat();
                          b.setAlignment(Qt::AlignJustify);
                          c.insertBlock(b);
                          c.insertText("justified", font("Arial", 11));
                      }},
        RoundTripCase{"LineSpacing",
                      [](QTextCursor& c) {
                          const qreal heights[] = {100, 150, 200, 300, 115};
                          bool first = true;
                          for (qreal h : heights) {
                              QTextBlockFormat b;
                              b.setLineHeight(h, QTextBlockFormat::ProportionalHeight);
                              if (first)
                                  c.setBlockFormat(b);
                              else
                                  c.insertBlock(b);
                              first = false;
                              c.insertText(QString::number(h), font("Arial", 11));
                          }
                          QTextBlockFormat b;
                          b.setLineHeight(20, QTextBlockFormat::FixedHeight);
                          c.insertBlock(b);
                          c.insertText("exactly", font("Arial", 11));
                          b.setLineHeight(16, QTextBlockFormat::MinimumHeight);
                          c.insertBlock(b);
                          c.insertText("at least", font("Arial", 11));
                      }},
        RoundTripCase{"BulletedList",
                      [](QTextCursor& c) {
                          c.insertText("before", font("Arial", 11));
                          addList(c, QTextListFormat::ListDisc, {"one", "two", "three"});
                          QTextBlockFormat plain;
                          c.insertBlock(plain);
                          c.insertText("after", font("Arial", 11));
                      }},
        RoundTripCase{"NumberedListStyles",
                      [](QTextCursor& c) {
                          c.insertText("lists", font("Arial", 11));
                          for (auto style :
                               {QTextListFormat::ListDecimal, QTextListFormat::ListLowerAlpha,
                                QTextListFormat::ListUpperAlpha, QTextListFormat::ListLowerRoman,
                                QTextListFormat::ListUpperRoman}) {
                              addList(c, style, {"first", "second"});
                              c.insertBlock(QTextBlockFormat());
                              c.insertText("between", font("Arial", 11));
                          }
                      }},
        RoundTripCase{"ListWithPrefixAndSuffix",
                      [](QTextCursor& c) {
                          QTextListFormat list;
                          list.setStyle(QTextListFormat::ListDecimal);
                          list.setNumberPrefix("(");
                          list.setNumberSuffix(")");
                          c.createList(list);
                          c.insertText("first", font("Arial", 11));
                          c.insertBlock();
                          c.insertText("second", font("Arial", 11));
                      }},
        RoundTripCase{"Links",
                      [](QTextCursor& c) {
                          c.insertText("see ", font("Arial", 11));
                          QTextCharFormat link = font("Arial", 11);
                          link.setAnchor(true);
                          link.setAnchorHref("https://example.org/a?b=c&d=e#f");
                          link.setFontUnderline(true);
                          link.setForeground(QColor(0, 0, 255));
                          c.insertText("the site", link);
                          link.setFontWeight(QFont::Bold);
                          c.insertText(" bold part", link);
                          c.insertText(" and ", font("Arial", 11));
                          QTextCharFormat other = font("Arial", 11);
                          other.setAnchor(true);
                          other.setAnchorHref("mailto:someone@example.org");
                          c.insertText("mail", other);
                      }},
        RoundTripCase{
            "NonLatinTextAndEmoji",
            [](QTextCursor& c) {
                c.insertText(QString::fromUtf8("Grüße, €5 — “quoted” ©"), font("Arial", 11));
                c.insertBlock();
                c.insertText(QString::fromUtf8("Привет мир, 日本語のテキスト, 中文"),
                             font("MS Mincho", 11));
                c.insertBlock();
                c.insertText(QString::fromUtf8("שלום עולם, مرحبا, ελληνικά"), font("Arial", 11));
                c.insertBlock();
                c.insertText(QString::fromUtf8("emoji 💩👍🏽 and 𐌲𐌿"),
                             font("Arial", 11));
            }},
        RoundTripCase{
            "FontNameOutsideCp1252",
            [](QTextCursor& c) { c.insertText("song", font(QString::fromUtf8("宋体"), 11)); }},
        RoundTripCase{"LineBreaksTabsAndEmptyParagraphs",
                      [](QTextCursor& c) {
                          c.insertText(QString("a") + QChar(QChar::LineSeparator) + "b\tc",
                                       font("Arial", 11));
                          c.insertBlock();
                          c.insertBlock();
                          c.insertText("after two breaks", font("Arial", 11));
                          c.insertBlock();
                      }},
        RoundTripCase{"Picture",
                      [](QTextCursor& c) {
                          QImage image(4, 3, QImage::Format_RGB32);
                          image.fill(Qt::red);
                          c.document()->addResource(QTextDocument::ImageResource, QUrl("img:one"),
                                                    image);
                          c.insertText("pic ", font("Arial", 11));
                          QTextImageFormat f;
                          f.setName("img:one");
                          f.setWidth(40);
                          f.setHeight(30);
                          f.setFontFamilies({"Arial"});
                          f.setFontPointSize(11);
                          c.insertImage(f);
                      }}),
    [](const ::testing::TestParamInfo<RoundTripCase>& info) {
        return std::string(info.param.name);
    });

}  // namespace

namespace {

// A quote would end the field instruction's argument early and lose the rest of the address; it
// is written percent-encoded, which names the same address.
TEST(RtfWriter, QuoteInLinkTargetIsPercentEncoded) {
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref("https://example.org/?q=\"a b\"&x=\\y");
    cursor.insertText("go", link);
    const auto reread = bp::test::readDocument(bp::rtf::writeRtf(document));
    QTextCursor at(reread.get());
    at.setPosition(1);
    EXPECT_EQ(at.charFormat().anchorHref(), "https://example.org/?q=%22a b%22&x=\\y");
}

// Text outside Windows-1252 is written as \uN with one '?' fallback, astral characters as two
// signed code units.
TEST(RtfWriter, EncodesCharactersTheWayTheControlDoes) {
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QString::fromUtf8("é€Ж💩{\\}"));
    const std::string rtf = bp::rtf::writeRtf(document);
    EXPECT_NE(rtf.find("\\'e9\\'80\\u1046?\\u-10179?\\u-9047?\\{\\\\\\}\\par"), std::string::npos)
        << rtf;
}

}  // namespace

namespace {

// Readers that follow the list numbering of the paragraph count from 0 when \pnstart is missing,
// so a numbered list whose start is not known is written as starting at 1; a start that came
// with the body is kept.
TEST(RtfWriter, NumberedListsAlwaysCarryTheirStart) {
    struct Case {
        const char* name;
        std::string rtf;  // read first; empty: a list made in the editor
        QTextListFormat::Style style;
        const char* expected;  // the \pn group's numbering words, or nullptr for none
    };
    const std::string head = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}";
    const Case cases[] = {
        {"made in the editor", "", QTextListFormat::ListDecimal, "\\pnstart1\\pndec"},
        {"lettered, made in the editor", "", QTextListFormat::ListLowerAlpha,
         "\\pnstart1\\pnlcltr"},
        {"read without a start",
         head + "\\pard{\\*\\pn\\pnlvlbody\\pndec{\\pntxta.}}one\\par two\\par}",
         {},
         "\\pnstart1\\pndec"},
        {"read with a start of its own",
         head + "\\pard{\\*\\pn\\pnlvlbody\\pnstart4\\pnucrm{\\pntxta.}}one\\par two\\par}",
         {},
         "\\pnstart4\\pnucrm"},
        {"read from a list table",
         head + "{\\*\\listtable{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}\\listid7}}"
                "{\\*\\listoverridetable{\\listoverride\\listid7\\ls1}}"
                "\\pard\\ls1{\\listtext 1.\\tab}one\\par}",
         {},
         "\\pnstart1\\pndec"},
        {"bullets", "", QTextListFormat::ListDisc, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<QTextDocument> document;
        if (c.rtf.empty()) {
            document = std::make_unique<QTextDocument>();
            QTextCursor cursor(document.get());
            cursor.insertText("one");
            cursor.createList(c.style);
            cursor.insertBlock();
            cursor.insertText("two");
        } else {
            document = bp::test::readDocument(c.rtf);
        }
        const std::string written = bp::rtf::writeRtf(*document);
        if (c.expected == nullptr) {
            EXPECT_EQ(written.find("\\pnstart"), std::string::npos) << written;
        } else {
            EXPECT_NE(written.find(c.expected), std::string::npos) << written;
        }
        // The markers drawn for other readers count from the same start.
        if (c.expected != nullptr && std::string(c.expected).starts_with("\\pnstart1\\pndec")) {
            EXPECT_NE(written.find("{\\pntext\\f0 1.\\tab}"), std::string::npos) << written;
        }
    }
}

}  // namespace
