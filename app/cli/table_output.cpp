#include "app/cli/table_output.h"

#include <algorithm>
#include <cstddef>
#include <nlohmann/json.hpp>

#include "app/cli/display_width.h"

namespace zendra::cli {
namespace {

constexpr std::string_view kColumnGap = "  ";

std::string TsvCell(const std::string& cell) {
  std::string escaped;
  escaped.reserve(cell.size());
  for (const char c : cell) {
    switch (c) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\t':
        escaped += "\\t";
        break;
      case '\r':
        escaped += "\\r";
        break;
      case '\n':
        escaped += "\\n";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

// Malformed UTF-8 becomes U+FFFD instead of an exception: cells are site data.
std::string Dump(const nlohmann::ordered_json& document) {
  return document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

void WriteText(std::ostream& out, const Table& table) {
  if (table.rows.empty()) return;
  std::vector<std::vector<std::string>> lines;
  lines.reserve(table.rows.size() + 1);
  lines.push_back(table.columns);
  lines.insert(lines.end(), table.rows.begin(), table.rows.end());
  std::vector<int> widths(table.columns.size(), 0);
  for (auto& line : lines) {
    line.resize(table.columns.size());
    for (std::size_t c = 0; c < line.size(); ++c) {
      line[c] = WithoutControls(line[c]);
      widths[c] = std::max(widths[c], DisplayWidth(line[c]));
    }
  }
  for (const auto& line : lines) {
    std::string text;
    for (std::size_t c = 0; c < line.size(); ++c) {
      if (c > 0) text += kColumnGap;
      text += line[c];
      // The last column is not padded: no trailing blanks.
      if (c + 1 < line.size())
        text.append(static_cast<std::size_t>(widths[c] - DisplayWidth(line[c])), ' ');
    }
    out << text << '\n';
  }
}

void WriteTsv(std::ostream& out, const Table& table) {
  for (const auto& row : table.rows) {
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
      if (c > 0) out << '\t';
      if (c < row.size()) out << TsvCell(row[c]);
    }
    out << '\n';
  }
}

void WriteJson(std::ostream& out, const Table& table) {
  auto document = nlohmann::ordered_json::array();
  for (const auto& row : table.rows) {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
      object[table.columns[c]] = c < row.size() ? row[c] : std::string();
    }
    document.push_back(std::move(object));
  }
  out << Dump(document) << '\n';
}

}  // namespace

void WriteTable(std::ostream& out, const Table& table, OutputFormat format) {
  switch (format) {
    case OutputFormat::Text:
      WriteText(out, table);
      return;
    case OutputFormat::Tsv:
      WriteTsv(out, table);
      return;
    case OutputFormat::Json:
      WriteJson(out, table);
      return;
  }
}

void WriteValue(std::ostream& out, const std::string& column, const std::string& value,
                OutputFormat format) {
  switch (format) {
    case OutputFormat::Text:
      out << WithoutControls(value) << '\n';
      return;
    case OutputFormat::Tsv:
      out << TsvCell(value) << '\n';
      return;
    case OutputFormat::Json: {
      nlohmann::ordered_json object = nlohmann::ordered_json::object();
      object[column] = value;
      out << Dump(object) << '\n';
      return;
    }
  }
}

}  // namespace zendra::cli
