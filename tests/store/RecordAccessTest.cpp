#include "platform/fake/FakePlatform.h"
#include "store/DatabaseFile.h"
#include "store/DefaultDatabase.h"
#include "store/Markup.h"
#include "store/NotesDatabase.h"
#include "store/SettingsByName.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>

using bp::CNotesDatabase;
using bp::IdList;
using bp::kImportSource;
using bp::kLiveSource;
using bp::fake::FakePlatform;
using namespace bp::test;

namespace {

// An open default database (three sample notes) in a fresh folder.
class RecordAccess : public ::testing::Test, public StoreFixture {
protected:
    // "caption: text" of every box shown since the last call.
    std::vector<std::string> boxes() {
        std::vector<std::string> out;
        for (const bp::StoreProblem& b : db.TakeProblems()) {
            out.push_back(b.caption + ": " + b.text);
        }
        return out;
    }

    // Replaces the notes of the open database by text and reopens it.
    void reopenWithNotes(const std::string& notes) {
        std::string text = "<Brightpost>\r\n" + db.SettingsSection() +
                           "\r\n[]]]]]>>>>>\r\n</settings>\r\n" + notes +
                           "\r\n[]]]]]>>>>>\r\n</notes>\r\n\r\n[]]]]]>>>>>\r\n</Brightpost>";
        writeFile(db.DatabasePath(), withLengthPrefix(text));
        ASSERT_TRUE(db.OpenDatabase(0));
    }

