// The earth-pressure examples run end to end through the engine. The report lines checked here
// were computed by hand (Rankine and sloping-ground coefficients, overburden, the surcharge
// formulas on their 200-step grid, the apparent diagrams) and carry the pressure file's rounding.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

namespace korden {
namespace {

using testing::hasLine;
using testing::readFile;
using testing::runInputText;

std::string example(const std::string& name) {
  return readFile(std::string(KORDEN_SOURCE_DIR) + "/examples/" + name);
}

// The whitespace-separated fields of the results row of a station.
std::vector<std::string> resultsRow(const std::vector<std::string>& lines, int station) {
  bool inResults = false;
  for (const std::string& l : lines) {
    if (l.find("NUMBER OF ITERATIONS") != std::string::npos) inResults = true;
    if (!inResults) continue;
    std::istringstream in(l);
    std::vector<std::string> fields;
    for (std::string f; in >> f;) fields.push_back(f);
    if (fields.size() == 9 && fields[0] == std::to_string(station)) return fields;
  }
  return {};
}

// Every example ends normally with a closed solution.
void expectClosedRun(const testing::RunOutput& r) {
  EXPECT_EQ(r.returnCode, 0);
  EXPECT_TRUE(hasLine(r.reportLines, "     END OF ANALYSIS"));
  EXPECT_FALSE(resultsRow(r.reportLines, 0).empty()) << r.report;
}

std::string row(const std::string& depth, const std::string& load) {
  return "     " + depth + "        " + load;
}

TEST(PressureRun, TriangularDistributionWithSurfaceAndLineLoadsEnglish) {
  const auto r = runInputText(example("pressure_triangular_english.dat"), "pressure-a");
  expectClosedRun(r);
  const auto& l = r.reportLines;
  EXPECT_TRUE(hasLine(l, "      FREE HEIGHT OF WALL                    =  1.200E+01 FT"));
  EXPECT_TRUE(hasLine(l, "      UNIT WEIGHT OF WATER                   =  3.600E-02 LBS/IN**3"));
  EXPECT_TRUE(hasLine(l, "      UNIFORM SURFACE PRESSURE     = 1.736E+00 LBS/IN**2"));
  EXPECT_TRUE(hasLine(l, "      LINE LOAD                    =  8.330E+01 LBS/IN"));
  // Three computational layers: the second input layer is cut at the excavation level.
  EXPECT_TRUE(hasLine(l, "         1     10.0       0.0      32.0    0.067     T      0.00"));
  EXPECT_TRUE(hasLine(l, "         2      2.0       0.0      36.0    0.072     T     10.00"));
  EXPECT_TRUE(hasLine(l, "         3     28.0       0.0      36.0    0.072     T     12.00"));
  // Overburden: 1.736 + 120 x 0.0666 = 9.728 psi at 10 ft; + 24 x 0.0723 = 11.46 at 12 ft.
  EXPECT_TRUE(hasLine(l, "             1.000E+01                  9.728E+00"));
  EXPECT_TRUE(hasLine(l, "             1.200E+01                  1.146E+01"));
  // Rankine: tan^2(29) = 0.3073, tan^2(61) = 3.255; tan^2(27) = 0.2596, tan^2(63) = 3.852.
  EXPECT_TRUE(hasLine(l, "           1          3.073E-01         3.255E+00         0.000E+00"));
  EXPECT_TRUE(hasLine(l, "           2          2.596E-01         3.852E+00         0.000E+00"));
  // Layer 1: PA1 = 120 Ka q + the line load's force over ten sub-points (43.34) = 107.34;
  // PA2 = 0.5 Ka gamma T^2 = 147.34 at 2/3 of the layer.
  EXPECT_TRUE(
      hasLine(l, "         1     107.34   5.00     147.34   6.67      -0.00  -0.00       0.00"));
  EXPECT_TRUE(hasLine(l, "     * GENERATED TRIANGULAR-DISTRIBUTION EARTH PRESSURE"));
  // 6 ft: (Ka (q + gamma 72) + line load at the grid depth 70.2 in (0.3620 psi)) x 12 in.
  EXPECT_TRUE(hasLine(l, row(" 6.00000E+00", " 2.84255E+01")));
  EXPECT_TRUE(hasLine(l, row(" 3.00000E+01", " 3.57994E+01")));  // the last row is the tip
  EXPECT_FALSE(hasLine(l, "Net active pressure is negative."));
}

TEST(PressureRun, FhwaTrapezoidWithWaterAndStripLoadSi) {
  const auto r = runInputText(example("pressure_fhwa_si.dat"), "pressure-b");
  expectClosedRun(r);
  const auto& l = r.reportLines;
  EXPECT_TRUE(hasLine(
      l, "     * GENERATED TRAPEZOIDAL-DISTRIBUTION EARTH PRESSURE (ANCHORED WALLS, FHWA)"));
  // Water below 4 m behind the wall: PW2 = 9.81 x 2^2 / 2 in the layer from 4 to 6 m.
  EXPECT_TRUE(hasLine(l, "       3       0.00   5.00      19.62   5.33"));
  // Tie-back at 1.5 m = 0.25 H: rise 1 m, plateau to 3 m, fall to 0 at 6 m; p = 3.9 F2 / 2H with
  // F2 = 111.18 kN/m, so p = 36.13 kPa; plus the strip load (grid depths 0.48, 0.96, 4.98 m) and
  // at 5 m the net water 9.81 x 1 m.
  EXPECT_TRUE(hasLine(l, row(" 5.00000E-01", " 2.09277E+01")));
  EXPECT_TRUE(hasLine(l, row(" 1.00000E+00", " 4.09090E+01")));
  EXPECT_TRUE(hasLine(l, row(" 5.00000E+00", " 2.37946E+01")));
}

TEST(PressureRun, SoilMovementCurvesEnglish) {
  const auto r = runInputText(example("pressure_soil_movement_english.dat"), "pressure-c");
  expectClosedRun(r);
  const auto& l = r.reportLines;
  EXPECT_TRUE(hasLine(l, "     * EARTH PRESSURE GENERATED  BASED ON SOIL MOVEMENT"));
  // Ka (q + gamma z) times WA = 96 in above the excavation level, WP = 12 in below it.
  EXPECT_TRUE(hasLine(l, row(" 5.00000E+00", " 1.50080E+02")));
  EXPECT_TRUE(hasLine(l, row(" 1.50000E+01", " 3.47440E+01")));
  // The retained soil acts through the curves: at 5 ft the wall has moved away from the backfill
  // beyond w / 357, so the soil reaction is the active pressure there (the load column is empty).
  const auto station10 = resultsRow(l, 10);
  ASSERT_FALSE(station10.empty());
  EXPECT_EQ(station10[6], "1.501E+02");
}

TEST(PressureRun, UniformClaySi) {
  const auto r = runInputText(example("pressure_uniform_clay_si.dat"), "pressure-d");
  expectClosedRun(r);
  const auto& l = r.reportLines;
  EXPECT_TRUE(hasLine(l,
                      "     * GENERATED TRAPEZOIDAL-DISTRIBUTION EARTH PRESSURE (ANCHORED WALLS IN "
                      "UNIFORM CLAY LAYER)"));
  // The optional coefficient 0.45 is printed beside the computed Ka of phi 0.
  EXPECT_TRUE(hasLine(l, "           3          1.000E+00         1.000E+00         4.500E-01"));
  // p = 0.45 x sigma'v(5 m) = 0.45 (10 + 17 x 5 - 9.81 x 3) = 29.51 kPa, rising over 0.25 H.
  EXPECT_TRUE(hasLine(l, row(" 1.00000E+00", " 2.36052E+01")));
  EXPECT_TRUE(hasLine(l, row(" 3.00000E+00", " 2.95065E+01")));
}

TEST(PressureRun, TerzaghiPeckSandEnglish) {
  const auto r = runInputText(example("pressure_terzaghi_peck_english.dat"), "pressure-e");
  expectClosedRun(r);
  const auto& l = r.reportLines;
  EXPECT_TRUE(hasLine(l,
                      "     * GENERATED TRAPEZOIDAL-DISTRIBUTION EARTH PRESSURE (ANCHORED WALLS, "
                      "TERZAGHI AND PECK)"));
  // 0.65 gamma H Ka with the mean unit weight 0.0700 pci and the mean friction angle 34.4 deg
  // (Ka = 0.2780): 3.0364 psi, times 12 in, from the top down to the excavation level.
  EXPECT_TRUE(hasLine(l, row(" 0.00000E+00", " 3.64372E+01")));
  EXPECT_TRUE(hasLine(l, row(" 1.00000E+01", " 3.64372E+01")));
  // Below it the Rankine pressure of the dense sand at 20 ft: tan^2(27) x 15.2 psi x 12 in.
  EXPECT_TRUE(hasLine(l, row(" 2.50000E+01", " 5.23535E+01")));
}

TEST(PressureRun, SpecifiedTablePlusPointAndLineLoadsSi) {
  const auto r = runInputText(example("pressure_specified_si.dat"), "pressure-f");
  expectClosedRun(r);
  // Station 2 (0.5 m) carries only its pressure load: the table plus the surcharge at the table
  // depths 0 and 1 m (36.37 kPa at 1 m), interpolated at 0.5 m, times WA = 1 m and h = 0.25 m.
  const auto station2 = resultsRow(r.reportLines, 2);
  ASSERT_FALSE(station2.empty());
  EXPECT_EQ(station2[7], "4.547E+00");
}

TEST(PressureRun, ExcavationBelowTheSoilStopsWithCodeOne) {
  std::string input = example("pressure_triangular_english.dat");
  // Soil only down to 10 ft while the excavation is at 12 ft.
  const std::string layers = "2 1 0.0     two soil layers";
  const size_t at = input.find(layers);
  ASSERT_NE(at, std::string::npos);
  input.replace(at, layers.size(), "1 1 0.0     one soil layer");
  const auto r = runInputText(input, "pressure-stop");
  EXPECT_EQ(r.returnCode, 1);
  EXPECT_TRUE(hasLine(r.reportLines, "      *                SOIL INFORMATION                *"));
  EXPECT_TRUE(
      hasLine(r.reportLines, "     STOP 1 -- THE EXCAVATION LEVEL IS NOT WITHIN THE SOIL PROFILE"));
  EXPECT_FALSE(hasLine(r.reportLines, "     END OF ANALYSIS"));
}

TEST(PressureRun, SoilEndingAboveTheTipIsCarriedDown) {
  std::string input = example("pressure_triangular_english.dat");
  const std::string bottom = "4 120.0 480.0";
  const size_t at = input.find(bottom);
  ASSERT_NE(at, std::string::npos);
  input.replace(at, bottom.size(), "4 120.0 300.0");  // soil ends 5 ft above the tip
  const auto r = runInputText(input, "pressure-short");
  expectClosedRun(r);
  // The last layer reaches the tip of the wall at 30 ft (18 ft thick, not 13 ft).
  EXPECT_TRUE(
      hasLine(r.reportLines, "         3     18.0       0.0      36.0    0.072     T     12.00"));
  EXPECT_TRUE(hasLine(r.reportLines, row(" 3.00000E+01", " 3.57994E+01")));
}

// The example with `from` replaced by `to` (which must occur once).
std::string edited(const std::string& name, const std::string& from, const std::string& to) {
  std::string input = example(name);
  const size_t at = input.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) input.replace(at, from.size(), to);
  return input;
}

TEST(PressureRun, FhwaWithoutSupportWarnsInTheReportAndTheAuxiliaryFile) {
  std::string input = edited("pressure_fhwa_si.dat", "2 0 1 1 0 3 1 7 0 0 1 0 0 0 0",
                             "2 0 1 1 0 3 1 7 0 0 0 0 0 0 0");
  const std::string tieBack = "1.5 0.0013 2.0E8 6.0 15.0 2.5 150.0";
  input.erase(input.find(tieBack), input.find('\n', input.find(tieBack)) - input.find(tieBack) + 1);
  const auto r = runInputText(input, "pressure-fhwa-free");
  EXPECT_EQ(r.returnCode, 0);
  for (const auto* lines : {&r.reportLines, &r.auxLines}) {
    EXPECT_TRUE(hasLine(*lines, "**** WARNING ****"));
    EXPECT_TRUE(
        hasLine(*lines, "TIE-BACKS AND STRUTS, AND THIS CASE HAS NO SUPPORT: NO APPARENT EARTH"));
  }
  // With its tie-back the example has no such warning.
  const auto anchored = runInputText(example("pressure_fhwa_si.dat"), "pressure-fhwa");
  EXPECT_FALSE(hasLine(anchored.auxLines, "**** WARNING ****"));
}

TEST(PressureRun, GeneratedPressureWithoutWidthWaStops) {
  const auto r = runInputText(
      edited("pressure_triangular_english.dat", "144.0 12.0 12.0 480.0", "144.0 0.0 12.0 480.0"),
      "pressure-no-wa");
  EXPECT_EQ(r.returnCode, 0);
  EXPECT_TRUE(
      hasLine(r.reportLines,
              "     ERROR STOP -- WIDTH FOR EARTH PRESSURE, WA, MUST BE GREATER THAN ZERO FOR "
              "A GENERATED PRESSURE DISTRIBUTION (THE WALL INFORMATION RECORD AT LINE 14)"));
  EXPECT_TRUE(hasLine(r.reportLines, "     END OF ANALYSIS"));
  EXPECT_FALSE(hasLine(r.reportLines, "      *                WALL INFORMATION                *"));
}

// curves_sand_si with its soil records replaced: SI wall of 12 m, excavation at 6 m, water 8 m
// behind and in front, q 10 kPa.
std::string sandWallWithSoil(const std::string& soilRecords) {
  std::string input = example("curves_sand_si.dat");
  const size_t from = input.find("2 1 0.0     two soil layers");
  const size_t to = input.find("0     single problem");
  EXPECT_NE(from, std::string::npos);
  EXPECT_NE(to, std::string::npos);
  return input.substr(0, from) + soilRecords + input.substr(to);
}

const char* kMediumSand = "18.0 0.0 32.0 0.0 0.0 0.0\n18.0 0.0 32.0 0.0 0.0 0.0\n";
const char* kDenseSand = "20.0 0.0 36.0 0.0 35000.0 0.0\n20.0 0.0 36.0 0.0 35000.0 0.0\n";

TEST(PressureRun, LayerWithoutThicknessIsSkippedByThePressureAndTheCurves) {
  // Medium dense sand 0-7 m (phi 32), an empty layer at 7 m, dense sand 7-15 m (phi 36).
  const auto r = runInputText(
      sandWallWithSoil(std::string("3 1 0.0\n4 0.0 7.0\n") + kMediumSand + "1 7.0 7.0\n" +
                       "19.0 30.0 0.0 0.01 0.0 0.0\n19.0 30.0 0.0 0.01 0.0 0.0\n" + "4 7.0 15.0\n" +
                       kDenseSand),
      "pressure-empty-layer");
  expectClosedRun(r);
  const std::string warning =
      "SOIL LAYER 2 HAS NO THICKNESS (ITS X BOTTOM IS NOT BELOW ITS X TOP):";
  EXPECT_EQ(testing::countLines(r.reportLines, warning), 2);  // pressure and curve sections
  // Below the excavation the dense sand: tan^2(27) x (10 + 18 x 6) = 30.6347 kPa at 10 m (the
  // water nets out below both water tables).
  EXPECT_TRUE(hasLine(r.reportLines, row(" 1.00000E+01", " 3.06347E+01")));
  // Both sands carry curves: 6-7 m and 7 m to two increments below the tip.
  EXPECT_TRUE(hasLine(r.reportLines, "       2 LAYER(S) OF SOIL"));
}

TEST(PressureRun, SoilEndingAtTheExcavationLevelIsCarriedDownByThePressureAndTheCurves) {
  const auto r = runInputText(sandWallWithSoil(std::string("1 1 0.0\n4 0.0 6.0\n") + kMediumSand),
                              "pressure-soil-at-cut");
  expectClosedRun(r);
  // The medium sand goes on below 6 m: tan^2(29) x (10 + 18 x 6) = 36.2565 kPa.
  EXPECT_TRUE(hasLine(r.reportLines, row(" 1.00000E+01", " 3.62565E+01")));
  // Computational layers 6-8 m and 8-12 m (the water table) of the same sand.
  EXPECT_TRUE(
      hasLine(r.reportLines, "         2      2.0       0.0      32.0   18.000     T      6.00"));
  EXPECT_TRUE(
      hasLine(r.reportLines, "         3      4.0       0.0      32.0   18.000     T      8.00"));
  // Its curves reach two increments below the tip (12.5 m), submerged below 8 m (18 - 9.81).
  EXPECT_TRUE(hasLine(r.reportLines, "       1 LAYER(S) OF SOIL"));
  const std::string strength = "    0.0000E+00    3.2000E+01    0.0000E+00    0.0000E+00";
  EXPECT_TRUE(hasLine(r.reportLines, "         6.0000E+00" + strength));
  EXPECT_TRUE(hasLine(r.reportLines, "         1.2500E+01" + strength));
  EXPECT_TRUE(hasLine(r.reportLines, "         1.2500E+01    8.1900E+00"));
  EXPECT_TRUE(
      hasLine(r.reportLines,
              "THE SOIL ENDS AT THE EXCAVATION LEVEL: ITS LAST LAYER IS CARRIED ON BELOW IT"));
}

}  // namespace
}  // namespace korden
