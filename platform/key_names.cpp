#include "platform/key_names.h"

#include <array>
#include <cctype>

namespace obrel {

namespace {

constexpr std::array<std::string_view, 4> kModifiers = {"Meta", "Ctrl", "Alt", "Shift"};
constexpr std::array<std::string_view, 16> kNamedKeys = {
    "Esc", "Tab",  "Backspace", "Return", "Enter", "Ins",  "Del",    "Home",
    "End", "Left", "Up",        "Right",  "Down",  "PgUp", "PgDown", "Space"};

bool sameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// The key's own name as spelt canonically; empty when it is no key.
std::string keyName(std::string_view key) {
  if (key.size() == 1 && std::isalnum(static_cast<unsigned char>(key[0]))) {
    return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(key[0]))));
  }
  for (std::string_view named : kNamedKeys) {
    if (sameLetters(key, named)) return std::string(named);
  }
  if (key.size() >= 2 && key.size() <= 3 && (key[0] == 'F' || key[0] == 'f') && key[1] != '0') {
    int number = 0;
    for (char c : key.substr(1)) {
      if (!std::isdigit(static_cast<unsigned char>(c))) return "";
      number = number * 10 + (c - '0');
    }
    if (number >= 1 && number <= 35) return "F" + std::to_string(number);
  }
  return "";
}

}  // namespace

std::optional<std::string> canonicalKeys(std::string_view keys) {
  std::array<bool, kModifiers.size()> held{};
  // Every part but the last is a modifier; a key "+" is not taken.
  while (true) {
    const std::size_t plus = keys.find('+');
    if (plus == std::string_view::npos) break;
    const std::string_view part = keys.substr(0, plus);
    bool known = false;
    for (std::size_t m = 0; m < kModifiers.size(); ++m) {
      if (!sameLetters(part, kModifiers[m])) continue;
      if (held[m]) return std::nullopt;
      held[m] = known = true;
    }
    if (!known) return std::nullopt;
    keys.remove_prefix(plus + 1);
  }
  const std::string key = keyName(keys);
  if (key.empty()) return std::nullopt;
  std::string out;
  for (std::size_t m = 0; m < kModifiers.size(); ++m) {
    if (!held[m]) continue;
    out += kModifiers[m];
    out += '+';
  }
  return out + key;
}

}  // namespace obrel
