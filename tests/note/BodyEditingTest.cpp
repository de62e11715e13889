#include "NoteFixture.h"
#include "platform/Messages.h"
#include "richtext/RtfFormats.h"
#include "richtext/RtfReader.h"
#include "ui/BodyFormat.h"

#include <QClipboard>
#include <QComboBox>
#include <QMimeData>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

namespace bp {
namespace {

using test::NoteFixture;

// The format of the character at position (the one after it).
QTextCharFormat formatAt(const QTextDocument& document, int position) {
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

QString faceOf(const QTextCharFormat& format) {
    return format.fontFamilies().toStringList().value(0);
}

TEST(BodyFormat, RecordHeightsAndFormatSizesConvert) {
    struct Case {
        double points;
        int height;  // at 96 dpi
    };
    // Whole points first: a half rounds down, more than a half rounds up.
    const Case cases[] = {{9.0, -12},  {10.0, -13}, {10.5, -13}, {10.55, -15},
                          {11.0, -15}, {12.0, -16}, {72.0, -96}};
    for (const Case& c : cases) {
        QTextCharFormat format;
        format.setFontPointSize(c.points);
        format.setFontFamilies(QStringList{"Liberation Serif"});
        format.setFontWeight(QFont::Bold);
        format.setFontItalic(true);
        const LogFont record = charFormatToLogFont(format, QFont(), 96);
        EXPECT_EQ(record.height, c.height) << c.points;
        EXPECT_EQ(record.weight, 700);
        EXPECT_EQ(record.italic, 1);
        EXPECT_EQ(record.underline, 0);
        EXPECT_EQ(record.face(), "Liberation Serif");
        EXPECT_EQ(record.width, 0);
    }
    EXPECT_EQ(twipsFromRecordHeight(-13, 96), 195);
    EXPECT_EQ(twipsFromRecordHeight(13, 96), 195);
    EXPECT_EQ(twipsFromRecordHeight(-11, 120), 132);
    LogFont font;
    font.height = -16;
    font.weight = 400;
    font.strikeOut = 1;
    const QTextCharFormat format = fontFormatFromLogFont(font, 96);
    EXPECT_DOUBLE_EQ(format.fontPointSize(), 12.0);
    EXPECT_TRUE(format.fontStrikeOut());
    EXPECT_FALSE(format.hasProperty(QTextFormat::FontFamilies));  // no face: left alone
}

// The font dialog of the selection, or of the whole body.
void chooseFont(CNote& note, bool selectionFont) {
    if (selectionFont) {
        note.bodyEditor()->chooseSelectionFont();
    } else {
        note.chooseBodyFont();
    }
}

class BodyEditing : public NoteFixture {
protected:
    // A note whose body holds text, with the caret at position.
    CNote& noteWith(const QString& text, int caret = 0) {
        CNote& note = open(2);
        note.body()->setPlainText(text);
        place(note, caret);
        return note;
    }
    static void place(CNote& note, int position, int anchor = -1) {
        QTextCursor cursor = note.body()->textCursor();
        cursor.setPosition(anchor < 0 ? position : anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        note.body()->setTextCursor(cursor);
    }
    static void expectBodyDefaults(CNote& note, const QTextCharFormat& format) {
        EXPECT_EQ(format.foreground().color(), note.bodyFontColor());
        EXPECT_EQ(faceOf(format), QString::fromStdString(note.bodyFont().face()));
        EXPECT_DOUBLE_EQ(
            format.fontPointSize(),
            twipsFromRecordHeight(note.bodyFont().height, note.bodyEditor()->dpi()) / 20.0);
        EXPECT_FALSE(isBold(format));
        EXPECT_FALSE(format.fontItalic());
    }
};

// A body longer than the note shows its first line, with the caret before it.
TEST_F(BodyEditing, ALongBodyOpensAtItsBeginning) {
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard ";
    for (int line = 0; line < 100; ++line) {
        rtf += "line " + std::to_string(line) + " of a body that does not fit\\par ";
    }
    rtf += "}";
    ASSERT_TRUE(db().SetNoteBody(2, rtf));
    CNote& note = open(2);
    QApplication::processEvents();
    const QScrollBar* scroll = note.body()->verticalScrollBar();
    ASSERT_GT(scroll->maximum(), 0) << "the body must not fit";
    EXPECT_EQ(scroll->value(), 0);
    EXPECT_EQ(note.body()->textCursor().position(), 0);
    EXPECT_FALSE(note.body()->textCursor().hasSelection());

    // A caret put at the end while the note was hidden (as Find does) is in view once the
    // note shows.
    CNote& hidden = open(2, false);
    QTextCursor end = hidden.body()->textCursor();
    end.movePosition(QTextCursor::End);
    hidden.body()->setTextCursor(end);
    hidden.ShowNote(true);
    QApplication::processEvents();
    EXPECT_GT(hidden.body()->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(hidden.body()->viewport()->rect().contains(hidden.body()->cursorRect()));
}

TEST_F(BodyEditing, TypingIntoAnEmptyNoteUsesTheBodyFontAndColour) {
    db().SetNoteUInt(2, 0x0000A0u, "bodyFontColor");  // dark red
    CNote& note = open(2);
    note.body()->clear();
    // Another insertion format set meanwhile does not survive the first typed character.
    note.bodyEditor()->setInsertionColor(Qt::green);
    LogFont other;
    other.height = -40;
    other.weight = 700;
    std::memcpy(other.faceName.data(), "Liberation Mono", 15);
    note.bodyEditor()->setInsertionFont(other);
    QTest::keyClicks(note.body(), "abc");
    EXPECT_EQ(note.body()->toPlainText(), "abc");
    expectBodyDefaults(note, formatAt(*note.body()->document(), 0));
    expectBodyDefaults(note, formatAt(*note.body()->document(), 2));
}

TEST_F(BodyEditing, TypingContinuesTheFormatBeforeTheCaret) {
    CNote& note = noteWith("Hello");
    QTextCursor all(note.body()->document());
    all.select(QTextCursor::Document);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(QColor(0, 0, 255));
    bold.setFontPointSize(20);
    all.mergeCharFormat(bold);
    place(note, 5);
    QTest::keyClicks(note.body(), " world");
    const QTextCharFormat typed = formatAt(*note.body()->document(), 8);
    EXPECT_TRUE(isBold(typed));
    EXPECT_EQ(typed.foreground().color(), QColor(0, 0, 255));
    EXPECT_DOUBLE_EQ(typed.fontPointSize(), 20.0);
    // Replacing a selection takes the format of its start.
    place(note, 11, 6);
    QTest::keyClicks(note.body(), "there");
    EXPECT_EQ(note.body()->toPlainText(), "Hello there");
    EXPECT_TRUE(isBold(formatAt(*note.body()->document(), 7)));
}

TEST_F(BodyEditing, TypingAfterALinkDoesNotExtendIt) {
    CNote& note = open(2);
    note.body()->setHtml("<a href=\"https://example.org\">link</a>");
    place(note, 4);
    QTest::keyClicks(note.body(), "x");
    EXPECT_TRUE(formatAt(*note.body()->document(), 0).isAnchor());
    EXPECT_FALSE(formatAt(*note.body()->document(), 4).isAnchor());
}

TEST_F(BodyEditing, PlainPasteTakesTheBodyFormatRichPasteKeepsItsOwn) {
    CNote& note = noteWith("");
    auto* mime = new QMimeData;
    mime->setHtml("<span style=\"color:#ff0000; font-weight:700; font-size:30pt\">Rich</span>");
    mime->setText("Rich");
    QGuiApplication::clipboard()->setMimeData(mime);
    note.bodyEditor()->setInsertionColor(Qt::green);
    note.bodyEditor()->pastePlain();
    EXPECT_EQ(note.body()->toPlainText(), "Rich");
    expectBodyDefaults(note, formatAt(*note.body()->document(), 1));

    note.bodyEditor()->paste();
    EXPECT_EQ(note.body()->toPlainText(), "RichRich");
    const QTextCharFormat rich = formatAt(*note.body()->document(), 5);
    EXPECT_TRUE(isBold(rich));
    EXPECT_EQ(rich.foreground().color(), QColor(255, 0, 0));
}

TEST_F(BodyEditing, EditCommandsChangeTheBody) {
    CNote& note = noteWith("one two three");
    place(note, 7, 4);
    note.bodyEditor()->deleteSelection();
    EXPECT_EQ(note.body()->toPlainText(), "one  three");
    note.bodyEditor()->undo();
    EXPECT_EQ(note.body()->toPlainText(), "one two three");
    note.bodyEditor()->redo();
    EXPECT_EQ(note.body()->toPlainText(), "one  three");
    note.bodyEditor()->selectAll();
    note.bodyEditor()->copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "one  three");
    note.bodyEditor()->cut();
    EXPECT_TRUE(note.body()->toPlainText().isEmpty());
    note.bodyEditor()->paste();
    EXPECT_EQ(note.body()->toPlainText(), "one  three");
    // A locked body is not changed by them.
    note.SetEditable(false, false);
    note.bodyEditor()->selectAll();
    CBodyEditor& editor = *note.bodyEditor();
    editor.deleteSelection();
    editor.cut();
    editor.undo();
    editor.pastePlain();
    EXPECT_EQ(note.body()->toPlainText(), "one  three");
}

TEST_F(BodyEditing, ToggleEffectTakesTheWordAroundTheCaret) {
    struct Case {
        int caret;
        QString bolded;  // characters that end up bold
        bool insertionBold;
    };
    const Case cases[] = {
        {2, "alpha", false},  // inside a word: the whole word
        {0, "alpha", false},  // at its start
        {5, "", true},        // on the blank: only what is typed next
        {11, "", true},       // at the very end
        {6, "beta", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caret);
        CNote& note = noteWith("alpha beta.", c.caret);
        note.body()->document()->setModified(false);
        note.bodyEditor()->toggleEffect(CBodyEditor::Effect::Bold);
        QString bolded;
        for (int i = 0; i < 11; ++i) {
            if (isBold(formatAt(*note.body()->document(), i))) {
                bolded += note.body()->toPlainText().at(i);
            }
        }
        EXPECT_EQ(bolded, c.bolded);
        EXPECT_EQ(note.body()->textCursor().position(), c.caret);
        if (c.insertionBold) {
            EXPECT_TRUE(isBold(note.body()->currentCharFormat()));
        }
        EXPECT_EQ(note.body()->document()->isModified(), !c.bolded.isEmpty());
        notes.clear();
    }
}

TEST_F(BodyEditing, EffectsToggleOnAndOff) {
    CNote& note = noteWith("word", 2);
    CBodyEditor& editor = *note.bodyEditor();
    editor.toggleEffect(CBodyEditor::Effect::Italic);
    editor.toggleEffect(CBodyEditor::Effect::Underline);
    editor.toggleEffect(CBodyEditor::Effect::StrikeOut);
    QTextCharFormat f = formatAt(*note.body()->document(), 1);
    EXPECT_TRUE(f.fontItalic() && f.fontUnderline() && f.fontStrikeOut());
    EXPECT_FALSE(isBold(f));
    editor.toggleEffect(CBodyEditor::Effect::Italic);
    f = formatAt(*note.body()->document(), 1);
    EXPECT_FALSE(f.fontItalic());
    EXPECT_TRUE(f.fontUnderline());
}

// Bold and italic words in two paragraphs, then a bold font over all of it: the merge runs
// over runs of different formats.
TEST_F(BodyEditing, BoldFontOverMixedFormattingReachesEveryCharacter) {
    for (const bool selectionFont : {true, false}) {
        SCOPED_TRACE(selectionFont ? "selection font" : "body font");
        CNote& note = noteWith("");
        note.activateWindow();
        note.body()->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&note));
        QTest::keyClicks(note.body(), "alpha beta");
        QTest::keyClick(note.body(), Qt::Key_Left);
        QTest::keyClick(note.body(), Qt::Key_B, Qt::ControlModifier);
        QTest::keyClick(note.body(), Qt::Key_Return);
        QTest::keyClicks(note.body(), "gamma delta");
        QTest::keyClick(note.body(), Qt::Key_Left);
        QTest::keyClick(note.body(), Qt::Key_I, Qt::ControlModifier);
        QTest::keyClick(note.body(), Qt::Key_A, Qt::ControlModifier);
        const QTextDocument& document = *note.body()->document();
        ASSERT_TRUE(isBold(formatAt(document, 7)));
        ASSERT_TRUE(formatAt(document, 18).fontItalic());

        QFont chosen(QString::fromStdString(note.bodyFont().face()));
        chosen.setPointSize(12);
        chosen.setBold(true);
        chosen.setItalic(true);
        dialogs.font = chosen;
        chooseFont(note, selectionFont);
        // Enter went in before the last letter of "beta".
        EXPECT_EQ(note.body()->toPlainText(), "alpha bet\ngamma deltaa");
        for (int i = 0; i < 22; ++i) {
            if (i == 9) {
                continue;  // the paragraph end
            }
            const QTextCharFormat f = formatAt(document, i);
            EXPECT_TRUE(isBold(f) && f.fontItalic()) << i;
            EXPECT_DOUBLE_EQ(f.fontPointSize(), 12.0) << i;
        }
        notes.clear();
    }
}

TEST_F(BodyEditing, FormattingKeysActOnlyOnTheFocusedNote) {
    CNote& first = noteWith("first", 2);
    CNote& second = open(3);
    second.body()->setPlainText("second");
    QTextCursor c = second.body()->textCursor();
    c.setPosition(2);
    second.body()->setTextCursor(c);

    first.activateWindow();
    first.body()->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&first));
    QTest::keyClick(first.body(), Qt::Key_B, Qt::ControlModifier);
    // Ctrl+U underlines instead of the edit control's own use of the key.
    QTest::keyClick(first.body(), Qt::Key_U, Qt::ControlModifier);
    EXPECT_TRUE(isBold(formatAt(*first.body()->document(), 0)));
    EXPECT_TRUE(formatAt(*first.body()->document(), 0).fontUnderline());
    EXPECT_EQ(first.body()->toPlainText(), "first");
    EXPECT_FALSE(isBold(formatAt(*second.body()->document(), 0)));

