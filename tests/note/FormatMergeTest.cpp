// Merging a format over a selection that spans runs of different formats: random documents,
// random selections and random changes, checked character by character against the merge
// done one character at a time.

#include "ui/BodyFormat.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace bp {
namespace {

using Rng = std::mt19937;

int pick(Rng& rng, int count) {
    return std::uniform_int_distribution<int>(0, count - 1)(rng);
}

QTextCharFormat randomRunFormat(Rng& rng) {
    QTextCharFormat format;
    if (pick(rng, 2) != 0) {
        format.setFontWeight(pick(rng, 2) != 0 ? QFont::Bold : QFont::Normal);
    }
    if (pick(rng, 2) != 0) {
        format.setFontItalic(pick(rng, 2) != 0);
    }
    if (pick(rng, 4) == 0) {
        format.setFontUnderline(true);
    }
    switch (pick(rng, 4)) {
        case 0:
            format.setFontPointSize(9 + pick(rng, 3) * 3);
            break;
        case 1:
            // Pasted HTML brings sizes in pixels.
            format.setProperty(QTextFormat::FontPixelSize, 13 + pick(rng, 2) * 7);
            break;
        default:
            break;
    }
    if (pick(rng, 3) == 0) {
        format.setFontFamilies(
            QStringList{pick(rng, 2) != 0 ? "Liberation Serif" : "Liberation Sans"});
    }
    if (pick(rng, 3) == 0) {
        format.setForeground(QColor(pick(rng, 256), 0, 200));
    }
    if (pick(rng, 8) == 0) {
        format.setAnchor(true);
        format.setAnchorHref(QStringLiteral("https://example.org/%1").arg(pick(rng, 3)));
    }
    return format;
}

// The changes the body's commands make: an effect, a whole font, a colour.
QTextCharFormat randomChange(Rng& rng) {
    QTextCharFormat change;
    switch (pick(rng, 4)) {
        case 0:
            change.setFontWeight(QFont::Bold);
            break;
        case 1:
            change.setFontWeight(QFont::Bold);
            change.setFontItalic(true);
            break;
        case 2:
            change.setFontFamilies(QStringList{"Liberation Mono"});
            change.setFontPointSize(11);
            change.setFontWeight(pick(rng, 2) != 0 ? QFont::Bold : QFont::Normal);
            change.setFontItalic(pick(rng, 2) != 0);
            change.setFontUnderline(false);
            change.setFontStrikeOut(false);
            break;
        default:
            change = colorFormat(QColor(pick(rng, 256), 120, 40));
            break;
    }
    return change;
}

void buildRandomDocument(Rng& rng, QTextDocument& document) {
    static const QString kPieces[] = {"alpha", " ", "beta", "\t", "g", "delta epsilon", "x"};
    QTextCursor cursor(&document);
    const int blocks = 1 + pick(rng, 4);
    for (int b = 0; b < blocks; ++b) {
        if (b > 0) {
            cursor.insertBlock();
            if (pick(rng, 4) == 0) {
                cursor.createList(QTextListFormat::ListDecimal);
            }
        }
        const int runs = pick(rng, 7);
        for (int r = 0; r < runs; ++r) {
            cursor.insertText(kPieces[pick(rng, std::size(kPieces))], randomRunFormat(rng));
        }
    }
}

// The format of every character, paragraph ends left out (they carry no text format).
std::vector<std::pair<int, QTextCharFormat>> characterFormats(const QTextDocument& document) {
    std::vector<std::pair<int, QTextCharFormat>> formats;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            for (int i = 0; i < fragment.length(); ++i) {
                formats.emplace_back(fragment.position() + i, fragment.charFormat());
            }
        }
    }
    return formats;
}

QTextCharFormat expectedAfterMerge(QTextCharFormat format, const QTextCharFormat& change) {
    format.merge(change);
    if (change.hasProperty(QTextFormat::FontPointSize)) {
        format.clearProperty(QTextFormat::FontPixelSize);
    }
    return format;
}

TEST(FormatMerge, RandomSelectionsOverMixedRunsGetExactlyTheMergedFormat) {
    for (unsigned seed = 1; seed <= 2000; ++seed) {
        SCOPED_TRACE(seed);
        Rng rng(seed);
        QTextDocument document;
        buildRandomDocument(rng, document);
        const QString text = document.toRawText();
        const auto before = characterFormats(document);
        const int length = document.characterCount() - 1;

        const int anchor = pick(rng, length + 1);
        const int position = pick(rng, length + 1);
        const QTextCharFormat change = randomChange(rng);
        QTextCursor selection(&document);
        selection.setPosition(anchor);
        selection.setPosition(position, QTextCursor::KeepAnchor);

        mergeOverSelection(selection, change);

        ASSERT_EQ(document.toRawText(), text);
        const auto after = characterFormats(document);
        ASSERT_EQ(after.size(), before.size());
        const int start = std::min(anchor, position);
        const int end = std::max(anchor, position);
        for (std::size_t i = 0; i < before.size(); ++i) {
            const auto& [at, original] = before[i];
            ASSERT_EQ(after[i].first, at);
            const bool inside = at >= start && at < end;
            const QTextCharFormat expected =
                inside ? expectedAfterMerge(original, change) : original;
            ASSERT_EQ(after[i].second, expected) << "at " << at << (inside ? " inside" : "");
        }

        // One undo brings every format back (a merge that changed nothing leaves no step).
        if (after != before) {
            document.undo();
            const auto undone = characterFormats(document);
            for (std::size_t i = 0; i < before.size(); ++i) {
                ASSERT_EQ(undone[i].second, before[i].second) << "at " << before[i].first;
            }
        }
    }
}

}  // namespace
}  // namespace bp
