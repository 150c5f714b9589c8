#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <regex>
#include <stdexcept>

#include "FakeHost.h"
#include "TestFiles.h"
#include "common/NumberFormat.h"
#include "common/ParameterString.h"
#include "platform/Platform.h"
#include "shell/ExportRun.h"
#include "shell/ModuleState.h"
#include "translator/Save.h"

// These tests run the export without a PCB editor module in the process: every
// host query answers 0, which is an empty board.
namespace {

using testfiles::ReadFile;
using testfiles::WriteFile;

class ExportRun : public testing::Test {
protected:
    void SetUp() override {
        fakehost::Reset();
        shell::InitializeModuleState();
        ::unsetenv("MARNEL_TESTMODE");
    }
    testfiles::TScratchDir Dir;
};

TEST(RecognisedPcbFormat, OnlyTheExactDescription) {
    struct Case {
        const char* Text;
        bool Recognised;
    } cases[] = {{"V-ORN ASCII File (*.PCB)", true},
                 {"v-orn ascii file (*.pcb)", false},
                 {"V-ORN ASCII File (*.PCB) ", false},
                 {" V-ORN ASCII File (*.PCB)", false},
                 {"V-ORN ASCII File (*.PCB", false},
                 {"", false}};
    for (const auto& c : cases) EXPECT_EQ(shell::RecognisedPcbFormat(c.Text), c.Recognised) << c.Text;
}

TEST(TimeStampRecord, PlainNumbersWithoutLeadingZeros) {
    EXPECT_EQ(translator::TimeStampRecord({2010, 2, 9, 8, 5, 3}), "  (timeStamp 2010 2 9 8 5 3)");
    EXPECT_EQ(translator::TimeStampRecord({2026, 12, 31, 23, 59, 0}), "  (timeStamp 2026 12 31 23 59 0)");
}

TEST_F(ExportRun, UnrecognisedFormatDoesNothing) {
    EXPECT_FALSE(shell::ExportFileFromPcb(Dir / "board.pcb", "v-orn ascii file (*.pcb)"));
    EXPECT_FALSE(platform::FileExists(Dir / "board.pcb"));
    EXPECT_FALSE(platform::FileExists(Dir / "board.Rep"));
    EXPECT_TRUE(fakehost::State().Boxes.empty());
}

TEST_F(ExportRun, WritesTheFileSkeletonAndTheReport) {
    const std::string target = Dir / "board.pcb";
    WriteFile(target, "old content");
    EXPECT_TRUE(shell::ExportFileFromPcb(target, shell::FormatDescription));
    const std::string text = ReadFile(target);
    const std::regex skeleton(
        "ORVEX_ASCII \"" + target +
        "\"\r\n\r\n"
        "\\(asciiHeader\r\n"
        "  \\(asciiVersion 3 0\\)\r\n"
        "  \\(timeStamp [0-9]{4} [1-9][0-9]? [1-9][0-9]? [0-9]{1,2} [0-9]{1,2} [0-9]{1,2}\\)\r\n"
        "  \\(program \"Halvard\" \"6.1.0\"\\)\r\n"
        "  \\(copyright \"[^\"\r\n]+\"\\)\r\n"
        "  \\(headerString \"\"\\)\r\n"
        "  \\(fileUnits Mil\\)\r\n"
        "  \\(guidString \"\\{00000000-0000-0000-0000-000000000000\\}\"\\)\r\n"
        "\\)\r\n\r\n"
        "\\(library \"Library_1\"\r\n");
    EXPECT_TRUE(std::regex_search(text, skeleton)) << text;
    const std::string report = ReadFile(Dir / "board.Rep");
    EXPECT_EQ(report.rfind("Export log for : board.Rep\r\n", 0), 0u) << report;
    EXPECT_EQ(report.substr(report.size() - 13), "\r\n \r\nEndLog\r\n");
    EXPECT_TRUE(Dir.TempFiles().empty()) << "temporary files left behind";
}

TEST_F(ExportRun, MissingDirectoryAnsweredNoLeavesNothingBehind) {
    const std::string target = Dir / "missing/sub/board.pcb";
    EXPECT_TRUE(shell::ExportFileFromPcb(target, shell::FormatDescription));
    EXPECT_EQ(fakehost::State().Boxes, std::vector<std::string>{"Confirm: Directory does not exist, Create?"});
    EXPECT_FALSE(platform::DirectoryExists(Dir / "missing"));
    EXPECT_TRUE(Dir.TempFiles().empty());
}

TEST_F(ExportRun, MissingDirectoryAnsweredYesIsCreated) {
    fakehost::State().AnswerYes = true;
    const std::string target = Dir / "missing/sub/board.pcb";
    EXPECT_TRUE(shell::ExportFileFromPcb(target, shell::FormatDescription));
    EXPECT_TRUE(platform::FileExists(target));
    EXPECT_TRUE(platform::FileExists(Dir / "missing/sub/board.Rep"));
}

TEST_F(ExportRun, UncreatableDirectoryIsAnErrorBox) {
    fakehost::State().AnswerYes = true;
    WriteFile(Dir / "file", "x");
    EXPECT_TRUE(shell::ExportFileFromPcb(Dir / "file/sub/board.pcb", shell::FormatDescription));
    EXPECT_EQ(fakehost::State().Boxes.back(), "Error: Unable to Create Directory");
}

TEST_F(ExportRun, DecimalSeparatorIsRestoredAfterTheRun) {
    common::SetDecimalSeparator(',');
    EXPECT_TRUE(shell::ExportFileFromPcb(Dir / "board.pcb", shell::FormatDescription));
    EXPECT_EQ(common::DecimalSeparator(), ',');
    common::SetDecimalSeparator('.');
}

TEST_F(ExportRun, DecimalSeparatorIsRestoredAfterAnError) {
    // No temporary directory: the proof file cannot be made, and the host's
    // error box raises an error that ends the run.
    ::setenv("TMPDIR", (Dir / "no-such-dir").c_str(), 1);
    fakehost::State().ThrowOnErrorBox = true;
    common::SetDecimalSeparator(',');
    EXPECT_THROW(shell::ExportFileFromPcb(Dir / "board.pcb", shell::FormatDescription), std::runtime_error);
    EXPECT_EQ(common::DecimalSeparator(), ',');
    EXPECT_EQ(fakehost::State().Boxes.back(), "Error: Unable to open file for writing");
    common::SetDecimalSeparator('.');
}

TEST_F(ExportRun, TestModeErrorBoxEndsTheHost) {
    ::setenv("TMPDIR", (Dir / "no-such-dir").c_str(), 1);
    ::setenv("MARNEL_TESTMODE", "1", 1);
    EXPECT_EXIT(shell::ExportFileFromPcb(Dir / "board.pcb", shell::FormatDescription), testing::ExitedWithCode(1),
                "");
    ::unsetenv("MARNEL_TESTMODE");
}

TEST_F(ExportRun, SaverExportsOnlyLiaFiles) {
    struct Case {
        std::string Parameters;
        bool Exports;
    } cases[] = {
        {"FileName=" + Dir / "a.pcb" + "|FileType=LIA", true},
        {"FileName=" + Dir / "b.pcb" + "|FileType=lia", false},
        {"FileName=" + Dir / "c.pcb" + "|FileType=PCB", false},
        {"FileType=LIA", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shell::Orvex16Saver(c.Parameters.c_str()), 0);
        const std::string name = common::TParameterString(c.Parameters).Get("FileName");
        if (!name.empty()) {
            EXPECT_EQ(platform::FileExists(name), c.Exports) << c.Parameters;
        }
    }
    EXPECT_EQ(shell::Orvex16Saver(nullptr), 0);
}

}  // namespace

namespace {

// Exports with the file system refusing to grow any file beyond 200 bytes:
// the proof file is empty and the report's first line fits, the header does
// not.
void ExportIntoFullDisk(const std::string& target) {
    ::dup2(2, 1);  // the test-mode box text, where the death test can see it
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = 200;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    shell::ExportFileFromPcb(target, shell::FormatDescription);
    std::exit(0);
}

// A write that fails part-way: the user is told.
TEST_F(ExportRun, FailedWritesEndInTheFileErrorBox) {
    ::setenv("MARNEL_TESTMODE", "1", 1);
    EXPECT_EXIT(ExportIntoFullDisk(Dir / "board.pcb"), testing::ExitedWithCode(1),
                "ShowDialogWithCaption withError File Error - Failed to Export .*board.pcb");
    ::unsetenv("MARNEL_TESTMODE");
}

}  // namespace
