// The board object model: wrappers of host objects.
//
// A wrapper holds one host handle and a copy of the host's record for it.
// ReadWrite(1) fills the copy from the host, ReadWrite(0) sends it back; any
// other mode passes through to the host unchanged (2 writes a component with
// its primitives). Every value the host reports is kept, also those the
// exporter never reads, so that a read followed by a write-back changes
// nothing the caller did not change. A wrapper never owns its host object.
//
// A getter of a property that a class lacks returns 0, false or the empty
// text, and such a setter does nothing. Layers are layer ids on access;
// records keep them in the host's encoding, so that layers beyond the id table
// go back as they came.
//
// Reads allocate nothing: records, pad per-layer tables and outlines are fixed
// arrays. Only the member list of a class and the references and text
// locations of a dimension grow with what the host reports.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "board/PcbApi.h"
#include "board/PcbApiBinding.h"
#include "board/Pcbtypes.h"
#include "common/Strings.h"

namespace pcb {

using pcbapi::TCoord;
using pcbapi::THandle;

// Pad shape code of the rounded rectangle whose corner radius is a percentage.
constexpr uint8_t RoundedRectangleShape = 9;

// Rule kinds of the pad's rule values.
constexpr uint8_t PowerPlaneExpansionRuleKind = 12;
constexpr uint8_t SolderMaskExpansionRuleKind = 13;
constexpr uint8_t PasteMaskExpansionRuleKind = 14;

// The base of every board object. A plain wrapper reads the values every
// object has (PcbApi_QueryPrimitive); its ObjectKind stays 0 whatever the
// handle is (ObjectKindOf asks the host).
class TPCBObject {
public:
    explicit TPCBObject(THandle handle = 0);
    virtual ~TPCBObject() = default;
    TPCBObject(const TPCBObject&) = delete;
    TPCBObject& operator=(const TPCBObject&) = delete;

    virtual int32_t ReadWrite(uint8_t mode);
    int32_t ReadFromHost() { return ReadWrite(1); }
    int32_t WriteToHost() { return ReadWrite(0); }

    pcbapi::TRect GetBoundingRectangle() const;
    // In memory only; tracks and fills also move their second point.
    virtual void MoveBy(TCoord dx, TCoord dy);
    bool ImportFromUser() const;
    void Invalidate() const;

    // Single host state bits; not interpreted by the exporter.
    bool StateFlagBit(int bit) const;
    void SetStateFlagBit(int bit, bool on);
    // Sets the bit and writes the object back at once: the host applies its
    // bits 3 and 8 only when they are written.
    void SetStateFlagBitNow(int bit, bool on);
    bool StateFlags2Bit(int bit) const;
    bool StateFlags3Bit(int bit) const;
    void SetStateFlags3Bit(int bit, bool on);

    THandle Handle() const { return Handle_; }
    uint8_t ObjectKind() const { return ObjectKind_; }
    TCoord X() const { return Common_->X; }
    TCoord Y() const { return Common_->Y; }
    // An object without a second point answers its reference point.
    virtual TCoord X2() const { return X(); }
    virtual TCoord Y2() const { return Y(); }
    uint16_t StateFlags() const { return Common_->StateFlags; }
    uint8_t StateFlags2() const { return StateFlags2_; }
    uint16_t StateFlags3() const { return StateFlags3_; }
    int16_t ExtraWord() const { return Common_->ExtraWord; }
    TLayerId Layer() const { return LayerIdFromHost(Common_->Layer); }
    pcbapi::THostLayer HostLayer() const { return Common_->Layer; }
    uint8_t ExtraByte() const { return Common_->ExtraByte; }
    THandle Net() const { return Common_->Net; }
    THandle Component() const { return Common_->Component; }
    virtual THandle FurtherHandle1() const { return 0; }
    virtual THandle FurtherHandle2() const { return 0; }
    virtual THandle OwnerGroup() const { return 0; }
    virtual TCoord TopXSize() const { return 0; }
    virtual TCoord TopYSize() const { return 0; }
    virtual TCoord MidXSize() const { return 0; }
    virtual TCoord MidYSize() const { return 0; }
    virtual TCoord BotXSize() const { return 0; }
    virtual TCoord BotYSize() const { return 0; }
    virtual TCoord HoleSize() const { return 0; }
    virtual uint8_t TopShape() const { return 0; }
    virtual uint8_t MidShape() const { return 0; }
    virtual uint8_t BotShape() const { return 0; }
    virtual std::string GetName() const { return {}; }
    virtual double Rotation() const { return 0; }
    virtual TCoord Width() const { return 0; }
    virtual TCoord Size() const { return 0; }
    virtual TLayerId StartLayer() const { return 0; }
    virtual TLayerId EndLayer() const { return 0; }
    virtual TCoord Radius() const { return 0; }
    virtual double StartAngle() const { return 0; }
    virtual double EndAngle() const { return 0; }
    virtual TCoord LineWidth() const { return 0; }
    TCoord Left() const { return GetBoundingRectangle().Left; }
    TCoord Bottom() const { return GetBoundingRectangle().Bottom; }
    TCoord Right() const { return GetBoundingRectangle().Right; }
    TCoord Top() const { return GetBoundingRectangle().Top; }
    virtual int32_t FontId() const { return 0; }
    virtual bool Mirrored() const { return false; }
    virtual std::string GetText() const { return {}; }
    virtual uint8_t ExtraFlag1() const { return 0; }
    virtual uint8_t ExtraFlag2() const { return 0; }

    // Values on one layer. An object that is not a pad answers its plain
    // value on its own layer and 0 on every other.
    virtual TCoord SizeOnLayer(TLayerId layer) const;
    virtual TCoord XSizeOnLayer(TLayerId layer) const;
    virtual TCoord YSizeOnLayer(TLayerId layer) const;
    virtual uint8_t ShapeOnLayer(TLayerId layer) const;
    virtual TCoord WidthOnLayer(TLayerId layer) const;
    virtual TCoord XOnLayer(TLayerId layer) const;
    virtual TCoord YOnLayer(TLayerId layer) const;
    virtual TCoord X2OnLayer(TLayerId layer) const;
    virtual TCoord Y2OnLayer(TLayerId layer) const;

