// The functions the library exports to the host. Strings arrive
// length-prefixed (one length byte, then the characters); booleans leave as
// one byte, 1 true and 0 false.
#include <cstdint>
#include <string>

#include "board/PcbApi.h"
#include "shell/ExportRun.h"

#if defined(_WIN32)
#define ORVEX_EXPORT extern "C" __declspec(dllexport)
#else
#define ORVEX_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

std::string FromLengthPrefixed(const uint8_t* text) {
    if (!text) return {};
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

}  // namespace

ORVEX_EXPORT const char* PCBAPI_CALL GetPcbExporterDescription() { return shell::FormatDescription; }

ORVEX_EXPORT uint8_t PCBAPI_CALL RecognisedPcbFormat(const uint8_t* description) {
    return description && shell::RecognisedPcbFormat(FromLengthPrefixed(description)) ? 1 : 0;
}

ORVEX_EXPORT uint8_t PCBAPI_CALL ExportFileFromPcb(const uint8_t* targetFileName, const uint8_t* description) {
    if (!description) return 0;
    return shell::ExportFileFromPcb(FromLengthPrefixed(targetFileName), FromLengthPrefixed(description)) ? 1 : 0;
}

ORVEX_EXPORT int32_t PCBAPI_CALL Orvex16Saver(const char* parameters) { return shell::Orvex16Saver(parameters); }
