// Where things live: executable, installation folder, data folder (and its pointer file), documents.
#include "storage/folders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <pwd.h>
#include <unistd.h>

#include "storage/safe_file.h"

namespace cw::storage {

namespace fs = std::filesystem;

namespace {

std::string withSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::string envVar(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

// XDG base folders must be absolute; anything else is ignored as the standard requires.
bool usableBase(const std::string& path) { return !rtrim(path).empty() && path[0] == '/'; }

bool folderWritable(const std::string& folder) {
    return !folder.empty() && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

// The first line of a text, cut at a NUL, with trailing blanks removed.
std::string firstLineOf(std::string_view data) {
    std::string line(data.substr(0, data.find('\n')));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line = line.substr(0, line.find('\0'));
    return rtrim(line);
}

// The first line of a file, as firstLineOf.
std::string firstLine(const std::string& path) {
    auto data = readWholeFile(path);
    return data ? firstLineOf(*data) : std::string();
}

std::string notWritableMessage(const std::string& path) {
    return savingErrorMessage(path) + "\n" + "Note: the folder is not writable, so the file cannot be saved there.";
}

// Writes the one-line pointer file; returns the message to show on failure, "" on success.
std::string writePointer(const std::string& path, const std::string& line) {
    std::error_code ec;
    fs::create_directories(folderOf(path), ec);
    try {
        writeFileAtomic(path, line + "\r\n");
    } catch (const FileError&) {
        return notWritableMessage(path);
    }
    return {};
}

}  // namespace

Environment Environment::fromProcess() {
    Environment env;
    env.home = envVar("HOME");
    if (env.home.empty()) {
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) env.home = pw->pw_dir;
    }
    env.xdgDataHome = envVar("XDG_DATA_HOME");
    env.xdgConfigHome = envVar("XDG_CONFIG_HOME");
    env.xdgDocumentsDir = envVar("XDG_DOCUMENTS_DIR");
    return env;
}

std::string executableFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    return withSlash(exe.parent_path().string());
}

std::string installationFolderFor(const std::string& exeFolder) {
    std::string folder = withSlash(exeFolder);
    if (fileExists(resolveNoCase(folder + "GAMES.DAT"))) return folder;
    std::string shared = withSlash((fs::path(folder) / ".." / "share" / "cardwise").lexically_normal().string());
    // With the data in neither place, the executable's folder is the one the player is told about.
    return fileExists(resolveNoCase(shared + "GAMES.DAT")) ? shared : folder;
}

const std::string& installationFolder() {
    static const std::string folder = installationFolderFor(executableFolder());
    return folder;
}

std::string defaultDataFolder(const Environment& env, const std::string& installFolder) {
    if (usableBase(env.xdgDataHome)) return withSlash(rtrim(env.xdgDataHome)) + "Cardwise/";
    if (usableBase(env.home)) return withSlash(rtrim(env.home)) + ".local/share/Cardwise/";
    return withSlash(installFolder) + "Data/";
}

std::string configFolder(const Environment& env) {
    if (usableBase(env.xdgConfigHome)) return withSlash(rtrim(env.xdgConfigHome)) + "Cardwise/";
    if (usableBase(env.home)) return withSlash(rtrim(env.home)) + ".config/Cardwise/";
    return {};
}

std::string dataFolderPointerPath(const std::string& installFolder, const Environment& env) {
    std::string install = withSlash(installFolder);
    if (folderWritable(install) || configFolder(env).empty()) return install + kDataFolderPointerName;
    return configFolder(env) + kDataFolderPointerName;
}

namespace {

// The pointer file's path and its line (or the line a first run writes into it).
struct PointerLine {
    std::string pointer;
    std::string line;
    bool exists = false;
};

PointerLine readPointer(const std::string& install, const Environment& env) {
    PointerLine p;
    p.pointer = resolveNoCase(dataFolderPointerPath(install, env));
    // A pointer file placed in a read-only installation folder (by a packager) is still honoured.
    if (!fileExists(p.pointer)) {
        std::string inInstall = resolveNoCase(install + kDataFolderPointerName);
        if (fileExists(inInstall)) p.pointer = inInstall;
    }
    p.exists = fileExists(p.pointer);
    if (p.exists) {
        p.line = firstLine(p.pointer);
    } else {
        // First run: data kept next to the program by an older installation stays in use.
        std::string oldSettings = resolveNoCase(install + "data/cfg.dat");
        p.line = fileExists(oldSettings) ? folderOf(oldSettings) : std::string(kDefaultDataFolderMarker);
    }
    return p;
}

std::string folderOfLine(std::string line, const std::string& install, const Environment& env) {
    if (line.empty() || line.compare(0, 21, kDefaultDataFolderMarker) == 0) return defaultDataFolder(env, install);
    if (line[0] != '/') line = install + line;  // relative to the installation folder
    return withSlash(line);
}

}  // namespace

std::string dataFolderFromPointer(std::string_view pointerFile, const std::string& installFolder,
                                  const Environment& env) {
    return folderOfLine(firstLineOf(pointerFile), withSlash(installFolder), env);
}

std::string findDataFolder(const std::string& installFolder, const Environment& env) {
    const std::string install = withSlash(installFolder);
    return folderOfLine(readPointer(install, env).line, install, env);
}

DataFolderLocation locateDataFolder(const std::string& installFolder, const Environment& env) {
    DataFolderLocation result;
    std::string install = withSlash(installFolder);
    const PointerLine p = readPointer(install, env);
    if (!p.exists) result.message = writePointer(p.pointer, p.line);
    result.folder = folderOfLine(p.line, install, env);
    std::error_code ec;
    fs::create_directories(result.folder, ec);  // failure ignored: later file operations report it
    return result;
}

std::string saveDataFolderChoice(const std::string& installFolder, const Environment& env,
                                 const std::string& folder) {
    std::string line = folder.empty() ? std::string(kDefaultDataFolderMarker) : rtrim(folder);
    return writePointer(resolveNoCase(dataFolderPointerPath(installFolder, env)), line);
}

std::string personalDocumentsFolder(const Environment& env) {
    std::string home = usableBase(env.home) ? withSlash(rtrim(env.home)) : std::string();
    std::error_code ec;
    if (usableBase(env.xdgDocumentsDir) && fs::is_directory(env.xdgDocumentsDir, ec))
        return withSlash(env.xdgDocumentsDir);
    // The xdg-user-dirs file: XDG_DOCUMENTS_DIR="$HOME/Documents"
    std::string config = usableBase(env.xdgConfigHome) ? withSlash(env.xdgConfigHome) : home + ".config/";
    if (auto data = readWholeFile(config + "user-dirs.dirs")) {
        for (const std::string& raw : splitLines(*data)) {
            std::string line = trim(raw);
            const std::string prefix = "XDG_DOCUMENTS_DIR=";
            if (line.compare(0, prefix.size(), prefix) != 0) continue;
            std::string value = line.substr(prefix.size());
            if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
            if (value.compare(0, 5, "$HOME") == 0) {
                if (home.empty()) continue;
                value = home + (value.size() > 6 ? value.substr(6) : std::string());
            }
            if (usableBase(value) && fs::is_directory(value, ec)) return withSlash(value);
        }
    }
    return home;
}

}  // namespace cw::storage