    void SetHandle(THandle handle) { Handle_ = handle; }
    void SetObjectKind(uint8_t kind) { ObjectKind_ = kind; }
    void SetX(TCoord x) { Common_->X = x; }
    void SetY(TCoord y) { Common_->Y = y; }
    virtual void SetX2(TCoord) {}
    virtual void SetY2(TCoord) {}
    void SetStateFlags(uint16_t flags) { Common_->StateFlags = flags; }
    void SetExtraWord(int16_t value) { Common_->ExtraWord = value; }
    void SetLayer(TLayerId layer) { Common_->Layer = HostLayerFromId(layer); }
    void SetExtraByte(uint8_t value) { Common_->ExtraByte = value; }
    void SetNet(THandle net) { Common_->Net = net; }
    void SetComponent(THandle component) { Common_->Component = component; }
    virtual void SetFurtherHandle1(THandle) {}
    virtual void SetFurtherHandle2(THandle) {}
    virtual void SetOwnerGroup(THandle) {}
    virtual void SetTopXSize(TCoord) {}
    virtual void SetTopYSize(TCoord) {}
    virtual void SetMidXSize(TCoord) {}
    virtual void SetMidYSize(TCoord) {}
    virtual void SetBotXSize(TCoord) {}
    virtual void SetBotYSize(TCoord) {}
    virtual void SetHoleSize(TCoord) {}
    virtual void SetTopShape(uint8_t) {}
    virtual void SetMidShape(uint8_t) {}
    virtual void SetBotShape(uint8_t) {}
    virtual void SetName(std::string_view) {}
    virtual void SetRotation(double) {}
    virtual void SetWidth(TCoord) {}
    virtual void SetSize(TCoord) {}
    virtual void SetStartLayer(TLayerId) {}
    virtual void SetEndLayer(TLayerId) {}
    virtual void SetRadius(TCoord) {}
    virtual void SetStartAngle(double) {}
    virtual void SetEndAngle(double) {}
    virtual void SetLineWidth(TCoord) {}
    virtual void SetFontId(int32_t) {}
    virtual void SetMirrored(bool) {}
    virtual void SetText(std::string_view) {}
    virtual void SetExtraFlag1(uint8_t) {}
    virtual void SetExtraFlag2(uint8_t) {}

protected:
    TPCBObject(uint8_t kind, THandle handle);
    // For the subclasses: their record's common part becomes the object's.
    void BindCommon(pcbapi::TPrimitiveRecord* common) { Common_ = common; }

