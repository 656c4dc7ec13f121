// The input echo: whole report lines, blanks included, worked out by hand from the report's
// layouts.
#include "input/echo.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "report/report_text.h"

namespace korden {
namespace {

using Lines = std::vector<std::string>;

const std::string kStars = "      **************************************************";

Lines banner(const std::string& caption) {
  return {"", "", kStars, "      " + caption, kStars, ""};
}

Lines joined(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// True when `block` occurs in `lines` as consecutive lines.
bool containsBlock(const Lines& lines, const Lines& block) {
  return std::search(lines.begin(), lines.end(), block.begin(), block.end()) != lines.end();
}

std::unique_ptr<RunState> makeState(int unitsFlag) {
  auto state = std::make_unique<RunState>();
  state->control.unitsFlag = unitsFlag;
  state->labels = unitLabelsFor(unitsFlag);
  buildGrid(state->grid, 40, 6.0);
  return state;
}

class EchoTest : public ::testing::Test {
 protected:
  // Runs one echo into a report file and returns its lines.
  Lines capture(const std::function<void(OutputFile&)>& write) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string path = ::testing::TempDir() + "echo_" + info->name() + "_" +
                             std::to_string(getpid()) + "_" + std::to_string(++captures_) + ".txt";
    {
      OutputFile out;
      EXPECT_TRUE(out.open(path));
      write(out);
    }
    Lines lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::remove(path.c_str());
    return lines;
  }

  std::unique_ptr<RunState> english = makeState(1);
  std::unique_ptr<RunState> si = makeState(2);

 private:
  int captures_ = 0;
};

// --- control and wall -------------------------------------------------------------------------

TEST_F(EchoTest, ControlWithoutSupportsHasNoHingeLinesEvenWithTheHingeFlag) {
  ControlRecord& c = english->control;
  c.nSpecified = 2;
  c.nWallSections = 1;
  c.nCrossSections = 3;
  c.nUserCurves = 4;
  c.hingeFlag = 1;
  english->driver.generateEarthPressure = 1;
  const Lines expected =
      joined({banner("*        PROGRAM CONTROL PARAMETERS              *"),
              {"      NO OF POINTS FOR SPECIFIED DEFLECTIONS AND SLOPES  =  2",
               "      NO OF WALL SECTIONS                                =  1",
               "      NO OF CROSS SECTIONS                               =  3",
               "      GENERATE EARTH PRESSURE INTERNALLY                 =  1",
               "      GENERATE SOIL RESISTANCE (P-Y) CURVES INTERNALLY   =  0",
               "      NO OF P-Y MODIFICATION FACTORS FOR GEN. P-Y CURVES =  0",
               "      NO OF USER-SPECIFIED SOIL RESISTANCE (P-Y) CURVES  =  4",
               "      NO OF TIE BACKS                                    =  0",
               "      NO OF STRUTS/RAKERS                                =  0", ""}});
  EXPECT_EQ(capture([&](OutputFile& out) { echoControl(out, *english); }), expected);
}

TEST_F(EchoTest, ControlHingeLinesFollowOnlyWithSupportsAndHingeFlagOne) {
  ControlRecord& c = english->control;
  c.nTieBacks = 2;
  c.nStruts = 1;
  c.hingeFlag = 1;
  Lines lines = capture([&](OutputFile& out) { echoControl(out, *english); });
  ASSERT_EQ(lines.size(), 18u);
  EXPECT_EQ(lines[13], "      NO OF TIE BACKS                                    =  2");
  EXPECT_EQ(lines[14], "      NO OF STRUTS/RAKERS                                =  1");
  EXPECT_EQ(lines[15], "      CONSIDER ZERO MOMENT (AASHTO HINGE MODEL) IN WALL");
  EXPECT_EQ(lines[16], "      AT TIE BACK LOCATIONS EXCEPT TOP ONE");
  EXPECT_EQ(lines[17], "");

  c.hingeFlag = 0;
  lines = capture([&](OutputFile& out) { echoControl(out, *english); });
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines.back(), "      NO OF STRUTS/RAKERS                                =  1");
}

TEST_F(EchoTest, ControlCountsBeyondTwoDigitsArePrintedInFull) {
  english->control.nUserCurves = 150;
  english->control.nCrossSections = 100;
  const Lines lines = capture([&](OutputFile& out) { echoControl(out, *english); });
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[8], "      NO OF CROSS SECTIONS                               = 100");
  EXPECT_EQ(lines[12], "      NO OF USER-SPECIFIED SOIL RESISTANCE (P-Y) CURVES  = 150");
}

