// The entry of the one run-time error handler, declared here for every
// layer and defined by the game's main routine, and the checks that report to
// it.
//
// Every array index and every reference in the game is checked. A failed
// index check is error 6, a null reference error 7, and a non-zero code from
// a surface operation is reported with that code. The handler writes
// "Error <n> in line <l>", waits for a key and ends the program with exit
// code 0. Nothing recovers from such an error.
#pragma once

#include <cstdint>

#include "core/compat.h"

// Error numbers of the handler.
constexpr int32_t ERR_INDEX = 6;
constexpr int32_t ERR_NULL = 7;

// Reports a run-time error and ends the program (exit code 0). Before the
// screen is open the report goes to standard output and the program ends at
// once, since there is no keyboard to wait for.
[[noreturn]] void report_runtime_error(int32_t number, int32_t line);

// Ends the program with the given exit code, by unwinding to the program's
// entry point (so that tests can run whole screens in-process).
struct ProgramEnd {
  int code;
};
[[noreturn]] inline void end_program(int code) { throw ProgramEnd{code}; }

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
