// The call trace: the trace names of the procedures entered and not yet
// left, oldest first. Names are literals with static storage, kept without
// a copy. A push is a store and an increment while the reserve lasts, so the
// growing is kept out of the traced path.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string_view>

namespace jotwell {

class CallTrace {
 public:
  explicit CallTrace(std::size_t reserve);

  void push_back(std::string_view name) {
    if (size_ == capacity_) [[unlikely]]
      Grow();
    names_[size_++] = name;
  }
  void pop_back() { --size_; }
  bool empty() const { return size_ == 0; }
  std::size_t size() const { return size_; }
  std::span<const std::string_view> Names() const { return {names_.get(), size_}; }

 private:
  // Doubles the reserve. Throws std::bad_alloc.
  [[gnu::noinline]] void Grow();

  std::unique_ptr<std::string_view[]> names_;
  std::size_t size_ = 0;
  std::size_t capacity_;
};

}  // namespace jotwell
