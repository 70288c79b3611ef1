// Build tool: writes the chooser's preview file cwdp.dat — game number 1 of every game, dealt and laid out in miniature.
//
// Usage: cardwise-previewgen GAMES.DAT cwdp.dat
// Line g of the output describes game id g: the id as four digits, then one nine-digit group
// (picture, x, y) per small picture, stored with the chooser's keyed character shift. Ids
// without a game get a line of four characters, so the chooser falls back to its own picture.
#include "catalog/chooser.h"
#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "engine/deal.h"
#include "engine/geometry.h"
#include "engine/layout.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>

using namespace cw;

namespace {

constexpr int kRoomWidth = 800;
constexpr int kRoomHeight = 600;
// Downward fans are opened wider than the plain scale (about a third) so that the cards of a
// column stay readable in the miniature; the tables leave the lower part of the preview free.
constexpr int kFanNumerator = 3;
constexpr int kFanDenominator = 5;

// The small picture of one card position.
int pictureOf(const engine::Table& table, int code)
{
    if (code >= 209) return catalog::kPreviewJoker;
    if (table.isFaceDown(code)) return catalog::kPreviewBack;
    return (code - 1) % 52 + 1;
}

std::vector<catalog::PreviewPicture> previewOf(const catalog::Rules& loaded)
{
    // The largest card size whose table fits 800 x 600, then every corner scaled so that
    // a card becomes the 25 x 32 miniature.
    engine::CardSize size = engine::CardSize::M;
    for (engine::CardSize s : {engine::CardSize::B, engine::CardSize::M})
        if (engine::fitsIn(loaded, kRoomWidth, kRoomHeight, s, nullptr)) {
            size = s;
            break;
        }
    engine::DealResult dealt = engine::deal(loaded, "0000000000001");
    const catalog::Rules& rules = dealt.rules;
    engine::LayoutRoom room;
    room.width = kRoomWidth;
    room.clientHeight = kRoomHeight;
    engine::Geometry layout = engine::layoutPiles(rules, room, size);
    engine::TableGeometry tg = engine::makeTableGeometry(rules, layout, size, kRoomWidth);
    const engine::CardDims dims = engine::cardDims(size);
    const engine::Table& table = dealt.state.table;

    std::vector<catalog::PreviewPicture> out;
    auto add = [&](int picture, engine::Point p, engine::Point corner = {}) {
        if (!p.present()) return;
        int x = p.x * catalog::kPreviewCardWidth / dims.width;
        int y = p.y * catalog::kPreviewCardHeight / dims.height;
        if (corner.present() && p.y > corner.y)
            y = corner.y * catalog::kPreviewCardHeight / dims.height + (p.y - corner.y) * kFanNumerator / kFanDenominator;
        if (x < 0 || y < 0 || x > 999 || y > 999) return;
        out.push_back({picture, x, y});
    };
    for (int pos = 0; pos < engine::kTablePiles; ++pos) {
        engine::PileRef pile = engine::pileAtTableOrder(pos);
        if (!layout.present(pile)) continue;
        const engine::Pile& cards = table.pile(pile);
        if (cards.cardCount() == 0) {
            add(pile.kind == engine::PileKind::Foundation ? catalog::kPreviewFoundation : catalog::kPreviewEmptyPile,
                layout.corner(pile));
            continue;
        }
        if (tg.styleOf(pile) == 0) {  // stacked: only the top card shows
            add(pictureOf(table, cards.top()), layout.corner(pile));
            continue;
        }
        for (std::size_t i = 0; i < cards.size(); ++i)
            if (cards[i] != 0)
                add(pictureOf(table, cards[i]), engine::cardPosition(tg, table, pile, int(i)), layout.corner(pile));
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: cardwise-previewgen GAMES.DAT cwdp.dat\n";
        return 2;
    }
    auto text = catalog::ReadWholeFile(argv[1]);
    if (!text) {
        std::cerr << text.error() << "\n";
        return 1;
    }
    catalog::GameListBuild build = catalog::BuildGameList(*text);
    int maxId = -1;
    for (const catalog::GameEntry& e : build.list.entries())
        if (e.usable) maxId = std::max(maxId, e.id);

    std::string out;
    for (int id = 0; id <= maxId; ++id) {
        std::vector<catalog::PreviewPicture> pictures;
        if (build.list.find(id)) {
            auto rules = catalog::LoadGameRules(*text, build.list, id, {});
            if (!rules) {
                std::cerr << rules.error() << "\n";
                return 1;
            }
            pictures = previewOf(*rules);
        }
        out += catalog::EncodePreviewLine(catalog::FormatPreviewLine(id, pictures)) + "\r\n";
    }
    std::string tmp = std::string(argv[2]) + ".tmp";
    {
        std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
        f << out;
        if (!f) {
            std::cerr << "cannot write " << tmp << "\n";
            return 1;
        }
    }
    if (std::rename(tmp.c_str(), argv[2]) != 0) {
        std::cerr << "cannot replace " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