    second.activateWindow();
    second.body()->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&second));
    QTest::keyClick(second.body(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(formatAt(*second.body()->document(), 0).fontStrikeOut());
    EXPECT_FALSE(formatAt(*first.body()->document(), 0).fontStrikeOut());

    // Activated again, the first note still has one set of keys: a second set would make
    // every key ambiguous, and none would act.
    first.activateWindow();
    first.body()->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&first));
    QTest::keyClick(first.body(), Qt::Key_I, Qt::ControlModifier);
    EXPECT_TRUE(formatAt(*first.body()->document(), 0).fontItalic());
}

// Text without a face or size of its own, an empty body above all, is drawn in the note's body
// font; the font dialogs open on that, not on the toolkit's default font.
TEST_F(BodyEditing, FontDialogsOpenOnTheBodyFontForTextWithoutOneOfItsOwn) {
    LogFont arial;
    arial.height = -16;
    arial.weight = 700;
    arial.italic = 1;
    std::memcpy(arial.faceName.data(), "Arial", 5);
    db().SetNoteFont(2, arial, "bodyFontType");
    for (const bool selectionFont : {false, true}) {
        SCOPED_TRACE(selectionFont ? "selection font" : "body font");
        CNote& note = noteWith(selectionFont ? "typed elsewhere" : "");
        place(note, 5, 0);
        chooseFont(note, selectionFont);
        EXPECT_EQ(dialogs.fontAskedWith.family(), "Arial");
        const QFont& asked = dialogs.fontAskedWith;
        const int dpi = note.bodyEditor()->dpi();
        EXPECT_EQ(asked.pointSizeF() > 0 ? asked.pointSizeF() : asked.pixelSize() * 72.0 / dpi,
                  16 * 72.0 / dpi);
        EXPECT_TRUE(dialogs.fontAskedWith.bold());
        EXPECT_TRUE(dialogs.fontAskedWith.italic());
        EXPECT_EQ(dialogs.fontColorAskedWith, note.bodyFontColor());
        notes.clear();
    }
}