    // The state bits that every read and write-back transfers first.
    void TransferStateBits(uint8_t mode);

private:
    THandle Handle_ = 0;
    uint8_t ObjectKind_ = 0;
    uint8_t StateFlags2_ = 0;
    uint16_t StateFlags3_ = 0;
    pcbapi::TPrimitiveRecord OwnCommon_;
    pcbapi::TPrimitiveRecord* Common_ = &OwnCommon_;
};

// Objects that contain primitives.
class TPcbGroupObject : public TPCBObject {
protected:
    using TPCBObject::TPCBObject;
};

namespace detail {
inline pcbapi::TPrimitiveRecord& CommonOf(pcbapi::TPrimitiveRecord& rec) { return rec; }
template <typename TRecord>
pcbapi::TPrimitiveRecord& CommonOf(TRecord& rec) {
    return rec.Common;
}
}  // namespace detail

// A wrapper whose whole record crosses in one host query.
template <typename TRecord, auto Query, typename TBase = TPCBObject>
class TPcbRecordObject : public TBase {
public:
    int32_t ReadWrite(uint8_t mode) override {
        this->TransferStateBits(mode);
        return Query(mode, this->Handle(), &Rec);
    }
    const TRecord& Record() const { return Rec; }

protected:
    TPcbRecordObject(uint8_t kind, THandle handle) : TBase(kind, handle) { this->BindCommon(&detail::CommonOf(Rec)); }
    TRecord Rec;
};

class TPcbTrack : public TPcbRecordObject<pcbapi::TTrackRecord, &PcbApi_QueryTrack> {
public:
    explicit TPcbTrack(THandle handle = 0) : TPcbRecordObject(eTrackObject, handle) {}
    void MoveBy(TCoord dx, TCoord dy) override;
    TCoord X1() const { return X(); }
    TCoord Y1() const { return Y(); }
    TCoord X2() const override { return Rec.X2; }
    TCoord Y2() const override { return Rec.Y2; }
    TCoord Width() const override { return Rec.Width; }
    THandle OwnerGroup() const override { return Rec.OwnerGroup; }
    THandle FurtherHandle1() const override { return Rec.Further1; }
    THandle FurtherHandle2() const override { return Rec.Further2; }
    TCoord WidthOnLayer(TLayerId layer) const override { return layer == Layer() ? Width() : 0; }
    void SetX1(TCoord x) { SetX(x); }
    void SetY1(TCoord y) { SetY(y); }
    void SetX2(TCoord x) override { Rec.X2 = x; }
    void SetY2(TCoord y) override { Rec.Y2 = y; }
    void SetWidth(TCoord width) override { Rec.Width = width; }
    void SetOwnerGroup(THandle group) override { Rec.OwnerGroup = group; }
    void SetFurtherHandle1(THandle handle) override { Rec.Further1 = handle; }
    void SetFurtherHandle2(THandle handle) override { Rec.Further2 = handle; }
};

class TPcbArc : public TPcbRecordObject<pcbapi::TArcRecord, &PcbApi_QueryArc> {
public:
    explicit TPcbArc(THandle handle = 0) : TPcbRecordObject(eArcObject, handle) {}
    TCoord Radius() const override { return Rec.Radius; }
    double StartAngle() const override { return Rec.StartAngle; }
    double EndAngle() const override { return Rec.EndAngle; }
    TCoord LineWidth() const override { return Rec.LineWidth; }
    THandle FurtherHandle1() const override { return Rec.Further; }
    void SetRadius(TCoord radius) override { Rec.Radius = radius; }
    void SetStartAngle(double angle) override { Rec.StartAngle = angle; }
    void SetEndAngle(double angle) override { Rec.EndAngle = angle; }
    void SetLineWidth(TCoord width) override { Rec.LineWidth = width; }
    void SetFurtherHandle1(THandle handle) override { Rec.Further = handle; }
};

class TPcbFill : public TPcbRecordObject<pcbapi::TFillRecord, &PcbApi_QueryFill> {
public:
    explicit TPcbFill(THandle handle = 0) : TPcbRecordObject(eFillObject, handle) {}
    void MoveBy(TCoord dx, TCoord dy) override;
    TCoord X1() const { return X(); }
    TCoord Y1() const { return Y(); }
    TCoord X2() const override { return Rec.X2; }
    TCoord Y2() const override { return Rec.Y2; }
    double Rotation() const override { return Rec.Rotation; }
    THandle FurtherHandle1() const override { return Rec.Further; }
    void SetX1(TCoord x) { SetX(x); }
    void SetY1(TCoord y) { SetY(y); }
    void SetX2(TCoord x) override { Rec.X2 = x; }
    void SetY2(TCoord y) override { Rec.Y2 = y; }
    void SetRotation(double rotation) override { Rec.Rotation = rotation; }
    void SetFurtherHandle1(THandle handle) override { Rec.Further = handle; }
};

// Its layer crosses the via query as a layer id.
class TPcbVia : public TPcbRecordObject<pcbapi::TViaRecord, &PcbApi_QueryVia> {
public:
    explicit TPcbVia(THandle handle = 0) : TPcbRecordObject(eViaObject, handle) {}
    int32_t ReadWrite(uint8_t mode) override;
    TCoord Size() const override { return Rec.Size; }
    TCoord HoleSize() const override { return Rec.HoleSize; }
    // The two ends of the span, in no guaranteed order.
    TLayerId StartLayer() const override { return Rec.StartLayer; }
    TLayerId EndLayer() const override { return Rec.EndLayer; }
    uint8_t ExtraFlag1() const override { return Rec.Flag1; }
    uint8_t ExtraFlag2() const override { return Rec.Flag2; }
    // The via's size and shape on a layer, as the host reports them.
    TCoord SizeOnLayer(TLayerId layer) const override;
    uint8_t ShapeOnLayer(TLayerId layer) const override;
    void SetSize(TCoord size) override { Rec.Size = size; }
    void SetHoleSize(TCoord size) override { Rec.HoleSize = size; }
    void SetStartLayer(TLayerId layer) override { Rec.StartLayer = layer; }
    void SetEndLayer(TLayerId layer) override { Rec.EndLayer = layer; }
    void SetExtraFlag1(uint8_t flag) override { Rec.Flag1 = flag; }
    void SetExtraFlag2(uint8_t flag) override { Rec.Flag2 = flag; }
};

class TPcbPad : public TPcbRecordObject<pcbapi::TPadRecord, &PcbApi_QueryPad> {
public:
    explicit TPcbPad(THandle handle = 0) : TPcbRecordObject(ePadObject, handle) {}
    int32_t ReadWrite(uint8_t mode) override;

    TCoord TopXSize() const override { return Rec.TopXSize; }
    TCoord TopYSize() const override { return Rec.TopYSize; }
    TCoord MidXSize() const override { return Rec.MidXSize; }
    TCoord MidYSize() const override { return Rec.MidYSize; }
    TCoord BotXSize() const override { return Rec.BotXSize; }
    TCoord BotYSize() const override { return Rec.BotYSize; }
    TCoord HoleSize() const override { return Rec.HoleSize; }
    uint8_t TopShape() const override { return Rec.TopShape; }
    uint8_t MidShape() const override { return Rec.MidShape; }
    uint8_t BotShape() const override { return Rec.BotShape; }
    std::string GetName() const override { return Rec.Name.Str(); }
    double Rotation() const override { return Rec.Rotation; }
    uint8_t ExtraFlag1() const override { return Rec.Flag1; }
    uint8_t ExtraFlag2() const override { return Rec.Flag2; }
    uint8_t StackMode() const { return StackMode_; }
    uint8_t TopCRPercentage() const { return TopCRPercentage_; }
    uint8_t MidCRPercentage() const { return MidCRPercentage_; }
    uint8_t BotCRPercentage() const { return BotCRPercentage_; }

    // The per-layer tables; 0 for an id above 82.
    TCoord SizeOnLayer(TLayerId layer) const override { return XSizeOnLayer(layer); }
    TCoord XSizeOnLayer(TLayerId layer) const override;
    TCoord YSizeOnLayer(TLayerId layer) const override;
    uint8_t ShapeOnLayer(TLayerId layer) const override;
    uint8_t CRPercentageOnLayer(TLayerId layer) const;
    // The smaller of the two sizes.
    TCoord WidthOnLayer(TLayerId layer) const override;
    // The centres of the two rounded ends along the long side.
    TCoord XOnLayer(TLayerId layer) const override;
    TCoord YOnLayer(TLayerId layer) const override;
    TCoord X2OnLayer(TLayerId layer) const override;
    TCoord Y2OnLayer(TLayerId layer) const override;
    virtual TCoord CornerRadiusOnLayer(TLayerId layer) const;

    // The expansions of the rules that govern the pad; 0 without one.
    TCoord PowerPlaneExpansion() const;
    TCoord SolderMaskExpansion() const;
    TCoord PasteMaskExpansion() const;