TEST_F(EchoTest, WallWithIterationControlsInFeetAndInches) {
  WallRecord& w = english->wall;
  w.wallHeight = 240.0;  // inches, echoed in feet
  w.nIncrements = 40;
  w.incrementLength = 6.0;
  w.maxAllowableDeflection = 10.0;
  w.closureTolerance = 1.0e-5;
  w.maxIterations = 100;
  const Lines expected = {
      "",
      "      HEIGHT OF WALL                                     =     20.000 FT",
      "      NUMBER OF INCREMENTS                               =         40",
      "      INCREMENT LENGTH                                   =      6.000 IN",
      "      MAXIMUM ALLOWABLE DEFLECTION                       =     10.000 IN",
      "      DEFLECTION CLOSURE TOLERANCE                       =  1.000E-05 IN",
      "      MAXIMUM NUMBER OF ITERATIONS                       =        100"};
  EXPECT_EQ(capture([&](OutputFile& out) { echoWall(out, *english); }), expected);
}

TEST_F(EchoTest, WallWithoutIterationsInSIUnits) {
  WallRecord& w = si->wall;
  w.wallHeight = 6.5;  // metres, not converted
  w.nIncrements = 65;
  w.incrementLength = 0.1;
  w.maxAllowableDeflection = 1.0;
  w.maxIterations = 0;
  const Lines expected = {
      "", "      HEIGHT OF WALL                                     =      6.500  M",
      "      NUMBER OF INCREMENTS                               =         65",
      "      INCREMENT LENGTH                                   =      0.100  M"};
  EXPECT_EQ(capture([&](OutputFile& out) { echoWall(out, *si); }), expected);
}

// --- specified deflections and slopes ---------------------------------------------------------

TEST_F(EchoTest, SpecifiedPointsOfTheThreeCases) {
  english->control.nSpecified = 3;
  const Lines lines = capture([&](OutputFile& out) {
    echoSpecifiedHeading(out, *english);
    echoSpecifiedPoint(out, *english, {1, 0, 0.5, 0.0});
    echoSpecifiedPoint(out, *english, {2, 10, 0.0, -0.002});
    echoSpecifiedPoint(out, *english, {3, 40, 0.25, 0.001});
  });
  const Lines expected = joined({banner("*        SPECIFIED DEFLECTIONS AND SLOPES        *"),
                                 {"          STA      CASE       DEFLECTION        SLOPE",
                                  "                                  IN             RAD",
                                  "            0        1         5.000E-01         NONE",
                                  "           10        2           NONE        -2.000E-03",
                                  "           40        3         2.500E-01      1.000E-03"}});
  EXPECT_EQ(lines, expected);
}

TEST_F(EchoTest, NoSpecifiedPointsGiveTheEmptyForm) {
  english->control.nSpecified = 0;
  const Lines expected = {"", "                    "};
  EXPECT_EQ(capture([&](OutputFile& out) { echoSpecifiedHeading(out, *english); }), expected);
}

// --- wall and cross sections ------------------------------------------------------------------

TEST_F(EchoTest, WallSectionsPrintDepthsAsEntered) {
  english->sections.wallSections = {{0.0, 12.5, 1}, {12.5, 20.0, 2}};
  const Lines expected = {
      "", "     * WALL SECTIONS *", "", "       SECT          TOP        BOTTOM     SECTION",
      // Depths entered in feet carry the feet label.
      "                     FT           FT", "         1        0.00000       12.5000       1 ",
      "         2        12.5000       20.0000       2 ", " "};
  EXPECT_EQ(capture([&](OutputFile& out) { echoWallSections(out, *english); }), expected);
}

