#include "errors/CallTrace.h"

#include <algorithm>

namespace jotwell {

CallTrace::CallTrace(std::size_t reserve)
    : names_(std::make_unique<std::string_view[]>(reserve)), capacity_(reserve) {}

void CallTrace::Grow() {
  std::size_t capacity = std::max<std::size_t>(capacity_ * 2, 1);
  auto names = std::make_unique<std::string_view[]>(capacity);
  std::copy(names_.get(), names_.get() + size_, names.get());
  names_ = std::move(names);
  capacity_ = capacity;
}

}  // namespace jotwell
