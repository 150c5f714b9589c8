#include "shell/FileHelpers.h"

#include <fstream>

#include "common/Strings.h"
#include "common/TextFile.h"
#include "platform/Forms.h"
#include "platform/Platform.h"
#include "shell/HostServices.h"
#include "shell/ModuleState.h"

namespace shell {

// A name over 255 characters would be cut wherever it is held, and the cut
// name could be another file: such a name counts as none.
std::string MakeTempFileName() {
    const std::string name = platform::CreateUniqueTempFile(platform::TempDirectory(), "ORX");
    if (name.size() <= common::MaxShortString) return name;
    platform::DeleteFile(name);
    return {};
}

std::string ExtractFilePath(const std::string& fileName) {
    for (size_t i = fileName.size(); i > 0; --i)
        if (platform::IsPathDelimiter(fileName[i - 1])) return fileName.substr(0, i);
    return {};
}

std::string ExtractFileName(const std::string& fileName) { return fileName.substr(ExtractFilePath(fileName).size()); }

std::string LockFileName(const std::string& targetFileName) {
    return ExtractFilePath(targetFileName) + "~$" + ExtractFileName(targetFileName) + "_loc";
}

static bool StartsWith(const std::string& line, const char* key) { return line.rfind(key, 0) == 0; }

// Reads the lock file; false when it does not exist. Throws when it cannot be
// read to its end.
static bool ReadLockFile(const std::string& lockFileName, TLockInfo& lock) {
    if (!platform::FileExists(lockFileName)) return false;
    std::ifstream in(lockFileName, std::ios::binary);
    if (!in) throw std::ios_base::failure("lock file");
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (StartsWith(line, "ComputerName"))
            lock.ComputerName = line.substr(std::min<size_t>(13, line.size()));
        else if (StartsWith(line, "UserName"))
            lock.UserName = line.substr(std::min<size_t>(9, line.size()));
        else if (StartsWith(line, "ProcessID"))
            lock.ProcessId = line.substr(std::min<size_t>(10, line.size()));
    }
    if (in.bad()) throw std::ios_base::failure("lock file");
    return true;
}

bool IsLockedByOther(const std::string& targetFileName, TLockInfo& lock) {
    lock = TLockInfo{};
    try {
        if (!ReadLockFile(LockFileName(targetFileName), lock)) return false;
    } catch (const std::exception&) {
        return true;
    }
    if (lock.ComputerName.empty() || lock.UserName.empty() || lock.ProcessId.empty()) return false;
    return !common::SameText(lock.ComputerName, platform::ComputerName()) ||
           !common::SameText(lock.UserName, platform::UserName()) ||
           !common::SameText(lock.ProcessId, std::to_string(platform::ProcessId()));
}

static void PostLockedFileNotice(const std::string& targetFileName, const TLockInfo& lock) {
    host::IHostClient* client = ModuleState().HostClient;
    host::IMessageList* messages = client ? client->GetMessageList() : nullptr;
    if (!messages) return;
    const std::string text = ExtractFileName(targetFileName) + " is used by " + lock.UserName + " on " +
                             lock.ComputerName + ". You will not be able to save your changes.";
    const std::string parameters = "FileName=" + targetFileName;
    messages->AddMessage("[Locked File]", text.c_str(), ProductName().c_str(), targetFileName.c_str(),
                         "WorkspaceManager:OpenObject", parameters.c_str(), host::LockedFileImageIndex);
}

namespace {
// Calls the document's after-change notification on every way out.
class TDocumentChange {
public:
    explicit TDocumentChange(host::IHostDocument* document) : Document(document) {
        if (Document) Document->BeforeChange();
    }
    ~TDocumentChange() {
        if (Document) Document->AfterChange();
    }
    TDocumentChange(const TDocumentChange&) = delete;
    TDocumentChange& operator=(const TDocumentChange&) = delete;

private:
    host::IHostDocument* Document;
};
}  // namespace

bool MoveTempToTarget(const std::string& tempFileName, const std::string& targetFileName) {
    if (platform::SameFileName(tempFileName, targetFileName)) return true;
    TLockInfo lock;
    if (IsLockedByOther(targetFileName, lock)) {
        PostLockedFileNotice(targetFileName, lock);
        if (platform::FileExists(tempFileName)) platform::DeleteFile(tempFileName);
        return false;
    }
    host::IHostClient* client = ModuleState().HostClient;
    TDocumentChange change(client ? client->GetOpenDocumentByPath(targetFileName.c_str()) : nullptr);
    if (!platform::FileExists(tempFileName)) return true;
    // The old target stays in place until the new content is complete beside
    // it, so a failed move loses neither; the failure is an output error, which
    // the export reports.
    if (platform::ReplaceFileWith(tempFileName, targetFileName)) return true;
    platform::DeleteFile(tempFileName);
    common::SetIOError();
    return false;
}

// In the host's unattended test mode an error or warning box is not shown:
// its text goes to standard output and the host process ends.
static void ShowBox(ui::MessageBoxKind kind, const std::string& text, const std::string& caption) {
    if (platform::IsHostTestMode()) {
        platform::WriteStdout("ShowDialogWithCaption with" + caption + " " + text + "\n");
        platform::ExitProcess(1);
    }
    ui::ShowMessageBox(kind, caption, text);
}

void ShowErrorBox(const std::string& text, const std::string& caption) {
    ShowBox(ui::MessageBoxKind::Error, text, caption);
}

void ShowWarningBox(const std::string& text, const std::string& caption) {
    ShowBox(ui::MessageBoxKind::Warning, text, caption);
}

bool AskYesNo(const std::string& question) {
    return ui::ShowMessageBox(ui::MessageBoxKind::Question, "Confirm", question) == ui::mrYes;
}

}  // namespace shell