CrossSection iSection() {
  CrossSection x;
  x.header = {1, 0, 3, 0};
  x.name = "PILE A";
  x.name.resize(80, ' ');
  x.aTop = {12.0, 0.0, 10.5, 12.25, 0.0, 0.0, 0.5, 0.375};
  x.bTop[3] = 400.0;
  x.bTop[8] = 29.0e6;
  x.aBottom = x.aTop;
  x.bBottom = x.bTop;
  return x;
}

TEST_F(EchoTest, UntaperedElasticSectionAndPropertyTable) {
  english->sections.crossSections = {iSection()};
  const Lines expected = {
      "", "     * CROSS SECTIONS *", "", "      CROSS SECTION       :     1",
      "      SECTION NAME        : PILE A                          ",
      "      TYPE                :  ELASTIC", "      CROSS SECTION TYPE  : I SECTION        ",
      "      EQUIVALENT DIAMETER :        12.0000 IN",
      "      EXTERNAL WIDTH      :        10.5000 IN",
      "      EXTERNAL DEPTH      :        12.2500 IN",
      "      FLANGE THICKNESS    :        0.50000 IN",
      "      WEB THICKNESS       :        0.37500 IN",
      "      YOUNG MODULUS       :    2.90000E+07 LBS/IN**2", "",
      "     * CROSS SECTIONS PROPERTIES *", "", "              ELASTIC SECTIONS         ",
      "       SECT       DIAM,IN       I,IN**4", "         1        12.0000       400.000 ",
      // The nonlinear sub-head stands also without rows.
      "", "              NONLINEAR SECTIONS       ", "       SECT       DIAM,IN"};
  EXPECT_EQ(capture([&](OutputFile& out) { echoCrossSections(out, *english); }), expected);
}

TEST_F(EchoTest, TaperedSectionInSIPrintsTopAndBottomAndTheInertiaInMillimetres) {
  CrossSection x;
  x.header = {1, 0, 0, 0};
  x.name = "TAPERED";
  x.taperFlag = 1;
  x.aTop[0] = 600.0;
  x.aBottom[0] = 400.0;
  x.bTop[3] = 0.0054;  // already divided by 1e12 by the reader
  x.bBottom[3] = 0.0012;
  x.bTop[8] = x.bBottom[8] = 2.5e7;
  si->sections.crossSections = {x};
  const Lines lines = capture([&](OutputFile& out) { echoCrossSections(out, *si); });
  EXPECT_TRUE(containsBlock(
      lines,
      {"      CROSS SECTION TYPE  : GENERAL SECTION  ",
       "      TAPERED SECTION                  TOP        BOTTOM",
       "      EQUIVALENT DIAMETER :        600.000       400.000 MM",
       "      YOUNG MODULUS       :    2.50000E+07   2.50000E+07  KN/ M**2", "",
       "     * CROSS SECTIONS PROPERTIES *", "", "              ELASTIC SECTIONS         ",
       "       SECT       DIAM,MM       I,MM**4", "         1        600.000   5.40000E+09 "}));
}

TEST_F(EchoTest, CataloguedShapesEchoTheirFamilyAndName) {
  CrossSection aisc = iSection();
  aisc.header[2] = 5;
  aisc.options[0] = 11;  // HSS
  aisc.secondName = "HSS12X12X1/2";
  aisc.taperFlag = 1;  // catalogued shapes never echo a taper
  CrossSection sheet = iSection();
  sheet.header[2] = 6;
  sheet.options[6] = 1;  // NUCOR
  sheet.options[7] = 3;
  sheet.secondName = "SKZ 26";
  english->sections.crossSections = {aisc, sheet};
  const Lines lines = capture([&](OutputFile& out) { echoCrossSections(out, *english); });
  EXPECT_TRUE(containsBlock(lines, {"      CROSS SECTION TYPE  : AISC SECTION (HSS) ",
                                    "      AISC SECTION NAME   : HSS12X12X1/2                    ",
                                    "      EQUIVALENT DIAMETER :        12.0000 IN"}));
  EXPECT_TRUE(containsBlock(
      lines, {"      CROSS SECTION TYPE  : SHEET PILING     ", "      SHEET PILE SOURCE   : NUCOR",
              "      SHEET PILE TYPE     : SCZ/SKZ",
              "      SHEET PILE NAME     : SKZ 26                          "}));
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       "      TAPERED SECTION                  TOP        BOTTOM"),
            0);
}

