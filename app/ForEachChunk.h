#pragma once

#include <functional>

// Runs work(first, end) over [0, count) in chunks on up to four threads, one chunk on the calling
// thread; a count too small to be worth a thread is done there whole. For work on many rows that is
// mostly memory allocation, which the threads' own allocator arenas do side by side. work must be
// safe to run on several threads at once; an exception it throws is thrown again here.
void ForEachChunk(int count, const std::function<void(int first, int end)>& work);
