// Message boxes that the player can switch off for good, the choice remembered in the settings file.
#include "storage/messages.h"

#include "storage/safe_file.h"

namespace cw::storage {

namespace {
void rememberOff(MessageBoxes& boxes, IniFile& settings, const char* section, const std::string& key) {
    try {
        settings.writeString(section, key, "N");
    } catch (const FileError& e) {
        boxes.showFileError(e.what());
    }
}
}  // namespace

void showMessageOnce(MessageBoxes& boxes, IniFile& settings, const std::string& text, const std::string& key,
                     IconPage page) {
    if (settings.readString(kShowMessagesSection, key, "Y") == "N") return;
    if (boxes.showInformation(text, page)) rememberOff(boxes, settings, kShowMessagesSection, key);
}

bool confirmOnce(MessageBoxes& boxes, IniFile& settings, const std::string& text, const std::string& key,
                 bool withCancel) {
    if (settings.readString(kShowConfirmationsSection, key, "Y") == "N") return true;
    MessageBoxes::Answer answer = boxes.showConfirmation(text, withCancel);
    if (answer.dontShowAgain) rememberOff(boxes, settings, kShowConfirmationsSection, key);
    return answer.ok;
}

}  // namespace cw::storage
