#pragma once

#include <string>

#include "site/sample_site.h"

namespace zendra {

using site::Catalogue;
using site::DetailsFault;
using site::LoggedRequest;

// What the site answers a visit without its cookie.
inline const std::string kRedirectPage = "<html><head><title>302 Found</title></head></html>";

// Three categories: one with a product without languages, one plain, one empty.
inline Catalogue SmallCatalogue() {
  Catalogue catalogue;
  catalogue.categories = {
      {"c-1",
       "系统",
       {{"p-1",
         "Zendra 服务器 2019",
         {{"l-1",
           "简体中文",
           {{"f-1", "zd_server_2019_cn.iso", std::string(40, 'A'), 4781506560, "2019-11-27"},
            {"f-2", "zd_server_2019_cn_x86.iso", std::string(40, 'B'), 3100000000, "2019-11-28"},
            {"f-3", "zd_server_2019_cn_arm.iso", std::string(40, 'C'), 2900000000, "2019-11-29"}}},
          {"l-2",
           "English",
           {{"f-4", "zd_server_2019_en.iso", std::string(40, 'D'), 1500, "2019-12-01"}}}}},
        {"p-2", "Orbis Studio 2012", {}}}},
      {"c-2",
       "办公",
       {{"p-3",
         "Lumen Office",
         {{"l-3", "繁體中文", {{"f-5", "lumen.iso", std::string(40, 'E'), 1, "2020-01-01"}}}}}}},
      {"c-3", "空类", {}},
  };
  return catalogue;
}

inline std::string RequestLine(const LoggedRequest& request) {
  return request.method + " " + request.path + (request.body.empty() ? "" : " " + request.body);
}

}  // namespace zendra
