// pcbhost: the simulated host application. It opens a board description in
// its PCB editor module, loads the export plug-in and calls the plug-in's
// exported functions as the real host does.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "Client.h"
#include "Exports.h"
#include "HostOs.h"
#include "Presenter.h"

namespace hostapp {
namespace {

const char* const Usage =
    "usage: pcbhost [options] export BOARD TARGET\n"
    "       pcbhost [options] saver BOARD [PARAMETERS]\n"
    "       pcbhost [options] describe BOARD\n"
    "\n"
    "Opens the board description BOARD (a JSON file, see docs/board-format.md) in\n"
    "the host's PCB editor, loads the export plug-in and\n"
    "  export    calls ExportFileFromPcb(TARGET, format description)\n"
    "  saver     calls Orvex16Saver(PARAMETERS), e.g. \"FileName=out.pcb|FileType=LIA\";\n"
    "            without PARAMETERS it passes a null pointer\n"
    "  describe  prints what the host holds for the board (no plug-in involved)\n"
    "\n"
    "options:\n"
    "  --format TEXT            format description to pass (default: the plug-in's own)\n"
    "  --create-dir yes|no      answer to \"Directory does not exist, Create?\" (default no)\n"
    "  --negative-coords MODE   answer to the negative-coordinates dialog: leave, skip,\n"
    "                           shift, ok (confirm the preselection; default) or cancel\n"
    "  --view-report on|off     the status dialog's check box (default: as shown)\n"
    "  --status-button HOW      how the status dialog is closed: close (default),\n"
    "                           escape or window (its close button)\n"
    "  --test-mode              run in the host's unattended test mode (on Windows that\n"
    "                           mode is the registry key HKLM\\Software\\Marnel\\TestMode,\n"
    "                           which the system's administrator sets)\n"
    "  --trace-progress         print every progress display on standard output\n"
    "  --describe-after         print what the host holds for the board after the call\n"
    "  --plugin PATH            the plug-in library (default: beside pcbhost)\n"
    "  --pcb-module PATH        the PCB editor module (default: beside pcbhost)\n"
    "  --help                   this text\n"
    "\n"
    "exit status: 0 done, 1 an error box in test mode, 2 bad command line or board\n"
    "description, 3 the export reported false, 4 the export raised an error\n";

struct TOptions {
    std::string Command, Board, Target, Parameters, Format, PluginPath, PcbModulePath;
    bool HasParameters = false, HasFormat = false, TestMode = false, TraceProgress = false, DescribeAfter = false;
    TDialogAnswers Answers;
};

int UsageError(const std::string& message) {
    std::fprintf(stderr, "pcbhost: %s\n(pcbhost --help shows how to use it)\n", message.c_str());
    return 2;
}

bool ParseOptions(int argc, char** argv, TOptions& options, std::string& error) {
    std::vector<std::string> positional;
    std::string statusButton = "close", viewReport;
    ParseNegativeCoordsAnswer("ok", options.Answers.NegativeCoords);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "--help" || arg == "-h") {
            options.Command = "help";
            return true;
        } else if (arg == "--format") {
            if (!value(options.Format)) return false;
            options.HasFormat = true;
        } else if (arg == "--create-dir") {
            if (!value(text)) return false;
            if (text != "yes" && text != "no") return error = "--create-dir takes yes or no", false;
            options.Answers.CreateDirectory = text == "yes";
        } else if (arg == "--negative-coords") {
            if (!value(text)) return false;
            if (!ParseNegativeCoordsAnswer(text, options.Answers.NegativeCoords))
                return error = "--negative-coords takes leave, skip, shift, ok or cancel", false;
        } else if (arg == "--view-report") {
            if (!value(viewReport)) return false;
        } else if (arg == "--status-button") {
            if (!value(statusButton)) return false;
        } else if (arg == "--test-mode") {
            options.TestMode = true;
        } else if (arg == "--trace-progress") {
            options.TraceProgress = true;
        } else if (arg == "--describe-after") {
            options.DescribeAfter = true;
        } else if (arg == "--plugin") {
            if (!value(options.PluginPath)) return false;
        } else if (arg == "--pcb-module") {
            if (!value(options.PcbModulePath)) return false;
        } else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
            return error = "unknown option " + arg, false;
        } else {
            positional.push_back(arg);
        }
    }
    if (!ParseStatusAnswer(statusButton, viewReport, options.Answers.Status))
        return error = "--status-button takes close, escape or window; --view-report on or off", false;
    if (positional.empty()) return error = "no command given", false;
    options.Command = positional[0];
    const size_t count = positional.size();
    if (options.Command == "export" && count == 3) {
        options.Board = positional[1];
        options.Target = positional[2];
    } else if (options.Command == "saver" && (count == 2 || count == 3)) {
        options.Board = positional[1];
        options.HasParameters = count == 3;
        if (options.HasParameters) options.Parameters = positional[2];
    } else if (options.Command == "describe" && count == 2) {
        options.Board = positional[1];
    } else {
        return error = "wrong arguments for \"" + options.Command + "\"", false;
    }
    return true;
}

