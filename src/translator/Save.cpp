#include "translator/Save.h"

#include <cstdio>

#include "board/PcbApiBinding.h"
#include "common/Strings.h"
#include "platform/Platform.h"
#include "report/LogReport.h"
#include "report/NegativeCoords.h"
#include "shell/ExportRun.h"
#include "shell/FileHelpers.h"

namespace translator {

// The copyright record is the program maker's own fixed text.
static const char* const CopyrightText = "Copyright (c) 2026 The Orvex exporter developers";

void PercentInit(const std::string& caption, int32_t total) {
    pcbapi::TName255 text;
    text.Assign(common::ShortStr(caption));
    pcb::PcbApi_Percent_Init(&text, total);
}

TOrvexExporter::TOrvexExporter() : Board(std::make_unique<pcb::TPcbBoard>(shell::ExportBoardHandle())) {
    Board->ReadWrite(1);
}

// Kinds that components own as primitives; their count includes what the
// components hold.
static bool CountsComponentPrimitives(uint8_t kind) {
    switch (kind) {
        case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 11: case 12: case 21:
            return true;
        default:
            return false;
    }
}

int32_t TOrvexExporter::CountObjects(uint8_t kind) const {
    int32_t count = 0;
    pcb::ForEachObject(Board->Handle(), kind, pcb::FreeObjectsMethod, 0, [&](pcbapi::THandle) { ++count; });
    if (!CountsComponentPrimitives(kind)) return count;
    pcb::ForEachObject(Board->Handle(), pcb::eComponentObject, pcb::AllObjectsMethod, 0, [&](pcbapi::THandle component) {
        pcb::ForEachObject(component, kind, pcb::AllObjectsMethod, 0, [&](pcbapi::THandle) { ++count; });
    });
    return count;
}

bool TOrvexExporter::ExportBoard(const std::string& targetFileName) {
    TargetFileName = common::ShortStr(targetFileName);
    const std::string tempFileName = shell::MakeTempFileName();
    OutFile.Rewrite(tempFileName);
    report::BeginLog(TargetFileName);
    OutFile.WriteLine("ORVEX_ASCII \"" + TargetFileName + "\"");
    OutFile.WriteLine("");

    AnalyzePrimitives();
    if (NegativeCoordsMode == report::ncShift) ShiftPrimitives();
    RenameComponents();
    if (!Board->IsLibrary()) {
        MoveComponentsToTop();
        AnalyzeStyles();
    }

    InDesignSection = false;
    // Each section writer takes the pending output error with it; the run
    // keeps what they found, so that no failed write goes unreported.
    bool sectionsWritten = WriteHeader();
    sectionsWritten = WriteLibrarySection() && sectionsWritten;
    if (!Board->IsLibrary()) {
        ReturnComponents();
        InDesignSection = true;
    }
    if (NegativeCoordsMode == report::ncShift) {
        ShiftX = -ShiftX;
        ShiftY = -ShiftY;
        ShiftPrimitives();
    }

    OutFile.Close();
    shell::MoveTempToTarget(tempFileName, TargetFileName);
    report::EndLog();
    if (common::IOResult() || !sectionsWritten)
        shell::ShowErrorBox("File Error - Failed to Export " + TargetFileName);
    return true;
}

std::string TimeStampRecord(const platform::LocalDateTime& t) {
    char record[96];
    std::snprintf(record, sizeof record, "  (timeStamp %d %d %d %d %d %d)", t.Year, t.Month, t.Day, t.Hour, t.Minute,
                  t.Second);
    return record;
}

bool TOrvexExporter::WriteHeader() {
    OutFile.WriteLine("(asciiHeader");
    OutFile.WriteLine("  (asciiVersion 3 0)");
    OutFile.WriteLine(TimeStampRecord(platform::Now()));
    OutFile.WriteLine("  (program \"Halvard\" \"6.1.0\")");
    OutFile.WriteLine(std::string("  (copyright \"") + CopyrightText + "\")");
    OutFile.WriteLine("  (headerString \"\")");
    OutFile.WriteLine("  (fileUnits Mil)");
    OutFile.WriteLine("  (guidString \"{00000000-0000-0000-0000-000000000000}\")");
    OutFile.WriteLine(")");
    OutFile.WriteLine("");
    return !common::IOResult();
}

bool TOrvexExporter::WriteLibrarySection() {
    OutFile.WriteLine("(library \"Library_1\"");
    const auto total = static_cast<int32_t>(PadStyles.size() + ViaStyles.size() + TextStyles.size());
    PercentInit("Saving " + TargetFileName + " (Orvex ASCII) - Library", total);
    WritePadStyles();
    WriteViaStyles();
    WriteTextStyles();
    OutFile.WriteLine(")");
    pcb::PcbApi_Percent_Finish();
    return !common::IOResult();
}

}  // namespace translator
