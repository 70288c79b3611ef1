// The tutor's back-move guard inside the automatic destination search: the card the tutor moved or showed last goes only where that move took it.
#include <gtest/gtest.h>

#include "engine/drop.h"
#include "engine/pickup.h"
#include "engine/tutor.h"
#include "rules_fixture.h"

using namespace cw::engine;
using namespace cw::test;

namespace {

TEST(BackMoveGuard, AutomaticDestinationPassesOverTargetsTheGuardRefuses)
{
    // The Queen of hearts could go on the King (first choice) or to the empty pile.
    const cw::engine::GameRules rules = basicRules(3);
    const int queen = cardCode(0, 12);
    const int otherCard = cardCode(2, 5);
    struct Case {
        const char* name;
        bool withRecord;
        int newestCard;
        PileRef newestTarget;
        bool guard;
        int tutorMode;
        const char* expectedQueenPile;
    };
    const Case cases[] = {
        {"no record: the first legal target", false, queen, PileRef::tableau(2), true, 0, "Fila2"},
        {"guarded: only the shown target", true, queen, PileRef::tableau(2), true, 0, "Fila3"},
        {"guard cleared by a move", true, queen, PileRef::tableau(2), false, 0, "Fila2"},
        {"the demo is not guarded", true, queen, PileRef::tableau(2), true, 3, "Fila2"},
        {"another card moved last", true, otherCard, PileRef::tableau(2), true, 0, "Fila2"},
        {"the move back to where it came from is refused", true, queen, PileRef::tableau(0), true, 0, "Fila1"},
    };
    for (const Case& c : cases) {
        GameState st = stateFromText("Fila1: 5c Qh; Fila2: Kh");
        st.backMoveGuard = c.guard;
        st.tutorMode = c.tutorMode;
        TutorRecord record;
        record.append(tutorEntry(c.newestCard, PileRef::tableau(1), c.newestTarget));
        const PlayOptions opt;
        Play play{rules, st, opt};
        automaticDestination(play, PileRef::tableau(0), 1, Destinations{}, false, c.withRecord ? &record : nullptr);
        EXPECT_EQ(pileName(st.table.locateCard(queen, EditMode::Report, 3)), c.expectedQueenPile) << c.name;
    }
}

TEST(BackMoveGuard, RightClickAndTheTutorHonourTheGuard)
{
    const cw::engine::GameRules rules = basicRules(4);
    const int queen = cardCode(0, 12);
    // The tutor last took the Queen from the fourth pile to the first: putting it on the King
    // is no reverse of that move, but the guard keeps the Queen where the tutor put it.
    TutorRecord record;
    record.append(tutorEntry(queen, PileRef::tableau(3), PileRef::tableau(0)));

    GameState st = stateFromText("Fila1: 5c Qh; Fila2: Kh; Fila3: 9d 8s; Fila4: 9s");
    st.backMoveGuard = true;
    const PlayOptions opt;
    Play play{rules, st, opt};
    EXPECT_FALSE(clickToPlay(play, PileRef::tableau(0), 1, Gesture::RightClick, &record));
    EXPECT_EQ(pileText(st, PileRef::tableau(0)), "031 012");

    // The hint looks for another move instead of taking the Queen back.
    const TutorStep step = tutorStep(play, record, kTutorHint);
    ASSERT_TRUE(step.found());
    EXPECT_EQ(step.card, cardCode(3, 8));

    st.backMoveGuard = false;
    st.tutorMode = 0;
    EXPECT_TRUE(clickToPlay(play, PileRef::tableau(0), 1, Gesture::RightClick, &record));
    EXPECT_EQ(pileText(st, PileRef::tableau(1)), "013 012");
}

// The player's own right press on the table, where the window keeps a tutor record: just after a
// hint showed the Queen going to the empty pile, the press sends it there, not onto the King.
TEST(BackMoveGuard, ThePlayersRightPressFollowsTheHintJustShown)
{
    const cw::engine::GameRules rules = basicRules(3);
    const int queen = cardCode(0, 12);
    TutorRecord record;
    record.append(tutorEntry(queen, PileRef::tableau(0), PileRef::tableau(2)));
    for (const bool attached : {false, true}) {
        GameState st = stateFromText("Fila1: 5c Qh; Fila2: Kh");
        st.backMoveGuard = true;
        const PlayOptions opt;
        Play play{rules, st, opt};
        if (attached)
            play.tutorRecord = &record;
        tablePress(play, Press{PileRef::tableau(0), 1, Button::Right, false});
        EXPECT_EQ(pileName(st.table.locateCard(queen, EditMode::Report, 3)), attached ? "Fila3" : "Fila2") << attached;
    }
}

} // namespace
