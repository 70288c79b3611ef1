// The rule parameter vector of a game: 503 signed 16-bit values read through named accessors.
#pragma once

#include "catalog/rule_values.h"

#include <array>
#include <cstdint>

namespace cw::catalog {

// Parameters are numbered 1..502; entry 0 has no row in the definitions file and stays 0.
inline constexpr int kParamCount = 503;
inline constexpr int kLastParam = 502;

// Pile counts of the per-pile parameter ranges.
inline constexpr int kMaxFoundations = 16;
inline constexpr int kMaxTableaus = 40;
inline constexpr int kMaxReserves = 12;

// The per-pile copy holds the tableau empty-pile rules (135..174) then the foundation
// bases (55..70): the two ranges the deal rewrites and a restart must put back.
inline constexpr int kPerPileCopySize = kMaxTableaus + kMaxFoundations;

class Rules {
public:
    // Out-of-range numbers read as 0, so callers can probe per-pile ranges safely.
    int operator[](int n) const { return (n >= 0 && n < kParamCount) ? values_[n] : 0; }
    int get(int n) const { return (*this)[n]; }
    // Values are stored as 16-bit integers, as in the definitions file; out-of-range numbers are ignored.
    void set(int n, int value)
    {
        if (n >= 0 && n < kParamCount)
            values_[n] = static_cast<int16_t>(value);
    }
    void clear() { values_.fill(0); }
    const std::array<int16_t, kParamCount>& values() const { return values_; }

    // Keeps 135..174 and 55..70 as loaded, before the deal changes them.
    void savePerPileCopy()
    {
        for (int k = 0; k < kMaxTableaus; ++k)
            perPile_[k] = values_[135 + k];
        for (int k = 0; k < kMaxFoundations; ++k)
            perPile_[kMaxTableaus + k] = values_[55 + k];
    }
    // Puts the loaded per-pile values back for a new deal of the same game.
    void restorePerPileParameters()
    {
        for (int k = 0; k < kMaxTableaus; ++k)
            values_[135 + k] = perPile_[k];
        for (int k = 0; k < kMaxFoundations; ++k)
            values_[55 + k] = perPile_[kMaxTableaus + k];
    }
    const std::array<int16_t, kPerPileCopySize>& perPileCopy() const { return perPile_; }

    friend bool operator==(const Rules&, const Rules&) = default;

    // ---- Named accessors (k and r count piles from 0) ----
    // Each accessor reads the parameter named in its comment (see params.cpp).

    int foundationSetup() const { return get(1); }        // foundation.setup
    int sequenceRule() const { return get(2); }           // sequence_rule
    int tableauFanStyle() const { return get(3); }        // tableau.fan_style
    int foundationFanStyle() const { return get(4); }     // foundation.fan_style
    int reserveFanStyle() const { return get(5); }        // reserve.fan_style
    int tableauMixedStyle() const { return get(6); }      // tableau.mixed_style
    int stockFaceAtDeal() const { return get(7); }        // stock.face_at_deal
    int wasteLocked() const { return get(8); }            // waste.locked
    int stockShown() const { return get(10); }            // stock.shown
    int stockTurnsToWaste() const { return get(11); }     // stock.turns_to_waste
    int dealExtraStep() const { return get(13); }         // deal.extra_step
    int groupLimit() const { return get(14); }            // tableau.group_limit
    int reservePickupRule() const { return get(15); }     // reserve.pickup_rule
    int deals() const { return get(16); }                 // stock.deals
    int redealMode() const { return get(17); }            // stock.redeal_mode
    int drawRestriction() const { return get(18); }       // stock.draw_restriction
    int foundationTakeBack() const { return get(19); }    // foundation.take_back
    int autoplayAvailable() const { return get(20); }     // autoplay.available
    int autoplayFoundationTarget() const { return get(22); } // autoplay.foundation_target
    int undoOff() const { return get(23); }               // undo_off
    int cardsPerClick() const { return get(24); }         // stock.cards_per_click
    int tableauAutoFill() const { return get(25); }       // tableau.auto_fill
    int postDealOrder() const { return get(26); }         // deal.post_deal_order
    int tableauGridRows() const { return get(27); }       // tableau.grid_rows
    int tableauGridColumns() const { return get(28); }    // tableau.grid_columns
    int tableauGridRowLength() const { return get(30); }  // tableau.grid_row_length
    int foundationResort() const { return get(32); }      // foundation.resort
    int kingsToBottom() const { return get(33); }         // deal.kings_to_bottom
    int foundationCapacity() const { return get(34); }    // foundation.capacity
    int tableauCapacity() const { return get(35); }       // tableau.capacity
    int dealPattern() const { return get(36); }           // deal.pattern
    int stockFirstRestriction() const { return get(37); } // stock.first_restriction
    int clickToPlay() const { return get(39); }           // click_to_play
    int screenClass() const { return get(40); }           // screen_class
    int selectionGame() const { return get(41); }         // selection_game
    int firstMoveToFoundation() const { return get(42); } // first_move_to_foundation
    int fillAfterFirstMove() const { return get(43); }    // fill_after_first_move
    int tableauAutoFaceUp() const { return get(44); }     // tableau.auto_face_up
    int tableauCardsPerRow() const { return get(45); }    // tableau.cards_per_row
    int jokers() const { return get(46); }                // jokers
    int tutor() const { return get(47); }                 // tutor
    int scoreConstant() const { return get(48); }         // score.constant
    int reducedPack() const { return get(49); }           // reduced_pack
    int suitFolding() const { return get(50); }           // suit_folding
    int foundationStartTest() const { return get(51); }   // foundation.start_test
    int hiscoreBase() const { return get(52); }           // hiscore.base
    int targetScore() const { return get(53); }           // score.target
    int specialFamily() const { return get(54); }         // special_family