TEST_F(BodyEditing, SelectionColourAndFontComeFromTheDialogs) {
    CNote& note = noteWith("colour me");
    QTextCursor all(note.body()->document());
    all.select(QTextCursor::Document);
    QTextCharFormat blue;
    blue.setForeground(QColor(0, 0, 200));
    all.mergeCharFormat(blue);
    place(note, 6, 0);

    dialogs.color = QColor(10, 200, 30);
    note.bodyEditor()->chooseSelectionColor();
    EXPECT_EQ(dialogs.colorAskedWith, QColor(0, 0, 200));
    EXPECT_EQ(formatAt(*note.body()->document(), 0).foreground().color(), QColor(10, 200, 30));
    EXPECT_EQ(formatAt(*note.body()->document(), 7).foreground().color(), QColor(0, 0, 200));
    EXPECT_FALSE(note.modalOpen());

    QFont chosen(QStringLiteral("Liberation Serif"));
    chosen.setPointSize(18);
    chosen.setItalic(true);
    dialogs.font = chosen;
    note.bodyEditor()->chooseSelectionFont();
    const QTextCharFormat f = formatAt(*note.body()->document(), 0);
    EXPECT_EQ(faceOf(f), "Liberation Serif");
    EXPECT_DOUBLE_EQ(f.fontPointSize(), 18.0);
    EXPECT_TRUE(f.fontItalic());
    EXPECT_EQ(dialogs.fontColorAskedWith, QColor(10, 200, 30));
    EXPECT_EQ(f.foreground().color(), QColor(10, 200, 30));  // colour left as it was
    EXPECT_EQ(note.body()->textCursor().selectedText(), "colour");
    // A colour picked in the font dialog goes over the selection.
    dialogs.fontColor = QColor(120, 0, 120);
    note.bodyEditor()->chooseSelectionFont();
    EXPECT_EQ(formatAt(*note.body()->document(), 5).foreground().color(), QColor(120, 0, 120));
    EXPECT_EQ(formatAt(*note.body()->document(), 7).foreground().color(), QColor(0, 0, 200));

    // Cancelled dialogs change nothing.
    dialogs.color.reset();
    dialogs.font.reset();
    note.body()->document()->setModified(false);
    note.bodyEditor()->chooseSelectionColor();
    note.bodyEditor()->chooseSelectionFont();
    EXPECT_FALSE(note.body()->document()->isModified());
}

