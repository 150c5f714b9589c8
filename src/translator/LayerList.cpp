#include "translator/LayerList.h"

#include <algorithm>
#include <array>

namespace translator {
namespace {

using namespace pcb;

// The target format's own standard layers, in its order. The twentieth is
// Mechanical4, not Mechanical3.
constexpr std::array<TLayerId, 20> FixedLayers = {
    TopLayer,    BottomLayer, KeepOutLayer, TopSolder, BottomSolder, TopOverlay, BottomOverlay,
    TopPaste,    BottomPaste, Mechanical1,  Mechanical1 + 1, MidLayer1, MidLayer1 + 1, MidLayer1 + 2,
    MidLayer1 + 3, MidLayer1 + 4, MidLayer1 + 5, MidLayer1 + 6, MidLayer1 + 7, Mechanical1 + 3,
};

// The highest host layer that can enter the list.
constexpr TLayerId LastListedLayer = Mechanical16;

bool Holds(const std::vector<uint8_t>& layerList, TLayerId layer) {
    return std::find(layerList.begin(), layerList.end(), layer) != layerList.end();
}

void AppendMissing(std::vector<uint8_t>& layerList, TLayerId layer) {
    if (!Holds(layerList, layer)) layerList.push_back(layer);
}

bool IsPlaneInStack(const TPcbBoard& board, TLayerId layer) {
    if (!IsInternalPlane(layer)) return false;
    const TLayerObject* object = board.LayerObject(layer);
    return object && object->IsInLayerStack();
}

}  // namespace

void BuildLayerList(const TPcbBoard& board, std::vector<uint8_t>& layerList) {
    for (TLayerId layer : FixedLayers) AppendMissing(layerList, layer);
    for (int id = TopLayer; id <= LastListedLayer; ++id) {
        const auto layer = static_cast<TLayerId>(id);
        if (board.IsLayerUsed(layer) || IsPlaneInStack(board, layer)) AppendMissing(layerList, layer);
    }
}

std::string LayerNumber(const std::vector<uint8_t>& layerList, uint8_t hostLayer) {
    const auto it = std::find(layerList.begin(), layerList.end(), hostLayer);
    return it == layerList.end() ? "0" : std::to_string(it - layerList.begin() + 1);
}

}  // namespace translator
