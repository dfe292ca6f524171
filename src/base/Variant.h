// The self-describing value of the error manager: what procedures register
// and what the report renders.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "jotwell/ValueTypes.h"
#include "platform/regional.h"

namespace jotwell {

class Variant;

struct NullValue {
  friend bool operator==(NullValue, NullValue) = default;
};
// A point in time as a count of days since 30 December 1899; the fraction
// is the time of day.
struct Date {
  static constexpr double kFirst = -657434;  // 1 January 100
  static constexpr double kLast = 2958465;   // 31 December 9999
  double serial = 0;
  friend bool operator==(Date, Date) = default;
};
// An error code; kMissing marks an optional argument the caller left out.
struct ErrorCode {
  static constexpr Long kMissing = static_cast<Long>(0x80020004u);
  Long code = 0;
  friend bool operator==(ErrorCode, ErrorCode) = default;
};
// A reference to an object; objects have no text form.
struct ObjectRef {
  const void* identity = nullptr;
  friend bool operator==(ObjectRef, ObjectRef) = default;
};

// An array with a lower and upper bound per dimension; elements are stored
// with the first dimension varying fastest.
struct VariantArray {
  struct Bounds {
    Long lower = 0;
    Long upper = -1;
    Long Count() const { return upper < lower ? 0 : upper - lower + 1; }
  };
  std::vector<Bounds> dimensions;
  std::vector<Variant> elements;

  // A one-dimensional array with bounds lower..lower+size-1.
  static VariantArray OneDimensional(std::vector<Variant> elements, Long lower = 0);
};

class Variant {
 public:
  enum class Kind {
    Empty, Null, Integer, Long, Byte, Single, Double, Currency, Date, String, Boolean, Error,
    Object, Array
  };

  Variant() = default;
  Variant(NullValue v) : value_(v) {}
  Variant(Integer v) : value_(v) {}
  Variant(Long v) : value_(v) {}
  Variant(std::uint8_t v) : value_(v) {}
  Variant(float v) : value_(v) {}
  Variant(double v) : value_(v) {}
  Variant(Currency v) : value_(v) {}
  Variant(Date v) : value_(v) {}
  Variant(String v) : value_(std::move(v)) {}
  Variant(const char* v) : value_(String(v)) {}
  Variant(Boolean v) : value_(v) {}
  Variant(bool v) : value_(Boolean(v)) {}
  Variant(ErrorCode v) : value_(v) {}
  Variant(ObjectRef v) : value_(v) {}
  Variant(VariantArray v) : value_(std::make_shared<const VariantArray>(std::move(v))) {}

  static Variant Missing() { return Variant(ErrorCode{ErrorCode::kMissing}); }

  Kind kind() const { return static_cast<Kind>(value_.index()); }
  bool IsMissing() const;
  bool IsArray() const { return kind() == Kind::Array; }
  const VariantArray& Array() const { return *std::get<ArrayPtr>(value_); }

  template <class T>
  const T* As() const { return std::get_if<T>(&value_); }

  // The text form under the user's locale; nullopt when the value has none
  // (error codes, objects, arrays).
  std::optional<String> Text() const;
  // The text form; throws a type mismatch when the value has none.
  String TextOrMismatch() const;

 private:
  using ArrayPtr = std::shared_ptr<const VariantArray>;
  // Alternatives in the order of Kind.
  std::variant<std::monostate, NullValue, Integer, Long, std::uint8_t, float, double, Currency,
               jotwell::Date, String, Boolean, ErrorCode, ObjectRef, ArrayPtr>
      value_;
};

// The general date format: short date, a blank and the long time; the time
// is left out at exactly midnight.
String GeneralDateText(const platform::LocalDateTime& when);

}  // namespace jotwell