TEST_F(BodyEditing, ParagraphDialogShowsAndAppliesTheParagraphFormat) {
    struct Case {
        double lineHeight;  // percent, 0 for none
        Qt::Alignment alignment;
        ParagraphChoice shown;
    };
    const Case cases[] = {
        {0, Qt::AlignLeft, {"Single", 1, 0, 0}},
        {125, Qt::AlignLeft, {"Single", 1, 0, 0}},  // 25 twentieths: none of the named ones
        {150, Qt::AlignRight, {"One and Half", 1, 0, 1}},
        {200, Qt::AlignHCenter, {"Double", 1, 0, 2}},
        {300, Qt::AlignLeft, {"Multiple", 3, 0, 0}},
        {250, Qt::AlignJustify, {"Multiple", 2, 0, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lineHeight);
        QTextDocument document;
        document.setPlainText("para");
        QTextCursor cursor(&document);
        QTextBlockFormat format;
        if (c.lineHeight > 0) {
            format.setLineHeight(c.lineHeight, QTextBlockFormat::ProportionalHeight);
        }
        format.setAlignment(c.alignment);
        cursor.setBlockFormat(format);
        EXPECT_EQ(choiceForParagraph(cursor), c.shown);
    }
}

TEST_F(BodyEditing, ParagraphSettingsRoundTripThroughTheDialog) {
    CNote& note = noteWith("first\nsecond\nthird", 3);
    QTextCursor cursor = note.body()->textCursor();
    QTextBlockFormat quarter;
    quarter.setLineHeight(125, QTextBlockFormat::ProportionalHeight);
    quarter.setTopMargin(5);
    cursor.mergeBlockFormat(quarter);
    place(note, 8, 2);  // the first two paragraphs

    dialogs.answer = [](CParagraph& dialog) {
        EXPECT_FALSE(dialog.factorField()->isEnabled());
        dialog.spacingList()->setCurrentText("Multiple");
        EXPECT_TRUE(dialog.factorField()->isEnabled());
        dialog.factorField()->setValue(3);
        dialog.alignmentList()->setCurrentIndex(2);
        dialog.numberingList()->setCurrentIndex(3);  // a, b, c
    };
    note.bodyEditor()->paragraphSettings();
    EXPECT_EQ(dialogs.shown.spacing, "Single");
    const QTextBlock first = note.body()->document()->firstBlock();
    for (const QTextBlock& b : {first, first.next()}) {
        EXPECT_EQ(lineSpacingTwentieths(b.blockFormat()), 60);
        EXPECT_EQ(b.blockFormat().topMargin(), 0);
        EXPECT_EQ(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        ASSERT_NE(b.textList(), nullptr);
        EXPECT_EQ(b.textList()->format().style(), QTextListFormat::ListLowerAlpha);
        EXPECT_FALSE(b.textList()->format().hasProperty(rtf::kListStartProperty));
    }
    EXPECT_EQ(first.textList(), first.next().textList());
    EXPECT_EQ(first.next().next().textList(), nullptr);
    EXPECT_FALSE(note.modalOpen());
    // Stored as the rich-edit dialect has it: 60 twentieths are 720 240ths of a line.
    note.StoreBody();
    std::string stored;
    ASSERT_TRUE(db().GetNoteBody(kLiveSource, 2, stored));
    EXPECT_NE(stored.find("\\sl720\\slmult1"), std::string::npos);
    EXPECT_NE(stored.find("\\pnlcltr"), std::string::npos);

    // Arabic and roman numbers start at one; "None" takes the paragraphs out of the list.
    for (int numbering : {2, 5, 6}) {
        dialogs.answer = [numbering](CParagraph& dialog) {
            dialog.numberingList()->setCurrentIndex(numbering);
        };
        note.bodyEditor()->paragraphSettings();
        const QTextBlock b = note.body()->document()->firstBlock();
        ASSERT_NE(b.textList(), nullptr);
        EXPECT_EQ(b.textList()->format().intProperty(rtf::kListStartProperty), 1);
        EXPECT_EQ(numberingIndex(b.textList()), numbering);
        EXPECT_EQ(dialogs.shown.factor, 3);
    }
    dialogs.answer = [](CParagraph& dialog) { dialog.numberingList()->setCurrentIndex(0); };
    note.bodyEditor()->paragraphSettings();
    EXPECT_EQ(note.body()->document()->firstBlock().textList(), nullptr);
    EXPECT_EQ(note.body()->document()->firstBlock().blockFormat().leftMargin(), 0);

    // Cancel leaves everything as it was.
    dialogs.confirm = false;
    dialogs.answer = [](CParagraph& dialog) { dialog.spacingList()->setCurrentText("Double"); };
    note.bodyEditor()->paragraphSettings();
    EXPECT_EQ(lineSpacingTwentieths(note.body()->document()->firstBlock().blockFormat()), 60);
}

TEST_F(BodyEditing, BodyMenuEnablesWhatTheBodyAllows) {
    struct Case {
        int anchor;
        int position;
        bool selected;
    };
    for (const Case& c : {Case{2, 2, false}, Case{0, 4, true}}) {
        CNote& note = noteWith("some text");
        QGuiApplication::clipboard()->clear();
        place(note, c.position, c.anchor);
        menus.clear();
        QTest::mouseClick(note.body()->viewport(), Qt::RightButton, Qt::NoModifier,
                          QPoint(150, 80));
        ASSERT_EQ(menus.size(), 1u);
        EXPECT_EQ(menus[0].name, "editMenu");
        for (int id : {cmd::EDIT_CUT, cmd::EDIT_COPY, cmd::EDIT_DELETE}) {
            EXPECT_EQ(menus[0].enabled[id], c.selected) << id;
        }
        EXPECT_FALSE(menus[0].enabled[cmd::EDIT_PASTE]);
        EXPECT_FALSE(menus[0].enabled[cmd::EDIT_UNDO]);
        EXPECT_FALSE(menus[0].enabled[cmd::EDIT_REDO]);
        EXPECT_TRUE(menus[0].enabled[cmd::EDIT_SELECT_ALL]);
        notes.clear();
    }
    CNote& note = noteWith("abc", 3);
    QTest::keyClicks(note.body(), "d");
    QGuiApplication::clipboard()->setText("x");
    menus.clear();
    QTest::mouseClick(note.body()->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(150, 80));
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_TRUE(menus[0].enabled[cmd::EDIT_PASTE]);
    EXPECT_TRUE(menus[0].enabled[cmd::EDIT_PASTE_PLAIN]);
    EXPECT_TRUE(menus[0].enabled[cmd::EDIT_UNDO]);
    // Locked, the body offers only the unlock menu.
    note.SetEditable(false, false);
    menus.clear();
    QTest::mouseClick(note.body()->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(150, 80));
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].name, "unlockMenu");
}

