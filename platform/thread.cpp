#include "platform/thread.h"

#ifdef _WIN32
#include <windows.h>

uintptr_t threadCurrentId() {
    return GetCurrentThreadId();
}

void threadYield() {
    SwitchToThread();
}
#else
#include <pthread.h>
#include <sched.h>

uintptr_t threadCurrentId() {
    return static_cast<uintptr_t>(pthread_self());
}

void threadYield() {
    sched_yield();
}
#endif
