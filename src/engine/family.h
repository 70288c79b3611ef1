// The seam of the special game families: every point where a family's own rules replace or follow the ordinary ones.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/drop.h"
#include "engine/legal_moves.h"
#include "engine/pickup.h"
#include "engine/rules_context.h"

namespace cw::engine {

struct PileInfo;
struct ScoreInput;
namespace dealsteps {
struct Context;
}

// What a family did with an action it was offered.
enum class Handled : std::uint8_t {
    No,        // not the family's: the ordinary rules go on
    Unchanged, // the family took it; the table is as it was
    Changed,   // the family took it and changed the table
};

// A family's verdict on a drop, asked before the ordinary drop rules.
enum class DropVerdict : std::uint8_t {
    Default, // the ordinary rules decide
    Allow,   // the cards may go there, whatever the ordinary rules say
    Refuse,  // they may not
};

// What a move that just ran did: the family's after-move step reads it.
struct MoveDone {
    PileRef source{};
    int sourceIndex = -1; // position of the (bottom) moved card in its source pile before the move
    PileRef target{};
    int card = 0;           // the (bottom) moved card
    int count = 1;          // cards moved
    bool automatic = false; // autoplay, the automatic fill or a family's own follow-up
};

// The points of the deal where a family adds its own step.
enum class DealPoint : std::uint8_t {
    FoundationBases, // after the initial foundation cards, when the base ranks are set
    AfterExtraCard,  // after the empty-pile rules are derived and the extra foundation card is dealt
    BeforePattern,   // after the kings went to the bottom, before the deal pattern
};

// A decoration the painter draws for a family, as plain data.
enum class MarkKind : std::uint8_t {
    CaptionLeft,  // `text` in a white box left of the pile ("Crib", "Hand", "Starter")
    LabelAbove,   // `text` in a white box above the pile ("12 cards"); bold when `strong`
    TotalRight,   // `text` in a white box right of the pile (a row total)
    TotalBelow,   // `text` in a white box below the pile (a column total)
    Highlight,    // the card at `position` of the pile is drawn highlighted
    EmptyPicture, // the empty pile shows the card-size picture numbered `number` instead of its marker
};

struct PileMark {
    MarkKind kind = MarkKind::CaptionLeft;
    PileRef pile{};
    int position = -1;
    int number = 0;
    std::string text;
    bool strong = false;

    friend bool operator==(const PileMark&, const PileMark&) = default;
};
using PileMarks = std::vector<PileMark>;

// The tutor's step a family chooses itself: the move and the demo window's text for it.
struct FamilyTutorStep {
    Move move{};
    std::string description;
};

// A panel the window shows beside the table for a family, as plain data derived from the position.
struct FamilyPanel {
    std::string name;                                       // which panel: "CribbageInfo", "CribbageScore", ...
    std::vector<std::vector<std::string>> grid;             // rows of cells; the first row holds the column captions
    std::vector<std::pair<std::string, std::string>> lines; // caption and value lines below the grid

    friend bool operator==(const FamilyPanel&, const FamilyPanel&) = default;
};

// One special game family (rule parameter 54). The family of a game is resolved once, when its
// rules are loaded or dealt, and travels with them (GameRules::family(), Play::family()); the
// engine asks it at fixed points instead of testing family numbers. Every method has a default
// that keeps the ordinary rules, so a family overrides only what it changes. Methods are const:
// a family keeps no state of its own; what it must remember lives in the table, the game
// counters or the event counts of the GameState, so undo, saved games and the solver see it.
// Events a family appends (moves, turns, sounds, pacing) are played by the window in order.
//
// The ordinary family (special() false) is the one of every ordinary game. On its hot paths the
// engine skips the hooks of the ordinary family, which all keep the ordinary rules anyway.
class Family {
public:
    Family() = default;
    virtual ~Family() = default;
    Family(const Family&) = delete;
    Family& operator=(const Family&) = delete;

    // False only for the ordinary family of games without special steps.
    bool special() const { return special_; }

    // ---- The table press ----

    // A press on the table (any button, modifiers included), offered before the ordinary
    // pick-up rules, after a press that only ends a drag or a swallowed stock press. Selection,
    // memory, toggling and gap families take their presses here. Default: No.
    virtual Handled press(Play& play, const Press& press) const { return Handled::No; }
    // What a plain left press on a position does, given what the ordinary pick-up rules would
    // do (the generator and the tutor ask this too). Default: the ordinary action.
    virtual PressAction pressAction(const Play& play, PileRef pile, int index, PressAction ordinary) const
    {
        return ordinary;
    }
    // Whether the point-and-click preference applies: a family whose presses act at once keeps
    // it off. Default: true.
    virtual bool pointAndClickApplies() const { return true; }

    // ---- The drop ----

    // The family's verdict on the carried cards going to a spot (a pile, and for a drop inside a
    // pile the position: gaps). Asked by every legality test of a drop (release, right and double
    // click, autoplay, the generator). Default: Default.
    virtual DropVerdict mayDrop(const Play& play, const Carried& carried, DropSpot spot) const
    {
        return DropVerdict::Default;
    }
    // Executes an allowed drop itself (a card moved into a gap). False: the ordinary move
    // execution places the cards. Default: false.
    virtual bool drop(Play& play, const Carried& carried, DropSpot spot) const { return false; }
    // Whether a tableau pile whose top card lies face down still takes cards. Default: false.
    virtual bool buildsOnFaceDown() const { return false; }

    // ---- Steps that follow the ordinary ones ----

