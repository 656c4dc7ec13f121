// The plots of `--plots`, drawn with PLplot's SVG driver: for each closed case the panels
// deflection, moment, shear, soil reaction (and the generated earth pressure) side by side, all
// on one depth axis that runs downwards, with the excavation level and the supports marked.
// PLplot is loaded with dlopen the first time a picture is drawn, so that a run without plots
// maps neither it nor its dozen libraries (about 1 ms of every start); its header gives the types
// of the functions taken from it, so that every call is checked by the compiler.
#include "cli/plots.h"

#include <dlfcn.h>
#include <plplot/plplot.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "cli/summary.h"
#include "cli/units.h"

namespace korden {

namespace {

// The PLplot functions the pictures use: the table's member and the name the library exports
// (plplot.h maps each pl* name onto c_pl*; plsexit keeps its own).
// clang-format off
#define KORDEN_PLPLOT_FUNCTIONS(X)                                                          \
  X(adv, c_pladv) X(box, c_plbox) X(col0, c_plcol0) X(end1, c_plend1) X(init, c_plinit)     \
  X(lab, c_pllab) X(line, c_plline) X(lsty, c_pllsty) X(mtex, c_plmtex) X(poin, c_plpoin)   \
  X(ptex, c_plptex) X(schr, c_plschr) X(scol0, c_plscol0) X(sdev, c_plsdev)                 \
  X(sfnam, c_plsfnam) X(spage, c_plspage) X(vpor, c_plvpor) X(width, c_plwidth)             \
  X(wind, c_plwind) X(sexit, plsexit)
// clang-format on

struct Plplot {
#define KORDEN_PLPLOT_MEMBER(member, symbol) decltype(&::symbol) member = nullptr;
  KORDEN_PLPLOT_FUNCTIONS(KORDEN_PLPLOT_MEMBER)
#undef KORDEN_PLPLOT_MEMBER
};

// The library file: KORDEN_PLPLOT_LIBRARY when set, else PLplot 5.15's soname and then the
// unversioned name of a development install.
std::vector<std::string> plplotLibraryNames() {
  const char* chosen = std::getenv("KORDEN_PLPLOT_LIBRARY");
  if (chosen != nullptr && *chosen != '\0') return {chosen};
  return {"libplplot.so.17", "libplplot.so"};
}

std::string lastLoaderError() {
  const char* text = dlerror();
  return text != nullptr ? text : "no reason given";
}

// Takes `symbol` from the loaded `library` (file `name`) into `slot`; false, with the reason in
// `why`, when the library has no such function.
template <typename Function>
bool resolve(void* library, const std::string& name, const char* symbol, Function& slot,
             std::string& why) {
  dlerror();
  void* address = dlsym(library, symbol);
  if (address == nullptr) {
    why = name + " has no function " + symbol + " (" + lastLoaderError() + ")";
    return false;
  }
  slot = reinterpret_cast<Function>(address);
  return true;
}

// Loads the library and takes every function of the table from it; false, with the reason in
// `why`, when the library or one of the functions cannot be had.
bool loadPlplot(Plplot& api, std::string& why) {
  std::string firstFailure;
  for (const std::string& name : plplotLibraryNames()) {
    void* library = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
      // The first name's reason is the one to give: the others are fallbacks.
      if (firstFailure.empty())
        firstFailure = "cannot load " + name + " (" + lastLoaderError() + ")";
      continue;
    }
#define KORDEN_PLPLOT_RESOLVE(member, symbol) &&resolve(library, name, #symbol, api.member, why)
    const bool complete = true KORDEN_PLPLOT_FUNCTIONS(KORDEN_PLPLOT_RESOLVE);
#undef KORDEN_PLPLOT_RESOLVE
    if (!complete) {
      dlclose(library);
      return false;
    }
    // The library stays loaded for the rest of the process.
    return true;
  }
  why = firstFailure;
  return false;
}

// The library, loaded on the first call; null, with the reason in `why`, when it cannot be.
const Plplot* plplot(std::string& why) {
  static Plplot api;
  static std::string failure;
  static const bool loaded = loadPlplot(api, failure);
  why = failure;
  return loaded ? &api : nullptr;
}

struct Panel {
  std::string title;  // also the axis label, with its unit
  std::function<std::vector<double>(const CaseResults&)> values;
  std::function<std::vector<double>(const CaseResults&)> depths;
};

std::vector<double> scaled(const std::vector<double>& v, double factor) {
  std::vector<double> out;
  out.reserve(v.size());
  for (double x : v) out.push_back(x * factor);
  return out;
}

std::vector<Panel> panelsFor(const std::vector<const CaseResults*>& cases) {
  const EngineeringUnits u = engineeringUnits(cases.front()->unitsFlag);
  auto depth = [](const CaseResults& c) { return c.depth; };
  std::vector<Panel> panels = {
      {std::string("Deflection (") + u.deflection + ")",
       [u](const CaseResults& c) { return scaled(c.deflection, u.deflectionFactor); }, depth},
      {std::string("Moment (") + u.moment + ")",
       [u](const CaseResults& c) { return scaled(c.moment, u.momentFactor); }, depth},
      {std::string("Shear (") + u.force + ")",
       [u](const CaseResults& c) { return scaled(c.shear, u.forceFactor); }, depth},
      {std::string("Soil reaction (") + u.reaction + ")",
       [u](const CaseResults& c) { return scaled(c.soilReaction, u.reactionFactor); }, depth},
  };
  const bool anyPressure = std::any_of(cases.begin(), cases.end(),
                                       [](const CaseResults* c) { return !c->pressure.empty(); });
  if (anyPressure) {
    panels.push_back({std::string("Earth pressure (") + u.reaction + ")",
                      [u](const CaseResults& c) { return scaled(c.pressure, u.reactionFactor); },
                      [](const CaseResults& c) { return c.pressureDepth; }});
  }
  return panels;
}

// A round interval (1, 2 or 5 times a power of ten) that puts three to five ticks on `range`.
double tickStep(double range) {
  const double raw = range / 4.0;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0}) {
    if (m * power >= raw) return m * power;
  }
  return 10.0 * power;
}

