// The look in force: the player's card set, deck and background files checked and put on the table, the
// random look of a new game, and the recoveries when a chosen file is gone or damaged.
#include "ui/look_settings.h"

#include "engine/game_object.h"
#include "storage/ini_file.h"
#include "storage/options.h"
#include "storage/preferences.h"
#include "storage/random_look.h"
#include "storage/safe_file.h"
#include "storage/settings_store.h"
#include "ui/backgrounds.h"
#include "ui/card_art.h"
#include "ui/look_catalog.h"
#include "ui/look_files.h"
#include "ui/message_boxes.h"
#include "ui/svg_card_set.h"
#include "ui/table_widget.h"

#include <QDateTime>
#include <QFileInfo>

#include <map>
#include <random>

namespace cw::ui {

namespace col = storage::col;

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

std::string pref(const engine::TMainGame& game, const char* key)
{
    if (!game.settingsFile)
        return {};
    return game.settingsFile->readString(storage::kPreferenceSection, key, "");
}

// Files already read and found good (path, date, size): the table asks again at every new deal.
struct Checked {
    QString path;
    QDateTime modified;
    qint64 size;
    bool operator<(const Checked& o) const
    {
        return std::tie(path, modified, size) < std::tie(o.path, o.modified, o.size);
    }
};

Checked stamp(const QString& path)
{
    const QFileInfo info(path);
    return {info.absoluteFilePath(), info.lastModified(), info.size()};
}

std::map<Checked, bool>& checkedCardSets()
{
    static std::map<Checked, bool> cache;
    return cache;
}

std::map<Checked, QImage>& loadedBackgrounds()
{
    static std::map<Checked, QImage> cache;
    return cache;
}

// The message for a player's card set file, or "" when it can be used.
QString cardSetProblem(const QString& path)
{
    const Checked key = stamp(path);
    if (auto it = checkedCardSets().find(key); it != checkedCardSets().end() && it->second)
        return {};
    QString error;
    if (QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) == 0)
        SvgCardSet::load(path, &error);
    else
        error = loadPlayerCardSet(path).error;
    if (error.isEmpty())
        checkedCardSets()[key] = true;
    return error;
}

void clearDeckChoice(engine::TMainGame& game)
{
    storePreference(game, "Customized_Deck", "");
    storePreference(game, "Additional_Deck", "");
    storePreference(game, "Back_Card", "11");
}

void clearBackgroundChoice(engine::TMainGame& game, bool useDefault)
{
    storePreference(game, "Customized_Background", "");
    storePreference(game, "Additional_Background", "");
    if (useDefault) {
        storePreference(game, "Background_def", "Y");
        storePreference(game, "Fade_Background", "Y");
    }
}

} // namespace

void storePreferences(engine::TMainGame& game, const std::vector<std::pair<std::string, std::string>>& values)
{
    for (const auto& [key, value] : values)
        storage::setMirror(game.settings, key, value);
    if (!game.settingsFile)
        return;
    try {
        game.settingsFile->writeStrings(storage::kPreferenceSection, values);
    } catch (const storage::FileError&) {
        // The values hold for this run; the options dialog reports a settings file it cannot write.
    }
}

void storePreference(engine::TMainGame& game, const char* key, const std::string& value)
{
    storePreferences(game, {{key, value}});
}

void resetCardsToDefault(engine::TMainGame& game)
{
    storePreference(game, "Card_Size", "B");
    storePreference(game, "Customized_Cards_Set", "");
    storePreference(game, "Additional_Cards_Set", "");
    storePreference(game, "Card", "1");
}

