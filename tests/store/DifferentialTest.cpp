// Random operations on random, partly damaged databases: the store and the plain linear
// reference must agree on every result, every message and every byte of the notes section.

#include "LinearReference.h"
#include "platform/fake/FakePlatform.h"
#include "store/NotesDatabase.h"
#include "store/SettingsByName.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <random>

using namespace bp::test;

namespace {

const char* const kValues[] = {"",
                               "x",
                               "5",
                               "-1",
                               "ends>|",
                               "|<|<|<|<|<",
                               ">|>|>|>|>|",
                               "\r\n<note ",
                               "\r\n<file x",
                               "[]]]]]>>>>>",
                               "\r\n[]]]]]>>>>>\r\n</note>",
                               "<note nid=|<|<|<|<|<2>|>|>|>|>|",
                               "]CDATAEND]!>",
                               "{\\rtf1 text}",
                               "4294967295"};
const char* const kNames[] = {"title", "nid",  "isDeleted", "priority", "deleteTime",
                              "xPos",  "name", "missing",   "fid"};

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    int pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
    bool chance(int percent) { return pick(100) < percent; }
    std::string value() { return kValues[pick(std::size(kValues))]; }
    std::string name() { return kNames[pick(std::size(kNames))]; }

    std::string attr(const std::string& name, const std::string& value) {
        return bp::markup::AttributeText(name, value);
    }

    std::string note(bool damage) {
        static const char* const kIds[] = {"1", "2", "3", "4", "2", "05", "x", "-1", ""};
        std::string n = "\r\n<note";
        if (!(damage && chance(20))) {
            n += attr("nid", kIds[pick(std::size(kIds))]);
        }
        n += attr("title", chance(50) ? "t" : "");
        n += attr("priority", std::to_string(pick(4)));
        n += attr("isDeleted", chance(70) ? "0" : (chance(80) ? "1" : "01"));
        n += attr("deleteTime", std::to_string(pick(3)));
        n += ">\r\n";
        if (!(damage && chance(15))) {
            n += "<![CDATABEGIN[\r\n";
            n += chance(50) ? "" : "body\r\n";
            n += "]CDATAEND]!>";
        }
        for (int f = pick(3); f > 0; --f) {
            n += "\r\n<file" + attr("fid", std::to_string(pick(4))) +
                 attr("type", std::to_string(pick(7))) + attr("name", chance(50) ? "/a" : "/B") +
                 ">\r\n[]]]]]>>>>>\r\n</file>";
        }
        if (!(damage && chance(10))) {
            n += bp::markup::kNoteEnd;
        }
        return n;
    }

    std::string separator(bool damage) {
        static const char* const kPlain[] = {"", "\r\n", "\r\n", "X", "ab\r\n"};
        static const char* const kDamage[] = {"<note nid=|<|<|<|<|<3>|>|>|>|>|", "\r\n<note ",
                                              "\r\n<note nid=|<|<|<|<|<1>", "\n"};
        return damage && chance(30) ? kDamage[pick(std::size(kDamage))]
                                    : kPlain[pick(std::size(kPlain))];
    }

    std::string notesSection(bool damage) {
        std::string s = "\r\n<notes>\r\n";
        s += separator(false);
        for (int i = pick(7); i > 0; --i) {
            s += note(damage);
            s += separator(damage);
        }
        return s;
    }

private:
    std::mt19937 random_;
};

class Differential : public ::testing::Test {
protected:
    static std::vector<std::string> takeBoxes(bp::CNotesDatabase& db) {
        std::vector<std::string> out;
        for (const auto& b : db.TakeProblems()) {
            out.push_back(b.caption + ": " + b.text);
        }
        return out;
    }

    TempFolder folder;
    bp::fake::FakePlatform fakes;
};