    void SetTopXSize(TCoord size) override { Rec.TopXSize = size; }
    void SetTopYSize(TCoord size) override { Rec.TopYSize = size; }
    void SetMidXSize(TCoord size) override { Rec.MidXSize = size; }
    void SetMidYSize(TCoord size) override { Rec.MidYSize = size; }
    void SetBotXSize(TCoord size) override { Rec.BotXSize = size; }
    void SetBotYSize(TCoord size) override { Rec.BotYSize = size; }
    void SetHoleSize(TCoord size) override { Rec.HoleSize = size; }
    void SetTopShape(uint8_t shape) override { Rec.TopShape = shape; }
    void SetMidShape(uint8_t shape) override { Rec.MidShape = shape; }
    void SetBotShape(uint8_t shape) override { Rec.BotShape = shape; }
    // Cut to 20 characters.
    void SetName(std::string_view name) override { Rec.Name.Assign(name); }
    void SetRotation(double rotation) override { Rec.Rotation = rotation; }
    void SetExtraFlag1(uint8_t flag) override { Rec.Flag1 = flag; }
    void SetExtraFlag2(uint8_t flag) override { Rec.Flag2 = flag; }
    void SetStackMode(uint8_t mode) { StackMode_ = mode; }
    void SetTopCRPercentage(uint8_t percentage) { TopCRPercentage_ = percentage; }
    void SetMidCRPercentage(uint8_t percentage) { MidCRPercentage_ = percentage; }
    void SetBotCRPercentage(uint8_t percentage) { BotCRPercentage_ = percentage; }
    void SetShapeOnLayer(TLayerId layer, uint8_t shape);
    void SetXSizeOnLayer(TLayerId layer, TCoord size);
    void SetYSizeOnLayer(TLayerId layer, TCoord size);
    void SetCRPercentageOnLayer(TLayerId layer, uint8_t percentage);

private:
    void ReadLayerTables();
    void WriteLayerTables();
    TCoord RuleExpansion(uint8_t ruleKind) const;
    // One end of the pad's long side: -1 or +1 along it.
    void EndCentre(TLayerId layer, int side, TCoord& x, TCoord& y) const;

