// The input echo of the earth-pressure problem (wall, surcharge and soil information) and the
// resultant water and active earth forces of the layers above the excavation level.
#include <cmath>
#include <iostream>
#include <string>

#include "pressure/earth_pressure.h"
#include "report/fortran_format.h"
#include "report/report_text.h"

namespace korden {

namespace {

using fmt::E;
using fmt::F;
using fmt::I;
using fmt::X;

std::string forcePerLength(const UnitLabels& u) { return u.force3 + "/" + u.lengthShort; }
std::string unitWeightLabel(const UnitLabels& u) { return u.force3 + "/" + u.lengthShort + "**3"; }

void wallLine(OutputFile& out, const char* caption, double value, const std::string& unit) {
  out.line(X(6) + caption + E(value, 10, 3) + (unit.empty() ? "" : " " + unit));
}

void surchargeBlock(OutputFile& out, const RunState& state, size_t index, const Surcharge& s) {
  const UnitLabels& u = state.labels;
  const std::string length = u.lengthShort;
  out.blank();
  out.line(X(6) + "SURCHARGE LOADING NO.        = " + I(static_cast<long long>(index + 1), 10));
  switch (s.type) {
    case 1:
      wallLine(out, "POINT LOAD                   = ", s.magnitude, u.force3);
      break;
    case 2:
      wallLine(out, "LINE LOAD                    = ", s.magnitude, forcePerLength(u));
      break;
    default:
      wallLine(out, "STRIP LOAD                   = ", s.magnitude, stressLabel(u));
      wallLine(out, "WIDTH OF THE STRIP LOAD      = ", s.width, length);
      break;
  }
  wallLine(out, "HORIZONTAL DISTANCE BETWEEN  = ", s.distance, length);
  out.line(X(6) + (s.type == 3 ? "WALL AND MIDDLE OF STRIP WIDTH          "
                               : "THE WALL AND SURCHARGE         "));
  wallLine(out, "VERTICAL DISTANCE BETWEEN    = ", s.vertical, length);
  out.line(X(6) + "THE WALL AND SURCHARGE         ");
  wallLine(out, "FACTOR FOR SURCHARGE LOAD    = ", s.factor, "");
}

}  // namespace

void writeEarthPressureEcho(OutputFile& out, const RunState& state) {
  const EarthPressureData& ep = state.pressure;
  const WallInformation& w = state.soil.wall;
  const UnitLabels& u = state.labels;
  const bool english = state.english();
  const double depthScale = english ? 12.0 : 1.0;

  writeBanner(out, "*                WALL INFORMATION                *");
  wallLine(out, "FREE HEIGHT OF WALL                    = ", w.freeHeight / depthScale,
           u.heightShort);
  wallLine(out, "WIDTH FOR EARTH PRESSURE, WA           = ", w.widthActive, u.lengthShort);
  wallLine(out, "WIDTH FOR SOIL RESISTANCE, WP          = ", w.widthResistance, u.lengthShort);
  wallLine(out, "DEPTH TO THE WATER TABLE AT BACKFILL   = ", w.waterBackfill / depthScale,
           u.heightShort);
  wallLine(out, "DEPTH TO THE WATER TABLE AT EXCAVATION = ", w.waterExcavation / depthScale,
           u.heightShort);
  wallLine(out, "UNIT WEIGHT OF WATER                   = ", ep.waterUnitWeight,
           unitWeightLabel(u));
  wallLine(out, "SLOPE OF THE BACKFILL (deg.)           = ", w.slopeBackfill, "");
  wallLine(out, "SLOPE OF THE EXCAVATION GROUND (deg.)  = ", w.slopeExcavation, "");
  wallLine(out, "MODIFICATION FOR ACTIVE EARTH PRESSURE = ", w.activeModification, "");
  if (state.wall.sectionAdjustFlag > 0) {
    out.blank();
    out.line(X(6) + "* ADJUST SECTION PROPERTIES BASED ON WA=WP");
  }

  writeBanner(out, "*              SURCHARGE INFORMATION             *");
  out.line(X(6) + "UNIFORM SURFACE PRESSURE     =" + E(state.soil.surface.uniformPressure, 10, 3) +
           " " + stressLabel(u));
  for (size_t k = 0; k < state.soil.surcharges.size(); ++k) {
    surchargeBlock(out, state, k, state.soil.surcharges[k]);
  }

  writeBanner(out, "*                SOIL INFORMATION                *");
  out.line(X(6) + "         TOTAL   COHESION/       TOTAL UNIT");
  out.line(X(6) + "LAYER  THICKNESS STRENGTH    PHI   WEIGHT   DRAINED  ZTOP");
  if (english) {
    out.line(X(6) + "NO.       FT       PSI       DEG    PCI     T OR F    FT");
  } else {
    out.line(X(6) + "NO.        M       kPa       DEG  kN/M^3    T OR F     M");
  }
  for (size_t i = 0; i < ep.layers.size(); ++i) {
    const EarthPressureLayer& l = ep.layers[i];
    out.line(X(7) + I(static_cast<long long>(i + 1), 3) + F(l.thickness / depthScale, 9, 1) +
             F(l.strength, 10, 1) + F(l.phi, 10, 1) + F(l.unitWeight, 9, 3) + X(5) +
             (l.drained ? "T" : "F") + F(l.ztop / depthScale, 10, 2));
  }
}

void computeLayerForces(RunState& state, OutputFile& report) {
  EarthPressureData& ep = state.pressure;
  const UnitLabels& u = state.labels;
  const double depthScale = state.english() ? 12.0 : 1.0;
  const double gw = ep.waterUnitWeight;
  const int above = ep.excavationLayer;  // layers 0 .. above-1 lie above the excavation level

  for (EarthPressureLayer& l : ep.layers) {
    l.pw1 = l.pw2 = l.pa1 = l.pa2 = l.pa3 = l.pa4 = l.positiveLength = 0.0;
    l.z1 = l.z2 = 0.0;
    l.z3 = -1.0e-5;
  }

  writeBanner(report, "*      ACTIVE EARTH PRESSURE OF EACH LAYER       *");
  report.line(X(6) + " LAYER     PA1     Z1        PA2     Z2        PA3     Z3" + "        PA4");
  report.line(X(6) + "  NO" + X(4) + forcePerLength(u) + X(3) + u.heightShort + X(6) +
              forcePerLength(u) + X(3) + u.heightShort + X(6) + forcePerLength(u) + X(3) +
              u.heightShort + X(6) + forcePerLength(u));
  for (int i = 0; i < above; ++i) {
    EarthPressureLayer& l = ep.layers[i];
    const EarthPressureLayer& below = ep.layers[i + 1];
    const double t = l.thickness;
    const double m = l.modification;
    const double effectiveWeight = (l.drained && l.belowWater) ? l.unitWeight - gw : l.unitWeight;
    const double cohesionTerm = 2.0 * l.strength * l.rootKa;
    const double pTop = l.ka * activeVerticalStress(ep, l, l.overburden, l.ztop);
    l.pa1 = t * pTop * m + surchargeForceOnLayer(state.soil, ep.freeHeight, l.ztop, t);
    l.z1 = l.ztop + t / 2.0;
    l.pa2 = 0.5 * l.ka * m * t * t * effectiveWeight;
    l.z2 = l.ztop + 2.0 * t / 3.0;
    l.pa3 = -(t * cohesionTerm * m);
    if (l.pa1 + l.pa3 < 0.0) {
      // Cohesion exceeds the pressure at the top: only the part of the layer below the depth of
      // zero net pressure carries a (triangular) force.
      const double pBottom =
          l.ka * activeVerticalStress(ep, l, below.overburden, below.ztop) - cohesionTerm;
      const double rise = pBottom - pTop + cohesionTerm;
      double length = 0.0;
      if (pBottom > 0.0 && rise > 0.0) length = std::fmin(t, t * pBottom / rise);
      l.positiveLength = length;
      l.pa1 = l.pa2 = l.pa3 = 0.0;
      l.pa4 = pBottom > 0.0 ? 0.5 * m * length * pBottom : 0.0;
      l.z3 = below.ztop - length / 3.0;
    }
    report.line(X(6) + I(i + 1, 4) + " " + F(l.pa1, 10, 2) + " " + F(l.z1 / depthScale, 6, 2) +
                " " + F(l.pa2, 10, 2) + " " + F(l.z2 / depthScale, 6, 2) + " " + F(l.pa3, 10, 2) +
                " " + F(l.z3 / depthScale, 6, 2) + " " + F(l.pa4, 10, 2));
  }

  // Water of the layers from the water table down to the excavation level.
  const int water = ep.waterTableLayer;
  if (water >= 0 && water < above) {
    writeBanner(report, "*      ACTIVE WATER PRESSURE OF EACH LAYER       *");
    report.line(X(6) + " LAYER    PW1     Z1       PW2      Z2                ");
    report.line(X(6) + "  NO" + X(3) + forcePerLength(u) + X(3) + u.heightShort + X(5) +
                forcePerLength(u) + X(3) + u.heightShort);
    for (int i = water; i < above; ++i) {
      EarthPressureLayer& l = ep.layers[i];
      ep.waterSwitch = 1;
      if (!l.drained || l.ztop < ep.waterTable - kDepthTolerance) continue;
      const double t = l.thickness;
      const double m = l.modification;
      l.pw1 = -((l.ztop - ep.waterTable) * gw * t * m);
      l.pw2 = -(m * gw / 2.0 * t * t);
      report.line(X(6) + I(i + 1, 2) + " " + F(-l.pw1, 10, 2) + " " + F(l.z1 / depthScale, 6, 2) +
                  " " + F(-l.pw2, 10, 2) + " " + F(l.z2 / depthScale, 6, 2));
    }
  }

  double total = 0.0;
  for (int i = 0; i < above; ++i) {
    const EarthPressureLayer& l = ep.layers[i];
    total += l.pa1 + l.pa2 + l.pa3 + l.pa4 - l.pw1 - l.pw2;
  }
  ep.netActiveForce = total;
  if (total < 1.0e-5) {
    std::cerr << "\n\nNet active pressure is negative.\n\n";
    report.blank(2);
    report.line("Net active pressure is negative.");
    report.blank();
  }
}

}  // namespace korden
