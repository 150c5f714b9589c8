// Calls the plug-in's exported functions the way a 32-bit host does: loads the
// library, finds each function by its plain name and calls it through a
// standard-calling-convention pointer, with length-prefixed arguments built by
// hand. Besides the results it checks that each function removes its own
// arguments from the stack and returns its boolean in the low byte.
//
//   stdcall-caller.exe PATH\SaveVORNPCB.dll
//
// Prints one line per check and "N passed, N failed"; exits 1 on any failure.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int passed = 0;
int failed = 0;

void Check(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    (ok ? passed : failed)++;
}

// One length byte, then the characters, no terminator.
std::vector<uint8_t> LengthPrefixed(const std::string& text) {
    std::vector<uint8_t> result(1 + text.size());
    result[0] = static_cast<uint8_t>(text.size());
    std::memcpy(result.data() + 1, text.data(), text.size());
    return result;
}

// The stack checks apply to 32-bit code only: 64-bit Windows has a single
// calling convention, in which the caller owns the argument area.
#if defined(__i386__)
struct CallOutcome {
    uint32_t Eax;
    int32_t StackChange;  // the stack pointer after the call minus before the pushes
};

// Pushes the arguments right to left, calls, and measures how far the stack
// pointer moved: 0 when the callee removed its arguments, as the standard
// calling convention requires.
CallOutcome RawCall1(void* function, uint32_t a) {
    uint32_t eax, change;
    asm volatile(
        "movl %%esp, %%esi\n\t"
        "pushl %[a]\n\t"
        "call *%[f]\n\t"
        "movl %%esp, %%ecx\n\t"
        "subl %%esi, %%ecx\n\t"
        "movl %%esi, %%esp\n\t"
        : "=a"(eax), "=c"(change)
        : [f] "b"(function), [a] "D"(a)
        : "esi", "edx", "memory", "cc");
    return {eax, static_cast<int32_t>(change)};
}

CallOutcome RawCall2(void* function, uint32_t a, uint32_t b) {
    uint32_t eax, change;
    asm volatile(
        "movl %%esp, %%esi\n\t"
        "pushl %[b]\n\t"
        "pushl %[a]\n\t"
        "call *%[f]\n\t"
        "movl %%esp, %%ecx\n\t"
        "subl %%esi, %%ecx\n\t"
        "movl %%esi, %%esp\n\t"
        : "=a"(eax), "=c"(change)
        : [f] "b"(function), [a] "D"(a), [b] "d"(b)
        : "esi", "memory", "cc");
    return {eax, static_cast<int32_t>(change)};
}

uint32_t Address(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }
#endif

using GetPcbExporterDescription_t = const char*(__stdcall*)();
using RecognisedPcbFormat_t = uint8_t(__stdcall*)(const uint8_t* description);
using ExportFileFromPcb_t = uint8_t(__stdcall*)(const uint8_t* target, const uint8_t* description);
using Orvex16Saver_t = int32_t(__stdcall*)(const char* parameters);

const std::string Description = "V-ORN ASCII File (*.PCB)";

void CheckDescription(void* function) {
    auto get = reinterpret_cast<GetPcbExporterDescription_t>(function);
    const char* first = get();
    Check(first && Description == first, "GetPcbExporterDescription gives \"" + Description + "\"");
    Check(get() == first, "GetPcbExporterDescription hands out the same static text each time");
}

void CheckRecognised(void* function) {
    const struct {
        const char* Text;
        uint8_t Expected;
    } cases[] = {
        {"V-ORN ASCII File (*.PCB)", 1},  {"v-orn ascii file (*.pcb)", 0}, {"V-ORN ASCII File (*.PCB) ", 0},
        {"V-ORN ASCII File (*.PCB", 0},   {"", 0},
    };
    auto recognised = reinterpret_cast<RecognisedPcbFormat_t>(function);
    for (const auto& c : cases) {
        const std::vector<uint8_t> argument = LengthPrefixed(c.Text);
        Check(recognised(argument.data()) == c.Expected,
              std::string("RecognisedPcbFormat(\"") + c.Text + "\") is " + (c.Expected ? "true" : "false"));
#if defined(__i386__)
        const CallOutcome raw = RawCall1(function, Address(argument.data()));
        Check(raw.StackChange == 0, "RecognisedPcbFormat removes its argument");
        Check((raw.Eax & 0xFF) == c.Expected, "RecognisedPcbFormat returns its boolean in the low byte");
#endif
    }
    // The length byte rules: characters after it do not count.
    std::vector<uint8_t> longer = LengthPrefixed(Description + "XYZ");
    longer[0] = static_cast<uint8_t>(Description.size());
    Check(recognised(longer.data()) == 1, "RecognisedPcbFormat reads only as many characters as the length byte says");
}

// A description that does not match makes the export return false at once,
// with nothing written and no dialog, so it can run without a host.
void CheckExportDeclined(void* function) {
    const std::vector<uint8_t> target = LengthPrefixed("C:\\nowhere\\board.pcb");
    const std::vector<uint8_t> description = LengthPrefixed("Other Format (*.PCB)");
    auto exportFile = reinterpret_cast<ExportFileFromPcb_t>(function);
    Check(exportFile(target.data(), description.data()) == 0, "ExportFileFromPcb with another format is false");
#if defined(__i386__)
    const CallOutcome raw = RawCall2(function, Address(target.data()), Address(description.data()));
    Check(raw.StackChange == 0, "ExportFileFromPcb removes both arguments");
    Check((raw.Eax & 0xFF) == 0, "ExportFileFromPcb returns its boolean in the low byte");
#endif
}

void CheckSaverWithoutParameters(void* function) {
    auto saver = reinterpret_cast<Orvex16Saver_t>(function);
    Check(saver(nullptr) == 0, "Orvex16Saver(null) is 0");
#if defined(__i386__)
    const CallOutcome raw = RawCall1(function, 0);
    Check(raw.StackChange == 0 && raw.Eax == 0, "Orvex16Saver removes its argument and returns 0");
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: stdcall-caller PATH-TO-DLL\n");
        return 2;
    }
    HMODULE module = ::LoadLibraryA(argv[1]);
    Check(module != nullptr, std::string("LoadLibrary ") + argv[1]);
    if (!module) {
        std::printf("%d passed, %d failed\n", passed, failed);
        return 1;
    }
    const struct {
        const char* Name;
        void (*Run)(void*);
    } exports[] = {
        {"GetPcbExporterDescription", CheckDescription},
        {"RecognisedPcbFormat", CheckRecognised},
        {"ExportFileFromPcb", CheckExportDeclined},
        {"Orvex16Saver", CheckSaverWithoutParameters},
    };
    for (const auto& e : exports) {
        void* function = reinterpret_cast<void*>(::GetProcAddress(module, e.Name));
        Check(function != nullptr, std::string("GetProcAddress ") + e.Name);
        if (function) e.Run(function);
    }
    ::FreeLibrary(module);
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