    int foundationBase(int k) const { return pile(55, kMaxFoundations, k); }        // foundation.base
    int foundationDirection(int k) const { return pile(71, kMaxFoundations, k); }   // foundation.direction
    int foundationSuitRule(int k) const { return pile(87, kMaxFoundations, k); }    // foundation.suit_rule
    int foundationInitialCard(int k) const { return pile(103, kMaxFoundations, k); } // foundation.initial_card
    int foundationCompletion(int k) const { return pile(119, kMaxFoundations, k); } // foundation.completion
    int tableauEmptyRule(int k) const { return pile(135, kMaxTableaus, k); }        // tableau.empty_rule
    int tableauDirection(int k) const { return pile(175, kMaxTableaus, k); }        // tableau.direction
    int tableauSuitRule(int k) const { return pile(215, kMaxTableaus, k); }         // tableau.suit_rule
    int tableauContinuity(int k) const { return pile(255, kMaxTableaus, k); }       // tableau.continuity
    int stockDealsToTableau(int k) const { return pile(295, kMaxTableaus, k); }     // stock.deals_to_tableau
    int reserveAccept(int r) const { return pile(335, kMaxReserves, r); }           // reserve.accept
    int stockDealsToReserve(int r) const { return pile(347, kMaxReserves, r); }     // stock.deals_to_reserve

    int waste2StartCard() const { return get(359); }         // waste2.start_card
    int wasteAccepts() const { return get(360); }            // waste.accepts
    int wasteNeverTarget() const { return get(361); }        // waste.never_target
    int stockArrangement() const { return get(362); }        // layout.stock_arrangement
    int stockRow() const { return get(363); }                // layout.stock_row
    int foundationArrangement() const { return get(364); }   // layout.foundation_arrangement
    int foundationRow() const { return get(365); }           // layout.foundation_row
    int tableArrangement() const { return get(366); }        // layout.table_arrangement
    int tableRow() const { return get(367); }                // layout.table_row
    int reserveArrangement() const { return get(369); }      // layout.reserve_arrangement
    int reserveRow() const { return get(370); }              // layout.reserve_row
    int waste2Arrangement() const { return get(371); }       // layout.waste2_arrangement
    int waste2Row() const { return get(372); }               // layout.waste2_row
    int stockPiles() const { return get(373); }              // layout.stock_piles
    int foundationCount() const { return get(374); }         // foundation.count
    int tableauCount() const { return get(375); }            // tableau.count
    int reserveCount() const { return get(376); }            // reserve.count
    int waste2Count() const { return get(377); }             // waste2.count
    int cardsInPlay() const { return get(378); }             // cards
    int stockDeal() const { return get(379); }               // stock.deal
    int wasteDeal() const { return get(380); }               // waste.deal
    int jokerCount() const { return get(381); }              // joker_count

