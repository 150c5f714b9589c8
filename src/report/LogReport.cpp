#include "report/LogReport.h"

#include "common/Strings.h"
#include "common/TextFile.h"
#include "platform/Platform.h"
#include "report/TranslationComplete.h"
#include "shell/FileHelpers.h"
#include "shell/HostServices.h"
#include "shell/ModuleState.h"

namespace report {
namespace {

struct TLogState {
    common::TTextFile File;
    std::string ReportFileName;
    std::string LogTempName;
    bool ErrorLogged = false;
    bool WarningLogged = false;
};

TLogState& Log() {
    static TLogState state;
    return state;
}

}  // namespace

const std::string& ReportFileName() { return Log().ReportFileName; }

// The target with the extension Rep. A target that already has it keeps its
// own name and the report gets a further ".Rep", so that the report never
// takes the place of the exported file; the name is not cut to 255
// characters, which could make it the target's too.
std::string ReportFileNameFor(const std::string& targetFileName) {
    const std::string name = shell::ForceFileNameExtension(targetFileName, "Rep");
    if (platform::SameFileName(name, targetFileName)) return targetFileName + ".Rep";
    return name;
}
bool ErrorLogged() { return Log().ErrorLogged; }
bool WarningLogged() { return Log().WarningLogged; }

void BeginLog(const std::string& targetFileName) {
    TLogState& log = Log();
    log.ReportFileName = ReportFileNameFor(targetFileName);
    log.LogTempName = shell::MakeTempFileName();
    // A host that does not bind files leaves the log on its temporary name.
    const std::string bound = shell::VFSAssign(log.LogTempName);
    log.File.Rewrite(bound.empty() ? log.LogTempName : bound);
    LogLine("Export log for : " + shell::VFSExtractFileName(log.ReportFileName));
    log.ErrorLogged = false;
    log.WarningLogged = false;
}

void LogLine(const std::string& line) {
    TLogState& log = Log();
    log.File.WriteLine(common::ShortStr(line));
    log.File.Flush();
}

void LogError(const std::string& message) {
    LogLine("      Error:   " + message);
    Log().ErrorLogged = true;
}

void LogWarning(const std::string& message) {
    LogLine("      Warning: " + message);
    Log().WarningLogged = true;
}

void EndLog() {
    TLogState& log = Log();
    LogLine(" ");
    LogLine("EndLog");
    log.File.Close();
    shell::MoveTempToTarget(log.LogTempName, log.ReportFileName);
    log.LogTempName = log.ReportFileName;
    if (!log.ErrorLogged && !log.WarningLogged) return;

    TTranslationStatus dialog;
    dialog.CheckBoxViewReport.SetChecked(true);
    if (log.ErrorLogged) {
        dialog.LabelStatus.SetText("Status: Translation Failed");
    } else {
        dialog.LabelStatus.SetText("Status: Translation Complete, Warnings Found");
        dialog.CheckBoxViewReport.SetChecked(true);
    }
    if (platform::IsHostTestMode()) return;
    if (dialog.ShowModal() == ui::mrOK && dialog.CheckBoxViewReport.Checked()) OpenReport(log.LogTempName);
}

void OpenReport(const std::string& fileName) {
    if (!platform::FileExists(fileName)) return;
    host::IHostClient* client = shell::ModuleState().HostClient;
    if (!client) return;
    if (host::IHostDocument* document = client->GetOpenDocumentByPath(fileName.c_str())) {
        client->ShowDocument(document);
        if (common::SameText(shell::DocumentServerName(document), "TextEdit")) {
            client->SendCommandToServer("TextEdit:MoveCursorToTopOfDocument", document->GetFirstView());
            return;
        }
    }
    char kind[256] = {};
    client->GetDocumentKindOfFile(fileName.c_str(), kind, sizeof kind);
    if (host::IHostDocument* opened = client->OpenDocument(kind, fileName.c_str())) client->ShowDocument(opened);
}

}  // namespace report
