// A small pool of worker threads that share the rows of a picture with the
// calling thread. The workers live for the whole run and sleep between
// pictures; each picture is handed out in chunks of rows through one counter,
// so a worker that wakes late simply takes fewer chunks.
#include "core/row_split.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

// A web page without cross-origin isolation has no threads: there the
// calling thread draws every row.
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
#define RANVEL_ONE_THREAD 1
#endif

namespace {

constexpr int32_t CHUNK_ROWS = 8;
constexpr int32_t MOST_THREADS = 4;
// How long an idle worker keeps looking for the next picture before it
// sleeps: pictures drawn back to back are then picked up at once.
constexpr auto SPIN_TIME = std::chrono::microseconds(200);

void cpu_relax() {
#if defined(__x86_64__) || defined(__i386__)
  _mm_pause();
#else
  std::this_thread::yield();
#endif
}

struct RowPool {
  std::mutex calls;  // one picture at a time
  std::mutex sleep_lock;
  std::condition_variable wake;
  std::vector<std::thread> workers;
  bool stop = false;

  // The picture being shared out.
  std::atomic<uint64_t> generation{0};  // bumped for every picture
  std::atomic<uint64_t> open{0};        // generation still open to workers, 0 when closed
  std::atomic<int32_t> busy{0};         // workers inside the current picture
  std::atomic<int32_t> next_row{0};
  int32_t rows = 0;
  int32_t helpers = 0;  // workers allowed to take part
  const std::function<void(int32_t, int32_t)>* work = nullptr;
  std::mutex failure_lock;
  std::exception_ptr failure;

  ~RowPool() {
    {
      std::lock_guard<std::mutex> lock(sleep_lock);
      stop = true;
    }
    wake.notify_all();
    for (std::thread& t : workers) t.join();
  }

  void take_chunks() {
    try {
      for (;;) {
        const int32_t first = next_row.fetch_add(CHUNK_ROWS);
        if (first >= rows) break;
        (*work)(first, std::min(first + CHUNK_ROWS, rows));
      }
    } catch (...) {
      std::lock_guard<std::mutex> lock(failure_lock);
      if (!failure) failure = std::current_exception();
      next_row.store(rows);  // the others stop early too
    }
  }

  // A worker counts as having seen every picture handed out before it was
  // made (`seen`), so it takes part in the one it was made for, however late
  // the system starts it.
  void worker_loop(int32_t index, uint64_t seen) {
    for (;;) {
      // Look for the next picture for a while, then sleep until it comes.
      const auto spin_end = std::chrono::steady_clock::now() + SPIN_TIME;
      uint64_t now = generation.load();
      while (now == seen && std::chrono::steady_clock::now() < spin_end) {
        for (int i = 0; i < 64 && now == seen; ++i) {
          cpu_relax();
          now = generation.load();
        }
      }
      if (now == seen) {
        std::unique_lock<std::mutex> lock(sleep_lock);
        wake.wait(lock, [&] { return stop || generation.load() != seen; });
        if (stop) return;
        now = generation.load();
      }
      seen = now;
      busy.fetch_add(1);
      // The picture may already be finished (a worker that woke late): then
      // its fields belong to nobody and must not be read.
      if (open.load() == seen && index < helpers) take_chunks();
      busy.fetch_sub(1);
    }
  }

  void run(int32_t count, int32_t threads, const std::function<void(int32_t, int32_t)>& job) {
    std::lock_guard<std::mutex> call(calls);
    const int32_t wanted = std::min(threads, MOST_THREADS) - 1;
    while (static_cast<int32_t>(workers.size()) < wanted) {
      const auto index = static_cast<int32_t>(workers.size());
      const uint64_t before = generation.load();
      workers.emplace_back([this, index, before] { worker_loop(index, before); });
    }
    rows = count;
    helpers = wanted;
    work = &job;
    failure = nullptr;
    next_row.store(0);
    const uint64_t g = generation.load() + 1;
    open.store(g);
    {
      std::lock_guard<std::mutex> lock(sleep_lock);
      generation.store(g);
    }
    wake.notify_all();
    take_chunks();
    // Close the picture, then wait for the workers still inside it.
    open.store(0);
    for (int spins = 0; busy.load() != 0; ++spins) {
      // A worker that the system has put aside gets the core back soon.
      if (spins < 4096)
        cpu_relax();
      else
        std::this_thread::yield();
    }
    work = nullptr;
    if (failure) std::rethrow_exception(failure);
  }
};

RowPool& pool() {
  static RowPool p;
  return p;
}

}  // namespace

int32_t default_row_threads() {
#ifdef RANVEL_ONE_THREAD
  return 1;
#else
  const unsigned cores = std::thread::hardware_concurrency();
  return static_cast<int32_t>(std::clamp<unsigned>(cores, 1u, static_cast<unsigned>(MOST_THREADS)));
#endif
}

void split_rows(int32_t rows, int32_t threads, const std::function<void(int32_t, int32_t)>& work) {
  if (rows <= 0) return;
#ifdef RANVEL_ONE_THREAD
  threads = 1;
#endif
  if (threads <= 1 || rows <= CHUNK_ROWS) {
    work(0, rows);
    return;
  }
  pool().run(rows, threads, work);
}
