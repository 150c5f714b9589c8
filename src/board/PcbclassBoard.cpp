#include "board/Pcbclass.h"
#include "shell/ModuleState.h"

namespace pcb {
namespace {

void SetDielectricDefaults(pcbapi::TDielectricRecord& dielectric) {
    dielectric.Material.Assign("FR-4");
    dielectric.Type = 1;
    dielectric.Constant = 4.8;
    dielectric.Height = 126000;  // 12.6 mil
}

// The longest walk a layer stack can have: every layer once. A stack whose
// links loop is walked no further.
constexpr int MaxStackLength = MaxLayerId;

}  // namespace

// --- layer objects ------------------------------------------------------------------

TLayerObject::TLayerObject(THandle board, TLayerId id) : Board_(board), LayerId_(id) {
    Rec.Name.Assign(LayerName(id));
    Rec.CopperThickness = 14000;  // 1.4 mil
    SetDielectricDefaults(Dielectric);
}

int32_t TLayerObject::ReadWrite(uint8_t mode) {
    const int32_t status = TransferLayer(mode);
    PcbApi_QueryLayerDielectric(mode, Board_, HostLayerFromId(LayerId_), &Dielectric);
    return status;
}

int32_t TLayerObject::TransferLayer(uint8_t mode) {
    return PcbApi_QueryLayer(mode, Board_, HostLayerFromId(LayerId_), &Rec);
}

TInternalPlane::TInternalPlane(THandle board, TLayerId id) : TLayerObject(board, id) { NetName_.Assign("(No Net)"); }

int32_t TInternalPlane::TransferLayer(uint8_t mode) {
    pcbapi::TInternalPlaneRecord plane;
    plane.Layer = Rec;
    plane.NetName = NetName_;
    const int32_t status = PcbApi_QueryInternalPlane(mode, Board(), HostLayerFromId(LayerId()), &plane);
    Rec = plane.Layer;
    NetName_ = plane.NetName;
    return status;
}

std::unique_ptr<TLayerObject> CreateLayerObject(THandle board, TLayerId id) {
    if (IsInternalPlane(id)) return std::make_unique<TInternalPlane>(board, id);
    return std::make_unique<TLayerObject>(board, id);
}

// --- the board ------------------------------------------------------------------------

TPcbBoard::TPcbBoard(THandle board) : Handle_(board) {
    for (int id = 1; id <= MaxLayerId; ++id) LayerObjects_[id] = CreateLayerObject(board, static_cast<TLayerId>(id));
    SetDielectricDefaults(TopDielectric_);
    SetDielectricDefaults(BottomDielectric_);
}

int32_t TPcbBoard::ReadWrite(uint8_t mode) {
    const int32_t status = PcbApi_QueryBoard(mode, Handle_, &Rec);
    for (int id = 1; id <= MaxLayerId; ++id)
        PcbApi_QueryBoardLayerInfo(mode, Handle_, HostLayerFromId(static_cast<TLayerId>(id)), &LayerInfo_[id]);
    for (int id = 1; id <= MaxLayerId; ++id) LayerObjects_[id]->ReadWrite(mode);
    PcbApi_QueryBoardSplitPlaneMode(mode, Handle_, &SplitPlaneMode_);
    PcbApi_QueryBoardGridsEx(mode, Handle_, &Grids_);
    PcbApi_QueryBoardOutputOptions(mode, Handle_, &OutputOptions_);
    PcbApi_QueryBoardGerberOptions(mode, Handle_, &GerberOptions_);
    PcbApi_QueryBoardPrinterOptions(mode, Handle_, &PrinterOptions_);
    PcbApi_QueryBoardPlacerOptions(mode, Handle_, &PlacerOptions_);
    PcbApi_QueryBoardChangeOrderOptions(mode, Handle_, &ChangeOrderOptions_);
    TransferLayerPairs(mode);
    PcbApi_QueryBoardExternalDielectrics(mode, Handle_, &TopDielectric_, &BottomDielectric_);
    return status;
}

void TPcbBoard::TransferLayerPairs(uint8_t mode) {
    if (mode == 0) {
        for (const auto& pair : LayerPairs_) pair->ReadWrite(0);
        return;
    }
    LayerPairs_.clear();
    int32_t count = 0;
    if (PcbApi_QueryBoardLayerPairsCount(Handle_, &count) != 0) return;
    for (int32_t index = 0; index < count; ++index) {
        auto pair = std::make_unique<TPcblayerPair>(Handle_, index);
        pair->ReadWrite(mode);
        pair->SetName(LayerPairName(*pair));
        LayerPairs_.push_back(std::move(pair));
    }
}

std::string TPcbBoard::LayerPairName(const TPcblayerPair& pair) const {
    const TLayerId low = LayerIdFromHost(pair.LowLayer());
    const TLayerId high = LayerIdFromHost(pair.HighLayer());
    auto nameOf = [this](TLayerId id) {
        const TLayerObject* layer = LayerObject(id);
        return layer ? layer->Name() : std::string(LayerName(id));
    };
    const bool highFirst =
        StackPosition(ElectricalLayers, LayerObject(high)) < StackPosition(ElectricalLayers, LayerObject(low));
    return highFirst ? nameOf(high) + " - " + nameOf(low) : nameOf(low) + " - " + nameOf(high);
}

TLayerObject* TPcbBoard::LayerObject(TLayerId id) const {
    return id >= 1 && id <= MaxLayerId ? LayerObjects_[id].get() : nullptr;
}

TLayerObject* TPcbBoard::FirstLayerInStack() const {
    for (int id = 1; id <= MaxLayerId; ++id)
        if (LayerObjects_[id]->PreviousLayer() == NoLayer) return LayerObjects_[id].get();
    return nullptr;
}

TLayerObject* TPcbBoard::NextLayerInStack(const TLayerObject* layer) const {
    return layer ? LayerObject(layer->NextLayer()) : nullptr;
}

int TPcbBoard::StackPosition(const TLayerSet& layers, const TLayerObject* layer) const {
    if (!layer || !layers.Contains(layer->LayerId())) return 0;
    int position = 0;
    const TLayerObject* current = FirstLayerInStack();
    for (int step = 0; current && step < MaxStackLength; ++step, current = NextLayerInStack(current)) {
        if (layers.Contains(current->LayerId())) ++position;
        if (current == layer) break;
    }
    return position;
}

bool TPcbBoard::IsLayerUsed(TLayerId id) const {
    if (id == NoLayer || id >= ConnectLayer) return false;
    host::IHostClient* client = shell::ModuleState().HostClient;
    host::IServerModule* module = client ? client->GetServerModuleByName("PCB") : nullptr;
    host::IPcbServerObjects* objects = module ? module->GetPcbObjects() : nullptr;
    host::IPcbBoardObject* board = objects ? objects->GetBoardByHandle(Handle_) : nullptr;
    host::IPcbLayerStack* stack = board ? board->GetLayerStack() : nullptr;
    host::IPcbLayerObject* layer = stack ? stack->LayerObject(HostLayerFromId(id)) : nullptr;
    return layer && layer->IsUsed() != 0;
}

int32_t TPcbBoard::AddObject(THandle object) const {
    return object ? PcbApi_AddObjectToContainer(Handle_, object) : 1;
}

int32_t TPcbBoard::RemoveObject(THandle object) const {
    return object ? PcbApi_DeleteObjectFromContainer(Handle_, object) : 1;
}

pcbapi::TRect TPcbBoard::GetBoundingRectangle() const {
    pcbapi::TRect rect;
    PcbApi_QueryObjectBoundingRectangle(Handle_, &rect);
    return rect;
}

void TPcbBoard::IterateObjects(const std::function<void(THandle)>& visit, pcbapi::TKindSet kinds, uint8_t method,
                               const TLayerSet& layers) const {
    for (uint8_t kind = 0; kind <= eBoardObject; ++kind) {
        if (!KindSetContains(kinds, kind)) continue;
        for (int id = 0; id <= MaxLayerId; ++id)
            if (layers.Contains(static_cast<TLayerId>(id)))
                ForEachObject(Handle_, kind, method, static_cast<TLayerId>(id), visit);
    }
}

// --- iterators ------------------------------------------------------------------------

TPcbIterator::TPcbIterator(THandle container, uint8_t kind, uint8_t method, TLayerId layer)
    : Iterator_(PcbApi_CreateIterator(container, kind, method, HostLayerFromId(layer))) {}

TPcbIterator::~TPcbIterator() {
    if (Iterator_) PcbApi_DestroyIterator(Iterator_);
}

THandle TPcbIterator::First() const { return Iterator_ ? PcbApi_GetFirstObject(Iterator_) : 0; }

THandle TPcbIterator::Next() const { return Iterator_ ? PcbApi_GetNextObject(Iterator_) : 0; }

void ForEachObject(THandle container, uint8_t kind, uint8_t method, TLayerId layer,
                   const std::function<void(THandle)>& visit) {
    TPcbIterator iterator(container, kind, method, layer);
    for (THandle object = iterator.First(); object; object = iterator.Next()) visit(object);
}

TPcbSpatialIterator::TPcbSpatialIterator(THandle board, const pcbapi::TRect& rect, pcbapi::TKindSet kinds,
                                         const TLayerSet& layers) {
    const pcbapi::THostLayerSet hostLayers = layers.ToHostLayerSet();
    Iterator_ = PcbApi_CreateSpatialIterator(board, &rect, kinds, &hostLayers);
}

TPcbSpatialIterator::~TPcbSpatialIterator() {
    if (Iterator_) PcbApi_DestroyIterator(Iterator_);
}

THandle TPcbSpatialIterator::First(uint8_t& kind) const {
    kind = 0;
    return Iterator_ ? PcbApi_GetFirstSpatialObject(Iterator_, &kind) : 0;
}

THandle TPcbSpatialIterator::Next(uint8_t& kind) const {
    kind = 0;
    return Iterator_ ? PcbApi_GetNextSpatialObject(Iterator_, &kind) : 0;
}

}  // namespace pcb
