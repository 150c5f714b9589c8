// The simulated host's own interface to its PCB editor module, besides the
// PcbApi_ functions that the module exports to plug-ins. The host program loads
// the module and finds these functions by name; plug-ins never call them.
#pragma once

#include <cstdint>

#include "board/PcbApi.h"
#include "shell/HostClient.h"

extern "C" {

// Loads a board description (docs/board-format.md) as an open document and
// makes it the current board. Returns the board handle, or 0 with a message
// naming the file, the place in it and what is wrong written into `error`.
using HostPcb_OpenDocument_t = pcbapi::THandle(PCBAPI_CALL*)(const char* path, char* error, int32_t size);

// The document of a board: its file name and whether it is a footprint
// library. Returns 0 when the handle is no open board.
using HostPcb_GetDocumentInfo_t = int32_t(PCBAPI_CALL*)(pcbapi::THandle board, char* fileName, int32_t size,
                                                         uint8_t* isLibrary);

// Runs a PCB editor command ("PCB:FirstComponent", ...) for the current board.
using HostPcb_RunCommand_t = int32_t(PCBAPI_CALL*)(const char* command, char* parameters, int32_t size);

// The progress display: the host program draws it.
struct HostPcbProgressSink {
    void(PCBAPI_CALL* Init)(const char* caption, int32_t total);
    void(PCBAPI_CALL* Update)();
    void(PCBAPI_CALL* Finish)();
};
using HostPcb_SetProgressSink_t = void(PCBAPI_CALL*)(const HostPcbProgressSink* sink);

// Hands the host program's client to the module (for its SendCommand).
using HostPcb_SetClient_t = void(PCBAPI_CALL*)(host::IHostClient* client);

// The module's object interface (board by handle, layer stack, in-use flags).
using HostPcb_GetServerObjects_t = host::IPcbServerObjects*(PCBAPI_CALL*)();

// Writes a readable account of the board (counts per kind and layer,
// components with their primitives, nets with their pads, rules with what
// they select), one line per call of `line`.
using HostPcb_Describe_t = void(PCBAPI_CALL*)(pcbapi::THandle board, void(PCBAPI_CALL* line)(const char* text,
                                                                                              void* context),
                                              void* context);
}
