// The module's exports for the records of board objects: read (mode 1) and
// write back (mode 0; mode 2 carries a component's primitives along).
#include <algorithm>
#include <cctype>

#include "Module.h"
#include "Scope.h"

using namespace pcbapi;

namespace hostpcb {
namespace {

Database& Db() { return State().db; }

void TransferCoord(uint8_t mode, double& stored, TCoord& record) {
    if (mode == ModeRead)
        record = RoundCoord(stored);
    else
        StoreCoord(stored, record);
}

void TransferPoint(uint8_t mode, Point& stored, TCoord& x, TCoord& y) {
    TransferCoord(mode, stored.x, x);
    TransferCoord(mode, stored.y, y);
}

template <int N>
void TransferText(uint8_t mode, std::string& stored, TPString<N>& record) {
    if (mode == ModeRead)
        record.Assign(stored);
    else
        stored = record.Str();
}

void ReadCommon(const Object& o, TPrimitiveRecord& r) {
    r.X = RoundCoord(o.p.x);
    r.Y = RoundCoord(o.p.y);
    r.Layer = o.layer;
    r.Net = Db().Find(o.net) ? o.net : 0;
    r.Component = o.component;
    r.StateFlags = o.stateFlags;
    r.ExtraWord = o.extraWord;
    r.ExtraByte = o.extraByte;
}

// The owner is not part of what a record writes: ownership changes through
// the container functions only.
void WriteCommon(Object& o, const TPrimitiveRecord& r) {
    StoreCoord(o.p.x, r.X);
    StoreCoord(o.p.y, r.Y);
    Db().SetLayer(o, r.Layer);
    Db().SetNet(o, r.Net);
    o.stateFlags = r.StateFlags;
    o.extraWord = r.ExtraWord;
    o.extraByte = r.ExtraByte;
}

// Runs the transfer of a kind's record: the common values, then the kind's own.
template <typename Rec, typename F>
int32_t Query(uint8_t mode, THandle handle, std::initializer_list<uint8_t> kinds, Rec* rec, F own) {
    Object* o = ObjectOf(handle);
    if (!o || !rec || mode > ModeWriteWithPrimitives) return Failed;
    if (kinds.size() && std::find(kinds.begin(), kinds.end(), o->kind) == kinds.end()) return Failed;
    if (mode == ModeRead)
        ReadCommon(*o, rec->Common);
    else
        WriteCommon(*o, rec->Common);
    own(*o, mode, *rec);
    return Ok;
}

// ---- pad and via stacks ----

PadShape& PadShapeOn(PadData& d, THostLayer layer) {
    int id = LayerTableIndex(layer);
    if (d.stackMode == 2 && d.stack) return (*d.stack)[id];
    if (id >= 2 && id <= 31) return d.mid;
    if (id == 32) return d.bottom;
    return d.top;
}

void MakeFullStack(PadData& d) {
    if (d.stack) return;
    d.stack = std::make_unique<std::array<PadShape, LayerTableSize>>();
    for (int l = 0; l < LayerTableSize; ++l) (*d.stack)[l] = l >= 2 && l <= 31 ? d.mid : l == 32 ? d.bottom : d.top;
}

// A via's diameter on a signal layer of its stack.
int32_t ViaSizeOn(const ViaData& v, int id) {
    if (v.stackMode == 0 || id < 1 || id > 32 || v.sizes[id] == 0) return v.size;
    return v.sizes[id];
}

THandle ComponentText(const Object& component, bool designator) {
    return designator ? component.comp->nameText : component.comp->commentText;
}

std::string DisplayString(const Object& text) {
    const std::string& s = text.text->text;
    Object* owner = ObjectOf(text.component, KindComponent);
    if (!owner) return s;
    auto special = [&](const char* word) {
        return s.size() == std::strlen(word) && std::equal(s.begin(), s.end(), word, [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
               });
    };
    for (bool designator : {true, false}) {
        if (!special(designator ? ".Designator" : ".Comment")) continue;
        Object* t = ObjectOf(ComponentText(*owner, designator), KindText);
        return t && t != &text ? t->text->text : "";
    }
    return s;
}

void TransferOutline(uint8_t mode, std::vector<Segment>& outline, int32_t& count, TOutlineSegment* segments) {
    if (mode == ModeRead) {
        count = static_cast<int32_t>(std::min(outline.size(), static_cast<size_t>(MaxOutlineSegments)));
        for (int32_t i = 0; i < count; ++i) {
            const Segment& s = outline[static_cast<size_t>(i)];
            TOutlineSegment& r = segments[i];
            r.Kind = s.kind;
            r.VX = RoundCoord(s.v.x);
            r.VY = RoundCoord(s.v.y);
            r.CX = RoundCoord(s.c.x);
            r.CY = RoundCoord(s.c.y);
            r.Radius = s.radius;
            r.Angle1 = s.angle1;
            r.Angle2 = s.angle2;
        }
        return;
    }
    size_t n = static_cast<size_t>(std::clamp(count, 0, MaxOutlineSegments));
    outline.resize(n);
    for (size_t i = 0; i < n; ++i) {
        Segment& s = outline[i];
        const TOutlineSegment& r = segments[i];
        s.kind = r.Kind;
        StoreCoord(s.v.x, r.VX);
        StoreCoord(s.v.y, r.VY);
        StoreCoord(s.c.x, r.CX);
        StoreCoord(s.c.y, r.CY);
        s.radius = r.Radius;
        s.angle1 = r.Angle1;
        s.angle2 = r.Angle2;
    }
}

int32_t PrimitiveOnly(uint8_t mode, THandle object, TPrimitiveRecord* rec, std::initializer_list<uint8_t> kinds) {
    Object* o = ObjectOf(object);
    if (!o || !rec || mode > ModeWriteWithPrimitives) return Failed;
    if (std::find(kinds.begin(), kinds.end(), o->kind) == kinds.end()) return Failed;
    if (mode == ModeRead)
        ReadCommon(*o, *rec);
    else
        WriteCommon(*o, *rec);
    return Ok;
}

}  // namespace
}  // namespace hostpcb

