// What the demo and solver window tests share: a quiet Klondike window, short demo pauses and a nearly won table.
#pragma once

#include "window_fixture.h"

#include "ui/demo_window.h"
#include "ui/game_won_dialog.h"
#include "ui/message_boxes.h"
#include "ui/stats_commands.h"
#include "ui/tutor_commands.h"

#include <QAction>

#include <vector>

namespace cw::ui::testing {

// Card codes: hearts 1-13, diamonds 14-26, clubs 27-39, spades 40-52.
inline int card(int suit, int rank) { return suit * 13 + rank; }

struct TutorFixture : WindowFixture {
    std::vector<QString> boxes;
    int wonDialogs = 0;

    // Boxes and the end-of-game dialogs answered without a click, no winning animation, no
    // autoplay, demo pauses of a few milliseconds (the tests watch the steps, not the clock).
    bool openQuiet(const QString& folder, const std::string& number = "12345")
    {
        setBoxAnswerHook([this](BoxKind, const QString& text) {
            boxes.push_back(text);
            return 0;
        });
        setEndOfGameDialogHook([this](const engine::GameEndReport& report, bool) {
            if (report.won)
                ++wonDialogs;
            return GameWonChoice::Close;
        });
        if (!open(folder, number))
            return false;
        session().setAutoplay(false);
        TableSettings quiet = table()->settings();
        quiet.winningAnimation = QStringLiteral("(None)");
        table()->setSettings(quiet);
        TutorCommands::Timing fast = tutor().timing();
        fast.startMs = fast.lookMs = fast.stepMs = 5;
        tutor().setTiming(fast);
        return true;
    }

    ~TutorFixture()
    {
        setBoxAnswerHook({});
        setEndOfGameDialogHook({});
    }

    TutorCommands& tutor() { return *window->findChild<TutorCommands*>(); }
    TfrmDemo* demo() { return tutor().demoWindow(); }
    QAction* action(const char* name) { return window->command(QString::fromLatin1(name)); }
    int demoCount() { return demo() ? demo()->moveCountText().toInt() : -1; }

    // Ace to Ten of each suit at home; Jack, Queen and King of a suit stand on one tableau pile
    // per suit, the Jack on top: twelve moves to a won game.
    void nearlyWon()
    {
        engine::Table& t = session().mutableState().table;
        t.clearPiles();
        for (int s = 0; s < 4; ++s) {
            for (int r = 1; r <= 10; ++r)
                t.append(engine::PileRef::foundation(s), card(s, r), true);
            for (int r = 13; r >= 11; --r)
                t.append(engine::PileRef::tableau(s), card(s, r), true);
        }
        // A made-up table: whether the game counts is decided by what is played from here.
        session().mutableCurrent().statisticsEligibility = -1;
        table()->refresh();
        tutor().updateCommands();
    }
};

} // namespace cw::ui::testing