CrossSection roundShaft() {
  CrossSection x;
  x.header = {2, 0, 0, 1};
  x.name = "SHAFT 36";
  x.sectionType = 2;
  x.aTop[0] = 36.0;
  x.bTop[8] = 3.6e6;
  x.n3Reals[1] = 4000.0;
  x.n5Ints = {3, 1, 0, 0, 2};  // manual layout, bars given by area, 2 bars
  x.n5Reals = {0.79, 1.0, 3.0, 29.0e6, 60000.0};
  x.bars = {{10.0, 0.0, 0.79, 0.0, 0.0}, {-10.0, 0.0, 0.79, 0.0, 0.0}};
  MomentCurvatureSet level;
  level.axialThrust = 100.5;
  level.nPoints = 1;
  level.moment[0] = 2.0e6;
  level.curvature[0] = 2.0e-4;
  x.generated = {level};
  return x;
}

TEST_F(EchoTest, NonlinearShaftWithManualLayout) {
  english->sections.crossSections = {iSection(), roundShaft()};
  const Lines lines = capture([&](OutputFile& out) { echoCrossSections(out, *english); });
  EXPECT_TRUE(containsBlock(lines, {"",
                                    "      CROSS SECTION       :     2",
                                    "      SECTION NAME        : SHAFT 36                        ",
                                    "      TYPE                :  NONLINEAR",
                                    "      CROSS SECTION TYPE  : ROUND CONCRETE SHAFT",
                                    "      CONCRETE FC         :        4000.00 LBS/IN**2",
                                    "      NUMBER REBARS       :              2",
                                    "      AREA REINFORCEMENT  :        0.79000 IN**2",
                                    "      ES REINFORCEMENT    :    2.90000E+07 LBS/IN**2",
                                    "      FY REINFORCEMENT    :        60000.0 LBS/IN**2",
                                    "      REINF. LAYOUT       : MANUAL",
                                    "      COVER               :        3.00000 IN",
                                    "      REINF. COORDS",
                                    "      - REBAR    1        :        10.0000       0.00000      "
                                    " 0.79000       0.00000       0.00000",
                                    "      - REBAR    2        :       -10.0000       0.00000      "
                                    " 0.79000       0.00000       0.00000",
                                    "      EQ. YOUNG MODULUS   :    3.60000E+06 LBS/IN**2",
                                    "      CONFINED SECTION    : NO",
                                    "",
                                    "     * CROSS SECTIONS PROPERTIES *",
                                    "",
                                    "              ELASTIC SECTIONS         ",
                                    "       SECT       DIAM,IN       I,IN**4",
                                    "         1        12.0000       400.000 ",
                                    "",
                                    "              NONLINEAR SECTIONS       ",
                                    "       SECT       DIAM,IN",
                                    "         2        36.0000 "}));

  // Its first generated level, numbered by the section.
  const Lines ei = capture([&](OutputFile& out) { echoNonlinearEI(out, *english); });
  const Lines expected = {"",
                          "     * INTERNALLY GENERATED NONLINEAR EI *",
                          "",
                          "   SET          =      2",
                          "   AXIAL THRUST =    100.5000  LBS",
                          "",
                          "       N          CURVATURE            MOMENT              EI   ",
                          "                      RAD/IN            LBS-IN         LBS-IN**2",
                          "         1       2.00000E-04       2.00000E+06       1.00000E+10 ",
                          " "};
  EXPECT_EQ(ei, expected);
}

