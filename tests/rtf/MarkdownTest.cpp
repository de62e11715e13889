// Markdown in and out of a note's body: what each piece of Markdown becomes, and a note that
// goes out as Markdown and is pasted back is the same note.

#include "richtext/Checklist.h"
#include "richtext/Markdown.h"
#include "rtf/RtfTestSupport.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <memory>

namespace bp {
namespace {

constexpr double kBodyPoints = 12;

QTextCharFormat bodyFormat() {
    QTextCharFormat format;
    format.setFontFamilies(QStringList{QStringLiteral("Arial")});
    format.setFontPointSize(kBodyPoints);
    format.setForeground(QColor(0, 0, 0));
    return format;
}

std::unique_ptr<QTextDocument> pasted(const QString& markdown) {
    auto document = std::make_unique<QTextDocument>();
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(kBodyPoints);
    document->setDefaultFont(font);
    QTextCursor cursor(document.get());
    markdown::insertMarkdown(cursor, markdown, bodyFormat());
    return document;
}

QTextCharFormat formatAt(const QTextDocument& document, const QString& text) {
    const QTextCursor found = document.find(text);
    EXPECT_FALSE(found.isNull()) << text.toStdString();
    QTextCursor at(const_cast<QTextDocument*>(&document));
    at.setPosition(found.selectionStart() + 1);
    return at.charFormat();
}

TEST(Markdown, BecomesTheNotesOwnFormatting) {
    const auto doc = pasted(
        QStringLiteral("# Big\n\n### Small\n\nsome **bold**, *slanted*, ~~gone~~ and `code` with "
                       "[a link](https://example.org/x)\n\n- one\n- two\n\n3. three\n4. four\n\n"
                       "- [ ] milk\n- [x] eggs\n  - [ ] brown\n"));
    const QStringList paragraphs = doc->toPlainText().split(QLatin1Char('\n'));
    EXPECT_EQ(paragraphs,
              (QStringList{"Big", "Small", "some bold, slanted, gone and code with a link", "one",
                           "two", "three", "four", QString(QChar(checklist::kOpenBox)) + " milk",
                           QString(QChar(checklist::kTickedBox)) + " eggs",
                           QString(QChar(checklist::kOpenBox)) + " brown"}));
    const QTextCharFormat big = formatAt(*doc, "Big");
    EXPECT_GE(big.fontWeight(), QFont::Bold);
    EXPECT_EQ(big.fontPointSize(), 24);
    EXPECT_EQ(markdown::headingLevel(formatAt(*doc, "Small").fontPointSize(), kBodyPoints), 3);
    EXPECT_GE(formatAt(*doc, "bold").fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(*doc, "slanted").fontItalic());
    EXPECT_TRUE(formatAt(*doc, "gone").fontStrikeOut());
    EXPECT_EQ(formatAt(*doc, "code").fontFamilies().toStringList().value(0),
              markdown::codeFamily());
    EXPECT_EQ(formatAt(*doc, "a link").anchorHref(), "https://example.org/x");
    EXPECT_FALSE(formatAt(*doc, "some").fontStrikeOut());

    const QTextBlock one = doc->findBlockByNumber(3);
    ASSERT_NE(one.textList(), nullptr);
    EXPECT_EQ(one.textList()->format().style(), QTextListFormat::ListDisc);
    const QTextBlock three = doc->findBlockByNumber(5);
    ASSERT_NE(three.textList(), nullptr);
    EXPECT_EQ(three.textList()->format().property(rtf::kListStartProperty).toInt(), 3);
    EXPECT_EQ(doc->findBlockByNumber(7).textList(), nullptr) << "an item is not a list";
    EXPECT_TRUE(formatAt(*doc, "eggs").fontStrikeOut());
    EXPECT_EQ(checklist::nestLevel(doc->findBlockByNumber(9)), 1);
    EXPECT_EQ(checklist::progressOf(*doc), (checklist::Progress{1, 3}));
}

// The parser's core leaves ~~ as text; only pairs strike, and never inside code.
TEST(Markdown, StrikeNeedsPairsOutsideCode) {
    struct Case {
        const char* markdown;
        const char* text;
        const char* struck;  // the text struck through, or "" for none
    };
    const Case cases[] = {
        {"~~all~~", "all", "all"},     {"\\~\\~kept~~", "~~kept~~", ""},
        {"`a\\~b`", "a\\~b", ""},      {"a ~~b~~ ~~c", "a b ~~c", "b"},
        {"~~**x** y~~", "x y", "x y"}, {"`~~no~~`", "~~no~~", ""},
        {"~single~", "~single~", ""},
    };
    for (const Case& c : cases) {
        const auto doc = pasted(QString::fromUtf8(c.markdown));
        EXPECT_EQ(doc->toPlainText(), QString::fromUtf8(c.text)) << c.markdown;
        QString struck;
        for (auto it = doc->begin().begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().fontStrikeOut()) {
                struck += it.fragment().text();
            }
        }
        EXPECT_EQ(struck, QString::fromUtf8(c.struck)) << c.markdown;
    }
}

// Each case is a note written as Markdown the way the note writes it: pasted, written out and
// pasted again, it gives the same text and the same note.
TEST(Markdown, RoundTripGivesTheSameNote) {
    const char* cases[] = {
        "plain words\n\nsecond paragraph\n",
        "# Heading one\n\n## Heading two\n\n### Heading three\n\n#### Heading four\n",
        "**bold** then *italic* then ***both*** and ~~struck~~\n",
        "mixed **bold *and italic* inside** here\n",
        "`code span` and ``a ` tick``\n",
        "[a link](https://example.org/path?q=1) and [**bold link**](mailto:me@example.org)\n",
        "- first\n- second\n",
        "1. one\n2. two\n",
        "7. seven\n8. eight\n",
        "- [ ] milk\n- [x] eggs\n  - [ ] brown\n    - [x] free range\n- [ ] bread\n",
        "- [ ] item with **bold** and `code`\n",
        "line one\\\nline two\n",
        "\\# not a heading, \\*not bold\\*, \\[not a link\\] \\~\\~x\\~\\~ a\\_b\n",
        "1\\. not a list\n",
        "\\- not a bullet \\<b> \\& done\n",
    };
    for (const char* md : cases) {
        const QString markdown = QString::fromUtf8(md);
        const auto first = pasted(markdown);
        const QString written = markdown::toMarkdown(*first);
        EXPECT_EQ(written.toStdString(), markdown.toStdString());
        const auto second = pasted(written);
        EXPECT_EQ(test::describeDocument(*second), test::describeDocument(*first)) << md;
    }
}

TEST(Markdown, CopiesTheSelectionOnly) {
    const auto doc = pasted(QStringLiteral("# Title\n\n- [ ] milk\n- [x] eggs\n"));
    QTextCursor selection(doc.get());
    selection.setPosition(doc->findBlockByNumber(1).position());
    selection.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    EXPECT_EQ(markdown::selectionToMarkdown(selection), "- [ ] milk\n- [x] eggs\n");
    selection.clearSelection();
    EXPECT_EQ(markdown::selectionToMarkdown(selection), "# Title\n\n- [ ] milk\n- [x] eggs\n");
}

TEST(Markdown, PastingIntoTextKeepsWhatIsAroundIt) {
    auto doc = pasted(QStringLiteral("before () after"));
    QTextCursor cursor(doc.get());
    cursor.setPosition(8);
    markdown::insertMarkdown(cursor, QStringLiteral("**mid**"), bodyFormat());
    EXPECT_EQ(doc->toPlainText(), "before (mid) after");
    EXPECT_GE(formatAt(*doc, "mid").fontWeight(), QFont::Bold);
    doc->undo();
    EXPECT_EQ(doc->toPlainText(), "before () after") << "one undo step";
}

TEST(Markdown, OnlyPlainlyMarkdownTextCounts) {
    struct Case {
        const char* text;
        bool markdown;
    };
    const Case cases[] = {
        {"# Shopping", true},
        {"- [ ] milk", true},
        {"see [docs](https://example.org)", true},
        {"```\ncode\n```", true},
        {"this is **important**", true},
        {"- milk\n- eggs", true},
        {"1. first\n2. second", true},
        {"just a sentence.", false},
        {"a * b * c", false},
        {"- one dash", false},
        {"#hashtag", false},
        {"price: 5 ~ 6", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(markdown::looksLikeMarkdown(QString::fromUtf8(c.text)), c.markdown) << c.text;
    }
}

}  // namespace
}  // namespace bp