    uint8_t StackMode_ = 0;
    uint8_t TopCRPercentage_ = 0, MidCRPercentage_ = 0, BotCRPercentage_ = 0;
    uint8_t ShapeOnLayer_[LayerIdCount] = {};
    TCoord XSizeOnLayer_[LayerIdCount] = {};
    TCoord YSizeOnLayer_[LayerIdCount] = {};
    TCoord CornerRadiusOnLayer_[LayerIdCount] = {};
    uint8_t CRPercentageOnLayer_[LayerIdCount] = {};
};

class TPcbText : public TPcbRecordObject<pcbapi::TTextRecord, &PcbApi_QueryText> {
public:
    explicit TPcbText(THandle handle = 0);
    int32_t ReadWrite(uint8_t mode) override;
    TCoord Size() const override { return Rec.Size; }
    TCoord Width() const override { return Rec.Width; }
    int32_t FontId() const override { return Rec.FontId; }
    double Rotation() const override { return Rec.Rotation; }
    bool Mirrored() const override { return Rec.Mirrored != 0; }
    std::string GetText() const override { return Rec.Text.Str(); }
    THandle OwnerGroup() const override { return Rec.OwnerGroup; }
    THandle FurtherHandle1() const override { return Rec.Further; }
    std::string DisplayString() const { return DisplayString_.Str(); }
    std::string FontName() const { return TrueType_.FontName.Str(); }
    const pcbapi::TTrueTypeRecord& TrueTypeValues() const { return TrueType_; }
    const pcbapi::TBarCodeRecord& BarCodeValues() const { return BarCode_; }
    TCoord WidthOnLayer(TLayerId layer) const override { return layer == Layer() ? Width() : 0; }
    void SetSize(TCoord size) override { Rec.Size = size; }
    void SetWidth(TCoord width) override { Rec.Width = width; }
    void SetFontId(int32_t font) override { Rec.FontId = font; }
    void SetRotation(double rotation) override { Rec.Rotation = rotation; }
    void SetMirrored(bool mirrored) override { Rec.Mirrored = mirrored ? 1 : 0; }
    // Cut to 255 characters.
    void SetText(std::string_view text) override { Rec.Text.Assign(text); }
    void SetOwnerGroup(THandle group) override { Rec.OwnerGroup = group; }
    void SetFurtherHandle1(THandle handle) override { Rec.Further = handle; }
    void SetFontName(std::string_view name) { TrueType_.FontName.Assign(name); }

private:
    pcbapi::TTrueTypeRecord TrueType_;
    pcbapi::TName255 DisplayString_;
    pcbapi::TBarCodeRecord BarCode_;
};

// Its layer (1 top, 32 bottom) crosses the component query as a layer id.
// Written back with mode 2, the host moves its primitives with it.
class TPcbComponent : public TPcbRecordObject<pcbapi::TComponentRecord, &PcbApi_QueryComponent, TPcbGroupObject> {
public:
    explicit TPcbComponent(THandle handle = 0) : TPcbRecordObject(eComponentObject, handle) {}
    int32_t ReadWrite(uint8_t mode) override;
    double Rotation() const override { return Rec.Rotation; }
    // The designator: the text of the NameText object.
    std::string GetName() const override;
    THandle NameText() const { return Rec.NameText; }
    THandle CommentText() const { return Rec.CommentText; }
    std::string Pattern() const { return Rec.Pattern.Str(); }
    bool NameOn() const { return Rec.NameOn != 0; }
    bool CommentOn() const { return Rec.CommentOn != 0; }
    int32_t ChannelOffset() const { return ChannelOffset_; }
    int32_t ComponentKind() const { return ComponentKind_; }
    const pcbapi::TComponentExRecord& ExtendedValues() const { return Extended_; }
    const pcbapi::TSourceLinksRecord& SourceLinks() const { return SourceLinks_; }
    const pcbapi::TModelRecord& Model() const { return Model_; }
    void SetRotation(double rotation) override { Rec.Rotation = rotation; }
    void SetNameText(THandle text) { Rec.NameText = text; }
    void SetCommentText(THandle text) { Rec.CommentText = text; }
    void SetPattern(std::string_view pattern) { Rec.Pattern.Assign(pattern); }
    void SetNameOn(bool on) { Rec.NameOn = on ? 1 : 0; }
    void SetCommentOn(bool on) { Rec.CommentOn = on ? 1 : 0; }
    void SetChannelOffset(int32_t offset) { ChannelOffset_ = offset; }
    void SetComponentKind(int32_t kind) { ComponentKind_ = kind; }

private:
    int32_t ChannelOffset_ = 0;
    int32_t ComponentKind_ = 0;
    pcbapi::TComponentExRecord Extended_;
    pcbapi::TSourceLinksRecord SourceLinks_;
    pcbapi::TModelRecord Model_;
};

// An iterator over a net returns the net's pads.
class TPcbNet : public TPcbRecordObject<pcbapi::TNetRecord, &PcbApi_QueryNet, TPcbGroupObject> {
public:
    explicit TPcbNet(THandle handle = 0) : TPcbRecordObject(eNetObject, handle) {}
    std::string GetName() const override { return Rec.Name.Str(); }
    void SetName(std::string_view name) override { Rec.Name.Assign(name); }
};

// A read appends the member names to Members without clearing it first; a
// write-back replaces the host's members by Members.
class TPCBObjectClass : public TPcbRecordObject<pcbapi::TClassRecord, &PcbApi_QueryClass> {
public:
    explicit TPCBObjectClass(THandle handle = 0) : TPcbRecordObject(eClassObject, handle) {}
    int32_t ReadWrite(uint8_t mode) override;
    std::string GetName() const override { return Rec.Name.Str(); }
    void SetName(std::string_view name) override { Rec.Name.Assign(name); }
    // The two class attributes: 0 = a class of nets, and 1 = a built-in class
    // of all members.
    uint8_t MemberKind() const { return Rec.MemberKind; }
    uint8_t SuperClass() const { return Rec.SuperClass; }
    void SetMemberKind(uint8_t kind) { Rec.MemberKind = kind; }
    void SetSuperClass(uint8_t superClass) { Rec.SuperClass = superClass; }
    std::vector<std::string>& Members() { return Members_; }
    const std::vector<std::string>& Members() const { return Members_; }

private:
    std::vector<std::string> Members_;
};

// The rule reader.
class TPcbRuleEx : public TPcbRecordObject<pcbapi::TRuleExRecord, &PcbApi_QueryRuleEx> {
public:
    explicit TPcbRuleEx(THandle handle = 0);
    int32_t ReadWrite(uint8_t mode) override;
    std::string GetName() const override { return Name_.Str(); }
    void SetName(std::string_view name) override { Name_.Assign(name); }
    uint8_t RuleKind() const { return Rec.RuleKind; }
    std::string Scope1Expression() const { return Rec.Scope1Expression.Str(); }
    std::string Scope2Expression() const { return Rec.Scope2Expression.Str(); }
    uint8_t Enabled() const { return Rec.Enabled; }
    int32_t Priority() const { return Rec.Priority; }
    uint8_t SecondFlag() const { return Rec.Flag2; }
    void SetRuleKind(uint8_t kind) { Rec.RuleKind = kind; }
    void SetScope1Expression(std::string_view scope) { Rec.Scope1Expression.Assign(scope); }
    void SetScope2Expression(std::string_view scope) { Rec.Scope2Expression.Assign(scope); }

private:
    pcbapi::TName255 Name_;
};

// The generic rule: one large record, kept for write-back.
class TPcbRule : public TPcbRecordObject<pcbapi::TRuleRecord, &PcbApi_QueryRule> {
public:
    explicit TPcbRule(THandle handle = 0) : TPcbRecordObject(eRuleObject, handle) {}
};

// An outline of at most MaxOutlineSegments segments: the host's record holds
// no more, so a longer outline arrives cut to that many.
template <typename TRecord, auto Query>
class TPcbOutlineObject : public TPcbRecordObject<TRecord, Query, TPcbGroupObject> {
public:
    int32_t SegmentCount() const {
        const int32_t count = this->Rec.SegmentCount;
        return count < 0 ? 0 : (count > pcbapi::MaxOutlineSegments ? pcbapi::MaxOutlineSegments : count);
    }
    const pcbapi::TOutlineSegment* Segments() const { return this->Rec.Segments; }
    const pcbapi::TOutlineSegment& Segment(int32_t index) const { return this->Rec.Segments[index]; }

protected:
    using TPcbRecordObject<TRecord, Query, TPcbGroupObject>::TPcbRecordObject;
};

class TPcbPolygon : public TPcbOutlineObject<pcbapi::TPolygonRecord, &PcbApi_QueryPolygon> {
public:
    explicit TPcbPolygon(THandle handle = 0) : TPcbOutlineObject(ePolyObject, handle) {}
    bool RemoveDead() const { return Rec.RemoveDead != 0; }
    TCoord Grid() const { return Rec.Grid; }
    TCoord TrackWidth() const { return Rec.TrackWidth; }
    uint8_t HatchStyle() const { return Rec.HatchStyle; }
    void SetRemoveDead(bool on) { Rec.RemoveDead = on ? 1 : 0; }
    void SetGrid(TCoord grid) { Rec.Grid = grid; }
    void SetTrackWidth(TCoord width) { Rec.TrackWidth = width; }
    void SetHatchStyle(uint8_t style) { Rec.HatchStyle = style; }

protected:
    TPcbPolygon(uint8_t kind, THandle handle) : TPcbOutlineObject(kind, handle) {}
};

class TPcbBoardOutline : public TPcbPolygon {
public:
    explicit TPcbBoardOutline(THandle handle = 0) : TPcbPolygon(eBoardOutlineObject, handle) {}
};

class TPcbSplitPlane : public TPcbOutlineObject<pcbapi::TSplitPlaneRecord, &PcbApi_QuerySplitPlane> {
public:
    explicit TPcbSplitPlane(THandle handle = 0) : TPcbOutlineObject(eSplitPlaneObject, handle) {}
};

class TPCBRegion : public TPcbRecordObject<pcbapi::TRegionRecord, &PcbApi_QueryRegion> {
public:
    explicit TPCBRegion(THandle handle = 0) : TPcbRecordObject(eRegionObject, handle) {}
};

// Drawn by the primitives it owns.
class TPcbCoordinate : public TPcbRecordObject<pcbapi::TCoordinateRecord, &PcbApi_QueryCoordinate, TPcbGroupObject> {
public:
    explicit TPcbCoordinate(THandle handle = 0) : TPcbRecordObject(eCoordinateObject, handle) {}
};

// Kinds that give the exporter nothing beyond the common values.
#define PCB_DECLARE_PLAIN_OBJECT(ClassName, RecordType, Query, Kind)                         \
    class ClassName : public TPcbRecordObject<RecordType, &Query> {                          \
    public:                                                                                  \
        explicit ClassName(THandle handle = 0) : TPcbRecordObject(Kind, handle) {}           \
    };
PCB_DECLARE_PLAIN_OBJECT(TPcbEmbeddedBoard, pcbapi::TPrimitiveRecord, PcbApi_QueryEmbeddedBoard, eEmbeddedBoardObject)
PCB_DECLARE_PLAIN_OBJECT(TPcbFromTo, pcbapi::TPrimitiveRecord, PcbApi_QueryFromTo, eFromToObject)
PCB_DECLARE_PLAIN_OBJECT(TPcbManualFromTo, pcbapi::TManualFromToRecord, PcbApi_QueryManualFromTo, eManualFromToObject)
PCB_DECLARE_PLAIN_OBJECT(TPcbComponentBody, pcbapi::TPrimitiveRecord, PcbApi_QueryComponentBody,
                         eComponentBodyObject)
PCB_DECLARE_PLAIN_OBJECT(TPcbDifferentialPair, pcbapi::TPrimitiveRecord, PcbApi_QueryDifferentialPair,
                         eDifferentialPairObject)
PCB_DECLARE_PLAIN_OBJECT(TPcbEmbedded, pcbapi::TPrimitiveRecord, PcbApi_QueryEmbedded, eEmbeddedObject)
PCB_DECLARE_PLAIN_OBJECT(TPcbViolation, pcbapi::TPrimitiveRecord, PcbApi_QueryViolation, eViolationObject)
#undef PCB_DECLARE_PLAIN_OBJECT

// Dimension types.
constexpr uint8_t LinearDimension = 1;
constexpr uint8_t AngularDimension = 2;
constexpr uint8_t RadialDimension = 3;
constexpr uint8_t LeaderDimension = 4;
constexpr uint8_t DatumDimension = 5;
constexpr uint8_t BaselineDimension = 6;
constexpr uint8_t CenterDimension = 7;
constexpr uint8_t OriginalDimension = 8;
constexpr uint8_t LinearDiameterDimension = 9;
constexpr uint8_t RadialDiameterDimension = 10;

// A dimension: its own values, its references and the extended values. The
// class of each type also transfers the values of its type.
class TPcbDimension : public TPcbRecordObject<pcbapi::TDimensionRecord, &PcbApi_QueryDimension, TPcbGroupObject> {
public:
    explicit TPcbDimension(THandle handle = 0) : TPcbDimension(OriginalDimension, handle) {}
    int32_t ReadWrite(uint8_t mode) override;
    uint8_t DimensionType() const { return Rec.DimensionType; }
    TCoord LineWidth() const override { return Rec.LineWidth; }
    std::string TextFormat() const { return Rec.TextFormat.Str(); }
    uint8_t UnitCode() const { return Rec.UnitCode; }
    int32_t Precision() const { return Rec.Precision; }
    uint8_t UnitStyle() const { return Rec.UnitStyle; }
    TCoord TextHeight() const { return Rec.TextHeight; }
    TCoord TextWidth() const { return Rec.TextWidth; }
    int32_t ReferenceCount() const { return static_cast<int32_t>(References_.size()); }
    const pcbapi::TDimensionReference& Reference(int32_t index) const { return References_[index]; }
    const pcbapi::TExtDimensionRecord& ExtendedValues() const { return Extended_; }
    TCoord ArrowSize() const { return Extended_.ArrowSize; }
    // The values of the dimension's type (zero for a plain dimension).
    const pcbapi::TDimensionTypeRecord& TypeValues() const { return TypeValues_; }
    double DimensionAngle() const { return TypeValues_.DimensionAngle; }
    void SetLineWidth(TCoord width) override { Rec.LineWidth = width; }

protected:
    TPcbDimension(uint8_t dimensionType, THandle handle);
    // The query of the dimension's type; none for a plain dimension.
    virtual void TransferTypeValues(uint8_t) {}
    pcbapi::TDimensionTypeRecord TypeValues_;

private:
    std::vector<pcbapi::TDimensionReference> References_;
    pcbapi::TExtDimensionRecord Extended_;
};

#define PCB_DECLARE_DIMENSION(ClassName, BaseName, Type, Query)                                         \
    class ClassName : public BaseName {                                                                 \
    public:                                                                                             \
        explicit ClassName(THandle handle = 0) : BaseName(Type, handle) {}                              \
                                                                                                        \
    protected:                                                                                          \
        ClassName(uint8_t dimensionType, THandle handle) : BaseName(dimensionType, handle) {}           \
        void TransferTypeValues(uint8_t mode) override { Query(mode, Handle(), &TypeValues_); }         \
    };
PCB_DECLARE_DIMENSION(TPCBLinearDimension, TPcbDimension, LinearDimension, PcbApi_QueryLinearDimension)
PCB_DECLARE_DIMENSION(TPCBAngularDimension, TPcbDimension, AngularDimension, PcbApi_QueryAngularDimension)
PCB_DECLARE_DIMENSION(TPCBRadialDimension, TPcbDimension, RadialDimension, PcbApi_QueryRadialDimension)
PCB_DECLARE_DIMENSION(TPCBLeaderDimension, TPcbDimension, LeaderDimension, PcbApi_QueryLeaderDimension)
PCB_DECLARE_DIMENSION(TPCBDatumDimension, TPcbDimension, DatumDimension, PcbApi_QueryDatumDimension)
PCB_DECLARE_DIMENSION(TPCBCenterDimension, TPcbDimension, CenterDimension, PcbApi_QueryCenterDimension)
#undef PCB_DECLARE_DIMENSION

class TPCBLinearDiameterDimension : public TPCBLinearDimension {
public:
    explicit TPCBLinearDiameterDimension(THandle handle = 0)
        : TPCBLinearDimension(LinearDiameterDimension, handle) {}
};

class TPCBRadialDiameterDimension : public TPCBRadialDimension {
public:
    explicit TPCBRadialDiameterDimension(THandle handle = 0)
        : TPCBRadialDimension(RadialDiameterDimension, handle) {}
};

class TPCBOriginalDimension : public TPcbDimension {
public:
    explicit TPCBOriginalDimension(THandle handle = 0) : TPcbDimension(OriginalDimension, handle) {}
};

// Also reads its text locations.
class TPCBBaselineDimension : public TPcbDimension {
public:
    explicit TPCBBaselineDimension(THandle handle = 0) : TPcbDimension(BaselineDimension, handle) {}
    int32_t TextLocationCount() const { return static_cast<int32_t>(TextLocations_.size()); }
    const pcbapi::TTextLocation& TextLocation(int32_t index) const { return TextLocations_[index]; }

protected:
    void TransferTypeValues(uint8_t mode) override;

private:
    std::vector<pcbapi::TTextLocation> TextLocations_;
};

// A new, unread wrapper of the class of a dimension type; a plain
// TPcbDimension for a type without a class of its own.
std::unique_ptr<TPcbDimension> CreateDimensionForType(uint8_t dimensionType, THandle handle);

// --- layers ------------------------------------------------------------------

// One layer of one board.
class TLayerObject {
public:
    TLayerObject(THandle board, TLayerId id);
    virtual ~TLayerObject() = default;
    TLayerObject(const TLayerObject&) = delete;
    TLayerObject& operator=(const TLayerObject&) = delete;

