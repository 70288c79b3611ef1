// A file layer that fails on demand: a crash at the Nth file operation, or a full disk for one file.
#pragma once

#include <algorithm>
#include <string>

#include "storage/safe_file.h"

namespace cw::storage::test {

// Stops the program (throws SimulatedCrash) at the nth write, rename or delete; counts them all.
class CrashAt : public FileFaults {
public:
    explicit CrashAt(long n) : m_at(n) {}
    long operations = 0;

    std::size_t beforeWrite(const std::string&, std::size_t size) override
    {
        step();
        return size;
    }
    void beforeRename(const std::string&, const std::string&) override { step(); }
    void beforeRemove(const std::string&) override { step(); }

private:
    void step()
    {
        if (++operations == m_at)
            throw SimulatedCrash{};
    }
    long m_at;
};

// The disk is full for every file whose name ends with `name` after `room` more bytes of each write.
class FullDisk : public FileFaults {
public:
    FullDisk(std::string name, std::size_t room) : m_name(std::move(name)), m_room(room) {}
    std::size_t beforeWrite(const std::string& target, std::size_t size) override
    {
        bool match =
            target.size() >= m_name.size() && target.compare(target.size() - m_name.size(), m_name.size(), m_name) == 0;
        return match ? std::min(size, m_room) : size;
    }

private:
    std::string m_name;
    std::size_t m_room;
};

// Installs faults for the lifetime of the object.
class Faults {
public:
    explicit Faults(FileFaults& f) : m_previous(installFileFaults(&f)) {}
    ~Faults() { installFileFaults(m_previous); }
    Faults(const Faults&) = delete;
    Faults& operator=(const Faults&) = delete;

private:
    FileFaults* m_previous;
};

} // namespace cw::storage::test
