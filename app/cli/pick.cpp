#include "app/cli/pick.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include "app/cli/table_output.h"

namespace zendra::cli {
namespace {

std::optional<std::size_t> Position(const std::string& value) {
  if (value.empty() ||
      !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  std::size_t position = 0;
  const auto [end, fault] = std::from_chars(value.data(), value.data() + value.size(), position);
  if (fault != std::errc() || end != value.data() + value.size()) return std::nullopt;
  return position;
}

}  // namespace

std::string ChoiceList(const std::vector<PickItem>& items) {
  const bool withIds = std::any_of(items.begin(), items.end(),
                                   [](const PickItem& item) { return !item.id.empty(); });
  Table table;
  table.columns = withIds ? std::vector<std::string>{"  ID", "id", "name"}
                          : std::vector<std::string>{"  ID", "name"};
  for (std::size_t i = 0; i < items.size(); ++i) {
    std::vector<std::string> row{"  " + std::to_string(i + 1)};
    if (withIds) row.push_back(items[i].id);
    row.push_back(items[i].name);
    table.rows.push_back(std::move(row));
  }
  std::ostringstream out;
  WriteTable(out, table, OutputFormat::Text);
  return out.str();
}

Pick ResolvePick(const std::string& what, const std::string& value,
                 const std::vector<PickItem>& items) {
  std::vector<std::size_t> matches;
  const auto position = Position(value);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const bool byName = items[i].name == value;
    const bool byId = !items[i].id.empty() && items[i].id == value;
    const bool byPosition = position && *position == i + 1;
    if (byName || byId || byPosition) matches.push_back(i);
  }
  if (matches.size() == 1) return {matches.front(), {}};

  std::string message;
  if (items.empty()) {
    message = "no " + what + " to choose from for \"" + value + "\"\n";
  } else if (matches.empty()) {
    message = "unknown " + what + " \"" + value + "\"; choose one of:\n" + ChoiceList(items);
  } else {
    message = "ambiguous " + what + " \"" + value + "\": it names";
    for (const std::size_t match : matches) message += " " + std::to_string(match + 1);
    message += "; give the position. Choices:\n" + ChoiceList(items);
  }
  return {std::nullopt, message};
}

}  // namespace zendra::cli
