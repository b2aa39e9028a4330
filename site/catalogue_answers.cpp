#include "site/catalogue_answers.h"

#include <cstdio>

namespace zendra::site {

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out += escape;
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

namespace {

template <typename Items, typename Write>
std::string ResultArray(const Items* items, Write write) {
  std::string out = "{\"result\":[";
  if (items) {
    bool first = true;
    for (const auto& item : *items) {
      if (!first) out += ',';
      first = false;
      write(out, item);
    }
  }
  out += "]}";
  return out;
}

}  // namespace

std::string ProductsAnswer(const CatalogueCategory* category) {
  return ResultArray(category ? &category->products : nullptr, [](std::string& out,
                                                                  const CatalogueProduct& product) {
    out += "{\"id\":" + JsonString(product.id) + ",\"name\":" + JsonString(product.name) + "}";
  });
}

std::string LanguagesAnswer(const CatalogueProduct* product) {
  return ResultArray(product ? &product->languages : nullptr,
                     [](std::string& out, const CatalogueLanguage& language) {
                       out += "{\"id\":" + JsonString(language.id) +
                              ",\"lang\":" + JsonString(language.name) + "}";
                     });
}

std::string FilesAnswer(const CatalogueLanguage* language) {
  return ResultArray(
      language ? &language->files : nullptr, [](std::string& out, const CatalogueFile& file) {
        out += "{\"id\":" + JsonString(file.id) + ",\"name\":" + JsonString(file.fileName) + "}";
      });
}

std::string DownloadLink(const CatalogueFile& file, std::string_view baseUrl) {
  return std::string(baseUrl) + "download/" + file.fileName;
}

std::string DetailsAnswer(const CatalogueFile* file, std::string_view baseUrl) {
  if (!file) return "{\"result\":null}";
  return "{\"result\":{\"FileName\":" + JsonString(file->fileName) +
         ",\"SHA1\":" + JsonString(file->sha1) + ",\"size\":" + std::to_string(file->size) +
         ",\"PostDateString\":" + JsonString(file->postDate) +
         ",\"DownLoad\":" + JsonString(DownloadLink(*file, baseUrl)) + "}}";
}

}  // namespace zendra::site