    int tableauDeal(int k) const { return pile(382, kMaxTableaus, k); }  // tableau.deal
    int tableauFace(int k) const { return pile(422, kMaxTableaus, k); }  // tableau.face
    int waste2Deal() const { return get(462); }                           // waste2.deal
    int reserveDeal(int r) const { return pile(463, kMaxReserves, r); }  // reserve.deal
    int reserveFace(int r) const { return pile(475, kMaxReserves, r); }  // reserve.face

    int foundationSuitRuleAll() const { return get(487); }   // foundation.suit_rule_all
    int tableauSuitRuleAll() const { return get(488); }      // tableau.suit_rule_all
    int wizardCardsPerClick() const { return get(490); }     // wizard.cards_per_click
    int wizardDeals() const { return get(491); }             // wizard.deals
    int wizardEmptyRule() const { return get(492); }         // wizard.empty_rule
    int wizardTableauDirection() const { return get(493); }  // wizard.tableau_direction
    int wizardTableauSuitRule() const { return get(494); }   // wizard.tableau_suit_rule
    int wizardFoundationDirection() const { return get(495); } // wizard.foundation_direction
    int wizardFoundationSuitRule() const { return get(496); }  // wizard.foundation_suit_rule
    int gameTime() const { return get(497); }                // chooser.game_time
    int difficulty() const { return get(498); }              // chooser.difficulty
    int skill() const { return get(499); }                   // chooser.skill
    int chanceOfWinning() const { return get(500); }         // chooser.chance
    int winrateWon() const { return get(501); }              // winrate.won
    int winrateSample() const { return get(502); }           // winrate.sample

    // ---- Derived questions (the value sets are in rule_values.h) ----

    // The building rule of tableau pile c and of foundation f: the "all" form unless it defers
    // to the piles' own rules.
    int tableauBuildRule(int c) const
    {
        return tableauSuitRuleAll() != BuildRule::PerPile ? tableauSuitRuleAll() : tableauSuitRule(c);
    }
    int foundationBuildRule(int f) const
    {
        return foundationSuitRuleAll() != BuildRule::PerPile ? foundationSuitRuleAll() : foundationSuitRule(f);
    }
    bool unlimitedDeals() const { return deals() == Deals::Unlimited; }
    // A reserve card deeper than the top lifts with the cards above it.
    bool reserveLiftsGroups() const { return reservePickupRule() == ReservePickup::LiftsGroups; }
    // Only the top tableau card lifts (any card from the third deal on, by the Draw).
    bool topCardOnly() const { return sequenceRule() == SequenceRule::TopCardOnly; }
    // Tableau pile k takes the rank below the foundations' base when empty (the deal writes it).
    bool emptyTableauTakesBaseRank(int k) const { return tableauEmptyRule(k) == EmptyRule::BaseRank; }
    // Foundation k takes complete thirteen-card runs from the tableau.
    bool takesRuns(int k) const { return isRunBase(foundationBase(k)); }

    // ---- Deal accessors ----
    // The deal writes base ranks, the derived empty-pile rules and (for one set-up) the
    // foundation suit rules; an index outside the range is ignored.
    void setFoundationBase(int k, int v) { setPile(55, kMaxFoundations, k, v); }      // foundation.base
    void setFoundationSuitRule(int k, int v) { setPile(87, kMaxFoundations, k, v); }  // foundation.suit_rule
    void setTableauEmptyRule(int k, int v) { setPile(135, kMaxTableaus, k, v); }      // tableau.empty_rule
    void setPile(int first, int count, int k, int v)
    {
        if (k >= 0 && k < count)
            set(first + k, v);
    }

    // ---- End of deal accessors ----

private:
    // Element k of a per-pile range; an index outside the range reads as 0 instead of
    // spilling into the neighbouring range.
    int pile(int first, int count, int k) const { return (k >= 0 && k < count) ? values_[first + k] : 0; }

    std::array<int16_t, kParamCount> values_{};
    std::array<int16_t, kPerPileCopySize> perPile_{};
};

} // namespace cw::catalog
