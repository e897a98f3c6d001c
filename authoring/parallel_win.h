// Work spread over several threads, its results taken in order on the calling thread.
#pragma once

#include <cstddef>
#include <functional>

// Calls work(i) for every i below count on up to `threads` threads at once, each of which has COM
// initialised (multithreaded apartment) for its whole life, and calls done(i) on the calling
// thread in the order of i, each as soon as work(i) has returned. When no thread can be started,
// the calling thread does the work itself. Returns once every done(i) has returned and every
// thread has ended.
void RunInOrder(size_t count, unsigned threads, const std::function<void(size_t)>& work,
                const std::function<void(size_t)>& done);
