// What the standard libraries the game is built with do not all have yet:
// libc++ 13 (the browser build) has neither std::bit_cast nor
// <source_location>, nor has clang 14 with the g++ 12 library (the fuzzing
// and static-analysis builds).
#pragma once

#include <cstring>
#include <type_traits>
#if __has_include(<source_location>)
#include <source_location>
#endif

// The place of a calling statement; where std::source_location is missing,
// __builtin_LINE gives the same line number.
#if defined(__cpp_lib_source_location)
using CodePlace = std::source_location;
#else
struct CodePlace {
  unsigned number = 0;
  static constexpr CodePlace current(unsigned at = __builtin_LINE()) { return CodePlace{at}; }
  constexpr unsigned line() const { return number; }
};
#endif

// The bits of a value as another type of the same size.
template <class To, class From>
To bit_cast(const From& from) {
  static_assert(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<From> && std::is_trivially_copyable_v<To>);
  To to;
  std::memcpy(&to, &from, sizeof to);
  return to;
}
