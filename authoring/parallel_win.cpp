#include "authoring/parallel_win.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/threads_win.h"
#include "platform/win_raii.h"

namespace {

struct SharedWork {
    size_t count = 0;
    const std::function<void(size_t)>* work = nullptr;
    LONG64 next = 0;
    SRWLOCK lock = SRWLOCK_INIT;
    CONDITION_VARIABLE finished = CONDITION_VARIABLE_INIT;
    std::vector<bool> done;
};

DWORD WINAPI Worker(void* context)
{
    auto* shared = static_cast<SharedWork*>(context);
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    for (;;) {
        const auto i = static_cast<size_t>(InterlockedIncrement64(&shared->next) - 1);
        if (i >= shared->count)
            break;
        (*shared->work)(i);
        {
            const ExclusiveLock held(&shared->lock);
            shared->done[i] = true;
        }
        WakeAllConditionVariable(&shared->finished);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}

} // namespace

void RunInOrder(size_t count, unsigned threads, const std::function<void(size_t)>& work,
                const std::function<void(size_t)>& done)
{
    SharedWork shared;
    shared.count = count;
    shared.work = &work;
    shared.done.assign(count, false);
    std::vector<UniqueKernelHandle> workers;
    const size_t wanted = std::min<size_t>(std::max(threads, 1u), count);
    for (size_t t = 0; t < wanted; ++t) {
        UniqueKernelHandle worker(CreateThread(nullptr, 0, Worker, &shared, 0, nullptr));
        if (worker)
            workers.push_back(std::move(worker));
    }
    if (workers.empty()) {
        const ScopedComInit com;
        for (size_t i = 0; i < count; ++i) {
            work(i);
            done(i);
        }
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        {
            const ExclusiveLock held(&shared.lock);
            while (!shared.done[i])
                SleepConditionVariableSRW(&shared.finished, held.Get(), INFINITE, 0);
        }
        done(i);
    }
    for (const UniqueKernelHandle& worker : workers)
        WaitForSingleObject(worker.Get(), INFINITE);
}
