// The tip of the day's hints, worded for the commands and keys as this game's window has them.
#include "tools/core/tips.h"

#include <array>

namespace cw::tools {

namespace {

// clang-format off
constexpr std::array<std::string_view, 28> kTips = {
    "You can open one of the last games you have played by clicking the Open a saved game button in the Open a game dialog box.",
    "You can restart the current game by pressing Ctrl+F2.",
    "You can undo your last move by pressing Ctrl+Z. To undo more than one move, press the key again.",
    "You can press Ctrl+Z and Ctrl+Y to move to the previous and next move of the current game.",
    "You can press F4 to display the Statistics dialog box.",
    "You can press F9 to display the Hi-Scores dialog box.",
    "You can press F8 to display the Card counter.",
    "Cardwise displays the name of a toolbar button when you point to the button.",
    "You can press Ctrl+U to display the Customize dialog box.",
    "You can choose the Organize Favorites command from the Favorites menu to add, edit or delete your favorite games.",
    "You can double click a face-up card to automatically move it to the first available legal pile.",
    "You can click the Autoplay button on the toolbar to automatically play cards to the foundations when possible.",
    "There are over nine trillion starting positions for each game! You can press F3 to select a game number. ",
    "You can choose from a dozen different card back designs by using the Customize dialog box.",
    "You can choose from a dozen different background designs by using the Customize dialog box.",
    "You can add, edit or delete a player by choosing the Players command from the File menu.",
    "You can turn each sound on and off with the sounds options in the Customize dialog box.",
    "You can include your favorite games in the \"Favorite games\" folder by clicking the right mouse button in the Open a game dialog box and choosing Favorite games.",
    "You can click the Ctrl+Right mouse button on the visible part of a card in order to see it in full.",
    "You can randomly play a game by choosing the Random game command from the File menu.",
    "You can save the current game at any time by pressing Shift+Ctrl+F12.",
    "You can pause the current game at any time by pressing Ctrl+P.",
    "You can quit the current game at any time by pressing Ctrl+Q.",
    "You can speed up choosing one of your favorite games by clicking on it in the Favorites menu.",
    "You can customize the rules of the current game by choosing the Rules Wizard command from the Tools menu, or by pressing Ctrl+R.",
    "You can read the rules of the game you are playing at any time by pressing F1.",
    "By pressing Ctrl+Right click from any point in the main play area, a shortcut menu appears which provides an efficient way to access the most important operations of Cardwise.",
    "To quickly jump to a specific position in a game, you can insert a bookmark at any time.",
};
// clang-format on

} // namespace

std::span<const std::string_view> tipTexts() { return kTips; }

int tipCount() { return static_cast<int>(kTips.size()); }

int openingTip(int storedTipNumber)
{
    const int next = storedTipNumber + 1;
    return next >= 0 && next < tipCount() ? next : 0;
}

int nextTip(int tip) { return tip + 1 < tipCount() && tip >= 0 ? tip + 1 : 0; }

int previousTip(int tip) { return tip > 0 && tip < tipCount() ? tip - 1 : tipCount() - 1; }

} // namespace cw::tools
