// Value types of the JotBook boundary.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

#include "jotwell/Export.h"

namespace jotwell {

// Text is UTF-8; an empty string and an absent string are the same value.
using String = std::string;
using Integer = std::int16_t;
using Long = std::int32_t;

// A 16-bit truth value, kept exactly as passed: True is -1, False is 0, and
// any other value survives a round trip. A C++ bool converts to True/False;
// plain integers do not convert at all, so `Boolean(1)` cannot happen by
// accident. Hosts that must pass a raw 16-bit value say so with FromRaw.
class Boolean {
 public:
  constexpr Boolean() = default;
  constexpr Boolean(bool value) : raw_(value ? -1 : 0) {}  // NOLINT: implicit on purpose
  template <class T>
  Boolean(T) = delete;

  static constexpr Boolean FromRaw(std::int16_t raw) {
    Boolean b;
    b.raw_ = raw;
    return b;
  }
  constexpr std::int16_t Raw() const { return raw_; }
  constexpr bool IsTrue() const { return raw_ == -1; }
  constexpr bool IsFalse() const { return raw_ == 0; }

  friend constexpr bool operator==(Boolean, Boolean) = default;

 private:
  std::int16_t raw_ = 0;
};

inline constexpr Boolean True = Boolean(true);
inline constexpr Boolean False = Boolean(false);

// A fixed-point number with four decimals, stored as a count of
// ten-thousandths.
class JOTWELL_EXPORT Currency {
 public:
  static constexpr std::int64_t kScale = 10000;

  constexpr Currency() = default;
  static constexpr Currency FromScaled(std::int64_t scaled) {
    Currency c;
    c.scaled_ = scaled;
    return c;
  }
  // Largest whole number a Currency can hold.
  static constexpr std::int64_t kMaxWhole = INT64_MAX / kScale;
  // Throws the overflow run-time error when `whole` does not fit.
  static Currency FromWhole(std::int64_t whole);

  constexpr std::int64_t Scaled() const { return scaled_; }

  friend constexpr auto operator<=>(Currency, Currency) = default;
  // Compares with a plain count (bytes, for instance) without rounding.
  friend constexpr bool operator<(Currency c, Long whole) {
    return c.scaled_ < static_cast<std::int64_t>(whole) * kScale;
  }

 private:
  std::int64_t scaled_ = 0;
};

}  // namespace jotwell
