// The one run-time error handler of the program, and the checked containers
// and references that report to it.
//
// Every array index and every reference in the game is checked. A failed
// index check is error 6, a null reference error 7, and a non-zero code from
// a surface operation is reported with that code. The handler writes
// "Error <n> in line <l>", waits for a key and ends the program with exit
// code 0. Nothing recovers from such an error.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <source_location>
#include <string>
#include <vector>

// The place of a calling statement. Clang 14 with the g++ 12 library (the
// fuzzing and static-analysis builds) has no std::source_location yet; its
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

// Error numbers of the handler.
constexpr int32_t ERR_INDEX = 6;
constexpr int32_t ERR_NULL = 7;

// Reports a run-time error and ends the program (exit code 0). Before the
// screen is open the report goes to standard output and the program ends at
// once, since there is no keyboard to wait for.
[[noreturn]] void report_runtime_error(int32_t number, int32_t line);

// Ends the program with the given exit code. Implemented by unwinding to the
// program's entry point (so that tests can run whole screens in-process).
struct ProgramEnd {
  int code;
};
[[noreturn]] void end_program(int code);

// Hands a non-zero code of a surface operation to the handler, with the line
// of the calling statement.
inline void check_code(int32_t code, CodePlace where = CodePlace::current()) {
  if (code != 0) report_runtime_error(code, static_cast<int32_t>(where.line()));
}

// Checks a reference (pointer) before use: null is error 7.
template <class T>
inline T* check_ref(T* p, CodePlace where = CodePlace::current()) {
  if (p == nullptr) report_runtime_error(ERR_NULL, static_cast<int32_t>(where.line()));
  return p;
}

// An index that remembers where it was written, so that a failed check names
// the line of the indexing statement rather than this header.
struct Idx {
  long long value;
  CodePlace where;
  // cppcheck-suppress noExplicitConstructor ; implicit on purpose: list[i] takes a plain number
  Idx(long long v, CodePlace w = CodePlace::current()) : value(v), where(w) {}
};

[[noreturn]] inline void index_error(const Idx& i) {
  report_runtime_error(ERR_INDEX, static_cast<int32_t>(i.where.line()));
}

// A fixed-size array indexed from 0 whose every access is checked.
template <class T, std::size_t N>
struct CheckedArray {
  std::array<T, N> items{};

  T& operator[](Idx i) {
    if (i.value < 0 || i.value >= static_cast<long long>(N)) index_error(i);
    return items[static_cast<std::size_t>(i.value)];
  }
  const T& operator[](Idx i) const {
    if (i.value < 0 || i.value >= static_cast<long long>(N)) index_error(i);
    return items[static_cast<std::size_t>(i.value)];
  }
  static constexpr std::size_t size() { return N; }
  T* data() { return items.data(); }
  const T* data() const { return items.data(); }
  auto begin() { return items.begin(); }
  auto end() { return items.end(); }
  auto begin() const { return items.begin(); }
  auto end() const { return items.end(); }
  bool operator==(const CheckedArray&) const = default;
};

// A resizable list indexed from 0 whose every access is checked (message
// lists, information texts, the label table).
template <class T>
struct CheckedList {
  std::vector<T> items;

  CheckedList() = default;
  CheckedList(std::initializer_list<T> init) : items(init) {}

  T& operator[](Idx i) {
    if (i.value < 0 || i.value >= static_cast<long long>(items.size())) index_error(i);
    return items[static_cast<std::size_t>(i.value)];
  }
  const T& operator[](Idx i) const {
    if (i.value < 0 || i.value >= static_cast<long long>(items.size())) index_error(i);
    return items[static_cast<std::size_t>(i.value)];
  }
  // Sizes the list to indices 0..count-1; a negative count is a failed sizing.
  void resize(long long count, CodePlace where = CodePlace::current()) {
    if (count < 0 || count > (1LL << 24)) report_runtime_error(ERR_INDEX, static_cast<int32_t>(where.line()));
    items.assign(static_cast<std::size_t>(count), T{});
  }
  // Index of the last entry (-1 when empty), as the game's loops use it.
  long long upper() const { return static_cast<long long>(items.size()) - 1; }
  std::size_t size() const { return items.size(); }
  auto begin() { return items.begin(); }
  auto end() { return items.end(); }
  auto begin() const { return items.begin(); }
  auto end() const { return items.end(); }
};

// A list of text lines: message lists and information pages.
using TextList = CheckedList<std::string>;