void applyPlayerLook(TableSettings& t, engine::TMainGame& game, QWidget* parent)
{
    const QString data = qs(game.dataFolder);
    t.cardSetFile.clear();
    if (game.settings.flag(col::CustomizedCardsSet)) {
        const QString name = qs(pref(game, "Customized_Cards_Set"));
        const PlayerLookFile file = findPlayerCardSet(data, name);
        QString problem;
        if (file.path.isEmpty())
            problem = QStringLiteral("Customized cards set image not found: ") +
                      (name.contains(QLatin1Char('/')) ? name : cardSetPath(data, name));
        else
            problem = cardSetProblem(file.path);
        if (problem.isEmpty()) {
            t.cardSetFile = file.path;
        } else {
            informationBox(parent, problem);
            resetCardsToDefault(game);
            t.cardSet = kDefaultCardSet;
            t.cardSize = engine::CardSize::B;
        }
    }

    t.deckFile.clear();
    if (game.settings.flag(col::CustomizedDeck)) {
        const QString name = qs(pref(game, "Customized_Deck"));
        const QString path = findPlayerDeck(data, name);
        QString problem;
        if (path.isEmpty()) {
            problem = QStringLiteral("Customized deck image not found: ") +
                      (name.contains(QLatin1Char('/')) ? name : deckPath(data, name));
        } else {
            const PictureRead read = readPicture(path);
            if (read.problem != PictureProblem::None)
                problem = pictureProblemText(read, path);
        }
        if (problem.isEmpty()) {
            t.deckFile = path;
        } else {
            informationBox(parent, problem);
            clearDeckChoice(game);
            t.deck = kDefaultDeck;
        }
    }

    t.background.playerPicture = QImage();
    if (game.settings.flag(col::CustomizedBackground)) {
        const QString pathOrName = qs(pref(game, "Customized_Background"));
        QString path = pathOrName;
        if (!path.contains(QLatin1Char('/')))
            path = data + pathOrName + QStringLiteral(".bmp");
        const Checked key = stamp(path);
        auto& cache = loadedBackgrounds();
        if (auto it = cache.find(key); it != cache.end()) {
            t.background.playerPicture = it->second;
        } else {
            const PictureFileResult r = loadPlayerBackground(pathOrName, data);
            if (r.ok()) {
                if (cache.size() >= 3)
                    cache.clear();
                cache[key] = r.image;
                t.background.playerPicture = r.image;
            } else {
                informationBox(parent, r.error);
                clearBackgroundChoice(game, true);
                readBackgroundSettings(t.background, game.settings);
            }
        }
    }
}

void applyTablePreferences(TableSettings& t, const engine::TMainGame& game)
{
    const storage::SettingsStore& s = game.settings;
    const int card = std::atoi(s.get(col::Card).c_str());
    t.cardSet = card > 0 ? card : kDefaultCardSet;
    const int back = std::atoi(s.get(col::BackCard).c_str());
    t.deck = back > 0 ? back : kDefaultDeck;
    t.animate = s.get(col::CardsAnimate) != "N";
    t.shadows = s.get(col::CardsShadowed) != "N";
    // A stored speed the track bar cannot show counts as the default.
    t.speedMoveCard = std::atoi(storage::speedForPosition(storage::speedPosition(s.get(col::SpeedMoveCard))).c_str());
    t.irregularPiles = s.flag(col::PilesTT);
    t.scrollBar = s.get(col::VertScrollBar) != "N";
    readBackgroundSettings(t.background, s);
    t.markPattern = game.preferences.highlightFoundationsMark;
    if (game.settingsFile) {
        const storage::IniFile& f = *game.settingsFile;
        const char* pref = storage::kPreferenceSection;
        t.markColour = storage::boundedInteger(f.readString(pref, "HighLights_Foundations_Color", "0"), 0, 14, 0);
        t.winningAnimation = qs(storage::winningAnimationName(f.readString(pref, "Winning_Animations", "(Random)")));
        t.winningSeconds = storage::winningAnimationSeconds(f.readString(pref, "Winning_Animations_Time", "30"));
    }
}

LookChoice lookChoiceOf(const storage::Options& values, const QString& dataFolder)
{
    LookChoice look;
    look.sizeLetter = storage::cardSizeLetter(values.get("Card_Size"));
    const int card = values.integer("Card", kDefaultCardSet);
    look.cardSet = findCardSet(card) ? card : kDefaultCardSet;
    const QString setName = qs(values.get("Customized_Cards_Set"));
    if (!setName.isEmpty())
        look.cardSetFile = findPlayerCardSet(dataFolder, setName).path;
    const int deck = values.integer("Back_Card", kDefaultDeck);
    look.deck = findDeck(deck) ? deck : kDefaultDeck;
    const QString deckName = qs(values.get("Customized_Deck"));
    if (!deckName.isEmpty())
        look.deckFile = findPlayerDeck(dataFolder, deckName);

    BackgroundChoice& b = look.background;
    b.useDefault = values.get("Background_def") == "Y";
    b.number = values.integer("Background_bmp", 0);
    b.fixedColour = values.integer("Background_Fixed_Col", static_cast<int>(kDefaultTableColour));
    b.colour = values.integer("Background_Col", 0);
    b.fade = values.get("Fade_Background") != "N";
    const QString picture = qs(values.get("Customized_Background"));
    if (!picture.isEmpty() && !b.useDefault) {
        const PictureFileResult r = loadPlayerBackground(picture, dataFolder);
        if (r.ok())
            b.playerPicture = r.image;
    }
    return look;
}

