// Pile layout: spacing values, the tableau rows and blocks, and the placement of the stock
// group, foundations, reserves and second waste around them.
#include "engine/layout.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/history.h"

namespace cw::engine {

using catalog::Rules;

namespace {

int clampInt(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }
int ceilDiv(int a, int b) { return (a + b - 1) / b; } // a >= 0, b > 0

bool normalWidth(int width) { return width >= 652 && width <= 32769; }

} // namespace

int overlapArea(const Rect& a, const Rect& b)
{
    const int w = std::min(a.right(), b.right()) - std::max(a.x, b.x);
    const int h = std::min(a.bottom(), b.bottom()) - std::max(a.y, b.y);
    return (w > 0 && h > 0) ? w * h : 0;
}

Geometry::Geometry()
{
    for (auto& p : stockGroup)
        p = {kNotPlaced, kNotPlaced};
    for (auto& p : foundations)
        p = {kResetFoundation, kResetFoundation};
    for (auto& p : tableau)
        p = {kResetTableau, kResetTableau};
    for (auto& p : reserves)
        p = {kResetReserve, kResetReserve};
}

Point Geometry::corner(PileRef pile) const
{
    if (!pile.valid())
        return {};
    const auto i = static_cast<std::size_t>(pile.index);
    switch (pile.kind) {
    case PileKind::Stock: return stockGroup[0];
    case PileKind::Waste: return stockGroup[1];
    case PileKind::SecondWaste: return stockGroup[2];
    case PileKind::Foundation: return foundations[i];
    case PileKind::Tableau: return tableau[i];
    case PileKind::Reserve: return reserves[i];
    default: return {};
    }
}

void Geometry::setCorner(PileRef pile, Point p)
{
    if (!pile.valid())
        return;
    const auto i = static_cast<std::size_t>(pile.index);
    switch (pile.kind) {
    case PileKind::Stock: stockGroup[0] = p; break;
    case PileKind::Waste: stockGroup[1] = p; break;
    case PileKind::SecondWaste: stockGroup[2] = p; break;
    case PileKind::Foundation: foundations[i] = p; break;
    case PileKind::Tableau: tableau[i] = p; break;
    case PileKind::Reserve: reserves[i] = p; break;
    default: break;
    }
}

Rect Geometry::cardRect(PileRef pile) const { return cardRectAt(corner(pile)); }

int layoutRowDigit(int parameter)
{
    const std::string text = std::to_string(parameter);
    const char c = text.empty() ? '0' : text[0];
    if (c < '1' || c > '9')
        return 1;
    return std::min(c - '0', 4);
}

LayoutCodes layoutCodes(const Rules& r)
{
    LayoutCodes c;
    c.stock = {layoutRowDigit(r.stockRow()), r.stockArrangement()};
    c.foundation = {layoutRowDigit(r.foundationRow()), r.foundationArrangement()};
    c.table = {layoutRowDigit(r.tableRow()), r.tableArrangement()};
    c.reserve = {layoutRowDigit(r.reserveRow()), r.reserveArrangement()};
    c.secondWaste = {layoutRowDigit(r.waste2Row()), r.waste2Arrangement()};
    return c;
}

StockGroupUse stockGroupUse(const Rules& r)
{
    StockGroupUse u;
    const int piles = r.stockPiles();
    if (piles >= 2) {
        u.stock = true;
        u.waste = true;
    } else if (piles == 1) {
        // One pile: the stock, or the waste alone when the stock is hidden and turns to it.
        if (r.stockShown() == 0 && r.stockTurnsToWaste() == 1)
            u.waste = true;
        else
            u.stock = true;
    }
    u.secondWaste = r.waste2Count() >= 1;
    return u;
}

LayoutSpacing layoutSpacing(const Rules& r, const LayoutRoom& room, CardDims card)
{
    const int H = card.height;
    const int screenH = room.effectiveScreenHeight();
    const int windowH = room.effectiveWindowHeight();
    const bool smallScreen = screenH < 500;
    const int stockDigit = [&] {
        const std::string t = std::to_string(r.stockRow());
        return t.empty() ? '0' : t[0];
    }();

    LayoutSpacing s;
    s.top = room.top;
    s.bottom = room.bottom();
    s.stockGap = (smallScreen && r.foundationCount() > 4 && r.stockPiles() > 1) ? 5 : 15;
    s.wideGap = smallScreen ? 10 : 20;
    s.width = room.width;
    if (windowH >= 500) {
        s.rowGap = 10;
    } else {
        s.rowGap = 5;
        s.width -= 10;
    }
    const int V = s.rowGap;

    if (r.tableArrangement() == 15) {
        s.rows[0] = s.top + 15;
        s.rows[1] = s.top + 20 + H;
        s.rows[2] = s.rows[1] + H + 5;
    } else {
        s.rows[0] = s.top + V + (stockDigit == '1' ? 15 : 0);
        s.rows[1] = s.rows[0] + V + H + ((stockDigit == '2' || r.stockArrangement() == 3) ? 15 : 0);
        s.rows[2] = s.rows[1] + V + H;
    }
    s.rows[3] = s.rows[2] + V + H;

    // A window lower than 80% of the screen keeps bottom-row piles where a full-height window
    // would have them; the scroll bar makes them reachable.
    if (windowH * 10 > screenH * 8)
        s.bottomRow = room.clientHeight - H - room.statusHeight - 5;
    else
        s.bottomRow = room.clientHeight + (screenH - windowH) - H - room.statusHeight - 5;
    s.middleRow = s.rows[1] + (s.rows[2] - s.rows[1]) / 2;

    const int avail = s.bottom - s.top;
    s.block3 = std::max(s.top + (avail - 3 * H - 20) / 2, s.top + 2);
    s.block4 = std::max(s.top + (avail - 4 * H - 30) / 2, s.top + 2);

    s.margin = normalWidth(s.width) ? 5 : 3;
    if (r.stockPiles() > 0) {
        s.margin += room.shadowMargin;
        const int sa = r.stockArrangement();
        if (sa == 3 || sa == 4 || sa == 5 || sa == 16 || sa == 19 || r.waste2Arrangement() == 4)
            s.margin += 15;
    }
    s.usable = s.width - 2;
    return s;
}

namespace {

// One layout run: the inputs, the spacing and the geometry being filled.
class Layouter {
public:
    Layouter(const Rules& rules, const LayoutRoom& room, CardDims card, Geometry& geo)
        : r_(rules), room_(room), W_(card.width), H_(card.height), g_(geo), s_(layoutSpacing(rules, room, card)),
          codes_(layoutCodes(rules)), use_(stockGroupUse(rules))
    {
        nT_ = clampInt(rules.tableauCount(), 0, kTableauPiles);
        nF_ = clampInt(rules.foundationCount(), 0, kFoundationPiles);
        nR_ = clampInt(rules.reserveCount(), 0, kReservePiles);
        screenW_ = room.effectiveScreenWidth();
        smallScreen_ = room.effectiveScreenHeight() < 500;
    }

