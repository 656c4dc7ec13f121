// korden_deck DIR: writes the benchmark wall to DIR/wall.dat and its run-control file, naming the
// files without a directory, to DIR/NAMES.dat, so that `korden` run in DIR analyses it.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "deck.h"

namespace {

bool writeFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  out.close();
  if (!out) std::cerr << "korden_deck: cannot write '" << path << "'\n";
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: korden_deck DIR   writes DIR/wall.dat and DIR/NAMES.dat\n";
    return 2;
  }
  const std::string dir = argv[1];
  const bool ok = writeFile(dir + "/wall.dat", korden::bench::benchDeck()) &&
                  writeFile(dir + "/NAMES.dat", korden::bench::benchNames("", "wall"));
  return ok ? 0 : 1;
}
