// Each record shape read from text: a wrong count of values would shift the rest of the file, so
// every test ends by reading a sentinel record that must come out right.
#include "input/readers.h"

#include <gtest/gtest.h>

#include "engine/errors.h"
#include "engine/single_precision.h"

namespace korden {
namespace {

int sentinel(InputFile& in) {
  int v = 0;
  in.statement("SENTINEL").integer(v);
  return v;
}

RunState stateWithGrid(int unitsFlag = 1, int n = 40, double h = 6.0) {
  RunState s;
  s.control.unitsFlag = unitsFlag;
  s.wall.nIncrements = n;
  s.wall.incrementLength = h;
  buildGrid(s.grid, n, h);
  return s;
}

TEST(Readers, TitleIsCutTo70AndPaddedTo80) {
  RunState s;
  InputFile in(std::string(75, 'T') + "\nshort\n");
  readTitle(s, in);
  EXPECT_EQ(s.title, std::string(70, 'T') + std::string(10, ' '));
  readTitle(s, in);
  EXPECT_EQ(s.title, "short" + std::string(75, ' '));
}

TEST(Readers, ControlRecordSpreadOverTwoLines) {
  RunState s;
  InputFile in("2 3 4 5 6 1 2 8\n9 10 11 12 13 14 15 99\n777\n");
  readControl(s, in);
  const ControlRecord& c = s.control;
  EXPECT_EQ(c.unitsFlag, 2);
  EXPECT_EQ(c.nSpecified, 3);
  EXPECT_EQ(c.nWallSections, 4);
  EXPECT_EQ(c.nCrossSections, 5);
  EXPECT_EQ(c.nModificationFactors, 6);
  EXPECT_EQ(c.pressureOption, 1);
  EXPECT_EQ(c.curveOption, 2);
  EXPECT_EQ(c.nUserCurves, 8);
  EXPECT_EQ(c.nStages, 9);
  EXPECT_EQ(c.nUserEISets, 10);
  EXPECT_EQ(c.nTieBacks, 11);
  EXPECT_EQ(c.hingeFlag, 12);
  EXPECT_EQ(c.waleFlag, 13);
  EXPECT_EQ(c.waleKind, 14);
  EXPECT_EQ(c.nStruts, 15);
  EXPECT_EQ(sentinel(in), 777);
}

TEST(Readers, WallRecordBuildsTheGridAndRejectsBadIncrements) {
  RunState s;
  InputFile in("40 6.0 10.0 0.001 120.0 12.0 240.0 100 7 8 1\n777\n");
  readWallRecord(s, in);
  const WallRecord& w = s.wall;
  EXPECT_EQ(w.nIncrements, 40);
  EXPECT_EQ(w.incrementLength, 6.0);
  EXPECT_EQ(w.maxAllowableDeflection, 10.0);
  EXPECT_EQ(w.closureTolerance, 0.001);
  EXPECT_EQ(w.freeHeight, 120.0);
  EXPECT_EQ(w.wallWidth, 12.0);
  EXPECT_EQ(w.wallHeight, 240.0);
  EXPECT_EQ(w.maxIterations, 100);
  EXPECT_EQ(w.sectionAdjustFlag, 1);
  EXPECT_EQ(s.grid.n, 40);
  EXPECT_EQ(s.grid.hCubed, 216.0);
  EXPECT_EQ(sentinel(in), 777);

  for (const char* bad :
       {"0 6 1 1 1 1 1 1 0 0 0", "10 0 1 1 1 1 1 1 0 0 0", "10 -1 1 1 1 1 1 1 0 0 0"}) {
    RunState t;
    InputFile b(bad);
    EXPECT_THROW(readWallRecord(t, b), ErrorStop) << bad;
  }
  RunState t;
  InputFile big("410 6 1 1 1 1 1 1 0 0 0");
  try {
    readWallRecord(t, big);
    FAIL();
  } catch (const ErrorStop& e) {
    EXPECT_EQ(e.lines()[2], "     TOO MUCH DATA FOR AVAILABLE STORAGE");
  }
  RunState ok;
  InputFile limit("409 6 1 1 1 1 1 1 0 0 0");
  EXPECT_NO_THROW(readWallRecord(ok, limit));
}

TEST(Readers, SpecifiedPointsSetRowCodesAndMustBeInOrder) {
  RunState s = stateWithGrid();
  s.control.nSpecified = 3;
  InputFile in("1 5 0.5 0.0\n2 5 0 0.01\n3 7 0 0\n777\n");
  int rows = 0;
  readSpecifiedPoints(s, in, [&](const SpecifiedPoint&) { ++rows; });
  EXPECT_EQ(rows, 3);
  ASSERT_EQ(s.grid.specified.size(), 3u);
  EXPECT_EQ(s.grid.specified[1].caseCode, 2);
  EXPECT_EQ(s.grid.specified[1].slope, 0.01);
  EXPECT_EQ(s.grid.specified[0].deflection, 0.5);
  EXPECT_EQ(s.grid.rowCode(7), 4);
  EXPECT_EQ(s.grid.rowCode(8), 5);
  EXPECT_EQ(sentinel(in), 777);

  RunState t = stateWithGrid();
  t.control.nSpecified = 2;
  InputFile backwards("1 5 0 0\n1 4 0 0\n");
  EXPECT_THROW(readSpecifiedPoints(t, backwards, [](const SpecifiedPoint&) {}), ErrorStop);
  RunState u = stateWithGrid();
  u.control.nSpecified = 1;
  InputFile tooHigh("1 -2 0 0\n");
  EXPECT_THROW(readSpecifiedPoints(u, tooHigh, [](const SpecifiedPoint&) {}), ErrorStop);
}

TEST(Readers, WallSectionsAndTheirCapacity) {
  RunState s;
  s.control.nWallSections = 2;
  InputFile in("0 10 1\n10 20.5 2\n777\n");
  readWallSections(s, in);
  ASSERT_EQ(s.sections.wallSections.size(), 2u);
  EXPECT_EQ(s.sections.wallSections[1].bottom, 20.5);
  EXPECT_EQ(s.sections.wallSections[1].crossSection, 2);
  EXPECT_EQ(sentinel(in), 777);
  RunState t;
  t.control.nWallSections = 21;
  InputFile none("");
  EXPECT_THROW(readWallSections(t, none), ErrorStop);
}

const char* kElasticUntapered =
    "1 1 3 0\n"
    "PZ27 SHEET\n"
    "10 2 3 4 5 6 0.5 0.4\n"
    "1 2 3 184.2 5 6 7 8 29000000 10 11.5 0\n"
    "5 6 7 8 9 10 0 1 2\n"
    "SECOND NAME\n";

const char* kElasticTapered =
    "2 2 0 0\n"
    "TAPER\n"
    "10 0 0 0 0 0 0 0\n"
    "0 0 0 100 0 0 0 0 2 0 1.5 1\n"
    "20 0 0 0 0 0 0 0\n"
    "0 0 0 300 0 0 0 0 2 0 2.5\n"
    "0 0 0 0 0 0 0 0 0\n"
    "SECOND\n";

TEST(Readers, ElasticSectionsUntaperedAndTapered) {
  RunState s;
  s.control.nCrossSections = 2;
  InputFile in(std::string(kElasticUntapered) + kElasticTapered + "777\n");
  readCrossSections(s, in);
  ASSERT_EQ(s.sections.crossSections.size(), 2u);
  const CrossSection& a = s.sections.crossSections[0];
  EXPECT_EQ(a.elasticKind(), 3);
  EXPECT_FALSE(a.nonlinear());
  EXPECT_EQ(a.name.substr(0, 10), "PZ27 SHEET");
  EXPECT_EQ(a.aTop[0], 10);
  EXPECT_EQ(a.aTop[7], 0.4);
  EXPECT_EQ(a.extraTop, 11.5);
  EXPECT_EQ(a.eiTop, 184.2 * 29000000);
  EXPECT_EQ(a.eiBottom, a.eiTop);  // untapered: bottom copied from top
  EXPECT_EQ(a.aBottom, a.aTop);
  EXPECT_EQ(a.options[0], 5);
  EXPECT_EQ(a.optionReal, 7);
  EXPECT_EQ(a.options[7], 2);
  EXPECT_EQ(a.secondName.substr(0, 11), "SECOND NAME");
  const CrossSection& b = s.sections.crossSections[1];
  EXPECT_EQ(b.taperFlag, 1);
  EXPECT_EQ(b.eiTop, 200);
  EXPECT_EQ(b.eiBottom, 600);
  EXPECT_EQ(b.aBottom[0], 20);
  EXPECT_EQ(b.extraBottom, 2.5);
  EXPECT_EQ(sentinel(in), 777);
}

TEST(Readers, SiMomentOfInertiaIsDividedByTheSinglePrecisionTrillion) {
  RunState s;
  s.control.unitsFlag = 2;
  s.control.nCrossSections = 1;
  InputFile in(std::string(kElasticUntapered) + "777\n");
  readCrossSections(s, in);
  const CrossSection& a = s.sections.crossSections[0];
  EXPECT_EQ(a.bTop[3], 184.2 / 999999995904.0);
  EXPECT_EQ(a.eiTop, 184.2 / 999999995904.0 * 29000000);
  EXPECT_EQ(sentinel(in), 777);
}

// A nonlinear section with two manual bars, one strand, two N8a rows and two N10a rows.
const char* kNonlinear =
    "3 3 0 1\n"
    "DRILLED SHAFT\n"
    "36 0 1 2 3 4 5 6 3600000\n"
    "2 36 0 0 0 0 0 0 0 0 0\n"
    "1 4000 3 4 29000000 60000 1 2 3 4\n"
    "W14X90\n"
    "1 2 3 4 2 0.79 1.0 3.0 29000000 60000 3\n"
    "1 2 3 4 5\n"
    "6 7 8 9 10\n"
    "1 2 3 4 5 6 0.2 0.5 6 60000\n"
    "1 2 3 4 1 0.5 0.153 2 270000 30000 1 2\n"
    "11 12 13 14 15\n"
    "2 0 0 1.5 2.5\n"
    "0.25\n"
    "0.75\n"
    "1 2 3 4 5 6 7 0.1 0.2 0.3 1.5\n"
    "1 2 2 1 8 9\n"
    "0.1\n"
    "0.2\n";

TEST(Readers, NonlinearSectionWithEveryRowRecord) {
  RunState s;
  s.control.nCrossSections = 1;
  InputFile in(std::string(kNonlinear) + "777\n");
  readCrossSections(s, in);
  const CrossSection& x = s.sections.crossSections[0];
  EXPECT_TRUE(x.nonlinear());
  EXPECT_EQ(x.aTop[0], 36);
  EXPECT_EQ(x.bTop[3], 3);
  EXPECT_EQ(x.bTop[8], 3600000);
  EXPECT_EQ(x.eiTop, 3.0 * 3600000);
  EXPECT_EQ(x.sectionType, 2);
  EXPECT_EQ(x.n2[0], 36);
  EXPECT_EQ(x.n3Reals[1], 4000);
  EXPECT_EQ(x.n3Ints[3], 4);
  EXPECT_EQ(x.steelName.substr(0, 6), "W14X90");
  EXPECT_EQ(x.n5Ints[4], 2);
  EXPECT_EQ(x.n5Reals[0], 0.79);
  EXPECT_EQ(x.n5LastInt, 3);
  ASSERT_EQ(x.bars.size(), 2u);
  EXPECT_EQ(x.bars[1][4], 10);
  EXPECT_EQ(x.n6Ints[3], 4);
  EXPECT_EQ(x.n6Reals[3], 60000);
  EXPECT_EQ(x.n7Reals[4], 30000);
  EXPECT_EQ(x.n7Extra[1], 2);
  ASSERT_EQ(x.strands.size(), 1u);
  EXPECT_EQ(x.strands[0][0], 11);
  ASSERT_EQ(x.n8Rows.size(), 2u);
  EXPECT_EQ(x.n8Rows[1], 0.75);
  EXPECT_EQ(x.n9Reals[3], 1.5);
  ASSERT_EQ(x.n10Rows.size(), 2u);
  EXPECT_EQ(x.n10Rows[1], 0.2);
  EXPECT_EQ(sentinel(in), 777);
}

TEST(Readers, UserAndGeneratedMomentCurvatureSets) {
  RunState s;
  s.control.nUserEISets = 1;
  s.control.nCrossSections = 2;
  s.sections.crossSections.resize(2);
  InputFile in(
      "0\n"
      "150.5\n"
      "0 3\n"
      "0 0\n1000 0.001\n1500 0.004\n"
      // section 1: no axial load: a block of one record
      "0 0\n"
      // section 2: two axial-load levels
      "0 2\n"
      "100 7\n0 2\n10 0.1\n20 0.3\n"
      "200 8\n0 1\n30 0.2\n"
      "777\n");
  readNonlinearEI(s, in);
  ASSERT_EQ(s.sections.userSets.size(), 1u);
  const MomentCurvatureSet& u = s.sections.userSets[0];
  EXPECT_EQ(u.axialThrust, 150.5);
  EXPECT_EQ(u.nPoints, 3);
  EXPECT_EQ(u.moment[2], 1500);
  EXPECT_EQ(u.curvature[2], 0.004);
  EXPECT_TRUE(s.sections.crossSections[0].generated.empty());
  const auto& g = s.sections.crossSections[1].generated;
  ASSERT_EQ(g.size(), 2u);
  EXPECT_EQ(g[0].axialThrust, 100);
  EXPECT_EQ(g[0].secondValue, 7);
  EXPECT_EQ(g[0].moment[1], 20);
  EXPECT_EQ(g[1].curvature[0], 0.2);
  EXPECT_EQ(sentinel(in), 777);

  RunState t;
  t.control.nCrossSections = 1;
  t.sections.crossSections.resize(1);
  InputFile tooMany("0 1\n0 0\n0 101\n");
  EXPECT_THROW(readNonlinearEI(t, tooMany), ErrorStop);
}

TEST(Readers, LoadRowsKeepTheirFieldOrderAndRejectBadRows) {
  RunState s = stateWithGrid();
  InputFile in("3\n1 5 5 100 0 0\n2 6 9 10 20 -30\n1 12 20 40 0 0\n777\n");
  readLoads(s, in);
  const auto& rows = s.loads.loads;
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].contd, 2);
  EXPECT_EQ(rows[1].from, 6);
  EXPECT_EQ(rows[1].to, 9);
  EXPECT_EQ(rows[1].q, 10);
  EXPECT_EQ(rows[1].t, 20);
  EXPECT_EQ(rows[1].p, -30);
  EXPECT_EQ(s.loads.firstLoadDepth, 30.0);
  EXPECT_EQ(s.loads.lastLoadDepth, 72.0);
  EXPECT_EQ(sentinel(in), 777);