TEST_F(BodyEditing, ClickingAWebAddressAsksTheShellToOpenIt) {
    CNote& note = noteWith("see https://example.org/a_b now\nand www.example.com.");
    QCoreApplication::processEvents();
    auto pointAt = [&](int position) {
        QTextCursor c(note.body()->document());
        c.setPosition(position);
        return note.body()->cursorRect(c).center() + QPoint(3, 0);
    };
    QTest::mouseClick(note.body()->viewport(), Qt::LeftButton, Qt::NoModifier, pointAt(10));
    QTest::mouseClick(note.body()->viewport(), Qt::LeftButton, Qt::NoModifier, pointAt(1));
    QTest::mouseClick(note.body()->viewport(), Qt::LeftButton, Qt::NoModifier, pointAt(40));
    EXPECT_EQ(fakes.shell.opened,
              (std::vector<std::string>{"https://example.org/a_b", "www.example.com"}));
    // Detection only shows the addresses: the stored text carries no link.
    note.body()->document()->setModified(true);
    note.StoreBody();
    std::string stored;
    ASSERT_TRUE(db().GetNoteBody(kLiveSource, 2, stored));
    EXPECT_EQ(stored.find("HYPERLINK"), std::string::npos);
}

TEST_F(BodyEditing, BodyAndFormatsSurviveCollapseMoveAndRestart) {
    {
        CNote& note = noteWith("");
        QTest::keyClicks(note.body(), "plain bold");
        place(note, 8);
        note.bodyEditor()->toggleEffect(CBodyEditor::Effect::Bold);
        place(note, 2);
        note.bodyEditor()->toggleEffect(CBodyEditor::Effect::Italic);
        note.toggleMinimized();
        note.move(note.pos() + QPoint(15, 25));
        note.toggleMinimized();
        note.StoreBody();
        notes.clear();
        ASSERT_TRUE(db().SaveDatabase(""));
    }
    CNotesDatabase reopened(fakes.platform());
    reopened.SetDataFolder(folder.path());
    ASSERT_TRUE(reopened.OpenDatabase(0));
    CNote note(fakes.platform(), reopened, owner, 2);
    note.CreateFromRecord();
    const QTextDocument& document = *note.body()->document();
    EXPECT_EQ(note.body()->toPlainText(), "plain bold");
    for (int i = 0; i < 10; ++i) {
        const QTextCharFormat f = formatAt(document, i);
        EXPECT_EQ(isBold(f), i >= 6) << i;
        EXPECT_EQ(f.fontItalic(), i < 5) << i;
        EXPECT_EQ(f.foreground().color(), note.bodyFontColor()) << i;
        EXPECT_EQ(faceOf(f), QString::fromStdString(note.bodyFont().face())) << i;
        EXPECT_NEAR(f.fontPointSize(),
                    twipsFromRecordHeight(note.bodyFont().height, note.bodyEditor()->dpi()) / 20.0,
                    0.5)
            << i;
    }
}

