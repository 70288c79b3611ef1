// The rules the engine plays under: the rule parameter vector with the family it names, resolved once.
#pragma once

#include "catalog/rules.h"

namespace cw::engine {

class Family;
const Family& ordinaryFamily();
const Family& familyFor(int number);

// A game's rule parameters as loaded or as the deal adjusted them, carrying the special family
// of rule parameter 54. The family is resolved when the rules are made (loaded, dealt, opened)
// and follows every copy, so the engine asks it without looking anything up by number.
class GameRules : public catalog::Rules {
public:
    GameRules() : family_(&ordinaryFamily()) {}
    explicit GameRules(const catalog::Rules& rules) : catalog::Rules(rules), family_(&familyFor(rules.specialFamily()))
    {}
    // Rules played by a given family (tests and tools that try a family on any rules).
    GameRules(const catalog::Rules& rules, const Family& family) : catalog::Rules(rules), family_(&family) {}

    const Family& family() const { return *family_; }

    // Setting rule parameter 54 resolves the family anew; other values keep it.
    void set(int n, int value)
    {
        catalog::Rules::set(n, value);
        if (n == kFamilyParameter)
            family_ = &familyFor(specialFamily());
    }
    void clear()
    {
        catalog::Rules::clear();
        family_ = &ordinaryFamily();
    }

private:
    static constexpr int kFamilyParameter = 54;
    const Family* family_;
};

} // namespace cw::engine
