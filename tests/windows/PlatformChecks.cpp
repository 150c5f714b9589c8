// Checks the Win32 operating-system layer where it differs from POSIX: the
// system's temporary names, Windows path forms, replacing a file, the user
// locale's date and time, the test-mode registry key.
//
//   platform-checks.exe DIRECTORY     (an empty work directory)
//   platform-checks.exe DIRECTORY OTHER-DIRECTORY
//                                     (also replaces across volumes: the second
//                                     directory lies on another file system)
//   platform-checks.exe DIRECTORY testmode | no-testmode
//                                     (expects the registry key present or absent)
//
// Prints one line per check and "N passed, N failed"; exits 1 on any failure.
#include <windows.h>

#undef DeleteFile

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/Platform.h"

namespace {

int passed = 0;
int failed = 0;

void Check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    (ok ? passed : failed)++;
}

void Write(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string FileName(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

void TemporaryFiles(const std::string& dir) {
    const std::string temp = platform::TempDirectory();
    Check(!temp.empty() && temp.size() <= 255 && temp.back() == '\\' && platform::DirectoryExists(temp),
          "TempDirectory is an existing directory ending in a backslash: " + temp);
    const std::string a = platform::CreateUniqueTempFile(dir, "Ovx");
    const std::string b = platform::CreateUniqueTempFile(dir, "Ovx");
    Check(!a.empty() && a != b && platform::FileExists(a) && platform::FileExists(b) && Read(a).empty(),
          "CreateUniqueTempFile makes new, empty, distinct files");
    const std::string name = FileName(a);
    Check(name.rfind("Ovx", 0) == 0 && name.size() > 7 && name.substr(name.size() - 4) == ".tmp",
          "a temporary name is the prefix, a number and .tmp: " + name);
    Check(platform::CreateUniqueTempFile(dir + "\\missing\\", "Ovx").empty(),
          "CreateUniqueTempFile in a missing directory gives empty text");
    Check(platform::DeleteFile(a) && !platform::FileExists(a), "DeleteFile removes a file");
    Check(!platform::DeleteFile(a), "DeleteFile of a missing file is false");
    platform::DeleteFile(b);
}

void Directories(const std::string& dir) {
    const struct {
        std::string Path;
        const char* What;
    } cases[] = {
        {dir + "\\a\\b\\c", "nested, backslashes"},
        {dir + "/d/e/f", "nested, slashes"},
        {dir + "\\g\\h\\", "with a trailing backslash"},
        {dir + "\\a\\b\\c", "already there"},
    };
    for (const auto& c : cases)
        Check(platform::ForceDirectories(c.Path) && platform::DirectoryExists(c.Path),
              std::string("ForceDirectories ") + c.What);
    Check(platform::ForceDirectories("C:\\"), "ForceDirectories of a drive root that exists");
    Write(dir + "\\plain", "x");
    Check(!platform::ForceDirectories(dir + "\\plain\\sub"), "ForceDirectories under a file is false");
    Check(!platform::DirectoryExists(dir + "\\plain") && platform::FileExists(dir + "\\plain"),
          "a file is no directory, a directory no file");
    Check(!platform::ForceDirectories(""), "ForceDirectories of empty text is false");
    Check(platform::IsPathDelimiter('\\') && platform::IsPathDelimiter('/') && !platform::IsPathDelimiter(':'),
          "both separators are path delimiters, the drive colon is not");
}

void Replacing(const std::string& dir) {
    const std::string source = dir + "\\new.tmp", target = dir + "\\board.pcb";
    Write(target, "old");
    Write(source, "new content\r\n");
    Check(platform::ReplaceFileWith(source, target) && Read(target) == "new content\r\n" &&
              !platform::FileExists(source),
          "ReplaceFileWith replaces an existing target and removes the source");
    Write(source, "fresh");
    Check(platform::ReplaceFileWith(source, dir + "\\fresh.pcb") && Read(dir + "\\fresh.pcb") == "fresh",
          "ReplaceFileWith onto a new name");
    Check(!platform::ReplaceFileWith(dir + "\\missing.tmp", target) && Read(target) == "new content\r\n",
          "ReplaceFileWith from a missing source is false and keeps the target");

    // A target that another program holds open without sharing cannot be
    // replaced: the target keeps its content and the source stays.
    Write(source, "blocked");
    HANDLE held = ::CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const bool replaced = platform::ReplaceFileWith(source, target);
    ::CloseHandle(held);
    Check(held != INVALID_HANDLE_VALUE && !replaced && Read(target) == "new content\r\n" &&
              Read(source) == "blocked",
          "ReplaceFileWith onto a held target is false and loses nothing");
    Check(platform::SameFileName(dir + "\\Board.PCB", dir + "\\board.pcb"), "file names compare without case");
}

// Across volumes the content is copied beside the target first, so the
// target is replaced in one step and keeps its old content until then.
void ReplacingAcrossVolumes(const std::string& dir, const std::string& otherVolume) {
    const std::string source = otherVolume + "\\across.tmp", target = dir + "\\across.pcb";
    Write(target, "old");
    std::string content(200000, 'x');
    Write(source, content);
    const bool moved = ::MoveFileExA(source.c_str(), (dir + "\\probe").c_str(), MOVEFILE_REPLACE_EXISTING);
    Check(!moved && ::GetLastError() == ERROR_NOT_SAME_DEVICE, "the two directories are on different volumes");
    Check(platform::ReplaceFileWith(source, target) && Read(target) == content && !platform::FileExists(source),
          "ReplaceFileWith across volumes replaces the target and removes the source");
    WIN32_FIND_DATAA found {};
    HANDLE search = ::FindFirstFileA((dir + "\\~mv*.tmp").c_str(), &found);
    Check(search == INVALID_HANDLE_VALUE, "ReplaceFileWith across volumes leaves no copy behind");
    if (search != INVALID_HANDLE_VALUE) ::FindClose(search);
}

void Identity() {
    const std::string computer = platform::ComputerName(), user = platform::UserName();
    Check(!computer.empty(), "ComputerName: " + computer);
    Check(!user.empty(), "UserName: " + user);
    Check(platform::ProcessId() == ::GetCurrentProcessId(), "ProcessId is this process's id");
}

void DateAndTime() {
    const platform::LocalDateTime now = platform::Now();
    SYSTEMTIME local {};
    ::GetLocalTime(&local);
    Check(now.Year == local.wYear && now.Month == local.wMonth && now.Day == local.wDay, "Now is today");
    const platform::LocalDateTime day {2010, 2, 9, 8, 5, 3};
    SYSTEMTIME st {};
    st.wYear = 2010, st.wMonth = 2, st.wDay = 9, st.wHour = 8, st.wMinute = 5, st.wSecond = 3;
    char date[128] = {}, time[128] = {};
    ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, sizeof date);
    ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, sizeof time);
    Check(platform::ShortDateString(day) == date && !std::string(date).empty(),
          "ShortDateString is the user's short date: " + platform::ShortDateString(day));
    Check(platform::LongTimeString(day) == time && !std::string(time).empty(),
          "LongTimeString is the user's time format: " + platform::LongTimeString(day));
    Check(platform::ShortDateString({2010, 13, 40, 0, 0, 0}).empty(), "an impossible date gives empty text");
}

