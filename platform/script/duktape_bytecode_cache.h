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
// library) is compiled once and afterwards only loaded, which is far cheaper. Only sources
// admitted beforehand go in, never code that carries an answer, and only bytecode dumped
// by this process, since the engine trusts what it loads.
class DuktapeBytecodeCache {
 public:
  static constexpr std::size_t kMaximumEntries = 8;

  static DuktapeBytecodeCache& Instance() noexcept;

  // Up to kMaximumEntries sources are admitted; later ones are compiled every time.
  void Admit(std::string source);
  bool IsAdmitted(std::string_view source) const;
  std::shared_ptr<const Bytes> Find(std::string_view source) const;
  std::size_t StoredCount() const;
  // Keeps the bytecode of an admitted source.
  void Store(std::string_view source, Bytes bytecode);

 private:
  DuktapeBytecodeCache() = default;

  mutable std::mutex mutex_;
  std::vector<std::string> admitted_;
  std::vector<std::pair<std::string, std::shared_ptr<const Bytes>>> entries_;
};

}  // namespace zendra