// The progress display: a bar on standard error when it is a terminal, and
// with --trace-progress one line per display on standard output.
struct TProgress {
    bool Trace = false;
    bool Terminal = false;
    std::string Caption;
    int32_t Total = 0, Done = 0;
} g_Progress;

void DrawBar() {
    const int width = 30;
    const int filled = g_Progress.Total > 0 ? std::min(width, g_Progress.Done * width / g_Progress.Total) : width;
    std::fprintf(stderr, "\r%-50.50s [%s%s] %d/%d", g_Progress.Caption.c_str(), std::string(filled, '#').c_str(),
                 std::string(width - filled, ' ').c_str(), static_cast<int>(g_Progress.Done),
                 static_cast<int>(g_Progress.Total));
}

void PCBAPI_CALL ProgressInit(const char* caption, int32_t total) {
    g_Progress.Caption = caption ? caption : "";
    g_Progress.Total = total;
    g_Progress.Done = 0;
    if (g_Progress.Terminal) DrawBar();
}

void PCBAPI_CALL ProgressUpdate() {
    ++g_Progress.Done;
    if (g_Progress.Terminal) DrawBar();
}

void PCBAPI_CALL ProgressFinish() {
    if (g_Progress.Terminal) std::fprintf(stderr, "\r%80s\r", "");
    if (g_Progress.Trace)
        std::printf("Progress \"%s\" %d of %d\n", g_Progress.Caption.c_str(), static_cast<int>(g_Progress.Done),
                    static_cast<int>(g_Progress.Total));
}

template <typename Function>
bool Bind(void* module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(ModuleSymbol(module, name));
    return function != nullptr;
}

bool LoadPcbModule(const std::string& path, TPcbModule& pcb, std::string& error) {
    void* module = LoadModule(path, error);
    if (!module) return false;
    Bind(module, "HostPcb_OpenDocument", pcb.OpenDocument);
    Bind(module, "HostPcb_GetDocumentInfo", pcb.GetDocumentInfo);
    Bind(module, "HostPcb_RunCommand", pcb.RunCommand);
    Bind(module, "HostPcb_SetProgressSink", pcb.SetProgressSink);
    Bind(module, "HostPcb_SetClient", pcb.SetClient);
    Bind(module, "HostPcb_GetServerObjects", pcb.GetServerObjects);
    Bind(module, "HostPcb_Describe", pcb.Describe);
    if (!pcb.OpenDocument) return error = path + " is no PCB editor module", false;
    return true;
}

void PCBAPI_CALL PrintLine(const char* text, void*) { std::printf("%s\n", text); }

// The length-prefixed form of a text: its first 255 characters.
std::vector<uint8_t> LengthPrefixed(const std::string& text) {
    const size_t n = std::min<size_t>(text.size(), 255);
    std::vector<uint8_t> result(n + 1);
    result[0] = static_cast<uint8_t>(n);
    std::memcpy(result.data() + 1, text.data(), n);
    return result;
}

