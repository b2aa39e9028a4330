#include "site/home_page.h"

#include <charconv>
#include <cstdio>

namespace zendra::site {
namespace {

constexpr std::size_t kHomePageWeight = 150 * 1024;

std::string Escape(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Head(const char* title) {
  return std::string(
             "<!DOCTYPE html>\n<html lang=\"zh-cn\">\n<head>\n<meta charset=\"utf-8\">\n"
             "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>") +
         title +
         "</title>\n<link rel=\"stylesheet\" href=\"/static/css/site.min.css?v=20231105\">\n"
         "<style>\nbody{font-family:sans-serif;margin:0}\n"
         ".panel-title a{display:block;padding:8px 12px;color:#333}\n"
         ".file-table td{padding:4px 8px;border-bottom:1px solid #eee}\n</style>\n</head>\n";
}

// A site's page reads the same whatever locale the process that serves it runs under.
std::string SizeText(std::int64_t size) {
  char text[32];
  const auto [end, error] = std::to_chars(text, text + sizeof text, static_cast<double>(size) / 1e9,
                                          std::chars_format::fixed, 2);
  return (error == std::errc() ? std::string(text, end) : std::string("0.00")) + " GB";
}

// The menu panel whose markup the browser scrapes: the id sits between `data-menuid="` and
// `" data-target`, and the first `ID">` of the page stands right before the name.
std::string MenuPanel(const CatalogueCategory& category) {
  const auto& id = category.id;
  return "<div class=\"panel panel-default\"><div class=\"panel-heading\"><h4 "
         "class=\"panel-title\"><a data-menuid=\"" +
         id + "\" data-target=\"#collapse_" + id + "\" data-toggle=\"collapse\" id=\"menu_" + id +
         "\">" + Escape(category.name) + "</a></h4></div><div id=\"collapse_" + id +
         "\" class=\"panel-collapse collapse\"><div class=\"panel-body\"><ul "
         "class=\"list-unstyled\"></ul></div></div></div>\n";
}

std::string UpdateRow(const CatalogueProduct& product, const CatalogueFile& file) {
  return "<tr><td class=\"product\">" + Escape(product.name) + "</td><td class=\"file\">" +
         Escape(file.fileName) + "</td><td class=\"size\">" + SizeText(file.size) +
         "</td><td class=\"date\">" + file.postDate + "</td></tr>\n";
}

}  // namespace

std::string RedirectPage() {
  return "<html>\r\n<head><title>302 Found</title></head>\r\n<body>\r\n<center><h1>302 "
         "Found</h1></center>\r\n<hr><center>zendra-edge</center>\r\n</body>\r\n</html>\r\n";
}

std::string HomePage(const Catalogue& catalogue) {
  std::string page = Head("软件镜像目录 - 首页");
  page +=
      "<body>\n<nav class=\"navbar navbar-default\"><div class=\"container\"><a "
      "class=\"navbar-brand\" href=\"/\">软件镜像目录</a><ul class=\"nav navbar-nav\">"
      "<li class=\"active\"><a href=\"/\">首页</a></li><li><a href=\"/faq\">常见问题</a></li>"
      "<li><a href=\"/sponsor/1\">赞助</a></li></ul></div></nav>\n"
      "<div class=\"container\"><div class=\"row\"><div class=\"col-md-3\">\n"
      "<div class=\"panel-group\" id=\"menu\">\n";
  for (const auto& category : catalogue.categories) page += MenuPanel(category);
  page +=
      "</div>\n</div>\n<div class=\"col-md-9\"><div class=\"alert alert-info\">"
      "请在左侧选择分类，然后选择产品和语言。所有文件均提供 SHA1 校验值。</div>\n";

  // The usual front-page table of recent files: it carries file names and sizes, never
  // a category id, so the menu stays the only place the browser's markers can meet.
  page += "<h3>最近更新</h3>\n<table class=\"table file-table\"><tbody>\n";
  for (const auto& category : catalogue.categories) {
    for (const auto& product : category.products) {
      for (const auto& language : product.languages) {
        for (const auto& file : language.files) page += UpdateRow(product, file);
      }
    }
  }
  page += "</tbody></table>\n<h3>更新日志</h3>\n<ul class=\"changelog\">\n";
  for (int entry = 1; page.size() < kHomePageWeight; ++entry) {
    char line[256];
    std::snprintf(line, sizeof line,
                  "<li><span class=\"date\">2023-%02d-%02d</span> 第 %d 次同步：校验值已核对，"
                  "失效链接已替换。</li>\n",
                  1 + entry % 12, 1 + entry % 28, entry);
    page += line;
  }
  page +=
      "</ul>\n</div></div></div>\n<footer class=\"footer\"><div class=\"container\"><p>本站仅"
      "提供文件信息与校验值。</p></div></footer>\n"
      "<script src=\"/static/js/jquery.min.js\"></script>\n"
      "<script src=\"/static/js/site.min.js?v=20231105\"></script>\n</body>\n</html>\n";
  return page;
}

std::string DownloadPage(const CatalogueFile* file) {
  if (!file) return Head("404 Not Found") + "<body><h1>404 Not Found</h1></body>\n</html>\n";
  return Head("下载") + "<body><h1>" + Escape(file->fileName) + "</h1><p>SHA1: " + file->sha1 +
         "</p><p>" + std::to_string(file->size) + " bytes</p></body>\n</html>\n";
}

std::string SponsorPage(const std::string& number) {
  return Head("赞助") + "<body><h1>赞助渠道 " + Escape(number) +
         "</h1><p>感谢支持本站的运行。</p></body>\n</html>\n";
}

}  // namespace zendra::site
