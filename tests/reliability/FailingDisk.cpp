#include "reliability/FailingDisk.h"

#include <sqlite3.h>

#include <stdexcept>

namespace failing_disk {

const char* name(Fault fault)
{
    switch (fault) {
    case Fault::Read:
        return "read";
    case Fault::Write:
        return "write";
    case Fault::Sync:
        return "sync";
    case Fault::Full:
        return "full disk";
    case Fault::Delete:
        return "delete";
    }
    return "?";
}

struct FailingDisk::State {
    sqlite3_vfs vfs{};
    sqlite3_vfs* real = nullptr;  // the file system it stands in front of

    long long reads = 0, writes = 0, syncs = 0, deletes = 0;
    long long failed = 0;
    bool armed = false;
    Fault fault = Fault::Read;
    long long nth = 0;
    bool persistent = false;

    // Counts one call of this kind and tells whether it is to fail.
    bool fails(long long& counter, bool ofThisKind)
    {
        const long long n = ++counter;
        if (!armed || !ofThisKind)
            return false;
        if (n == nth || (persistent && n > nth)) {
            ++failed;
            return true;
        }
        return false;
    }
};

namespace {

using State = FailingDisk::State;

// One open file: our header, then the real file's own structure.
struct ShimFile {
    sqlite3_file base;
    State* state;
    sqlite3_file* real;
};

sqlite3_file* realOf(sqlite3_file* f) { return reinterpret_cast<ShimFile*>(f)->real; }
State& stateOf(sqlite3_file* f) { return *reinterpret_cast<ShimFile*>(f)->state; }

int shimClose(sqlite3_file* f)
{
    sqlite3_file* r = realOf(f);
    return r->pMethods ? r->pMethods->xClose(r) : SQLITE_OK;
}

int shimRead(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset)
{
    if (stateOf(f).fails(stateOf(f).reads, stateOf(f).fault == Fault::Read))
        return SQLITE_IOERR_READ;
    sqlite3_file* r = realOf(f);
    return r->pMethods->xRead(r, buffer, amount, offset);
}

int shimWrite(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset)
{
    State& s = stateOf(f);
    if (s.fails(s.writes, s.fault == Fault::Write || s.fault == Fault::Full))
        return s.fault == Fault::Full ? SQLITE_FULL : SQLITE_IOERR_WRITE;
    sqlite3_file* r = realOf(f);
    return r->pMethods->xWrite(r, buffer, amount, offset);
}

int shimTruncate(sqlite3_file* f, sqlite3_int64 size)
{
    sqlite3_file* r = realOf(f);
    return r->pMethods->xTruncate(r, size);
}

int shimSync(sqlite3_file* f, int flags)
{
    State& s = stateOf(f);
    if (s.fails(s.syncs, s.fault == Fault::Sync))
        return SQLITE_IOERR_FSYNC;
    // No power is lost in the tests: the sync need not wait for the disk.
    (void)flags;
    return SQLITE_OK;
}

int shimFileSize(sqlite3_file* f, sqlite3_int64* size)
{
    sqlite3_file* r = realOf(f);
    return r->pMethods->xFileSize(r, size);
}

int shimLock(sqlite3_file* f, int level)
{
    sqlite3_file* r = realOf(f);
    return r->pMethods->xLock(r, level);
}

int shimUnlock(sqlite3_file* f, int level)
{
    sqlite3_file* r = realOf(f);
    return r->pMethods->xUnlock(r, level);
}

int shimCheckReservedLock(sqlite3_file* f, int* out)
{
    sqlite3_file* r = realOf(f);
    return r->pMethods->xCheckReservedLock(r, out);
}

int shimFileControl(sqlite3_file* f, int op, void* arg)
{
    sqlite3_file* r = realOf(f);
    return r->pMethods->xFileControl(r, op, arg);
}

int shimSectorSize(sqlite3_file* f)
{
    sqlite3_file* r = realOf(f);
    return r->pMethods->xSectorSize(r);
}

int shimDeviceCharacteristics(sqlite3_file* f)
{
    sqlite3_file* r = realOf(f);
    return r->pMethods->xDeviceCharacteristics(r);
}

int shimShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** out)
{
    sqlite3_file* r = realOf(f);
    return r->pMethods->xShmMap(r, region, size, extend, out);
}

int shimShmLock(sqlite3_file* f, int offset, int n, int flags)
{
    sqlite3_file* r = realOf(f);
    return r->pMethods->xShmLock(r, offset, n, flags);
}

void shimShmBarrier(sqlite3_file* f)
{
    sqlite3_file* r = realOf(f);
    r->pMethods->xShmBarrier(r);
}

int shimShmUnmap(sqlite3_file* f, int deleteFlag)
{
    sqlite3_file* r = realOf(f);
    return r->pMethods->xShmUnmap(r, deleteFlag);
}

// Pages are never handed out as mapped memory: every read goes through
// xRead, where it is counted.
int shimFetch(sqlite3_file*, sqlite3_int64, int, void** out)
{
    *out = nullptr;
    return SQLITE_OK;
}

int shimUnfetch(sqlite3_file*, sqlite3_int64, void*) { return SQLITE_OK; }

// The methods of a file of this version (1 to 3).
constexpr sqlite3_io_methods methodsOfVersion(int version)
{
    sqlite3_io_methods m{};
    m.iVersion = version;
    m.xClose = shimClose;
    m.xRead = shimRead;
    m.xWrite = shimWrite;
    m.xTruncate = shimTruncate;
    m.xSync = shimSync;
    m.xFileSize = shimFileSize;
    m.xLock = shimLock;
    m.xUnlock = shimUnlock;
    m.xCheckReservedLock = shimCheckReservedLock;
    m.xFileControl = shimFileControl;
    m.xSectorSize = shimSectorSize;
    m.xDeviceCharacteristics = shimDeviceCharacteristics;
    if (version >= 2) {
        m.xShmMap = shimShmMap;
        m.xShmLock = shimShmLock;
        m.xShmBarrier = shimShmBarrier;
        m.xShmUnmap = shimShmUnmap;
    }
    if (version >= 3) {
        m.xFetch = shimFetch;
        m.xUnfetch = shimUnfetch;
    }
    return m;
}

// A file gets the version of the real file it wraps.
const sqlite3_io_methods* methodsFor(int version)
{
    static const sqlite3_io_methods tables[3] = {methodsOfVersion(1), methodsOfVersion(2), methodsOfVersion(3)};
    if (version < 1)
        version = 1;
    if (version > 3)
        version = 3;
    return &tables[version - 1];
}

State& stateOf(sqlite3_vfs* vfs) { return *static_cast<State*>(vfs->pAppData); }
sqlite3_vfs* realOf(sqlite3_vfs* vfs) { return stateOf(vfs).real; }

int vfsOpen(sqlite3_vfs* vfs, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    auto* shim = reinterpret_cast<ShimFile*>(file);
    shim->base.pMethods = nullptr;
    shim->state = &stateOf(vfs);
    shim->real = reinterpret_cast<sqlite3_file*>(shim + 1);
    shim->real->pMethods = nullptr;
    const int rc = realOf(vfs)->xOpen(realOf(vfs), name, shim->real, flags, outFlags);
    // A real file with methods is closed through ours, even when its open failed.
    if (shim->real->pMethods)
        shim->base.pMethods = methodsFor(shim->real->pMethods->iVersion);
    return rc;
}

int vfsDelete(sqlite3_vfs* vfs, const char* name, int syncDir)
{
    State& s = stateOf(vfs);
    if (s.fails(s.deletes, s.fault == Fault::Delete))
        return SQLITE_IOERR_DELETE;
    return realOf(vfs)->xDelete(realOf(vfs), name, syncDir);
}

int vfsAccess(sqlite3_vfs* vfs, const char* name, int flags, int* out)
{
    return realOf(vfs)->xAccess(realOf(vfs), name, flags, out);
}

int vfsFullPathname(sqlite3_vfs* vfs, const char* name, int size, char* out)
{
    return realOf(vfs)->xFullPathname(realOf(vfs), name, size, out);
}

void* vfsDlOpen(sqlite3_vfs* vfs, const char* name) { return realOf(vfs)->xDlOpen(realOf(vfs), name); }
void vfsDlError(sqlite3_vfs* vfs, int size, char* out) { realOf(vfs)->xDlError(realOf(vfs), size, out); }
void (*vfsDlSym(sqlite3_vfs* vfs, void* handle, const char* symbol))(void)
{
    return realOf(vfs)->xDlSym(realOf(vfs), handle, symbol);
}
void vfsDlClose(sqlite3_vfs* vfs, void* handle) { realOf(vfs)->xDlClose(realOf(vfs), handle); }
int vfsRandomness(sqlite3_vfs* vfs, int size, char* out) { return realOf(vfs)->xRandomness(realOf(vfs), size, out); }
int vfsSleep(sqlite3_vfs* vfs, int microseconds) { return realOf(vfs)->xSleep(realOf(vfs), microseconds); }
int vfsCurrentTime(sqlite3_vfs* vfs, double* out) { return realOf(vfs)->xCurrentTime(realOf(vfs), out); }
int vfsGetLastError(sqlite3_vfs* vfs, int size, char* out)
{
    return realOf(vfs)->xGetLastError ? realOf(vfs)->xGetLastError(realOf(vfs), size, out) : 0;
}
int vfsCurrentTimeInt64(sqlite3_vfs* vfs, sqlite3_int64* out)
{
    return realOf(vfs)->xCurrentTimeInt64(realOf(vfs), out);
}
int vfsSetSystemCall(sqlite3_vfs* vfs, const char* name, sqlite3_syscall_ptr call)
{
    return realOf(vfs)->xSetSystemCall(realOf(vfs), name, call);
}
sqlite3_syscall_ptr vfsGetSystemCall(sqlite3_vfs* vfs, const char* name)
{
    return realOf(vfs)->xGetSystemCall(realOf(vfs), name);
}
const char* vfsNextSystemCall(sqlite3_vfs* vfs, const char* name)
{
    return realOf(vfs)->xNextSystemCall(realOf(vfs), name);
}

}  // namespace