TEST_F(BodyEditing, BodyAtTheTextLimitRefusesMoreAndKeepsWhatItHas) {
    CNote& note = open(2);
    // Many short paragraphs: one line of a million characters takes minutes to lay out.
    QString full;
    const QString line = QString(99, QLatin1Char('x')) + QLatin1Char('\n');
    while (full.size() + line.size() <= CNoteBody::kTextLimit) {
        full += line;
    }
    full += QString(CNoteBody::kTextLimit - full.size(), QLatin1Char('x'));
    note.body()->setPlainText(full);
    ASSERT_EQ(note.body()->textLength(), CNoteBody::kTextLimit);
    place(note, 10);
    QTest::keyClicks(note.body(), "yz");
    QGuiApplication::clipboard()->setText("pasted");
    note.bodyEditor()->pastePlain();
    note.bodyEditor()->paste();
    EXPECT_EQ(note.body()->textLength(), CNoteBody::kTextLimit);
    EXPECT_FALSE(note.body()->toPlainText().contains('y'));
    // Replacing a selection has room for as much as it takes away.
    place(note, 10, 4);
    note.bodyEditor()->paste();
    EXPECT_EQ(note.body()->textLength(), CNoteBody::kTextLimit);
    EXPECT_EQ(note.body()->toPlainText().mid(4, 6), "pasted");
    note.StoreBody();
    notes.clear();
    CNote& again = open(2, false);
    EXPECT_EQ(again.body()->textLength(), CNoteBody::kTextLimit);
    EXPECT_EQ(again.body()->toPlainText().mid(4, 6), "pasted");
}

