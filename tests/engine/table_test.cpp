// The table model: pile names and numbers, face patterns, find-and-edit, locate, text forms.
#include <gtest/gtest.h>

#include "engine/table.h"
#include "engine/table_text.h"

using namespace cw::engine;

namespace {

Pile pileOf(std::string_view text)
{
    Pile p;
    EXPECT_TRUE(decodePileString(text, p)) << text;
    return p;
}

} // namespace

TEST(PileNames, NamesNumbersAndOrderRoundTrip)
{
    struct Row {
        PileRef pile;
        const char* name;
        int number;
        int order;
    };
    const Row rows[] = {
        {PileRef::stock(), "Mazzo", -99, 0},
        {PileRef::waste(), "Mazzo_Vis", -98, 1},
        {PileRef::secondWaste(), "Mazzo_Waste", -97, 2},
        {PileRef::foundation(0), "Dest1", -1, 3},
        {PileRef::foundation(15), "Dest16", -16, 18},
        {PileRef::tableau(0), "Fila1", 1, 19},
        {PileRef::tableau(11), "Fila12", 12, 30},
        {PileRef::tableau(39), "Fila40", 40, 58},
        {PileRef::reserve(0), "Appogg1", -21, 59},
        {PileRef::reserve(11), "Appogg12", -32, 70},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(pileName(r.pile), r.name);
        EXPECT_EQ(pileFromName(r.name), r.pile);
        EXPECT_EQ(pileNumber(r.pile), r.number);
        EXPECT_EQ(pileFromNumber(r.number), r.pile);
        EXPECT_EQ(tableOrderIndex(r.pile), r.order);
        EXPECT_EQ(pileAtTableOrder(r.order), r.pile);
    }
    EXPECT_EQ(pileNumber(PileRef{}), 0);
    EXPECT_FALSE(pileFromNumber(0).valid());
    EXPECT_FALSE(pileFromNumber(-20).valid());
    EXPECT_FALSE(pileFromNumber(41).valid());
}