FailingDisk::FailingDisk() : state_(std::make_unique<State>())
{
    sqlite3_initialize();
    sqlite3_vfs* real = sqlite3_vfs_find(nullptr);
    if (!real)
        throw std::runtime_error("SQLite has no default file system");
    State& s = *state_;
    s.real = real;
    sqlite3_vfs& v = s.vfs;
    v.iVersion = real->iVersion < 3 ? real->iVersion : 3;
    v.szOsFile = static_cast<int>(sizeof(ShimFile)) + real->szOsFile;
    v.mxPathname = real->mxPathname;
    v.zName = "quorvane-failing-disk";
    v.pAppData = &s;
    v.xOpen = vfsOpen;
    v.xDelete = vfsDelete;
    v.xAccess = vfsAccess;
    v.xFullPathname = vfsFullPathname;
    v.xDlOpen = vfsDlOpen;
    v.xDlError = vfsDlError;
    v.xDlSym = vfsDlSym;
    v.xDlClose = vfsDlClose;
    v.xRandomness = vfsRandomness;
    v.xSleep = vfsSleep;
    v.xCurrentTime = vfsCurrentTime;
    v.xGetLastError = vfsGetLastError;
    if (v.iVersion >= 2)
        v.xCurrentTimeInt64 = vfsCurrentTimeInt64;
    if (v.iVersion >= 3) {
        v.xSetSystemCall = vfsSetSystemCall;
        v.xGetSystemCall = vfsGetSystemCall;
        v.xNextSystemCall = vfsNextSystemCall;
    }
    if (sqlite3_vfs_register(&v, 1) != SQLITE_OK)
        throw std::runtime_error("the failing disk could not be registered");
}

FailingDisk::~FailingDisk()
{
    sqlite3_vfs_unregister(&state_->vfs);
    // Unregistering the default makes another the default; make it the one
    // that was the default before.
    sqlite3_vfs_register(state_->real, 1);
}

void FailingDisk::count()
{
    State& s = *state_;
    s.reads = s.writes = s.syncs = s.deletes = s.failed = 0;
    s.armed = false;
}

void FailingDisk::arm(Fault fault, long long nth, bool persistent)
{
    count();
    State& s = *state_;
    s.fault = fault;
    s.nth = nth;
    s.persistent = persistent;
    s.armed = true;
}

void FailingDisk::clear() { state_->armed = false; }

long long FailingDisk::calls(Fault fault) const
{
    const State& s = *state_;
    switch (fault) {
    case Fault::Read:
        return s.reads;
    case Fault::Write:
    case Fault::Full:
        return s.writes;
    case Fault::Sync:
        return s.syncs;
    case Fault::Delete:
        return s.deletes;
    }
    return 0;
}

long long FailingDisk::failed() const { return state_->failed; }

}  // namespace failing_disk
