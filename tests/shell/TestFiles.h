// Scratch directories and file helpers for the shell tests.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace testfiles {

namespace fs = std::filesystem;

// A fresh directory that also serves as the system temporary directory, so
// that a test sees every temporary file the plug-in leaves behind.
class TScratchDir {
public:
    TScratchDir() {
        Path = fs::temp_directory_path() / ("shell-test-" + std::to_string(Counter()++) + "-" +
                                            std::to_string(static_cast<long>(::getpid())));
        fs::remove_all(Path);
        fs::create_directories(Path / "tmp");
        SavedTmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
        ::setenv("TMPDIR", (Path / "tmp").c_str(), 1);
    }
    ~TScratchDir() {
        if (SavedTmp.empty())
            ::unsetenv("TMPDIR");
        else
            ::setenv("TMPDIR", SavedTmp.c_str(), 1);
        fs::remove_all(Path);
    }
    std::string operator/(const std::string& name) const { return (Path / name).string(); }
    std::vector<std::string> TempFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Path / "tmp")) names.push_back(entry.path().filename());
        return names;
    }
    fs::path Path;

private:
    static int& Counter() {
        static int counter = 0;
        return counter;
    }
    std::string SavedTmp;
};

inline std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteFile(const std::string& name, const std::string& text) {
    std::ofstream(name, std::ios::binary) << text;
}

}  // namespace testfiles
