// Tests of the rule parameter name table and of the named accessors of Rules.
#include "catalog/params.h"
#include "catalog/rule_values.h"
#include "catalog/rules.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace cw::catalog {
namespace {

TEST(Params, EveryNumberCoveredOnceAndNamesUnique)
{
    std::vector<int> seen(kParamCount, 0);
    std::set<std::string_view> names;
    for (const ParamSpec& p : allParams()) {
        EXPECT_TRUE(names.insert(p.name).second) << "duplicate name " << p.name;
        EXPECT_FALSE(p.meaning.empty()) << p.name;
        for (int k = 0; k < p.count; ++k) {
            ASSERT_GE(p.number + k, 1);
            ASSERT_LE(p.number + k, kLastParam);
            ++seen[p.number + k];
        }
    }
    for (int n = 1; n <= kLastParam; ++n)
        EXPECT_EQ(seen[n], 1) << "parameter " << n;
}

TEST(Params, NameNumberRoundTripForAll)
{
    for (int n = 1; n <= kLastParam; ++n) {
        std::string name = paramName(n);
        ASSERT_FALSE(name.empty()) << n;
        auto ref = findParam(name);
        ASSERT_TRUE(ref) << name;
        EXPECT_EQ(ref->number, n) << name;
        EXPECT_EQ(ref->count, 1) << name;
        EXPECT_EQ(findParam(std::to_string(n)), (ParamRef{n, 1}));
    }
}

TEST(Params, Lookups)
{
    struct Case {
        std::string_view name;
        std::optional<ParamRef> expected;
    };
    const Case cases[] = {
        {"foundation.setup", ParamRef{1, 1}},
        {"tableau.deal", ParamRef{382, 40}},
        {"tableau.deal.1", ParamRef{382, 1}},
        {"tableau.deal.3", ParamRef{384, 1}},
        {"tableau.deal.40", ParamRef{421, 1}},
        {"tableau.deal.41", std::nullopt},
        {"tableau.deal.0", std::nullopt},
        {"reserve.accept.12", ParamRef{346, 1}},
        {"unused.9", ParamRef{9, 1}},
        {"winrate.undecided", ParamRef{489, 1}},
        {"unused.489", std::nullopt},    // 489 has a real name
        {"unused.10", std::nullopt},     // 10 has a real name
        {"stock.deals.1", std::nullopt}, // a single parameter has no elements
        {"foundation.suit_rule_all", ParamRef{487, 1}},
        {"382", ParamRef{382, 1}},
        {"0", std::nullopt},
        {"503", std::nullopt},
        {"-1", std::nullopt},
        {"", std::nullopt},
        {"Tableau.Deal", std::nullopt}, // names are lower case, matched exactly
        {"tableau.deal.x", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findParam(c.name), c.expected) << c.name;

    EXPECT_EQ(paramName(384), "tableau.deal.3");
    EXPECT_EQ(paramName(16), "stock.deals");
    EXPECT_EQ(paramName(0), "");
    EXPECT_EQ(paramName(503), "");
}

// Each accessor must read the parameter its name says: give every parameter its own
// number as value and compare.
TEST(Rules, AccessorsReadTheNamedParameter)
{
    Rules r;
    for (int n = 1; n <= kLastParam; ++n)
        r.set(n, n);

    struct Scalar {
        std::string_view name;
        std::function<int(const Rules&)> get;
    };
    const Scalar scalars[] = {
        {"foundation.setup", &Rules::foundationSetup},
        {"sequence_rule", &Rules::sequenceRule},
        {"tableau.fan_style", &Rules::tableauFanStyle},
        {"foundation.fan_style", &Rules::foundationFanStyle},
        {"reserve.fan_style", &Rules::reserveFanStyle},
        {"tableau.mixed_style", &Rules::tableauMixedStyle},
        {"stock.face_at_deal", &Rules::stockFaceAtDeal},
        {"waste.locked", &Rules::wasteLocked},
        {"stock.shown", &Rules::stockShown},
        {"stock.turns_to_waste", &Rules::stockTurnsToWaste},
        {"deal.extra_step", &Rules::dealExtraStep},
        {"tableau.group_limit", &Rules::groupLimit},
        {"reserve.pickup_rule", &Rules::reservePickupRule},
        {"stock.deals", &Rules::deals},
        {"stock.redeal_mode", &Rules::redealMode},
        {"stock.draw_restriction", &Rules::drawRestriction},
        {"foundation.take_back", &Rules::foundationTakeBack},
        {"autoplay.available", &Rules::autoplayAvailable},
        {"autoplay.foundation_target", &Rules::autoplayFoundationTarget},
        {"undo_off", &Rules::undoOff},
        {"stock.cards_per_click", &Rules::cardsPerClick},
        {"tableau.auto_fill", &Rules::tableauAutoFill},
        {"deal.post_deal_order", &Rules::postDealOrder},
        {"tableau.grid_rows", &Rules::tableauGridRows},
        {"tableau.grid_columns", &Rules::tableauGridColumns},
        {"tableau.grid_row_length", &Rules::tableauGridRowLength},
        {"foundation.resort", &Rules::foundationResort},
        {"deal.kings_to_bottom", &Rules::kingsToBottom},
        {"foundation.capacity", &Rules::foundationCapacity},
        {"tableau.capacity", &Rules::tableauCapacity},
        {"deal.pattern", &Rules::dealPattern},
        {"stock.first_restriction", &Rules::stockFirstRestriction},
        {"click_to_play", &Rules::clickToPlay},
        {"screen_class", &Rules::screenClass},
        {"selection_game", &Rules::selectionGame},
        {"first_move_to_foundation", &Rules::firstMoveToFoundation},
        {"fill_after_first_move", &Rules::fillAfterFirstMove},
        {"tableau.auto_face_up", &Rules::tableauAutoFaceUp},
        {"tableau.cards_per_row", &Rules::tableauCardsPerRow},
        {"jokers", &Rules::jokers},
        {"tutor", &Rules::tutor},
        {"score.constant", &Rules::scoreConstant},
        {"reduced_pack", &Rules::reducedPack},
        {"suit_folding", &Rules::suitFolding},
        {"foundation.start_test", &Rules::foundationStartTest},
        {"hiscore.base", &Rules::hiscoreBase},
        {"score.target", &Rules::targetScore},
        {"special_family", &Rules::specialFamily},
        {"waste2.start_card", &Rules::waste2StartCard},
        {"waste.accepts", &Rules::wasteAccepts},
        {"waste.never_target", &Rules::wasteNeverTarget},
        {"layout.stock_arrangement", &Rules::stockArrangement},
        {"layout.stock_row", &Rules::stockRow},
        {"layout.foundation_arrangement", &Rules::foundationArrangement},
        {"layout.foundation_row", &Rules::foundationRow},
        {"layout.table_arrangement", &Rules::tableArrangement},
        {"layout.table_row", &Rules::tableRow},
        {"layout.reserve_arrangement", &Rules::reserveArrangement},
        {"layout.reserve_row", &Rules::reserveRow},
        {"layout.waste2_arrangement", &Rules::waste2Arrangement},
        {"layout.waste2_row", &Rules::waste2Row},
        {"layout.stock_piles", &Rules::stockPiles},
        {"foundation.count", &Rules::foundationCount},
        {"tableau.count", &Rules::tableauCount},
        {"reserve.count", &Rules::reserveCount},
        {"waste2.count", &Rules::waste2Count},
        {"cards", &Rules::cardsInPlay},
        {"stock.deal", &Rules::stockDeal},
        {"waste.deal", &Rules::wasteDeal},
        {"joker_count", &Rules::jokerCount},
        {"waste2.deal", &Rules::waste2Deal},
        {"foundation.suit_rule_all", &Rules::foundationSuitRuleAll},
        {"tableau.suit_rule_all", &Rules::tableauSuitRuleAll},
        {"wizard.cards_per_click", &Rules::wizardCardsPerClick},
        {"wizard.deals", &Rules::wizardDeals},
        {"wizard.empty_rule", &Rules::wizardEmptyRule},
        {"wizard.tableau_direction", &Rules::wizardTableauDirection},
        {"wizard.tableau_suit_rule", &Rules::wizardTableauSuitRule},
        {"wizard.foundation_direction", &Rules::wizardFoundationDirection},
        {"wizard.foundation_suit_rule", &Rules::wizardFoundationSuitRule},
        {"chooser.game_time", &Rules::gameTime},
        {"chooser.difficulty", &Rules::difficulty},
        {"chooser.skill", &Rules::skill},
        {"chooser.chance", &Rules::chanceOfWinning},
        {"winrate.won", &Rules::winrateWon},
        {"winrate.sample", &Rules::winrateSample},
    };
    for (const Scalar& s : scalars) {
        auto ref = findParam(s.name);
        ASSERT_TRUE(ref) << s.name;
        ASSERT_EQ(ref->count, 1) << s.name;
        EXPECT_EQ(s.get(r), ref->number) << s.name;
    }

    struct Ranged {
        std::string_view name;
        std::function<int(const Rules&, int)> get;
    };
    const Ranged ranges[] = {
        {"foundation.base", &Rules::foundationBase},
        {"foundation.direction", &Rules::foundationDirection},
        {"foundation.suit_rule", &Rules::foundationSuitRule},
        {"foundation.initial_card", &Rules::foundationInitialCard},
        {"foundation.completion", &Rules::foundationCompletion},
        {"tableau.empty_rule", &Rules::tableauEmptyRule},
        {"tableau.direction", &Rules::tableauDirection},
        {"tableau.suit_rule", &Rules::tableauSuitRule},
        {"tableau.continuity", &Rules::tableauContinuity},
        {"stock.deals_to_tableau", &Rules::stockDealsToTableau},
        {"reserve.accept", &Rules::reserveAccept},
        {"stock.deals_to_reserve", &Rules::stockDealsToReserve},
        {"tableau.deal", &Rules::tableauDeal},
        {"tableau.face", &Rules::tableauFace},
        {"reserve.deal", &Rules::reserveDeal},
        {"reserve.face", &Rules::reserveFace},
    };
    for (const Ranged& g : ranges) {
        auto ref = findParam(g.name);
        ASSERT_TRUE(ref) << g.name;
        ASSERT_GT(ref->count, 1) << g.name;
        for (int k = 0; k < ref->count; ++k)
            EXPECT_EQ(g.get(r, k), ref->number + k) << g.name << " " << k;
        // An index past the range must not read the neighbouring range.
        EXPECT_EQ(g.get(r, ref->count), 0) << g.name;
        EXPECT_EQ(g.get(r, -1), 0) << g.name;
    }
}

TEST(Rules, PerPileCopyRestoresLoadedValues)
{
    Rules r;
    for (int n = 1; n <= kLastParam; ++n)
        r.set(n, n);
    r.savePerPileCopy();
    const Rules loaded = r;
    // The deal rewrites empty-pile rules and foundation bases; other parameters are not in the copy.
    r.set(135, 13);
    r.set(174, -1);
    r.set(55, 7);
    r.set(70, 1);
    r.set(54, 99);
    r.restorePerPileParameters();
    EXPECT_EQ(r.tableauEmptyRule(0), 135);
    EXPECT_EQ(r.tableauEmptyRule(39), 174);
    EXPECT_EQ(r.foundationBase(0), 55);
    EXPECT_EQ(r.foundationBase(15), 70);
    EXPECT_EQ(r.specialFamily(), 99);
    r.set(54, 54);
    EXPECT_EQ(r, loaded);
}

// The catalog source's value words and the engine's names are one table: each word covers a whole
// parameter (or per-pile range), means one value there, and reads back as the engine's name.
TEST(RuleValues, WordsCoverWholeParametersAndMatchTheEngineNames)
{
    std::set<std::pair<int, std::string_view>> words;
    for (const NamedRuleValue& nv : namedRuleValues()) {
        const ParamSpec* spec = paramSpec(nv.first);
        ASSERT_NE(spec, nullptr) << nv.name;
        EXPECT_EQ(spec->number, nv.first) << nv.name;
        EXPECT_EQ(spec->count, nv.count) << nv.name;
        EXPECT_TRUE(words.insert({nv.first, nv.name}).second) << "duplicate word " << nv.name;
        for (int n : {nv.first, nv.first + nv.count - 1})
            EXPECT_EQ(namedRuleValue(n, nv.name), nv.value) << nv.name;
    }
    struct Case {
        std::string_view param;
        std::string_view word;
        std::optional<int> value;
    };
    const Case cases[] = {
        {"tableau.empty_rule.40", "king", EmptyRule::King},
        {"tableau.empty_rule.1", "base_rank", EmptyRule::BaseRank},
        {"reserve.pickup_rule", "lifts_groups", ReservePickup::LiftsGroups},
        {"foundation.base.16", "runs", FoundationBase::Runs},
        {"stock.deals", "unlimited", Deals::Unlimited},
        {"tableau.suit_rule_all", "per_pile", BuildRule::PerPile},
        {"tableau.direction.2", "king", std::nullopt}, // a word of another parameter
        {"reserve.deal.1", "anything", std::nullopt},  // a range next to the word's
        {"stock.deals", "Unlimited", std::nullopt},    // words are lower case
    };
    for (const Case& c : cases)
        EXPECT_EQ(namedRuleValue(findParam(c.param)->number, c.word), c.value) << c.param << " " << c.word;
}

TEST(Rules, DerivedQuestionsReadTheNamedValues)
{
    Rules r;
    r.set(215, BuildRule::Alternate);
    r.set(216, BuildRule::Suit);
    r.set(87 + 2, BuildRule::Colour);
    r.set(487, BuildRule::PerPile);
    r.set(488, BuildRule::PerPile);
    EXPECT_EQ(r.tableauBuildRule(0), BuildRule::Alternate);
    EXPECT_EQ(r.tableauBuildRule(1), BuildRule::Suit);
    EXPECT_EQ(r.foundationBuildRule(2), BuildRule::Colour);
    r.set(488, BuildRule::AnySuit); // the "all" form wins over every pile's own rule
    r.set(487, BuildRule::None);
    EXPECT_EQ(r.tableauBuildRule(0), BuildRule::AnySuit);
    EXPECT_EQ(r.tableauBuildRule(1), BuildRule::AnySuit);
    EXPECT_EQ(r.foundationBuildRule(2), BuildRule::None);

    EXPECT_FALSE(r.unlimitedDeals() || r.reserveLiftsGroups() || r.topCardOnly() || r.takesRuns(0));
    r.set(16, Deals::Unlimited);
    r.set(15, ReservePickup::LiftsGroups);
    r.set(2, SequenceRule::TopCardOnly);
    r.set(55 + 3, FoundationBase::RunsDown);
    r.set(135 + 4, EmptyRule::BaseRank);
    EXPECT_TRUE(r.unlimitedDeals() && r.reserveLiftsGroups() && r.topCardOnly());
    EXPECT_TRUE(r.takesRuns(3));
    EXPECT_FALSE(r.takesRuns(2));
    EXPECT_TRUE(r.emptyTableauTakesBaseRank(4));
    EXPECT_FALSE(r.emptyTableauTakesBaseRank(3));
    for (int base : {-1, 0, 1, 13, 81, 92, 96})
        EXPECT_FALSE(isRunBase(base)) << base;
}

} // namespace
} // namespace cw::catalog
