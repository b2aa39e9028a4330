#include "platform/script/duktape_bytecode_cache.h"

namespace zendra {

DuktapeBytecodeCache& DuktapeBytecodeCache::Instance() noexcept {
  static DuktapeBytecodeCache cache;
  return cache;
}

void DuktapeBytecodeCache::Admit(std::string source) {
  const std::lock_guard lock(mutex_);
  for (const auto& known : admitted_)
    if (known == source) return;
  if (admitted_.size() < kMaximumEntries) admitted_.push_back(std::move(source));
}

bool DuktapeBytecodeCache::IsAdmitted(std::string_view source) const {
  const std::lock_guard lock(mutex_);
  for (const auto& known : admitted_)
    if (known == source) return true;
  return false;
}

std::size_t DuktapeBytecodeCache::StoredCount() const {
  const std::lock_guard lock(mutex_);
  return entries_.size();
}

std::shared_ptr<const Bytes> DuktapeBytecodeCache::Find(std::string_view source) const {
  const std::lock_guard lock(mutex_);
  for (const auto& [text, bytecode] : entries_)
    if (text == source) return bytecode;
  return nullptr;
}

void DuktapeBytecodeCache::Store(std::string_view source, Bytes bytecode) {
  const std::lock_guard lock(mutex_);
  bool admitted = false;
  for (const auto& known : admitted_) admitted = admitted || known == source;
  if (!admitted || entries_.size() >= kMaximumEntries) return;
  for (const auto& entry : entries_)
    if (entry.first == source) return;
  entries_.emplace_back(std::string(source), std::make_shared<const Bytes>(std::move(bytecode)));
}

}  // namespace zendra
