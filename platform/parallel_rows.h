// Spreads the rows of a pixel routine over the processor's cores. Each row is
// computed whole by one thread from inputs that no thread writes, so results
// are bit for bit those of a single thread; only the time changes. A row that
// throws (its buffers cannot be had, say) stops the rows not yet started, and
// the caller gets the exception once every row started has ended; the pool
// is free for the next split. When no helper thread can be started, the
// caller's thread does every row.
#pragma once

#include <cstdint>
#include <functional>

// Threads a split may use: the configured count, else the count in the
// environment variable PLOVIS_WORKER_THREADS, else the number of cores this
// process may run on (taskset and the like narrow it).
int WorkerThreadCount();
// 1 keeps every routine on the calling thread (tests compare both ways);
// 0 returns to the hardware's count.
void SetWorkerThreadCount(int count);

// Background work that keeps a core while it runs (photos decoded ahead):
// splits started meanwhile leave one core to it (never using fewer than one
// thread), so the row work does not crowd it off; more than one piece of
// such work shares that core and the rest as the system schedules them.
class CoreReservation {
public:
    CoreReservation();
    ~CoreReservation();
    CoreReservation(const CoreReservation&) = delete;
    CoreReservation& operator=(const CoreReservation&) = delete;
};

// Row work that shares a buffer over several rows goes in bands of rows
// taken by the threads one at a time: many more bands than threads, so that
// no thread is left alone on a long last band, and the buffer is had once a
// band. Up to eight rows a band, fewer when that would leave a thread fewer
// than about eight bands.
int RowsPerBand(int rows);

// True when ForEachRow would split rows rows, whose work touches about pixels
// pixels, across threads (small work is not worth starting threads for).
// Routines with a finer-grained single-threaded path ask this first.
bool SplitsRows(int rows, std::int64_t pixels);

// Calls rowFn(y) once for every y in [0, rows), spread over the threads when
// SplitsRows(rows, pixels), else in order on the calling thread.
void ForEachRow(int rows, std::int64_t pixels, const std::function<void(int)>& rowFn);

// As above, always on worker threads, while the calling thread runs poll()
// about every 20 ms (it may pump the window's events). Once poll() returns
// true no further row is started. Returns true when every row was done.
bool ForEachRowPolled(int rows, std::int64_t pixels, const std::function<void(int)>& rowFn,
                      const std::function<bool()>& poll);

// Tests: a row about to run on a pool thread throws std::bad_alloc, as a row
// whose buffers cannot be had does, whenever failWhen() is true. An empty
// function removes the fault.
void SetPoolRowFaultForTesting(std::function<bool()> failWhen);

// Polls once, then as ForEachRowPolled for work worth a thread, so that even
// on one core the calling thread polls while a pool thread does the rows;
// smaller work runs here. With no poll, simply ForEachRow. Returns true when
// every row was done.
bool ForEachRowUntil(int rows, std::int64_t pixels, const std::function<void(int)>& rowFn,
                     const std::function<bool()>& poll);
