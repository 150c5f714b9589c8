// The style part of an export run by the host program, from the board
// description to the target and its report.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "StyleFixture.h"

namespace {

namespace fs = std::filesystem;
using stylestest::ReadFile;
using stylestest::Text;
using stylestest::WorkedPadStyle;
using stylestest::WorkedTextStyle;
using stylestest::WorkedViaStyle;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

class StyleExport : public testing::Test {
protected:
    void SetUp() override {
        Dir = fs::temp_directory_path() / ("styles-export-" + std::to_string(::getpid()));
        fs::remove_all(Dir);
        fs::create_directories(Dir / "tmp");
    }
    void TearDown() override { fs::remove_all(Dir); }

    // Exports the example board into Dir/board.pcb; true when pcbhost ends well.
    bool Export(const std::string& example) {
        const std::string command = "TMPDIR='" + (Dir / "tmp").string() + "' '" PCBHOST "' export '" EXAMPLES_DIR "/" +
                                    example + "' '" + (Dir / "board.pcb").string() + "' >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    fs::path Dir;
};

TEST_F(StyleExport, TheWorkedExamplesEndToEnd) {
    ASSERT_TRUE(Export("styles-worked.json"));
    const std::string output = ReadFile(Dir / "board.pcb");

    std::vector<std::string> definitions;
    for (const std::string& line : Lines(output))
        if (line.find("StyleDef ") != std::string::npos) definitions.push_back(line);
    EXPECT_EQ(definitions, (std::vector<std::string>{
                               "  (padStyleDef \"(Default)\"",
                               "  (padStyleDef \"P:EX60Y60D351\"",
                               "  (padStyleDef \"EF60X30BOT1\"",
                               // The bottom-side component's pad, analysed on the top side.
                               "  (padStyleDef \"EF60X30TOP1\"",
                               "  (viaStyleDef \"(Default)\"",
                               "  (viaStyleDef \"V:EX28Y28D121\"",
                               "  (textStyleDef \"(Default)\"",
                               "  (textStyleDef \"(DefaultTTF)\"    ",
                               "  (textStyleDef \"T:H45W8\"",
                               "  (textStyleDef \"T:H60W10\"",
                           }));

    EXPECT_NE(output.find("(library \"Library_1\"\r\n  (padStyleDef \"(Default)\"\r\n"), std::string::npos);
    EXPECT_NE(output.find(WorkedPadStyle), std::string::npos);
    EXPECT_NE(output.find(WorkedViaStyle), std::string::npos);
    EXPECT_NE(output.find(WorkedTextStyle), std::string::npos);

    std::vector<std::string> styleLines;
    for (const std::string& line : Lines(ReadFile(Dir / "board.Rep")))
        if (line.rfind("AddingPadStyle ", 0) == 0 || line.rfind("Adding ViaStyle ", 0) == 0 ||
            line.rfind("Adding TextStyle ", 0) == 0)
            styleLines.push_back(line);
    EXPECT_EQ(styleLines, (std::vector<std::string>{
                              "AddingPadStyle (Default)",
                              "AddingPadStyle P:EX60Y60D351",
                              "AddingPadStyle EF60X30BOT1",
                              "AddingPadStyle EF60X30TOP1",
                              "Adding ViaStyle (Default)",
                              "Adding ViaStyle V:EX28Y28D121",
                              "Adding TextStyle (Default)",
                              "Adding TextStyle T:H45W8",
                              "Adding TextStyle T:H60W10",
                          }));
}

}  // namespace
