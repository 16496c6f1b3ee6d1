#pragma once
// Injected I/O errors for the fault sweep (faultinjection.cpp): the file
// calls of the arming thread are counted by kind, and the n-th call of one
// kind fails with EIO.
#include <array>
#include <cstddef>

namespace faults {

enum class Kind { Open, Read, Write, Seek, Truncate, Sync, Close, Stat, Rename, Link, Unlink, Mkdir, Lock, Readdir, Count };
constexpr size_t kKinds = size_t(Kind::Count);

const char *name(Kind kind);

struct Result
{
    std::array<int, kKinds> counts{}; // the calls of each kind made while armed
    bool failed = false;              // whether the chosen call came
};

// From now on the n-th call (from 1) of `kind` on this thread fails.
void arm(Kind kind, int n);
// Syncs to the disk do nothing, armed or not: a sweep makes thousands.
void skipSyncs(bool skip);
// Counts the calls only.
void count();
Result disarm();

} // namespace faults
