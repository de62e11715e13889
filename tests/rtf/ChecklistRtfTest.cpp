// Checklist items in the stored RTF: the boxes are \u characters every RTF reader shows, a
// ticked item's strike and grey survive, and Find reaches the open items through the store.

#include "platform/fake/FakePlatform.h"
#include "richtext/Checklist.h"
#include "richtext/QtRichTextEngine.h"
#include "rtf/RtfTestSupport.h"
#include "store/NotesDatabase.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QTextCursor>

namespace bp {
namespace {

std::unique_ptr<QTextDocument> shoppingList() {
    auto document = std::make_unique<QTextDocument>();
    QTextCursor cursor(document.get());
    QTextCharFormat arial;
    arial.setFontFamilies(QStringList{QStringLiteral("Arial")});
    arial.setFontPointSize(11);
    arial.setForeground(QColor(0, 0, 0));
    cursor.insertText(QStringLiteral("Shopping\nmilk\neggs\nbrown"), arial);
    QTextCursor edit(document.get());
    for (int n = 1; n <= 3; ++n) {
        checklist::makeItem(edit, document->findBlockByNumber(n));
    }
    checklist::setTicked(edit, document->findBlockByNumber(2), true, QColor(0, 0, 0));
    checklist::setNestLevel(edit, document->findBlockByNumber(3), 1);
    return document;
}

TEST(ChecklistRtf, ItemsAreStoredAsReadableBoxesAndReadBackTheSame) {
    const auto original = shoppingList();
    const std::string rtf = rtf::writeRtf(*original);
    EXPECT_NE(rtf.find("\\u9744?"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\u9745? "), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\strike"), std::string::npos);
    const auto reread = test::readDocument(rtf);
    EXPECT_EQ(test::describeDocument(*reread), test::describeDocument(*original));
    EXPECT_EQ(rtf::writeRtf(*reread), rtf);
    EXPECT_EQ(checklist::progressOf(*reread), (checklist::Progress{1, 3}));
    EXPECT_EQ(checklist::nestLevel(reread->findBlockByNumber(3)), 1);
    // What a reader without our formats sees: the boxes and the words.
    EXPECT_EQ(rtf::QtRichTextEngine().plainText(rtf),
              "Shopping\r\n\u2610 milk\r\n\u2611 eggs\r\n\u2610 brown");
}

TEST(ChecklistRtf, ProgressCountsTickedOfAllItems) {
    QTextDocument plain;
    plain.setPlainText(QStringLiteral("no list here\n[ ] typed brackets"));
    EXPECT_EQ(checklist::progressText(checklist::progressOf(plain)), QString());
    EXPECT_EQ(checklist::progressText(checklist::progressOf(*shoppingList())), "1/3");
}

TEST(ChecklistRtf, FindReachesNotesWithOpenItems) {
    test::TempFolder folder;
    fake::FakePlatform fakes;
    rtf::QtRichTextEngine engine;
    Platform platform = fakes.platform();
    platform.richText = &engine;
    CNotesDatabase store(platform);
    store.SetDataFolder(folder.path());
    ASSERT_TRUE(store.OpenDatabase(0));
    store.SetNoteBody(1, rtf::writeRtf(*shoppingList()));
    QTextDocument done;
    QTextCursor edit(&done);
    edit.insertText(QStringLiteral("all done"));
    checklist::makeItem(edit, done.begin());
    checklist::setTicked(edit, done.begin(), true, QColor(0, 0, 0));
    store.SetNoteBody(2, rtf::writeRtf(done));
    EXPECT_EQ(store.SearchNotes(-1, "search_in_notes", "\u2610"), (IdList{1}));
    EXPECT_EQ(store.SearchNotes(-1, "search_in_notes", "\u2611"), (IdList{1, 2}));
}

}  // namespace
}  // namespace bp