    void run()
    {
        g_.cardWidth = W_;
        g_.cardHeight = H_;
        g_.rowPitch = s_.rowGap + H_;
        // Piles the game lacks are placed nowhere.
        for (int k = nF_; k < kFoundationPiles; ++k)
            g_.foundations[static_cast<std::size_t>(k)] = {};
        if (!use_.stock)
            g_.stockGroup[0] = {};
        if (!use_.waste)
            g_.stockGroup[1] = {};
        if (!use_.secondWaste)
            g_.stockGroup[2] = {};

        leftNeed_ = leftExtent();
        const int table = codes_.table.arrangement;
        bool ownsFoundations = false;
        bool ownsStockGroup = false;
        switch (table) {
        case 1:
        case 14:
        case 15: spreadTableau(); break;
        case 2: fixedGapTableau(); break;
        case 3: twoRowTableau(); break;
        case 5: fanColumnsTableau(); break;
        case 6: sideColumnsTableau(); break;
        case 7: crossTableau(); ownsFoundations = true; break;
        case 51: blockTableau(); ownsFoundations = true; ownsStockGroup = true; break;
        case 61: gridTableau(); ownsStockGroup = true; break;
        case 62: cribbageTableau(); ownsStockGroup = true; break;
        case 63: cardRowsTableau(); ownsStockGroup = true; break;
        case 52: rowGridTableau(); break;
        case 53: pyramidTableau(); break;
        case 54: clockTableau(); break;
        case 55: marginTableau(); break;
        default:
            if (nT_ > 0)
                g_.unknownArrangements |= kUnknownTable;
            spreadTableau();
            break;
        }
        // The second waste stands with the stock group, before the foundations that may start
        // right of that group.
        if (!ownsStockGroup) {
            placeStockGroup();
            placeSecondWaste();
        }
        if (!ownsFoundations)
            placeFoundations();
        // In the selection games foundation 1 holds the selected cards, which stay on their own
        // piles: it is no pile of the table.
        if (storesFoundation1Empty(GameRules(r_)))
            g_.foundations[0] = {};
        placeReserves();

        if (r_.tableauFanStyle() == 2 && nT_ > 0) {
            const Point a = g_.tableau[0];
            if (nT_ > 1 && g_.tableau[1].y == a.y)
                g_.tableauPitch = g_.tableau[1].x - a.x;
            else if (nF_ > 0 && g_.foundations[0].present())
                g_.tableauPitch = g_.foundations[0].x - a.x;
        }
    }

private:
    int rowY(int digit) const { return s_.rows[static_cast<std::size_t>(clampInt(digit, 1, 4) - 1)]; }
    Point& tab(int i) { return g_.tableau[static_cast<std::size_t>(i)]; }
    Point& fnd(int i) { return g_.foundations[static_cast<std::size_t>(i)]; }
    Point& res(int i) { return g_.reserves[static_cast<std::size_t>(i)]; }
    int firstTableauX() const { return nT_ > 0 ? g_.tableau[0].x : s_.margin + leftNeed_; }
    // Distance of a reserve column from the first tableau pile.
    int reserveDistance() const { return nT_ > 7 ? (3 * s_.stockGap) / 2 : 3 * s_.stockGap; }
    bool stockGroupShown() const { return use_.stock || use_.waste; }

