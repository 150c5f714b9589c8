// The simulated host's PCB editor module in the test process, loaded as the
// host program loads it, opening small board descriptions written by a test.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "board/PcbApiBinding.h"
#include "host/pcb/HostPcbModule.h"

namespace prepasstest {

// Opens the description as the current board; fails the test on error.
inline pcbapi::THandle OpenBoard(const std::string& description) {
    static const auto open = [] {
        void* module = ::dlopen(HOST_PCB_MODULE, RTLD_NOW | RTLD_GLOBAL);
        if (!module) throw std::runtime_error(::dlerror());
        pcb::RebindHostPcb();
        return reinterpret_cast<HostPcb_OpenDocument_t>(::dlsym(module, "HostPcb_OpenDocument"));
    }();
    static int counter = 0;
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("prepass_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) +
                                        ".json");
    std::ofstream(file) << description;
    char error[1024] = {};
    const pcbapi::THandle board = open(file.string().c_str(), error, sizeof error);
    std::filesystem::remove(file);
    EXPECT_NE(board, 0u) << error;
    return board;
}

}  // namespace prepasstest
