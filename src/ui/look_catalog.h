// Everything the look pages list: the built-in card sets, decks and backgrounds, the table colours and
// the player's own files, each with what its choice stores.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <vector>

#include "storage/random_look.h"

namespace cw::storage {
class IniFile;
}

namespace cw::ui {

enum class LookKind { CardSet, Deck, Background };

enum class LookSource {
    BuiltIn, // a numbered card set, deck or background picture of our own drawing
    Player,  // a file of the player's
    Default, // the default green table
    Colour,  // a solid table colour ("Background_Fixed_Col"; 0 with the table colour of "C&olors...")
};

struct LookItem {
    LookKind kind = LookKind::CardSet;
    LookSource source = LookSource::BuiltIn;
    int number = 0;      // built-in number; the colour value of a fixed colour
    QString name;        // shown in the tree and in the random lists
    QString path;        // player files
    QString value;       // what the preference key holds for a player item (name, or a background's path)
    QString key;         // player backgrounds: the key in "Customized backgrounds"
    char sizeLetter = 0; // player card set sheets: their size; 0: drawn at any size

    // The random list line's code: the built-in number, 1 for the table colour, the colour value, 0 for
    // the default, -102 for a player's item.
    int randomCode() const;
    bool sameChoice(const LookItem& other) const;
};

// Tree groups of the look pages.
inline constexpr const char* kBuiltInGroup = "Cardwise";
inline constexpr const char* kPlayerGroup = "Customized";
inline constexpr const char* kColourGroup = "Colors";

struct LookCatalog {
    std::vector<LookItem> cardSets;
    std::vector<LookItem> decks;
    std::vector<LookItem> backgrounds;
    QStringList damaged; // the player's files left out, one line each

    const std::vector<LookItem>& of(LookKind kind) const;
    std::vector<LookItem>& of(LookKind kind);
};

// The fixed table colours offered besides the pictures (settings colour values 0x00BBGGRR, all above
// 1000 so that the random lists can tell them from picture numbers).
struct FixedColour {
    qint64 value;
    const char* name;
};
const std::vector<FixedColour>& fixedColours();

// Lists everything; the player's files from `dataFolder` (headers only), the player's backgrounds from
// the settings file (null: none).
LookCatalog buildLookCatalog(const QString& dataFolder, const storage::IniFile* settings);

// The random list of a kind, with the marks of `previous` kept by name.
std::vector<storage::RandomItem> randomListOf(const std::vector<LookItem>& items,
                                              const std::vector<storage::RandomItem>& previous);

} // namespace cw::ui
