// Where things live: executable, installation folder, data folder (and its pointer file), documents.
#pragma once

#include <string>
#include <string_view>

namespace cw::storage {

// The process environment that decides the per-user folders; tests fill it with temporary folders.
struct Environment {
    std::string home;             // $HOME
    std::string xdgDataHome;      // $XDG_DATA_HOME (empty when unset)
    std::string xdgConfigHome;    // $XDG_CONFIG_HOME (empty when unset)
    std::string xdgDocumentsDir;  // $XDG_DOCUMENTS_DIR (empty when unset)

    // Reads the variables of the running process (HOME falls back to the password database).
    static Environment fromProcess();
};

inline constexpr const char* kDataFolderPointerName = "cwd_fold.dat";
inline constexpr const char* kDefaultDataFolderMarker = "[Default Data Folder]";

// Folder of the running executable, from /proc/self/exe, ending with "/".
std::string executableFolder();
// The executable's folder when it holds GAMES.DAT, else <exe>/../share/cardwise/ (normalised, ending "/").
std::string installationFolderFor(const std::string& exeFolder);
// installationFolderFor(executableFolder()), resolved once per run.
const std::string& installationFolder();

// DefaultDataFolder: $XDG_DATA_HOME/Cardwise/, else ~/.local/share/Cardwise/, else installation + "Data/".
std::string defaultDataFolder(const Environment& env, const std::string& installFolder);
// Per-user configuration folder: $XDG_CONFIG_HOME/Cardwise/, else ~/.config/Cardwise/ ("" without a home).
std::string configFolder(const Environment& env);
// Where cwd_fold.dat is written: in the installation folder when it is writable, else in configFolder().
std::string dataFolderPointerPath(const std::string& installFolder, const Environment& env);

// Result of LocateDataFolder: the data folder (ending "/") and a message for the player ("" when none).
struct DataFolderLocation {
    std::string folder;
    std::string message;
};

// The data folder (ending "/") that the bytes of cwd_fold.dat name: its first line with trailing blanks
// removed, relative to the installation folder unless absolute; the default data folder for an empty
// line or one starting with "[Default Data Folder]".
std::string dataFolderFromPointer(std::string_view pointerFile, const std::string& installFolder,
                                  const Environment& env);

// LocateDataFolder: reads (or first creates) cwd_fold.dat and returns the data folder, creating it when
// missing (a failure to create it is ignored). Call once at start-up and keep the result for the run.
DataFolderLocation locateDataFolder(const std::string& installFolder, const Environment& env);

// The folder locateDataFolder gives, found without writing or creating anything (for tools that only
// read the player's files).
std::string findDataFolder(const std::string& installFolder, const Environment& env);

// Writes cwd_fold.dat with the chosen folder ("" selects the default data folder); returns the message
// to show when it cannot be saved, "" on success. The change takes effect at the next start.
std::string saveDataFolderChoice(const std::string& installFolder, const Environment& env,
                                 const std::string& folder);

// PersonalDocumentsFolder: $XDG_DOCUMENTS_DIR or the user-dirs.dirs entry when it exists, else the home
// folder; ends with "/"; "" when there is no home.
std::string personalDocumentsFolder(const Environment& env);

}  // namespace cw::storage
