// The PCB editor's object interface for the host program: boards by handle,
// their layer stacks and the in-use flag of each layer.
#pragma once

#include <memory>
#include <unordered_map>

#include "Database.h"
#include "shell/HostClient.h"

namespace hostpcb {

// A layer is in use when the board (its current content) has an object on
// it, or when it is an enabled layer of the layer stack.
bool IsLayerInUse(Document& doc, THostLayer layer);

class ServerObjects : public host::IPcbServerObjects {
public:
    explicit ServerObjects(Database& db) : db_(db) {}
    host::IPcbBoardObject* PCBAPI_CALL GetBoardByHandle(pcbapi::THandle board) override;

private:
    class LayerObject : public host::IPcbLayerObject {
    public:
        LayerObject(Document& doc, THostLayer layer) : doc_(doc), layer_(layer) {}
        uint8_t PCBAPI_CALL IsUsed() override { return IsLayerInUse(doc_, layer_) ? 1 : 0; }

    private:
        Document& doc_;
        THostLayer layer_;
    };
    class Board : public host::IPcbBoardObject, public host::IPcbLayerStack {
    public:
        explicit Board(Document& doc) : doc_(doc) {}
        host::IPcbLayerStack* PCBAPI_CALL GetLayerStack() override { return this; }
        host::IPcbLayerObject* PCBAPI_CALL LayerObject(THostLayer layer) override;

    private:
        Document& doc_;
        std::unordered_map<THostLayer, std::unique_ptr<ServerObjects::LayerObject>> layers_;
    };

    Database& db_;
    std::unordered_map<pcbapi::THandle, std::unique_ptr<Board>> boards_;
};

}  // namespace hostpcb
