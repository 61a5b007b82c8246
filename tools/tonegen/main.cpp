// tonegen [list folder [output folder]]: writes the six tone-table files.
// Without arguments it reads tools/tonegen and writes into resources/ of the
// source tree, where the generated files are committed.
#include <cstdio>
#include <string>

#include "tonegen/tonegen.h"

int main(int argc, char** argv) {
  const std::string source = argc > 1 ? argv[1] : std::string(VELMORA_SOURCE_DIR) + "/tools/tonegen";
  const std::string out = argc > 2 ? argv[2] : std::string(VELMORA_SOURCE_DIR) + "/resources";
  std::string error;
  if (!tonegen::generate(source, out, error)) {
    std::fprintf(stderr, "tonegen: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
