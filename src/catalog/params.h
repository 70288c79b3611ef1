// Names and short meanings of the rule parameters 1..502: the one table every module uses to name them.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace cw::catalog {

// One entry names a single parameter (count 1) or a per-pile range of `count`
// consecutive parameters starting at `number` (element k, 0-based, is number + k).
struct ParamSpec {
    int number;
    std::string_view name;
    std::string_view meaning;
    int count = 1;
};

// A resolved reference: the first parameter number and how many follow it.
struct ParamRef {
    int number;
    int count;
    friend bool operator==(const ParamRef&, const ParamRef&) = default;
};

// Every entry, in ascending parameter order; together they cover 1..502 exactly once.
std::span<const ParamSpec> allParams();

// The entry that holds parameter `number`, or nullptr outside 1..502.
const ParamSpec* paramSpec(int number);

// Resolves "tableau.deal" (the whole range), "tableau.deal.3" (third pile, 1-based),
// a single name such as "stock.deals", or a plain number such as "382".
std::optional<ParamRef> findParam(std::string_view name);

// "stock.deals", "tableau.deal.3" for 384; the empty text outside 1..502.
std::string paramName(int number);

} // namespace cw::catalog
