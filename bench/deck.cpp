#include "deck.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace korden::bench {
namespace {

std::string number(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.6g", v);
  return buffer;
}

// One construction stage in English units: sand with unit weight 120 pcf, Ka 0.283, Kp 3.54 and
// a subgrade modulus of 90 pci; a PZ35 section on a 12-in strip. The curves are
// p = pu tanh(k z y / pu), with pu = 0.9 Kp gamma z b.
std::string stageText(int cutStation, bool tieBack, int continuation) {
  const int n = 409;
  const double h = 1.0;
  const double gamma = 120.0 / 1728.0;
  std::ostringstream t;
  t << "STAGED 34 FT SHEET-PILE WALL, 409 INCREMENTS, 200 P-Y CURVES\n";
  t << "1 0 1 1 0 0 0 200 3 0 " << (tieBack ? 1 : 0) << " 0 0 0 0\n";
  t << n << " 1.0 12.0 0.0001 " << cutStation * h << " 12.0 409.0 100 0 0 0\n";
  t << "0.0 34.1 1\n1 1 6 0\nPZ35\n0.0 0.0 22.64 14.9 0.0 0.0 0.6 0.5\n"
       "0.0 0.0 0.0 361.2 0.0 0.0 0.0 0.0 29000000.0 0.0 0.0 0\n0 0 0.0 0 0 0 0 0 1\nPZ35\n0 0\n";
  const auto load = [&](double depth) { return number(0.283 * gamma * depth * 12.0 * h); };
  t << "3\n2 0 " << cutStation << " 0.0 0.0 0.0\n2 0 " << cutStation << " " << load(cutStation * h)
    << " 0.0 0.0\n1 " << cutStation << " " << n << " " << load(n * h) << " 0.0 0.0\n0\n";
  if (tieBack) t << "5.0 0.868 28500000.0 25.0 15.0 8.0 32000.0\n";
  const double ys[] = {0.01, 0.025, 0.05, 0.1, 0.25, 1.0, 12.0};
  for (int k = 0; k < 200; ++k) {
    const int station = cutStation + static_cast<int>(std::lround(k * (n - cutStation) / 199.0));
    const double z = (station - cutStation) * h;
    const double pu = 0.9 * 3.54 * gamma * z * 12.0;
    const double modulus = 90.0 * z;
    t << station << " 15 1.0 1.0\n";
    for (int j = 6; j >= 0; --j)
      t << -ys[j] << " " << number(pu > 0 ? pu * std::tanh(modulus * ys[j] / pu) : 0) << "\n";
    t << "0.0 0.0\n";
    for (int j = 0; j < 7; ++j)
      t << ys[j] << " " << number(pu > 0 ? -pu * std::tanh(modulus * ys[j] / pu) : 0) << "\n";
  }
  t << continuation << "\n";
  return t.str();
}

}  // namespace

std::string benchDeck() {
  return stageText(96, false, 1) + stageText(144, true, 2) + stageText(192, true, 3);
}

std::string benchNames(const std::string& directory, const std::string& stem) {
  std::string names = "korden bench\n\n\n0\n";
  const std::string prefix = directory.empty() ? stem : directory + "/" + stem;
  for (const char* ext : {".dat", ".out", ".plt", ".aux", ".pyc", ".prs"}) {
    names += prefix + ext + "\n";
  }
  return names;
}

}  // namespace korden::bench
