#pragma once

#include <cstddef>
#include <ostream>

namespace zendra::cli {

// One line on a terminal, rewritten in place: "文件详情 3/12". Disabled, it writes nothing,
// so that a log or a pipe never receives carriage returns.
class ProgressLine {
 public:
  ProgressLine(std::ostream& out, bool enabled) : out_(out), enabled_(enabled) {}
  ~ProgressLine() { Clear(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void Show(std::size_t done, std::size_t total);
  // Removes the line, leaving the cursor where the line began.
  void Clear();

 private:
  std::ostream& out_;
  bool enabled_;
  bool shown_ = false;
};

}  // namespace zendra::cli