TEST_F(EchoTest, UserDefinedEIPrintsNoRigidityWhereTheCurvatureIsZero) {
  CrossSection x;
  x.header = {1, 0, 0, 1};
  x.sectionType = 10;
  x.generated = {MomentCurvatureSet{}};  // a generated block of a type-10 section is not shown
  english->sections.crossSections = {x};
  MomentCurvatureSet set;
  set.nPoints = 3;
  set.moment = {0.0, 1.0e6, 1.5e6};
  set.curvature = {0.0, 1.0e-4, 3.0e-4};
  english->sections.userSets = {set};
  const Lines expected = {"",
                          "     * USER DEFINED NONLINEAR EI *",
                          "",
                          "   SET          =      1",
                          "   AXIAL THRUST =      0.0000  LBS",
                          "",
                          "       N          CURVATURE            MOMENT              EI   ",
                          "                      RAD/IN            LBS-IN         LBS-IN**2",
                          "         1           0.00000           0.00000 ",
                          "         2       1.00000E-04       1.00000E+06       1.00000E+10 ",
                          "         3       3.00000E-04       1.50000E+06       5.00000E+09 ",
                          " "};
  EXPECT_EQ(capture([&](OutputFile& out) { echoNonlinearEI(out, *english); }), expected);

  // A type-10 section whose set was not given shows no table (and reads nothing out of range).
  english->sections.userSets.clear();
  EXPECT_TRUE(capture([&](OutputFile& out) { echoNonlinearEI(out, *english); }).empty());
}

// --- stiffness and load data, supports ----------------------------------------------------------

TEST_F(EchoTest, StiffnessAndLoadRowsInTheThreePrintForms) {
  StationGrid& g = english->grid;
  g.EI(0) = 5.0e8;
  g.EI(8) = 8.0e8;
  g.EI(10) = 1.0e9;
  g.EI(14) = 1.4e9;
  g.EI(16) = 1.6e9;
  g.EI(25) = 2.5e9;
  english->loads.loads = {{1, 0, 5, 100.0, 0.0, 0.0},      // alone
                          {2, 10, 12, 50.0, 0.0, 500.0},   // starts a chain: FROM alone
                          {2, 14, 20, 75.0, 0.0, 0.0},     // middle link: TO alone
                          {1, 25, 30, 0.0, 0.0, -250.0}};  // ends the chain: TO alone
  english->loads.restraints = {{0, 0, 1, 1.0e5, 0.0}};
  Support tieBack;
  tieBack.station = 8;
  tieBack.spring = 2.5e4;
  tieBack.prestressLoad = -1.2e4;
  Support strut;
  strut.station = 16;
  strut.spring = 4.0e4;
  english->loads.tieBacks = {tieBack};
  english->loads.struts = {strut};
  const Lines expected =
      joined({banner("*        STIFFNESS AND LOAD DATA                 *"),
              {"      EI - FLEXURAL RIGIDITY,  Q - TRANSVERSE LOAD,",
               "      S - STIFFNESS OF TRANSVERSE RESISTANCE,",
               "      T - TORQUE,              P - AXIAL LOAD,",
               "      R - STIFFNESS OF TORSIONAL RESISTANCE.", "", "", "",
               "     FROM TO CONTD     EI         Q        S        T         R         P",
               "                 LBS-IN**2       LBS    LBS/IN    LBS-IN    LBS-IN       LBS",
               "        0   5  1 5.000E+08 1.000E+02 0.000E+00 0.000E+00 0.000E+00 0.000E+00",
               "       10      2 1.000E+09 5.000E+01 0.000E+00 0.000E+00 0.000E+00 5.000E+02",
               "           20  2 1.400E+09 7.500E+01 0.000E+00 0.000E+00 0.000E+00 0.000E+00",
               "           30  1 2.500E+09 0.000E+00 0.000E+00 0.000E+00 0.000E+00-2.500E+02",
               "        0   0  1 5.000E+08 0.000E+00 1.000E+05 0.000E+00 0.000E+00 0.000E+00",
               "        8   8  1 8.000E+08-1.200E+04 2.500E+04 0.000E+00 0.000E+00 0.000E+00",
               "       16  16  1 1.600E+09 0.000E+00 4.000E+04 0.000E+00 0.000E+00 0.000E+00"}});
  EXPECT_EQ(capture([&](OutputFile& out) { echoStiffnessAndLoad(out, *english); }), expected);
}

