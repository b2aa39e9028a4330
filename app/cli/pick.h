#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zendra::cli {

// One item of a list as the window shows it, with the site's id when it has one.
struct PickItem {
  std::string name;  // UTF-8
  std::string id;    // UTF-8; empty for the file list, whose rows have no id of their own
};

struct Pick {
  std::optional<std::size_t> index;  // from 0
  std::string error;                 // set when index is not: the whole message
};

// The item that value names: its exact name, its id or its position from 1. A value
// that names no item, or names more than one, is an error listing every choice, so the
// user can retry with a position, which is always unique.
Pick ResolvePick(const std::string& what, const std::string& value,
                 const std::vector<PickItem>& items);

// The choices as the error lists them: one line per item, position, id and name.
std::string ChoiceList(const std::vector<PickItem>& items);

}  // namespace zendra::cli
