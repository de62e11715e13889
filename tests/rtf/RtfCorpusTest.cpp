// Every file of the corpus loads, and its text agrees with the second opinion in expected-text/
// up to the differences the corpus README lists.

#include "richtext/QtRichTextEngine.h"
#include "richtext/RtfReader.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QString>
#include <QTextDocument>

#include <filesystem>
#include <map>
#include <string>

namespace {

const std::string kCorpus = std::string(BP_SOURCE_DIR) + "/tests/data/rtf";

enum class Compare {
    Lines,  // the normalised lines agree
    Words,  // the same words in the same order; line structure differs for a stated reason
    Loads,  // only loading is checked; the other program's text is not a fair reference
};

struct Exception {
    Compare compare;
    const char* why;
};

const std::map<std::string, Exception>& exceptions() {
    static const std::map<std::string, Exception> table = {
        {"handmade-table-intbl", {Compare::Words, "table cells are tab-separated, not lines"}},
        {"libreoffice-table-nested", {Compare::Words, "table cells are tab-separated"}},
        {"libreoffice-japanese-fcharset128", {Compare::Words, "a table in the body"}},
        {"word-nested-table", {Compare::Words, "nested table rows end in paragraph breaks"}},
        {"word-various-features",
         {Compare::Loads, "footnotes and headers are not note text; tables"}},
        {"malformed-richedit-body-inside-fonttbl",
         {Compare::Loads, "the other program shows the font name; we recover the body text"}},
        {"malformed-truncated-no-closing-brace",
         {Compare::Loads, "the other program drops a truncated file; we keep what was read"}},
        {"truncated-riched20-list-mid-group",
         {Compare::Loads, "the other program drops a truncated file; we keep what was read"}},
        {"malformed-word-missing-backslashes",
         {Compare::Loads, "damaged destinations show as garbage either way"}},
        {"textedit-unpaired-surrogates-uc0",
         {Compare::Loads, "unpaired surrogates become U+FFFD here, '?' there"}},
    };
    return table;
}

// List markers as the other program prints them: indented bullet or number, then a blank.
// Symbol-font bullets come out in the private-use area there.
QString stripMarker(QString line) {
    static const QRegularExpression marker(QStringLiteral(
        "^\\s*(?:[•◦▪·\\x{F000}-\\x{F0FF}o§-]|[0-9]+[.)]|[a-zA-Z][.)]|[ivxlcdmIVXLCDM]+[.)])\\s+"));
    return line.remove(marker);
}

QString normalise(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    static const QRegularExpression blanks(
        QStringLiteral("[ \\t\\x{00A0}\\x{2002}\\x{2003}\\x{2005}\\x{200B}]+"));
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        line = stripMarker(line).replace(blanks, QStringLiteral(" ")).trimmed();
    }
    while (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines.join(u'\n');
}

// The first line where the two texts part, or empty when they agree; keeps failures readable
// for long files.
std::string firstDifference(const QString& got, const QString& expected) {
    const QStringList a = got.split(u'\n');
    const QStringList b = expected.split(u'\n');
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QString left = a.value(i, QStringLiteral("<end>"));
        const QString right = b.value(i, QStringLiteral("<end>"));
        if (left != right) {
            return "line " + std::to_string(i + 1) + ": got \"" + left.toStdString() +
                   "\", expected \"" + right.toStdString() + "\"";
        }
    }
    return {};
}

QStringList words(const QString& text) {
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return normalise(text).split(space, Qt::SkipEmptyParts);
}

TEST(RtfCorpus, EveryFileLoadsAndItsTextMatchesTheReference) {
    bp::rtf::QtRichTextEngine engine;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus + "/samples")) {
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        ++files;
        const std::string body = bp::test::readFile(entry.path().string());
        const std::string expectedFile = kCorpus + "/expected-text/" + name + ".txt";
        ASSERT_TRUE(std::filesystem::exists(expectedFile));
        const std::string text = engine.plainText(body);
        const QString got = QString::fromStdString(text);
        const QString expected = QString::fromStdString(bp::test::readFile(expectedFile));

        auto found = exceptions().find(name);
        const Compare compare =
            found == exceptions().end() ? Compare::Lines : found->second.compare;
        switch (compare) {
            case Compare::Lines:
                EXPECT_EQ(firstDifference(normalise(got), normalise(expected)), "");
                break;
            case Compare::Words:
                EXPECT_EQ(firstDifference(words(got).join(u'\n'), words(expected).join(u'\n')), "");
                break;
            case Compare::Loads:
                break;
        }
    }
    EXPECT_GE(files, 59);
}

TEST(RtfCorpus, EveryExceptionNamesAFileOfTheCorpus) {
    for (const auto& [name, exception] : exceptions()) {
        EXPECT_TRUE(std::filesystem::exists(kCorpus + "/samples/" + name + ".rtf")) << name;
    }
}

// Damaged files keep what could be read, and do not make up text.
TEST(RtfCorpus, DamagedFilesKeepTheirReadableText) {
    struct Case {
        const char* file;
        const char* text;
    };
    const Case cases[] = {
        {"malformed-truncated-no-closing-brace", "Hello world in {RTF}\u2026"},
        {"malformed-richedit-body-inside-fonttbl", "5% Auf Patronen \r\n"},
        {"textedit-unpaired-surrogates-uc0",
         "Unpaired hi \uFFFD here Unpaired lo \uFFFD here Mismatched pair \uFFFD\uFFFD here"},
    };
    bp::rtf::QtRichTextEngine engine;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string text =
            engine.plainText(bp::test::readFile(kCorpus + "/samples/" + c.file + ".rtf"));
        EXPECT_EQ(text.substr(0, std::string(c.text).size()), c.text);
    }
}

}  // namespace

// The search reads bodies without building documents; it must see exactly the document's text.
TEST(RtfCorpus, SearchTextWithoutADocumentEqualsTheDocumentsText) {
    std::vector<std::string> bodies;
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus + "/samples")) {
        bodies.push_back(bp::test::readFile(entry.path().string()));
    }
    // Plain bodies with every kind of line end, and text that splits blocks by itself.
    bodies.push_back("one\r\ntwo\rthree\nfour\r\n\r\n");
    bodies.push_back("caf\xE9 in Windows-1252\r\n");
    bodies.push_back("{\\rtf1\\ansi a\\u10?b\\u13?c\\u8232?d\\u8233?e\\line f\\par}");
    bodies.push_back("{\\rtf1\\ansi \\pard first\\par\\pard second{\\*\\ignored x}\\tab third");
    for (const std::string& body : bodies) {
        QTextDocument document;
        bp::rtf::loadBody(body, document);
        EXPECT_EQ(bp::rtf::bodySearchText(body), bp::rtf::documentSearchText(document))
            << body.substr(0, 60);
    }
}
