// The data folder's lock: two copies of the program never interleave their updates of one file.
#pragma once

#include <chrono>
#include <string>

namespace cw::storage {

// The lock file in the data folder (its content is never read; only the advisory lock on it counts).
inline constexpr const char* kLockFileName = "Cardwise.lock";
// How long a copy waits for another one to finish its update before it gives up with a message.
inline constexpr std::chrono::milliseconds kFolderLockWait{15000};

// "<path> is in use by another copy of Cardwise." (the lock could not be had in time).
std::string folderBusyMessage(const std::string& lockPath);

// Holds an exclusive flock(2) on folder + kLockFileName for its lifetime. Every copy of the program
// takes it around each read-modify-write of a shared file (a game end's records, a settings write,
// a rename of a player), so what one copy writes is read by the other before it writes its own.
// Re-entrant within the process (flock would otherwise refuse a second lock of the same process); the
// program updates its files from one thread. A folder where the lock file cannot be made (read-only,
// missing) is not locked: its files cannot be written either, and reading them needs no lock.
class FolderLock {
public:
    // Waits up to `wait`; throws FileError(folderBusyMessage) when another copy holds the lock longer.
    explicit FolderLock(const std::string& folder, std::chrono::milliseconds wait = kFolderLockWait);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // True for the first holder in the process (the lock was not held before it).
    bool outermost() const { return m_outermost; }

private:
    std::string m_key;
    bool m_outermost = false;
};

} // namespace cw::storage
