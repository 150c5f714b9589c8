#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const fs::path& name, const std::string& text) { std::ofstream(name, std::ios::binary) << text; }

struct TRun {
    int Status = -1;
    std::string Output;
};

class Pcbhost : public testing::Test {
protected:
    void SetUp() override {
        Dir = fs::temp_directory_path() / ("cli-test-" + std::to_string(::getpid()) + "-" +
                                           testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir / "tmp");
        WriteFile(Dir / "board.json", R"({ "nets": ["GND"], "objects": [
            { "kind": "track", "x1": 0, "y1": 0, "x2": 1000, "y2": 0, "width": 10, "net": "GND" } ] })");
    }
    void TearDown() override { fs::remove_all(Dir); }

    // Runs pcbhost with the scratch directory as its temporary directory.
    TRun Run(const std::string& arguments) {
        const std::string command =
            "TMPDIR='" + (Dir / "tmp").string() + "' '" PCBHOST "' " + arguments + " 2>&1";
        TRun run;
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.Output.append(buffer, n);
        const int status = ::pclose(pipe);
        run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }
    bool TempDirEmpty() { return fs::is_empty(Dir / "tmp"); }
    std::string Board() { return "'" + (Dir / "board.json").string() + "'"; }
    std::string Q(const fs::path& p) { return "'" + p.string() + "'"; }

    fs::path Dir;
};

TEST_F(Pcbhost, ExportWritesTheSkeletonAndTheReport) {
    const TRun run = Run("export " + Board() + " " + Q(Dir / "out.pcb"));
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_NE(run.Output.find("ExportFileFromPcb: True"), std::string::npos);
    const std::string text = ReadFile(Dir / "out.pcb");
    EXPECT_EQ(text.rfind("ORVEX_ASCII \"" + (Dir / "out.pcb").string() + "\"\r\n\r\n(asciiHeader\r\n", 0), 0u)
        << text;
    EXPECT_NE(text.find("\r\n(library \"Library_1\"\r\n"), std::string::npos);
    const std::string report = ReadFile(Dir / "out.Rep");
    EXPECT_EQ(report.rfind("Export log for : out.Rep\r\n", 0), 0u);
    EXPECT_EQ(report.substr(report.size() - 13), "\r\n \r\nEndLog\r\n");
    EXPECT_TRUE(TempDirEmpty());
}

TEST_F(Pcbhost, UnrecognisedDescriptionWritesNothing) {
    for (const char* format : {"'v-orn ascii file (*.pcb)'", "'V-ORN ASCII File (*.PCB) '"}) {
        const TRun run = Run("--format " + std::string(format) + " export " + Board() + " " + Q(Dir / "out.pcb"));
        EXPECT_EQ(run.Status, 3) << run.Output;
        EXPECT_NE(run.Output.find("ExportFileFromPcb: False"), std::string::npos);
        EXPECT_FALSE(fs::exists(Dir / "out.pcb"));
        EXPECT_FALSE(fs::exists(Dir / "out.Rep"));
        EXPECT_TRUE(TempDirEmpty());
    }
}

TEST_F(Pcbhost, MissingDirectoryAnsweredNoLeavesNothingBehind) {
    const TRun run = Run("--create-dir no export " + Board() + " " + Q(Dir / "new/out.pcb"));
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_NE(run.Output.find("Directory does not exist, Create? -> No"), std::string::npos) << run.Output;
    EXPECT_FALSE(fs::exists(Dir / "new"));
    EXPECT_TRUE(TempDirEmpty());
}

TEST_F(Pcbhost, MissingDirectoryAnsweredYesIsCreated) {
    const TRun run = Run("--create-dir yes export " + Board() + " " + Q(Dir / "new/deeper/out.pcb"));
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_TRUE(fs::exists(Dir / "new/deeper/out.pcb"));
    EXPECT_TRUE(fs::exists(Dir / "new/deeper/out.Rep"));
}

TEST_F(Pcbhost, UnlockedTargetIsReplaced) {
    WriteFile(Dir / "out.pcb", "old");
    const TRun run = Run("export " + Board() + " " + Q(Dir / "out.pcb"));
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_EQ(ReadFile(Dir / "out.pcb").rfind("ORVEX_ASCII", 0), 0u);
}

