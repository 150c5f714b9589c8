// The operating-system layer on Win32.
#include <windows.h>
#include <lmcons.h>

// windows.h maps these names onto its A/W variants; the platform layer uses
// them for its own functions.
#undef DeleteFile

#include <cstdio>

#include "common/Strings.h"
#include "platform/Platform.h"

namespace platform {

std::string TempDirectory() {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathA(sizeof buffer, buffer);
    if (length == 0 || length > 255) return {};
    std::string result(buffer, length);
    if (!IsPathDelimiter(result.back())) result += '\\';
    return result;
}

// The system names the file from the first three characters of the prefix,
// a hexadecimal number and .tmp, and creates it empty.
std::string CreateUniqueTempFile(const std::string& directory, const std::string& prefix) {
    if (directory.empty()) return {};
    char name[MAX_PATH + 1] = {};
    if (::GetTempFileNameA(directory.c_str(), prefix.c_str(), 0, name) == 0) return {};
    return name;
}

// Win32 accepts both separators in every file name.
bool IsPathDelimiter(char c) { return c == '\\' || c == '/'; }

static DWORD Attributes(const std::string& path) {
    return path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(path.c_str());
}

bool FileExists(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool DeleteFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

// True for "C:" and "C:\", whose existence the creation cannot change.
static bool IsDriveRoot(const std::string& path) {
    return (path.size() == 2 || (path.size() == 3 && IsPathDelimiter(path[2]))) && path[1] == ':';
}

bool ForceDirectories(const std::string& path) {
    std::string dir = path;
    while (dir.size() > 1 && IsPathDelimiter(dir.back()) && !IsDriveRoot(dir)) dir.pop_back();
    if (dir.empty()) return false;
    if (DirectoryExists(dir)) return true;
    if (IsDriveRoot(dir)) return DirectoryExists(dir.substr(0, 2) + '\\');
    const size_t cut = dir.find_last_of("\\/");
    if (cut != std::string::npos && cut > 0 && !ForceDirectories(dir.substr(0, cut + 1))) return false;
    if (!::CreateDirectoryA(dir.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    return DirectoryExists(dir);
}

// Copies `source` to a new file beside `target`, written through to disk;
// returns its name, empty on failure (nothing left behind).
static std::string CopyBeside(const std::string& source, const std::string& target) {
    const size_t cut = target.find_last_of("\\/");
    const std::string dir = cut == std::string::npos ? std::string(".\\") : target.substr(0, cut + 1);
    const std::string copy = CreateUniqueTempFile(dir, "~mv");
    if (copy.empty()) return {};
    HANDLE in = ::CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE out = ::CreateFileA(copy.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
    bool ok = in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE;
    char buffer[65536];
    while (ok) {
        DWORD read = 0;
        ok = ::ReadFile(in, buffer, sizeof buffer, &read, nullptr) != 0;
        if (!ok || read == 0) break;
        DWORD written = 0;
        ok = ::WriteFile(out, buffer, read, &written, nullptr) != 0 && written == read;
    }
    if (ok) ok = ::FlushFileBuffers(out) != 0;
    if (in != INVALID_HANDLE_VALUE) ::CloseHandle(in);
    if (out != INVALID_HANDLE_VALUE && !::CloseHandle(out)) ok = false;
    if (!ok) {
        ::DeleteFileA(copy.c_str());
        return {};
    }
    return copy;
}

bool ReplaceFileWith(const std::string& source, const std::string& target) {
    if (::MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    if (::GetLastError() != ERROR_NOT_SAME_DEVICE) return false;
    const std::string copy = CopyBeside(source, target);
    if (copy.empty()) return false;
    if (!::MoveFileExA(copy.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileA(copy.c_str());
        return false;
    }
    ::DeleteFileA(source.c_str());
    return true;
}

bool SameFileName(const std::string& a, const std::string& b) { return common::SameText(a, b); }

std::string ComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    if (!::GetComputerNameA(name, &size)) return {};
    return std::string(name, size);
}

std::string UserName() {
    char name[UNLEN + 1] = {};
    DWORD size = sizeof name;
    if (!::GetUserNameA(name, &size)) return {};
    return name;
}

uint32_t ProcessId() { return ::GetCurrentProcessId(); }

LocalDateTime Now() {
    SYSTEMTIME local {};
    ::GetLocalTime(&local);
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

static SYSTEMTIME ToSystemTime(const LocalDateTime& t) {
    SYSTEMTIME result {};
    result.wYear = static_cast<WORD>(t.Year);
    result.wMonth = static_cast<WORD>(t.Month);
    result.wDay = static_cast<WORD>(t.Day);
    result.wHour = static_cast<WORD>(t.Hour);
    result.wMinute = static_cast<WORD>(t.Minute);
    result.wSecond = static_cast<WORD>(t.Second);
    return result;
}

// Both formats are the user's locale settings; an invalid date or time gives
// empty text.
std::string ShortDateString(const LocalDateTime& t) {
    const SYSTEMTIME time = ToSystemTime(t);
    char text[128] = {};
    if (::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, sizeof text) == 0) return {};
    return text;
}

std::string LongTimeString(const LocalDateTime& t) {
    const SYSTEMTIME time = ToSystemTime(t);
    char text[128] = {};
    if (::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, text, sizeof text) == 0) return {};
    return text;
}

// The key's leading backslash names it from the root of HKEY_LOCAL_MACHINE;
// the registry functions take subkeys without it.
bool IsHostTestMode() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Marnel\\TestMode", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

void WriteStdout(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void ExitProcess(int code) {
    std::fflush(nullptr);
    ::ExitProcess(static_cast<UINT>(code));
}

void SetCursor(Cursor cursor) {
    ::SetCursor(::LoadCursorA(nullptr, cursor == Cursor::Wait ? IDC_WAIT : IDC_ARROW));
}

void* FindLoadedModule(const char* fileName) { return ::GetModuleHandleA(fileName); }

void* MainModule() { return ::GetModuleHandleA(nullptr); }

void* FindExport(void* module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), name));
}

}  // namespace platform
