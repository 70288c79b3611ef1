// Start-up loading of the preferences from the settings file into the settings store.
#include "storage/preferences.h"

#include "storage/fixed_width.h"
#include "storage/safe_file.h"

namespace cw::storage {

namespace {
constexpr const char* kSystemFaceColour = "-2147483633";
}

const std::vector<PreferenceRow>& preferenceRows() {
    using K = PrefKind;
    // "Cards_Shadowed" must stay after "Cards_Animate": its default is the value just read.
    static const std::vector<PreferenceRow> rows = {
        {col::BackCard, "Back_Card", K::ZeroPadded, "11"},
        {col::Card, "Card", K::ZeroPadded, "1"},
        {col::BackgroundDef, "Background_def", K::Text, "N"},
        {col::BackgroundCol, "Background_Col", K::Integer, kSystemFaceColour},
        {col::BackgroundBmp, "Background_bmp", K::Text, ""},
        {col::BackgroundFixedCol, "Background_Fixed_Col", K::Integer, "32768"},
        {col::GameId, "Game", K::ZeroPadded, "18"},
        {col::ShowTime, "Show_Time", K::Text, "Y"},
        {col::CardsAnimate, "Cards_Animate", K::Text, "Y"},
        {col::Language, "Language", K::Integer, "20000"},
        {col::SpeedMoveCard, "Speed_Move_Card", K::Integer, "10"},
        {col::Player, "UserDefault", K::Text, ""},
        {col::CardSize, "Card_Size", K::Text, "B"},
        {col::FadeBackground, "Fade_Background", K::Text, "Y"},
        {col::ShowScore, "Show_Score", K::Text, "Y"},
        {col::UndoEnabled, "Undo_Enabled", K::Text, "0"},
        {col::SoundsEnabled, "Sounds_Enabled", K::Text, "Y"},
        {col::SoundsAbout, "Sounds_About", K::Text, "Y"},
        {col::SoundsAutoplay, "Sounds_Autoplay", K::Text, "Y"},
        {col::SoundsGameWon, "Sounds_GameWon", K::Text, "Y"},
        {col::SoundsNewGame, "Sounds_NewGame", K::Text, "N"},
        {col::SoundsRedo, "Sounds_Redo", K::Text, "Y"},
        {col::SoundsRestart, "Sounds_Restart", K::Text, "Y"},
        {col::SoundsSplash, "Sounds_Splash", K::Text, "Y"},
        {col::SoundsShuffle, "Sounds_Shuffle", K::Text, "Y"},
        {col::SoundsUndo, "Sounds_Undo", K::Text, "Y"},
        {col::RandomBackground, "Random_Background", K::Text, "N"},
        {col::SoundsHiScores, "Sounds_HiScores", K::Text, "Y"},
        {col::Cursor, "Cursor", K::Integer, "10"},
        {col::SoundsNewHiScores, "Sounds_NewHiScores", K::Text, "Y"},
        {col::SoundsPairing, "Sounds_Pairing", K::Text, "Y"},
        {col::SoundsStock, "Sounds_Stock", K::Text, "Y"},
        {col::SoundsTableau, "Sounds_Tableau", K::Text, "Y"},
        {col::CardsShadowed, "Cards_Shadowed", K::Text, nullptr},  // default: Cards_Animate
        {col::PilesTT, "Piles_TT", K::Text, "N"},
        {col::SoundsFaceUp, "Sounds_FaceUp", K::Text, "Y"},
        {col::SoundsCardDown, "Sounds_CardDown", K::Text, "Y"},
        {col::SoundsCardUp, "Sounds_CardUp", K::Text, "Y"},
        {col::SoundsRedeal, "Sounds_Redeal", K::Text, "Y"},
        {col::SoundsFoundation, "Sounds_Foundation", K::Text, "Y"},
        {col::ConfirmQuitGame, "ConfirmQuitGame", K::Text, "N"},
        {col::ConfirmEnterHiScores, "ConfirmEnterHiScores", K::Text, "Y"},
        {col::RandomCard, "Random_Card", K::Text, "N"},
        {col::RandomDeck, "Random_Deck", K::Text, "N"},
        {col::GameName, "Game_name", K::Text, "Spider"},
        {col::AutomaticFaceUp, "Automatic_FaceUp", K::Text, "Y"},
        {col::DealAnimation, "Deal_Animation", K::Text, "Y"},
        {col::RedealAnimation, "Redeal_Animation", K::Text, "Y"},
        {col::VertScrollBar, "VertScrollBar", K::Text, "Y"},
        {col::ShowToolTips, "Show_ToolTips", K::Text, "Y"},
        {col::ShowPilesSize, "ShowPilesSize", K::Text, "N"},
        {col::CustomizedBackground, "Customized_Background", K::Customized, nullptr},
        {col::RightClickToFoundations, "RightClick_To_Foundations", K::Text, "Y"},
        {col::RightClickToTableaus, "RightClick_To_Tableaus", K::Text, "Y"},
        {col::DoubleClickToFoundations, "DoubleClick_To_Foundations", K::Text, "Y"},
        {col::DoubleClickToTableaus, "DoubleClick_To_Tableaus", K::Text, "N"},
        {col::SoundsRedealWithoutAnimation, "Sounds_Redeal_Without_Animation", K::Text, "Y"},
        {col::ShowMainPopupMenu, "Show_Main_Popup_Menu", K::Text, "Y"},
        {col::ShowPartialHiddenCard, "Show_Partial_Hidden_Card", K::Text, "Y"},
        {col::CustomizedDeck, "Customized_Deck", K::Customized, nullptr},
        {col::CustomizedCardsSet, "Customized_Cards_Set", K::Customized, nullptr},
        {col::AdditionalCardsSet, "Additional_Cards_Set", K::Customized, nullptr},
        {col::AdditionalDeck, "Additional_Deck", K::Customized, nullptr},
        {col::AdditionalBackground, "Additional_Background", K::Customized, nullptr},
    };
    return rows;
}

IniFile openSettingsFile(const SettingsStore& store, const std::string& dataFolder) {
    return IniFile(dataFolder + store.get(col::SettingsFileName));
}

GamePreferences loadPreferences(SettingsStore& store, IniFile& settings, bool lowColourDisplay) {
    const char* pref = kPreferenceSection;
    for (const PreferenceRow& row : preferenceRows()) {
        std::string def = row.def ? row.def : "";
        if (row.field.column == col::Card.column && lowColourDisplay) def = "3";
        if (row.field.column == col::CardsShadowed.column) def = store.get(col::CardsAnimate);
        switch (row.kind) {
        case PrefKind::Text:
            store.set(row.field, settings.readString(pref, row.key, def));
            break;
        case PrefKind::Integer:
        case PrefKind::ZeroPadded: {
            int value = settings.readInteger(pref, row.key, int(*parseInteger(def)));
            if (row.field.column == col::BackgroundCol.column && value == 0) value = int(*parseInteger(kSystemFaceColour));
            if (row.kind == PrefKind::ZeroPadded)
                store.setNumber(row.field, value);
            else
                store.set(row.field, std::to_string(value));
            break;
        }
        case PrefKind::Customized:
            store.set(row.field, settings.readString(pref, row.key, "").empty() ? "N" : "Y");
            break;
        }
    }
    // Special values that the plain reads cannot express.
    if (store.get(col::BackCard) == "000") store.set(col::BackCard, "001");
    if (store.get(col::BackgroundBmp).empty()) store.set(col::BackgroundBmp, "0");

    if (store.get(col::Player).empty()) {
        // An unwritable settings file must not stop the start-up: the player is still set for this run.
        try {
            settings.update([&] {
                settings.writeString(pref, "UserDefault", "Player 1");
                settings.writeString(kUsersSection, "User001", "Player 1");
                settings.writeString(kUsersSection, "User002", "Player 2");
                settings.writeString(kUsersSection, "User003", "Player 3");
            });
        } catch (const FileError&) {
        }
        store.set(col::Player, "Player 1");
    }
    store.set(col::ScoringCode, "01");
    store.set(col::SessionWon, "0000");
    store.set(col::SessionLost, "0000");

    GamePreferences gp;
    gp.fastSearchType = settings.readInteger(kSettingsSection, "Games_Fast_Search_Type", 0);
    gp.randomGameType = settings.readInteger(kSettingsSection, "Random_Game_Type", 2);
    gp.autoPlayAllGames = settings.readInteger(pref, "AutoPlay_All_Games", 1);
    gp.highlightFoundationsMark = settings.readInteger(pref, "HighLights_Foundations_Mark", 0);
    gp.disableStatistics = settings.readString(pref, "Disable_Statistics", "N") == "Y";
    gp.moveCardsDragAndDrop = settings.readString(pref, "Move_Cards_DragAndDrop", "Y") == "Y";
    return gp;
}

}  // namespace cw::storage