// A stored body longer than the typing limit, all of it one word: the note comes up with all of
// it and writes it back unchanged until the user edits it.
TEST_F(BodyEditing, BodyBeyondTheLimitLoadsWholeAndStaysStoredUntilEdited) {
    const std::string word(2000000, 'x');
    const std::string stored =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\\pard\\f0\\fs20 " + word + "\\par\r\n}";
    ASSERT_TRUE(db().SetNoteBody(2, stored));
    std::string before;
    ASSERT_TRUE(db().GetNoteBody(kLiveSource, 2, before));
    CNote& note = open(2);
    EXPECT_EQ(note.body()->textLength(), 2000000);
    EXPECT_FALSE(note.body()->document()->isModified());
    note.move(note.pos() + QPoint(5, 5));
    note.StoreBody();
    std::string kept;
    ASSERT_TRUE(db().GetNoteBody(kLiveSource, 2, kept));
    EXPECT_TRUE(kept == before);
    // The body takes no more text, and what it holds is never cut to make room; the user may
    // still shorten it.
    place(note, 5);
    QTest::keyClicks(note.body(), "yz");
    QGuiApplication::clipboard()->setText("pasted");
    note.bodyEditor()->paste();
    EXPECT_EQ(note.body()->textLength(), 2000000);
    EXPECT_EQ(note.body()->document()->find(QRegularExpression("[^x]")).position(), -1);
    place(note, 0, 10);
    note.bodyEditor()->deleteSelection();
    note.StoreBody();
    ASSERT_TRUE(db().GetNoteBody(kLiveSource, 2, kept));
    EXPECT_EQ(rtf::bodySearchText(kept).size(), 1999990);
}

