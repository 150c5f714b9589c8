// The operating-system layer: everything the plug-in needs of the system,
// behind one interface, implemented for POSIX (PlatformPosix.cpp) and for
// Win32 (PlatformWin32.cpp).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// --- files -----------------------------------------------------------------

// The system temporary directory, ending in a path delimiter; empty when the
// system has none.
std::string TempDirectory();

// Creates a new, empty, uniquely named file PREFIX<hex>.tmp in the directory
// and returns its full name; empty text when none can be made.
std::string CreateUniqueTempFile(const std::string& directory, const std::string& prefix);

bool IsPathDelimiter(char c);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
bool DeleteFile(const std::string& path);

// Creates the directory with every missing parent; true when it exists after.
bool ForceDirectories(const std::string& path);

// Puts the content of `source` in place of `target` and removes `source`.
// `target` keeps its old content until the new content is complete on its file
// system: a move across file systems copies to a temporary file beside the
// target first and then replaces the target in one step. On failure `target`
// is unchanged and `source` is left where it was.
bool ReplaceFileWith(const std::string& source, const std::string& target);

// True when the two names refer to the same file name, compared without
// regard to case.
bool SameFileName(const std::string& a, const std::string& b);

// --- identity ----------------------------------------------------------------

std::string ComputerName();
std::string UserName();
uint32_t ProcessId();

// --- time --------------------------------------------------------------------

struct LocalDateTime {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};
LocalDateTime Now();

// The local date and time in the system's short date and long time formats.
std::string ShortDateString(const LocalDateTime& t);
std::string LongTimeString(const LocalDateTime& t);

// --- host environment ----------------------------------------------------------

// True while the host runs in its unattended test mode: on Windows the
// registry key \Software\Marnel\TestMode under HKEY_LOCAL_MACHINE can be
// opened; on POSIX, which has no registry, the host announces it with the
// environment variable MARNEL_TESTMODE.
bool IsHostTestMode();

// Writes the text to the process's standard output and flushes it.
void WriteStdout(const std::string& text);

[[noreturn]] void ExitProcess(int code);

enum class Cursor { Arrow, Wait };
void SetCursor(Cursor cursor);

// --- modules -----------------------------------------------------------------

// The handle of a module that is already loaded in the process, found by its
// file name without loading it; null when it is not loaded.
void* FindLoadedModule(const char* fileName);

// The main executable of the process.
void* MainModule();

// The address of an exported function; null when the module lacks it.
void* FindExport(void* module, const char* name);

}  // namespace platform