void putLook(TableSettings& t, const LookChoice& look)
{
    t.cardSize = engine::cardSizeFromLetter(look.sizeLetter).value_or(engine::CardSize::B);
    t.cardSet = look.cardSet;
    t.cardSetFile = look.cardSetFile;
    t.deck = look.deck;
    t.deckFile = look.deckFile;
    t.background = look.background;
}

void chooseRandomLook(engine::TMainGame& game, const PictureLibrary& library, std::uint32_t randomValue)
{
    const bool cards = game.settings.flag(col::RandomCard);
    const bool decks = game.settings.flag(col::RandomDeck);
    const bool backgrounds = game.settings.flag(col::RandomBackground);
    if (!cards && !decks && !backgrounds)
        return;
    const std::string folder = game.dataFolder;
    storage::RandomLists lists = storage::readRandomLists(folder);
    const LookCatalog catalog = buildLookCatalog(qs(folder), game.settingsFile);
    if (!folder.empty() && !storage::randomListsMarked(folder)) {
        lists.cards = randomListOf(catalog.cardSets, lists.cards);
        lists.decks = randomListOf(catalog.decks, lists.decks);
        lists.backgrounds = randomListOf(catalog.backgrounds, lists.backgrounds);
        try {
            storage::saveRandomLists(folder, lists);
        } catch (const storage::FileError&) {
        }
    }
    std::mt19937 random(randomValue);
    // Every choice is written at once: one rewrite of the settings file.
    std::vector<std::pair<std::string, std::string>> changes;
    const auto add = [&](const char* key, std::string value) { changes.emplace_back(key, std::move(value)); };
    const auto clearBackground = [&] {
        add("Customized_Background", "");
        add("Additional_Background", "");
    };
    // The player's item of a random line, found again by its name.
    const auto playerItem = [&](LookKind kind, const std::string& name) -> const LookItem* {
        for (const LookItem& item : catalog.of(kind))
            if (item.source == LookSource::Player && item.name.compare(qs(name), Qt::CaseInsensitive) == 0)
                return &item;
        return nullptr;
    };

    if (backgrounds) {
        const storage::RandomItem* pick = storage::pickRandomItem(lists.backgrounds, 0, random());
        clearBackground();
        const LookItem* player =
            pick && pick->code == storage::kPlayerItemCode ? playerItem(LookKind::Background, pick->name) : nullptr;
        if (!pick || pick->code <= 0 || (pick->code == storage::kPlayerItemCode && !player)) {
            add("Background_def", "Y");
        } else if (player) {
            add("Background_def", "N");
            add("Customized_Background", player->value.toStdString());
        } else if (pick->code == 1) {
            const bool colour = std::atoll(game.settings.get(col::BackgroundCol).c_str()) != 0;
            add("Background_def", colour ? "N" : "Y");
            add("Background_bmp", "0");
            add("Background_Fixed_Col", "0");
        } else if (pick->code <= 1000) {
            add("Background_def", "N");
            add("Background_bmp", std::to_string(pick->code));
        } else {
            add("Background_def", "N");
            add("Background_bmp", "0");
            add("Background_Fixed_Col", std::to_string(pick->code));
        }
    }
    if (decks) {
        const storage::RandomItem* pick = storage::pickRandomItem(lists.decks, 0, random());
        const LookItem* player =
            pick && pick->code == storage::kPlayerItemCode ? playerItem(LookKind::Deck, pick->name) : nullptr;
        add("Customized_Deck", player ? player->value.toStdString() : "");
        add("Additional_Deck", "");
        if (!player)
            add("Back_Card",
                std::to_string(pick && pick->code > 0 && findDeck(pick->code) ? pick->code : kDefaultDeck));
    }
    if (cards) {
        const std::string letter = game.settings.get(col::CardSize);
        const storage::RandomItem* pick =
            storage::pickRandomItem(lists.cards, letter.empty() ? 'B' : letter[0], random());
        const LookItem* player =
            pick && pick->code == storage::kPlayerItemCode ? playerItem(LookKind::CardSet, pick->name) : nullptr;
        add("Customized_Cards_Set", player ? player->value.toStdString() : "");
        add("Additional_Cards_Set", "");
        if (!player)
            add("Card",
                std::to_string(pick && pick->code > 0 && findCardSet(pick->code) ? pick->code : kDefaultCardSet));
    }
    (void)library;
    storePreferences(game, changes);
}

} // namespace cw::ui