using namespace hostpcb;

extern "C" {

int32_t PCBAPI_CALL PcbApi_GetObjectBitField2(uint8_t mode, THandle object, uint8_t* bits) {
    Object* o = ObjectOf(object);
    if (!o || !bits || mode > ModeWriteWithPrimitives) return Failed;
    Transfer(mode, o->bits2, *bits);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_GetObjectBitField3(uint8_t mode, THandle object, uint16_t* bits) {
    Object* o = ObjectOf(object);
    if (!o || !bits || mode > ModeWriteWithPrimitives) return Failed;
    Transfer(mode, o->bits3, *bits);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryPrimitive(uint8_t mode, THandle object, TPrimitiveRecord* rec) {
    Object* o = ObjectOf(object);
    if (!o || !rec || mode > ModeWriteWithPrimitives) return Failed;
    if (mode == ModeRead)
        ReadCommon(*o, *rec);
    else
        WriteCommon(*o, *rec);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryTrack(uint8_t mode, THandle object, TTrackRecord* rec) {
    return Query(mode, object, {KindTrack}, rec, [](Object& o, uint8_t m, TTrackRecord& r) {
        TransferPoint(m, o.track->p2, r.X2, r.Y2);
        Transfer(m, o.track->width, r.Width);
        if (m == ModeRead) r.OwnerGroup = o.ownerGroup;
        Transfer(m, o.track->further1, r.Further1);
        Transfer(m, o.track->further2, r.Further2);
    });
}

int32_t PCBAPI_CALL PcbApi_QueryArc(uint8_t mode, THandle object, TArcRecord* rec) {
    return Query(mode, object, {KindArc}, rec, [](Object& o, uint8_t m, TArcRecord& r) {
        Transfer(m, o.arc->radius, r.Radius);
        Transfer(m, o.arc->start, r.StartAngle);
        Transfer(m, o.arc->end, r.EndAngle);
        Transfer(m, o.arc->width, r.LineWidth);
        Transfer(m, o.arc->further, r.Further);
    });
}

int32_t PCBAPI_CALL PcbApi_QueryFill(uint8_t mode, THandle object, TFillRecord* rec) {
    return Query(mode, object, {KindFill}, rec, [](Object& o, uint8_t m, TFillRecord& r) {
        TransferPoint(m, o.fill->p2, r.X2, r.Y2);
        Transfer(m, o.fill->rotation, r.Rotation);
        Transfer(m, o.fill->further, r.Further);
    });
}

int32_t PCBAPI_CALL PcbApi_QueryVia(uint8_t mode, THandle object, TViaRecord* rec) {
    if (rec && IsWrite(mode)) {
        auto valid = [](uint8_t l) { return l >= 1 && l <= 32; };
        if (!valid(rec->StartLayer) || !valid(rec->EndLayer)) return Failed;
    }
    return Query(mode, object, {KindVia}, rec, [](Object& o, uint8_t m, TViaRecord& r) {
        Transfer(m, o.via->size, r.Size);
        Transfer(m, o.via->hole, r.HoleSize);
        Transfer(m, o.via->startLayer, r.StartLayer);
        Transfer(m, o.via->endLayer, r.EndLayer);
        Transfer(m, o.via->flag1, r.Flag1);
        Transfer(m, o.via->flag2, r.Flag2);
    });
}

int32_t PCBAPI_CALL PcbApi_QueryPad(uint8_t mode, THandle object, TPadRecord* rec) {
    return Query(mode, object, {KindPad}, rec, [](Object& o, uint8_t m, TPadRecord& r) {
        PadData& d = *o.pad;
        Transfer(m, d.top.x, r.TopXSize);
        Transfer(m, d.top.y, r.TopYSize);
        Transfer(m, d.mid.x, r.MidXSize);
        Transfer(m, d.mid.y, r.MidYSize);
        Transfer(m, d.bottom.x, r.BotXSize);
        Transfer(m, d.bottom.y, r.BotYSize);
        Transfer(m, d.hole, r.HoleSize);
        Transfer(m, d.top.shape, r.TopShape);
        Transfer(m, d.mid.shape, r.MidShape);
        Transfer(m, d.bottom.shape, r.BotShape);
        TransferText(m, d.name, r.Name);
        Transfer(m, d.rotation, r.Rotation);
        Transfer(m, d.flag1, r.Flag1);
        Transfer(m, d.flag2, r.Flag2);
        Transfer(m, d.further, r.Further);
    });
}

int32_t PCBAPI_CALL PcbApi_QueryPadStackMode(uint8_t mode, THandle object, uint8_t* stackMode) {
    Object* o = ObjectOf(object, KindPad);
    if (!o || !stackMode || mode > ModeWriteWithPrimitives) return Failed;
    if (mode == ModeRead) {
        *stackMode = o->pad->stackMode;
        return Ok;
    }
    if (*stackMode > 2) return Failed;
    if (*stackMode == 2) MakeFullStack(*o->pad);
    o->pad->stackMode = *stackMode;
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryPadOrViaShapeOnLayer(THandle object, THostLayer layer, uint8_t* shape) {
    if (!shape) return Failed;
    *shape = 0;
    Object* o = ObjectOf(object);
    if (o && o->kind == KindPad) {
        *shape = PadShapeOn(*o->pad, layer).shape;
        return Ok;
    }
    if (o && o->kind == KindVia && ViaReaches(Db(), *o, layer)) {
        *shape = 1;
        return Ok;
    }
    return Failed;
}

int32_t PCBAPI_CALL PcbApi_QueryPadOrViaSizeOnLayer(THandle object, THostLayer layer, TCoord* x, TCoord* y) {
    if (!x || !y) return Failed;
    *x = *y = 0;
    Object* o = ObjectOf(object);
    if (o && o->kind == KindPad) {
        const PadShape& s = PadShapeOn(*o->pad, layer);
        *x = s.x;
        *y = s.y;
        return Ok;
    }
    if (o && o->kind == KindVia && ViaReaches(Db(), *o, layer)) {
        int id = LayerTableIndex(layer);
        *x = *y = IsSignalLayer(layer) ? ViaSizeOn(*o->via, id) : o->via->size;
        return Ok;
    }
    return Failed;
}

int32_t PCBAPI_CALL PcbApi_QueryPadCornerRadiusOnLayer(THandle object, THostLayer layer, TCoord* radius) {
    Object* o = ObjectOf(object, KindPad);
    if (!o || !radius) return Failed;
    const PadShape& s = PadShapeOn(*o->pad, layer);
    *radius = RoundCoord(static_cast<double>(std::min(s.x, s.y)) / 2 * s.cornerPercent / 100);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryPadCRPercentageOnLayer(THandle object, THostLayer layer, uint8_t* percentage) {
    Object* o = ObjectOf(object, KindPad);
    if (!o || !percentage) return Failed;
    *percentage = PadShapeOn(*o->pad, layer).cornerPercent;
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_SetPadShapeOnLayer(THandle object, THostLayer layer, uint8_t shape) {
    Object* o = ObjectOf(object, KindPad);
    if (!o || shape > 9) return Failed;
    PadShapeOn(*o->pad, layer).shape = shape;
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_SetPadSizeOnLayer(THandle object, THostLayer layer, TCoord x, TCoord y) {
    Object* o = ObjectOf(object, KindPad);
    if (!o || x < 0 || y < 0) return Failed;
    PadShape& s = PadShapeOn(*o->pad, layer);
    s.x = x;
    s.y = y;
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_SetCRPctOnLayer(THandle object, THostLayer layer, uint8_t percentage) {
    Object* o = ObjectOf(object, KindPad);
    if (!o || percentage > 100) return Failed;
    PadShapeOn(*o->pad, layer).cornerPercent = percentage;
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryViaStackMode(uint8_t mode, THandle object, uint8_t* stackMode) {
    Object* o = ObjectOf(object, KindVia);
    if (!o || !stackMode || mode > ModeWriteWithPrimitives) return Failed;
    if (IsWrite(mode) && *stackMode > 2) return Failed;
    Transfer(mode, o->via->stackMode, *stackMode);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryViaStackSizeOnLayer(uint8_t mode, THandle object, THostLayer layer, TCoord* size) {
    Object* o = ObjectOf(object, KindVia);
    int id = LayerTableIndex(layer);
    if (!o || !size || mode > ModeWriteWithPrimitives || id < 1 || id > 32) return Failed;
    if (mode == ModeRead) {
        *size = ViaSizeOn(*o->via, id);
        return Ok;
    }
    if (*size <= 0) return Failed;
    o->via->sizes[id] = *size;
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryText(uint8_t mode, THandle object, TTextRecord* rec) {
    return Query(mode, object, {KindText}, rec, [](Object& o, uint8_t m, TTextRecord& r) {
        TextData& d = *o.text;
        Transfer(m, d.size, r.Size);
        Transfer(m, d.width, r.Width);
        Transfer(m, d.font, r.FontId);
        Transfer(m, d.rotation, r.Rotation);
        uint8_t mirrored = d.mirrored;
        Transfer(m, mirrored, r.Mirrored);
        d.mirrored = mirrored != 0;
        TransferText(m, d.text, r.Text);
        if (m == ModeRead) r.OwnerGroup = o.ownerGroup;
        Transfer(m, d.further, r.Further);
    });
}

int32_t PCBAPI_CALL PcbApi_QueryTrueTypeTextInfo(uint8_t mode, THandle object, TTrueTypeRecord* rec) {
    Object* o = ObjectOf(object, KindText);
    if (!o || !rec || mode > ModeWriteWithPrimitives) return Failed;
    TransferText(mode, o->text->fontName, rec->FontName);
    for (size_t i = 0; i < 4; ++i) Transfer(mode, o->text->ttFlags[i], rec->Flags[i]);
    Transfer(mode, o->text->ttLength, rec->Length);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_GetDesignatorDisplayString(THandle object, TName255* text) {
    Object* o = ObjectOf(object, KindText);
    if (!text) return Failed;
    text->Assign("");
    if (!o) return Failed;
    std::string s = DisplayString(*o);
    text->Assign(std::string_view(s).substr(0, 254));
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryBarCodeTextInfo(uint8_t mode, THandle object, TBarCodeRecord* rec) {
    Object* o = ObjectOf(object, KindText);
    if (!o || !rec || mode > ModeWriteWithPrimitives) return Failed;
    Transfer(mode, o->text->barcode, *rec);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryComponentChannelOffset(uint8_t mode, THandle object, int32_t* offset) {
    Object* o = ObjectOf(object, KindComponent);
    if (!o || !offset || mode > ModeWriteWithPrimitives) return Failed;
    Transfer(mode, o->comp->channelOffset, *offset);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryComponentKind(uint8_t mode, THandle object, int32_t* kind) {
    Object* o = ObjectOf(object, KindComponent);
    if (!o || !kind || mode > ModeWriteWithPrimitives) return Failed;
    Transfer(mode, o->comp->componentKind, *kind);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryComponent(uint8_t mode, THandle object, TComponentRecord* rec) {
    Object* o = ObjectOf(object, KindComponent);
    if (!o || !rec || mode > ModeWriteWithPrimitives) return Failed;
    ComponentData& d = *o->comp;
    if (mode == ModeRead) {
        ReadCommon(*o, rec->Common);
        rec->Rotation = d.rotation;
        rec->NameText = d.nameText;
        rec->CommentText = d.commentText;
        rec->Pattern.Assign(d.pattern);
        rec->NameOn = d.nameOn;
        rec->CommentOn = d.commentOn;
        return Ok;
    }
    if (rec->Common.Layer != TopLayer && rec->Common.Layer != BottomLayer) return Failed;
    const Placement before = PlacementOf(*o);
    WriteCommon(*o, rec->Common);
    d.rotation = NormalizeAngle(rec->Rotation);
    d.pattern = rec->Pattern.Str();
    d.nameOn = rec->NameOn != 0;
    d.commentOn = rec->CommentOn != 0;
    if (mode == ModeWriteWithPrimitives) CarryPrimitives(Db(), *o, before, PlacementOf(*o));
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryComponentEx(uint8_t mode, THandle object, TComponentExRecord* rec) {
    Object* o = ObjectOf(object, KindComponent);
    if (!o || !rec || mode > ModeWriteWithPrimitives) return Failed;
    Transfer(mode, o->comp->ex, *rec);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryComponentSourceLinks(uint8_t mode, THandle object, TSourceLinksRecord* rec) {
    Object* o = ObjectOf(object, KindComponent);
    if (!o || !rec || mode > ModeWriteWithPrimitives) return Failed;
    for (size_t i = 0; i < 8; ++i) TransferText(mode, o->comp->sourceLinks[i], rec->Links[i]);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryDefaultPCB3DModel(uint8_t mode, THandle object, TModelRecord* rec) {
    Object* o = ObjectOf(object, KindComponent);
    if (!o || !rec || mode > ModeWriteWithPrimitives) return Failed;
    TransferText(mode, o->comp->model, rec->Reference);
    Transfer(mode, o->comp->modelValue, rec->Value);
    return Ok;
}

int32_t PCBAPI_CALL PcbApi_QueryNet(uint8_t mode, THandle object, TNetRecord* rec) {
    return Query(mode, object, {KindNet}, rec, [](Object& o, uint8_t m, TNetRecord& r) {
        TransferText(m, o.netData->name, r.Name);
        Transfer(m, o.netData->flag1, r.Flag1);
        Transfer(m, o.netData->flag2, r.Flag2);
    });
}

int32_t PCBAPI_CALL PcbApi_QueryPolygon(uint8_t mode, THandle object, TPolygonRecord* rec) {
    return Query(mode, object, {KindPolygon, KindBoardOutline}, rec, [](Object& o, uint8_t m, TPolygonRecord& r) {
        OutlineData& d = *o.shape;
        Transfer(m, d.removeDead, r.RemoveDead);
        Transfer(m, d.grid, r.Grid);
        Transfer(m, d.trackWidth, r.TrackWidth);
        Transfer(m, d.hatch, r.HatchStyle);
        TransferOutline(m, d.outline, r.SegmentCount, r.Segments);
        for (size_t i = 0; i < 4; ++i) Transfer(m, d.furtherBytes[i], r.FurtherBytes[i]);
        Transfer(m, d.furtherInt, r.FurtherInt);
    });
}

int32_t PCBAPI_CALL PcbApi_QuerySplitPlane(uint8_t mode, THandle object, TSplitPlaneRecord* rec) {
    return Query(mode, object, {KindSplitPlane}, rec, [](Object& o, uint8_t m, TSplitPlaneRecord& r) {
        TransferOutline(m, o.shape->outline, r.SegmentCount, r.Segments);
        Transfer(m, o.shape->furtherBytes[0], r.FurtherByte);
    });
}

int32_t PCBAPI_CALL PcbApi_QueryRegion(uint8_t mode, THandle object, TRegionRecord* rec) {
    return Query(mode, object, {KindRegion}, rec, [](Object& o, uint8_t m, TRegionRecord& r) {
        Transfer(m, o.shape->regionKind, r.Kind);
        Transfer(m, o.shape->furtherInt, r.FurtherInt);
    });
}

int32_t PCBAPI_CALL PcbApi_QueryCoordinate(uint8_t mode, THandle object, TCoordinateRecord* rec) {
    return Query(mode, object, {KindCoordinate}, rec, [](Object& o, uint8_t m, TCoordinateRecord& r) {
        for (size_t i = 0; i < 6; ++i) Transfer(m, o.dim->further[i], r.Further[i]);
    });
}

int32_t PCBAPI_CALL PcbApi_QueryEmbeddedBoard(uint8_t mode, THandle object, TPrimitiveRecord* rec) {
    return PrimitiveOnly(mode, object, rec, {KindEmbeddedBoard});
}

int32_t PCBAPI_CALL PcbApi_QueryFromTo(uint8_t mode, THandle object, TPrimitiveRecord* rec) {
    return PrimitiveOnly(mode, object, rec, {KindFromTo});
}

int32_t PCBAPI_CALL PcbApi_QueryManualFromTo(uint8_t mode, THandle object, TManualFromToRecord* rec) {
    return Query(mode, object, {KindManualFromTo}, rec, [](Object&, uint8_t m, TManualFromToRecord& r) {
        if (m == ModeRead) r.FromPad = r.ToPad = 0;
    });
}

int32_t PCBAPI_CALL PcbApi_QueryComponentBody(uint8_t mode, THandle object, TPrimitiveRecord* rec) {
    return PrimitiveOnly(mode, object, rec, {KindComponentBody});
}

int32_t PCBAPI_CALL PcbApi_QueryDifferentialPair(uint8_t mode, THandle object, TPrimitiveRecord* rec) {
    return PrimitiveOnly(mode, object, rec, {KindDifferentialPair});
}

int32_t PCBAPI_CALL PcbApi_QueryEmbedded(uint8_t mode, THandle object, TPrimitiveRecord* rec) {
    return PrimitiveOnly(mode, object, rec, {KindEmbedded});
}

int32_t PCBAPI_CALL PcbApi_QueryViolation(uint8_t mode, THandle object, TPrimitiveRecord* rec) {
    return PrimitiveOnly(mode, object, rec, {KindViolation});
}

}  // extern "C"
