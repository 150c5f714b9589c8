#include "Fixture.h"

namespace hostpcb::test {
namespace {

// A client that records the commands it is sent.
class RecordingClient : public host::IHostClient {
public:
    std::vector<std::string> commands;
    host::IHostView* PCBAPI_CALL GetCurrentView() override { return nullptr; }
    void PCBAPI_CALL SetCurrentView(host::IHostView*) override {}
    host::IServerModule* PCBAPI_CALL GetServerModuleByName(const char*) override { return nullptr; }
    host::IHostDocument* PCBAPI_CALL GetOpenDocumentByPath(const char*) override { return nullptr; }
    int32_t PCBAPI_CALL GetDocumentKindOfFile(const char*, char*, int32_t) override { return 0; }
    host::IHostDocument* PCBAPI_CALL OpenDocument(const char*, const char*) override { return nullptr; }
    void PCBAPI_CALL ShowDocument(host::IHostDocument*) override {}
    void PCBAPI_CALL SendCommandToServer(const char*, host::IHostView*) override {}
    void PCBAPI_CALL DispatchCommand(const char* command, char* parameters, int32_t size, host::IHostView*) override {
        commands.push_back(command);
        CopyOut("Result=True", parameters, size);
    }
    host::IMessageList* PCBAPI_CALL GetMessageList() override { return nullptr; }
    int32_t PCBAPI_CALL GetProductName(char*, int32_t) override { return 0; }
};

TEST(Commands, ClientCommandsGoToTheClient) {
    RecordingClient client;
    HostPcb_SetClient(&client);
    char parameters[64] = "Dialog=Save";
    EXPECT_EQ(PcbApi_SendCommand("Client:RunCommonDialog", parameters, sizeof parameters, 0), 0);
    EXPECT_EQ(client.commands, (std::vector<std::string>{"Client:RunCommonDialog"}));
    EXPECT_STREQ(parameters, "Result=True");
    HostPcb_SetClient(nullptr);
    EXPECT_NE(PcbApi_SendCommand("Client:RunCommonDialog", parameters, sizeof parameters, 0), 0);
}

TEST(Commands, PcbCommandsRunInTheEditor) {
    RecordingClient client;
    HostPcb_SetClient(&client);
    Open(R"json({"document": "library", "footprints": [{"name": "A"}, {"name": "B"}]})json", "lib.json");
    EXPECT_EQ(PcbApi_SendCommand("PCB:NextComponent", nullptr, 0, 0), 0);
    EXPECT_TRUE(client.commands.empty());
    EXPECT_EQ(HostPcb_RunCommand("PCB:PreviousComponent", nullptr, 0), 0);
    pcbapi::TName255 name;
    PcbApi_GetCurrentComponent(PcbApi_GetCurrentBoardHandle(), &name);
    EXPECT_EQ(name.Str(), "A");
    HostPcb_SetClient(nullptr);
}

struct Progress {
    std::vector<std::string> calls;
};
Progress* g_Progress = nullptr;  // the sink has no context argument

void PCBAPI_CALL Init(const char* caption, int32_t total) {
    g_Progress->calls.push_back(std::string("init ") + caption + " " + std::to_string(total));
}
void PCBAPI_CALL Update() { g_Progress->calls.push_back("update"); }
void PCBAPI_CALL Finish() { g_Progress->calls.push_back("finish"); }

TEST(Commands, ProgressGoesToTheSink) {
    Progress progress;
    g_Progress = &progress;
    PcbApi_Percent_Update();  // no sink yet: nothing happens
    HostPcbProgressSink sink{Init, Update, Finish};
    HostPcb_SetProgressSink(&sink);
    pcbapi::TName255 caption = Name("Analyzing Pads");
    PcbApi_Percent_Init(&caption, 3);
    PcbApi_Percent_Update();
    PcbApi_Percent_Finish();
    HostPcb_SetProgressSink(nullptr);
    PcbApi_Percent_Update();
    g_Progress = nullptr;
    EXPECT_EQ(progress.calls, (std::vector<std::string>{"init Analyzing Pads 3", "update", "finish"}));
}

TEST(Commands, ProcessDepthIsKept) {
    int32_t before = PcbApi_GetState_ProcessDepth();
    PcbApi_SetState_ProcessDepth(before + 2);
    EXPECT_EQ(PcbApi_GetState_ProcessDepth(), before + 2);
    PcbApi_SetState_ProcessDepth(before);
}

}  // namespace
}  // namespace hostpcb::test
