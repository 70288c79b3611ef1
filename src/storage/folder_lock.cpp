// The data folder's lock: two copies of the program never interleave their updates of one file.
#include "storage/folder_lock.h"

#include <cerrno>
#include <map>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "storage/safe_file.h"

namespace cw::storage {

namespace {

struct Held {
    int fd = -1; // -1: held without a lock file (the folder allows none)
    int depth = 0;
};

std::mutex& registryMutex()
{
    static std::mutex m;
    return m;
}

// The locks this process holds, by folder.
std::map<std::string, Held>& registry()
{
    static std::map<std::string, Held> held;
    return held;
}

std::string withSlash(std::string folder)
{
    if (folder.empty())
        folder = "./";
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

} // namespace

std::string folderBusyMessage(const std::string& lockPath)
{
    return lockPath + " is in use by another copy of Cardwise.";
}

FolderLock::FolderLock(const std::string& folder, std::chrono::milliseconds wait) : m_key(withSlash(folder))
{
    {
        std::lock_guard<std::mutex> guard(registryMutex());
        auto it = registry().find(m_key);
        if (it != registry().end()) {
            ++it->second.depth;
            return;
        }
    }
    const std::string path = m_key + kLockFileName;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd >= 0) {
        // Polled rather than blocking, so that a copy that hangs while holding it cannot hang this one.
        const auto until = std::chrono::steady_clock::now() + wait;
        for (;;) {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
                break;
            if (errno != EWOULDBLOCK && errno != EINTR) {
                ::close(fd); // a file system without locks: nothing to share it with
                fd = -1;
                break;
            }
            if (std::chrono::steady_clock::now() >= until) {
                ::close(fd);
                throw FileError(folderBusyMessage(path));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    std::lock_guard<std::mutex> guard(registryMutex());
    registry()[m_key] = Held{fd, 1};
    m_outermost = true;
}

FolderLock::~FolderLock()
{
    std::lock_guard<std::mutex> guard(registryMutex());
    auto it = registry().find(m_key);
    if (it == registry().end() || --it->second.depth > 0)
        return;
    // Closing the file releases the lock; the file itself stays for the next holder.
    if (it->second.fd >= 0)
        ::close(it->second.fd);
    registry().erase(it);
}

} // namespace cw::storage