TEST_F(EchoTest, RestraintChainsAndAFromStationOutsideTheTables) {
  // The FROM of a row that ends a chain is not used by the distribution and may lie anywhere:
  // its rigidity prints as 0 instead of reading outside the station table.
  si->grid.EI(3) = 7.0e4;
  si->loads.restraints = {{3, 3, 2, 1.0e3, 0.0}, {-500, 9, 1, 2.0e3, 10.0}};
  const Lines lines = capture([&](OutputFile& out) { echoStiffnessAndLoad(out, *si); });
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 3],
            "                  KN- M**2        KN     KN/ M     KN- M     KN- M        KN");
  EXPECT_EQ(lines[lines.size() - 2],
            "        3      2 7.000E+04 0.000E+00 1.000E+03 0.000E+00 0.000E+00 0.000E+00");
  EXPECT_EQ(lines[lines.size() - 1],
            "            9  1 0.000E+00 0.000E+00 2.000E+03 0.000E+00 1.000E+01 0.000E+00");
}

TEST_F(EchoTest, TieBackAndStrutTablesWithTheWaleLine) {
  Support tieBack;
  tieBack.depth = 4.0;
  tieBack.area = 1.5;
  tieBack.elasticModulus = 29.0e6;
  tieBack.unbondedLength = 15.0;
  tieBack.angle = 15.0;
  tieBack.spacing = 8.0;
  tieBack.prestress = 20000.0;
  Support strut = tieBack;
  strut.depth = 8.0;
  strut.area = 10.0;
  strut.unbondedLength = 20.0;
  strut.angle = 0.0;
  strut.spacing = 10.0;
  english->loads.tieBacks = {tieBack};
  english->loads.struts = {strut};
  english->control.waleFlag = 1;
  english->control.waleKind = 1;
  const Lines expected =
      joined({banner("*                  TIE BACK DATA                 *"),
              {"         DEPTH      AREA    ELASTIC   UNBONDED   HORIZ.    ANCHOR  PRESTRESS.",
               "                            MODULUS    LENGTH    ANGLE    SPACING    FORCE",
               "             FT     IN**2 LBS/IN**2        FT       DEG        FT       LBS",
               "       4.000E+00 1.500E+00 2.900E+07 1.500E+01 1.500E+01 8.000E+00 2.000E+04",
               "      * CONSIDER WALES AS SIMPLY SUPPORTED"},
              banner("*               STRUT/RAKER DATA                 *"),
              {"         DEPTH      AREA    ELASTIC   UNBONDED   HORIZ.    ANCHOR",
               "                            MODULUS    LENGTH    ANGLE    SPACING",
               "             FT     IN**2 LBS/IN**2        FT       DEG        FT",
               "       8.000E+00 1.000E+01 2.900E+07 2.000E+01 0.000E+00 1.000E+01",
               "      * CONSIDER WALES AS SIMPLY SUPPORTED"}});
  EXPECT_EQ(capture([&](OutputFile& out) { echoSupports(out, *english); }), expected);

  english->control.waleKind = 2;
  english->loads.struts.clear();
  const Lines continuous = capture([&](OutputFile& out) { echoSupports(out, *english); });
  ASSERT_FALSE(continuous.empty());
  EXPECT_EQ(continuous.back(), "      * CONSIDER WALES AS CONTINUOUS SPAN ");
  EXPECT_EQ(std::count(continuous.begin(), continuous.end(), kStars), 2);

  english->control.waleFlag = 0;
  const Lines noWales = capture([&](OutputFile& out) { echoSupports(out, *english); });
  ASSERT_FALSE(noWales.empty());
  EXPECT_EQ(noWales.back(),
            "       4.000E+00 1.500E+00 2.900E+07 1.500E+01 1.500E+01 8.000E+00 2.000E+04");
}