    // Room that piles standing left of the first tableau pile need, so that the tableau
    // leaves it free instead of pushing them off the table.
    int leftExtent() const
    {
        const int G = s_.stockGap;
        int need = 0;
        if (stockGroupShown() && codes_.table.arrangement != 51) {
            switch (codes_.stock.arrangement) {
            case 3:
            case 16: need = W_ + 2 * G; break;
            case 19: need = W_ + 4 * G; break;
            case 11: need = 2 * W_ + 4 * G; break;
            case 21: need = use_.stock ? 2 * W_ + G + stock21Gap() + 15 : W_ + G; break;
            default: break;
            }
        }
        if (nR_ > 0 && (codes_.reserve.arrangement == 41 || codes_.reserve.arrangement == 44))
            need = std::max(need, W_ + reserveDistance());
        return need;
    }
    int stock21Gap() const { return (smallScreen_ && nF_ >= 5) ? 0 : 5; }

    // Evenly spread row of n tableau piles (from pile `first`) at height y.
    void spreadRow(int first, int n, int y)
    {
        if (n <= 0)
            return;
        const int arr = codes_.table.arrangement;
        const int T = s_.usable;
        const int lo = s_.margin + leftNeed_;
        int gap = clampInt((T - n * W_) / (n + 1), 4, 20);
        if (n > 8)
            gap = std::min(gap, 14);
        if (arr == 1 && (codes_.stock.arrangement == 4 || codes_.secondWaste.arrangement == 4))
            gap = std::max(gap, 15);
        int x = (T - n * W_ - (n - 1) * gap) / 2;
        if (arr == 15 && n == 10 && screenW_ < 650) {
            x = 15;
            gap = 3;
        } else if (x < lo) {
            // Arrangement 1 keeps its gap and starts at the margin; the others, and any row
            // that must leave room on its left, close up first.
            if ((arr != 1 || leftNeed_ > 0) && n > 1)
                gap = clampInt(gap - ceilDiv(lo - x, n - 1), 4, 20);
            x = lo;
            if (leftNeed_ == 0 && screenW_ < 650 && (nF_ == 8 || nT_ == 10))
                x = lo - 2;
        }
        for (int i = 0; i < n; ++i)
            tab(first + i) = {x + i * (W_ + gap), y};
    }

    void spreadTableau() { spreadRow(0, nT_, rowY(codes_.table.row)); }

    void fixedGapTableau()
    {
        const int gap = normalWidth(s_.width) ? 10 : 5;
        const int x = std::max((s_.usable - nT_ * W_ - (nT_ - 1) * gap) / 2, s_.margin + leftNeed_);
        const int y = rowY(codes_.table.row);
        for (int i = 0; i < nT_; ++i)
            tab(i) = {x + i * (W_ + gap), y};
    }

