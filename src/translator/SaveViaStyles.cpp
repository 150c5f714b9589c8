// The via styles of the library section.
#include <algorithm>
#include <vector>

#include "board/PCBProcs.h"
#include "board/PcbApiBinding.h"
#include "report/LogReport.h"
#include "translator/LayerList.h"
#include "translator/Save.h"
#include "translator/StyleNames.h"

namespace translator {
namespace {

using namespace pcb;

uint8_t ViaStackMode(THandle via) {
    uint8_t mode = 0;
    PcbApi_QueryViaStackMode(1, via, &mode);
    return mode;
}

TCoord ViaStackSize(THandle via, TLayerId layer) {
    TCoord size = 0;
    PcbApi_QueryViaStackSizeOnLayer(1, via, HostLayerFromId(layer), &size);
    return size;
}

bool SameStackSizes(THandle a, THandle b, std::initializer_list<TLayerId> layers) {
    return std::all_of(layers.begin(), layers.end(),
                       [&](TLayerId layer) { return ViaStackSize(a, layer) == ViaStackSize(b, layer); });
}

// A search over the via styles of the via's stem and span: S1, S2, ... with
// the span's suffix.
TStyleSearch SearchViaStyle(const TOrvexExporter& exporter, const TPcbVia& via) {
    const std::string stem = ViaStyleBaseName(via);
    const std::string suffix = ViaSpanSuffix(via);
    return SearchStyles(
        exporter.ViaStyles, exporter.ViaStyleIndex, [&](int n) { return stem + std::to_string(n + 1) + suffix; },
        [&](THandle representative) {
            TPcbVia other(representative);
            other.ReadFromHost();
            return TOrvexExporter::ViasMatch(via, other);
        });
}

}  // namespace

void TOrvexExporter::AnalyzeVias() {
    ForEachObject(Board->Handle(), eViaObject, AllObjectsMethod, NoLayer, [&](THandle handle) {
        TPcbVia via(handle);
        via.ReadFromHost();
        RegisterViaStyle(via);
    });
}

void TOrvexExporter::RegisterViaStyle(const TPcbVia& via) {
    const TStyleSearch search = SearchViaStyle(*this, via);
    if (!search.Matched) AppendStyle(ViaStyles, ViaStyleIndex, search.Name, via.Handle());
}

std::string TOrvexExporter::FindViaStyle(THandle handle) const {
    TPcbVia via(handle);
    via.ReadFromHost();
    const TStyleSearch search = SearchViaStyle(*this, via);
    return search.Matched ? search.Name : "(Default)";
}

bool TOrvexExporter::ViasMatch(const TPcbVia& a, const TPcbVia& b) {
    if (a.EndLayer() != b.EndLayer() || a.StartLayer() != b.StartLayer() || a.HoleSize() != b.HoleSize()) return false;
    const uint8_t modeA = ViaStackMode(a.Handle()), modeB = ViaStackMode(b.Handle());
    if (modeA > 1 || modeB > 1) {
        for (int layer = TopLayer; layer <= BottomLayer; ++layer)
            if (ViaStackSize(a.Handle(), static_cast<TLayerId>(layer)) !=
                ViaStackSize(b.Handle(), static_cast<TLayerId>(layer)))
                return false;
        return true;
    }
    return SameStackSizes(a.Handle(), b.Handle(), {TopLayer, MidLayer1, BottomLayer});
}

bool TOrvexExporter::WriteViaStyles() {
    const THandle scratch = PcbApi_CreateObject(eViaObject);
    PcbApi_QueryObjectSetState_Default(scratch);
    {
        TPcbVia via(scratch);
        via.ReadFromHost();
        LoadPadCache(scratch);
        WriteViaStyleDef("(Default)", via);
    }
    if (scratch != 0) PcbApi_DestroyObject(scratch);

    for (const TStyleEntry& style : ViaStyles) {
        PcbApi_Percent_Update();
        TPcbVia via(style.Handle);
        via.ReadFromHost();
        LoadPadCache(style.Handle);
        WriteViaStyleDef(style.Name, via);
    }
    return NoOutputErrorPending();
}

bool TOrvexExporter::WriteViaStyleDef(const std::string& name, const TPcbVia& via) {
    report::LogLine("Adding ViaStyle " + name);
    const bool imperial = Board->DisplayUnitImperial();
    const auto v = [&](TCoord length) { return FormatLength(length, imperial); };
    const auto n = [&](TLayerId layer) { return LayerNumber(LayerList, layer); };
    const auto s = [&](TLayerId layer) { return v(via.SizeOnLayer(layer)); };
    const auto shape = [&](const std::string& clauses) { OutFile.WriteLine("    (viaShape " + clauses + ")"); };
    const TLayerId lo = std::min(via.StartLayer(), via.EndLayer());
    const TLayerId hi = std::max(via.StartLayer(), via.EndLayer());
    const bool through = IsThroughVia(via);
    const std::string empty = "(shapeWidth 0.0) (shapeHeight 0.0) ";
    const std::string thermal = std::string(ThermalTypeName(PadCache));
    const TCoord inside = via.HoleSize() + 2 * PadCache.ReliefExpansion;
    const std::string relief = "(outsideDiam " + v(inside + 2 * PadCache.AirGap) + ") (insideDiam " + v(inside) +
                               ") (spokeWidth " + v(PadCache.SpokeWidth) + ") ";
    const bool reliefConnection = PadCache.ConnectionStyle == 1;

    OutFile.WriteLine("  (viaStyleDef \"" + name + "\"");
    OutFile.WriteLine("    (holeDiam " + v(via.HoleSize()) + ")");
    OutFile.WriteLine("    (startRange " + n(lo) + ")");
    OutFile.WriteLine("    (endRange " + n(hi) + ")");
    shape("(layerNumRef " + n(TopLayer) + ") (viaShapeType Ellipse) " +
          (lo == TopLayer ? "(shapeWidth " + s(TopLayer) + ") (shapeHeight " + s(TopLayer) + ") " : empty));
    shape("(layerNumRef " + n(BottomLayer) + ") (viaShapeType Ellipse) " +
          (hi == BottomLayer ? "(shapeWidth " + s(BottomLayer) + ") (shapeHeight " + s(BottomLayer) + ") " : empty));
    shape("(layerType Signal) (viaShapeType Ellipse) " +
          (through ? "(shapeWidth " + v(via.Size()) + ") (shapeHeight " + v(via.Size()) + ") " : empty));
    shape("(layerType Plane) (viaShapeType " + thermal + ") " + (reliefConnection && through ? relief : empty));
    shape("(layerType NonSignal) (viaShapeType Ellipse) (shapeWidth " + v(via.XSizeOnLayer(TopOverlay)) +
          ") (shapeHeight " + v(via.YSizeOnLayer(TopOverlay)) + ") ");
    if (hi != BottomLayer)
        shape("(layerNumRef " + n(hi) + ") (viaShapeType Ellipse) (shapeWidth " + s(hi) + ") (shapeHeight " + s(hi) +
              ") ");
    if (lo != TopLayer)
        shape("(layerNumRef " + n(lo) + ") (viaShapeType Ellipse) (shapeWidth " + s(lo) + ")(shapeHeight " + s(lo) +
              ")");

    // The layers strictly between the two ends, walking the stack from the
    // top. They count only once the second end has been met: an end that is
    // not in the stack encloses nothing.
    std::vector<std::string> inner;
    bool insideSpan = false, spanClosed = false;
    int steps = 0;
    for (const TLayerObject* layer = Board->FirstLayerInStack(); layer && steps < LayerIdCount && !spanClosed;
         layer = Board->NextLayerInStack(layer), ++steps) {
        const TLayerId id = layer->LayerId();
        if (id == lo || id == hi) {
            spanClosed = insideSpan;
            insideSpan = true;
            continue;
        }
        if (!insideSpan || !layer->Enabled()) continue;
        const std::string ref = "(layerNumRef " + n(id) + ") (viaShapeType ";
        if (through) {
            if (IsSignalLayer(id) && via.SizeOnLayer(id) != via.Size())
                inner.push_back(ref + "Ellipse) (shapeWidth " + s(id) + ") (shapeHeight " + s(id) + ")");
        } else if (IsSignalLayer(id)) {
            inner.push_back(ref + "Ellipse) (shapeWidth " + s(id) + ")(shapeHeight " + s(id) + ")");
        } else if (IsInternalPlane(id)) {
            inner.push_back(ref + thermal + ") " + (reliefConnection ? relief : "(shapeWidth 0.0)(shapeHeight 0.0)"));
        }
    }
    if (spanClosed)
        for (const std::string& clauses : inner) shape(clauses);

    OutFile.WriteLine("  )");
    return NoOutputErrorPending();
}

}  // namespace translator
