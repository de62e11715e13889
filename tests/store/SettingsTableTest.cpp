#include "platform/fake/FakePlatform.h"
#include "store/FontCodec.h"
#include "store/NotesDatabase.h"
#include "store/Settings.h"
#include "store/SettingsByName.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace bp;
using namespace bp::test;

namespace {

constexpr std::string_view kOpen = "=|<|<|<|<|<";
constexpr std::string_view kClose = ">|>|>|>|>|";

// The settings element of a database file as (name, value) pairs, in the order written.
std::vector<std::pair<std::string, std::string>> settingsOf(const std::string& bytes) {
    const std::size_t start = bytes.find("<settings") + std::string_view("<settings").size();
    const std::size_t end = bytes.find(">\r\n[]]]]]>>>>>\r\n</settings>", start);
    std::vector<std::pair<std::string, std::string>> settings;
    std::size_t at = start;
    while (at < end) {
        const std::size_t open = bytes.find(kOpen, at);
        const std::size_t close = bytes.find(kClose, open);
        settings.emplace_back(bytes.substr(at + 1, open - at - 1),  // after the blank
                              bytes.substr(open + kOpen.size(), close - open - kOpen.size()));
        at = close + kClose.size();
    }
    return settings;
}

class SettingsTable : public ::testing::Test {
protected:
    SettingsTable() : db(fakes.platform()) { db.SetDataFolder(folder.path()); }

    std::string defaultBytes() const { return sourceFile("tests/store/data/default-database.dat"); }

    TempFolder folder;
    fake::FakePlatform fakes;
    CNotesDatabase db;
};

// The file a new database has always been is the reference: the table must name every
// setting it holds, in its order, with its value.
TEST_F(SettingsTable, HoldsEverySettingOfTheDefaultDatabaseWithItsDefault) {
    const auto written = settingsOf(defaultBytes());
    ASSERT_EQ(written.size(), kSettings.size());
    for (std::size_t i = 0; i < written.size(); ++i) {
        SCOPED_TRACE(written[i].first);
        EXPECT_EQ(kSettings[i].name, written[i].first);
        EXPECT_EQ(kSettings[i].defaultValue, written[i].second);
    }
}

TEST_F(SettingsTable, DefaultsReadBackAsTheirTypeAndInsideTheirRange) {
    writeFile(db.DatabasePath(), defaultBytes());
    ASSERT_TRUE(db.OpenDatabase(0));
    SettingsByName byName(db);
    for (const Setting& setting : kSettings) {
        SCOPED_TRACE(std::string(setting.name));
        const std::string stored(setting.defaultValue);
        switch (setting.type) {
            case AttrType::Int:
                EXPECT_EQ(std::to_string(byName.GetSettingInt(setting.name)), stored);
                break;
            case AttrType::UInt:
                EXPECT_EQ(std::to_string(byName.GetSettingUInt(setting.name)), stored);
                break;
            case AttrType::Text:
                EXPECT_EQ(byName.GetSettingString(setting.name), stored);
                break;
            case AttrType::Font:
                EXPECT_EQ(EncodeFont(byName.GetSettingFont(setting.name)), stored);
                break;
        }
        if (setting.range) {
            EXPECT_EQ(setting.type, AttrType::Int);
            const int value = CNotesDatabase::ParseInt(stored);
            EXPECT_GE(value, setting.range->minimum);
            EXPECT_LE(value, setting.range->maximum);
        }
    }
    EXPECT_TRUE(db.TakeProblems().empty());
}

// A number outside its range is used as the nearer end, whoever reads it, while the record
// keeps what it holds; a setting without a range is used as it stands.
TEST_F(SettingsTable, NumbersAreReadWithinTheirRange) {
    ASSERT_TRUE(db.OpenDatabase(0));
    SettingsByName byName(db);
    for (const Setting& setting : kSettings) {
        if (setting.type != AttrType::Int) {
            continue;
        }
        SCOPED_TRACE(std::string(setting.name));
        const int lowest = setting.range ? setting.range->minimum : INT_MIN;
        const int highest = setting.range ? setting.range->maximum : INT_MAX;
        const struct {
            std::string stored;
            int used;
        } cases[] = {
            {"-2147483648", lowest},
            {"2147483647", highest},
            {std::to_string(lowest), lowest},
            {std::to_string(highest), highest},
        };
        for (const auto& c : cases) {
            ASSERT_TRUE(byName.SetSettingAttribute(setting.name, c.stored));
            EXPECT_EQ(byName.GetSettingInt(setting.name), c.used) << c.stored;
            EXPECT_EQ(byName.GetSettingString(setting.name), c.stored);
        }
    }
    // The typed keys read through the same range.
    ASSERT_TRUE(byName.SetSettingAttribute(setting::autoSave.name, "1"));
    EXPECT_EQ(setting::get(db, setting::autoSave), 5);
    ASSERT_TRUE(setting::set(db, setting::autoLockTime, 99999));
    EXPECT_EQ(setting::get(db, setting::autoLockTime), 3600);
    EXPECT_EQ(byName.GetSettingString(setting::autoLockTime.name), "99999");
}

}  // namespace

// A setting the user changed from its default is written after the others and read back; set
// back to its default it leaves the file as a new database wrote it.
TEST_F(SettingsTable, OptionalSettingsAreStoredOnlyWhileTheyDifferFromTheirDefault) {
    writeFile(db.DatabasePath(), defaultBytes());
    ASSERT_TRUE(db.OpenDatabase(0));
    const std::string before = db.SettingsSection();
    EXPECT_EQ(setting::get(db, setting::mailSignature), 1);
    EXPECT_EQ(setting::get(db, setting::speechVoice), "");

    ASSERT_TRUE(setting::set(db, setting::mailSignature, 0));
    // A value holding the mark-up's own delimiter must not cut the settings short.
    const std::string voice = "Alan >|>|>|>|>| (en_GB)";
    ASSERT_TRUE(setting::set(db, setting::speechVoice, voice));
    ASSERT_TRUE(db.SaveDatabase(""));
    ASSERT_TRUE(db.OpenDatabase(0));
    EXPECT_EQ(setting::get(db, setting::mailSignature), 0);
    EXPECT_NE(setting::get(db, setting::speechVoice).find("Alan"), std::string::npos);
    EXPECT_EQ(SettingsByName(db).GetSettingInt("independentDatabases"), 0);
    const auto written = settingsOf(readFile(db.DatabasePath()));
    ASSERT_EQ(written.size(), kSettings.size() + 2);
    EXPECT_EQ(written[kSettings.size() - 1].first, kSettings.back().name);

    ASSERT_TRUE(setting::set(db, setting::mailSignature, 1));
    ASSERT_TRUE(setting::set(db, setting::speechVoice, ""));
    EXPECT_EQ(db.SettingsSection(), before);
}