    // The layer record, then the dielectric; the status of the first.
    int32_t ReadWrite(uint8_t mode);

    THandle Board() const { return Board_; }
    TLayerId LayerId() const { return LayerId_; }
    std::string Name() const { return Rec.Name.Str(); }
    TCoord CopperThickness() const { return Rec.CopperThickness; }
    bool Enabled() const { return Rec.Enabled != 0; }
    bool SecondFlag() const { return Rec.Flag2 != 0; }
    TLayerId PreviousLayer() const { return LayerIdFromHost(Rec.PreviousLayer); }
    TLayerId NextLayer() const { return LayerIdFromHost(Rec.NextLayer); }
    uint8_t FurtherByte() const { return Rec.FurtherByte; }
    std::string DielectricMaterial() const { return Dielectric.Material.Str(); }
    uint8_t DielectricType() const { return Dielectric.Type; }
    double DielectricConstant() const { return Dielectric.Constant; }
    TCoord DielectricHeight() const { return Dielectric.Height; }
    bool IsInLayerStack() const { return PreviousLayer() != NoLayer || NextLayer() != NoLayer; }

    void SetName(std::string_view name) { Rec.Name.Assign(name); }
    void SetCopperThickness(TCoord thickness) { Rec.CopperThickness = thickness; }
    void SetEnabled(bool on) { Rec.Enabled = on ? 1 : 0; }
    void SetPreviousLayer(TLayerId layer) { Rec.PreviousLayer = HostLayerFromId(layer); }
    void SetNextLayer(TLayerId layer) { Rec.NextLayer = HostLayerFromId(layer); }
    void SetDielectricMaterial(std::string_view material) { Dielectric.Material.Assign(material); }
    void SetDielectricType(uint8_t type) { Dielectric.Type = type; }
    void SetDielectricConstant(double constant) { Dielectric.Constant = constant; }
    void SetDielectricHeight(TCoord height) { Dielectric.Height = height; }

protected:
    virtual int32_t TransferLayer(uint8_t mode);
    pcbapi::TLayerRecord Rec;

private:
    THandle Board_;
    TLayerId LayerId_;
    pcbapi::TDielectricRecord Dielectric;
};

// An internal plane (ids 39 to 54): a layer with the net connected to it.
class TInternalPlane : public TLayerObject {
public:
    TInternalPlane(THandle board, TLayerId id);
    std::string NetName() const { return NetName_.Str(); }
    void SetNetName(std::string_view name) { NetName_.Assign(name); }

protected:
    int32_t TransferLayer(uint8_t mode) override;

private:
    pcbapi::TName255 NetName_;
};

// A new layer object of the class the id needs.
std::unique_ptr<TLayerObject> CreateLayerObject(THandle board, TLayerId id);

// One drill pair of the board. Its layers are host values.
class TPcblayerPair {
public:
    TPcblayerPair(THandle board, int32_t index) : Board_(board), Index_(index) {}
    int32_t ReadWrite(uint8_t mode) { return PcbApi_QueryBoardLayerPairAt(mode, Board_, Index_, &Rec); }
    pcbapi::THostLayer LowLayer() const { return Rec.LowLayer; }
    pcbapi::THostLayer HighLayer() const { return Rec.HighLayer; }
    uint8_t Flag1() const { return Rec.Flag1; }
    uint8_t Flag2() const { return Rec.Flag2; }
    const std::string& Name() const { return Name_; }
    void SetName(std::string_view name) { Name_ = common::ShortStr(name); }

private:
    THandle Board_;
    int32_t Index_;
    pcbapi::TLayerPairRecord Rec;
    std::string Name_;
};

// --- the board ---------------------------------------------------------------

class TPcbBoard {
public:
    // Creates the layer objects; nothing is read yet.
    explicit TPcbBoard(THandle board);
    TPcbBoard(const TPcbBoard&) = delete;
    TPcbBoard& operator=(const TPcbBoard&) = delete;