void Modules() {
    Check(platform::MainModule() == ::GetModuleHandleA(nullptr), "MainModule is the executable");
    Check(platform::FindLoadedModule("kernel32.dll") != nullptr, "FindLoadedModule finds a loaded module");
    Check(platform::FindLoadedModule("SaveVORNPCB.dll") == nullptr, "FindLoadedModule never loads a module");
    Check(platform::FindExport(platform::FindLoadedModule("kernel32.dll"), "GetTickCount") != nullptr,
          "FindExport finds an export");
    Check(platform::FindExport(platform::MainModule(), "NoSuchFunction") == nullptr &&
              platform::FindExport(nullptr, "GetTickCount") == nullptr,
          "FindExport of a missing export or module is null");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: platform-checks DIRECTORY [testmode|no-testmode]\n");
        return 2;
    }
    const bool modeArgument = argc == 3 && (std::string(argv[2]) == "testmode" || std::string(argv[2]) == "no-testmode");
    if (modeArgument) {
        const bool expected = std::string(argv[2]) == "testmode";
        Check(platform::IsHostTestMode() == expected,
              std::string("IsHostTestMode with the registry key ") + (expected ? "present" : "absent"));
    } else {
        const std::string dir = argv[1];
        TemporaryFiles(dir);
        Directories(dir);
        Replacing(dir);
        if (argc == 3) ReplacingAcrossVolumes(dir, argv[2]);
        Identity();
        DateAndTime();
        Modules();
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
