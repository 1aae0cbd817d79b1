#include "common/temporary_name.h"

#include <algorithm>

namespace {

constexpr std::string_view::size_type kLongestName = 13;  // "~" + 8 digits + ".tmp"
constexpr std::string_view kSuffix = ".tmp";

// Spreads consecutive seeds over all digits, so that names drawn from a
// counter differ in their first digits too (splitmix64's finaliser).
uint64_t Mix(uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

}  // namespace

std::string TemporaryNameFor(std::string_view finalName, uint64_t seed) {
  const auto length = std::clamp<std::string_view::size_type>(finalName.size(), 1, kLongestName);
  std::string name = length > 1 ? "~" : "";
  const bool withSuffix = length >= name.size() + 3 + kSuffix.size();
  const auto digits = length - name.size() - (withSuffix ? kSuffix.size() : 0);
  uint64_t value = Mix(seed);
  for (std::string::size_type i = 0; i < digits; ++i) {
    name += "0123456789abcdefghijklmnopqrstuvwxyz"[value % 36];
    value /= 36;
  }
  if (withSuffix) name += kSuffix;
  return name;
}