    // After every executed card move, once the complete runs have left and before the automatic
    // turn-up and the win test. Default: nothing.
    virtual void afterMove(Play& play, const MoveDone& move) const {}
    // After the stock dealt cards to the piles [first, last) of kind (tableau or reserve).
    // Default: nothing.
    virtual void afterStockDeal(Play& play, PileKind kind, int first, int last) const {}
    // Before a draw from the stock to the waste. Default: nothing.
    virtual void beforeDraw(Play& play) const {}
    // After a draw from the stock; drew: at least one card came. Default: nothing.
    virtual void afterDraw(Play& play, bool drew) const {}
    // After the waste was turned over onto the stock. Default: nothing.
    virtual void afterTurnover(Play& play) const {}
    // A tick of the game clock while a deal is active and not paused (once a second), for
    // families with timed steps; playedSeconds counts play time. Only asked when ticks() is
    // true; the step runs as one player action (undo step, score, win test). Default: nothing.
    virtual bool ticks() const { return false; }
    virtual void tick(Play& play, int playedSeconds) const {}

    // ---- The stock ----

    // A click on the stock, offered before the game's dealing scheme. Default: No.
    virtual Handled stockClick(Play& play, bool immediate) const { return Handled::No; }
    // Whether the stock click would change the table now, for a family that clicks its own way;
    // nullopt: the ordinary answer. Default: nullopt.
    virtual std::optional<bool> stockClickAvailable(const Play& play) const { return std::nullopt; }
    // The redeal of redeal modes 9, 14, 15 and 16, which belong to the families that use them.
    // Default: nothing.
    virtual void redeal(Play& play, int mode) const {}
    // The automatic fill of tableau pile c under fill rule 15; true when a card moved.
    // Default: false.
    virtual bool fillGap(Play& play, int c) const { return false; }

    // ---- Moves of the generator ----

    // Adds the family's own moves (a whole valid set, a gap move, a press) to the generator's
    // list, after the ordinary moves. The list never allocates. Default: nothing.
    virtual void addMoves(const Play& play, MoveList& list) const {}
    // Applies a move of a family kind (Select, Gap, Press) as the player's action; true when the
    // table changed. Default: a Press goes through the table press and release; others: false.
    virtual bool applyMove(Play& play, const Move& move) const;
    // The family's own choice of the tutor's next step (the hint and the demo), asked before the
    // tutor's ordinary search: a placement worth most, a memory game's next press. Any move the
    // generator could make, applied as the player's move. nullopt: the ordinary search.
    // Default: nullopt.
    virtual std::optional<FamilyTutorStep> tutorMove(const Play& play) const { return std::nullopt; }

    // ---- The end and the score ----

    // The win test; nullopt: the ordinary test. Used by every win test (moves, the session,
    // the solver). Default: nullopt.
    virtual std::optional<bool> isWon(const Play& play) const { return std::nullopt; }
    // The box the session shows each time the win test passes; empty: none. Default: empty.
    virtual std::string wonMessage(const Play& play) const { return {}; }
    // Whether a freshly dealt table is tested for won at once. Default: false.
    virtual bool testsWinAfterDeal() const { return false; }
    // The score; nullopt: the standard formula. Default: nullopt.
    virtual std::optional<int> score(const ScoreInput& input) const { return std::nullopt; }
    // Whether cards the deal itself moved to the foundations add points. Default: true.
    virtual bool addsDealPoints() const { return true; }
    // The panel (by name, see panels()) the window shows modally when a game ends, after won or
    // lost is decided and before anything is recorded; empty: none. Default: empty.
    virtual std::string endPanel() const { return {}; }

    // ---- Set-up ----

    // The family's own step at a point of the deal. Default: nothing.
    virtual void dealStep(DealPoint point, dealsteps::Context& deal) const {}
    // A deal starts (dealt afresh or restarted): the family sets its per-deal values of the
    // state (the game counters). Default: nothing.
    virtual void startDeal(GameState& state) const {}

    // ---- Questions of other parts ----

    // Whether foundation 1 holds the selection buffer, which undo snapshots store empty.
    // Default: false.
    virtual bool selectionInFoundation1() const { return false; }
    // Whether the general solver may search games of this family (every move is in the
    // generator, every step is deterministic). Default: true.
    virtual bool searchable() const { return true; }
    // Whether the table may scroll when its piles run past the window. Default: false.
    virtual bool tableScrolls() const { return false; }
    // Whether a table read from a saved game is one the family can play on (a selection that
    // names cards lying on the table, rows that keep the places the deal laid out). Default: true.
    virtual bool tableFits(const GameRules& rules, const Table& table) const { return true; }
    // Adjusts the pile information shown for a pile. Default: nothing.
    virtual void describePile(const Play& play, PileRef pile, PileInfo& info) const {}

    // ---- Presentation, as plain data ----

    // The decorations of a position (captions, labels, totals, highlights, empty-pile pictures),
    // appended to out. Default: none.
    virtual void pileMarks(const GameRules& rules, const GameState& state, PileMarks& out) const {}
    // The panels the window shows for a position. Default: none.
    virtual std::vector<FamilyPanel> panels(const GameRules& rules, const GameState& state) const { return {}; }

protected:
    // Special families pass true.
    explicit Family(bool special) : special_(special) {}

private:
    bool special_ = false;
};

// The base of every special family: special() is true, every hook keeps its default until overridden.
class SpecialFamily : public Family {
protected:
    SpecialFamily() : Family(true) {}
};

// The family of ordinary games.
const Family& ordinaryFamily();

// The family of rule parameter 54's value: a registered family, the plain special family for
// another positive value (no steps of its own, but the ordinary shortcuts of the searches stay
// off), the ordinary family for 0 or less. Resolved when rules are loaded or dealt.
const Family& familyFor(int number);

} // namespace cw::engine
