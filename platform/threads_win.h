// What threads share: the processor count and a scoped hold on an SRW lock.
#pragma once

#include <windows.h>

// The machine's logical processors, at least 1.
unsigned ProcessorCount();

// Holds an SRW lock exclusively for the scope, so that every path gives it up again; Unlocked
// gives it up for a nested scope (a long task done without the lock) and takes it back after.
class ExclusiveLock {
public:
    explicit ExclusiveLock(SRWLOCK* lock) : m_lock(lock) { AcquireSRWLockExclusive(m_lock); }
    ~ExclusiveLock() { ReleaseSRWLockExclusive(m_lock); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;
    SRWLOCK* Get() const { return m_lock; }

private:
    SRWLOCK* m_lock;
};

class Unlocked {
public:
    explicit Unlocked(const ExclusiveLock& held) : m_lock(held.Get()) { ReleaseSRWLockExclusive(m_lock); }
    ~Unlocked() { AcquireSRWLockExclusive(m_lock); }
    Unlocked(const Unlocked&) = delete;
    Unlocked& operator=(const Unlocked&) = delete;

private:
    SRWLOCK* m_lock;
};
