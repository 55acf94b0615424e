// Report text made on several threads and written in order: the items of a
// long listing are formatted in blocks, each block on a worker thread into a
// sink of its own, and the calling thread writes the blocks' text one after
// another, so the report holds the bytes one thread would have written.
#pragma once

#include <cstddef>
#include <functional>

struct OrderedBlocks {
  std::size_t count = 0;      // items
  std::size_t blockSize = 1;  // items per block
  int threads = 2;            // worker threads that format blocks
};

// Calls format(thread, first, last) for every block [first, last) of the
// items, on worker thread number `thread` (0 to threads - 1) with the
// block's sink current, so that OutF and the other report writers fill it.
// Blocks are taken in order, at most two per thread ahead of the one being
// written. The text goes to the calling thread's current sink, or to
// gLQAOUT. A failure of format (out of memory) stops the workers and is
// thrown again on the calling thread; blocks no thread could be started for
// are formatted on the calling thread.
void WriteOrderedBlocks(const OrderedBlocks& plan,
                        const std::function<void(int thread, std::size_t first, std::size_t last)>& format);
