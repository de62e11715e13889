#include "app/SaveFailure.h"
#include "app/SessionMessages.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace bp {
namespace {

TEST(SessionMessages, BoxesWaitForNobodyOnceTheSessionEnds) {
    fake::FakeUserMessages boxes;
    boxes.answers = {true, true};
    bool ending = false;
    std::FILE* log = std::tmpfile();
    SessionMessages messages(
        boxes, [&ending] { return ending; }, log);

    messages.standardError("Error", "Could not open file");
    messages.showMessage("Warning", "", "cannot save", 0);
    EXPECT_TRUE(messages.askYesNo("Question", "", "Delete?", 0));
    EXPECT_EQ(boxes.shown.size(), 3u);

    ending = true;
    messages.standardError("Error", "Could not open file \"/d/~tmp.dat\"");
    messages.showMessage("Warning", "", "cannot save", 0);
    EXPECT_FALSE(messages.askYesNo("Question", "", "Delete?", 0));
    EXPECT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.answers.size(), 1u);

    // What the boxes would have said is in the log, for whoever reads it later.
    std::rewind(log);
    char text[512] = {};
    const std::size_t n = std::fread(text, 1, sizeof text - 1, log);
    std::fclose(log);
    const std::string logged(text, n);
    EXPECT_NE(logged.find("Error: Could not open file \"/d/~tmp.dat\""), std::string::npos);
    EXPECT_NE(logged.find("Warning: cannot save"), std::string::npos);
    EXPECT_NE(logged.find("Delete?"), std::string::npos);
}

TEST(SaveCauseOfFolder, AFolderThatCannotBeWrittenIsKnownBeforeTheFirstSave) {
    const std::string folder = std::filesystem::temp_directory_path().string();
    EXPECT_EQ(saveCauseOfFolder(folder), 0);
    EXPECT_EQ(saveCauseOfFolder(folder + "/bp-no-such-folder/inner"), 5);
    // /proc/self is read-only for every user, root too.
    EXPECT_EQ(saveCauseOfFolder("/proc/self"), 5);
    EXPECT_NE(saveFailureMessage("/d", 5).find("the folder cannot be written to"),
              std::string::npos);
}

}  // namespace
}  // namespace bp