TEST_F(Differential, StoreAgreesWithTheLinearReference) {
    int startedIndexed = 0;
    int startedFlat = 0;
    int fellBack = 0;
    std::string settings;
    {
        bp::CNotesDatabase db(fakes.platform());
        db.SetDataFolder(folder.path());
        ASSERT_TRUE(db.CreateDefaultDatabase(""));
        settings = db.SettingsSection();
    }
    for (unsigned seed = 1; seed <= 400; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Generator gen(seed);
        bp::CNotesDatabase db(fakes.platform());
        db.SetDataFolder(folder.path());
        const std::string notes = gen.notesSection(seed % 3 == 0);
        writeFile(db.DatabasePath(),
                  withLengthPrefix(
                      "<Brightpost>\r\n" + settings + "\r\n[]]]]]>>>>>\r\n</settings>\r\n" + notes +
                      "\r\n[]]]]]>>>>>\r\n</notes>\r\n\r\n[]]]]]>>>>>\r\n</Brightpost>"));
        ASSERT_TRUE(db.OpenDatabase(0));
        LinearReference ref;
        ref.notes = notes;
        ref.renumber();
        ASSERT_EQ(db.NotesSection(), ref.notes);
        (db.NotesIndexed() ? startedIndexed : startedFlat)++;
        const bool indexedAtStart = db.NotesIndexed();

        std::string newNoteSettings[14];
        const char* const kCopied[14] = {"Width",
                                         "Height",
                                         "border",
                                         "TransLevel",
                                         "titleFontType",
                                         "titleFontColor",
                                         "titleBackColor",
                                         "bodyFontType",
                                         "bodyFontColor",
                                         "bodyBackColor",
                                         "priority",
                                         "Transparency",
                                         "defaultImagePath",
                                         "links"};
        for (int i = 0; i < 14; ++i) {
            newNoteSettings[i] = bp::SettingsByName(db).GetSettingAttribute(kCopied[i]);
        }
        takeBoxes(db);

        for (int step = 0; step < 80; ++step) {
            const std::int32_t nid = gen.pick(7) - 1;
            const int op = gen.pick(16);
            SCOPED_TRACE("step " + std::to_string(step) + " op " + std::to_string(op));
            switch (op) {
                case 0:
                case 1: {
                    const std::string name = gen.name();
                    EXPECT_EQ(db.GetNoteAttribute(1, nid, name), ref.get(nid, name));
                    break;
                }
                case 2:
                case 3: {
                    const std::string name = gen.name();
                    const std::string value = gen.value();
                    EXPECT_EQ(db.SetNoteAttribute(nid, name, value), ref.set(nid, name, value));
                    break;
                }
                case 4: {
                    std::string a = "same";
                    std::string b = "same";
                    EXPECT_EQ(db.GetNoteBody(1, nid, a), ref.getBody(nid, b));
                    EXPECT_EQ(a, b);
                    break;
                }
                case 5: {
                    const std::string text = gen.value() + gen.value();
                    EXPECT_EQ(db.SetNoteBody(nid, text), ref.setBody(nid, text));
                    break;
                }
                case 6:
                    EXPECT_EQ(db.NewNote(), ref.newNote(newNoteSettings, 1920, 1080));
                    break;
                case 7:
                    EXPECT_EQ(db.DeleteNote(nid), ref.deleteNote(nid));
                    break;
                case 8:
                    EXPECT_EQ(db.ListNotes(1), ref.list());
                    EXPECT_EQ(db.ListDeletedNotes(), ref.listDeleted());
                    break;
                case 9: {
                    const unsigned p = static_cast<unsigned>(gen.pick(5));
                    EXPECT_EQ(db.CountNotesByPriority(p), ref.count(p));
                    break;
                }
                case 10: {
                    const int type = gen.pick(4);
                    const std::string name = gen.chance(50) ? "/a" : gen.value();
                    EXPECT_EQ(db.AttachFileToNote(nid, type, name), ref.attach(nid, type, name));
                    break;
                }
                case 11: {
                    const std::int32_t fid = gen.pick(5);
                    EXPECT_EQ(db.DetachFileFromNote(nid, fid), ref.detach(nid, fid));
                    break;
                }
                case 12: {
                    const int filter = std::array{5, 4, 99, 0, 3, 6}[gen.pick(6)];
                    EXPECT_EQ(db.GetNoteAttachedFiles(1, nid, filter), ref.files(nid, filter));
                    break;
                }
                case 13: {
                    const std::int32_t fid = gen.pick(5);
                    std::string a = "same";
                    std::string b = "same";
                    EXPECT_EQ(db.GetNoteAttachedFilename(1, nid, fid, a),
                              ref.fileAttr(nid, fid, "name", "GetNoteAttachedFilename", b));
                    EXPECT_EQ(a, b);
                    EXPECT_EQ(db.GetNoteAttachedFiletype(1, nid, fid), ref.fileType(nid, fid));
                    break;
                }
                case 14:
                    db.RenumberNotes();
                    ref.renumber();
                    break;
                case 15: {
                    const std::string name = gen.name();
                    EXPECT_EQ(db.GetNoteUInt(1, nid, name),
                              bp::markup::ParseNumber(ref.get(nid, name)));
                    break;
                }
            }
            ASSERT_EQ(takeBoxes(db), ref.shown);
            ref.shown.clear();
            ASSERT_EQ(db.NotesSection(), ref.notes);
        }
        if (indexedAtStart && !db.NotesIndexed()) {
            ++fellBack;
        }
        if (seed % 25 != 0) {
            continue;  // every save syncs the disk; a sample of them is enough
        }
        ASSERT_TRUE(db.SaveDatabase(""));
        EXPECT_EQ(
            readFile(db.DatabasePath()),
            withLengthPrefix("<Brightpost>\r\n" + settings + "\r\n[]]]]]>>>>>\r\n</settings>\r\n" +
                             ref.notes +
                             "\r\n[]]]]]>>>>>\r\n</notes>\r\n\r\n[]]]]]>>>>>\r\n</Brightpost>"));
    }
    // Both forms of the section, and the change from one to the other, were exercised.
    EXPECT_GT(startedIndexed, 50);
    EXPECT_GT(startedFlat, 20);
    RecordProperty("fell_back", fellBack);
    std::printf("indexed %d, flat %d, fell back %d\n", startedIndexed, startedFlat, fellBack);
}

}  // namespace
