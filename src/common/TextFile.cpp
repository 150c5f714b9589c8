#include "common/TextFile.h"

namespace common {

static bool g_IOErrorPending = false;

bool IOResult() {
    const bool pending = g_IOErrorPending;
    g_IOErrorPending = false;
    return pending;
}

void SetIOError() { g_IOErrorPending = true; }

TTextFile::~TTextFile() {
    if (File) std::fclose(File);
}

void TTextFile::Rewrite(const std::string& fileName) {
    Close();
    File = fileName.empty() ? nullptr : std::fopen(fileName.c_str(), "wb");
    if (!File) SetIOError();
}

void TTextFile::WriteLine(std::string_view line) {
    if (!File) {
        SetIOError();
        return;
    }
    if (std::fwrite(line.data(), 1, line.size(), File) != line.size() || std::fwrite("\r\n", 1, 2, File) != 2)
        SetIOError();
}

void TTextFile::Flush() {
    if (File && std::fflush(File) != 0) SetIOError();
}

void TTextFile::Close() {
    if (!File) return;
    if (std::fclose(File) != 0) SetIOError();
    File = nullptr;
}

}  // namespace common
