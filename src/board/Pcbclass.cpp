#include "board/Pcbclass.h"

#include <algorithm>
#include <cmath>

namespace pcb {
namespace {

// Mode 0 writes back; mode 2 writes a component with its primitives. Every
// other mode reads.
bool IsWriteMode(uint8_t mode) { return mode == 0 || mode == 2; }

bool ValidLayer(TLayerId layer) { return layer <= MaxLayerId; }

}  // namespace

// --- TPCBObject ------------------------------------------------------------------

TPCBObject::TPCBObject(THandle handle) : Handle_(handle) {}

TPCBObject::TPCBObject(uint8_t kind, THandle handle) : Handle_(handle), ObjectKind_(kind) {}

void TPCBObject::TransferStateBits(uint8_t mode) {
    PcbApi_GetObjectBitField2(mode, Handle_, &StateFlags2_);
    PcbApi_GetObjectBitField3(mode, Handle_, &StateFlags3_);
}

int32_t TPCBObject::ReadWrite(uint8_t mode) {
    TransferStateBits(mode);
    return PcbApi_QueryPrimitive(mode, Handle_, Common_);
}

pcbapi::TRect TPCBObject::GetBoundingRectangle() const {
    pcbapi::TRect rect;
    PcbApi_QueryObjectBoundingRectangle(Handle_, &rect);
    return rect;
}

void TPCBObject::MoveBy(TCoord dx, TCoord dy) {
    Common_->X += dx;
    Common_->Y += dy;
}

bool TPCBObject::ImportFromUser() const { return PcbApi_QueryObjectImport_FromUser(Handle_) == 0; }

void TPCBObject::Invalidate() const { PcbApi_QueryObjectGraphicallyInvalidate(Handle_); }

bool TPCBObject::StateFlagBit(int bit) const { return (Common_->StateFlags >> bit & 1u) != 0; }

void TPCBObject::SetStateFlagBit(int bit, bool on) {
    const auto mask = static_cast<uint16_t>(1u << bit);
    Common_->StateFlags = static_cast<uint16_t>(on ? Common_->StateFlags | mask : Common_->StateFlags & ~mask);
}

void TPCBObject::SetStateFlagBitNow(int bit, bool on) {
    SetStateFlagBit(bit, on);
    WriteToHost();
}

bool TPCBObject::StateFlags2Bit(int bit) const { return (StateFlags2_ >> bit & 1u) != 0; }

bool TPCBObject::StateFlags3Bit(int bit) const { return (StateFlags3_ >> bit & 1u) != 0; }

void TPCBObject::SetStateFlags3Bit(int bit, bool on) {
    const auto mask = static_cast<uint16_t>(1u << bit);
    StateFlags3_ = static_cast<uint16_t>(on ? StateFlags3_ | mask : StateFlags3_ & ~mask);
}

TCoord TPCBObject::SizeOnLayer(TLayerId layer) const { return layer == Layer() ? Size() : 0; }
TCoord TPCBObject::XSizeOnLayer(TLayerId layer) const { return layer == Layer() ? Size() : 0; }
TCoord TPCBObject::YSizeOnLayer(TLayerId layer) const { return layer == Layer() ? Size() : 0; }
uint8_t TPCBObject::ShapeOnLayer(TLayerId) const { return 0; }
TCoord TPCBObject::WidthOnLayer(TLayerId layer) const { return layer == Layer() ? Width() : 0; }
TCoord TPCBObject::XOnLayer(TLayerId layer) const { return layer == Layer() ? X() : 0; }
TCoord TPCBObject::YOnLayer(TLayerId layer) const { return layer == Layer() ? Y() : 0; }
TCoord TPCBObject::X2OnLayer(TLayerId layer) const { return layer == Layer() ? X2() : 0; }
TCoord TPCBObject::Y2OnLayer(TLayerId layer) const { return layer == Layer() ? Y2() : 0; }

// --- primitives ------------------------------------------------------------------

void TPcbTrack::MoveBy(TCoord dx, TCoord dy) {
    TPCBObject::MoveBy(dx, dy);
    Rec.X2 += dx;
    Rec.Y2 += dy;
}

void TPcbFill::MoveBy(TCoord dx, TCoord dy) {
    TPCBObject::MoveBy(dx, dy);
    Rec.X2 += dx;
    Rec.Y2 += dy;
}

int32_t TPcbVia::ReadWrite(uint8_t mode) {
    TransferStateBits(mode);
    Rec.Common.Layer = LayerIdFromHost(Rec.Common.Layer);
    const int32_t status = PcbApi_QueryVia(mode, Handle(), &Rec);
    Rec.Common.Layer = HostLayerFromId(static_cast<TLayerId>(Rec.Common.Layer));
    return status;
}

TCoord TPcbVia::SizeOnLayer(TLayerId layer) const {
    TCoord x = 0, y = 0;
    if (PcbApi_QueryPadOrViaSizeOnLayer(Handle(), HostLayerFromId(layer), &x, &y) != 0) return 0;
    return x;
}

uint8_t TPcbVia::ShapeOnLayer(TLayerId layer) const {
    uint8_t shape = 0;
    if (PcbApi_QueryPadOrViaShapeOnLayer(Handle(), HostLayerFromId(layer), &shape) != 0) return 0;
    return shape;
}

// --- pads ----------------------------------------------------------------------

int32_t TPcbPad::ReadWrite(uint8_t mode) {
    TransferStateBits(mode);
    const int32_t status = PcbApi_QueryPad(mode, Handle(), &Rec);
    if (status != 0) return status;
    PcbApi_QueryPadStackMode(mode, Handle(), &StackMode_);
    if (IsWriteMode(mode))
        WriteLayerTables();
    else
        ReadLayerTables();
    return 0;
}

void TPcbPad::ReadLayerTables() {
    for (int id = 0; id <= MaxLayerId; ++id) {
        const pcbapi::THostLayer layer = HostLayerFromId(static_cast<TLayerId>(id));
        PcbApi_QueryPadOrViaShapeOnLayer(Handle(), layer, &ShapeOnLayer_[id]);
        PcbApi_QueryPadOrViaSizeOnLayer(Handle(), layer, &XSizeOnLayer_[id], &YSizeOnLayer_[id]);
        PcbApi_QueryPadCornerRadiusOnLayer(Handle(), layer, &CornerRadiusOnLayer_[id]);
        PcbApi_QueryPadCRPercentageOnLayer(Handle(), layer, &CRPercentageOnLayer_[id]);
        if (id == TopLayer)
            TopCRPercentage_ = CRPercentageOnLayer_[id];
        else if (IsMidLayer(static_cast<TLayerId>(id)))
            MidCRPercentage_ = CRPercentageOnLayer_[id];
        else if (id == BottomLayer)
            BotCRPercentage_ = CRPercentageOnLayer_[id];
    }
}

void TPcbPad::WriteLayerTables() {
    if (StackMode_ == 2) {
        for (int id = 0; id <= MaxLayerId; ++id) {
            const pcbapi::THostLayer layer = HostLayerFromId(static_cast<TLayerId>(id));
            PcbApi_SetPadShapeOnLayer(Handle(), layer, ShapeOnLayer_[id]);
            PcbApi_SetPadSizeOnLayer(Handle(), layer, XSizeOnLayer_[id], YSizeOnLayer_[id]);
            PcbApi_SetCRPctOnLayer(Handle(), layer, CRPercentageOnLayer_[id]);
        }
        return;
    }
    // The host derives the per-layer values of the simpler stack modes from
    // the pad record, except the corner percentages of rounded rectangles.
    // Writing them once has the same effect as once per such layer.
    const bool anyRoundedRectangle =
        std::find(std::begin(ShapeOnLayer_), std::end(ShapeOnLayer_), RoundedRectangleShape) != std::end(ShapeOnLayer_);
    if (!anyRoundedRectangle) return;
    PcbApi_SetCRPctOnLayer(Handle(), HostLayerFromId(TopLayer), TopCRPercentage_);
    PcbApi_SetCRPctOnLayer(Handle(), HostLayerFromId(BottomLayer), BotCRPercentage_);
    PcbApi_SetCRPctOnLayer(Handle(), HostLayerFromId(MidLayer1), MidCRPercentage_);
}

TCoord TPcbPad::XSizeOnLayer(TLayerId layer) const { return ValidLayer(layer) ? XSizeOnLayer_[layer] : 0; }
TCoord TPcbPad::YSizeOnLayer(TLayerId layer) const { return ValidLayer(layer) ? YSizeOnLayer_[layer] : 0; }
uint8_t TPcbPad::ShapeOnLayer(TLayerId layer) const { return ValidLayer(layer) ? ShapeOnLayer_[layer] : 0; }
uint8_t TPcbPad::CRPercentageOnLayer(TLayerId layer) const {
    return ValidLayer(layer) ? CRPercentageOnLayer_[layer] : 0;
}
TCoord TPcbPad::CornerRadiusOnLayer(TLayerId layer) const {
    return ValidLayer(layer) ? CornerRadiusOnLayer_[layer] : 0;
}

TCoord TPcbPad::WidthOnLayer(TLayerId layer) const { return std::min(XSizeOnLayer(layer), YSizeOnLayer(layer)); }

void TPcbPad::EndCentre(TLayerId layer, int side, TCoord& x, TCoord& y) const {
    const TCoord xSize = XSizeOnLayer(layer), ySize = YSizeOnLayer(layer);
    // Half the distance between the centres of the two rounded ends.
    const double half = std::abs(xSize - ySize) / 2.0;
    double angle = Rotation() * 0.017453292519943295769;
    if (ySize > xSize) angle += 1.5707963267948966;
    x = static_cast<TCoord>(std::nearbyint(X() + side * half * std::cos(angle)));
    y = static_cast<TCoord>(std::nearbyint(Y() + side * half * std::sin(angle)));
}

TCoord TPcbPad::XOnLayer(TLayerId layer) const {
    TCoord x, y;
    EndCentre(layer, -1, x, y);
    return x;
}

TCoord TPcbPad::YOnLayer(TLayerId layer) const {
    TCoord x, y;
    EndCentre(layer, -1, x, y);
    return y;
}

TCoord TPcbPad::X2OnLayer(TLayerId layer) const {
    TCoord x, y;
    EndCentre(layer, 1, x, y);
    return x;
}

TCoord TPcbPad::Y2OnLayer(TLayerId layer) const {
    TCoord x, y;
    EndCentre(layer, 1, x, y);
    return y;
}

void TPcbPad::SetShapeOnLayer(TLayerId layer, uint8_t shape) {
    if (ValidLayer(layer)) ShapeOnLayer_[layer] = shape;
}
void TPcbPad::SetXSizeOnLayer(TLayerId layer, TCoord size) {
    if (ValidLayer(layer)) XSizeOnLayer_[layer] = size;
}
void TPcbPad::SetYSizeOnLayer(TLayerId layer, TCoord size) {
    if (ValidLayer(layer)) YSizeOnLayer_[layer] = size;
}
void TPcbPad::SetCRPercentageOnLayer(TLayerId layer, uint8_t percentage) {
    if (ValidLayer(layer)) CRPercentageOnLayer_[layer] = percentage;
}

TCoord TPcbPad::RuleExpansion(uint8_t ruleKind) const {
    const THandle rule = PcbApi_FindDominantRuleForObject(Handle(), ruleKind);
    if (rule == 0) return 0;
    TCoord expansion = 0;
    switch (ruleKind) {
        case PowerPlaneExpansionRuleKind: PcbApi_QueryRulePowerPlaneExpansionRule(1, rule, &expansion); break;
        case SolderMaskExpansionRuleKind: PcbApi_QueryRuleSolderMaskExpansionRule(1, rule, &expansion); break;
        default: PcbApi_QueryRulePasteMaskExpansionRule(1, rule, &expansion); break;
    }
    return expansion;
}

TCoord TPcbPad::PowerPlaneExpansion() const { return RuleExpansion(PowerPlaneExpansionRuleKind); }
TCoord TPcbPad::SolderMaskExpansion() const { return RuleExpansion(SolderMaskExpansionRuleKind); }
TCoord TPcbPad::PasteMaskExpansion() const { return RuleExpansion(PasteMaskExpansionRuleKind); }

// --- texts ---------------------------------------------------------------------

TPcbText::TPcbText(THandle handle) : TPcbRecordObject(eTextObject, handle) {
    TrueType_.FontName.Assign("Arial");
    TrueType_.Length = 200000;  // 20 mil
}

int32_t TPcbText::ReadWrite(uint8_t mode) {
    TransferStateBits(mode);
    const int32_t status = PcbApi_QueryText(mode, Handle(), &Rec);
    PcbApi_QueryTrueTypeTextInfo(mode, Handle(), &TrueType_);
    if (!IsWriteMode(mode)) {
        PcbApi_GetDesignatorDisplayString(Handle(), &DisplayString_);
        if (DisplayString_.Length > 254) DisplayString_.Length = 254;
    }
    PcbApi_QueryBarCodeTextInfo(mode, Handle(), &BarCode_);
    return status;
}

// --- components, classes, rules ----------------------------------------------------

int32_t TPcbComponent::ReadWrite(uint8_t mode) {
    TransferStateBits(mode);
    PcbApi_QueryComponentChannelOffset(mode, Handle(), &ChannelOffset_);
    PcbApi_QueryComponentKind(mode, Handle(), &ComponentKind_);
    Rec.Common.Layer = LayerIdFromHost(Rec.Common.Layer);
    const int32_t status = PcbApi_QueryComponent(mode, Handle(), &Rec);
    Rec.Common.Layer = HostLayerFromId(static_cast<TLayerId>(Rec.Common.Layer));
    PcbApi_QueryComponentEx(mode, Handle(), &Extended_);
    PcbApi_QueryComponentSourceLinks(mode, Handle(), &SourceLinks_);
    PcbApi_QueryDefaultPCB3DModel(mode, Handle(), &Model_);
    return status;
}

std::string TPcbComponent::GetName() const { return TextOf(Rec.NameText); }

int32_t TPCBObjectClass::ReadWrite(uint8_t mode) {
    TransferStateBits(mode);
    int32_t status = PcbApi_QueryClass(mode, Handle(), &Rec);
    if (IsWriteMode(mode)) {
        status = PcbApi_RemoveAllMembersFromClass(Handle());
        for (const std::string& member : Members_) {
            pcbapi::TName255 name;
            name.Assign(member);
            status = PcbApi_AddMemberToClass(Handle(), &name);
        }
        return status;
    }
    // The host ends the list with 1; any other failure ends it as well, so
    // that a failing host cannot make the read run forever.
    for (int32_t index = 0;; ++index) {
        pcbapi::TName255 name;
        status = PcbApi_GetMemberFromClassAt(Handle(), index, &name);
        if (status != 0) return status;
        Members_.push_back(name.Str());
    }
}

TPcbRuleEx::TPcbRuleEx(THandle handle) : TPcbRecordObject(eRuleObject, handle) {
    Rec.Common.Layer = HostLayerFromId(MultiLayer);
    Rec.Scope1Expression.Assign("All");
    Rec.Scope2Expression.Assign("All");
}

int32_t TPcbRuleEx::ReadWrite(uint8_t mode) {
    TransferStateBits(mode);
    if (PcbApi_QueryRuleEx(mode, Handle(), &Rec) == 1) return 1;
    return PcbApi_QueryRuleExtEx(mode, Handle(), &Name_);
}

// --- dimensions -----------------------------------------------------------------

TPcbDimension::TPcbDimension(uint8_t dimensionType, THandle handle) : TPcbRecordObject(eDimensionObject, handle) {
    Rec.DimensionType = dimensionType;
}

int32_t TPcbDimension::ReadWrite(uint8_t mode) {
    TransferStateBits(mode);
    const int32_t status = PcbApi_QueryDimension(mode, Handle(), &Rec);
    if (!IsWriteMode(mode)) {
        int32_t count = 0;
        PcbApi_References_Count(Handle(), &count);
        References_.resize(static_cast<size_t>(std::max(count, 0)));
    }
    for (size_t i = 0; i < References_.size(); ++i)
        PcbApi_References_At(mode, Handle(), static_cast<int32_t>(i), &References_[i]);
    PcbApi_QueryExtDimension(mode, Handle(), &Extended_);
    TransferTypeValues(mode);
    return status;
}

void TPCBBaselineDimension::TransferTypeValues(uint8_t mode) {
    PcbApi_QueryBaselineDimension(mode, Handle(), &TypeValues_);
    if (!IsWriteMode(mode)) {
        int32_t count = 0;
        PcbApi_TextLocations_Count(Handle(), &count);
        TextLocations_.resize(static_cast<size_t>(std::max(count, 0)));
    }
    for (size_t i = 0; i < TextLocations_.size(); ++i)
        PcbApi_TextLocations_At(mode, Handle(), static_cast<int32_t>(i), &TextLocations_[i]);
}

std::unique_ptr<TPcbDimension> CreateDimensionForType(uint8_t dimensionType, THandle handle) {
    switch (dimensionType) {
        case LinearDimension: return std::make_unique<TPCBLinearDimension>(handle);
        case AngularDimension: return std::make_unique<TPCBAngularDimension>(handle);
        case RadialDimension: return std::make_unique<TPCBRadialDimension>(handle);
        case LeaderDimension: return std::make_unique<TPCBLeaderDimension>(handle);
        case DatumDimension: return std::make_unique<TPCBDatumDimension>(handle);
        case BaselineDimension: return std::make_unique<TPCBBaselineDimension>(handle);
        case CenterDimension: return std::make_unique<TPCBCenterDimension>(handle);
        case OriginalDimension: return std::make_unique<TPCBOriginalDimension>(handle);
        case LinearDiameterDimension: return std::make_unique<TPCBLinearDiameterDimension>(handle);
        case RadialDiameterDimension: return std::make_unique<TPCBRadialDiameterDimension>(handle);
        default: return std::make_unique<TPcbDimension>(handle);
    }
}

}  // namespace pcb