TEST_F(Pcbhost, TargetLockedByAnotherUserKeepsItsContent) {
    WriteFile(Dir / "out.pcb", "old");
    WriteFile(Dir / "~$out.pcb_loc", "ComputerName=ELSEWHERE\r\nUserName=alice\r\nProcessID=1\r\n");
    const TRun run = Run("export " + Board() + " " + Q(Dir / "out.pcb"));
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_EQ(ReadFile(Dir / "out.pcb"), "old");
    EXPECT_NE(run.Output.find("Message [Locked File] out.pcb is used by alice on ELSEWHERE. You will not be able "
                              "to save your changes."),
              std::string::npos)
        << run.Output;
    EXPECT_NE(run.Output.find("WorkspaceManager:OpenObject FileName=" + (Dir / "out.pcb").string()),
              std::string::npos);
    EXPECT_TRUE(TempDirEmpty());
}

TEST_F(Pcbhost, TestModeErrorBoxEndsTheHost) {
    WriteFile(Dir / "file", "x");
    const TRun run = Run("--test-mode --create-dir yes export " + Board() + " " + Q(Dir / "file/sub/out.pcb"));
    EXPECT_EQ(run.Status, 1) << run.Output;
    EXPECT_NE(run.Output.find("ShowDialogWithCaption withError Unable to Create Directory\n"), std::string::npos)
        << run.Output;
}

TEST_F(Pcbhost, SaverExportsLiaFiles) {
    const TRun run = Run("saver " + Board() + " 'FileName=" + (Dir / "lib.pcb").string() + "|FileType=LIA'");
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_NE(run.Output.find("Orvex16Saver: 0"), std::string::npos);
    EXPECT_TRUE(fs::exists(Dir / "lib.pcb"));
    const TRun other = Run("saver " + Board() + " 'FileName=" + (Dir / "x.pcb").string() + "|FileType=lia'");
    EXPECT_FALSE(fs::exists(Dir / "x.pcb"));
    EXPECT_EQ(Run("saver " + Board()).Status, 0);
}

TEST_F(Pcbhost, BadBoardDescriptionIsAClearError) {
    WriteFile(Dir / "bad.json", "{ \"objects\": [ { \"kind\": \"track\", \"layer\": \"TopLayr\" } ] }");
    const TRun run = Run("export " + Q(Dir / "bad.json") + " " + Q(Dir / "out.pcb"));
    EXPECT_EQ(run.Status, 2) << run.Output;
    EXPECT_NE(run.Output.find("bad.json"), std::string::npos) << run.Output;
    EXPECT_NE(run.Output.find("objects[0].layer"), std::string::npos) << run.Output;
    EXPECT_FALSE(fs::exists(Dir / "out.pcb"));
    const TRun missing = Run("export " + Q(Dir / "nothing.json") + " " + Q(Dir / "out.pcb"));
    EXPECT_EQ(missing.Status, 2) << missing.Output;
    EXPECT_NE(missing.Output.find("nothing.json"), std::string::npos) << missing.Output;
}

