#include "core/row_split.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

// Each test runs in a process of its own under ctest, so the pool of workers
// is made by the first picture here.
TEST(RowSplit, AFreshWorkerTakesPartInTheFirstPicture) {
  // The calling thread holds on to its first chunk until another thread has
  // taken one: a worker that sat the first picture out (the floor texture at
  // start-up) would leave it alone with every row.
  const std::thread::id caller = std::this_thread::get_id();
  std::atomic<int32_t> by_others{0};
  std::atomic<bool> gave_up{false};
  std::vector<std::atomic<int32_t>> done(64);
  split_rows(64, 2, [&](int32_t first, int32_t end) {
    for (int32_t row = first; row < end; ++row) ++done[static_cast<std::size_t>(row)];
    if (std::this_thread::get_id() != caller) {
      ++by_others;
      return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (by_others.load() == 0 && !gave_up.load()) {
      if (std::chrono::steady_clock::now() > deadline) gave_up = true;
      std::this_thread::yield();
    }
  });
  EXPECT_FALSE(gave_up.load()) << "no other thread took part in the first picture";
  EXPECT_GT(by_others.load(), 0);
  for (int32_t row = 0; row < 64; ++row) EXPECT_EQ(done[static_cast<std::size_t>(row)].load(), 1) << row;
}
