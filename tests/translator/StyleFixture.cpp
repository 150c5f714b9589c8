#include "StyleFixture.h"

#include <cstdio>

#include "board/PcbApiBinding.h"
#include "board/Pcbclass.h"
#include "common/TextFile.h"
#include "host/pcb/HostPcbModule.h"

// The report is named after the target by the host executable's service;
// the test program is that executable here.
extern "C" __attribute__((visibility("default"))) void ClientAPI_ForceFileNameExtension(const char* fileName,
                                                                                        const char* extension,
                                                                                        char* buffer, int32_t size) {
    std::filesystem::path name(fileName);
    name.replace_extension(extension);
    std::snprintf(buffer, static_cast<size_t>(size), "%s", name.string().c_str());
}

namespace stylestest {
namespace {

void PCBAPI_CALL OnInit(const char* caption, int32_t total) {
    ProgressCalls().push_back("Init " + std::string(caption) + " " + std::to_string(total));
}
void PCBAPI_CALL OnUpdate() { ProgressCalls().push_back("Update"); }
void PCBAPI_CALL OnFinish() { ProgressCalls().push_back("Finish"); }

void SetProgressSink(const HostPcbProgressSink* sink) {
    void* module = ::dlopen(HOST_PCB_MODULE, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(module, nullptr);
    auto set = reinterpret_cast<HostPcb_SetProgressSink_t>(::dlsym(module, "HostPcb_SetProgressSink"));
    ASSERT_NE(set, nullptr);
    set(sink);
    ::dlclose(module);
}

}  // namespace

std::vector<std::string>& ProgressCalls() {
    static std::vector<std::string> calls;
    return calls;
}

void TStyleTest::SetUp() {
    Dir = std::filesystem::temp_directory_path() /
          ("styles-test-" + std::to_string(::getpid()) + "-" +
           testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(Dir);
    std::filesystem::create_directories(Dir);
    static const HostPcbProgressSink sink = {OnInit, OnUpdate, OnFinish};
    SetProgressSink(&sink);
    ProgressCalls().clear();
    report::BeginLog((Dir / "board.pcb").string());
    LogOpen = true;
}

void TStyleTest::TearDown() {
    if (LogOpen) EndLogLines();
    SetProgressSink(nullptr);
    Exporter.reset();
    common::IOResult();
    std::filesystem::remove_all(Dir);
}

void TStyleTest::OpenBoard(const std::string& description) {
    Board = Open(description);
    Exporter = std::make_unique<translator::TOrvexExporter>();
}

void TStyleTest::Analyze(const std::string& description) {
    OpenBoard(description);
    Exporter->AnalyzeStyles();
}

std::string TStyleTest::Output(const std::function<void()>& write) {
    const std::filesystem::path file = Dir / "output.txt";
    Exporter->OutFile.Rewrite(file.string());
    write();
    Exporter->OutFile.Close();
    EXPECT_FALSE(common::IOResult());
    return ReadFile(file);
}

std::string TStyleTest::PadDef(size_t index) {
    const translator::TStyleEntry style = Exporter->PadStyles.at(index);
    pcb::TPcbPad pad(style.Handle);
    pad.ReadFromHost();
    Exporter->LoadPadCache(style.Handle);
    return Output([&] { EXPECT_TRUE(Exporter->WritePadStyleDef(style.Name, pad)); });
}

std::string TStyleTest::ViaDef(size_t index) {
    const translator::TStyleEntry style = Exporter->ViaStyles.at(index);
    pcb::TPcbVia via(style.Handle);
    via.ReadFromHost();
    Exporter->LoadPadCache(style.Handle);
    return Output([&] { EXPECT_TRUE(Exporter->WriteViaStyleDef(style.Name, via)); });
}

std::string TStyleTest::TextDef(size_t index) {
    const translator::TStyleEntry style = Exporter->TextStyles.at(index);
    pcb::TPcbText text(style.Handle);
    text.ReadFromHost();
    return Output([&] { EXPECT_TRUE(Exporter->WriteTextStyleDef(style.Name, text)); });
}

std::vector<std::string> TStyleTest::Names(const std::vector<translator::TStyleEntry>& styles) {
    std::vector<std::string> names;
    for (const translator::TStyleEntry& style : styles) names.push_back(style.Name);
    return names;
}

std::vector<pcbapi::THandle> TStyleTest::Objects(uint8_t kind) const {
    std::vector<pcbapi::THandle> objects;
    pcb::ForEachObject(Board, kind, pcb::AllObjectsMethod, pcb::NoLayer,
                       [&](pcbapi::THandle object) { objects.push_back(object); });
    return objects;
}

std::vector<std::string> TStyleTest::EndLogLines() {
    report::EndLog();
    LogOpen = false;
    std::istringstream in(ReadFile(Dir / "board.Rep"));
    std::vector<std::string> lines;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace stylestest
