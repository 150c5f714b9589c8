// The operating-system layer on POSIX systems.
#include <dlfcn.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>

#include "common/Strings.h"
#include "platform/Platform.h"

namespace platform {

std::string TempDirectory() {
    const char* dir = std::getenv("TMPDIR");
    std::string result = (dir && *dir) ? dir : "/tmp";
    if (result.size() > 255) return {};
    if (result.back() != '/') result += '/';
    return result;
}

std::string CreateUniqueTempFile(const std::string& directory, const std::string& prefix) {
    if (directory.empty()) return {};
    static std::mt19937 generator(std::random_device{}() ^ static_cast<unsigned>(getpid()));
    for (int attempt = 0; attempt < 1000; ++attempt) {
        char number[16];
        std::snprintf(number, sizeof number, "%X", static_cast<unsigned>(generator() & 0xFFFFu));
        std::string name = directory + prefix + number + ".tmp";
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            return name;
        }
        if (errno != EEXIST) return {};
    }
    return {};
}

bool IsPathDelimiter(char c) { return c == '/'; }

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DeleteFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool ForceDirectories(const std::string& path) {
    if (path.empty()) return false;
    std::string partial;
    for (size_t i = 0; i < path.size(); ++i) {
        partial += path[i];
        if ((path[i] == '/' || i + 1 == path.size()) && partial != "/") {
            if (!DirectoryExists(partial) && ::mkdir(partial.c_str(), 0777) != 0 && errno != EEXIST) return false;
        }
    }
    return DirectoryExists(path);
}

// Copies `source` to a new file beside `target`, flushed to disk; returns its
// name, empty on failure (nothing left behind).
static std::string CopyBeside(const std::string& source, const std::string& target) {
    const size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string("./") : target.substr(0, slash + 1);
    std::string copy = CreateUniqueTempFile(dir, "~mv");
    if (copy.empty()) return {};
    int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    int out = ::open(copy.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    bool ok = in >= 0 && out >= 0;
    char buffer[65536];
    while (ok) {
        ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        for (ssize_t done = 0; ok && done < n;) {
            ssize_t w = ::write(out, buffer + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR) continue;
            ok = w > 0;
            if (ok) done += w;
        }
    }
    if (ok) ok = ::fsync(out) == 0;
    if (in >= 0) ::close(in);
    if (out >= 0 && ::close(out) != 0) ok = false;
    if (!ok) {
        ::unlink(copy.c_str());
        return {};
    }
    return copy;
}

bool ReplaceFileWith(const std::string& source, const std::string& target) {
    if (::rename(source.c_str(), target.c_str()) == 0) return true;
    if (errno != EXDEV) return false;
    const std::string copy = CopyBeside(source, target);
    if (copy.empty()) return false;
    if (::rename(copy.c_str(), target.c_str()) != 0) {
        ::unlink(copy.c_str());
        return false;
    }
    ::unlink(source.c_str());
    return true;
}

bool SameFileName(const std::string& a, const std::string& b) { return common::SameText(a, b); }

std::string ComputerName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

std::string UserName() {
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name) return pw->pw_name;
    const char* user = std::getenv("USER");
    return user ? user : "";
}

uint32_t ProcessId() { return static_cast<uint32_t>(::getpid()); }

LocalDateTime Now() {
    std::time_t now = std::time(nullptr);
    std::tm local {};
    ::localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

// The POSIX host's short date and long time formats: ISO day and 24-hour time.
std::string ShortDateString(const LocalDateTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.Year, t.Month, t.Day);
    return text;
}

std::string LongTimeString(const LocalDateTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.Hour, t.Minute, t.Second);
    return text;
}

bool IsHostTestMode() { return std::getenv("MARNEL_TESTMODE") != nullptr; }

void WriteStdout(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void ExitProcess(int code) {
    std::fflush(nullptr);
    std::_Exit(code);
}

// A terminal process has no cursor of its own to change.
void SetCursor(Cursor) {}

void* FindLoadedModule(const char* fileName) { return ::dlopen(fileName, RTLD_NOW | RTLD_NOLOAD); }

void* MainModule() { return ::dlopen(nullptr, RTLD_NOW); }

void* FindExport(void* module, const char* name) { return module ? ::dlsym(module, name) : nullptr; }

}  // namespace platform