    // First half (rounded up) on the code's row, the rest on a row halfway to the bottom.
    void twoRowTableau()
    {
        const int n1 = (nT_ + 1) / 2;
        const int y1 = rowY(codes_.table.row);
        int y2 = y1 + (s_.bottom - y1) / 2;
        y2 = std::min(y2, s_.bottom - H_);
        y2 = std::max(y2, y1 + H_ + s_.rowGap);
        spreadRow(0, n1, y1);
        spreadRow(n1, nT_ - n1, y2);
        g_.rowPitch = y2 - y1;
    }

    // Vertical pitch of `rows` rows from y that fit above the bottom, at most `pitch`.
    int fittingPitch(int rows, int y, int pitch, int floor) const
    {
        if (rows <= 1)
            return pitch;
        const int fit = (s_.bottom - y - H_) / (rows - 1);
        return std::max(std::min(pitch, fit), floor);
    }

    // Horizontal fans stacked in columns (three from 13 piles, else two).
    void fanColumnsTableau()
    {
        if (nT_ <= 0)
            return;
        const int cols = nT_ >= 13 ? 3 : 2;
        const int perCol = ceilDiv(nT_, cols);
        const int y = rowY(codes_.table.row);
        const int pitch = fittingPitch(perCol, y, H_ / 2 + 10, H_ / 4);
        const int lo = s_.margin + leftNeed_;
        const int colWidth = (s_.usable - lo) / cols;
        for (int i = 0; i < nT_; ++i)
            tab(i) = {lo + (i / perCol) * colWidth, y + (i % perCol) * pitch};
        g_.rowPitch = pitch;
    }

    int centreColumnX() const { return (s_.usable - W_) / 2; }

    // Horizontal fans in two columns, left and right of a centre column kept for foundations.
    void sideColumnsTableau()
    {
        if (nT_ <= 0)
            return;
        const int nl = nT_ / 2;
        const int rows = std::max(nl, nT_ - nl);
        const int y = rowY(codes_.table.row);
        const int pitch = fittingPitch(rows, y, H_ + s_.rowGap, H_ / 2 + 10);
        const int leftX = s_.margin + leftNeed_;
        const int rightX = centreColumnX() + W_ + s_.wideGap;
        for (int i = 0; i < nT_; ++i) {
            if (i < nl)
                tab(i) = {leftX, y + i * pitch};
            else
                tab(i) = {rightX, y + (i - nl) * pitch};
        }
        g_.rowPitch = pitch;
    }

    // A cross of five piles (top, left, centre, right, bottom) with foundations 1-4 in the
    // corners of its 3 x 3 block; further piles go on rows below the block.
    void crossTableau()
    {
        const int G2 = s_.wideGap;
        const int step = H_ + 10;
        const int x0 = std::max((s_.usable - 3 * W_ - 2 * G2) / 2, s_.margin + leftNeed_);
        const int y0 = std::max(s_.block3, s_.rows[0]);
        auto cell = [&](int col, int row) { return Point{x0 + col * (W_ + G2), y0 + row * step}; };
        static constexpr int kCross[5][2] = {{1, 0}, {0, 1}, {1, 1}, {2, 1}, {1, 2}};
        static constexpr int kCorners[4][2] = {{0, 0}, {2, 0}, {0, 2}, {2, 2}};
        for (int i = 0; i < std::min(nT_, 5); ++i)
            tab(i) = cell(kCross[i][0], kCross[i][1]);
        for (int i = 0; i < std::min(nF_, 4); ++i)
            fnd(i) = cell(kCorners[i][0], kCorners[i][1]);
        int y = y0 + 3 * step;
        for (int i = 4; i < nF_; ++i)
            fnd(i) = {x0 + (i - 4) * (W_ + G2), y};
        if (nF_ > 4)
            y += step;
        if (nT_ > 5)
            spreadRow(5, nT_ - 5, y);
        g_.rowPitch = step;
    }