    CNotesDatabase& db = store;
};

// ---- Settings ------------------------------------------------------------------------------

TEST_F(RecordAccess, TypedSettingsReadWhatIsStored) {
    EXPECT_EQ(bp::SettingsByName(db).GetSettingInt("Width"), 230) << "never the value of minWidth";
    EXPECT_EQ(bp::SettingsByName(db).GetSettingInt("minWidth"), 150);
    EXPECT_EQ(bp::SettingsByName(db).GetSettingUInt("hkNewNote"), 5111814u);
    EXPECT_EQ(bp::SettingsByName(db).GetSettingString("TitleText"), "");
    EXPECT_EQ(bp::EncodeFont(bp::SettingsByName(db).GetSettingFont("titleFontType")),
              "8====yaaaaaaaaaaaaaaaEaAaaB=aaaaayeAesCznlCwaByaaaaaaBQppqak6QeaKDEeafBvcqbkAGO3");

    EXPECT_TRUE(bp::SettingsByName(db).SetSettingInt(-7, "Width"));
    EXPECT_EQ(bp::SettingsByName(db).GetSettingInt("Width"), -7);
    EXPECT_EQ(bp::SettingsByName(db).GetSettingInt("minWidth"), 150);
    EXPECT_TRUE(bp::SettingsByName(db).SetSettingUInt(0xFFFFFFFEu, "bodyBackColor"));
    EXPECT_EQ(bp::SettingsByName(db).GetSettingAttribute("bodyBackColor"), "-2")
        << "written with %d";
    EXPECT_EQ(bp::SettingsByName(db).GetSettingUInt("bodyBackColor"), 0xFFFFFFFEu);
    EXPECT_TRUE(bp::SettingsByName(db).SetSettingString("a |<|<|<|<|< b", "TitleText"));
    EXPECT_EQ(bp::SettingsByName(db).GetSettingString("TitleText"), "a | <|<|<|<|< b");
    bp::LogFont font;
    font.height = -13;
    font.weight = 700;
    std::copy_n("Sans", 4, font.faceName.begin());
    EXPECT_TRUE(bp::SettingsByName(db).SetSettingFont(font, "bodyFontType"));
    EXPECT_EQ(bp::SettingsByName(db).GetSettingFont("bodyFontType"), font);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(RecordAccess, SettingsFailuresReportAndChangeNothing) {
    const std::string before = db.SettingsSection();
    EXPECT_EQ(bp::SettingsByName(db).GetSettingInt("nope"), 0);
    EXPECT_EQ(bp::SettingsByName(db).GetSettingString("nope"), "");
    EXPECT_FALSE(bp::SettingsByName(db).SetSettingInt(1, "nope"));
    EXPECT_EQ(db.SettingsSection(), before);
    EXPECT_EQ(boxes(),
              (std::vector<std::string>{"Error 3: Error while reading settings",
                                        "Error 3: Error while reading settings",
                                        "Error 3: Not able to set the settings attribute"}));
}

TEST_F(RecordAccess, SettingNamesGiveTheirWording) {
    struct Case {
        const char* setting;
        const char* value;
        const char* priorityName;
        const char* modeName;
    };
    const Case cases[] = {
        {"0", "0", "Low", "Remember notes' state"},
        {"1", "1", "Regular", "Show all notes"},
        {"2", "2", "High", "Hide all notes"},
        {"3", "-1", "unchanged", "unchanged"},
    };
    for (const Case& c : cases) {
        bp::SettingsByName(db).SetSettingAttribute("priority", c.setting);
        bp::SettingsByName(db).SetSettingAttribute("showNotesMode", c.value);
        std::string priority = "unchanged";
        std::string mode = "unchanged";
        db.GetDefaultPriorityName(priority);
        db.GetShowNotesModeName(mode);
        EXPECT_EQ(priority, c.priorityName);
        EXPECT_EQ(mode, c.modeName);
    }
}

TEST(StoredNumbers, IntAndUIntReadsOfEveryForm) {
    struct Case {
        const char* text;
        int asInt;
        std::uint32_t asUInt;
    };
    const Case cases[] = {
        {"0", 0, 0},
        {"42", 42, 42},
        {"-1", -1, 4294967295u},
        {"2147483647", 2147483647, 2147483647u},
        {"-2147483648", INT32_MIN, 2147483648u},
        {"2147483648", INT32_MIN, 2147483648u},  // written unsigned by others
        {"4294967295", -1, 4294967295u},
        {"4294967296", 0, 0},  // out of 32 bits
        {"-2147483649", 0, 0},
        {"99999999999999999999", 0, 0},
        {"", 0, 0},
        {"abc", 0, 0},
        {"-", 0, 0},
        {" 12", 12, 12},
        {"+7", 7, 7},
        {"12abc", 12, 12},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CNotesDatabase::ParseInt(c.text), c.asInt) << c.text;
        EXPECT_EQ(CNotesDatabase::ParseUInt(c.text), c.asUInt) << c.text;
    }
}

// ---- Note reads and writes -----------------------------------------------------------------

TEST_F(RecordAccess, NoteReadsReportBySource) {
    struct Case {
        int source;
        std::int32_t nid;
        const char* name;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {kLiveSource, 99, "links", {"Error 1: Error while reading notes"}},
        {kLiveSource, 1, "noSuch", {"Error 3: Error while reading notes"}},
        {kImportSource, 99, "links", {}},
        {kImportSource, 1, "links", {}},  // nothing imported yet
    };
    for (const Case& c : cases) {
        EXPECT_EQ(db.GetNoteInt(c.source, c.nid, c.name), 0);
        EXPECT_EQ(db.GetNoteUInt(c.source, c.nid, c.name), 0u);
        EXPECT_EQ(db.GetNoteString(c.source, c.nid, c.name), "");
        std::vector<std::string> expected;
        for (int i = 0; i < 3; ++i) {
            expected.insert(expected.end(), c.shown.begin(), c.shown.end());
        }
        EXPECT_EQ(boxes(), expected) << c.source << " " << c.nid << " " << c.name;
    }
}

// Once the program installs its sink, a problem goes there as it happens and is not kept
// as well; taking it away keeps problems again.
TEST_F(RecordAccess, AnInstalledSinkReceivesProblemsInsteadOfKeepingThem) {
    std::vector<bp::StoreProblem> received;
    db.SetProblemSink([&](const bp::StoreProblem& problem) { received.push_back(problem); });
    EXPECT_EQ(db.GetNoteString(kLiveSource, 99, "title"), "");
    EXPECT_EQ(received, (std::vector<bp::StoreProblem>{{"Error 1", "Error while reading notes"}}));
    EXPECT_TRUE(boxes().empty());

    db.SetProblemSink({});
    EXPECT_EQ(db.GetNoteString(kLiveSource, 99, "title"), "");
    EXPECT_EQ(received.size(), 1u);
    EXPECT_EQ(boxes(), std::vector<std::string>{"Error 1: Error while reading notes"});
}

TEST_F(RecordAccess, BrokenNoteEndAndTerminatorReportTheirPoint) {
    reopenWithNotes(
        "\r\n<notes>\r\n\r\n<note nid=|<|<|<|<|<1>|>|>|>|>| broken=|<|<|<|<|<x>\r\n"
        "<![CDATABEGIN[\r\n]CDATAEND]!>\r\n[]]]]]>>>>>\r\n</note>\r\n"
        "\r\n<note nid=|<|<|<|<|<2>|>|>|>|>|>\r\n<![CDATABEGIN[\r\n]CDATAEND]!>");
    EXPECT_FALSE(db.NotesIndexed()) << "a note without its end leaves the plain search";
    EXPECT_EQ(db.GetNoteString(1, 1, "broken"), "");
    EXPECT_EQ(db.GetNoteString(1, 2, "nid"), "");
    EXPECT_FALSE(db.SetNoteInt(2, 5, "nid"));
    std::string body = "kept";
    EXPECT_FALSE(db.GetNoteBody(kLiveSource, 2, body));
    EXPECT_EQ(body, "kept");
    EXPECT_EQ(boxes(), (std::vector<std::string>{"Error 4: Error while reading notes",
                                                 "Error 2: Error while reading notes",
                                                 "Error 2: Not able to set the note attribute",
                                                 "Error 2: Error while reading note data"}));
}

TEST_F(RecordAccess, WritesKeepAttributeOrderAndEscapeTokens) {
    const std::string before = db.NotesSection();
    struct Case {
        const char* value;
        const char* readBack;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"", ""},
        {"a>|>|>|>|>|b", "a> |>|>|>|>|b"},
        {"|<|<|<|<|<", "| <|<|<|<|<"},
        {"x[]]]]]>>>>>y", "x[ ]]]]]>>>>>y"},
        {"<![CDATABEGIN[", "< ![CDATABEGIN["},
        {"]CDATAEND]!>", "] CDATAEND]!>"},
        {"ends>|", "ends> |"},
        {"\r\n<note nid=|<|<|<|<|<1>|>|>|>|>|", "\r\n<note nid=| <|<|<|<|<1> |>|>|>|> |"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(db.SetNoteString(2, c.value, "title"));
        EXPECT_EQ(db.GetNoteString(1, 2, "title"), c.readBack) << c.value;
        EXPECT_EQ(db.ListNotes(1), (IdList{1, 2, 3}));
        EXPECT_EQ(db.GetNoteInt(1, 2, "priority"), 1);
    }
    ASSERT_TRUE(db.SetNoteString(2, "Regular Priority Note", "title"));
    EXPECT_EQ(db.NotesSection(), before) << "a write never moves an attribute";
    EXPECT_FALSE(db.SetNoteInt(7, 1, "title"));
    EXPECT_FALSE(db.SetNoteInt(1, 1, "noSuch"));
    EXPECT_EQ(boxes(), (std::vector<std::string>{"Error 1: Not able to set the note attribute",
                                                 "Error 3: Not able to set the note attribute"}));
    EXPECT_EQ(db.NotesSection(), before);
}

TEST_F(RecordAccess, ExtraAttributesComeAndGoWithoutATrace) {
    const std::string body = "quotes remindSnoozeEnd=|<|<|<|<|<99>|>|>|>|>| in its text";
    ASSERT_TRUE(db.SetNoteBody(2, body));
    const std::string withBody = db.NotesSection();
    std::string bodyBefore;
    ASSERT_TRUE(db.GetNoteBody(kLiveSource, 2, bodyBefore));
    // A body that quotes an attribute is not read as one.
    EXPECT_EQ(db.GetNoteExtra(2, "remindSnoozeEnd"), std::nullopt);

    ASSERT_TRUE(db.SetNoteExtra(2, "remindSnoozeEnd", std::string("1765000000")));
    ASSERT_TRUE(db.SetNoteExtra(2, "remindSnoozeEnd", std::string("1765000540")));
    EXPECT_EQ(db.GetNoteExtra(2, "remindSnoozeEnd"), "1765000540");
    EXPECT_EQ(db.GetNoteExtra(1, "remindSnoozeEnd"), std::nullopt);
    // After every attribute of the table, once; the rest of the note reads as before.
    const std::string section = db.NotesSection();
    EXPECT_NE(section.find("repeatEach=|<|<|<|<|<0>|>|>|>|>| remindSnoozeEnd=|<|<|<|<|<1765000540"
                           ">|>|>|>|>|>"),
              std::string::npos);
    EXPECT_EQ(db.GetNote(kLiveSource, 2, bp::note::repeatEach), 0);
    std::string read;
    ASSERT_TRUE(db.GetNoteBody(kLiveSource, 2, read));
    EXPECT_EQ(read, bodyBefore);

    // Saved and read back, then removed: the notes are byte for byte what they were.
    ASSERT_TRUE(db.SaveDatabase(""));
    ASSERT_TRUE(db.OpenDatabase(0));
    EXPECT_EQ(db.GetNoteExtra(2, "remindSnoozeEnd"), "1765000540");
    ASSERT_TRUE(db.SetNoteExtra(2, "remindSnoozeEnd", std::nullopt));
    EXPECT_EQ(db.NotesSection(), withBody);
    // A note that is not there takes nothing, and says nothing.
    EXPECT_FALSE(db.SetNoteExtra(99, "remindSnoozeEnd", std::string("1")));
    EXPECT_EQ(db.GetNoteExtra(99, "remindSnoozeEnd"), std::nullopt);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(RecordAccess, ZeroBytesInValuesCannotCutTheDatabaseShort) {
    ASSERT_TRUE(db.SetNoteBody(1, std::string("before\0after", 12)));
    ASSERT_TRUE(db.SetNoteString(2, std::string("a\0b", 3), "title"));
    ASSERT_TRUE(db.SaveDatabase(""));
    ASSERT_TRUE(db.OpenDatabase(0));
    std::string body;
    ASSERT_TRUE(db.GetNoteBody(kLiveSource, 1, body));
    EXPECT_EQ(body, "beforeafter\r\n");
    EXPECT_EQ(db.GetNoteString(1, 2, "title"), "ab");
    EXPECT_EQ(db.ListNotes(1), (IdList{1, 2, 3}));
}

TEST_F(RecordAccess, TimesAfter2038RoundTrip) {
    const std::uint32_t times[] = {0u,          1511606046u, 2147483647u,
                                   2147483648u, 4102444800u, 4294967295u};
    for (std::uint32_t t : times) {
        ASSERT_TRUE(db.SetNoteUInt(1, t, "remindTime"));
        EXPECT_EQ(db.GetNoteAttribute(1, 1, "remindTime"),
                  std::to_string(static_cast<std::int32_t>(t)));
        EXPECT_EQ(db.GetNoteUInt(1, 1, "remindTime"), t);
    }
    db.SetNoteAttribute(1, "expireTime", "4102444800");  // written unsigned
    EXPECT_EQ(db.GetNoteUInt(1, 1, "expireTime"), 4102444800u);
}

TEST_F(RecordAccess, FontAttributesDecodeOrGiveTheZeroRecord) {
    const bp::LogFont stored = db.GetNoteFont(1, 1, "bodyFontType");
    EXPECT_NE(stored, bp::LogFont{});
    bp::LogFont f = stored;
    f.italic = 1;
    ASSERT_TRUE(db.SetNoteFont(1, f, "bodyFontType"));
    EXPECT_EQ(db.GetNoteFont(1, 1, "bodyFontType"), f);
    db.SetNoteAttribute(1, "bodyFontType", "tooShort");
    EXPECT_EQ(db.GetNoteFont(1, 1, "bodyFontType"), bp::LogFont{});
}

// One stored text, read through keys of each type: the key alone decides how it is read.
TEST_F(RecordAccess, TypedKeysReadAndWriteAsTheirType) {
    namespace note = bp::note;
    for (std::string_view name : {"xPos", "remindTime", "title", "bodyFontType"}) {
        ASSERT_TRUE(db.SetNoteAttribute(1, name, "-1x"));
    }
    EXPECT_EQ(db.GetNote(kLiveSource, 1, note::xPos), -1);
    EXPECT_EQ(db.GetNote(kLiveSource, 1, note::remindTime), 4294967295u);
    EXPECT_EQ(db.GetNote(kLiveSource, 1, note::title), "-1x");
    EXPECT_EQ(db.GetNote(kLiveSource, 1, note::bodyFontType), bp::LogFont{});

    bp::LogFont font = db.GetNote(kLiveSource, 2, note::titleFontType);
    font.italic = 1;
    ASSERT_TRUE(db.SetNote(1, font, note::bodyFontType));
    ASSERT_TRUE(db.SetNote(1, 4000000000u, note::remindTime));
    ASSERT_TRUE(db.SetNote(1, std::string("a <b>"), note::title));
    EXPECT_EQ(db.GetNoteFont(1, 1, "bodyFontType"), font);
    EXPECT_EQ(db.GetNoteAttribute(1, 1, "remindTime"), "-294967296");
    EXPECT_EQ(db.GetNote(kLiveSource, 1, note::remindTime), 4000000000u);
    EXPECT_EQ(db.GetNote(kLiveSource, 1, note::title), "a <b>");
    EXPECT_TRUE(boxes().empty());
}

TEST_F(RecordAccess, BodyReadsBackWithTheWritersLineBreak) {
    std::string body = "unchanged";
    ASSERT_TRUE(db.GetNoteBody(kLiveSource, 1, body));
    EXPECT_EQ(body, "") << "a body never set is empty";
    ASSERT_TRUE(db.SetNoteBody(1, "{\\rtf1 hello ]CDATAEND]!>}"));
    ASSERT_TRUE(db.GetNoteBody(kLiveSource, 1, body));
    EXPECT_EQ(body, "{\\rtf1 hello ] CDATAEND]!>}\r\n");
    ASSERT_TRUE(db.SetNoteBody(1, ""));
    ASSERT_TRUE(db.GetNoteBody(kLiveSource, 1, body));
    EXPECT_EQ(body, "\r\n");
    EXPECT_EQ(db.GetNoteString(1, 1, "title"), "Low Priority Note");

    body = "unchanged";
    EXPECT_FALSE(db.GetNoteBody(kImportSource, 1, body));
    EXPECT_FALSE(db.SetNoteBody(9, "x"));
    EXPECT_EQ(body, "unchanged");
    EXPECT_EQ(boxes(), (std::vector<std::string>{"Error 1: Error while reading note data",
                                                 "Error 1: Not able to set the note body"}));
}

// ---- New notes ------------------------------------------------------------------------------

TEST_F(RecordAccess, NewNoteWritesTheFortyFiveAttributesInOrder) {
    bp::SettingsByName(db).SetSettingAttribute("defaultImagePath", "/pics/a.png");
    const std::int32_t nid = db.NewNote();
    EXPECT_EQ(nid, 4);
    const std::string notes = db.NotesSection();
    const auto start = notes.rfind("\r\n<note ");
    const std::string element = notes.substr(start);
    long long at = 0;
    for (std::string_view name : bp::kNoteAttributeNames) {
        const auto found = element.find(bp::markup::AttributeNeedle(name));
        ASSERT_NE(found, std::string::npos) << name;
        EXPECT_GT(static_cast<long long>(found), at - 1) << name << " out of order";
        at = static_cast<long long>(found);
    }
    EXPECT_TRUE(element.ends_with(">\r\n<![CDATABEGIN[\r\n]CDATAEND]!>\r\n[]]]]]>>>>>\r\n</note>"));
    EXPECT_EQ(db.GetNoteString(1, nid, "imagePath"), "/pics/a.png");
    EXPECT_EQ(db.GetNoteString(1, nid, "titleFontType"),
              bp::SettingsByName(db).GetSettingString("titleFontType"));
    EXPECT_EQ(db.GetNoteInt(1, nid, "Width"), 230);
    EXPECT_EQ(db.GetNoteInt(1, nid, "remindFlashTimes"), 100);
    EXPECT_EQ(db.GetNoteInt(1, nid, "remindFlashInterval"), 600);
    EXPECT_EQ(db.GetNoteInt(1, nid, "isTitle"), 1);
    EXPECT_EQ(db.GetNoteString(1, nid, "title"), "");
    EXPECT_EQ(db.ListNotes(1), (IdList{1, 2, 3, 4}));
}

TEST_F(RecordAccess, NewNotePositionStaysOnTheDesktop) {
    struct Case {
        int screenWidth, screenHeight;
        const char* noteHeight;
        std::int32_t nid;  // the id the note gets
        long long x, y;
    };
    const Case cases[] = {
        {1920, 1080, "175", 23, 215, 40},  // 22 rows fit: q 1, r 1
        {1920, 1080, "175", 4, 160, 160},
        {1920, 1080, "175", 22, 200, 0},
        {640, 200, "175", 4, 500 % 411, 0},  // no full row: the top, wrapped
        {300, 100, "175", 4, 500 % 71, 0},   // lower than a note, and wrapped to fit
        {1920, 1080, "175", 800, (37 * 100 + 8 * 15) % 1691, 320},  // wrapped
    };
    std::int32_t highest = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nid);
        fakes.desktop.screen = {0, 0, c.screenWidth, c.screenHeight};
        bp::SettingsByName(db).SetSettingAttribute("Height", c.noteHeight);
        db.SetNoteInt(highest, c.nid - 1, "nid");  // the largest id decides the next
        highest = c.nid - 1;
        const std::int32_t nid = db.NewNote();
        ASSERT_EQ(nid, c.nid);
        EXPECT_EQ(db.GetNoteInt(1, nid, "xPos"), c.x);
        EXPECT_EQ(db.GetNoteInt(1, nid, "yPos"), c.y);
        EXPECT_TRUE(db.DeleteNote(nid));
    }
}