using GetPcbExporterDescription_t = const char*(PCBAPI_CALL*)();
using ExportFileFromPcb_t = uint8_t(PCBAPI_CALL*)(const uint8_t*, const uint8_t*);
using Orvex16Saver_t = int32_t(PCBAPI_CALL*)(const char*);

int RunPlugin(const TOptions& options) {
    std::string error;
    const std::string pluginPath =
        options.PluginPath.empty() ? ExecutableDirectory() + PluginFileName : options.PluginPath;
    void* plugin = LoadModule(pluginPath, error);
    if (!plugin) return UsageError("cannot load the plug-in: " + error);
    if (options.Command == "export") {
        GetPcbExporterDescription_t describe;
        ExportFileFromPcb_t exportFile;
        if (!Bind(plugin, "GetPcbExporterDescription", describe) || !Bind(plugin, "ExportFileFromPcb", exportFile))
            return UsageError(pluginPath + " lacks the export functions");
        const std::string format = options.HasFormat ? options.Format : describe();
        const auto target = LengthPrefixed(options.Target);
        const auto description = LengthPrefixed(format);
        const bool result = exportFile(target.data(), description.data()) != 0;
        std::printf("ExportFileFromPcb: %s\n", result ? "True" : "False");
        return result ? 0 : 3;
    }
    Orvex16Saver_t saver;
    if (!Bind(plugin, "Orvex16Saver", saver)) return UsageError(pluginPath + " lacks Orvex16Saver");
    const int32_t result = saver(options.HasParameters ? options.Parameters.c_str() : nullptr);
    std::printf("Orvex16Saver: %d\n", static_cast<int>(result));
    return 0;
}

int Run(const TOptions& options) {
    std::string error;
    TPcbModule pcb;
    const std::string modulePath =
        options.PcbModulePath.empty() ? ExecutableDirectory() + PcbModuleFileName : options.PcbModulePath;
    if (!LoadPcbModule(modulePath, pcb, error)) return UsageError("cannot load the PCB editor module: " + error);

    g_Progress.Trace = options.TraceProgress;
    g_Progress.Terminal = StderrIsTerminal();
    static const HostPcbProgressSink sink{ProgressInit, ProgressUpdate, ProgressFinish};
    if (pcb.SetProgressSink) pcb.SetProgressSink(&sink);

    static TClient client(pcb, stdout);
    if (pcb.SetClient) pcb.SetClient(&client);
    if (!client.OpenBoard(options.Board, error)) {
        std::fprintf(stderr, "pcbhost: %s\n", error.c_str());
        return 2;
    }
    if (options.Command == "describe") {
        if (!pcb.Describe) return UsageError("the PCB editor module cannot describe boards");
        pcb.Describe(client.Board, PrintLine, nullptr);
        return 0;
    }

    static TPresenter presenter(options.Answers, stdout);
    SetExportedClient(&client);
    SetExportedPresenter(&presenter);
    if (options.TestMode) SetEnvironment("MARNEL_TESTMODE", "1");
    const int status = RunPlugin(options);
    if (options.DescribeAfter && pcb.Describe) {
        std::printf("Board after the call:\n");
        pcb.Describe(client.Board, PrintLine, nullptr);
    }
    return status;
}

}  // namespace
}  // namespace hostapp

int main(int argc, char** argv) {
    hostapp::TOptions options;
    std::string error;
    if (!hostapp::ParseOptions(argc, argv, options, error)) return hostapp::UsageError(error);
    if (options.Command == "help") {
        std::fputs(hostapp::Usage, stdout);
        return 0;
    }
    try {
        const int status = hostapp::Run(options);
        std::fflush(stdout);
        return status;
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "pcbhost: the export raised an error: %s\n", e.what());
        return 4;
    }
}
