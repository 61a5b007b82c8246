// make_waves LIST OUTDIR: writes the wave files named in the list.
#include <fstream>
#include <iostream>
#include <sstream>

#include "wavgen.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_waves LIST OUTDIR\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  std::stringstream text;
  text << in.rdbuf();
  std::string error;
  const auto waves = wavgen::build(text.str(), error);
  if (waves.empty()) {
    std::cerr << argv[1] << ": " << (error.empty() ? "no sounds" : error) << "\n";
    return 1;
  }
  for (const auto& [name, bytes] : waves) {
    std::ofstream out(std::string(argv[2]) + "/" + name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) return 1;
  }
  return 0;
}