    // The board record, the layer infos, the layer objects, then the split
    // plane mode, grids, option records, layer pairs and external
    // dielectrics; the status of the board record.
    int32_t ReadWrite(uint8_t mode);

    THandle Handle() const { return Handle_; }
    std::string FileName() const { return Rec.FileName.Str(); }
    bool IsLibrary() const { return Rec.IsLibrary != 0; }
    // True: the output is written in mil; false: in millimetres.
    bool DisplayUnitImperial() const { return Rec.DisplayUnitImperial != 0; }
    TLayerId CurrentLayer() const { return LayerIdFromHost(Rec.CurrentLayer); }
    // The snap grid in host units.
    double Grid() const { return Grids_.SnapGridX; }
    const pcbapi::TBoardGridsRecord& Grids() const { return Grids_; }
    uint8_t SplitPlaneMode() const { return SplitPlaneMode_; }
    int32_t LayerInfo(TLayerId id) const { return id >= 1 && id <= MaxLayerId ? LayerInfo_[id] : 0; }
    const pcbapi::TDielectricRecord& TopDielectric() const { return TopDielectric_; }
    const pcbapi::TDielectricRecord& BottomDielectric() const { return BottomDielectric_; }
    // Null for id 0 and ids above 82.
    TLayerObject* LayerObject(TLayerId id) const;
    const std::vector<std::unique_ptr<TPcblayerPair>>& LayerPairs() const { return LayerPairs_; }

