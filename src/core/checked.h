// Checked containers: a fixed-size array and a resizable list indexed from 0
// whose every access is checked, a failure going to the run-time error handler.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/runtime_error.h"

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
