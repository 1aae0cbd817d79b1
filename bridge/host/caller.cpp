#include "bridge/host/caller.h"

#include "bridge/host/extension_ids.h"

bool IsOrbiskExtension(const std::vector<std::string>& arguments) {
  const std::string chromiumOrigin = std::string("chrome-extension://") + kChromiumExtensionId + "/";
  if (!arguments.empty() && arguments[0] == chromiumOrigin) return true;
  return arguments.size() >= 2 && arguments[1] == kGeckoExtensionId;
}
