// Pile layout: where every pile of the current game stands on the table, from the game's
// layout codes, the card size and the room in the window. Pure integer arithmetic.
#pragma once

#include <array>
#include <string>

#include "catalog/rules.h"
#include "engine/card_size.h"
#include "engine/table.h"

namespace cw::engine {

// A coordinate below this bound marks a pile that is not on the table: never drawn, never hit.
inline constexpr int kPresentBound = -9999;
// Values written before a layout and for piles an arrangement places nowhere.
inline constexpr int kNotPlaced = -10000;
inline constexpr int kResetFoundation = -10001;
inline constexpr int kResetTableau = -10002;
inline constexpr int kResetReserve = -10003;

constexpr bool isPresentCoord(int c) { return c >= kPresentBound; }

struct Point {
    int x = kNotPlaced;
    int y = kNotPlaced;
    bool present() const { return isPresentCoord(x) && isPresentCoord(y); }
    friend bool operator==(const Point&, const Point&) = default;
};

// A rectangle of pixels; `contains` includes all four edges (x .. x + width, y .. y + height),
// as every hit comparison on the table does.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int right() const { return x + width; }
    int bottom() const { return y + height; }
    bool contains(int px, int py) const { return px >= x && px <= right() && py >= y && py <= bottom(); }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Shared pixel area of two rectangles (0 when they do not overlap).
int overlapArea(const Rect& a, const Rect& b);

// The room one layout run has. Zero for windowHeight, screenWidth or screenHeight means
// "the same as the client area" (a maximised window on a screen of that size).
struct LayoutRoom {
    int width = 800;        // client width, less a shown vertical scroll bar
    int clientHeight = 600;
    int top = 0;            // first row below the toolbar (and its separator lines)
    int statusHeight = 0;   // height of a shown status bar
    int windowHeight = 0;   // outer height of the window
    int screenWidth = 0;
    int screenHeight = 0;
    int shadowMargin = 0;   // 9 when cards are drawn with a shadow

    int effectiveWindowHeight() const { return windowHeight > 0 ? windowHeight : clientHeight; }
    int effectiveScreenWidth() const { return screenWidth > 0 ? screenWidth : width; }
    int effectiveScreenHeight() const { return screenHeight > 0 ? screenHeight : effectiveWindowHeight(); }
    // Last usable pixel row: the top of the status bar, or the last client row.
    int bottom() const { return statusHeight > 0 ? clientHeight - statusHeight : clientHeight - 1; }
};

// The spacing values every arrangement builds on.
struct LayoutSpacing {
    int stockGap = 15;   // G
    int wideGap = 20;    // G2
    int rowGap = 10;     // V
    int width = 0;       // room width, narrowed on short windows
    int usable = 0;      // T: usable row width
    int margin = 0;      // M: left margin
    int top = 0;
    int bottom = 0;
    std::array<int, 4> rows{}; // R1..R4
    int bottomRow = 0;   // RB
    int middleRow = 0;   // RM
    int block3 = 0;      // C3: first row of a centred block of three rows
    int block4 = 0;      // C4: first row of a centred block of four rows
};

// The five layout codes of a game: a row (1..4) and an arrangement number per pile group.
struct LayoutCode {
    int row = 1;
    int arrangement = 0;
    friend bool operator==(const LayoutCode&, const LayoutCode&) = default;
};
struct LayoutCodes {
    LayoutCode stock, foundation, table, reserve, secondWaste;
};
// The row of a row parameter: its first decimal digit; 0, a sign or a digit above 4 read as
// the nearest row (0 and "-" as 1, 5..9 as 4).
int layoutRowDigit(int parameter);
LayoutCodes layoutCodes(const catalog::Rules& rules);

LayoutSpacing layoutSpacing(const catalog::Rules& rules, const LayoutRoom& room, CardDims card);

// Which pile groups named an arrangement number the layout does not know (they were laid out
// by the nearest general rule instead).
enum LayoutGroupBit : unsigned {
    kUnknownStock = 1u,
    kUnknownFoundation = 2u,
    kUnknownTable = 4u,
    kUnknownReserve = 8u,
    kUnknownSecondWaste = 16u,
};

// Top-left corners of every pile in table coordinates (Y unscrolled: subtract `scroll` for
// the window). A corner below -9999 is a pile that is not on the table.
struct Geometry {
    int cardWidth = 0;
    int cardHeight = 0;
    std::array<Point, kStockGroupPiles> stockGroup{}; // stock, waste, second waste
    std::array<Point, kFoundationPiles> foundations{};
    std::array<Point, kTableauPiles> tableau{};
    std::array<Point, kReservePiles> reserves{};
    int scroll = 0;        // current scroll position
    int rowPitch = 0;      // vertical distance between two layout rows of the arrangement
    int tableauPitch = 0;  // horizontal pitch of horizontally fanned tableau piles, else 0
    unsigned unknownArrangements = 0; // LayoutGroupBit flags

    // Every corner set to its "not present" reset value.
    Geometry();

    Point corner(PileRef pile) const;
    void setCorner(PileRef pile, Point p);
    bool present(PileRef pile) const { return pile.valid() && corner(pile).present(); }
    // One card at the pile's corner.
    Rect cardRect(PileRef pile) const;
    Rect cardRectAt(Point p) const { return {p.x, p.y, cardWidth, cardHeight}; }
    // Window Y of a table Y and back.
    int toView(int tableY) const { return tableY - scroll; }
    int toTable(int viewY) const { return viewY + scroll; }
};

// Which stock-group piles a game lays out (stock-group pile count, shown stock, waste).
struct StockGroupUse {
    bool stock = false;
    bool waste = false;
    bool secondWaste = false;
};
StockGroupUse stockGroupUse(const catalog::Rules& rules);

// Lays out every pile of the game. `scroll` is only recorded: corners are unscrolled.
Geometry layoutPiles(const catalog::Rules& rules, const LayoutRoom& room, CardSize size, int scroll = 0);
Geometry layoutPiles(const catalog::Rules& rules, const LayoutRoom& room, CardDims card, int scroll = 0);

// Validation for the catalog: every pile the game uses has a known arrangement, lies wholly
// inside a width x height room (screen of the same size, no toolbar or status bar), no two of
// them share a corner and no piles of different groups cover each other. On failure the
// reason goes to *whyNot (when given), naming the piles.
bool fitsIn(const catalog::Rules& rules, int width, int height, CardSize size, std::string* whyNot);

// The room of a table drawn `scale` times larger: every length divided by the scale (rounded down).
LayoutRoom scaledRoom(const LayoutRoom& room, double scale);
// The layout of the game with cards of `size` fits the room as a player needs it: every pile the
// game uses lies between the room's top and bottom, no two share a corner, none covers a pile of
// another group, and a tableau that fans downward has room below its lowest row for a run from
// King to Ace. On failure the reason goes to *whyNot (when given).
bool fitsWithFans(const catalog::Rules& rules, const LayoutRoom& room, CardSize size, std::string* whyNot);

// The cards following the window: the whole table, laid out with cards of `base`, is drawn larger
// or smaller by one scale, the largest at which the layout fits (fitsWithFans) the scaled room.
// Cards are a whole number of window pixels wide (cardWidth = scale x the base width), from
// minWidth to maxWidth; when not even minWidth fits, that size with fits false.
struct FittedScale {
    double scale = 1.0;
    int cardWidth = 0;
    bool fits = false;
};
FittedScale fittingScale(const catalog::Rules& rules, const LayoutRoom& room, CardSize base, int minWidth = 16,
                         int maxWidth = 240);

} // namespace cw::engine
