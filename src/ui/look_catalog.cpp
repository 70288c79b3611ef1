// Everything the look pages list: the built-in card sets, decks and backgrounds, the table colours and
// the player's own files, each with what its choice stores.
#include "ui/look_catalog.h"

#include "storage/ini_file.h"
#include "ui/backgrounds.h"
#include "ui/card_art.h"
#include "ui/deck_art.h"
#include "ui/look_files.h"

#include <QFileInfo>

namespace cw::ui {

int LookItem::randomCode() const
{
    switch (source) {
    case LookSource::BuiltIn: return number;
    case LookSource::Player: return storage::kPlayerItemCode;
    case LookSource::Default: return 0;
    case LookSource::Colour: return number > 0 ? static_cast<int>(number) : 1;
    }
    return 0;
}

bool LookItem::sameChoice(const LookItem& other) const
{
    if (kind != other.kind || source != other.source)
        return false;
    switch (source) {
    case LookSource::BuiltIn:
    case LookSource::Colour: return number == other.number;
    case LookSource::Player: return path.compare(other.path, Qt::CaseInsensitive) == 0;
    case LookSource::Default: return true;
    }
    return false;
}

const std::vector<LookItem>& LookCatalog::of(LookKind kind) const
{
    switch (kind) {
    case LookKind::CardSet: return cardSets;
    case LookKind::Deck: return decks;
    case LookKind::Background: break;
    }
    return backgrounds;
}

std::vector<LookItem>& LookCatalog::of(LookKind kind)
{
    return const_cast<std::vector<LookItem>&>(static_cast<const LookCatalog*>(this)->of(kind));
}

const std::vector<FixedColour>& fixedColours()
{
    static const std::vector<FixedColour> colours = {
        {32768, "Green"},   {0x004000, "Dark green"}, {0x806000, "Blue"},   {0x401010, "Navy"},
        {0x808000, "Teal"}, {0x101080, "Dark red"},   {0x602060, "Purple"}, {0x404040, "Dark grey"},
        {0x808080, "Grey"}, {0x010101, "Black"},
    };
    return colours;
}

LookCatalog buildLookCatalog(const QString& dataFolder, const storage::IniFile* settings)
{
    LookCatalog c;
    for (const CardSetInfo& s : builtInCardSets())
        c.cardSets.push_back({LookKind::CardSet, LookSource::BuiltIn, s.number, s.name, {}, {}, {}, 0});
    if (!dataFolder.isEmpty()) {
        const PlayerFileScan sets = scanPlayerCardSets(dataFolder);
        for (const PlayerLookFile& f : sets.files)
            c.cardSets.push_back({LookKind::CardSet, LookSource::Player, 0, f.name, f.path, f.name, {}, f.sizeLetter});
        c.damaged << sets.damaged;
    }

    for (const DeckInfo& d : builtInDecks())
        c.decks.push_back({LookKind::Deck, LookSource::BuiltIn, d.number, d.name, {}, {}, {}, 0});
    if (!dataFolder.isEmpty()) {
        const PlayerFileScan decks = scanPlayerDecks(dataFolder);
        for (const PlayerLookFile& f : decks.files)
            c.decks.push_back({LookKind::Deck, LookSource::Player, 0, f.name, f.path, f.name, {}, 0});
        c.damaged << decks.damaged;
    }

    c.backgrounds.push_back(
        {LookKind::Background, LookSource::Default, 0, QStringLiteral("Default (green)"), {}, {}, {}, 0});
    c.backgrounds.push_back(
        {LookKind::Background, LookSource::Colour, 0, QStringLiteral("Table colour"), {}, {}, {}, 0});
    for (const FixedColour& fc : fixedColours())
        c.backgrounds.push_back({LookKind::Background,
                                 LookSource::Colour,
                                 static_cast<int>(fc.value),
                                 QString::fromLatin1(fc.name),
                                 {},
                                 {},
                                 {},
                                 0});
    for (const BackgroundInfo& b : builtInBackgrounds())
        c.backgrounds.push_back({LookKind::Background, LookSource::BuiltIn, b.number, b.name, {}, {}, {}, 0});
    if (settings)
        for (const PlayerBackground& b : readPlayerBackgrounds(*settings)) {
            // A picture that is gone stays listed (it may come back); choosing it then reports it.
            c.backgrounds.push_back(
                {LookKind::Background, LookSource::Player, 0, backgroundDisplayName(b.path), b.path, b.path, b.key, 0});
        }
    return c;
}

std::vector<storage::RandomItem> randomListOf(const std::vector<LookItem>& items,
                                              const std::vector<storage::RandomItem>& previous)
{
    std::vector<storage::RandomItem> list;
    for (const LookItem& item : items) {
        storage::RandomItem r;
        r.name = item.name.toStdString();
        r.code = item.randomCode();
        r.sizeLetter = item.kind == LookKind::CardSet && item.sizeLetter ? item.sizeLetter : ' ';
        list.push_back(r);
    }
    storage::keepRandomMarks(list, previous);
    return list;
}

} // namespace cw::ui
