// The passes that prepare the board in the host before the sections are
// written: negative coordinates, unique designators, components on the top
// layer while their footprints are analysed, and the undoing of the shift and
// the move afterwards.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <memory>
#include <map>
#include <set>

#include "board/Pcbclass.h"
#include "common/Strings.h"
#include "report/NegativeCoords.h"
#include "translator/Save.h"

namespace translator {

using pcbapi::TCoord;
using pcbapi::THandle;

namespace {

// The kinds whose coordinates the negative-coordinate test examines.
bool IsExaminedKind(uint8_t kind) {
    switch (kind) {
        case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 9: case 10: case 11: case 12: case 13: case 14:
        case 21:
            return true;
        default:
            return false;
    }
}

std::unique_ptr<pcb::TPcbDimension> WrapDimension(THandle handle) {
    pcb::TPcbDimension plain(handle);
    plain.ReadFromHost();
    switch (plain.DimensionType()) {
        case pcb::LinearDimension: return std::make_unique<pcb::TPCBLinearDimension>(handle);
        case pcb::AngularDimension: return std::make_unique<pcb::TPCBAngularDimension>(handle);
        case pcb::RadialDimension: return std::make_unique<pcb::TPCBRadialDimension>(handle);
        case pcb::LeaderDimension: return std::make_unique<pcb::TPCBLeaderDimension>(handle);
        case pcb::DatumDimension: return std::make_unique<pcb::TPCBDatumDimension>(handle);
        case pcb::BaselineDimension: return std::make_unique<pcb::TPCBBaselineDimension>(handle);
        case pcb::CenterDimension: return std::make_unique<pcb::TPCBCenterDimension>(handle);
        case pcb::OriginalDimension: return std::make_unique<pcb::TPCBOriginalDimension>(handle);
        case pcb::LinearDiameterDimension: return std::make_unique<pcb::TPCBLinearDiameterDimension>(handle);
        case pcb::RadialDiameterDimension: return std::make_unique<pcb::TPCBRadialDiameterDimension>(handle);
        default: return nullptr;
    }
}

// The wrapper through which the shift moves an object; none for the kinds it
// leaves where they are.
std::unique_ptr<pcb::TPCBObject> WrapObject(THandle handle) {
    switch (pcb::ObjectKindOf(handle)) {
        case pcb::eArcObject: return std::make_unique<pcb::TPcbArc>(handle);
        case pcb::ePadObject: return std::make_unique<pcb::TPcbPad>(handle);
        case pcb::eViaObject: return std::make_unique<pcb::TPcbVia>(handle);
        case pcb::eTrackObject: return std::make_unique<pcb::TPcbTrack>(handle);
        case pcb::eTextObject: return std::make_unique<pcb::TPcbText>(handle);
        case pcb::eFillObject: return std::make_unique<pcb::TPcbFill>(handle);
        case pcb::eFromToObject: return std::make_unique<pcb::TPcbFromTo>(handle);
        case pcb::eNetObject: return std::make_unique<pcb::TPcbNet>(handle);
        case pcb::eComponentObject: return std::make_unique<pcb::TPcbComponent>(handle);
        case pcb::ePolyObject: return std::make_unique<pcb::TPcbPolygon>(handle);
        case pcb::eRegionObject: return std::make_unique<pcb::TPCBRegion>(handle);
        case pcb::eDimensionObject: return WrapDimension(handle);
        case pcb::eCoordinateObject: return std::make_unique<pcb::TPcbCoordinate>(handle);
        case pcb::eClassObject: return std::make_unique<pcb::TPCBObjectClass>(handle);
        case pcb::eRuleObject: return std::make_unique<pcb::TPcbRule>(handle);
        case pcb::eManualFromToObject: return std::make_unique<pcb::TPcbManualFromTo>(handle);
        case pcb::eSplitPlaneObject: return std::make_unique<pcb::TPcbSplitPlane>(handle);
        case pcb::eBoardOutlineObject: return std::make_unique<pcb::TPcbBoardOutline>(handle);
        default: return nullptr;
    }
}

// Rounded to the nearest integer, halves to even.
TCoord RoundEven(double value) { return static_cast<TCoord>(std::nearbyint(value)); }

void ProgressFinish() { pcb::PcbApi_Percent_Finish(); }

}  // namespace

double DirectionAngle(double x1, double y1, double x2, double y2) {
    const double dx = x1 - x2;
    const double dy = y1 - y2;
    if (dx == 0) return dy > 0 ? 90 : 270;
    const double e = std::fabs(std::atan(dy / dx)) * 180 / std::numbers::pi;
    if (dx < 0) return dy >= 0 ? 180 - e : 180 + e;
    return dy >= 0 ? e : 360 - e;
}

bool FindDimensionParts(const pcb::TPcbDimension& dimension, pcb::TPcbText& text, pcb::TPcbTrack (&tracks)[4]) {
    int taken = 0;
    for (const uint8_t kind : {pcb::eTextObject, pcb::eTrackObject}) {
        pcb::TPcbIterator iterator(dimension.Handle(), kind, pcb::AllObjectsMethod, dimension.Layer());
        for (THandle h = iterator.First(); h != 0; h = iterator.Next()) {
            pcb::TPCBObject& part = taken == 0 ? static_cast<pcb::TPCBObject&>(text) : tracks[taken - 1];
            part.SetHandle(h);
            part.ReadFromHost();
            if (++taken == 5) return true;
        }
    }
    return false;
}

bool TOrvexExporter::NegativeCoordsFilter(THandle handle) {
    TCoord minX = 0, minY = 0;
    return NegativeCoordsFilter(handle, minX, minY);
}

bool TOrvexExporter::NegativeCoordsFilter(THandle handle, TCoord& minX, TCoord& minY) {
    if (NegativeCoordsMode != report::ncSkip && !AnalysingPrimitives) return true;
    minX = 0;
    minY = 0;
    pcb::TPCBObject object(handle);
    object.ReadFromHost();
    const uint8_t kind = pcb::ObjectKindOf(handle);
    if (!IsExaminedKind(kind)) return true;

    const pcbapi::TRect rect = object.GetBoundingRectangle();
    minX = std::min(minX, rect.Left);
    minY = std::min(minY, rect.Bottom);
    if (kind == pcb::eTextObject) {
        pcb::TPcbText text(handle);
        text.ReadFromHost();
        minX = std::min(minX, rect.Left - text.Width());
        minY = std::min(minY, rect.Bottom - text.Width());
    } else if (kind == pcb::eDimensionObject) {
        pcb::TPcbDimension dimension(handle);
        dimension.ReadFromHost();
        if (dimension.DimensionType() == pcb::RadialDimension) {
            const THandle arcHandle = dimension.ReferenceCount() > 0 ? dimension.Reference(0).Object : 0;
            if (arcHandle == 0) return false;
            pcb::TPcbText text;
            pcb::TPcbTrack tracks[4];
            if (FindDimensionParts(dimension, text, tracks)) {
                pcb::TPcbArc arc(arcHandle);
                arc.ReadFromHost();
                const pcb::TPcbTrack& t3 = tracks[2];
                const double theta = DirectionAngle(t3.X(), t3.Y(), t3.X2(), t3.Y2());
                const TCoord px = arc.X() + RoundEven(std::cos(theta * std::numbers::pi / 180) * arc.Radius());
                const TCoord py = arc.Y() + RoundEven(std::sin(theta * std::numbers::pi / 180) * arc.Radius());
                minX = std::min(minX, px - dimension.LineWidth());
                minY = std::min(minY, py - dimension.LineWidth());
            }
        }
    }
    return minX == 0 && minY == 0;
}

void TOrvexExporter::AnalyzePrimitives() {
    ShiftX = 0;
    ShiftY = 0;
    NegativeCoordsMode = report::ncLeaveAsIs;
    bool found = false;
    AnalysingPrimitives = true;
    PercentInit("Analyzing Primitives", CountObjects(0));
    pcb::ForEachObject(Board->Handle(), 0, pcb::AllObjectsMethod, 0, [&](THandle handle) {
        TCoord minX = 0, minY = 0;
        if (!NegativeCoordsFilter(handle, minX, minY)) {
            found = true;
            ShiftX = std::min(ShiftX, minX);
            ShiftY = std::min(ShiftY, minY);
        }
        pcb::PcbApi_Percent_Update();
    });
    ProgressFinish();
    AnalysingPrimitives = false;
    if (found) NegativeCoordsMode = report::AskNegativeCoordsMode();
}

void TOrvexExporter::ShiftPrimitives() {
    if (ShiftX == 0 && ShiftY == 0) return;
    PercentInit("Shifting Primitives", CountObjects(0));
    pcb::ForEachObject(Board->Handle(), 0, pcb::AllObjectsMethod, 0, [&](THandle handle) {
        if (std::unique_ptr<pcb::TPCBObject> object = WrapObject(handle)) {
            object->ReadFromHost();
            object->MoveBy(-ShiftX, -ShiftY);
            object->WriteToHost();
        }
        pcb::PcbApi_Percent_Update();
    });
    ProgressFinish();
}

namespace {

// The length of a designator's stem: everything before its trailing digits,
// and always at least its first character.
size_t StemLength(const std::string& name) {
    size_t i = name.size();
    while (i > 1 && name[i - 1] >= '0' && name[i - 1] <= '9') --i;
    return i;
}

}  // namespace

std::string UniqueDesignator(std::string name, const std::set<std::string>& usedUpper) {
    while (usedUpper.count(common::UpperCase(name))) {
        const size_t i = std::min(StemLength(name), name.size());
        const std::string suffix = name.substr(i);
        long long value = 2;
        if (!suffix.empty() && suffix.size() <= 10) {
            const long long parsed = std::stoll(suffix);
            if (parsed <= 2147483647LL) value = parsed + 1;
        }
        char digits[32];
        std::snprintf(digits, sizeof digits, "%.*lld", static_cast<int>(suffix.size()), value);
        name = name.substr(0, i) + digits;
    }
    return name;
}

void TOrvexExporter::RenameComponents() {
    // The designators met so far, by their upper-case form.
    std::set<std::string> usedUpper;
    // For a designator met again: the number of the last new designator made
    // from it. Every name of its count before that one is taken, so the next
    // count starts there and many duplicates take linear time.
    std::map<std::string, std::string> lastNumber;
    PercentInit("Renaming Components", CountObjects(pcb::eComponentObject));
    pcb::TPcbComponent component;
    pcb::ForEachObject(Board->Handle(), pcb::eComponentObject, pcb::AllObjectsMethod, 0, [&](THandle handle) {
        component.SetHandle(handle);
        component.ReadFromHost();
        const std::string name = component.GetName();
        if (!name.empty()) {
            std::string unique = name;
            if (usedUpper.count(common::UpperCase(name))) {
                const auto last = lastNumber.find(common::UpperCase(name));
                const std::string start =
                    last == lastNumber.end() ? name : name.substr(0, StemLength(name)) + last->second;
                unique = UniqueDesignator(start, usedUpper);
                lastNumber[common::UpperCase(name)] = unique.substr(StemLength(unique));
            }
            if (!common::SameText(unique, name)) {
                pcb::TPcbText designator(component.NameText());
                designator.ReadFromHost();
                designator.SetText(unique);
                designator.WriteToHost();
            }
            usedUpper.insert(common::UpperCase(pcb::TextOf(component.NameText())));
        }
        pcb::PcbApi_Percent_Update();
    });
    ProgressFinish();
}

void TOrvexExporter::MoveComponentsToTop() {
    PercentInit("Moving Components To Top Layer", CountObjects(pcb::eComponentObject));
    MovedComponents = std::make_unique<std::vector<THandle>>();
    pcb::TPcbComponent component;
    pcb::ForEachObject(Board->Handle(), pcb::eComponentObject, pcb::AllObjectsMethod, 0, [&](THandle handle) {
        pcb::PcbApi_Percent_Update();
        component.SetHandle(handle);
        component.ReadFromHost();
        if (component.Layer() == pcb::BottomLayer) MovedComponents->push_back(handle);
        component.SetLayer(pcb::TopLayer);
        component.ReadWrite(2);
    });
    ProgressFinish();
}

void TOrvexExporter::ReturnComponents() {
    const auto count = static_cast<int32_t>(MovedComponents ? MovedComponents->size() : 0);
    PercentInit("Returning Components To Original Layer", count);
    pcb::TPcbComponent component;
    if (MovedComponents) {
        for (const THandle handle : *MovedComponents) {
            pcb::PcbApi_Percent_Update();
            component.SetHandle(handle);
            component.ReadFromHost();
            component.SetLayer(pcb::BottomLayer);
            component.ReadWrite(2);
        }
    }
    ProgressFinish();
    MovedComponents.reset();
}

}  // namespace translator
