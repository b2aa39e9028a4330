#pragma once

#include <httplib.h>

#include <memory>
#include <string>
#include <vector>

#include "site/sample_site.h"

namespace zendra::site::testing {

// A plain HTTPS client for the site: the certificate is made at run time, so it is not
// verified.
inline std::unique_ptr<httplib::SSLClient> ClientFor(const SampleSite& site) {
  auto client = std::make_unique<httplib::SSLClient>("127.0.0.1", site.Port());
  client->enable_server_certificate_verification(false);
  client->set_keep_alive(true);
  client->set_tcp_nodelay(true);
  // Room for a busy machine; a site that never answers is ended by the test runner's limit.
  client->set_read_timeout(300, 0);
  client->set_write_timeout(300, 0);
  return client;
}

inline httplib::Result PostForm(httplib::SSLClient& client, const std::string& path,
                                const std::string& body) {
  return client.Post(path.c_str(), body, "application/x-www-form-urlencoded");
}

// Every piece between the two markers, leftmost first and shortest, as the browser cuts
// them out.
inline std::vector<std::string> Between(const std::string& text, const std::string& left,
                                        const std::string& right) {
  std::vector<std::string> pieces;
  std::size_t from = 0;
  while (true) {
    const auto start = text.find(left, from);
    if (start == std::string::npos) break;
    const auto end = text.find(right, start + left.size());
    if (end == std::string::npos) break;
    pieces.push_back(text.substr(start + left.size(), end - start - left.size()));
    from = end + right.size();
  }
  return pieces;
}

}  // namespace zendra::site::testing