    // The layer stack, top to bottom.
    TLayerObject* FirstLayerInStack() const;
    TLayerObject* NextLayerInStack(const TLayerObject* layer) const;
    // The 1-based position of the layer among the stack's layers of the set;
    // 0 when the layer is not in the set.
    int StackPosition(const TLayerSet& layers, const TLayerObject* layer) const;

    // The host's in-use flag of the layer; never for 0 and the system layers.
    bool IsLayerUsed(TLayerId id) const;

    // Place or remove an object on the board; handle 0 reports failure (1).
    int32_t AddObject(THandle object) const;
    int32_t RemoveObject(THandle object) const;
    pcbapi::TRect GetBoundingRectangle() const;

    // Calls `visit` for every object of each kind in the set (codes 0 to 25)
    // on each layer of the set, kinds and layers in increasing order. Layer 0
    // stands for all layers.
    void IterateObjects(const std::function<void(THandle)>& visit, pcbapi::TKindSet kinds, uint8_t method,
                        const TLayerSet& layers) const;

private:
    void TransferLayerPairs(uint8_t mode);
    std::string LayerPairName(const TPcblayerPair& pair) const;

    THandle Handle_;
    pcbapi::TBoardRecord Rec;
    int32_t LayerInfo_[LayerIdCount] = {};
    std::unique_ptr<TLayerObject> LayerObjects_[LayerIdCount];
    uint8_t SplitPlaneMode_ = 1;
    pcbapi::TBoardGridsRecord Grids_;
    pcbapi::TBoardOptionsRecord OutputOptions_, GerberOptions_, PrinterOptions_, PlacerOptions_, ChangeOrderOptions_;
    std::vector<std::unique_ptr<TPcblayerPair>> LayerPairs_;
    pcbapi::TDielectricRecord TopDielectric_, BottomDielectric_;
};

// --- iteration -----------------------------------------------------------------

// Iteration methods.
constexpr uint8_t AllObjectsMethod = 0;
// Only the objects that no component owns.
constexpr uint8_t FreeObjectsMethod = 1;

// A host iterator over a container (a board, a component or group object, or
// a net for its pads), destroyed with the wrapper.
class TPcbIterator {
public:
    TPcbIterator(THandle container, uint8_t kind, uint8_t method, TLayerId layer);
    ~TPcbIterator();
    TPcbIterator(const TPcbIterator&) = delete;
    TPcbIterator& operator=(const TPcbIterator&) = delete;
    // 0 at the end.
    THandle First() const;
    THandle Next() const;

private:
    THandle Iterator_;
};

// Calls `visit` with each object of the container in host order.
void ForEachObject(THandle container, uint8_t kind, uint8_t method, TLayerId layer,
                   const std::function<void(THandle)>& visit);

// The host's spatial iterator: objects of the kinds in `kinds` on the layers
// of `layers` within the rectangle.
class TPcbSpatialIterator {
public:
    TPcbSpatialIterator(THandle board, const pcbapi::TRect& rect, pcbapi::TKindSet kinds, const TLayerSet& layers);
    ~TPcbSpatialIterator();
    TPcbSpatialIterator(const TPcbSpatialIterator&) = delete;
    TPcbSpatialIterator& operator=(const TPcbSpatialIterator&) = delete;
    // 0 at the end; `kind` receives the object's kind.
    THandle First(uint8_t& kind) const;
    THandle Next(uint8_t& kind) const;

private:
    THandle Iterator_;
};

// --- the factory and reads by handle --------------------------------------------

// The kind of the object behind the handle (low 7 bits of its host object
// id); 0 for handle 0.
uint8_t ObjectKindOf(THandle object);

// A wrapper of the class the object's kind selects, already read; none for
// handle 0 and for a kind without a wrapper class. Dimensions get a plain
// TPcbDimension, rules a TPcbRule.
std::unique_ptr<TPCBObject> CreateForHandle(THandle object);

// One property of the object behind the handle; 0, false or the empty text
// for handle 0 and for a kind without a wrapper class.
TCoord XOf(THandle object);
TCoord YOf(THandle object);
TCoord X2Of(THandle object);
TCoord Y2Of(THandle object);
TLayerId LayerOf(THandle object);
THandle NetOf(THandle object);
THandle OwnerGroupOf(THandle object);
std::string NameOf(THandle object);
double RotationOf(THandle object);
TCoord WidthOf(THandle object);
bool MirroredOf(THandle object);
std::string TextOf(THandle object);

}  // namespace pcb
