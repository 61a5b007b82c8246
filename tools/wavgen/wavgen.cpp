#include "wavgen.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace wavgen {
namespace {
constexpr int kRate = 22050;

struct Sound {
  double seconds = 0;
  double decay = 1;  // envelope time constant in seconds
  std::vector<std::pair<double, double>> partials;  // frequency Hz, amplitude 0..1
};

void put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v & 0xFF));
  b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}
void putTag(std::vector<uint8_t>& b, const char* t) { b.insert(b.end(), t, t + 4); }

std::vector<uint8_t> render(const Sound& s) {
  const auto frames = static_cast<uint32_t>(std::lround(s.seconds * kRate));
  std::vector<uint8_t> b;
  putTag(b, "RIFF");
  put32(b, 36 + frames * 2);
  putTag(b, "WAVE");
  putTag(b, "fmt ");
  put32(b, 16);
  put16(b, 1);  // PCM
  put16(b, 1);  // mono
  put32(b, kRate);
  put32(b, kRate * 2);
  put16(b, 2);
  put16(b, 16);
  putTag(b, "data");
  put32(b, frames * 2);
  const double attack = 0.005;
  for (uint32_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kRate;
    double v = 0;
    for (const auto& [f, a] : s.partials) v += a * std::sin(2 * M_PI * f * t);
    const double env = std::min(1.0, t / attack) * std::exp(-t / s.decay) * std::min(1.0, (s.seconds - t) / attack);
    const auto sample = static_cast<int16_t>(std::lround(std::clamp(v * env, -1.0, 1.0) * 32000));
    put16(b, static_cast<uint16_t>(sample));
  }
  return b;
}
}  // namespace

// Lines: "sound NAME SECONDS DECAY" starts a sound; "partial HZ AMPLITUDE" adds
// a sine to the last sound; '#' starts a comment.
std::map<std::string, std::vector<uint8_t>> build(const std::string& listText, std::string& error) {
  std::map<std::string, Sound> sounds;
  std::string current;
  std::istringstream in(listText);
  std::string line;
  int n = 0;
  while (std::getline(in, line)) {
    ++n;
    std::istringstream w(line);
    std::string verb;
    if (!(w >> verb) || verb[0] == '#') continue;
    if (verb == "sound") {
      Sound s;
      if (!(w >> current >> s.seconds >> s.decay) || s.seconds <= 0 || s.seconds > 5 || s.decay <= 0) {
        error = "line " + std::to_string(n) + ": bad sound";
        return {};
      }
      sounds[current] = s;
    } else if (verb == "partial") {
      double f, a;
      if (current.empty() || !(w >> f >> a) || f <= 0 || f >= kRate / 2.0) {
        error = "line " + std::to_string(n) + ": bad partial";
        return {};
      }
      sounds[current].partials.emplace_back(f, a);
    } else {
      error = "line " + std::to_string(n) + ": unknown verb";
      return {};
    }
  }
  std::map<std::string, std::vector<uint8_t>> out;
  for (const auto& [name, s] : sounds) out[name] = render(s);
  return out;
}

}  // namespace wavgen
