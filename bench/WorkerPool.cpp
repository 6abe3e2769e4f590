#include "WorkerPool.h"

#include <atomic>
#include <thread>

WorkerPool::WorkerPool(int32_t workers) : boards(static_cast<size_t>(workers > 0 ? workers : 1)) {}

void WorkerPool::run(size_t count, const std::function<void(Board&, size_t)>& job) {
    std::atomic<size_t> next{0};
    std::vector<std::thread> threads;
    for (Board& board : boards) {
        threads.emplace_back([&job, &next, &board, count] {
            for (size_t i = next++; i < count; i = next++) {
                job(board, i);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
}