  RunState t = stateWithGrid();
  InputFile reversed("1\n1 9 8 1 0 0\n");
  try {
    readLoads(t, reversed);
    FAIL();
  } catch (const ErrorStop& e) {
    EXPECT_EQ(e.lines()[2], "     ERROR STOP -- STATIONS NOT IN ORDER");
  }
  RunState u = stateWithGrid();
  InputFile badContd("1\n3 1 2 1 0 0\n");
  EXPECT_THROW(readLoads(u, badContd), ErrorStop);
}

TEST(Readers, SupportsRestraintsTieBacksAndStruts) {
  RunState s = stateWithGrid();
  s.control.nTieBacks = 2;
  s.control.nStruts = 1;
  InputFile in(
      "1\n0 4 1 1000 50\n"
      "10 0.5 29000000 15 15 8 50000\n"
      "5.26 0.5 29000000 15 15 8 0\n"
      "12.5 2 29000000 10 0 10\n"
      "777\n");
  readSupports(s, in);
  ASSERT_EQ(s.loads.restraints.size(), 1u);
  EXPECT_EQ(s.loads.restraints[0].to, 4);
  EXPECT_EQ(s.loads.restraints[0].r, 50);
  ASSERT_EQ(s.loads.tieBacks.size(), 2u);
  const Support& t = s.loads.tieBacks[0];
  EXPECT_EQ(t.depth, 10);
  EXPECT_EQ(t.area, 0.5);
  EXPECT_EQ(t.elasticModulus, 29000000);
  EXPECT_EQ(t.unbondedLength, 15);
  EXPECT_EQ(t.angle, 15);
  EXPECT_EQ(t.spacing, 8);
  EXPECT_EQ(t.prestress, 50000);
  EXPECT_EQ(t.station, 20);                    // 10 ft with h = 6 in
  EXPECT_EQ(s.loads.tieBacks[1].station, 11);  // 5.26 ft * 12 / 6 = 10.52
  ASSERT_EQ(s.loads.struts.size(), 1u);
  EXPECT_EQ(s.loads.struts[0].spacing, 10);
  EXPECT_EQ(s.loads.struts[0].station, 25);
  EXPECT_EQ(s.loads.struts[0].prestress, 0);
  EXPECT_EQ(sentinel(in), 777);

  RunState many = stateWithGrid();
  many.control.nTieBacks = 15;
  many.control.nStruts = 6;
  InputFile none("0\n");
  EXPECT_THROW(readSupports(many, none), ErrorStop);
}

