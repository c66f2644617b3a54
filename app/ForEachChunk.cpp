#include "app/ForEachChunk.h"

#include <algorithm>
#include <exception>
#include <thread>
#include <vector>

void ForEachChunk(int count, const std::function<void(int, int)>& work)
{
    constexpr int kMinRowsPerThread = 8192;
    const int threads = std::clamp(int(std::thread::hardware_concurrency()), 1, 4);
    const int chunks = std::clamp(count / kMinRowsPerThread, 1, threads);
    if (chunks == 1) {
        work(0, count);
        return;
    }
    std::vector<std::thread> workers;
    std::vector<std::exception_ptr> errors(static_cast<size_t>(chunks));
    const int perChunk = (count + chunks - 1) / chunks;
    for (int chunk = 1; chunk < chunks; ++chunk) {
        workers.emplace_back([&, chunk] {
            try {
                work(chunk * perChunk, std::min(count, (chunk + 1) * perChunk));
            } catch (...) {
                errors[size_t(chunk)] = std::current_exception();
            }
        });
    }
    try {
        work(0, std::min(count, perChunk));
    } catch (...) {
        errors[0] = std::current_exception();
    }
    for (std::thread& worker : workers)
        worker.join();
    for (const std::exception_ptr& error : errors) {
        if (error)
            std::rethrow_exception(error);
    }
}
