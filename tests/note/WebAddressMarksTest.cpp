// Web addresses drawn as links: after any sequence of edits every paragraph carries exactly the
// marks a fresh scan of its text gives, and text being composed keeps the input method's look.

#include "note/NoteBody.h"
#include "note/WebAddressMarks.h"
#include "richtext/WebAddresses.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

namespace bp {
namespace {

using Marks = std::vector<std::pair<int, int>>;

Marks marksOf(const QTextBlock& block) {
    Marks marks;
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (range.format.fontUnderline()) {
            marks.emplace_back(range.start, range.length);
        }
    }
    return marks;
}

Marks addressesIn(const QTextBlock& block) {
    Marks marks;
    for (const rtf::TextRange& range : rtf::findWebAddresses(block.text())) {
        marks.emplace_back(static_cast<int>(range.start), static_cast<int>(range.length));
    }
    return marks;
}

void expectEveryParagraphMarked(const QTextDocument& document, const std::string& step) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        EXPECT_EQ(marksOf(block), addressesIn(block))
            << step << ", paragraph \"" << block.text().toStdString() << "\"";
    }
}

TEST(WebAddressMarks, FollowRandomEditsParagraphByParagraph) {
    static const char* const pieces[] = {"www.example.com",
                                         "https://a.org/x",
                                         " ",
                                         "\n",
                                         "see",
                                         "x",
                                         ".",
                                         "mailto:me@example.org",
                                         "w"};
    std::mt19937 rng(20261211);
    auto pick = [&](int count) { return std::uniform_int_distribution<int>(0, count - 1)(rng); };
    QTextDocument document;
    new WebAddressMarks(&document);
    for (int step = 0; step < 400; ++step) {
        QTextCursor cursor(&document);
        const int length = document.characterCount() - 1;
        cursor.setPosition(pick(length + 1));
        std::string what;
        if (pick(3) == 0 && length > 0) {
            // Removals split addresses, join paragraphs and join words to addresses.
            cursor.setPosition(std::min(length, cursor.position() + 1 + pick(6)),
                               QTextCursor::KeepAnchor);
            what = "remove";
            cursor.removeSelectedText();
        } else if (pick(8) == 0) {
            what = "undo";
            document.undo();
        } else {
            QString text;
            for (int i = pick(3); i >= 0; --i) {
                text += QString::fromLatin1(pieces[pick(std::size(pieces))]);
            }
            what = "insert \"" + text.toStdString() + "\"";
            cursor.insertText(text);
        }
        expectEveryParagraphMarked(document, "step " + std::to_string(step) + ": " + what);
        if (testing::Test::HasFailure()) {
            break;
        }
    }
}

TEST(WebAddressMarks, ALoadedBodyIsMarkedAndItsStoredTextIsNot) {
    CNoteBody body(nullptr);
    body.loadStored(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 first line\\par go to {\\b www.}example.com"
        " today\\par mail mailto:a@b.org\\par}");
    expectEveryParagraphMarked(*body.document(), "loaded");
    EXPECT_EQ(marksOf(body.document()->findBlockByNumber(1)), (Marks{{6, 15}}));
    EXPECT_EQ(body.toStored().find("\\ul"), std::string::npos);
}

TEST(WebAddressMarks, TextBeingComposedKeepsItsLookAndShiftsTheMarks) {
    CNoteBody body(nullptr);
    body.setPlainText("ab www.example.com");
    QTextCursor cursor = body.textCursor();
    cursor.setPosition(1);
    body.setTextCursor(cursor);
    QTextCharFormat composingLook;
    composingLook.setFontItalic(true);
    QInputMethodEvent composing("xyz", {{QInputMethodEvent::TextFormat, 0, 3, composingLook}});
    QCoreApplication::sendEvent(&body, &composing);

    const QList<QTextLayout::FormatRange> formats = body.document()->begin().layout()->formats();
    ASSERT_EQ(formats.size(), 2);
    EXPECT_TRUE(formats[0].format.fontItalic());
    EXPECT_EQ(std::make_pair(formats[0].start, formats[0].length), std::make_pair(1, 3));
    EXPECT_TRUE(formats[1].format.fontUnderline());
    EXPECT_EQ(std::make_pair(formats[1].start, formats[1].length), std::make_pair(6, 15));
}

}  // namespace
}  // namespace bp
