#include "app/cli/progress_line.h"

namespace zendra::cli {

void ProgressLine::Show(std::size_t done, std::size_t total) {
  if (!enabled_) return;
  // Carriage return, then erase to the end of the line: a shorter text leaves no tail.
  out_ << "\r\x1b[K文件详情 " << done << '/' << total << std::flush;
  shown_ = true;
}

void ProgressLine::Clear() {
  if (!shown_) return;
  out_ << "\r\x1b[K" << std::flush;
  shown_ = false;
}

}  // namespace zendra::cli
