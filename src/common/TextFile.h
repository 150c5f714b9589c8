// Line-oriented 8-bit text output files with CR LF line ends.
//
// Lines are written without checking each write. All text files of the
// library share one pending I/O error: a failing open, write or close sets it,
// and reading it with IOResult clears it.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace common {

class TTextFile {
public:
    TTextFile() = default;
    TTextFile(const TTextFile&) = delete;
    TTextFile& operator=(const TTextFile&) = delete;
    ~TTextFile();

    // Creates or truncates the file and opens it for writing.
    void Rewrite(const std::string& fileName);
    bool IsOpen() const { return File != nullptr; }
    void WriteLine(std::string_view line);
    void Flush();
    void Close();

private:
    std::FILE* File = nullptr;
};

// The pending I/O error, cleared by reading it: true when one was pending.
bool IOResult();
// Sets the pending I/O error.
void SetIOError();

}  // namespace common
