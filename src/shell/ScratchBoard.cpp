#include "board/PcbApiBinding.h"
#include "common/Strings.h"
#include "platform/Platform.h"
#include "shell/ExportRun.h"
#include "shell/HostServices.h"
#include "shell/ModuleState.h"

namespace shell {

void PrepareScratchBoard() {
    TModuleState& state = ModuleState();
    if (state.ScratchBoardHandle != 0) DisposeScratchBoard();
    host::IHostView* view = CurrentView();
    if (!view || pcb::PcbApi_GetCurrentBoardHandle() == 0) return;
    state.SavedView = view;

    const int32_t depth = pcb::PcbApi_GetState_ProcessDepth();
    pcb::PcbApi_SetState_ProcessDepth(0);
    std::string directory = platform::TempDirectory();
    if (directory.size() > 257) directory.clear();
    state.ScratchFileName = platform::CreateUniqueTempFile(directory, "PCB");
    pcb::PcbApi_SetState_ProcessDepth(depth);

    pcbapi::TName255 name;
    name.Assign(common::ShortStr(state.ScratchFileName));
    state.ScratchBoardHandle = pcb::PcbApi_GetBoardHandleFromFileName(&name);
    // A host that opens no board for the file leaves nothing to dispose of:
    // the file goes at once, so that no run leaves it behind.
    if (state.ScratchBoardHandle == 0 && !state.ScratchFileName.empty()) {
        platform::DeleteFile(state.ScratchFileName);
        state.ScratchFileName.clear();
    }
}

void DisposeScratchBoard() {
    TModuleState& state = ModuleState();
    if (state.ScratchBoardHandle == 0) return;
    pcb::PcbApi_DestroyObject(state.ScratchBoardHandle);
    state.ScratchBoardHandle = 0;
    platform::DeleteFile(state.ScratchFileName);
    VFSDeleteFile(state.ScratchFileName);
    if (state.HostClient) state.HostClient->SetCurrentView(state.SavedView);
}

pcbapi::THandle ExportBoardHandle() {
    const pcbapi::THandle scratch = ModuleState().ScratchBoardHandle;
    return scratch != 0 ? scratch : pcb::PcbApi_GetCurrentBoardHandle();
}

}  // namespace shell
