#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/types.h"

namespace zendra {

// Compiled global code kept across heaps: a long script that every new host loads (a
// library) is compiled once and afterwards only loaded, which is far cheaper. Only
// bytecode dumped by this process goes in, since the engine trusts what it loads.
class DuktapeBytecodeCache {
 public:
  // Shorter sources compile about as fast as their bytecode loads.
  static constexpr std::size_t kMinimumSourceSize = 1024;
  static constexpr std::size_t kMaximumEntries = 8;

  static DuktapeBytecodeCache& Instance() noexcept;

  static bool IsWorthCaching(std::string_view source) noexcept {
    return source.size() >= kMinimumSourceSize;
  }
  std::shared_ptr<const Bytes> Find(std::string_view source) const;
  // Keeps the first kMaximumEntries sources stored; later ones are compiled every time.
  void Store(std::string_view source, Bytes bytecode);

 private:
  DuktapeBytecodeCache() = default;

  mutable std::mutex mutex_;
  std::vector<std::pair<std::string, std::shared_ptr<const Bytes>>> entries_;
};

}  // namespace zendra
