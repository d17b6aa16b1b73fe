// A disk that fails on request, for the tests: an SQLite file system (VFS)
// that passes every call to the machine's own and counts the reads, writes,
// syncs and deletions made on every file the program opens (the database,
// its journal, a copy). Armed with a fault, it fails exactly the Nth call of
// one kind with an I/O error (or a full disk on the Nth write), or,
// persistently, every call of that kind from the Nth on until the test
// clears the fault. A sync that is not failed returns at once: the tests
// lose no power, and thousands of runs go many times faster.
//
// While a FailingDisk lives it is the default file system of the process, so
// every connection opened meanwhile goes through it; the one it replaced is
// the default again when it goes. Connections opened before it keep the
// machine's own.
#pragma once

#include <memory>

namespace failing_disk {

enum class Fault {
    Read,   // xRead answers SQLITE_IOERR_READ
    Write,  // xWrite answers SQLITE_IOERR_WRITE
    Sync,   // xSync answers SQLITE_IOERR_FSYNC
    Full,   // xWrite answers SQLITE_FULL (counted as writes)
    Delete, // xDelete answers SQLITE_IOERR_DELETE: a journal that cannot be
            // removed when a transaction ends
};

const char* name(Fault fault);

class FailingDisk {
public:
    FailingDisk();
    ~FailingDisk();
    FailingDisk(const FailingDisk&) = delete;
    FailingDisk& operator=(const FailingDisk&) = delete;

    // Sets every count back to 0 and fails nothing: a run that only counts.
    void count();
    // Sets every count back to 0 and fails the nth call (1 for the first)
    // of the fault's kind; with persistent, that call and every later one of
    // the kind, until clear().
    void arm(Fault fault, long long nth, bool persistent);
    // Fails nothing more; the counts go on.
    void clear();

    // Calls of the fault's kind since the last count() or arm().
    long long calls(Fault fault) const;
    // Calls failed since the last count() or arm().
    long long failed() const;

    struct State;

private:
    std::unique_ptr<State> state_;
};

}  // namespace failing_disk
