// The value words of the catalog source, built from the engine's named rule values.
#include "catalog/rule_values.h"

namespace cw::catalog {
namespace {

// clang-format off
constexpr NamedRuleValue kNamedValues[] = {
    {497, 1, "long", GameTime::Long}, {497, 1, "medium", GameTime::Medium}, {497, 1, "quick", GameTime::Quick},
    {498, 1, "easy", Difficulty::Easy}, {498, 1, "medium", Difficulty::Medium}, {498, 1, "hard", Difficulty::Hard},
    {499, 1, "difficult", Skill::Difficult}, {499, 1, "mostly_skill", Skill::MostlySkill},
    {499, 1, "moderate", Skill::Moderate}, {499, 1, "mostly_chance", Skill::MostlyChance},
    {499, 1, "chance_only", Skill::ChanceOnly},
    {500, 1, "very_high", Chance::VeryHigh}, {500, 1, "high", Chance::High}, {500, 1, "medium", Chance::Medium},
    {500, 1, "low", Chance::Low}, {500, 1, "very_low", Chance::VeryLow},
    {16, 1, "unlimited", Deals::Unlimited}, {16, 1, "once", Deals::Once},
    {14, 1, "unlimited", GroupLimit::Unlimited},
    {15, 1, "top_card", ReservePickup::TopCard}, {15, 1, "lifts_groups", ReservePickup::LiftsGroups},
    {15, 1, "open_row", ReservePickup::OpenRow},
    // Directions of foundations and tableau piles.
    {71, 16, "down", Direction::Down}, {71, 16, "up", Direction::Up}, {71, 16, "both", Direction::Both},
    {175, 40, "down", Direction::Down}, {175, 40, "up", Direction::Up}, {175, 40, "both", Direction::Both},
    // Building rules.
    {87, 16, "suit", BuildRule::Suit}, {87, 16, "colour", BuildRule::Colour}, {87, 16, "any_suit", BuildRule::AnySuit},
    {87, 16, "alternate", BuildRule::Alternate}, {87, 16, "none", BuildRule::None},
    {87, 16, "other_suit", BuildRule::OtherSuit},
    {215, 40, "suit", BuildRule::Suit}, {215, 40, "colour", BuildRule::Colour}, {215, 40, "any_suit", BuildRule::AnySuit},
    {215, 40, "alternate", BuildRule::Alternate}, {215, 40, "none", BuildRule::None},
    {215, 40, "any_card", BuildRule::AnyCard}, {215, 40, "other_suit", BuildRule::OtherSuit},
    {215, 40, "empty_only", BuildRule::EmptyOnly},
    {215, 40, "alternate_not_from_reserve", BuildRule::AlternateNotFromReserve},
    {487, 1, "per_pile", BuildRule::PerPile}, {487, 1, "suit", BuildRule::Suit}, {487, 1, "colour", BuildRule::Colour},
    {487, 1, "any_suit", BuildRule::AnySuit}, {487, 1, "alternate", BuildRule::Alternate},
    {487, 1, "none", BuildRule::None},
    {488, 1, "per_pile", BuildRule::PerPile}, {488, 1, "suit", BuildRule::Suit}, {488, 1, "colour", BuildRule::Colour},
    {488, 1, "any_suit", BuildRule::AnySuit}, {488, 1, "alternate", BuildRule::Alternate},
    {488, 1, "none", BuildRule::None},
    // Empty-pile rules and foundation bases.
    {135, 40, "any", EmptyRule::Any}, {135, 40, "none", EmptyRule::None}, {135, 40, "king", EmptyRule::King},
    {135, 40, "ace", EmptyRule::Ace}, {135, 40, "single", EmptyRule::Single},
    {135, 40, "from_stock", EmptyRule::FromStock}, {135, 40, "not_from_tableau", EmptyRule::NotFromTableau},
    {135, 40, "base_rank", EmptyRule::BaseRank}, {135, 40, "ace_or_king", EmptyRule::AceOrKing},
    {55, 16, "ace", FoundationBase::Ace}, {55, 16, "king", FoundationBase::King}, {55, 16, "any", FoundationBase::Any},
    {55, 16, "runs", FoundationBase::Runs}, {55, 16, "runs_by_rule", FoundationBase::RunsByRule},
    {55, 16, "chosen", FoundationBase::Chosen},
    // Tableau continuity: whether building turns between King and Ace.
    {255, 40, "no_turn", Continuity::NoTurn}, {255, 40, "stops_at_base", Continuity::StopsAtBase},
    {255, 40, "turns", Continuity::Turns},
    // Reserve acceptance.
    {335, 12, "free_cell", ReserveAccept::FreeCell}, {335, 12, "nothing", ReserveAccept::Nothing},
    {335, 12, "anything", ReserveAccept::Anything}, {335, 12, "from_waste", ReserveAccept::FromWaste},
    {335, 12, "up_in_suit", ReserveAccept::UpInSuit}, {335, 12, "waive", ReserveAccept::Waive},
};
// clang-format on

} // namespace

std::span<const NamedRuleValue> namedRuleValues() { return kNamedValues; }

std::optional<int> namedRuleValue(int number, std::string_view word)
{
    for (const NamedRuleValue& nv : kNamedValues)
        if (number >= nv.first && number < nv.first + nv.count && nv.name == word)
            return nv.value;
    return std::nullopt;
}

} // namespace cw::catalog
