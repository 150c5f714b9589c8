#include <gtest/gtest.h>
#include <unistd.h>

#include "FakeHost.h"
#include "TestFiles.h"
#include "platform/Platform.h"
#include "shell/FileHelpers.h"
#include "shell/ModuleState.h"
#include "common/Strings.h"
#include <sys/stat.h>

namespace {

using testfiles::ReadFile;
using testfiles::WriteFile;

class FileHelpers : public testing::Test {
protected:
    void SetUp() override {
        fakehost::Reset();
        shell::InitializeModuleState();
    }
    std::string LockText(const std::string& computer, const std::string& user, const std::string& pid) {
        return "ComputerName=" + computer + "\r\nUserName=" + user + "\r\nProcessID=" + pid + "\r\n";
    }
    std::string Me() { return std::to_string(platform::ProcessId()); }
    testfiles::TScratchDir Dir;
};

TEST_F(FileHelpers, LockFileNameSitsBesideTheTarget) {
    EXPECT_EQ(shell::LockFileName("/work/board.pcb"), "/work/~$board.pcb_loc");
    EXPECT_EQ(shell::LockFileName("/work/board"), "/work/~$board_loc");
}

TEST_F(FileHelpers, WhichLocksBlock) {
    const std::string computer = platform::ComputerName(), user = platform::UserName();
    struct Case {
        const char* What;
        std::string Lock;
        bool Blocks;
    } cases[] = {
        {"this very process", LockText(computer, user, Me()), false},
        {"same process, other case", LockText(common::UpperCase(computer), common::UpperCase(user), Me()), false},
        {"another process", LockText(computer, user, Me() + "0"), true},
        {"another user", LockText(computer, user + "x", Me()), true},
        {"another computer", LockText(computer + "x", user, Me()), true},
        {"an empty user name: incomplete, ignored", LockText("OTHER", "", "1"), false},
        {"the later line wins", LockText("OTHER", "other", "1") + LockText(computer, user, Me()), false},
    };
    const std::string target = Dir / "board.pcb";
    for (const auto& c : cases) {
        WriteFile(shell::LockFileName(target), c.Lock);
        shell::TLockInfo lock;
        EXPECT_EQ(shell::IsLockedByOther(target, lock), c.Blocks) << c.What;
    }
    std::remove(shell::LockFileName(target).c_str());
    shell::TLockInfo lock;
    EXPECT_FALSE(shell::IsLockedByOther(target, lock)) << "no lock file";
}

TEST_F(FileHelpers, MoveReplacesAnUnlockedTarget) {
    const std::string temp = shell::MakeTempFileName(), target = Dir / "board.pcb";
    ASSERT_FALSE(temp.empty());
    WriteFile(temp, "new");
    WriteFile(target, "old");
    fakehost::State().OpenDocumentPath = target;
    EXPECT_TRUE(shell::MoveTempToTarget(temp, target));
    EXPECT_EQ(ReadFile(target), "new");
    EXPECT_FALSE(platform::FileExists(temp));
    EXPECT_EQ(fakehost::State().ChangesBegun, 1);
    EXPECT_EQ(fakehost::State().ChangesEnded, 1);
}

TEST_F(FileHelpers, LockedTargetKeepsItsContentAndTheUserIsTold) {
    const std::string temp = shell::MakeTempFileName(), target = Dir / "board.pcb";
    WriteFile(temp, "new");
    WriteFile(target, "old");
    WriteFile(shell::LockFileName(target), LockText("OTHERPC", "alice", "42"));
    EXPECT_FALSE(shell::MoveTempToTarget(temp, target));
    EXPECT_EQ(ReadFile(target), "old");
    EXPECT_FALSE(platform::FileExists(temp));
    ASSERT_EQ(fakehost::State().Messages.size(), 1u);
    const fakehost::TMessage& m = fakehost::State().Messages[0];
    EXPECT_EQ(m.Class, "[Locked File]");
    EXPECT_EQ(m.Text, "board.pcb is used by alice on OTHERPC. You will not be able to save your changes.");
    EXPECT_EQ(m.Source, "Fake Host");
    EXPECT_EQ(m.Document, target);
    EXPECT_EQ(m.Command, "WorkspaceManager:OpenObject");
    EXPECT_EQ(m.Parameters, "FileName=" + target);
}

TEST_F(FileHelpers, SameNameInOtherCaseDoesNothing) {
    const std::string target = Dir / "Board.PCB";
    WriteFile(target, "old");
    EXPECT_TRUE(shell::MoveTempToTarget(Dir / "board.pcb", target));
    EXPECT_EQ(ReadFile(target), "old");
}

TEST_F(FileHelpers, MissingTemporaryFileMovesNothing) {
    const std::string target = Dir / "board.pcb";
    WriteFile(target, "old");
    EXPECT_TRUE(shell::MoveTempToTarget(Dir / "gone.tmp", target));
    EXPECT_EQ(ReadFile(target), "old");
}

TEST_F(FileHelpers, MoveAcrossFileSystemsKeepsTheData) {
    // /dev/shm is a memory file system on most machines: a plain rename from
    // there onto a disk fails.
    struct stat shm {}, here {};
    if (::stat("/dev/shm", &shm) != 0 || ::stat(Dir.Path.c_str(), &here) != 0 || shm.st_dev == here.st_dev)
        GTEST_SKIP() << "no second file system at hand";
    const std::string temp = platform::CreateUniqueTempFile("/dev/shm/", "ORX");
    ASSERT_FALSE(temp.empty());
    WriteFile(temp, std::string(100000, 'n'));
    const std::string target = Dir / "board.pcb";
    WriteFile(target, "old");
    EXPECT_TRUE(shell::MoveTempToTarget(temp, target));
    EXPECT_EQ(ReadFile(target), std::string(100000, 'n'));
    EXPECT_FALSE(platform::FileExists(temp));
    for (const auto& entry : std::filesystem::directory_iterator(Dir.Path))
        EXPECT_EQ(entry.path().filename().string().rfind("~mv", 0), std::string::npos) << "copy left behind";
}

TEST_F(FileHelpers, FilePathParts) {
    EXPECT_EQ(shell::ExtractFilePath("/a/b/c.pcb"), "/a/b/");
    EXPECT_EQ(shell::ExtractFileName("/a/b/c.pcb"), "c.pcb");
    EXPECT_EQ(shell::ExtractFilePath("c.pcb"), "");
}

}  // namespace
