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
using CODEPLACE = std::source_location;
#else
struct CODEPLACE {
  unsigned LINE = 0;
  static constexpr CODEPLACE current(unsigned line = __builtin_LINE()) { return CODEPLACE{line}; }
  constexpr unsigned line() const { return LINE; }
};
#endif

// Error numbers of the handler.
constexpr int32_t ERRINDEX = 6;
constexpr int32_t ERRNULL = 7;

// Reports a run-time error and ends the program (exit code 0). Before the
// screen is open the report goes to standard output and the program ends at
// once, since there is no keyboard to wait for.
[[noreturn]] void RUNTIMEERROR(int32_t number, int32_t line);

// Ends the program with the given exit code. Implemented by unwinding to the
// program's entry point (so that tests can run whole screens in-process).
struct PROGRAMEND {
  int code;
};
[[noreturn]] void ENDPROGRAM(int code);

// Hands a non-zero code of a surface operation to the handler, with the line
// of the calling statement.
inline void CHECKCODE(int32_t code, CODEPLACE where = CODEPLACE::current()) {
  if (code != 0) RUNTIMEERROR(code, static_cast<int32_t>(where.line()));
}

// Checks a reference (pointer) before use: null is error 7.
template <class T>
inline T* CHECKREF(T* p, CODEPLACE where = CODEPLACE::current()) {
  if (p == nullptr) RUNTIMEERROR(ERRNULL, static_cast<int32_t>(where.line()));
  return p;
}

// An index that remembers where it was written, so that a failed check names
// the line of the indexing statement rather than this header.
struct IDX {
  long long value;
  CODEPLACE where;
  // cppcheck-suppress noExplicitConstructor ; implicit on purpose: list[i] takes a plain number
  IDX(long long v, CODEPLACE w = CODEPLACE::current()) : value(v), where(w) {}
};

[[noreturn]] inline void INDEXERROR(const IDX& i) {
  RUNTIMEERROR(ERRINDEX, static_cast<int32_t>(i.where.line()));
}

// A fixed-size array indexed from 0 whose every access is checked.
template <class T, std::size_t N>
struct CHECKEDARRAY {
  std::array<T, N> items{};

  T& operator[](IDX i) {
    if (i.value < 0 || i.value >= static_cast<long long>(N)) INDEXERROR(i);
    return items[static_cast<std::size_t>(i.value)];
  }
  const T& operator[](IDX i) const {
    if (i.value < 0 || i.value >= static_cast<long long>(N)) INDEXERROR(i);
    return items[static_cast<std::size_t>(i.value)];
  }
  static constexpr std::size_t size() { return N; }
  T* data() { return items.data(); }
  const T* data() const { return items.data(); }
  auto begin() { return items.begin(); }
  auto end() { return items.end(); }
  auto begin() const { return items.begin(); }
  auto end() const { return items.end(); }
  bool operator==(const CHECKEDARRAY&) const = default;
};

// A resizable list indexed from 0 whose every access is checked (message
// lists, information texts, the label table).
template <class T>
struct CHECKEDLIST {
  std::vector<T> items;

  CHECKEDLIST() = default;
  CHECKEDLIST(std::initializer_list<T> init) : items(init) {}

  T& operator[](IDX i) {
    if (i.value < 0 || i.value >= static_cast<long long>(items.size())) INDEXERROR(i);
    return items[static_cast<std::size_t>(i.value)];
  }
  const T& operator[](IDX i) const {
    if (i.value < 0 || i.value >= static_cast<long long>(items.size())) INDEXERROR(i);
    return items[static_cast<std::size_t>(i.value)];
  }
  // Sizes the list to indices 0..count-1; a negative count is a failed sizing.
  void RESIZE(long long count, CODEPLACE where = CODEPLACE::current()) {
    if (count < 0 || count > (1LL << 24)) RUNTIMEERROR(ERRINDEX, static_cast<int32_t>(where.line()));
    items.assign(static_cast<std::size_t>(count), T{});
  }
  // Index of the last entry (-1 when empty), as the game's loops use it.
  long long UPPER() const { return static_cast<long long>(items.size()) - 1; }
  std::size_t size() const { return items.size(); }
  auto begin() { return items.begin(); }
  auto end() { return items.end(); }
  auto begin() const { return items.begin(); }
  auto end() const { return items.end(); }
};

// A list of text lines: message lists and information pages.
using TEXTLIST = CHECKEDLIST<std::string>;
