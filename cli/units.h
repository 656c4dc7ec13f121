// Engineering units of the command's summary, tables and plots: the report's values (inches and
// pounds, or metres and kN) converted to the units engineers read (feet, kips; metres, kN, mm).
#pragma once

#include <string>

namespace korden {

struct EngineeringUnits {
  bool si = false;
  const char* depth;        // "ft" / "m"
  const char* deflection;   // "in" / "mm"
  const char* moment;       // "kip-ft" / "kN-m"
  const char* force;        // "kip" / "kN"
  const char* reaction;     // "kip/ft" / "kN/m" (per unit length of wall)
  double deflectionFactor;  // report deflection (in or m) to the unit above
  double momentFactor;      // lb-in to kip-ft: 1/12000
  double forceFactor;       // lb to kip: 1/1000
  double reactionFactor;    // lb/in to kip/ft: 12/1000
  // Curves closer than this keep the results independent of how the soil was split (ft or m).
  double curveSpacingLimit;
};

inline EngineeringUnits engineeringUnits(int unitsFlag) {
  if (unitsFlag == 2) return {true, "m", "mm", "kN-m", "kN", "kN/m", 1000.0, 1.0, 1.0, 1.0, 1.5};
  return {false, "ft",          "in",         "kip-ft",      "kip", "kip/ft",
          1.0,   1.0 / 12000.0, 1.0 / 1000.0, 12.0 / 1000.0, 5.0};
}

}  // namespace korden