TEST(PileNames, KindsAndParsingLimits)
{
    struct Row {
        const char* name;
        PileKind kind;
        bool valid;
    };
    const Row rows[] = {
        {"Mazzo_Vis", PileKind::Waste, true},   {"Mazzo", PileKind::Stock, true},
        {"Mazzo_Waste", PileKind::SecondWaste, true}, {"Waste", PileKind::SecondWaste, true},
        {"Fila3", PileKind::Tableau, true},     {"Fila123", PileKind::Tableau, true}, // reads "12"
        {"Fila41", PileKind::Tableau, false},   {"Fila0", PileKind::Tableau, false},
        {"Fila", PileKind::Tableau, false},     {"Dest17", PileKind::Foundation, false},
        {"Appogg13", PileKind::Reserve, false}, {"Stock02", PileKind::Unknown, false},
        {"", PileKind::Unknown, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(pileKindOfName(r.name), r.kind);
        EXPECT_EQ(pileFromName(r.name).valid(), r.valid);
    }
    EXPECT_EQ(pileFromName("Fila123"), PileRef::tableau(11));
}

TEST(Table, FacePatterns)
{
    struct Row {
        int pattern;
        bool flag;
        const char* expected; // face per card from the bottom, starting all face down
    };
    const Row rows[] = {
        {-1, false, "udud"}, {-2, true, "dudu"}, {-3, false, "uddd"},
        {2, true, "dduu"},   {9, true, "uuuu"},  {0, true, "dddd"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.pattern);
        Table t;
        for (int c : {1, 2, 3, 4})
            t.append(PileRef::tableau(0), c, false);
        t.setFaceByPattern(PileRef::tableau(0), r.pattern, r.flag);
        std::string faces;
        for (int c : {1, 2, 3, 4})
            faces += t.isFaceUp(c) ? 'u' : 'd';
        EXPECT_EQ(faces, r.expected);
    }
}

TEST(Table, FindAndEditModes)
{
    struct Row {
        const char* pile;
        int code;
        EditMode mode;
        bool found;
        const char* after;
    };
    const Row rows[] = {
        {"001000002003", 2, EditMode::RemoveWithPlaceholder, true, "001003"},
        {"001000002003", 2, EditMode::Remove, true, "001000003"},
        {"001000002003", 2, EditMode::Blank, true, "001000000003"},
        {"001000002003", 2, EditMode::Report, true, "001000002003"},
        {"002003", 2, EditMode::RemoveWithPlaceholder, true, "003"},
        {"001003", 2, EditMode::Remove, false, "001003"},
        {"", 2, EditMode::Remove, false, ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.pile);
        Table t;
        t.pile(PileRef::tableau(2)) = pileOf(r.pile);
        EXPECT_EQ(t.findAndEdit(PileRef::tableau(2), r.code, r.mode), r.found);
        EXPECT_EQ(encodePileString(t.tableau(2)), r.after);
    }
}

TEST(Table, LocateCardSearchesInFixedOrder)
{
    Table t;
    t.append(PileRef::waste(), 5);
    t.append(PileRef::tableau(0), 5); // same code twice: the waste is searched first
    t.append(PileRef::tableau(7), 6);
    t.append(PileRef::foundation(3), 7);
    t.append(PileRef::stock(), 8);
    t.append(PileRef::secondWaste(), 9);
    t.append(PileRef::reserve(11), 10);

    EXPECT_EQ(t.locateCard(5, EditMode::Report, 8), PileRef::waste());
    EXPECT_EQ(t.locateCard(6, EditMode::Report, 8), PileRef::tableau(7));
    EXPECT_FALSE(t.locateCard(6, EditMode::Report, 7).valid()); // pile 8 is not in use
    EXPECT_EQ(static_cast<int>(t.locateCard(7, EditMode::Report, 8).kind), 5);
    EXPECT_EQ(t.locateCard(8, EditMode::Report, 8), PileRef::stock());
    EXPECT_EQ(t.locateCard(9, EditMode::Report, 8), PileRef::secondWaste());
    EXPECT_EQ(t.locateCard(10, EditMode::Blank, 8), PileRef::reserve(11));
    EXPECT_EQ(encodePileString(t.reserve(11)), "000");
    EXPECT_FALSE(t.locateCard(11, EditMode::Remove, 8).valid());
    EXPECT_FALSE(t.locateCard(0, EditMode::Remove, 8).valid());

    EXPECT_EQ(t.locateCard(5, EditMode::Remove, 8), PileRef::waste());
    EXPECT_TRUE(t.waste().empty());
    EXPECT_EQ(t.locateCard(5, EditMode::Remove, 8), PileRef::tableau(0));
}

TEST(Table, FaceIsPropertyOfTheCard)
{
    Table t;
    EXPECT_TRUE(t.isFaceUp(1)); // every card starts face up
    EXPECT_TRUE(t.isFaceDown(0));
    t.append(PileRef::tableau(0), 1, false);
    ASSERT_TRUE(t.findAndEdit(PileRef::tableau(0), 1, EditMode::Remove));
    t.append(PileRef::tableau(1), 1);
    EXPECT_TRUE(t.isFaceDown(1));
    EXPECT_EQ(t.tableau(0).top(), 0); // an empty pile has no top card
}

TEST(Table, PileBackupRestoresPilesOnly)
{
    Table t;
    t.append(PileRef::tableau(0), 12, true);
    const PileLists backup = t.savePiles();
    t.append(PileRef::tableau(0), 13, true);
    t.clearPiles();
    t.restorePiles(backup);
    EXPECT_EQ(encodePileString(t.tableau(0)), "012");
}

TEST(TableText, PileStringRejectsMalformedText)
{
    Pile p = pileOf("014027040001");
    EXPECT_EQ(p.size(), 4u);
    EXPECT_EQ(p.top(), 1);
    EXPECT_EQ(p.bottom(), 14);
    for (const char* bad : {"01402", "014x27", "213", "-01"}) {
        EXPECT_FALSE(decodePileString(bad, p)) << bad;
        EXPECT_EQ(p.size(), 4u);
    }
}

TEST(TableText, SnapshotRoundTripKeepsFacesAndPlaceholders)
{
    Table t;
    t.append(PileRef::tableau(4), 1, false);
    t.append(PileRef::tableau(4), 2, true);
    EXPECT_EQ(encodeSnapshotPile(t, PileRef::tableau(4)), "00100021");
    t.append(PileRef::tableau(4), 0);
    t.append(PileRef::reserve(2), 212, true);
    t.append(PileRef::stock(), 104, false);

    const auto lines = encodeSnapshot(t);
    EXPECT_EQ(lines[0], "1040");
    EXPECT_EQ(lines[19 + 4], "001000210000");
    EXPECT_EQ(lines[59 + 2], "2121");

    Table back;
    ASSERT_TRUE(decodeSnapshot(std::vector<std::string>(lines.begin(), lines.end()), back));
    EXPECT_EQ(back.piles(), t.piles());
    for (int c : {1, 2, 212, 104})
        EXPECT_EQ(back.isFaceUp(c), t.isFaceUp(c)) << c;
}

TEST(TableText, SnapshotDecodeNamesTheBadLineAndKeepsTheTable)
{
    Table t;
    t.append(PileRef::tableau(0), 3, true);
    std::vector<std::string> lines(kTablePiles);
    lines[20] = "00110012"; // tableau pile 2: flag "2" is not a face flag
    std::string error;
    EXPECT_FALSE(decodeSnapshot(lines, t, &error));
    EXPECT_NE(error.find("line 21"), std::string::npos) << error;
    EXPECT_NE(error.find("Fila2"), std::string::npos) << error;
    EXPECT_EQ(t.tableau(0).top(), 3);

    lines[20] = "0011\r"; // CR of a CR LF file is accepted
    EXPECT_TRUE(decodeSnapshot(lines, t));
    lines.pop_back();
    EXPECT_FALSE(decodeSnapshot(lines, t, &error));
}
