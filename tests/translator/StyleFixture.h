// An exporter on a small board of the simulated host, with its output file,
// its report and the host's progress display captured by the test.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "report/LogReport.h"
#include "tests/board/HostModule.h"
#include "translator/Save.h"

namespace stylestest {

// Lines joined with the output's line ends.
inline std::string Text(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// The three worked examples: a 60 mil through-hole pad with a 35 mil hole and
// a four-spoke relief, a 28 mil via with a 12 mil hole and no plane
// connection, and a 60 mil text with a 10 mil stroke.
inline const std::string WorkedPadStyle =
    Text({
        "  (padStyleDef \"P:EX60Y60D351\"",
        "    (holeDiam 35mil)",
        "    (startRange 1)",
        "    (endRange 2)",
        "    (padShape (layerNumRef 1) (padShapeType Ellipse) (shapeWidth 60mil) (shapeHeight 60mil) )",
        "    (padShape (layerNumRef 2) (padShapeType Ellipse) (shapeWidth 60mil) (shapeHeight 60mil) )",
        "    (padShape (layerType Signal) (padShapeType Ellipse) (shapeWidth 60mil) (shapeHeight 60mil) )",
        "    (padShape (layerType Plane) (padShapeType Thrm4_45) (outsideDiam 75mil) (insideDiam 55mil) "
        "(spokeWidth 10mil) )",
        "    (padShape (layerType NonSignal) (padShapeType Ellipse) (shapeWidth 60mil) (shapeHeight 60mil) )",
        "  )",
    });
inline const std::string WorkedViaStyle =
    Text({
        "  (viaStyleDef \"V:EX28Y28D121\"",
        "    (holeDiam 12mil)",
        "    (startRange 1)",
        "    (endRange 2)",
        "    (viaShape (layerNumRef 1) (viaShapeType Ellipse) (shapeWidth 28mil) (shapeHeight 28mil) )",
        "    (viaShape (layerNumRef 2) (viaShapeType Ellipse) (shapeWidth 28mil) (shapeHeight 28mil) )",
        "    (viaShape (layerType Signal) (viaShapeType Ellipse) (shapeWidth 28mil) (shapeHeight 28mil) )",
        "    (viaShape (layerType Plane) (viaShapeType NoConnect) (shapeWidth 0.0) (shapeHeight 0.0) )",
        "    (viaShape (layerType NonSignal) (viaShapeType Ellipse) (shapeWidth 0mil) (shapeHeight 0mil) )",
        "  )",
    });
inline const std::string WorkedTextStyle =
    Text({
        "  (textStyleDef \"T:H60W10\"",
        "    (font",
        "      (fontType Stroke)",
        "      (fontFamily Modern)",
        "      (fontFace \"Quality\")",
        "      (fontHeight 80mil) ",
        "      (strokeWidth 10mil) ",
        "    )",
        "    (textStyleAllowTType False)",
        "    (textStyleDisplayTType False)",
        "  )",
    });

inline std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// What the host's progress display was asked to show, one entry per call:
// "Init <caption> <total>", "Update", "Finish".
std::vector<std::string>& ProgressCalls();

class TStyleTest : public boardtest::THostBoardTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the description and creates the exporter on it.
    void OpenBoard(const std::string& description);
    // Opens the description and runs the style analysis.
    void Analyze(const std::string& description);

    // What `write` puts into the output file.
    std::string Output(const std::function<void()>& write);
    // The definition of one style, written as the library section writes it.
    std::string PadDef(size_t index);
    std::string ViaDef(size_t index);
    std::string TextDef(size_t index);

    static std::vector<std::string> Names(const std::vector<translator::TStyleEntry>& styles);
    // The handles of the objects of a kind on the board, in host order.
    std::vector<pcbapi::THandle> Objects(uint8_t kind) const;

    // Ends the report and gives its lines after the header line.
    std::vector<std::string> EndLogLines();

    pcbapi::THandle Board = 0;
    std::unique_ptr<translator::TOrvexExporter> Exporter;
    std::filesystem::path Dir;

private:
    bool LogOpen = false;
};

}  // namespace stylestest
