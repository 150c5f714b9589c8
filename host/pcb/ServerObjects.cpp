#include "ServerObjects.h"

namespace hostpcb {

bool IsLayerInUse(Document& doc, THostLayer layer) {
    auto it = doc.Current().byLayer.find(layer);
    if (it != doc.Current().byLayer.end() && !it->second.empty()) return true;
    auto state = doc.layers.find(layer);
    if (state == doc.layers.end()) return false;
    const LayerState& s = state->second;
    return s.enabled && (s.previous != 0 || s.next != 0);
}

host::IPcbBoardObject* PCBAPI_CALL ServerObjects::GetBoardByHandle(pcbapi::THandle board) {
    Document* doc = db_.FindBoard(board);
    if (!doc) return nullptr;
    auto& slot = boards_[board];
    if (!slot) slot = std::make_unique<Board>(*doc);
    return slot.get();
}

host::IPcbLayerObject* PCBAPI_CALL ServerObjects::Board::LayerObject(THostLayer layer) {
    if (LayerName(layer).empty()) return nullptr;
    auto& slot = layers_[layer];
    if (!slot) slot = std::make_unique<ServerObjects::LayerObject>(doc_, layer);
    return slot.get();
}

}  // namespace hostpcb