TEST(Readers, WalesModificationFactorsAndActivePressure) {
  RunState s;
  s.control.nModificationFactors = 2;
  InputFile in("2\n1 1 2 3\n2 4 5 6\n1\n0 0.5 1\n10 0.8 1.2\n3\n0 0\n10 100\n20 200\n777\n");
  readWales(s, in);
  ASSERT_EQ(s.loads.wales.size(), 2u);
  EXPECT_EQ(s.loads.wales[1].values[2], 6);
  readModificationFactors(s, in);
  EXPECT_EQ(s.loads.groupReductionSwitch, 1);
  ASSERT_EQ(s.loads.modificationFactors.size(), 2u);
  EXPECT_EQ(s.loads.modificationFactors[1].yFactor, 1.2);
  readActivePressureTable(s, in);
  ASSERT_EQ(s.soil.activePressure.size(), 3u);
  EXPECT_EQ(s.soil.activePressure[2].pressure, 200);
  EXPECT_EQ(sentinel(in), 777);
  InputFile huge("2001\n");
  EXPECT_THROW(readActivePressureTable(s, huge), ErrorStop);
}

const char* kSoilData =
    "120 12 24 60 240 1.0 1 10 5\n"
    "100 2000 1 2 3 4000\n"
    "2\n"
    "3 500 1000 2000 50 1\n"
    "1 1000 3000 0 0 2\n"
    "3 1 10\n"
    "1 0 120\n"
    "0.07 5 30 0.01 100 0.5\n"
    "0.07 6 31 0.02 200 0.6\n"
    "4 120 240\n"
    "0.06 5 32 0.01 150 0\n"
    "0.06 5 33 0.01 150 0\n"
    "6 240 480\n"
    "0.08 100 34 0.1 300 0.7\n"
    "0.08 100 35 0.1 300 0.8\n";