// Line colours of the cases (cmap0 entries 1..), dark enough on white.
const int kColours[][3] = {{31, 119, 180}, {214, 39, 40}, {44, 160, 44},   {148, 103, 189},
                           {255, 127, 14}, {140, 86, 75}, {227, 119, 194}, {127, 127, 127}};
constexpr int kColourCount = sizeof kColours / sizeof kColours[0];

void setColours(const Plplot& pl) {
  pl.scol0(0, 255, 255, 255);   // background
  pl.scol0(15, 0, 0, 0);        // axes and text
  pl.scol0(14, 110, 110, 110);  // excavation level and supports
  for (int k = 0; k < kColourCount; ++k)
    pl.scol0(k + 1, kColours[k][0], kColours[k][1], kColours[k][2]);
}

// One picture: every case of `cases` drawn in every panel; a legend when there are several.
void drawPicture(const Plplot& pl, const std::vector<const CaseResults*>& cases,
                 const std::string& title, const std::string& path) {
  const EngineeringUnits u = engineeringUnits(cases.front()->unitsFlag);
  const std::vector<Panel> panels = panelsFor(cases);
  pl.sdev("svg");
  pl.sfnam(path.c_str());
  // The SVG driver keeps its default page proportions; the panels share its width.
  pl.spage(0.0, 0.0, 1320, 720, 0, 0);
  setColours(pl);
  pl.init();
  pl.adv(0);
  const double textScale = panels.size() > 4 ? 0.75 : 0.9;
  pl.schr(0.0, textScale);

  double bottom = 0.0;
  for (const CaseResults* c : cases) {
    if (!c->depth.empty()) bottom = std::max(bottom, c->depth.back());
    if (!c->pressureDepth.empty()) bottom = std::max(bottom, c->pressureDepth.back());
  }
  if (!(bottom > 0.0)) bottom = 1.0;

  const double left = 0.09, right = 0.99, gap = 0.035;
  const double width = (right - left - gap * (panels.size() - 1)) / panels.size();
  for (size_t p = 0; p < panels.size(); ++p) {
    double lo = 0.0, hi = 0.0;
    for (const CaseResults* c : cases) {
      for (double v : panels[p].values(*c)) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
      }
    }
    if (hi - lo <= 0.0) {
      lo -= 1.0;
      hi += 1.0;
    }
    const double margin = 0.06 * (hi - lo);
    const double x0 = left + p * (width + gap);
    pl.vpor(x0, x0 + width, 0.10, 0.86);
    pl.wind(lo - margin, hi + margin, bottom, 0.0);  // depth grows downwards
    pl.col0(15);
    pl.lsty(1);
    pl.width(1.0);
    pl.box("bcnst", tickStep(hi - lo), 0, p == 0 ? "bcnstv" : "bcst", 0.0, 0);
    pl.lab(panels[p].title.c_str(), p == 0 ? (std::string("Depth (") + u.depth + ")").c_str() : "",
           "");
    pl.mtex("t", 1.0, 0.5, 0.5, panels[p].title.c_str());
    // The zero line.
    pl.lsty(3);
    pl.col0(14);
    PLFLT zx[2] = {0.0, 0.0}, zy[2] = {0.0, bottom};
    pl.line(2, zx, zy);
    // Excavation level and supports of the first case (the last one in a stages picture).
    const CaseResults& marks = *cases.back();
    if (marks.excavationDepth > 0.0) {
      pl.lsty(2);
      PLFLT ex[2] = {lo - margin, hi + margin},
            ey[2] = {marks.excavationDepth, marks.excavationDepth};
      pl.line(2, ex, ey);
      if (p == 0)
        pl.ptex(lo + 0.02 * (hi - lo), marks.excavationDepth, 1.0, 0.0, 0.0, "excavation");
    }
    for (const SupportResult& s : marks.supports) {
      PLFLT sx = lo - margin, sy = s.depth;
      pl.poin(1, &sx, &sy, 3);
      if (p == 0) {
        const std::string name = (s.tieBack ? "tie-back " : "strut ") + std::to_string(s.number);
        pl.ptex(lo + 0.02 * (hi - lo), s.depth, 1.0, 0.0, 0.0, name.c_str());
      }
    }
    pl.lsty(1);
    pl.width(2.0);
    for (size_t k = 0; k < cases.size(); ++k) {
      std::vector<double> x = panels[p].values(*cases[k]);
      std::vector<double> y = panels[p].depths(*cases[k]);
      const size_t n = std::min(x.size(), y.size());
      if (n < 2) continue;
      pl.col0(static_cast<PLINT>(k % kColourCount) + 1);
      pl.line(static_cast<PLINT>(n), x.data(), y.data());
    }
  }
  // Title and legend across the page.
  pl.vpor(left, right, 0.10, 0.86);
  pl.wind(0.0, 1.0, 0.0, 1.0);
  pl.col0(15);
  pl.schr(0.0, 0.95);
  pl.mtex("t", 3.6, 0.5, 0.5, title.c_str());
  pl.schr(0.0, textScale);
  if (cases.size() > 1) {
    const double step = 1.0 / cases.size();
    for (size_t k = 0; k < cases.size(); ++k) {
      pl.col0(static_cast<PLINT>(k % kColourCount) + 1);
      pl.mtex("t", 2.4, (k + 0.5) * step, 0.5, caseLabel(*cases[k]).c_str());
    }
  }
  pl.end1();
}