#ifdef PARTIAL_PCB_MODULE
// An older host lacks some functions (among them the progress display's
// start): the plug-in still exports, and what it cannot ask keeps its default.
TEST_F(Pcbhost, ExportsWithAHostThatLacksFunctions) {
    const TRun run = Run("--trace-progress --pcb-module '" PARTIAL_PCB_MODULE "' export " + Board() + " " +
                         Q(Dir / "out.pcb"));
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_NE(run.Output.find("Progress \"\""), std::string::npos) << run.Output;
    EXPECT_EQ(run.Output.find("Progress \"Renaming"), std::string::npos) << run.Output;
    EXPECT_NE(ReadFile(Dir / "out.pcb").find("\r\n(library \"Library_1\"\r\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(Dir / "out.Rep"));
}
#endif

TEST_F(Pcbhost, ReportNeverTakesTheTargetsPlace) {
    const TRun run = Run("export " + Board() + " " + Q(Dir / "board.Rep"));
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_EQ(ReadFile(Dir / "board.Rep").rfind("ORVEX_ASCII", 0), 0u);
    EXPECT_EQ(ReadFile(Dir / "board.Rep.Rep").rfind("Export log for : board.Rep.Rep\r\n", 0), 0u);
}

TEST_F(Pcbhost, FailedFinalMoveIsReported) {
    fs::create_directories(Dir / "out.pcb");  // a directory where the file should go
    const TRun run = Run("--test-mode export " + Board() + " " + Q(Dir / "out.pcb"));
    EXPECT_EQ(run.Status, 1) << run.Output;
    EXPECT_NE(run.Output.find("ShowDialogWithCaption withError File Error - Failed to Export " +
                              (Dir / "out.pcb").string()),
              std::string::npos)
        << run.Output;
    EXPECT_TRUE(TempDirEmpty());
}

TEST_F(Pcbhost, OverlongTemporaryNamesAreNeverCut) {
    // A temporary directory so deep that the temporary file names would pass
    // 255 characters: nothing may be written to a cut name.
    const fs::path deep = Dir / "tmp" / std::string(120, 'd') / std::string(120, 'e');
    fs::create_directories(deep);
    const std::string command = "TMPDIR='" + deep.string() + "' '" PCBHOST "' --test-mode export " + Board() + " " +
                                Q(Dir / "out.pcb") + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    const int status = ::pclose(pipe);
    EXPECT_EQ(WEXITSTATUS(status), 1) << output;
    EXPECT_NE(output.find("ShowDialogWithCaption withError Unable to open file for writing"), std::string::npos)
        << output;
    EXPECT_TRUE(fs::is_empty(deep));
}

TEST_F(Pcbhost, LocksOfAnyOtherComputerUserOrProcessBlock) {
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    const std::string user = std::getenv("USER") ? std::getenv("USER") : "root";
    struct Case {
        const char* What;
        std::string Computer, User, Process;
    } cases[] = {
        {"another computer", "ELSEWHERE", user, "1"},
        {"another user", host, user + "x", "1"},
        {"another process", host, user, "1"},
    };
    for (const auto& c : cases) {
        WriteFile(Dir / "out.pcb", "old");
        WriteFile(Dir / "~$out.pcb_loc",
                  "ComputerName=" + c.Computer + "\r\nUserName=" + c.User + "\r\nProcessID=" + c.Process + "\r\n");
        const TRun run = Run("export " + Board() + " " + Q(Dir / "out.pcb"));
        EXPECT_EQ(ReadFile(Dir / "out.pcb"), "old") << c.What;
        EXPECT_NE(run.Output.find("Message [Locked File]"), std::string::npos) << c.What;
    }
}

TEST_F(Pcbhost, TargetNameIsWrittenAsReceived) {
    const fs::path target = Dir / "say \"hi\".pcb";
    const TRun run = Run("export " + Board() + " " + Q(target));
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_EQ(ReadFile(target).rfind("ORVEX_ASCII \"" + target.string() + "\"\r\n", 0), 0u);
}

TEST_F(Pcbhost, SaverCutsTheFileNameAt255Characters) {
    const std::string full = (Dir / (std::string(300 - (Dir.string().size() + 1), 'n'))).string();
    ASSERT_EQ(full.size(), 300u);
    const TRun run = Run("saver " + Board() + " 'FileName=" + full + "|FileType=LIA'");
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_TRUE(fs::exists(full.substr(0, 255)));
}

TEST_F(Pcbhost, LibraryDocumentMovesNoComponents) {
    const TRun run = Run("--trace-progress export '" EXAMPLES_DIR "/library.json' " + Q(Dir / "lib.pcb"));
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_EQ(run.Output.find("Moving Components To Top Layer"), std::string::npos) << run.Output;
    EXPECT_EQ(run.Output.find("Returning Components"), std::string::npos) << run.Output;
    EXPECT_EQ(ReadFile(Dir / "lib.pcb").find("(netlist"), std::string::npos);
}

TEST_F(Pcbhost, UsageErrors) {
    EXPECT_EQ(Run("").Status, 2);
    EXPECT_EQ(Run("export only-one-argument").Status, 2);
    EXPECT_EQ(Run("--negative-coords sideways export a b").Status, 2);
    const TRun help = Run("--help");
    EXPECT_EQ(help.Status, 0);
    EXPECT_NE(help.Output.find("usage: pcbhost"), std::string::npos);
}

TEST_F(Pcbhost, EveryExampleDescribesCleanly) {
    ASSERT_TRUE(fs::exists(fs::path(EXAMPLES_DIR) / "demo.json")) << "the bundled demo board is missing";
    for (const auto& entry : fs::directory_iterator(EXAMPLES_DIR)) {
        if (entry.path().extension() != ".json") continue;
        const TRun run = Run("describe " + Q(entry.path()));
        EXPECT_EQ(run.Status, 0) << entry.path() << run.Output;
    }
}

}  // namespace

namespace {

// The board passes before the sections are written, seen from outside: the
// host's account of the board after the export, and the progress displays.
class PrePasses : public Pcbhost {
protected:
    std::string Describe(const std::string& description) {
        WriteFile(Dir / "pre.json", description);
        return Run("describe " + Q(Dir / "pre.json")).Output;
    }
    TRun Export(const std::string& description, const std::string& options = "") {
        WriteFile(Dir / "pre.json", description);
        return Run("--describe-after --trace-progress " + options + " export " + Q(Dir / "pre.json") + " " +
                   Q(Dir / "pre.pcb"));
    }
    static std::string After(const TRun& run) {
        const size_t at = run.Output.find("Board after the call:\n");
        return at == std::string::npos ? std::string() : run.Output.substr(at + 22);
    }
    static int Count(const std::string& text, const std::string& what) {
        int n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }
};

std::string Components(std::initializer_list<const char*> designators) {
    std::string list;
    int x = 100;
    for (const char* d : designators) {
        if (!list.empty()) list += ",";
        list += "{ \"designator\": \"" + std::string(d) + "\", \"x\": " + std::to_string(x += 100) + ", \"y\": 100 }";
    }
    return "{ \"components\": [" + list + "] }";
}

TEST_F(PrePasses, DuplicateDesignatorsBecomeUnique) {
    struct Case {
        std::initializer_list<const char*> Before;
        std::vector<std::string> After;
    } cases[] = {
        {{"R1", "R1", "R1", "R2"}, {"R1", "R2", "R3", "R4"}},
        {{"u1", "U1"}, {"u1", "U2"}},
        {{"U09", "U09", "C", "C", "J99", "J99"}, {"U09", "U10", "C", "C2", "J99", "J100"}},
        {{"", "", "R1"}, {"", "", "R1"}},
    };
    for (const auto& c : cases) {
        const std::string after = After(Export(Components(c.Before)));
        size_t at = 0;
        for (const std::string& name : c.After) {
            at = after.find("  \"" + name + "\" pattern", at);
            EXPECT_NE(at, std::string::npos) << name << " in\n" << after;
            if (at == std::string::npos) break;
            ++at;
        }
    }
}

TEST_F(PrePasses, PositiveBoardShowsNoDialogAndStaysPut) {
    const std::string board = R"({ "objects": [ { "kind": "track", "x1": 10, "y1": 10, "x2": 20, "y2": 30 } ] })";
    const TRun run = Export(board);
    EXPECT_EQ(run.Output.find("Dialog \"V-ORN Translation Problems\""), std::string::npos) << run.Output;
    EXPECT_EQ(Count(run.Output, "Shifting Primitives"), 0);
    EXPECT_EQ(After(run), Describe(board));
}

TEST_F(PrePasses, ShiftedBoardEndsWhereItStarted) {
    const std::string board = R"({ "objects": [
        { "kind": "track", "x1": "-5u", "y1": "10u", "x2": "20u", "y2": "30u", "width": 0 },
        { "kind": "arc", "x": 100, "y": 100, "radius": 20 } ],
      "components": [ { "designator": "Q1", "x": 300, "y": 200, "rotation": 90, "side": "bottom",
        "primitives": [ { "kind": "pad", "name": "1", "x": 10, "y": 5, "shape": "rectangle", "size": [20, 30] } ] } ] })";
    const TRun run = Export(board, "--negative-coords shift");
    EXPECT_NE(run.Output.find("Dialog \"V-ORN Translation Problems\""), std::string::npos);
    EXPECT_EQ(Count(run.Output, "Progress \"Shifting Primitives\""), 2) << run.Output;
    EXPECT_NE(run.Output.find("Progress \"Returning Components To Original Layer\" 1 of 1"), std::string::npos);
    EXPECT_EQ(After(run), Describe(board));
}

TEST_F(PrePasses, SkipAndLeaveMoveNothing) {
    const std::string board =
        R"({ "objects": [ { "kind": "track", "x1": "-5u", "y1": "10u", "x2": "20u", "y2": "30u", "width": 0 } ] })";
    for (const char* answer : {"skip", "leave", "cancel"}) {
        const TRun run = Export(board, std::string("--negative-coords ") + answer);
        EXPECT_EQ(Count(run.Output, "Shifting Primitives"), 0) << answer;
        EXPECT_EQ(After(run), Describe(board)) << answer;
    }
}

TEST_F(PrePasses, RadialDimensionWithoutItsArcAsksButShiftsNothing) {
    const std::string board = R"({ "objects": [ { "kind": "dimension", "type": "radial", "x": 100, "y": 100,
        "references": [ { "x": 100, "y": 100 } ] } ] })";
    const TRun run = Export(board, "--negative-coords shift");
    EXPECT_NE(run.Output.find("Dialog \"V-ORN Translation Problems\""), std::string::npos) << run.Output;
    EXPECT_EQ(Count(run.Output, "Shifting Primitives"), 0);
    EXPECT_EQ(After(run), Describe(board));
}

}  // namespace
