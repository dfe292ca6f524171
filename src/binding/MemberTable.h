// The one table of _JotBook's members: name, dispatch identifier, kind,
// parameters with type and passing mode, and result, in function-table
// order. Name lookup, Invoke, the function table and the interface
// description all read it; adding a member is one row here.
#pragma once

#include <array>
#include <cstdint>
#include <new>
#include <span>

#include "jotwell/JotBook.h"
#include "jotwell/automation.h"

namespace jotwell::binding {

enum class Type : std::uint8_t { None, String, Boolean, Integer, Long, Currency };
enum class Mode : std::uint8_t { ByValue, ByReference };
enum class Kind : WORD { Method = DISPATCH_METHOD, Get = DISPATCH_PROPERTYGET, Let = DISPATCH_PROPERTYPUT };

struct Parameter {
  const char* name;
  Type type;
  Mode mode;
};

inline constexpr std::size_t kMaxParameters = 3;

// A call's values in the library's own types: text for String parameters,
// a number for the others (a Boolean's raw value, Currency scaled), in
// parameter order, and the result likewise. Text is made on first use, so
// that calls without text pay nothing for it.
class Values {
 public:
  Values() = default;
  Values(const Values&) = delete;
  Values& operator=(const Values&) = delete;
  ~Values() {
    for (std::size_t slot = 0; made_ != 0; ++slot, made_ >>= 1)
      if (made_ & 1u) Slot(slot).~String();
  }

  String& Text(std::size_t slot) {
    if (!(made_ & (1u << slot))) new (text_[slot]) String(), made_ |= 1u << slot;
    return Slot(slot);
  }
  String& ResultText() { return Text(kMaxParameters); }

  // Left unset: every call sets the numbers it reads, and clearing them
  // costs as much as a property get.
  std::array<std::int64_t, kMaxParameters> number;
  std::int64_t resultNumber;

 private:
  String& Slot(std::size_t slot) { return *std::launder(reinterpret_cast<String*>(text_[slot])); }

  // The parameters' text, then the result's.
  alignas(String) unsigned char text_[kMaxParameters + 1][sizeof(String)];
  unsigned made_ = 0;
};

struct Member {
  const char* name;
  DISPID id;
  Kind kind;
  std::array<Parameter, kMaxParameters> parameters;
  std::size_t parameterCount;
  Type result;
  void (*call)(JotBook&, Values&);

  std::span<const Parameter> Parameters() const { return {parameters.data(), parameterCount}; }
};

namespace detail {
using enum Type;
using enum Kind;
constexpr Mode Val = Mode::ByValue, Ref = Mode::ByReference;
using B = JotBook&;
using V = Values&;

// clang-format off
inline constexpr std::array<Member, 21> kMembers{{
  {"DeleteToRecycleBin", 0x60030006, Method, {{{"FileName", String, Val}}}, 1, Boolean,
   [](B b, V v) { v.resultNumber = b.DeleteToRecycleBin(v.Text(0)).Raw(); }},
  {"INI_PathToINI", 0x68030005, Get, {}, 0, String,
   [](B b, V v) { v.ResultText() = b.INI_PathToINI(); }},
  {"INI_PathToINI", 0x68030005, Let, {{{"PathToINI", String, Val}}}, 1, None,
   [](B b, V v) { b.INI_PathToINI(v.Text(0)); }},
  {"StripPath", 0x60030007, Method, {{{"FullPath", String, Ref}}}, 1, String,
   [](B b, V v) { v.ResultText() = b.StripPath(v.Text(0)); }},
  {"INI_WriteString", 0x60030008, Method,
   {{{"SectionName", String, Ref}, {"keyname", String, Ref}, {"WhatToWrite", String, Ref}}}, 3, Long,
   [](B b, V v) { v.resultNumber = b.INI_WriteString(v.Text(0), v.Text(1), v.Text(2)); }},
  {"INI_ReadINT", 0x60030009, Method, {{{"SectionName", String, Ref}, {"keyname", String, Ref}}}, 2, Integer,
   [](B b, V v) { v.resultNumber = b.INI_ReadINT(v.Text(0), v.Text(1)); }},
  {"INI_ReadString", 0x6003000A, Method, {{{"SectionName", String, Ref}, {"keyname", String, Ref}}}, 2, String,
   [](B b, V v) { v.ResultText() = b.INI_ReadString(v.Text(0), v.Text(1)); }},
  {"EndLogFileEvents", 0x6003000B, Method, {}, 0, None,
   [](B b, V) { b.EndLogFileEvents(); }},
  {"WriteEventToLogFile", 0x6003000C, Method, {{{"Data", String, Ref}}}, 1, None,
   [](B b, V v) { b.WriteEventToLogFile(v.Text(0)); }},
  {"AddToRecentDocuments", 0x6003000D, Method, {{{"FilePath", String, Ref}}}, 1, None,
   [](B b, V v) { b.AddToRecentDocuments(v.Text(0)); }},
  {"SizeOfCurrentLogFile", 0x68030004, Get, {}, 0, Long,
   [](B b, V v) { v.resultNumber = b.SizeOfCurrentLogFile(); }},
  {"OverwriteLogFile", 0x68030003, Get, {}, 0, Boolean,
   [](B b, V v) { v.resultNumber = b.OverwriteLogFile().Raw(); }},
  {"OverwriteLogFile", 0x68030003, Let, {{{"TrueOrFalse", Boolean, Val}}}, 1, None,
   [](B b, V v) { b.OverwriteLogFile(jotwell::Boolean::FromRaw(static_cast<std::int16_t>(v.number[0]))); }},
  {"MaximumLogFileSize", 0x68030002, Get, {}, 0, Long,
   [](B b, V v) { v.resultNumber = b.MaximumLogFileSize(); }},
  {"MaximumLogFileSize", 0x68030002, Let, {{{"Size", Long, Val}}}, 1, None,
   [](B b, V v) { b.MaximumLogFileSize(static_cast<jotwell::Long>(v.number[0])); }},
  {"LogFileName", 0x68030001, Get, {}, 0, String,
   [](B b, V v) { v.ResultText() = b.LogFileName(); }},
  {"LogFileName", 0x68030001, Let, {{{"NameOfLogFile", String, Val}}}, 1, None,
   [](B b, V v) { b.LogFileName(v.Text(0)); }},
  {"DoesLogFileExist", 0x68030000, Get, {}, 0, Boolean,
   [](B b, V v) { v.resultNumber = b.DoesLogFileExist().Raw(); }},
  {"DeleteLogFile", 0x60030012, Method, {}, 0, None,
   [](B b, V) { b.DeleteLogFile(); }},
  {"CopyFiles", 0x60030014, Method,
   {{{"Source", String, Ref}, {"Destination", String, Ref}, {"FileSpec", String, Ref}}}, 3, Long,
   [](B b, V v) { v.resultNumber = b.CopyFiles(v.Text(0), v.Text(1), v.Text(2)); }},
  {"DiskFreeSpace", 0x60030015, Method, {}, 0, Currency,
   [](B b, V v) { v.resultNumber = b.DiskFreeSpace().Scaled(); }},
}};
// clang-format on
}  // namespace detail

using detail::kMembers;

}  // namespace jotwell::binding