    // Sixteen piles in a centred 4 x 4 block, the stock left of it and the second waste right
    // of it; no foundations.
    void blockTableau()
    {
        const int step = W_ + 10;
        int x0 = (s_.usable - 4 * step) / 2;
        const int y0 = std::max(s_.block4, s_.rows[0]);
        int d = 70;
        if (x0 - W_ - 70 - 10 < 0)
            d = 35;
        if (W_ - x0 + 44 >= 0)
            d = 15;
        if (W_ - x0 + 24 >= 0)
            x0 = W_ + s_.margin + 15;
        for (int i = 0; i < nT_; ++i)
            tab(i) = {x0 + (i % 4) * step, y0 + (i / 4) * (H_ + 10)};
        for (int k = 0; k < kFoundationPiles; ++k)
            fnd(k) = {};
        const int sideY = y0 + (H_ + 10) + (H_ + 10) / 2;
        // The one stock-group pile beside the block: the stock, or the waste standing in for it.
        g_.stockGroup[0] = use_.stock ? Point{x0 - W_ - d, sideY} : Point{};
        g_.stockGroup[1] = (!use_.stock && use_.waste) ? Point{x0 - W_ - d, sideY} : Point{};
        g_.stockGroup[2] = use_.secondWaste ? Point{x0 + 4 * W_ + 30 + d, sideY} : Point{};
        g_.rowPitch = H_ + 10;
    }

    // Rows of rule parameter 30 piles (5 when it is not set), centred, one card height and a row
    // gap apart: the grids of the pairing games, one card per pile.
    void rowGridTableau()
    {
        const int perRow = r_.tableauGridRowLength() > 0 ? r_.tableauGridRowLength() : 5;
        const int gap = 12;
        const int width = perRow * W_ + (perRow - 1) * gap;
        const int x0 = std::max((s_.usable - width) / 2, s_.margin + leftNeed_);
        const int y0 = rowY(codes_.table.row);
        const int pitch = H_ + s_.rowGap;
        for (int i = 0; i < nT_; ++i)
            tab(i) = {x0 + (i % perRow) * (W_ + gap), y0 + (i / perRow) * pitch};
        g_.rowPitch = pitch;
    }

    // Each tableau pile is one row of cards laid side by side (fan style 4), as long as its deal,
    // centred; each row half a card lower than the one before: a pyramid, or a triangle standing
    // on its point.
    void pyramidTableau()
    {
        const int gap = 6; // the side-by-side gap of fan style 4
        const int y0 = rowY(codes_.table.row);
        const int step = H_ / 2;
        for (int i = 0; i < nT_; ++i) {
            const int n = std::max(1, r_.tableauDeal(i));
            const int width = n * W_ + (n - 1) * gap;
            tab(i) = {std::max((s_.usable - width) / 2, s_.margin), y0 + i * step};
        }
        g_.rowPitch = step;
    }

    // Piles 1 to 12 on an oval like the hours of a clock face (pile 12 at the top), pile 13 in its
    // centre; the oval fills the table below the row digit's row.
    void clockTableau()
    {
        const int y0 = rowY(codes_.table.row);
        const int ry = std::max((s_.bottom - y0 - H_ - 18) / 2, H_);
        const int rx = std::max(std::min((s_.usable - W_) / 2 - s_.margin - W_, 3 * ry / 2), W_);
        const int cx = (s_.usable - W_) / 2, cy = y0 + ry;
        const double kPi = 3.14159265358979323846;
        for (int i = 0; i < std::min(nT_, 12); ++i) {
            const double a = (i + 1) * kPi / 6.0;
            tab(i) = {cx + static_cast<int>(std::lround(rx * std::sin(a))),
                      cy - static_cast<int>(std::lround(ry * std::cos(a)))};
        }
        if (nT_ > 12)
            tab(12) = {cx, cy};
        for (int i = 13; i < nT_; ++i)
            tab(i) = {s_.margin + (i - 13) * (W_ + 10), cy + ry};
        g_.rowPitch = H_ + s_.rowGap;
    }

    // Piles from the left margin on the row digit's row: the single row of the snake style 8,
    // which runs on to the right and down by itself.
    void marginTableau()
    {
        const int y = rowY(codes_.table.row);
        for (int i = 0; i < nT_; ++i)
            tab(i) = {s_.margin + leftNeed_ + i * (W_ + 10), y};
    }

