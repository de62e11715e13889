#include "sync/LineMerge.h"
#include "sync/SyncFile.h"
#include "sync/SyncState.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace bp::sync {
namespace {

TEST(LineMerge, MergesEditsOfDifferentParagraphsAndRefusesTheSameOne) {
    const std::string base = "{\\rtf1\none\ntwo\nthree\nfour\n}";
    struct Case {
        const char* what;
        std::string ours;
        std::string theirs;
        std::optional<std::string> merged;
    } cases[] = {
        {"different paragraphs", "{\\rtf1\nONE\ntwo\nthree\nfour\n}",
         "{\\rtf1\none\ntwo\nthree\nFOUR\n}", "{\\rtf1\nONE\ntwo\nthree\nFOUR\n}"},
        {"one side added, other removed", "{\\rtf1\none\ntwo\nadded\nthree\nfour\n}",
         "{\\rtf1\none\ntwo\nthree\n}", "{\\rtf1\none\ntwo\nadded\nthree\n}"},
        {"same change on both", "{\\rtf1\none\nTWO\nthree\nfour\n}",
         "{\\rtf1\none\nTWO\nthree\nfour\n}", "{\\rtf1\none\nTWO\nthree\nfour\n}"},
        {"same paragraph, different changes", "{\\rtf1\none\nTWO\nthree\nfour\n}",
         "{\\rtf1\none\n2\nthree\nfour\n}", std::nullopt},
        {"one side unchanged", base, "x", "x"},
        {"no common base", "a\nb\n", "c\nd\n", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mergeLines(base, c.ours, c.theirs), c.merged) << c.what;
    }
    EXPECT_EQ(mergeLines("", "same\n", "same\n"), "same\n");
}

std::vector<SyncRecord> sampleRecords() {
    return {
        {SyncRecord::Kind::Field,
         "0123abcd",
         "title",
         "tab\there\nnew line \\ slash",
         {},
         {1700000000, 3, "dev-a"},
         {}},
        {SyncRecord::Kind::Body,
         "0123abcd",
         "v1",
         "{\\rtf1\npara\n}",
         {"v0", "v9"},
         {1700000001, 0, "dev-b"},
         {}},
        {SyncRecord::Kind::Erase,
         "0123abcd",
         "",
         "",
         {},
         {1700000002, 0, "dev-a"},
         {{1700000001, 0, "dev-b"}, {1700000002, 0, "dev.with.dots"}}},
    };
}

TEST(SyncFileFormat, ReadsBackWhatItWrote) {
    const SyncFileContents read = decodeSyncFile(encodeSyncFile("dev-a", sampleRecords()));
    EXPECT_EQ(read.problem, "");
    EXPECT_EQ(read.device, "dev-a");
    EXPECT_EQ(read.records, sampleRecords());
}

TEST(SyncFileFormat, RefusesAFileCutShortOrAlteredAnywhere) {
    const std::string whole = encodeSyncFile("dev-a", sampleRecords());
    for (std::size_t size = 0; size < whole.size(); ++size) {
        const SyncFileContents read = decodeSyncFile(whole.substr(0, size));
        EXPECT_NE(read.problem, "") << "cut to " << size;
        EXPECT_TRUE(read.records.empty());
    }
    for (std::size_t at = 0; at < whole.size(); ++at) {
        std::string altered = whole;
        altered[at] = static_cast<char>(altered[at] ^ 0x20);
        EXPECT_NE(decodeSyncFile(altered).problem, "") << "byte " << at;
    }
}

TEST(SyncFileFormat, RefusesRecordsBeyondItsBoundsEvenWithARightChecksum) {
    const std::string longName(kMaxNameBytes + 1, 'x');
    const std::vector<std::vector<SyncRecord>> hostile = {
        {{SyncRecord::Kind::Field, longName, "title", "", {}, {1, 0, "d"}, {}}},
        {{SyncRecord::Kind::Field, "u", "title", "", {}, {kLatestWall + 1, 0, "d"}, {}}},
        {{SyncRecord::Kind::Field, "u", "title", "", {}, {-5, 0, "d"}, {}}},
        {{SyncRecord::Kind::Body,
          "u",
          "v",
          "",
          std::vector<std::string>(kMaxParents + 1, "p"),
          {1, 0, "d"},
          {}}},
        {{SyncRecord::Kind::Field,
          "u",
          "title",
          std::string(kMaxValueBytes + 1, 'a'),
          {},
          {1, 0, "d"},
          {}}},
        {{SyncRecord::Kind::Field, "u", "has space", "", {}, {1, 0, "d"}, {}}},
    };
    for (std::size_t i = 0; i < hostile.size(); ++i) {
        EXPECT_NE(decodeSyncFile(encodeSyncFile("d", hostile[i])).problem, "") << "case " << i;
    }
    EXPECT_EQ(decodeSyncFile(std::string(kMaxFileBytes + 1, '\n')).problem, "too large");
}

// The fuzzer's seeds are written by a script of their own; they must stay readable, or the
// fuzzer never gets past the checksum.
TEST(SyncFileFormat, ReadsTheFuzzSeeds) {
    for (const char* seed : {"fields.bps", "bodies.bps", "erase.bps"}) {
        const SyncFileContents read =
            decodeSyncFile(test::sourceFile(std::string("tests/fuzz/corpus/sync/") + seed));
        EXPECT_EQ(read.problem, "") << seed;
        EXPECT_FALSE(read.records.empty()) << seed;
    }
}

// The view of a note depends on the set of records only, not on the order they came in.
TEST(SyncStateJoin, GivesOneViewForEveryOrderOfTheSameRecords) {
    const Stamp a1{100, 0, "a"}, b1{100, 0, "b"}, a2{200, 0, "a"}, c1{150, 0, "c"};
    const std::string base = "{\\rtf1\none\ntwo\nthree\n}";
    std::vector<SyncRecord> records = {
        {SyncRecord::Kind::Body, "n", "v0", base, {}, a1, {}},
        {SyncRecord::Kind::Body, "n", "va", "{\\rtf1\nONE\ntwo\nthree\n}", {"v0"}, a2, {}},
        {SyncRecord::Kind::Body, "n", "vb", "{\\rtf1\none\ntwo\nTHREE\n}", {"v0"}, c1, {}},
        {SyncRecord::Kind::Body, "n", "vc", "{\\rtf1\none\ntwo\n3\n}", {"v0"}, b1, {}},
        {SyncRecord::Kind::Field, "n", "title", "from a", {}, a2, {}},
        {SyncRecord::Kind::Field, "n", "title", "from c", {}, c1, {}},
        {SyncRecord::Kind::Erase, "n", "", "", {}, b1, {{100, 0, "a"}}},
    };
    std::optional<NoteView> first;
    std::sort(records.begin(), records.end(), [](auto& x, auto& y) { return x.key < y.key; });
    int orders = 0;
    do {
        SyncState state;
        for (const SyncRecord& record : records) {
            state.add(record);
            state.add(records.front());  // twice does no harm
        }
        const NoteView view = state.view("n");
        if (!first) {
            first = view;
            EXPECT_TRUE(view.exists);
            EXPECT_EQ(view.fields.at("title"), "from a");
            EXPECT_EQ(view.body, "{\\rtf1\nONE\ntwo\nTHREE\n}");
            ASSERT_EQ(view.conflicts.size(), 1u);
            EXPECT_EQ(view.conflicts[0].version, "vc");
        } else {
            EXPECT_EQ(view.body, first->body);
            EXPECT_EQ(view.fields, first->fields);
            EXPECT_EQ(view.heads, first->heads);
            ASSERT_EQ(view.conflicts.size(), first->conflicts.size());
        }
        ++orders;
    } while (std::next_permutation(records.begin(), records.end(),
                                   [](auto& x, auto& y) { return x.key < y.key; }) &&
             orders < 200);
}

}  // namespace
}  // namespace bp::sync
