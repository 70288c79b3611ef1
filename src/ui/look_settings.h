// The look in force: the player's card set, deck and background files checked and put on the table, the
// random look of a new game, and the recoveries when a chosen file is gone or damaged.
#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ui/backgrounds.h"
#include "ui/card_art.h"
#include "ui/deck_art.h"

class QWidget;

namespace cw::engine {
class TMainGame;
}
namespace cw::storage {
class Options;
}

namespace cw::ui {

class PictureLibrary;
struct TableSettings;

// Writes one preference: its key of section "Preference" and its settings store column (when it has one).
// A settings file that cannot be written is reported by the next dialog that writes; the store keeps the
// value for this run.
void storePreference(engine::TMainGame& game, const char* key, const std::string& value);
void storePreferences(engine::TMainGame& game, const std::vector<std::pair<std::string, std::string>>& values);

// A look as the table draws it: what the look pages of "Customize" choose.
struct LookChoice {
    char sizeLetter = 'B';
    int cardSet = kDefaultCardSet;
    QString cardSetFile; // a player's card set; empty: the built-in `cardSet`
    int deck = kDefaultDeck;
    QString deckFile; // a player's deck; empty: the built-in `deck`
    BackgroundChoice background;

    friend bool operator==(const LookChoice&, const LookChoice&) = default;
};

// The look the option values describe. The player's files are looked up in the data folder; one that
// cannot be found or read shows the default in its place (the table reports it when it is stored).
LookChoice lookChoiceOf(const storage::Options& values, const QString& dataFolder);
// The look into the table's settings (the card size from the letter as it stands).
void putLook(TableSettings& t, const LookChoice& look);

// The table's preferences besides the look: card speed, winning animation and its time, the
// foundation mark and its colour, shadows, irregular piles, animation, the scroll bar.
void applyTablePreferences(TableSettings& t, const engine::TMainGame& game);

// Puts the player's card set, deck and background (when their flags are on) into `t`. A file that is
// missing or cannot be read is reported once, in a box over `parent`, and its choice falls back as the
// settings say: the card set to the default set (ResetCardsToDefault), the deck to deck 011, the
// background to the default green.
void applyPlayerLook(TableSettings& t, engine::TMainGame& game, QWidget* parent);

// ResetCardsToDefault: size "B", the player and add-on card set flags off and their names emptied, card
// set 001.
void resetCardsToDefault(engine::TMainGame& game);

// ChooseRandomLook: at the start of a new game, a card set, deck and background drawn from the random
// lists for the settings that ask for it ("Random_Card", "Random_Deck", "Random_Background"). The lists
// are rebuilt from what exists when Rnd_read.dat is missing. `randomValue` draws the choice.
void chooseRandomLook(engine::TMainGame& game, const PictureLibrary& library, std::uint32_t randomValue);

} // namespace cw::ui