    // A square grid (5 x 5 from 25 piles, 4 x 4 from 16) with 10-pixel gaps, the stock, the
    // waste and the second waste in a column left of it; rows close up on short windows.
    void gridTableau()
    {
        if (nT_ <= 0)
            return;
        int cols = 1;
        while (cols * cols < nT_)
            ++cols;
        const int rows = ceilDiv(nT_, cols);
        const int gap = 10, side = 30;
        const int blockWidth = cols * W_ + (cols - 1) * gap;
        const bool column = stockGroupShown() || use_.secondWaste;
        const int lead = column ? W_ + side : 0;
        const int x0 = std::max((s_.usable - lead - blockWidth) / 2, s_.margin) + lead;
        const int y0 = s_.rows[0];
        const int pitch = fittingPitch(rows, y0, H_ + gap, H_ + 2);
        for (int i = 0; i < nT_; ++i)
            tab(i) = {x0 + (i % cols) * (W_ + gap), y0 + (i / cols) * pitch};
        int y = y0;
        for (int k = 0; k < kStockGroupPiles; ++k) {
            const bool used = k == 0 ? use_.stock : (k == 1 ? use_.waste : use_.secondWaste);
            g_.stockGroup[static_cast<std::size_t>(k)] = used ? Point{x0 - lead, y} : Point{};
            if (used)
                y += pitch;
        }
        g_.rowPitch = pitch;
    }

    // Cribbage patience: the crib (piles 1-4) on the first row, the hand (5-10) on the
    // second, the starter (11) on the third; the piles start far enough right for the
    // captions left of piles 1, 5 and 11. The stock stands at the end of the first row,
    // the second waste before it.
    void cribbageTableau()
    {
        const int gap = 10, captions = 60;
        const int x0 = s_.margin + captions;
        const int rowLength[3] = {4, 6, 1};
        int pile = 0;
        for (int row = 0; row < 3; ++row)
            for (int i = 0; i < rowLength[row] && pile < nT_; ++i)
                tab(pile++) = {x0 + i * (W_ + gap), s_.rows[static_cast<std::size_t>(row)]};
        for (; pile < nT_; ++pile)
            tab(pile) = {x0 + (pile - 11) * (W_ + gap), s_.rows[3]};
        g_.stockGroup[0] = use_.stock ? Point{x0 + 5 * (W_ + gap), s_.rows[0]} : Point{};
        g_.stockGroup[1] = {};
        g_.stockGroup[2] = use_.secondWaste ? Point{x0 + 4 * (W_ + gap), s_.rows[0]} : Point{};
    }

    // One row of cards laid side by side (fan style 9) per tableau pile, the rows centred and
    // stacked, closer on short windows; the second waste at the left margin of the first row
    // when the rows leave room for it, else nowhere.
    void cardRowsTableau()
    {
        if (nT_ <= 0)
            return;
        int longest = 1;
        for (int k = 0; k < nT_; ++k)
            longest = std::max(longest, r_.tableauDeal(k));
        const int sideGap = 6;
        const int rowWidth = longest * W_ + (longest - 1) * sideGap;
        const int y0 = rowY(codes_.table.row);
        const int pitch = fittingPitch(nT_, y0, H_ + 10, H_ / 2);
        int x0 = std::max((s_.usable - rowWidth) / 2, s_.margin);
        const int wasteRoom = s_.margin + W_ + 15;
        const bool wasteFits = use_.secondWaste && std::max(x0, wasteRoom) + rowWidth <= s_.usable;
        if (wasteFits)
            x0 = std::max(x0, wasteRoom);
        for (int i = 0; i < nT_; ++i)
            tab(i) = {x0, y0 + i * pitch};
        g_.stockGroup[0] = {};
        g_.stockGroup[1] = {};
        g_.stockGroup[2] = wasteFits ? Point{s_.margin, y0} : Point{};
        g_.rowPitch = pitch;
    }

    // ---- Stock group ----