TEST(Readers, SoilDataEnglish) {
  RunState s;
  InputFile in(std::string(kSoilData) + "777\n");
  readSoilData(s, in);
  const SoilData& d = s.soil;
  EXPECT_EQ(d.wall.freeHeight, 120);
  EXPECT_EQ(d.wall.widthActive, 12);
  EXPECT_EQ(d.wall.widthResistance, 24);
  EXPECT_EQ(d.wall.waterExcavation, 240);
  EXPECT_EQ(d.wall.waterSwitch, 1);
  EXPECT_EQ(d.wall.slopeExcavation, 5);
  EXPECT_EQ(d.referenceWidth, 12.0);
  EXPECT_EQ(d.surface.uniformPressure, 100);
  EXPECT_EQ(d.surface.stripWidth, 4000);
  ASSERT_EQ(d.surcharges.size(), 2u);
  EXPECT_EQ(d.surcharges[0].type, 3);
  EXPECT_EQ(d.surcharges[0].width, 2000);  // millimetres only in SI
  EXPECT_EQ(d.surcharges[1].factor, 2);
  EXPECT_EQ(d.nLayers, 3);
  EXPECT_EQ(d.loadingKind, 1);
  EXPECT_EQ(d.cycles, 10);
  // Soft clay: friction and KPY zeroed, cohesion and E50 kept.
  EXPECT_EQ(d.layers[0].top.friction, 0);
  EXPECT_EQ(d.layers[0].top.kpy, 0);
  EXPECT_EQ(d.layers[0].bottom.cohesion, 6);
  EXPECT_EQ(d.layers[0].bottom.e50, 0.02);
  EXPECT_EQ(d.layers[0].bottom.sixth, 0.6);
  // Sand after clay: cohesion and E50 zeroed, friction kept.
  EXPECT_EQ(d.layers[1].top.cohesion, 0);
  EXPECT_EQ(d.layers[1].bottom.e50, 0);
  EXPECT_EQ(d.layers[1].bottom.friction, 33);
  EXPECT_EQ(d.layers[1].top.kpy, 150);
  // Rock: friction, E50 and KPY zeroed.
  EXPECT_EQ(d.layers[2].top.friction, 0);
  EXPECT_EQ(d.layers[2].bottom.e50, 0);
  EXPECT_EQ(d.layers[2].bottom.kpy, 0);
  EXPECT_EQ(d.layers[2].bottom.cohesion, 100);
  EXPECT_EQ(d.layers[2].xBottom, 480);
  EXPECT_EQ(sentinel(in), 777);
}

