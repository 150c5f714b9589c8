// The export run: the exported functions' work, the scratch board and the
// board handle a run works on.
#pragma once

#include <cstdint>
#include <string>

#include "board/PcbApi.h"

namespace shell {

// "V-ORN ASCII File (*.PCB)".
extern const char FormatDescription[];

// True only for exactly the format description.
bool RecognisedPcbFormat(const std::string& description);

// Runs one export of the current board into the target. Returns the result
// of RecognisedPcbFormat for the description, also when nothing was written.
bool ExportFileFromPcb(const std::string& targetFileName, const std::string& description);

// The parameter-string entry; exports for the file type "LIA" only.
int32_t Orvex16Saver(const char* parameters);

void PrepareScratchBoard();
void DisposeScratchBoard();

// The scratch board of the run when there is one, otherwise the current board.
pcbapi::THandle ExportBoardHandle();

}  // namespace shell