    void placeStockGroup()
    {
        if (!stockGroupShown())
            return;
        const int G = s_.stockGap;
        const int y = rowY(codes_.stock.row);
        const int x0 = firstTableauX();
        Point stock{}, waste{};
        const bool both = use_.stock && use_.waste;
        auto single = [&](Point p) {
            if (use_.stock)
                stock = p;
            else
                waste = p;
        };
        switch (codes_.stock.arrangement) {
        case 3:
            single({x0 - W_ - 2 * G, y});
            if (both)
                waste = {stock.x, s_.rows[1]};
            break;
        case 4:
            single({x0, y});
            if (both)
                waste = {nT_ > 1 ? g_.tableau[1].x : x0 + W_ + G, y};
            break;
        case 5:
            single({s_.margin, y});
            if (both)
                waste = {stock.x + W_ + s_.margin, y};
            break;
        case 11:
            waste = {x0 - W_ - 3 * G, y};
            if (both)
                stock = {waste.x - W_ - G, y};
            else if (use_.stock)
                std::swap(stock, waste);
            break;
        case 13: {
            int x = 15 + room_.shadowMargin / 2;
            if (smallScreen_ && nF_ == 8 && r_.stockPiles() > 1)
                x -= 3;
            single({x, y});
            if (both)
                waste = {x + W_ + 15, y};
            break;
        }
        case 16:
        case 19: {
            const int dist = codes_.stock.arrangement == 16 ? 2 * G : 4 * G;
            single({x0 - W_ - dist, y});
            if (both) // only one pile stands beside the tableau; the other goes below it
                waste = {stock.x, y + H_ + s_.rowGap};
            break;
        }
        case 21:
            waste = {x0 - W_ - G, y};
            if (both)
                stock = {waste.x - W_ - stock21Gap() - 15, y};
            else if (use_.stock)
                std::swap(stock, waste);
            break;
        case 23:
            single({x0, y});
            if (both)
                waste = {x0 + W_ + 18, y};
            break;
        default:
            g_.unknownArrangements |= kUnknownStock;
            single({s_.margin, y});
            if (both)
                waste = {stock.x + W_ + 15, y};
            break;
        }
        g_.stockGroup[0] = use_.stock ? stock : Point{};
        g_.stockGroup[1] = use_.waste ? waste : Point{};
    }

    // ---- Foundations ----

    // Foundations [first, first + m) right-aligned on row y.
    void rightAligned(int first, int m, int y)
    {
        const int lastX = s_.usable - W_ - s_.margin - 5;
        for (int i = 0; i < m; ++i)
            fnd(first + i) = {lastX - (m - 1 - i) * (W_ + s_.margin), y};
    }

    // Piles of a group above the last m tableau piles; packed from the right with 2-pixel
    // gaps on small screens. False when there are fewer tableau piles than m.
    template <class Put>
    bool aboveLastTableau(int m, int y, Put put)
    {
        if (m > nT_ || nT_ == 0)
            return false;
        for (int i = 0; i < m; ++i) {
            const int x = smallScreen_ ? g_.tableau[static_cast<std::size_t>(nT_ - 1)].x - (m - 1 - i) * (W_ + 2)
                                       : g_.tableau[static_cast<std::size_t>(nT_ - m + i)].x;
            put(i, Point{x, y});
        }
        return true;
    }

    int tableauGap() const
    {
        if (nT_ > 1 && g_.tableau[1].y == g_.tableau[0].y)
            return g_.tableau[1].x - g_.tableau[0].x - W_;
        return 10;
    }

    int stockGroupRight() const
    {
        int right = kNotPlaced;
        for (const Point& p : g_.stockGroup)
            if (p.present())
                right = std::max(right, p.x + W_);
        return right;
    }

    void placeFoundations()
    {
        if (nF_ == 0)
            return;
        const int y = rowY(codes_.foundation.row);
        const int m = nF_;
        switch (codes_.foundation.arrangement) {
        case 22: {
            const int pitch = nT_ > 1 ? g_.tableau[1].x - g_.tableau[0].x : W_ + 10;
            for (int i = 0; i < m; ++i) {
                if (i < nT_)
                    fnd(i) = {g_.tableau[static_cast<std::size_t>(i)].x, y};
                else
                    fnd(i) = {firstTableauX() + i * pitch, y};
            }
            break;
        }
        case 31: rightAligned(0, m, y); break;
        case 32:
            if (!aboveLastTableau(m, y, [&](int i, Point p) { fnd(i) = p; }))
                rightAligned(0, m, y);
            break;
        case 33: {
            // Small screens start closer: 7 pixels, 4 when more than eight foundations share the row.
            const int right = stockGroupRight();
            const int gap = smallScreen_ ? 3 : 4;
            const int start = isPresentCoord(right) ? right + (smallScreen_ ? (m > 8 ? 4 : 7) : 17) : s_.margin;
            for (int i = 0; i < m; ++i)
                fnd(i) = {start + i * (W_ + gap), y};
            break;
        }
        case 34: {
            const int gap = std::max(tableauGap() / 2, 4);
            const int x = std::max((s_.usable - m * W_ - (m - 1) * gap) / 2, s_.margin);
            for (int i = 0; i < m; ++i)
                fnd(i) = {x + i * (W_ + gap), y};
            break;
        }
        case 35: {
            const int pitch = fittingPitch(m, y, H_ + s_.rowGap, H_ / 2 + 10);
            for (int i = 0; i < m; ++i)
                fnd(i) = {centreColumnX(), y + i * pitch};
            break;
        }
        case 36: {
            const int first = std::min(m, 8);
            rightAligned(0, first, y);
            rightAligned(first, m - first, y + H_ + s_.rowGap);
            break;
        }
        case 37: { // spread evenly over the whole row
            const int gap = std::max((s_.usable - m * W_ - 2) / m, 1);
            for (int i = 0; i < m; ++i)
                fnd(i) = {s_.margin + i * (W_ + gap), y};
            break;
        }
        default:
            g_.unknownArrangements |= kUnknownFoundation;
            rightAligned(0, m, y);
            break;
        }
    }

