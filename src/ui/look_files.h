// The player's own card sets, decks and backgrounds: where they live, how they are named and listed.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace cw::storage {
class IniFile;
}

namespace cw::ui {

// Folders of the data folder, created with these spellings and found without regard to case.
inline constexpr const char* kCardSetsFolderName = "Custom Card Sets";
inline constexpr const char* kDecksFolderName = "Custom Decks";
inline constexpr const char* kPlayerBackgroundsSection = "Customized backgrounds";

// The folder of the player's card sets or decks in `dataFolder` (its existing spelling when there is
// one), ending with "/". `create` makes it when missing (a failure is left to the write that follows).
QString cardSetsFolder(const QString& dataFolder, bool create = false);
QString decksFolder(const QString& dataFolder, bool create = false);

// A card set file: "<folder>/<name>.crs" (a sheet picture) or "<name>.svg" (an imported SVG deck).
QString cardSetPath(const QString& dataFolder, const QString& name, bool svg = false);
QString deckPath(const QString& dataFolder, const QString& name);

// Why a name typed for a new deck or card set cannot be a file name in our folder ("" when it can):
// empty, too long, a folder separator, "..", a control character, or a character the random lists
// cannot hold.
QString nameProblem(const QString& name);
// nameProblem for a name typed in an editor, with `emptyText` for an empty field.
QString typedNameProblem(const QString& name, const QString& emptyText);
// Whether a card set (of either kind) or a deck of that name exists, without regard to case.
bool cardSetNameInUse(const QString& dataFolder, const QString& name);
bool deckNameInUse(const QString& dataFolder, const QString& name);
// The first "<stem> <n>" (n = 1, 2, ...) not in use: "My Deck 1", "My Card Set 1".
QString freeCardSetName(const QString& dataFolder, const QString& stem = QStringLiteral("My Card Set"));
QString freeDeckName(const QString& dataFolder, const QString& stem = QStringLiteral("My Deck"));

struct PlayerLookFile {
    QString name; // file name without the extension; also the preference value
    QString path;
    char sizeLetter = 0; // card sets: the sheet's size letter (0 for SVG sets, drawn at any size)
    bool svg = false;
};

struct PlayerFileScan {
    std::vector<PlayerLookFile> files; // sorted by name
    QStringList damaged;               // one line per file left out: its path and why
};

// The card sets and decks of the data folder. Only the headers are read: a sheet of another size or a
// file that is no picture (or an SVG without the cards) is left out and named in `damaged`.
PlayerFileScan scanPlayerCardSets(const QString& dataFolder);
PlayerFileScan scanPlayerDecks(const QString& dataFolder);

// A card set or deck by its preference value (a name, or a path as older settings may hold); null
// path when no such file exists.
PlayerLookFile findPlayerCardSet(const QString& dataFolder, const QString& nameOrPath);
QString findPlayerDeck(const QString& dataFolder, const QString& nameOrPath);

// The player's backgrounds: section "Customized backgrounds" of the settings file, one key per picture
// holding its path.
struct PlayerBackground {
    QString key;
    QString path;
};
std::vector<PlayerBackground> readPlayerBackgrounds(const storage::IniFile& settings);
// Adds a path (an existing entry of the same path is kept) and returns its key. Throws FileError.
QString addPlayerBackground(storage::IniFile& settings, const QString& path);
void removePlayerBackground(storage::IniFile& settings, const QString& key);
// The name shown for a background file: its file name, " (", its folder, ")".
QString backgroundDisplayName(const QString& path);

} // namespace cw::ui
