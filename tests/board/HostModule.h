// The simulated host's PCB editor module, loaded into the test process the way
// the host program loads it, with small board descriptions written by tests.
#pragma once

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "FakeHostClient.h"
#include "board/PcbApiBinding.h"
#include "host/pcb/HostPcbModule.h"

namespace boardtest {

class THostModule {
public:
    // The module at `path`, loaded once per process.
    static THostModule& Get(const char* path) {
        static THostModule module(path);
        return module;
    }

    // Opens the description as the current board; fails the test on error.
    pcbapi::THandle Open(const std::string& description) {
        static std::atomic<int> counter{0};
        const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                           ("board_tests_" + std::to_string(::getpid()) + "_" +
                                            std::to_string(counter++) + ".json");
        std::ofstream(file) << description;
        char error[1024] = {};
        const pcbapi::THandle board = OpenDocument(file.string().c_str(), error, sizeof error);
        std::filesystem::remove(file);
        EXPECT_NE(board, 0u) << error;
        return board;
    }

    // The host's readable account of the board, one line per entry.
    std::string Describe(pcbapi::THandle board) const {
        std::string text;
        DescribeBoard(
            board, [](const char* line, void* context) { *static_cast<std::string*>(context) += std::string(line) + "\n"; },
            &text);
        return text;
    }

    host::IPcbServerObjects* ServerObjects() const { return GetServerObjects(); }

private:
    explicit THostModule(const char* path) {
        Handle = ::dlopen(path, RTLD_NOW | RTLD_GLOBAL);
        if (!Handle) throw std::runtime_error(std::string("cannot load ") + path + ": " + ::dlerror());
        OpenDocument = reinterpret_cast<HostPcb_OpenDocument_t>(::dlsym(Handle, "HostPcb_OpenDocument"));
        GetServerObjects = reinterpret_cast<HostPcb_GetServerObjects_t>(::dlsym(Handle, "HostPcb_GetServerObjects"));
        DescribeBoard = reinterpret_cast<HostPcb_Describe_t>(::dlsym(Handle, "HostPcb_Describe"));
        if (!OpenDocument || !GetServerObjects || !DescribeBoard)
            throw std::runtime_error(std::string(path) + " lacks the host's own functions");
        pcb::RebindHostPcb();
    }

    void* Handle = nullptr;
    HostPcb_OpenDocument_t OpenDocument = nullptr;
    HostPcb_GetServerObjects_t GetServerObjects = nullptr;
    HostPcb_Describe_t DescribeBoard = nullptr;
};

// A test against the module: the module's object interface answers as the
// host client's PCB server while the test runs.
class THostBoardTest : public ::testing::Test {
protected:
    explicit THostBoardTest(const char* modulePath = HOST_PCB_MODULE)
        : Module(THostModule::Get(modulePath)), Client(Module.ServerObjects()) {}

    pcbapi::THandle Open(const std::string& description) { return Module.Open(description); }

    THostModule& Module;
    TClientScope Client;
};

}  // namespace boardtest
