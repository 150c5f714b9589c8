// Units and the formatters through which every number of the output becomes
// text, and the coordinate reads with the footprint-library correction.
//
// A host length is 10000 units per mil. The formatters keep no state; each
// result has at most 255 characters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "board/PcbApi.h"

namespace pcb {

// The distance of a footprint library document's origin from the host's
// coordinate origin, in X and in Y: 50000 mil.
constexpr pcbapi::TCoord LibraryWorkspaceOffset = 500000000;

// mils * 10000, rounded to the nearest integer (halves to even), limited to
// the range of a host length.
pcbapi::TCoord MilsToCoord(double mils);

double DegToRad(double degrees);

// The length in mil rounded to 3 decimals, in millimetres rounded to 5;
// negative values round symmetrically to positive ones.
double CoordToMils(pcbapi::TCoord length);
double CoordToMillimetres(pcbapi::TCoord length);

// The number text without trailing zeros of its fraction, and without the
// point when no fraction digit is left ("100.000" -> "100"). A text without a
// point is returned unchanged.
std::string StripTrailingZeros(std::string_view text);

// The length in the board's display unit ("12.346mil", "0.31358mm"): the
// formatter of every record writer. The value is held in single precision
// before it is printed, which the output format has always carried; the last
// digit of magnitudes above about 16384 mil or 128 mm shows it.
std::string FormatLength(pcbapi::TCoord length, bool imperial);

// As FormatLength, but in double precision and with up to 3 decimals in mil
// and 4 in mm: the values of the design header.
std::string FormatHeaderLength(pcbapi::TCoord length, bool imperial);

// Degrees with exactly one decimal, using the process-wide decimal separator.
std::string FormatAngle(double degrees);

// The length in hundredths of a micrometre, as a whole number.
std::string FormatDatabaseUnits(pcbapi::TCoord length);

// A coordinate as the exporter writes it: in a footprint library document the
// first pattern (index 0) lies at the library workspace offset, which is
// taken off; every other value passes unchanged.
pcbapi::TCoord LibraryCorrected(pcbapi::TCoord value, bool isLibrary, int currentPatternIndex);

// The coordinate reads of the exporter: X, Y, X2 or Y2 of the object behind
// the handle (X2, Y2 equal X, Y for an object without a second point; 0 for
// handle 0), with the library correction.
pcbapi::TCoord ReadX1(pcbapi::THandle object, bool isLibrary, int currentPatternIndex);
pcbapi::TCoord ReadY1(pcbapi::THandle object, bool isLibrary, int currentPatternIndex);
pcbapi::TCoord ReadX2(pcbapi::THandle object, bool isLibrary, int currentPatternIndex);
pcbapi::TCoord ReadY2(pcbapi::THandle object, bool isLibrary, int currentPatternIndex);

}  // namespace pcb
