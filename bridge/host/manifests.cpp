#include "bridge/host/manifests.h"

#include <nlohmann/json.hpp>

#include "bridge/host/extension_ids.h"
#include "bridge/host/host_texts.h"

namespace {

using Json = nlohmann::ordered_json;

Json Common(std::string_view hostPathUtf8) {
  return Json{{"name", kHostName},
              {"description", host_texts::HostDescription()},
              {"path", std::string(hostPathUtf8)},
              {"type", "stdio"}};
}

std::string Dump(const Json& json) { return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n"; }

}  // namespace

std::string ChromiumManifest(std::string_view hostPathUtf8) {
  Json manifest = Common(hostPathUtf8);
  manifest["allowed_origins"] = Json::array({ChromiumExtensionOrigin()});
  return Dump(manifest);
}

std::string FirefoxManifest(std::string_view hostPathUtf8) {
  Json manifest = Common(hostPathUtf8);
  manifest["allowed_extensions"] = Json::array({kGeckoExtensionId});
  return Dump(manifest);
}