// ---- Recycle Bin and listings --------------------------------------------------------------

TEST_F(RecordAccess, BinPurgesOldestFirstAndStampsTimes) {
    bp::SettingsByName(db).SetSettingInt(3, "deleteMax");
    for (int i = 0; i < 4; ++i) {
        db.NewNote();  // ids 4..7
    }
    EXPECT_FALSE(db.ListDeletedNotes().has_value());
    struct Step {
        std::int32_t nid;
        std::int64_t now;
        IdList binAfter;
    };
    const Step steps[] = {
        {2, 1000, {2}},      {5, 500, {2, 5}}, {4, 500, {2, 4, 5}},
        {6, 900, {2, 5, 6}},  // 4 goes: the first in file order of the two oldest (500)
        {7, 950, {2, 6, 7}},  // then 5
    };
    for (const Step& s : steps) {
        fakes.clock.seconds = s.now;
        db.SetNoteDeleted(s.nid, 1);
        EXPECT_EQ(db.ListDeletedNotes(), s.binAfter) << s.nid;
        EXPECT_EQ(db.GetNoteUInt(1, s.nid, "deleteTime"), static_cast<std::uint32_t>(s.now));
    }
    EXPECT_EQ(db.ListNotes(1), (IdList{1, 3}));
    EXPECT_EQ(db.CountNotesByPriority(3), 2);
    fakes.clock.seconds = 3000000000;  // after 2038
    db.SetNoteDeleted(6, 0);
    EXPECT_EQ(db.GetNoteInt(1, 6, "isDeleted"), 0);
    EXPECT_EQ(db.GetNoteUInt(1, 6, "deleteTime"), 3000000000u);
    EXPECT_EQ(db.ListNotes(1), (IdList{1, 3, 6}));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(RecordAccess, BinPurgeEndsOnNotesThatCannotBeChosen) {
    bp::SettingsByName(db).SetSettingInt(1, "deleteMax");
    db.SetNoteAttribute(1, "isDeleted", "1");
    db.SetNoteUInt(1, 4294967295u, "deleteTime");  // never chosen
    fakes.clock.seconds = 10;
    db.SetNoteDeleted(2, 1);
    EXPECT_EQ(db.ListDeletedNotes(), (IdList{1, 2}));
}

TEST_F(RecordAccess, ListingsAndCountsTestExactValues) {
    db.SetNoteAttribute(3, "isDeleted", "01");  // neither in the bin nor out of it
    db.SetNoteInt(1, 2, "priority");
    EXPECT_EQ(db.ListNotes(1), (IdList{1, 2}));
    EXPECT_FALSE(db.ListDeletedNotes().has_value());
    const std::pair<unsigned, int> counts[] = {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {77, 2}};
    for (auto [priority, count] : counts) {
        EXPECT_EQ(db.CountNotesByPriority(priority), count) << priority;
    }
    EXPECT_TRUE(db.DeleteNote(2));
    EXPECT_FALSE(db.DeleteNote(2));
    EXPECT_EQ(boxes(), std::vector<std::string>{"Error 2: DeleteNote"});
    EXPECT_EQ(db.ListNotes(1), (IdList{1}));
}

// ---- Attachments ---------------------------------------------------------------------------

TEST_F(RecordAccess, AttachmentsGetFidsPerNoteAndRefuseDuplicates) {
    struct Step {
        std::int32_t nid;
        int type;
        const char* name;
        std::int32_t fid;
    };
    const Step steps[] = {
        {1, 0, "/home/u/Report.odt", 1},
        {1, 0, "/HOME/U/report.ODT", -1},  // same name ignoring case, same type
        {1, 3, "/home/u/report.odt", 2},   // another type is another record
        {1, 1, "/etc/assoc", 3},
        {1, 6, "Window Title", 4},
        {2, 3, "https://example.org/", 1},  // fids are per note
    };
    for (const Step& s : steps) {
        EXPECT_EQ(db.AttachFileToNote(s.nid, s.type, s.name), s.fid) << s.name;
    }
    struct Filter {
        int filter;
        std::optional<IdList> fids;
    };
    const Filter filters[] = {{5, IdList{1, 2, 3, 4}}, {4, IdList{1, 2}}, {99, IdList{3, 4}},
                              {0, IdList{1}},          {6, IdList{4}},    {2, std::nullopt}};
    for (const Filter& f : filters) {
        EXPECT_EQ(db.GetNoteAttachedFiles(1, 1, f.filter), f.fids) << f.filter;
    }
    EXPECT_FALSE(db.GetNoteAttachedFiles(1, 3, 5).has_value()) << "no records, no list";
    std::string name;
    EXPECT_TRUE(db.GetNoteAttachedFilename(1, 1, 2, name));
    EXPECT_EQ(name, "/home/u/report.odt");
    EXPECT_EQ(db.GetNoteAttachedFiletype(1, 1, 4), 6);

    // The largest fid decides the next one.
    EXPECT_TRUE(db.DetachFileFromNote(1, 4));
    EXPECT_EQ(db.AttachFileToNote(1, 0, "/a"), 4);
    EXPECT_TRUE(db.DetachFileFromNote(1, 1));
    EXPECT_EQ(db.AttachFileToNote(1, 0, "/b"), 5);
    EXPECT_EQ(db.GetNoteAttachedFiles(1, 1, 5), (IdList{2, 3, 4, 5}));
    EXPECT_EQ(db.GetNoteString(1, 1, "title"), "Low Priority Note");
    EXPECT_TRUE(boxes().empty());
}

TEST_F(RecordAccess, AttachmentFailuresReportAndChangeNothing) {
    db.AttachFileToNote(1, 0, "/a");
    const std::string before = db.NotesSection();
    std::string name = "kept";
    EXPECT_EQ(db.AttachFileToNote(9, 0, "/x"), -1);
    EXPECT_FALSE(db.DetachFileFromNote(9, 1));
    EXPECT_FALSE(db.DetachFileFromNote(1, 2));
    EXPECT_FALSE(db.GetNoteAttachedFiles(1, 9, 5).has_value());
    EXPECT_FALSE(db.GetNoteAttachedFilename(1, 1, 2, name));
    EXPECT_EQ(db.GetNoteAttachedFiletype(1, 9, 1), -1);
    EXPECT_FALSE(db.GetNoteAttachedFilename(0, 1, 1, name));
    EXPECT_EQ(name, "kept");
    EXPECT_EQ(db.NotesSection(), before);
    EXPECT_EQ(boxes(),
              (std::vector<std::string>{
                  "Error 1: GetNoteAttachedFiles", "Error 2: AttachFileToNote",
                  "Error 2: DetachFileFromNote",
                  "Error: DetachFileFromNote\nError while reading /Brightpost/notes/note/file/@fid",
                  "Error 1: GetNoteAttachedFiles", "Error 3: GetNoteAttachedFilename",
                  "Error 1: GetNoteAttachedFiletype"}));
}

TEST_F(RecordAccess, AttachRefusesANoteWithAnUnreadableFid) {
    db.AttachFileToNote(1, 0, "/a");
    std::string notes = db.NotesSection();
    const std::string good = "<file fid=|<|<|<|<|<1>|>|>|>|>|";
    notes.replace(notes.find(good), good.size(), "<file xid=|<|<|<|<|<1>|>|>|>|>|");
    reopenWithNotes(notes);
    EXPECT_EQ(db.AttachFileToNote(1, 0, "/b"), -1);
    EXPECT_EQ(boxes(), std::vector<std::string>{"Error: AttachFileToNote\nError while reading "
                                                "/Brightpost/notes/note/file/@fid value"});
}

// ---- Import and export ---------------------------------------------------------------------

TEST_F(RecordAccess, ImportReadsBothRootsAndSkipsTheBin) {
    db.SetNoteInt(2, 1, "isDeleted");
    db.AttachFileToNote(3, 0, "/one");
    db.AttachFileToNote(3, 3, "http://two");
    db.SetNoteBody(3, "{\\rtf1 three}");
    const std::string exported = folder.file("export.dat");
    db.RequestSave(bp::SaveUrgency::Now);
    ASSERT_TRUE(db.ExportDatabase(exported));
    EXPECT_EQ(readFile(exported), readFile(db.DatabasePath()));

    std::string sticky = readFile(exported).substr(4);
    sticky.replace(0, 14, "<sticky-notes>\r\n");
    const std::string stickyPath = folder.file("sticky.dat");
    writeFile(stickyPath, withLengthPrefix(sticky));

    for (const std::string& path : {exported, stickyPath}) {
        TempFolder other;
        FakePlatform otherFakes;
        CNotesDatabase target(otherFakes.platform());
        target.SetDataFolder(other.path());
        ASSERT_TRUE(target.OpenDatabase(0));
        const std::optional<IdList> ids = target.LoadImportFile(path);
        ASSERT_EQ(ids, (IdList{1, 3})) << path;
        // What the import command does with each listed note.
        const std::int32_t nid = target.NewNote();
        EXPECT_EQ(nid, 4);
        target.SetNoteString(nid, target.GetNoteString(0, 3, "title"), "title");
        std::string body;
        ASSERT_TRUE(target.GetNoteBody(0, 3, body));
        target.SetNoteBody(nid, body.substr(0, body.size() - 2));
        const std::optional<IdList> fids = target.GetNoteAttachedFiles(0, 3, 5);
        ASSERT_TRUE(fids.has_value());
        for (std::int32_t fid : *fids) {
            std::string name;
            target.GetNoteAttachedFilename(0, 3, fid, name);
            target.AttachFileToNote(nid, target.GetNoteAttachedFiletype(0, 3, fid), name);
        }
        EXPECT_EQ(target.GetNoteString(1, nid, "title"), "High Priority Note");
        ASSERT_TRUE(target.GetNoteBody(1, nid, body));
        EXPECT_EQ(body, "{\\rtf1 three}\r\n");
        EXPECT_EQ(target.GetNoteAttachedFiles(1, nid, 5), (IdList{1, 2}));
        EXPECT_EQ(target.GetNoteAttachedFiletype(1, nid, 2), 3);
        for (const auto& b : target.TakeProblems()) {
            ADD_FAILURE() << b.caption << ": " << b.text;
        }
    }
}

TEST_F(RecordAccess, ImportRefusesDamagedFilesWithItsMessages) {
    const std::string good = readFile(db.DatabasePath()).substr(4);
    auto without = [&](const std::string& marker) {
        std::string t = good;
        t.erase(t.find(marker), marker.size());
        return withLengthPrefix(t);
    };
    struct Case {
        const char* name;
        std::optional<std::string> bytes;  // none: no file
        const char* message;
    };
    const Case cases[] = {
        {"missing", std::nullopt, "File not found!"},
        {"other root", withLengthPrefix("<Other>\r\n" + good.substr(14)), "Wrong dat file format."},
        {"bad length", withLengthPrefix(good, 0x7FFFFFFF), "Wrong dat file format."},
        {"no settings", without("\r\n<settings "), "Wrong dat file format. Settings not found."},
        {"no settings end", without("\r\n[]]]]]>>>>>\r\n</settings>"),
         "Wrong dat file format. Settings END not found."},
        {"no notes", without("\r\n<notes>\r\n"), "Wrong dat file format. Notes not found."},
        {"no notes end", without("\r\n[]]]]]>>>>>\r\n</notes>"),
         "Wrong dat file format. Notes END not found."},
    };
    const std::string notesBefore = db.NotesSection();
    for (const Case& c : cases) {
        const std::string path = folder.file(std::string(c.name) + ".dat");
        if (c.bytes) {
            writeFile(path, *c.bytes);
        }
        EXPECT_FALSE(db.LoadImportFile(path).has_value()) << c.name;
        EXPECT_EQ(boxes(), std::vector<std::string>{std::string("Error: ") + c.message}) << c.name;
        EXPECT_TRUE(db.ListNotes(0).empty()) << "nothing of a refused file is read";
    }
    std::filesystem::create_directory(folder.file("dir.dat"));
    EXPECT_FALSE(db.LoadImportFile(folder.file("dir.dat")).has_value());
    EXPECT_EQ(boxes(), std::vector<std::string>{
                           "Error: You do not have access permissions to dat file. Please "
                           "contact your system administrator."});
    EXPECT_EQ(db.NotesSection(), notesBefore);
}

TEST_F(RecordAccess, BackupRotationKeepsExactlyBackupMaxAndForeignCopies) {
    bp::SettingsByName(db).SetSettingInt(25, "backupMax");
    for (int day = 1; day <= 25; ++day) {
        char stamp[48];
        std::snprintf(stamp, sizeof stamp, "copy_Brightpost_202401%02d000000.dat", day);
        writeFile(folder.file(stamp), "old");
    }
    writeFile(folder.file("copy_other.dat"), "foreign");
    fakes.clock.set(2024, 2, 1, 8, 0, 0);
    ASSERT_TRUE(db.BackupDatabase());
    const auto files = db.ListDatabaseFiles(folder.path(), 1);
    ASSERT_EQ(files.size(), 26u);
    EXPECT_EQ(bp::dbfile::fileName(files.front()), "copy_Brightpost_20240102000000.dat");
    EXPECT_EQ(bp::dbfile::fileName(files[24]), "copy_Brightpost_20240201080000.dat");
    EXPECT_EQ(readFile(folder.file("copy_other.dat")), "foreign");
}

// ---- Encodings -----------------------------------------------------------------------------

TEST(FontCodec, KnownRecordsAndRoundTrips) {
    bp::LogFont zero;
    EXPECT_EQ(bp::EncodeFont(zero), std::string(80, 'a'));
    std::array<std::uint8_t, 60> ones;
    ones.fill(0xFF);
    EXPECT_EQ(bp::EncodeFont(bp::LogFont::fromBytes(ones)), std::string(80, '='));
    EXPECT_EQ(bp::DecodeFont(std::string(80, '=')).toBytes(), ones);

    const std::string stored[] = {
        "8====yaaaaaaaaaaaaaaaEaAaaB=aaaaayeAesCznlCwaByaaaaaaBQppqak6QeaKDEeafBvcqbkAGO3",
        "8====yaaaaaaaaaaaaaaaEaAaaaaaaaaayeAesCznlCwaByaaaaaaBQppqak6QeaKDEeafBvcqbkAGO3",
        std::string(80, 'z'),
        "aAbBcCdDeEfFgGhHiIjJkKlLmMnNoOpPqQrRsStTuUvVwWxXyYzZ0123456789+=aAbBcCdDeEfFgGhH"};
    for (const std::string& text : stored) {
        EXPECT_EQ(bp::EncodeFont(bp::DecodeFont(text)), text);
    }
    const bp::LogFont title = bp::DecodeFont(stored[0]);
    EXPECT_EQ(title.height, -13);
    EXPECT_EQ(title.weight, 400);
    EXPECT_EQ(title.face(), "Arial");

    std::mt19937 random(7);
    for (int i = 0; i < 200; ++i) {
        std::array<std::uint8_t, 60> bytes;
        for (auto& b : bytes) {
            b = static_cast<std::uint8_t>(random());
        }
        EXPECT_EQ(bp::DecodeFont(bp::EncodeFont(bp::LogFont::fromBytes(bytes))).toBytes(), bytes);
    }
    for (const std::string& bad : {std::string(), std::string(79, 'a'), std::string(81, 'a'),
                                   std::string(79, 'a') + "!", std::string(79, 'a') + '\0'}) {
        EXPECT_EQ(bp::DecodeFont(bad), bp::LogFont{}) << bad;
    }
}

TEST(DateFormats, TheNineteenPatternsAndNothingOutside) {
    const std::pair<int, const char*> cases[] = {{-1, ""},
                                                 {0, ""},
                                                 {1, "%b %d, %Y"},
                                                 {2, "%m-%d-%Y"},
                                                 {6, "%Y-%m-%d"},
                                                 {7, "%b %d, %Y - %I:%M %p"},
                                                 {12, "%Y-%m-%d - %H:%M"},
                                                 {13, "%b %d, %Y - %I:%M:%S %p"},
                                                 {18, "%Y-%m-%d - %H:%M:%S"},
                                                 {19, ""},
                                                 {1000, ""}};
    for (auto [index, pattern] : cases) {
        EXPECT_EQ(bp::GetDateFormat(index), pattern) << index;
    }
    for (int i = 1; i < bp::kDateFormatCount; ++i) {
        EXPECT_FALSE(bp::GetDateFormat(i).empty());
    }
}

}  // namespace
