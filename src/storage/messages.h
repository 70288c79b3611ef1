// Message boxes that the player can switch off for good, the choice remembered in the settings file.
#pragma once

#include <string>

#include "storage/ini_file.h"

namespace cw::storage {

inline constexpr const char* kShowMessagesSection = "Show_Messages";
inline constexpr const char* kShowConfirmationsSection = "Show_Confirmations";
inline constexpr const char* kMessageBoxCaption = "Information";
inline constexpr const char* kDontShowAgainText = "&Don't show this message box again";

// Keys of the suppressible messages.
namespace msgkey {
inline constexpr const char* ScreenUnder256Colors = "Screen_Under_256_Colors";
inline constexpr const char* CardsMedium640x480 = "Msg_Cards_Medium_640x480";
inline constexpr const char* CardsMedium800x600 = "Msg_Cards_Medium_800x600";
inline constexpr const char* CardsLarge = "Msg_Cards_Large";
inline constexpr const char* ExtraLargeCards = "Msg_Extra_Large_Cards";
inline constexpr const char* DirSaveCustomDecks = "Dir_Save_Custom_Decks";  // confirmation, with Cancel
inline constexpr const char* FullScreenHelp = "Full_Screen_Help";           // confirmation, without Cancel
}  // namespace msgkey

// The picture page shown in the box; every current caller uses Color.
enum class IconPage { Color, Screen640x480 };

// The boxes themselves, implemented by the window (and by fakes in tests). Both are modal boxes titled
// kMessageBoxCaption with the tick box kDontShowAgainText.
class MessageBoxes {
public:
    struct Answer {
        bool ok = true;              // false when the player chose Cancel
        bool dontShowAgain = false;  // the tick box was ticked when the box closed
    };
    virtual ~MessageBoxes() = default;
    // Information box with OK; returns whether the tick box was ticked.
    virtual bool showInformation(const std::string& text, IconPage page) = 0;
    // Confirmation box with OK and, when withCancel, Cancel (else OK is centred).
    virtual Answer showConfirmation(const std::string& text, bool withCancel) = 0;
    // Shows a file error (the player's choice could not be saved); does nothing by default.
    virtual void showFileError(const std::string& text) {}
};

// ShowMessageOnce: shows the information box unless "Show_Messages"/key is "N"; a ticked box writes "N".
void showMessageOnce(MessageBoxes& boxes, IniFile& settings, const std::string& text, const std::string& key,
                     IconPage page = IconPage::Color);

// ConfirmOnce: true at once when "Show_Confirmations"/key is "N"; else asks, writes "N" when ticked, and
// returns false only when the player chose Cancel.
bool confirmOnce(MessageBoxes& boxes, IniFile& settings, const std::string& text, const std::string& key,
                 bool withCancel);

}  // namespace cw::storage
