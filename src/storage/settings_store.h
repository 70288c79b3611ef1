// The settings store: the in-memory block of fixed-column text fields shared by the whole program.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace cw::storage {

// One field of the settings store: 1-based column and width.
struct Field {
    int column;
    int width;
};

// Every field of the settings store. The columns are a fixed layout shared by all modules.
namespace col {
inline constexpr Field SettingsFileName{1, 20};   // name of the settings file in the data folder
inline constexpr Field BackCard{21, 3};           // card back number, zero-padded
inline constexpr Field Card{24, 3};               // card set number, zero-padded
inline constexpr Field BackgroundDef{27, 1};      // default table background in use
inline constexpr Field BackgroundCol{28, 15};     // table colour as a decimal integer
inline constexpr Field BackgroundBmp{43, 4};      // background number
inline constexpr Field BackgroundFixedCol{47, 15};  // fixed background colour
inline constexpr Field GameId{62, 4};             // game id of the current game, zero-padded; -1 none
inline constexpr Field ShowTime{66, 1};
inline constexpr Field CardsAnimate{67, 1};
inline constexpr Field Language{68, 6};           // base number of the language's text resources
inline constexpr Field SpeedMoveCard{74, 2};
inline constexpr Field Player{77, 30};            // name of the current player
inline constexpr Field SessionWon{112, 4};        // games won in this session
inline constexpr Field SessionLost{116, 4};       // games lost in this session
inline constexpr Field ScoringCode{120, 2};       // scoring system code of the current deal
inline constexpr Field Score{122, 6};             // current score
inline constexpr Field CardSize{128, 1};          // card size letter
inline constexpr Field SavedCard{129, 3};         // card set saved while a game forces smaller cards
inline constexpr Field FadeBackground{135, 1};
inline constexpr Field ShowScore{136, 1};
inline constexpr Field UndoEnabled{137, 1};       // "0" unlimited, "1" one in a row, "2" disabled
inline constexpr Field UndoMark{138, 1};          // undo mark, "0" at every new deal
inline constexpr Field RedoMark{139, 1};          // redo mark, "0" at every new deal
inline constexpr Field SoundsEnabled{141, 1};
inline constexpr Field SoundsAbout{142, 1};
inline constexpr Field SoundsAutoplay{143, 1};
inline constexpr Field SoundsGameWon{144, 1};
inline constexpr Field SoundsNewGame{145, 1};
inline constexpr Field SoundsRedo{146, 1};
inline constexpr Field SoundsRestart{147, 1};
inline constexpr Field SoundsSplash{148, 1};
inline constexpr Field SoundsShuffle{149, 1};
inline constexpr Field SoundsUndo{151, 1};
inline constexpr Field RandomBackground{152, 1};
inline constexpr Field GameNumber{153, 15};       // game number of the current deal
inline constexpr Field SoundsHiScores{171, 1};
inline constexpr Field Cursor{172, 2};            // 10 standard cursor, 11 to 15 own cursor sets
inline constexpr Field SoundsNewHiScores{174, 1};
inline constexpr Field SoundsPairing{175, 1};
inline constexpr Field SoundsStock{176, 1};
inline constexpr Field SoundsTableau{177, 1};
inline constexpr Field CardsShadowed{178, 1};
inline constexpr Field PilesTT{179, 1};           // irregular piles
inline constexpr Field SoundsFaceUp{180, 1};
inline constexpr Field SoundsCardDown{181, 1};
inline constexpr Field SoundsCardUp{182, 1};
inline constexpr Field SoundsRedeal{183, 1};
inline constexpr Field SoundsFoundation{184, 1};
inline constexpr Field ConfirmQuitGame{185, 1};
inline constexpr Field ConfirmEnterHiScores{186, 1};
inline constexpr Field RandomCard{187, 1};
inline constexpr Field RandomDeck{188, 1};
inline constexpr Field GameName{189, 50};         // name of the current game
inline constexpr Field AutomaticFaceUp{239, 1};
inline constexpr Field SavedCardSize{240, 1};     // card size saved while a game forces smaller cards
inline constexpr Field DealAnimation{241, 1};
inline constexpr Field RedealAnimation{242, 1};
inline constexpr Field VertScrollBar{243, 1};
inline constexpr Field ShowToolTips{244, 1};
inline constexpr Field ShowPilesSize{245, 1};
inline constexpr Field CustomizedBackground{246, 1};
inline constexpr Field RightClickToFoundations{247, 1};
inline constexpr Field RightClickToTableaus{248, 1};
inline constexpr Field DoubleClickToFoundations{249, 1};
inline constexpr Field DoubleClickToTableaus{251, 1};
inline constexpr Field SoundsRedealWithoutAnimation{252, 1};
inline constexpr Field ShowMainPopupMenu{253, 1};
inline constexpr Field ShowPartialHiddenCard{255, 1};
inline constexpr Field CustomizedDeck{256, 1};
inline constexpr Field CustomizedCardsSet{257, 1};
inline constexpr Field AdditionalCardsSet{258, 1};
inline constexpr Field AdditionalDeck{259, 1};
inline constexpr Field AdditionalBackground{260, 1};
inline constexpr Field SavedCustomizedCardsSet{261, 1};  // flag 257 saved while a game forces smaller cards
inline constexpr Field SavedAdditionalCardsSet{262, 1};  // flag 258 saved while a game forces smaller cards
inline constexpr Field BookmarkPath{701, 200};    // path of the current bookmark file (lengthens segment three)
}  // namespace col

// Three segments of text addressed by column: 1-249 segment one, 251-499 segment two (column - 250),
// 501-999 segment three (column - 500). Columns 250, 500 and from 1000 on (and below 1) address nothing.
class SettingsStore {
public:
    SettingsStore();  // starts reset

    // ResetSettingsStore: three segments of 250 blanks and "Cfg.dat" at column 1, width 20.
    void resetSettingsStore();
    // GetSetting: the field's text with trailing blanks removed ("" for a column that addresses nothing).
    std::string getSetting(int column, int width) const;
    // SetSetting: leading blanks removed, cut or padded to width, written over the field (ignored when
    // the column addresses nothing; a field past the end of its segment lengthens it).
    void setSetting(int column, int width, std::string_view text);

    std::string get(Field f) const { return getSetting(f.column, f.width); }
    void set(Field f, std::string_view text) { setSetting(f.column, f.width, text); }
    // Yes/no field read as a boolean ("Y" is true).
    bool flag(Field f) const { return get(f) == "Y"; }
    // Writes "Y" or "N".
    void setFlag(Field f, bool on) { set(f, on ? "Y" : "N"); }
    // Writes the number through the fixed-width number text (zero-padded to the field width).
    void setNumber(Field f, long long value);

private:
    // Segment index and 0-based position of a column, or segment -1.
    static std::pair<int, size_t> locate(int column);

    // One character per cell: a field's width counts characters, so that a name with accents keeps
    // all of its letters (a cell holds the bytes of one UTF-8 character).
    using Segment = std::vector<std::string>;
    std::array<Segment, 3> m_segments;
};

}  // namespace cw::storage
