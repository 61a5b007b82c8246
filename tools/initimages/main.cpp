// make_initial_images LIST OUTDIR: writes InitialP1RA.dat, InitialP2RB.dat
// and InitialP3RC.dat from the list of named fields.
#include <fstream>
#include <iostream>
#include <sstream>

#include "imagegen.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_initial_images LIST OUTDIR\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << "cannot read " << argv[1] << "\n";
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();
  std::string error;
  const auto images = imagegen::build(text.str(), error);
  if (images.empty()) {
    std::cerr << argv[1] << ": " << error << "\n";
    return 1;
  }
  for (const auto& [code, bytes] : images) {
    const std::string path = std::string(argv[2]) + "/" + imagegen::fileName(code);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::cerr << "cannot write " << path << "\n";
      return 1;
    }
  }
  return 0;
}
