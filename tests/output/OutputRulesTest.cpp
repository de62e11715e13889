#include "output/OutputRules.h"

#include <gtest/gtest.h>

using namespace bp;

namespace {

TEST(OutputRules, TheChosenTypesExtensionIsAddedUnlessThePathEndsInIt) {
    struct Case {
        std::string path;
        int type;
        std::string text;     // as a text file type (1 txt, 2 rtf, 3 md)
        std::string picture;  // as a picture type (1 png, 2 jpg, 3 gif, 4 bmp)
    };
    const Case cases[] = {
        {"/tmp/NOTES.TXT", 1, "/tmp/NOTES.TXT", "/tmp/NOTES.TXT.png"},
        {"/tmp/notes", 1, "/tmp/notes.txt", "/tmp/notes.png"},
        {"/tmp/x.rtf", 1, "/tmp/x.rtf.txt", "/tmp/x.rtf.png"},
        {"/tmp/x.Rtf", 2, "/tmp/x.Rtf", "/tmp/x.Rtf.jpg"},
        {"/tmp/x.txt", 2, "/tmp/x.txt.rtf", "/tmp/x.txt.jpg"},
        {"/tmp/shot.jpeg", 2, "/tmp/shot.jpeg.rtf", "/tmp/shot.jpeg.jpg"},
        {"/tmp/shot.GIF", 3, "/tmp/shot.GIF.md", "/tmp/shot.GIF"},
        {"/tmp/List.MD", 3, "/tmp/List.MD", "/tmp/List.MD.gif"},
        {"/tmp/shot.png", 4, "", "/tmp/shot.png.bmp"},
        {"a", 1, "a.txt", "a.png"},
    };
    for (const Case& c : cases) {
        if (!c.text.empty()) {
            EXPECT_EQ(withTextExtension(c.path, static_cast<TextFileType>(c.type)), c.text)
                << c.path;
        }
        EXPECT_EQ(withPictureExtension(c.path, static_cast<PictureFileType>(c.type)), c.picture)
            << c.path;
    }
}

TEST(OutputRules, TheProposedFileNameIsTheNotesNameWithWhatNoFileNameMayHoldReplaced) {
    const std::string euro = "\xE2\x82\xAC";  // three bytes in UTF-8
    const std::pair<std::string, std::string> cases[] = {
        {"Shopping list", "Shopping list"},
        {"a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j"},
        {"tab\there\nline", "tab_here_line"},
        {"Caf\xC3\xA9 \xE2\x82\xAC", "Caf\xC3\xA9 \xE2\x82\xAC"},
        {"..hidden", "hidden"},
        {"  spaced out. ", "spaced out"},
        {"../../etc/passwd", "_.._etc_passwd"},
        {"...", "Note"},
        {"", "Note"},
        {std::string(300, 'x'), std::string(kMaxProposedNameBytes, 'x')},
    };
    for (const auto& [shown, proposed] : cases) {
        EXPECT_EQ(proposedFileName(shown), proposed) << shown;
    }
    // A long name is cut before a character that would not fit whole.
    const std::string longEuros = [&] {
        std::string all;
        for (int i = 0; i < 100; ++i) {
            all += euro;
        }
        return all;
    }();
    const std::string cut = proposedFileName("a" + longEuros);
    EXPECT_LE(cut.size(), kMaxProposedNameBytes);
    EXPECT_EQ(cut.size(), 1 + 3 * ((kMaxProposedNameBytes - 1) / 3)) << "whole characters only";
    EXPECT_EQ(cut.substr(1), longEuros.substr(0, cut.size() - 1));
}

TEST(OutputRules, PercentEncodingKeepsOnlyUnreservedBytes) {
    const std::pair<std::string, std::string> cases[] = {
        {"R&D plan 2", "R%26D%20plan%202"},
        {"a-b.c_d~e", "a-b.c_d~e"},
        {"\xC3\xBC\xE2\x82\xAC", "%C3%BC%E2%82%AC"},
        {"line\r\nnext", "line%0D%0Anext"},
        {"/?=#+%", "%2F%3F%3D%23%2B%25"},
        {std::string("\0\xFF", 2), "%00%FF"},
        {"", ""},
    };
    for (const auto& [raw, encoded] : cases) {
        EXPECT_EQ(percentEncode(raw), encoded) << raw;
    }
}

TEST(OutputRules, MailAddressHasNoRecipientAndEncodesSubjectAndSignedBody) {
    const std::string address = mailtoAddress("Tea & cake", "Bring 2 cups\nplease");
    const std::string start =
        "mailto:?subject=Tea%20%26%20cake&body=Bring%202%20cups%0Aplease%0A%0A";
    ASSERT_EQ(address.rfind(start, 0), 0u) << address;
    // Two signature lines, each ended by a line feed, and nothing a mail program would split.
    const std::string signature = address.substr(start.size());
    EXPECT_EQ(signature.size() - 3, signature.rfind("%0A"));
    std::size_t lines = 0;
    for (std::size_t at = signature.find("%0A"); at != std::string::npos;
         at = signature.find("%0A", at + 1)) {
        ++lines;
    }
    EXPECT_EQ(lines, 2u);
    EXPECT_EQ(address.find_first_of(" \n"), std::string::npos);
    EXPECT_EQ(address.find('&'), address.rfind('&')) << "only the separator before the body";
}

TEST(OutputRules, PrintHeaderNamesThePriority) {
    EXPECT_EQ(printHeader("Shop", "01 02, 2024 - 03:04:05 PM", "2"),
              "title: Shop\ncreated: 01 02, 2024 - 03:04:05 PM\npriority: High");
    const std::pair<std::string, std::string> words[] = {
        {"0", "Low"}, {"1", "Regular"}, {"2", "High"}, {"7", "7"}, {"", ""}, {"01", "01"}};
    for (const auto& [stored, word] : words) {
        EXPECT_EQ(priorityWord(stored), word) << stored;
    }
}

TEST(OutputRules, PagesTakeWholeLinesAndAPageWithoutProgressEndsTheJob) {
    auto lines = [](std::vector<double> heights) {
        std::vector<LineBox> out;
        double top = 0;
        for (double h : heights) {
            out.push_back({top, h});
            top += h;
        }
        return out;
    };
    struct Case {
        const char* what;
        std::vector<LineBox> lines;
        double first;
        double page;
        std::vector<PageSlice> pages;
    };
    const Case cases[] = {
        {"no text: one page for the header", {}, 50, 100, {{0, 0}}},
        {"fits on the first page", lines({10, 10, 10}), 30, 100, {{0, 3}}},
        {"the first page has less room", lines({10, 10, 10, 10, 10}), 25, 30, {{0, 2}, {2, 5}}},
        {"a line that fits no page ends the job", lines({10, 200, 10}), 50, 100, {{0, 1}}},
        {"nothing under the header, the rest follows", lines({40, 40}), 20, 100, {{0, 0}, {0, 2}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(paginate(c.lines, c.first, c.page), c.pages) << c.what;
    }
}

}  // namespace