TEST_F(EchoTest, SIUnitsLineOfTheTieBackTable) {
  si->loads.tieBacks = {Support{}};
  const Lines lines = capture([&](OutputFile& out) { echoSupports(out, *si); });
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[8],
            "              M      M**2  KN/ M**2         M       DEG         M        KN");
}

// --- active pressure and user curves -----------------------------------------------------------

TEST_F(EchoTest, ActivePressureTable) {
  english->soil.activePressure = {{0.0, 0.0}, {120.0, 0.5}};
  const Lines expected = joined(
      {banner("*        SPECIFIED ACTIVE EARTH PRESSURE         *"),
       {"         DEPTH         ACTIVE EARTH PRESSURE", "           IN                  LBS/IN",
        "        --------       ------------------------", "      0.00000E+00         0.00000E+00",
        "      1.20000E+02         5.00000E-01"}});
  EXPECT_EQ(capture([&](OutputFile& out) { echoActivePressure(out, *english); }), expected);
}

TEST_F(EchoTest, UserCurvesPrintScaledPoints) {
  UserCurve c;
  c.station = 12;
  c.belowExcavation = 1;
  c.nPoints = 2;
  c.pMultiplier = 1.0;
  c.yMultiplier = 0.5;
  c.y[1] = 0.5;
  c.p[1] = 150.0;
  c.yScaled[1] = 0.25;
  c.pScaled[1] = 150.0;
  si->curves.userCurves = {c};
  const Lines expected =
      joined({banner("*     INPUTTED  SOIL RESISTANCE (P-Y) CURVES     *"),
              {"", "     FROM TO CONTD      P-MULTIPLIER  Y-MULTIPLIER      POINTS     ",
               "       12  12  1           1.000E+00     5.000E-01           2", "",
               "              Y             P    ", "              M            KN/ M",
               "          ---------      --------", "          0.000E+00     0.000E+00",
               "          2.500E-01     1.500E+02"}});
  EXPECT_EQ(capture([&](OutputFile& out) { echoUserCurves(out, *si); }), expected);
}

TEST_F(EchoTest, UserSetsArePrintedAlsoWithoutATypeTenSection) {
  english->sections.crossSections = {iSection()};
  MomentCurvatureSet a, b;
  a.nPoints = b.nPoints = 2;
  a.moment = {0.0, 100.0};
  a.curvature = {0.0, 0.01};
  b.moment = {0.0, 50.0};
  b.curvature = {0.0, 0.02};
  english->sections.userSets = {a, b};
  const Lines lines = capture([&](OutputFile& out) { echoNonlinearEI(out, *english); });
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "     * USER DEFINED NONLINEAR EI *"), 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "   SET          =      1"), 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "   SET          =      2"), 1);
  // EI = M/phi = 50 / 0.02 = 2500 on the second row of set 2.
  EXPECT_EQ(lines.end(),
            std::find(lines.begin(), lines.end(), "* INTERNALLY GENERATED NONLINEAR EI *"));
  EXPECT_NE(lines.end(),
            std::find(lines.begin(), lines.end(),
                      "         2         0.0200000           50.0000           2500.00 "));
}

TEST(PrintableText, ControlAndNulBytesAreShownEscaped) {
  EXPECT_EQ(printableText(std::string("A\tB") + '\0' + "C\x7f\x1f"), "A\\x09B\\x00C\\x7F\\x1F");
  EXPECT_EQ(printableText("PLAIN TEXT, 1.5 M"), "PLAIN TEXT, 1.5 M");
  EXPECT_EQ(printableText("\xc3\xa9"), "\xc3\xa9");  // bytes above 127 are kept
}

}  // namespace
}  // namespace korden
