#pragma once

#include <memory>

#include "platform/types.h"

namespace zendra {
namespace site {
class SampleSite;
}

// The port of the bundled catalogue's loopback address, chosen at build time.
int BundledSitePort();

// A program installed from the package has no site running beside it: when url is the
// bundled catalogue's address (https://127.0.0.1:port/) and nothing accepts connections
// there, the bundled catalogue is served from this process for as long as the result
// lives. Any other address, or one that answers, starts nothing (an empty result).
std::unique_ptr<site::SampleSite> ServeBundledCatalogueIfAbsent(const Text& url, int port);

}  // namespace zendra
