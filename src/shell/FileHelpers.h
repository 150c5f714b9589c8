// The export run's file helpers and message boxes.
#pragma once

#include <string>

namespace shell {

// A new, empty, uniquely named file in the system temporary directory
// (ORX<hex>.tmp); empty text when none can be made.
std::string MakeTempFileName();

// Puts the temporary file's content in place of the target, honouring the
// host's lock files. True when the target now holds it (or the two names are
// the same file name). A move that fails for another reason than a lock sets
// the pending output error.
bool MoveTempToTarget(const std::string& tempFileName, const std::string& targetFileName);

struct TLockInfo {
    std::string ComputerName, UserName, ProcessId;
};

// The name of the host's lock file for a target: directory + "~$" + file
// name + "_loc".
std::string LockFileName(const std::string& targetFileName);

// True when a complete lock file names another computer, user or process.
bool IsLockedByOther(const std::string& targetFileName, TLockInfo& lock);

// The directory part of a file name, up to and including its last path
// delimiter; empty when it has none.
std::string ExtractFilePath(const std::string& fileName);
std::string ExtractFileName(const std::string& fileName);

void ShowErrorBox(const std::string& text, const std::string& caption = "Error");
void ShowWarningBox(const std::string& text, const std::string& caption = "Warning");
bool AskYesNo(const std::string& question);

}  // namespace shell
