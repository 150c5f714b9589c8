// The extent of objects, computed from their geometry.
#pragma once

#include "Database.h"

namespace hostpcb {

// Tracks and arcs with their width, pads and fills turned by their rotation,
// texts from height and length (a stroke character is 2/3 of the height
// wide), outlines from their vertices and arcs, components and dimensions as
// the union of what they own (a component without primitives is its
// reference point). Nets cover their pads; classes and rules have none.
Box BoundsOf(const Database& db, const Object& o);

// The union of every object of the board's current content.
Box BoardBounds(const Database& db, const Document& doc);

}  // namespace hostpcb
