// What the plug-in needs of the host's client and of the functions the host
// executable exports. A function the host executable does not export does
// nothing, and its text result is empty; without a client nothing happens.
#pragma once

#include <string>

#include "shell/HostClient.h"

namespace shell {

// The file name with its extension replaced ("Rep" gives board.Rep).
std::string ForceFileNameExtension(const std::string& fileName, const std::string& extension);
// The name that a text file bound to `fileName` by the host's file system is
// opened under; empty when the host does not bind files.
std::string VFSAssign(const std::string& fileName);
std::string VFSExtractFileName(const std::string& fileName);
void VFSDeleteFile(const std::string& fileName);

// Text results of the client's interfaces.
std::string DocumentKind(host::IHostDocument* document);
std::string DocumentServerName(host::IHostDocument* document);
std::string ProductName();

// The client's current view; none without a client.
host::IHostView* CurrentView();

}  // namespace shell
