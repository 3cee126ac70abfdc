// Starting a thread for background work (a decode ahead, a save, the row
// pool). A thread may not be had when memory or the process's limits run
// out; std::thread then throws std::system_error, and so does this, so that
// the caller does the work on its own thread instead.
#pragma once

#include <functional>
#include <thread>

std::thread StartThread(std::function<void()> work);

// Tests: makes every start fail while failWhen() is true, as a start without
// memory for the thread's stack does. An empty function removes the fault.
void SetThreadStartFaultForTesting(std::function<bool()> failWhen);