TEST(Readers, SoilDataSiConvertsSurchargeMillimetresAndSetsTheReferenceWidth) {
  RunState s;
  s.control.unitsFlag = 2;
  InputFile in(std::string(kSoilData) + "777\n");
  readSoilData(s, in);
  EXPECT_EQ(s.soil.referenceWidth, 0.30479999631643295);
  EXPECT_EQ(s.soil.surcharges[0].width, 2.0);
  EXPECT_EQ(s.soil.surcharges[0].distance, 1.0);
  EXPECT_EQ(s.soil.surcharges[0].vertical, 0.05);
  EXPECT_EQ(s.soil.surcharges[0].magnitude, 500);  // the load itself is not converted
  InputFile tooMany("0 0 0 0 0 0 0 0 0\n0 0 0 0 0 0\n0\n11 1 0\n");
  EXPECT_THROW(readSoilData(s, tooMany), ErrorStop);
}

TEST(Readers, UserCurvesAreScaledAndFlaggedByTheExcavationLevel) {
  RunState s = stateWithGrid();
  s.wall.freeHeight = 120.0;  // station 20 with h = 6
  s.control.nUserCurves = 2;
  InputFile in("19 2 0.5 2.0\n0 0\n1 -100\n20 3 1 1\n0 0\n1 -50\n2 -60\n777\n");
  readUserCurves(s, in);
  const auto& c = s.curves.userCurves;
  ASSERT_EQ(c.size(), 2u);
  EXPECT_EQ(c[0].belowExcavation, 0);
  EXPECT_EQ(c[1].belowExcavation, 1);
  EXPECT_EQ(c[0].yScaled[1], 2.0);
  EXPECT_EQ(c[0].pScaled[1], -50.0);
  EXPECT_EQ(c[0].p[1], -100.0);
  EXPECT_EQ(c[1].nPoints, 3);
  EXPECT_EQ(sentinel(in), 777);
  RunState t = stateWithGrid();
  t.control.nUserCurves = 401;
  InputFile none("");
  EXPECT_THROW(readUserCurves(t, none), ErrorStop);
  RunState u = stateWithGrid();
  u.control.nUserCurves = 1;
  InputFile manyPoints("10 35 1 1\n");
  EXPECT_THROW(readUserCurves(u, manyPoints), ErrorStop);
}

}  // namespace
}  // namespace korden

