// Earth-pressure coefficients of the computational layers: Rankine active and passive
// coefficients, the active coefficient of a sloping backfill (Rankine's solution for a backfill
// inclined at beta, Ka = cos b (cos b - sqrt(cos^2 b - cos^2 phi)) / (cos b + sqrt(...))), and the
// at-rest coefficient of Jaky, K0 = 1 - sin phi.
#include <cmath>

#include "pressure/earth_pressure.h"
#include "report/fortran_format.h"
#include "report/report_text.h"

namespace korden {

namespace {

void writeSlopeWarning(OutputFile& out) {
  out.blank(2);
  out.line("**** WARNING ******");
  out.line("THE BACKFILL SLOPE ANGLE SHOULD BE LESS THAN THE 'INTERNAL FRICTION ANGLE OF SAND.");
}

}  // namespace

void computeCoefficients(RunState& state, OutputFile& report, OutputFile& aux) {
  EarthPressureData& ep = state.pressure;
  const double beta = state.soil.wall.slopeBackfill;
  const bool uniformClay = state.control.pressureOption == 5;

  writeBanner(report, "*  ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT  *");
  report.line(fmt::X(6) + "  LAYER         ACTIVE EARTH     PASSIVE EARTH(*)" +
              "  OPTIONAL EARTH(**)");
  report.line(fmt::X(6) + "   NO.          COEFFICIENT       COEFFICIENT    " + "   COEFFICIENT  ");
  for (size_t i = 0; i < ep.layers.size(); ++i) {
    EarthPressureLayer& l = ep.layers[i];
    const double phi = l.phi / kDegreesPerRadian;
    const double activeAngle = (45.0 - l.phi / 2.0) / kDegreesPerRadian;
    const double passiveAngle = (45.0 + l.phi / 2.0) / kDegreesPerRadian;
    l.rootKa = std::tan(activeAngle);
    l.ka = l.rootKa * l.rootKa;
    if (beta != 0.0) {
      if (l.phi > std::fabs(beta)) {
        const double cb = std::cos(beta / kDegreesPerRadian);
        const double cp = std::cos(phi);
        const double s = std::sqrt(cb * cb - cp * cp);
        l.ka = cb * (cb - s) / (cb + s);
        l.rootKa = std::sqrt(l.ka);
      } else if (l.soilType == 4 && ep.freeHeight > l.ztop) {
        // The sloping-backfill solution has no value; the level-ground coefficient stays.
        writeSlopeWarning(aux);
        writeSlopeWarning(report);
      }
    }
    l.rootKp = std::tan(passiveAngle);
    l.kp = l.rootKp * l.rootKp;
    l.k0 = 1.0 - std::sin(phi);
    report.line(fmt::X(10) + fmt::I(static_cast<long long>(i + 1), 2) + fmt::X(9) +
                fmt::E(l.ka, 10, 3) + fmt::X(8) + fmt::E(l.kp, 10, 3) + fmt::X(8) +
                fmt::E(l.optionalCoefficient, 10, 3));
    if (l.optionalCoefficient > 1.0e-7) {
      // The given coefficient replaces Ka; the cohesion term vanishes with the root.
      l.ka = l.optionalCoefficient;
      l.rootKa = 0.0;
    } else if (uniformClay) {
      // Uniform clay: only a given coefficient makes active pressure.
      l.ka = 0.0;
    }
  }
  report.blank();
  report.line(fmt::X(6) + "NOTES:");
  report.line(fmt::X(6) + "(*)  PASSIVE EARTH COEFFICIENT IS PRINTED ONLY FOR " + "REFERENCE, ");
  report.line(fmt::X(6) + "     IT IS NOT USED FOR ANALYSIS");
  report.line(fmt::X(6) + "(**) OPTIONAL EARTH COEFFICIENT IS USED TO ESTIMATE" +
              " ACTIVE PRESSURE ");
  report.line(fmt::X(6) + "     IF IT IS DIFFERENT THAN ZERO");
}

}  // namespace korden
