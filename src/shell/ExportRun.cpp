#include "shell/ExportRun.h"

#include <cstring>

#include "board/PcbApiBinding.h"
#include "common/NumberFormat.h"
#include "common/ParameterString.h"
#include "common/Strings.h"
#include "common/TextFile.h"
#include "platform/Platform.h"
#include "shell/FileHelpers.h"
#include "shell/ModuleState.h"
#include "translator/Save.h"

namespace shell {

const char FormatDescription[] = "V-ORN ASCII File (*.PCB)";

bool RecognisedPcbFormat(const std::string& description) { return description == FormatDescription; }

namespace {

// Restores the decimal separator on every way out of the run.
class TDecimalSeparatorScope {
public:
    TDecimalSeparatorScope() : Saved(common::DecimalSeparator()) { common::SetDecimalSeparator('.'); }
    ~TDecimalSeparatorScope() { common::SetDecimalSeparator(Saved); }
    TDecimalSeparatorScope(const TDecimalSeparatorScope&) = delete;
    TDecimalSeparatorScope& operator=(const TDecimalSeparatorScope&) = delete;

private:
    char Saved;
};

// Disposes of the scratch board on every way out of the run.
class TScratchBoardScope {
public:
    TScratchBoardScope() { PrepareScratchBoard(); }
    ~TScratchBoardScope() { DisposeScratchBoard(); }
    TScratchBoardScope(const TScratchBoardScope&) = delete;
    TScratchBoardScope& operator=(const TScratchBoardScope&) = delete;
};

// Makes sure the target's directory exists, asking before creating it.
// A name without a directory part counts as a missing directory; there is
// nothing to create for it, so a Yes ends in "Unable to Create Directory"
// rather than in a file relative to wherever the host happens to run.
bool TargetDirectoryReady(const std::string& directory) {
    if (platform::DirectoryExists(directory)) return true;
    if (!AskYesNo("Directory does not exist, Create?")) return false;
    if (!directory.empty()) platform::ForceDirectories(directory);
    if (!platform::DirectoryExists(directory)) {
        ShowErrorBox("Unable to Create Directory");
        return false;
    }
    return true;
}

// Replaces the target by an empty file before the translation starts, which
// proves it can be replaced. False when no temporary file could be opened.
bool ProveTargetReplaceable(const std::string& targetFileName) {
    const std::string tempFileName = MakeTempFileName();
    common::TTextFile proof;
    proof.Rewrite(tempFileName);
    const bool opened = !common::IOResult();
    proof.Close();
    common::IOResult();
    if (!opened) {
        ShowErrorBox("Unable to open file for writing");
        return false;
    }
    MoveTempToTarget(tempFileName, targetFileName);
    return true;
}

}  // namespace

bool ExportFileFromPcb(const std::string& targetFileName, const std::string& description) {
    const bool result = RecognisedPcbFormat(description);
    if (!result) return result;
    if (!TargetDirectoryReady(ExtractFilePath(targetFileName))) return result;

    TDecimalSeparatorScope separator;
    if (!ProveTargetReplaceable(targetFileName)) return result;
    TScratchBoardScope scratchBoard;
    translator::TOrvexExporter exporter;
    exporter.ExportBoard(targetFileName);
    return result;
}

int32_t Orvex16Saver(const char* parameters) {
    if (host::IHostClient* client = ModuleState().HostClient) client->GetServerModuleByName("PCB");
    pcb::RebindHostPcb();
    if (!parameters) return 0;

    // "ProjectFileName" is part of the call's parameters but plays no part here.
    const common::TParameterString params(parameters);
    const std::string fileName = params.Get("FileName");
    const std::string fileType = params.Get("FileType");
    if (fileName.empty() || fileType.empty()) return 0;

    platform::SetCursor(platform::Cursor::Wait);
    struct TArrowCursor {
        ~TArrowCursor() { platform::SetCursor(platform::Cursor::Arrow); }
    } arrow;
    if (fileType == "LIA") ExportFileFromPcb(common::ShortStr(fileName), FormatDescription);
    return 0;
}

}  // namespace shell
