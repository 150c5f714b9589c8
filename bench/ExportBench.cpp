// How the export's time grows with the board: boards of N components, each
// with a few pads, a silkscreen outline and a designator, plus N free tracks
// and vias. The time per component should stay flat as N grows.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "board/PcbApiBinding.h"
#include "host/pcb/HostPcbModule.h"
#include "shell/ExportRun.h"

namespace {

namespace fs = std::filesystem;

// The negative-coordinates dialog is never shown: the boards lie in the
// positive quadrant. Message boxes are answered without a window.
extern "C" __attribute__((visibility("default"))) int32_t DialogAPI_MessageBox(int32_t, const char*, const char*) {
    return 1;
}

std::string Board(int components, bool sameDesignator) {
    std::ostringstream json;
    json << R"({ "nets": ["GND", "VCC"], "components": [)";
    for (int i = 0; i < components; ++i) {
        const int x = 1000 + (i % 100) * 400, y = 1000 + (i / 100) * 400;
        const std::string designator = sameDesignator ? "R1" : "U" + std::to_string(i);
        json << (i ? "," : "") << R"({ "designator": ")" << designator << R"(", "pattern": "SO4", "x": )" << x
             << R"(, "y": )" << y << R"(, "primitives": [)";
        for (int p = 0; p < 4; ++p)
            json << (p ? "," : "") << R"({ "kind": "pad", "name": ")" << p + 1 << R"(", "x": )" << (p % 2) * 100
                 << R"(, "y": )" << (p / 2) * 100 << R"(, "shape": "rectangle", "size": [)" << 40 + p % 3 << R"(, 30], "net": "GND" })";
        json << R"(, { "kind": "track", "x1": -20, "y1": -20, "x2": 120, "y2": -20, "layer": "TopOverlay" } ] })";
    }
    json << R"(], "objects": [)";
    for (int i = 0; i < components; ++i)
        json << (i ? "," : "") << R"({ "kind": "track", "x1": )" << 1000 + i << R"(, "y1": 500, "x2": )" << 1100 + i
             << R"(, "y2": 600, "net": "VCC" }, { "kind": "via", "x": )" << 1000 + i << R"(, "y": 700 })";
    json << "] }";
    return json.str();
}

HostPcb_OpenDocument_t OpenDocument() {
    static HostPcb_OpenDocument_t open = [] {
        void* module = ::dlopen(HOST_PCB_MODULE, RTLD_NOW | RTLD_GLOBAL);
        if (!module) throw std::runtime_error(::dlerror());
        pcb::RebindHostPcb();
        return reinterpret_cast<HostPcb_OpenDocument_t>(::dlsym(module, "HostPcb_OpenDocument"));
    }();
    return open;
}

void Export(benchmark::State& state, bool sameDesignator) {
    const fs::path dir = fs::temp_directory_path() / ("export_bench_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path board = dir / "board.json";
    std::ofstream(board) << Board(static_cast<int>(state.range(0)), sameDesignator);
    char error[1024] = {};
    if (OpenDocument()(board.c_str(), error, sizeof error) == 0) {
        state.SkipWithError(error);
        return;
    }
    const std::string target = (dir / "board.pcb").string();
    for (auto _ : state) shell::ExportFileFromPcb(target, shell::FormatDescription);
    state.SetComplexityN(state.range(0));
    state.counters["components"] = static_cast<double>(state.range(0));
    fs::remove_all(dir);
}
void BM_Export(benchmark::State& state) { Export(state, false); }
// Every component named R1: the renaming pass makes them all unique.
void BM_ExportDuplicateDesignators(benchmark::State& state) { Export(state, true); }

BENCHMARK(BM_Export)->RangeMultiplier(4)->Range(64, 4096)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_ExportDuplicateDesignators)->RangeMultiplier(4)->Range(64, 4096)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace

BENCHMARK_MAIN();
