// The text styles of the library section.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "board/PCBProcs.h"
#include "board/PcbApiBinding.h"
#include "common/Strings.h"
#include "report/LogReport.h"
#include "translator/Save.h"
#include "translator/StyleNames.h"

namespace translator {
namespace {

using namespace pcb;

// The TrueType style every file carries. Its numbers are fixed text, the
// same in both output units, and so is its spelling of family and face.
constexpr const char* DefaultTrueTypeStyle[] = {
    "  (textStyleDef \"(DefaultTTF)\"",
    "    (font",
    "      (fontType Stroke)",
    "      (fontFamily SanSerif)",
    "      (fontFace \"QUALITY\")",
    "      (fontHeight 100.0)",
    "      (strokeWidth 10.0)",
    "    )",
    "    (font",
    "      (fontType TrueType)",
    "      (fontFamily Modern)",
    "      (fontFace \"Arial\")",
    "      (fontHeight 125.0)",
    "      (strokeWidth 0.19843 mm)",
    "      (fontWeight 400)",
    "      (fontCharSet 0)",
    "      (fontOutPrecision 7)",
    "      (fontClipPrecision 32)",
    "      (fontQuality 1)",
    "      (fontPitchAndFamily 6)",
    "    )",
    "    (textStyleAllowTType True)",
    "    (textStyleDisplayTType True)",
    "  )",
};
// Each of its lines is filled up with spaces to this width.
constexpr size_t DefaultTrueTypeLineWidth = 34;

bool TextsMatch(const TPcbText& a, const TPcbText& b) {
    return a.Size() == b.Size() && a.Width() == b.Width() && a.FontId() == b.FontId();
}

// A search over the text styles of the text's stem: S, S1, S2, ...
TStyleSearch SearchTextStyle(const TOrvexExporter& exporter, const TPcbText& text) {
    const std::string stem = TextStyleBaseName(text);
    return SearchStyles(
        exporter.TextStyles, exporter.TextStyleIndex, [&](int n) { return n == 0 ? stem : stem + std::to_string(n); },
        [&](THandle representative) {
            TPcbText other(representative);
            other.ReadFromHost();
            return TextsMatch(text, other);
        });
}

}  // namespace

void TOrvexExporter::AnalyzeTexts() {
    ForEachObject(Board->Handle(), eTextObject, AllObjectsMethod, NoLayer, [&](THandle handle) {
        TPcbText text(handle);
        text.ReadFromHost();
        RegisterTextStyle(text);
    });
}

void TOrvexExporter::RegisterTextStyle(const TPcbText& text) {
    const TStyleSearch search = SearchTextStyle(*this, text);
    if (!search.Matched) AppendStyle(TextStyles, TextStyleIndex, search.Name, text.Handle());
}

std::string TOrvexExporter::FindTextStyle(THandle handle) const {
    TPcbText text(handle);
    text.ReadFromHost();
    const TStyleSearch search = SearchTextStyle(*this, text);
    return search.Matched ? search.Name : "(Default)";
}

bool TOrvexExporter::WriteTextStyles() {
    const THandle scratch = PcbApi_CreateObject(eTextObject);
    PcbApi_QueryObjectSetState_Default(scratch);
    {
        TPcbText text(scratch);
        text.ReadFromHost();
        WriteTextStyleDef("(Default)", text);
    }
    if (scratch != 0) PcbApi_DestroyObject(scratch);

    for (const char* line : DefaultTrueTypeStyle) {
        std::string padded = line;
        padded.resize(std::max(padded.size(), DefaultTrueTypeLineWidth), ' ');
        OutFile.WriteLine(padded);
    }

    for (const TStyleEntry& style : TextStyles) {
        PcbApi_Percent_Update();
        TPcbText text(style.Handle);
        text.ReadFromHost();
        WriteTextStyleDef(style.Name, text);
    }
    return NoOutputErrorPending();
}

bool TOrvexExporter::WriteTextStyleDef(const std::string& name, const TPcbText& text) {
    report::LogLine("Adding TextStyle " + name);
    const bool imperial = Board->DisplayUnitImperial();
    // The style's height is that of the font's cell, of which the host's
    // character height is three quarters.
    const double cellHeight = std::nearbyint(text.Size() / 0.75);
    const auto fontHeight = static_cast<TCoord>(std::min(cellHeight, double{std::numeric_limits<TCoord>::max()}));
    OutFile.WriteLine("  (textStyleDef \"" + common::EscapeText(name) + "\"");
    OutFile.WriteLine("    (font");
    OutFile.WriteLine("      (fontType Stroke)");
    OutFile.WriteLine("      (fontFamily " + std::string(FontFamilyName(text.FontId())) + ")");
    OutFile.WriteLine("      (fontFace \"Quality\")");
    OutFile.WriteLine("      (fontHeight " + FormatLength(fontHeight, imperial) + ") ");
    OutFile.WriteLine("      (strokeWidth " + FormatLength(text.Width(), imperial) + ") ");
    OutFile.WriteLine("    )");
    OutFile.WriteLine("    (textStyleAllowTType False)");
    OutFile.WriteLine("    (textStyleDisplayTType False)");
    OutFile.WriteLine("  )");
    return NoOutputErrorPending();
}

}  // namespace translator
