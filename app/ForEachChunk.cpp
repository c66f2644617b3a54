#include "app/ForEachChunk.h"

#include <algorithm>
#include <exception>
#include <system_error>
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
    const auto runChunk = [&](int chunk) {
        try {
            work(chunk * perChunk, std::min(count, (chunk + 1) * perChunk));
        } catch (...) {
            errors[size_t(chunk)] = std::current_exception();
        }
    };
    // A chunk whose thread cannot be had is done here, after the first.
    std::vector<int> chunksHere{0};
    for (int chunk = 1; chunk < chunks; ++chunk) {
        try {
            workers.emplace_back(runChunk, chunk);
        } catch (const std::system_error&) {
            chunksHere.push_back(chunk);
        }
    }
    for (const int chunk : chunksHere)
        runChunk(chunk);
    for (std::thread& worker : workers)
        worker.join();
    for (const std::exception_ptr& error : errors) {
        if (error)
            std::rethrow_exception(error);
    }
}