namespace korden {
namespace {

TEST(Readers, RowsOutsideTheStationTablesAndOpenChainsStopTheRun) {
  for (const char* text : {"1\n1 -2000000000 1 0 0 0\n", "1\n1 0 2000000000 0 0 0\n"}) {
    RunState s = stateWithGrid();
    InputFile in(text);
    EXPECT_THROW(readLoads(s, in), ErrorStop) << text;
  }
  RunState open = stateWithGrid();
  InputFile openLoad("2\n1 0 5 1 0 0\n2 10 20 5 0 0\n");
  try {
    readLoads(open, openLoad);
    FAIL();
  } catch (const ErrorStop& e) {
    EXPECT_EQ(e.lines()[2],
              "     ERROR STOP -- THE LAST STIFFNESS AND LOAD RECORD IS CONTINUED (CONTD 2) BY NO "
              "RECORD");
  }
  RunState restraint = stateWithGrid();
  InputFile openRestraint("1\n-2000000000 1 2 0 0\n");
  EXPECT_THROW(readSupports(restraint, openRestraint), ErrorStop);
  RunState chain = stateWithGrid();
  InputFile closedChain("2\n0 1 2 1 0\n5 9 1 2 0\n");
  EXPECT_NO_THROW(readSupports(chain, closedChain));
}

}  // namespace
}  // namespace korden