    // ---- Reserves ----

    void reserveColumn(int x, int y)
    {
        const int pitch = fittingPitch(nR_, y, H_ + s_.rowGap, H_ / 4);
        for (int i = 0; i < nR_; ++i)
            res(i) = {x, y + i * pitch};
    }

    void freeCellRow(int y)
    {
        for (int i = 0; i < nR_; ++i)
            res(i) = {s_.margin + i * (W_ + 4), y};
    }

    void placeReserves()
    {
        if (nR_ == 0)
            return;
        const int y = rowY(codes_.reserve.row);
        const int leftX = firstTableauX() - W_ - reserveDistance();
        switch (codes_.reserve.arrangement) {
        case 41:
        case 44: reserveColumn(leftX, y); break;
        case 42: freeCellRow(y); break;
        case 43:
            if (!aboveLastTableau(nR_, y, [&](int i, Point p) { res(i) = p; }))
                freeCellRow(y);
            break;
        case 45: {
            // One wide fan along the bottom row; further reserves share the row.
            const int pitch = (s_.usable - s_.margin) / nR_;
            for (int i = 0; i < nR_; ++i)
                res(i) = {s_.margin + i * pitch, s_.bottomRow};
            break;
        }
        default:
            g_.unknownArrangements |= kUnknownReserve;
            freeCellRow(y);
            break;
        }
    }

    // ---- Second waste ----

    void placeSecondWaste()
    {
        if (!use_.secondWaste)
            return;
        const int y = rowY(codes_.secondWaste.row);
        switch (codes_.secondWaste.arrangement) {
        case 4: {
            // Above the first tableau pile the stock group leaves free.
            int k = 0;
            if (codes_.stock.arrangement == 4)
                k = (use_.stock ? 1 : 0) + (use_.waste ? 1 : 0);
            const int x = k < nT_ ? g_.tableau[static_cast<std::size_t>(k)].x : firstTableauX() + k * (W_ + 15);
            g_.stockGroup[2] = {x, y};
            break;
        }
        case 52: {
            // Right of the last pile of the first tableau row.
            int right = kNotPlaced;
            for (int i = 0; i < nT_; ++i)
                if (g_.tableau[static_cast<std::size_t>(i)].y == g_.tableau[0].y)
                    right = std::max(right, g_.tableau[static_cast<std::size_t>(i)].x + W_);
            g_.stockGroup[2] = {nT_ > 0 ? right + 2 * s_.stockGap : s_.margin, nT_ > 0 ? g_.tableau[0].y : y};
            break;
        }
        case 51:
        default: {
            if (codes_.secondWaste.arrangement != 51)
                g_.unknownArrangements |= kUnknownSecondWaste;
            const Point& waste = g_.stockGroup[1].present() ? g_.stockGroup[1] : g_.stockGroup[0];
            g_.stockGroup[2] = {waste.present() ? waste.x + W_ + 15 : s_.margin, y};
            break;
        }
        }
    }

    const Rules& r_;
    const LayoutRoom& room_;
    int W_, H_;
    Geometry& g_;
    LayoutSpacing s_;
    LayoutCodes codes_;
    StockGroupUse use_;
    int nT_ = 0, nF_ = 0, nR_ = 0;
    int screenW_ = 0;
    bool smallScreen_ = false;
    int leftNeed_ = 0;
};

} // namespace

Geometry layoutPiles(const Rules& rules, const LayoutRoom& room, CardDims card, int scroll)
{
    Geometry g;
    Layouter(rules, room, card, g).run();
    g.scroll = scroll;
    return g;
}

Geometry layoutPiles(const Rules& rules, const LayoutRoom& room, CardSize size, int scroll)
{
    return layoutPiles(rules, room, cardDims(size), scroll);
}

} // namespace cw::engine
