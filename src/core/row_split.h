// Splitting the rows of a picture over the machine's cores. The floor and the
// floor texture are computed row by row, and every row depends only on its
// own coordinates, so the result does not depend on how the rows are shared.
#pragma once

#include <cstdint>
#include <functional>

// Threads the floor drawing may use by default: the machine's cores, at most 4.
int32_t default_row_threads();

// Runs work(first, end) over the rows 0 .. rows - 1 in small chunks, on up to
// `threads` threads; the calling thread is one of them and does its share.
// Returns when every row is done. The work must not end the program (report
// a run-time error) from another thread: anything that can fail is checked by
// the caller first. An exception thrown by the work is passed on to the caller
// once all threads have stopped.
void split_rows(int32_t rows, int32_t threads, const std::function<void(int32_t first, int32_t end)>& work);