bool written(const std::string& path, std::ostream& out, std::ostream& err) {
  std::ifstream check(path);
  std::string first;
  if (!check || !std::getline(check, first) || first.empty()) {
    err << "korden: cannot write the plot '" << path << "'\n";
    return false;
  }
  out << "Plot:                  " << path << "\n";
  return true;
}

// PLplot ends the process on a fatal error unless told otherwise: say so and go on.
int plotError(const char* message) {
  std::fprintf(stderr, "korden: plotting failed: %s\n", message);
  return 1;
}

// The library for the first picture, its fatal errors turned into a message; null, with the
// reason on `err`, when it cannot be loaded.
const Plplot* plplotFor(std::ostream& err) {
  std::string why;
  const Plplot* pl = plplot(why);
  if (pl == nullptr) {
    err << "korden: plots are not available: " << why << "\n";
    return nullptr;
  }
  pl->sexit(plotError);
  return pl;
}

}  // namespace

// This build draws plots; whether the library can be loaded is found when the first is drawn.
bool plotsAvailable() { return true; }

bool writePlots(const RunResults& run, const std::filesystem::path& stem, std::ostream& out,
                std::ostream& err) {
  const Plplot* pl = nullptr;  // loaded for the first picture: a run without one needs none
  bool ok = true;
  std::vector<const CaseResults*> closed;
  for (const CaseResults& c : run.cases) {
    if (!c.closed) {
      out << "No plot for " << caseLabel(c) << ": it has no results\n";
      continue;
    }
    closed.push_back(&c);
    if (pl == nullptr && (pl = plplotFor(err)) == nullptr) return false;
    const std::string path = stem.string() + "-" + std::to_string(c.number) + ".svg";
    {
      // PLplot opens the file itself; a folder that cannot take it is found here first.
      std::ofstream probe(path);
      if (!probe) {
        err << "korden: cannot write the plot '" << path << "'\n";
        ok = false;
        continue;
      }
    }
    drawPicture(*pl, {&c}, caseLabel(c) + ": " + caseTitle(c), path);
    ok = written(path, out, err) && ok;
  }
  if (closed.size() >= 2) {
    const std::string path = stem.string() + "-stages.svg";
    drawPicture(*pl, closed, "All closed cases: " + stem.filename().string(), path);
    ok = written(path, out, err) && ok;
  }
  return ok;
}

}  // namespace korden
