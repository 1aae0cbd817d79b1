#include "catalogue/registry_path.h"

#include "common/text_util.h"

KeyPathParts SplitKeyPath(std::string_view keyPath) {
  const auto separator = FindLastSjisChar(keyPath, '\\');
  if (separator == std::string_view::npos) return {"", std::string(keyPath)};
  return {std::string(keyPath.substr(0, separator)), std::string(keyPath.substr(separator + 1))};
}