TEST(NoteBodyWrap, LongWordsBreakAnywhere) {
    EXPECT_EQ(CNoteBody::wrapModeFor(u"an ordinary note with http://example.com/a/long/address"),
              QTextOption::WrapAtWordBoundaryOrAnywhere);
    EXPECT_EQ(CNoteBody::wrapModeFor(QString(5000, u'w')),
              QTextOption::WrapAtWordBoundaryOrAnywhere);
    EXPECT_EQ(CNoteBody::wrapModeFor(QString(20000, u'w')), QTextOption::WrapAnywhere);
    QString manyLongWords;
    for (int i = 0; i < 2000; ++i) {
        manyLongWords += QString(300, u'w') + u' ';
    }
    EXPECT_EQ(CNoteBody::wrapModeFor(manyLongWords), QTextOption::WrapAnywhere);

    // A loaded body gets the mode of its own text.
    const auto loaded = [](const std::string& text) {
        CNoteBody body(nullptr);
        body.loadStored(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0 )" + text + R"(\par})");
        return body.wordWrapMode();
    };
    EXPECT_EQ(loaded(std::string(20000, 'w')), QTextOption::WrapAnywhere);
    EXPECT_EQ(loaded("an ordinary note"), QTextOption::WrapAtWordBoundaryOrAnywhere);
}

TEST_F(BodyEditing, UnusualPastedRichTextIsKeptAndStoredSafely) {
    CNote& note = noteWith("");
    auto* mime = new QMimeData;
    mime->setHtml(
        "<table border=1><tr><td>cell |&lt;|&lt;|&lt;|&lt;|&lt;1&gt;|&gt;|&gt;|&gt;|&gt;|</td>"
        "<td>[]]]]]&gt;&gt;&gt;&gt;&gt;</td></tr></table>"
        "<img src=\"data:image/png;base64,AAAA\"><script>evil()</script>"
        "<p style=\"text-shadow: 2px 2px red; font-variant: small-caps\">\\rtf1 {braces} "
        "\xe2\x82\xac \xf0\x9f\x98\x80</p><ruby>x<rt>y</rt></ruby>");
    QGuiApplication::clipboard()->setMimeData(mime);
    note.bodyEditor()->paste();
    const QString pasted = note.body()->toPlainText();
    ASSERT_TRUE(pasted.contains("cell |<|<|<|<|<1>|>|>|>|>|")) << pasted.toStdString();
    note.StoreBody();
    notes.clear();
    ASSERT_TRUE(db().SaveDatabase(""));
    ASSERT_TRUE(db().OpenDatabase(0));
    EXPECT_EQ(db().GetNoteString(kLiveSource, 3, "title"), "High Priority Note");
    CNote& again = open(2, false);
    const QString back = again.body()->toPlainText();
    // The store breaks its own mark-up tokens with a blank; everything else comes back as is.
    for (const char* piece : {"cell | <|<|<|<|<1> |>|>|>|>|", "[ ]]]]]>>>>>", "\\rtf1 {braces}",
                              "\xe2\x82\xac \xf0\x9f\x98\x80"}) {
        EXPECT_TRUE(back.contains(QString::fromUtf8(piece))) << piece;
    }
}

}  // namespace
}  // namespace bp
