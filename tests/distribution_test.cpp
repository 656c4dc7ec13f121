// Stiffness and load records, restraints and supports spread over the station tables.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/analysis_case.h"
#include "engine/errors.h"

namespace korden {
namespace {

RunState wall(int unitsFlag = 1, int n = 40, double h = 6.0, double width = 12.0) {
  RunState s;
  s.control.unitsFlag = unitsFlag;
  s.wall.nIncrements = n;
  s.wall.incrementLength = h;
  s.wall.wallWidth = width;
  buildGrid(s.grid, n, h);
  return s;
}

// A tie-back or strut row as the support reader leaves it.
Support member(double area, double modulus, double length, double angle, double spacing,
               double prestress, int station) {
  Support m;
  m.area = area;
  m.elasticModulus = modulus;
  m.unbondedLength = length;
  m.angle = angle;
  m.spacing = spacing;
  m.prestress = prestress;
  m.station = station;
  return m;
}

TEST(Distribution, LoadRowsMeetingAtAStationAndAOneStationRow) {
  RunState s = wall();
  s.loads.loads = {
      {1, 0, 10, 100.0, 0.0, 0.0}, {1, 10, 20, 200.0, 0.0, 0.0}, {1, 25, 25, 70.0, 0.0, 5.0}};
  distributeStiffnessAndSupports(s);
  EXPECT_DOUBLE_EQ(s.grid.Q(0), 50.0);
  EXPECT_DOUBLE_EQ(s.grid.Q(9), 100.0);
  EXPECT_DOUBLE_EQ(s.grid.Q(10), 150.0);
  EXPECT_DOUBLE_EQ(s.grid.Q(11), 200.0);
  EXPECT_DOUBLE_EQ(s.grid.Q(20), 100.0);
  EXPECT_DOUBLE_EQ(s.grid.Q(25), 70.0);
  EXPECT_DOUBLE_EQ(s.grid.P(25), -5.0);  // held with the sign opposite to the input
  EXPECT_DOUBLE_EQ(s.grid.Q(21), 0.0);
}

TEST(Distribution, ChainedRowsVaryLinearlyAndCouplesAreListed) {
  RunState s = wall();
  // A chain 0 -> 10 -> 20: 0 at station 0, 100 at 10, 300 at 20; the middle link's FROM and the
  // first link's TO are not used.
  s.loads.loads = {{2, 0, 99, 0.0, 0.0, 0.0},
                   {2, 99, 10, 100.0, 0.0, 0.0},
                   {1, 99, 20, 300.0, 0.0, 0.0},
                   {1, 12, 12, 0.0, 600.0, 0.0}};
  distributeStiffnessAndSupports(s);
  EXPECT_DOUBLE_EQ(s.grid.Q(0), 0.0);
  EXPECT_DOUBLE_EQ(s.grid.Q(5), 50.0);
  EXPECT_DOUBLE_EQ(s.grid.Q(10), 100.0);  // half of 100 from each link
  EXPECT_DOUBLE_EQ(s.grid.Q(15), 200.0);
  EXPECT_DOUBLE_EQ(s.grid.Q(20), 150.0);
  EXPECT_DOUBLE_EQ(s.grid.T(12), 600.0);
  ASSERT_EQ(s.grid.couples.size(), 1u);
  EXPECT_EQ(s.grid.couples[0].station, 12);
  EXPECT_DOUBLE_EQ(s.grid.couples[0].value, 600.0 / 12.0);
}

TEST(Distribution, TieBackSpringAndPrestressEnglishAndSi) {
  RunState s = wall();
  Support t = member(0.5, 29.0e6, 15.0, 15.0, 8.0, 50000.0, 20);
  t.depth = 10.0;
  s.loads.tieBacks = {t};
  distributeStiffnessAndSupports(s);
  // Horizontal spring A E cos^2 / L per station; the prestress with a single cos.
  const double c = std::cos(15.0 * M_PI / 180.0);
  const double k = 0.5 * 29.0e6 * c * c / (12.0 * 15.0 * (12.0 * 8.0 / 12.0));
  const double q0 = -50000.0 * c * 12.0 / (12.0 * 8.0);
  EXPECT_NEAR(s.loads.tieBacks[0].spring, k, 1e-6 * k);
  EXPECT_NEAR(s.loads.tieBacks[0].prestressLoad, q0, 1e-6 * std::fabs(q0));
  EXPECT_DOUBLE_EQ(s.grid.S(20), s.loads.tieBacks[0].spring);
  EXPECT_DOUBLE_EQ(s.grid.Q(20), s.loads.tieBacks[0].prestressLoad);
  EXPECT_DOUBLE_EQ(s.grid.S(19), 0.0);

  RunState d = wall();
  t.spacing = 16.0;
  d.loads.tieBacks = {t};
  distributeStiffnessAndSupports(d);
  EXPECT_NEAR(d.loads.tieBacks[0].spring, k / 2.0, 1e-6 * k);
  EXPECT_NEAR(d.loads.tieBacks[0].prestressLoad, q0 / 2.0, 1e-6 * std::fabs(q0));

  RunState si = wall(2, 50, 0.2, 1.0);
  Support a = member(0.002, 2.0e8, 10.0, 0.0, 2.5, 200.0, 10);
  si.loads.struts = {a};  // a strut row with a prestress would be a tie-back; the formula is shared
  distributeStiffnessAndSupports(si);
  EXPECT_NEAR(si.loads.struts[0].spring, 0.002 * 2.0e8 / ((2.5 / 1.0) * 10.0), 1e-9);
  EXPECT_NEAR(si.loads.struts[0].prestressLoad, -(1.0 / 2.5) * 200.0, 1e-12);
}

TEST(Distribution, RestraintsSpreadIntoSpringsWithHalfValuesAtTheEnds) {
  RunState s = wall();
  s.loads.restraints = {{30, 40, 1, 1000.0, 50.0}, {0, 0, 1, 7.0, 0.0}};
  distributeStiffnessAndSupports(s);
  EXPECT_DOUBLE_EQ(s.grid.S(30), 500.0);
  EXPECT_DOUBLE_EQ(s.grid.S(35), 1000.0);
  EXPECT_DOUBLE_EQ(s.grid.S(40), 500.0);
  EXPECT_DOUBLE_EQ(s.grid.R(40), 25.0);
  EXPECT_DOUBLE_EQ(s.grid.S(0), 7.0);
}

TEST(Distribution, WallSectionsSpreadTheirRigidity) {
  RunState s = wall();
  CrossSection a, b;
  a.eiTop = a.eiBottom = 1000.0;
  b.eiTop = 2000.0;
  b.eiBottom = 4000.0;
  s.sections.crossSections = {a, b};
  s.sections.wallSections = {{0.0, 10.0, 1}, {10.0, 20.0, 2}};  // feet: stations 0-20, 20-40
  distributeStiffnessAndSupports(s);
  EXPECT_DOUBLE_EQ(s.grid.EI(0), 500.0);
  EXPECT_DOUBLE_EQ(s.grid.EI(10), 1000.0);
  EXPECT_DOUBLE_EQ(s.grid.EI(20), 1500.0);  // mean of the two sections' end values
  EXPECT_DOUBLE_EQ(s.grid.EI(30), 3000.0);
  EXPECT_DOUBLE_EQ(s.grid.EI(40), 2000.0);

  RunState bad = wall();
  bad.sections.crossSections = {a};
  bad.sections.wallSections = {{0.0, 10.0, 3}};
  EXPECT_THROW(distributeStiffnessAndSupports(bad), ErrorStop);
}

TEST(Distribution, DataPastTheTipStopsTheRun) {
  RunState s = wall();
  s.loads.loads = {{1, 35, 41, 10.0, 0.0, 0.0}};
  distributeStiffnessAndSupports(s);
  EXPECT_THROW(checkLoadsWithinWall(s), ErrorStop);

  RunState ok = wall();
  ok.loads.loads = {{1, 35, 40, 10.0, 0.0, 0.0}};
  distributeStiffnessAndSupports(ok);
  EXPECT_NO_THROW(checkLoadsWithinWall(ok));

  // Values that cancel at station N+1 are still data past the end.
  RunState cancel = wall();
  cancel.loads.loads = {{1, 41, 41, 10.0, 0.0, 10.0}};
  distributeStiffnessAndSupports(cancel);
  EXPECT_THROW(checkLoadsWithinWall(cancel), ErrorStop);
}

TEST(Distribution, SupportsNeedASpacingAndAnUnbondedLength) {
  RunState s = wall();
  Support t = member(1.0, 1.0, 0.0, 0.0, 8.0, 0.0, 10);
  s.loads.tieBacks = {t};
  EXPECT_THROW(distributeStiffnessAndSupports(s), ErrorStop);
}

TEST(Distribution, InclinedTieBackSpringCarriesTheCosineSquared) {
  // A 1.5 in2, E 29e6 psi, L 20 ft, 30 deg, spacing 8 ft, b 12 in, the angle converted with pi
  // as 3.1416 (cos 30 = 0.8660248): k = 1.5 x 29e6 x cos^2 30 / (12 x 20 x (12 x 8 / 12))
  // = 43.5e6 x 0.7499990 / 1920 = 16992.16 lb/in (1.699E+04); the prestress keeps one cos:
  // q0 = -50000 x cos 30 x 12 / 96 = -5412.655 lb.
  RunState s = wall();
  Support t = member(1.5, 29.0e6, 20.0, 30.0, 8.0, 50000.0, 20);
  t.depth = 10.0;
  s.loads.tieBacks = {t};
  distributeStiffnessAndSupports(s);
  EXPECT_NEAR(s.loads.tieBacks[0].spring, 16992.16, 0.01);
  EXPECT_NEAR(s.loads.tieBacks[0].prestressLoad, -5412.655, 0.001);

  // SI: A 0.002 m2, E 2e8 kPa, L 10 m, 20 deg, s 2.5 m, b 1 m: k = 4e5 x cos^2 20 / 25 with
  // cos 20 = 0.9396926: 4e5 x 0.8830219 / 25 = 14128.35 kN/m.
  RunState si = wall(2, 50, 0.2, 1.0);
  Support a = member(0.002, 2.0e8, 10.0, 20.0, 2.5, 100.0, 10);
  si.loads.tieBacks = {a};
  distributeStiffnessAndSupports(si);
  EXPECT_NEAR(si.loads.tieBacks[0].spring, 14128.35, 0.01);
  EXPECT_NEAR(si.loads.tieBacks[0].prestressLoad, -37.5877, 1e-4);  // -(1 / 2.5) 100 cos 20
}

TEST(Distribution, WallWidthMustBePositiveForSupportsAndSoilMovementCurves) {
  RunState s = wall(1, 40, 6.0, 0.0);
  Support strut = member(10.0, 29.0e6, 20.0, 0.0, 10.0, 0.0, 8);
  s.loads.struts = {strut};
  EXPECT_THROW(distributeStiffnessAndSupports(s), ErrorStop);
  EXPECT_DOUBLE_EQ(s.grid.S(8), 0.0);  // nothing added before the stop

  RunState movement = wall(1, 40, 6.0, -12.0);
  movement.control.pressureOption = 4;
  EXPECT_THROW(distributeStiffnessAndSupports(movement), ErrorStop);
  movement.control.pressureOption = 2;  // the width is not used
  EXPECT_NO_THROW(distributeStiffnessAndSupports(movement));
}

TEST(Distribution, WallSectionsAreCutToTheStationsOfTheWall) {
  // 20 ft wall (40 x 6 in); a tapered section from 1000 at -5 ft to 4000 at 25 ft, stations -10
  // to 50: cut to 0..40 with the values there, 1000 + 3000 x 10/60 = 1500 and
  // 1000 + 3000 x 50/60 = 3500, halved at the two ends of the cut range.
  RunState s = wall();
  CrossSection x;
  x.eiTop = 1000.0;
  x.eiBottom = 4000.0;
  s.sections.crossSections = {x};
  s.sections.wallSections = {{-5.0, 25.0, 1}};
  distributeStiffnessAndSupports(s);
  EXPECT_DOUBLE_EQ(s.grid.EI(0), 750.0);
  EXPECT_DOUBLE_EQ(s.grid.EI(20), 1000.0 + 3000.0 * 30.0 / 60.0);
  EXPECT_DOUBLE_EQ(s.grid.EI(40), 1750.0);
  EXPECT_DOUBLE_EQ(s.grid.EI(41), 0.0);
  EXPECT_DOUBLE_EQ(s.grid.EI(-1), 0.0);

  // A section wholly below the tip adds nothing; a depth without a station is cut too.
  RunState t = wall();
  t.sections.crossSections = {x};
  t.sections.wallSections = {{0.0, 1.0e15, 1}, {30.0, 40.0, 1}};
  distributeStiffnessAndSupports(t);
  EXPECT_GT(t.grid.EI(40), 0.0);
  EXPECT_DOUBLE_EQ(t.grid.EI(41), 0.0);
}

}  // namespace
}  // namespace korden
