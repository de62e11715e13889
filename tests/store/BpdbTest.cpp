#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>
#include <string>

using namespace bp::test;

namespace {

struct ToolRun {
    int status;
    std::string output;  // stdout and stderr together
};

ToolRun bpdb(const std::string& arguments) {
    const std::string command = std::string(BP_BPDB) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return {-1, {}};
    }
    std::string output;
    char buffer[256];
    while (const std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) {
        output.append(buffer, n);
    }
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// bpdb reads and checks a value by the attribute's type: numbers as the program reads them,
// fonts only in their encoded form, unknown names as text.
TEST(Bpdb, SetAndGetCheckValuesByTheAttributesType) {
    TempFolder folder;
    const std::string file = folder.file("notes.dat");
    writeFile(file, sourceFile("tests/store/data/default-database.dat"));
    struct Case {
        const char* arguments;
        int status;
        const char* output;
    };
    const Case cases[] = {
        {"set FILE 1 remindTime 4000000000", 0, ""},
        {"get FILE 1 remindTime", 0, "4000000000\n"},
        {"set FILE 1 xPos 4000000000", 2, "bpdb: xPos takes a signed 32-bit number\n"},
        {"set FILE 1 xPos -5", 0, ""},
        {"get FILE 1 xPos", 0, "-5\n"},
        {"set FILE 1 bodyBackColor -1", 2, "bpdb: bodyBackColor takes an unsigned 32-bit number\n"},
        {"set FILE 1 titleFontType abc", 2,
         "bpdb: titleFontType takes an 80-character encoded font\n"},
        {"set FILE 1 title 12x", 0, ""},
        {"get FILE 1 title", 0, "12x\n"},
        {"set FILE 1 colour 12x", 1, ""},
    };
    for (const Case& c : cases) {
        std::string arguments = c.arguments;
        arguments.replace(arguments.find("FILE"), 4, "'" + file + "'");
        const ToolRun run = bpdb(arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.output;
        if (c.status != 1) {
            EXPECT_EQ(run.output, c.output) << c.arguments;
        }
    }
}

}  // namespace
