// libFuzzer target: arbitrary bytes as cwd_fold.dat, the file that says where the data folder is.
#include <cstddef>
#include <cstdint>
#include <string>

#include "storage/folders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace cw::storage;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Environment env;
    env.home = "/home/player";
    const std::string folder = dataFolderFromPointer(bytes, "/opt/cardwise/", env);
    // Always a folder: never empty, always ending with "/".
    if (folder.empty() || folder.back() != '/')
        __builtin_trap();
    env.home.clear();
    (void)dataFolderFromPointer(bytes, "", env);
    return 0;
}
