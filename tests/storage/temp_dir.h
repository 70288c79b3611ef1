// A unique temporary folder for one test, removed with everything in it when the test ends.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <unistd.h>

namespace cw::storage::test {

class TempDir {
public:
    TempDir() {
        static std::atomic<int> counter{0};
        std::random_device rd;
        m_path = std::filesystem::temp_directory_path() /
                 ("cw_storage_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + "_" +
                  std::to_string(rd()));
        std::filesystem::create_directories(m_path);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Folder text ending with "/".
    std::string folder() const { return m_path.string() + "/"; }
    std::string file(const std::string& name) const { return folder() + name; }

    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
        return file(name);
    }
    std::string read(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Names of the entries of the folder (to check that no temporary file was left behind); the data
    // folder's lock file is no leftover and does not count.
    std::size_t entryCount() const {
        std::size_t n = 0;
        for (auto& e : std::filesystem::directory_iterator(m_path))
            if (e.path().filename() != "Cardwise.lock")
                ++n;
        return n;
    }

private:
    std::filesystem::path m_path;
};

}  // namespace cw::storage::test
