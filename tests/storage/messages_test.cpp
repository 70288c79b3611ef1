// Tests of the suppressible message and confirmation boxes with a scripted fake box.
#include <gtest/gtest.h>

#include <filesystem>

#include "storage/messages.h"
#include "temp_dir.h"

namespace cw::storage {
namespace {

using test::TempDir;

struct FakeBoxes : MessageBoxes {
    Answer next;
    int shown = 0;
    bool lastWithCancel = false;
    std::string lastText, error;
    bool showInformation(const std::string& text, IconPage) override {
        ++shown;
        lastText = text;
        return next.dontShowAgain;
    }
    Answer showConfirmation(const std::string& text, bool withCancel) override {
        ++shown;
        lastText = text;
        lastWithCancel = withCancel;
        return next;
    }
    void showFileError(const std::string& text) override { error = text; }
};

TEST(Messages, ShowMessageOnceUntilTicked) {
    TempDir dir;
    IniFile ini(dir.file("Cfg.dat"));
    FakeBoxes boxes;
    showMessageOnce(boxes, ini, "note", msgkey::CardsLarge);
    EXPECT_EQ(boxes.shown, 1);
    EXPECT_FALSE(ini.hasKey(kShowMessagesSection, msgkey::CardsLarge)) << "not ticked: nothing written";
    boxes.next.dontShowAgain = true;
    showMessageOnce(boxes, ini, "note", msgkey::CardsLarge);
    EXPECT_EQ(ini.readString("show_messages", "msg_cards_large", ""), "N");
    showMessageOnce(boxes, ini, "note", msgkey::CardsLarge);
    EXPECT_EQ(boxes.shown, 2) << "switched off";
    showMessageOnce(boxes, ini, "other", msgkey::CardsLarge + std::string("X"));
    EXPECT_EQ(boxes.shown, 3) << "per key";
}

TEST(Messages, ConfirmOnce) {
    struct Row { const char* stored; bool ok; bool tick; bool expected; int shown; const char* after; };
    const Row rows[] = {
        {nullptr, true, false, true, 1, ""},
        {nullptr, false, false, false, 1, ""},   // Cancel
        {nullptr, false, true, false, 1, "N"},   // Cancel and ticked: remembered, still false this time
        {"Y", true, true, true, 1, "N"},
        {"N", false, false, true, 0, "N"},       // switched off: true without asking
        {"n", true, false, true, 1, "n"},        // only "N" switches off
    };
    for (const auto& r : rows) {
        TempDir dir;
        IniFile ini(dir.file("Cfg.dat"));
        if (r.stored) ini.writeString(kShowConfirmationsSection, msgkey::DirSaveCustomDecks, r.stored);
        FakeBoxes boxes;
        boxes.next = {r.ok, r.tick};
        EXPECT_EQ(confirmOnce(boxes, ini, "The Deck as been saved as:", msgkey::DirSaveCustomDecks, true), r.expected);
        EXPECT_EQ(boxes.shown, r.shown);
        if (r.shown) {
            EXPECT_TRUE(boxes.lastWithCancel);
        }
        EXPECT_EQ(ini.readString(kShowConfirmationsSection, msgkey::DirSaveCustomDecks, ""), r.after);
    }
}

TEST(Messages, UnsavableChoiceIsReported) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("Cfg.dat"));  // cannot be replaced by a file
    dir.write("Cfg.dat/x", "");
    IniFile ini(dir.file("Cfg.dat"));
    FakeBoxes boxes;
    boxes.next = {true, true};
    EXPECT_TRUE(confirmOnce(boxes, ini, "t", msgkey::FullScreenHelp, false));
    EXPECT_EQ(boxes.error, "Error saving the file: " + dir.file("Cfg.dat"));
}

}  // namespace
}  // namespace cw::storage
