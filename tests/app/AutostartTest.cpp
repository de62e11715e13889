#include "app/Autostart.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace bp {
namespace {

namespace fs = std::filesystem;

class AutostartTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("bp-autostart-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "usr" / "bin");
        fs::create_directories(root_ / "usr" / "share" / "applications");
        fs::create_directories(root_ / "home");
    }
    void TearDown() override { fs::remove_all(root_); }
    std::string path(const fs::path& relative) const { return (root_ / relative).string(); }
    static std::string read(const std::string& file) {
        std::ifstream in(file);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path root_;
};

TEST_F(AutostartTest, InstalledOnlyBesideItsDesktopEntry) {
    const std::string bin = path("usr/bin/brightpost");
    Autostart autostart(bin, "", path("home"));
    EXPECT_FALSE(autostart.installed());  // a bin folder alone is not an installation
    std::ofstream(path("usr/share/applications/brightpost.desktop")) << "[Desktop Entry]\n";
    EXPECT_TRUE(autostart.installed());
    EXPECT_FALSE(Autostart(path("usr/build/brightpost"), "", path("home")).installed());
    EXPECT_FALSE(Autostart("brightpost", "", path("home")).installed());
}

TEST_F(AutostartTest, OnWritesTheEntryOffRemovesIt) {
    Autostart autostart(path("usr/bin/brightpost"), "", path("home"));
    EXPECT_EQ(autostart.entryPath(), path("home/.config/autostart/brightpost.desktop"));
    // Off with nothing there is no error.
    EXPECT_EQ(autostart.apply(false), "");

    EXPECT_EQ(autostart.apply(true), "");
    const std::string entry = read(autostart.entryPath());
    EXPECT_NE(entry.find("\nExec=" + path("usr/bin/brightpost") + "\n"), std::string::npos);
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_FALSE(fs::exists(autostart.entryPath() + ".new"));

    // An entry the user edited to say something else is brought back to ours.
    std::ofstream(autostart.entryPath()) << "[Desktop Entry]\nExec=/elsewhere\n";
    EXPECT_EQ(autostart.apply(true), "");
    EXPECT_EQ(read(autostart.entryPath()), entry);

    EXPECT_EQ(autostart.apply(false), "");
    EXPECT_FALSE(fs::exists(autostart.entryPath()));
}

TEST_F(AutostartTest, ConfigHomeIsHonouredWhenAbsolute) {
    EXPECT_EQ(Autostart("/usr/bin/brightpost", path("cfg"), path("home")).entryPath(),
              path("cfg/autostart/brightpost.desktop"));
    EXPECT_EQ(Autostart("/usr/bin/brightpost", "relative/cfg", path("home")).entryPath(),
              path("home/.config/autostart/brightpost.desktop"));
}

TEST_F(AutostartTest, AFolderItCannotMakeIsReportedNotIgnored) {
    // A file where the configuration folder should be stops it even for root.
    std::ofstream(path("home/.config")) << "not a folder";
    Autostart autostart(path("usr/bin/brightpost"), "", path("home"));
    EXPECT_NE(autostart.apply(true).find(path("home/.config")), std::string::npos);
    EXPECT_FALSE(fs::exists(autostart.entryPath() + ".new"));
}

TEST(DesktopExecArgument, QuotesAndEscapesWhatTheKeyReserves) {
    const std::pair<const char*, const char*> cases[] = {
        {"/usr/bin/brightpost", "/usr/bin/brightpost"},
        {"/opt/my notes/bin/brightpost", "\"/opt/my notes/bin/brightpost\""},
        {"/opt/100%/bin/brightpost", "/opt/100%%/bin/brightpost"},
        {"/opt/a\"b/brightpost", "\"/opt/a\\\\\"b/brightpost\""},
        {"/opt/$HOME/brightpost", "\"/opt/\\\\$HOME/brightpost\""},
        {"/opt/a\\b/brightpost", "\"/opt/a\\\\\\\\b/brightpost\""},
        {"/opt/a\nb/brightpost", "\"/opt/a\\nb/brightpost\""},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(desktopExecArgument(path), expected) << path;
    }
}

}  // namespace
}  // namespace bp
