// The output layer numbering: the list of host layers whose 1-based positions
// are the layer numbers of the output file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "board/Pcbclass.h"

namespace translator {

// Appends to the list what it does not hold yet: first the twenty layers of
// the target's standard layer order, then every layer 1 to 72 that the board
// uses, and every internal plane that is in the layer stack. Entries are
// never reordered or removed, so numbers handed out earlier stay valid.
void BuildLayerList(const pcb::TPcbBoard& board, std::vector<uint8_t>& layerList);

// The layer's 1-based position in the list as decimal text; "0" when the list
// does not hold it.
std::string LayerNumber(const std::vector<uint8_t>& layerList, uint8_t hostLayer);

}  // namespace translator