namespace korden {
namespace {

TEST(Readers, UserCurvePointsMustAscendInY) {
  RunState s = stateWithGrid();
  s.control.nUserCurves = 1;
  InputFile descending("10 3 1 1\n1 -10\n0 0\n-1 10\n");
  EXPECT_THROW(readUserCurves(s, descending), ErrorStop);
  RunState t = stateWithGrid();
  t.control.nUserCurves = 1;
  InputFile repeated("10 3 1 1\n-1 10\n0 0\n0 0\n");
  EXPECT_NO_THROW(readUserCurves(t, repeated));
}

// The last line of the error stop that `action` makes, or "(no stop)".
template <typename F>
std::string stopLine(F&& action) {
  try {
    action();
  } catch (const ErrorStop& e) {
    return e.lines().back();
  }
  return "(no stop)";
}

TEST(Readers, ANegativeRowCountOfASectionRecordNamesTheRecord) {
  std::string text = kNonlinear;
  // Line 7 of the block is record N5; its integer 5 counts the bar rows.
  text.replace(text.find("1 2 3 4 2 0.79"), 14, "1 2 3 4 -2 0.79");
  RunState s;
  s.control.nCrossSections = 1;
  InputFile in(text);
  EXPECT_EQ(stopLine([&] { readCrossSections(s, in); }),
            "     ERROR STOP -- RECORD N5 OF CROSS SECTION 1 AT LINE 7, INTEGER 5 (NUMBER "
            "REBARS): A COUNT MAY NOT BE NEGATIVE, NOT -2");
}

TEST(Readers, UserEISetsAboveTheCountOfALaterCaseKeepTheirValues) {
  RunState s;
  s.control.nUserEISets = 2;
  InputFile first("0\n10.0\n0 2\n0 0\n100 0.01\n20.0\n0 2\n0 0\n200 0.02\n");
  readNonlinearEI(s, first);
  s.control.nUserEISets = 1;
  InputFile second("0\n30.0\n0 2\n0 0\n300 0.03\n777\n");
  readNonlinearEI(s, second);
  ASSERT_EQ(s.sections.userSets.size(), 2u);
  EXPECT_EQ(s.sections.userSets[0].axialThrust, 30.0);
  EXPECT_EQ(s.sections.userSets[0].moment[1], 300.0);
  EXPECT_EQ(s.sections.userSets[1].axialThrust, 20.0);  // kept from the first case
  EXPECT_EQ(s.sections.userSets[1].moment[1], 200.0);
  EXPECT_EQ(sentinel(second), 777);
  // A count of 0 reads nothing and keeps both.
  s.control.nUserEISets = 0;
  InputFile none("777\n");
  readNonlinearEI(s, none);
  EXPECT_EQ(s.sections.userSets.size(), 2u);
  EXPECT_EQ(sentinel(none), 777);
  // A negative point count names its record.
  s.control.nUserEISets = 1;
  InputFile negative("0\n0.0\n0 -3\n");
  EXPECT_EQ(stopLine([&] { readNonlinearEI(s, negative); }),
            "     ERROR STOP -- THE POINT COUNT OF USER NONLINEAR EI SET 1 AT LINE 3: A COUNT "
            "MAY NOT BE NEGATIVE, NOT -3");
}

TEST(Readers, CountsOfTheControlRecordAndTheWallRecordLimits) {
  RunState s;
  InputFile negative("1 0 -1 1 0 0 0 0 0 0 0 0 0 0 0\n");
  EXPECT_EQ(stopLine([&] { readControl(s, negative); }),
            "     ERROR STOP -- THE PROGRAM CONTROL RECORD AT LINE 1, FIELD 3 (NO OF WALL "
            "SECTIONS): A COUNT MAY NOT BE NEGATIVE, NOT -1");
  // The iteration limit 10000 and a small positive tolerance are accepted.
  InputFile bound("40 6.0 10.0 1e-12 120.0 12.0 240.0 10000 0 0 0\n");
  EXPECT_NO_THROW(readWallRecord(s, bound));
}

}  // namespace
}  // namespace korden
