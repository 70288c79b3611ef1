// The table pop-up's picture commands: the card sets, decks and backgrounds the library can draw, applied at once.
#include "engine/session.h"

#include "ui/table_widget_popup.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include <cstdio>

#include "engine/game_object.h"
#include "storage/ini_file.h"
#include "storage/preferences.h"
#include "storage/settings_store.h"
#include "ui/backgrounds.h"
#include "ui/card_art.h"
#include "ui/deck_art.h"
#include "ui/main_window.h"
#include "ui/table_widget.h"

namespace cw::ui {

namespace col = storage::col;

namespace {

std::string threeDigits(int number)
{
    char text[16];
    std::snprintf(text, sizeof text, "%03d", number);
    return text;
}

// A sub-menu of exclusive items, one per number; `choose` gets the item's number.
template <typename Choose>
QMenu* choiceMenu(QWidget* parent, const QString& title, const QString& name,
                  const std::vector<std::pair<int, QString>>& items, Choose choose)
{
    auto* menu = new QMenu(title, parent);
    menu->setObjectName(name);
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    for (const auto& [number, caption] : items) {
        QAction* a = menu->addAction(caption);
        a->setCheckable(true);
        a->setData(number);
        group->addAction(a);
        QObject::connect(a, &QAction::triggered, menu, [choose, number] { choose(number); });
    }
    return menu;
}

void check(QMenu* menu, int number)
{
    for (QAction* a : menu->actions())
        a->setChecked(a->data().toInt() == number);
}

int storedNumber(const storage::SettingsStore& s, storage::Field field, int fallback)
{
    const int n = std::atoi(s.get(field).c_str());
    return n > 0 ? n : fallback;
}

} // namespace

PictureChoiceCommands::PictureChoiceCommands(TfrmMain& window, engine::TMainGame& game, const PictureLibrary& library)
    : QObject(&window), m_window(window), m_game(game), m_library(library)
{
    setObjectName(QStringLiteral("PictureChoiceCommands"));
    fill();
}

PictureChoiceCommands* installPictureChoiceCommands(TfrmMain& window, engine::TMainGame& game,
                                                    const PictureLibrary& library)
{
    return new PictureChoiceCommands(window, game, library);
}

void PictureChoiceCommands::fill()
{
    std::vector<std::pair<int, QString>> sets;
    for (int n : availableCardSets(m_library))
        if (const CardSetInfo* info = findCardSet(n))
            sets.emplace_back(n, info->name);
    std::vector<std::pair<int, QString>> decks;
    for (int n : availableDecks(m_library))
        if (const DeckInfo* info = findDeck(n))
            decks.emplace_back(n, info->name);
    std::vector<std::pair<int, QString>> backgrounds{{0, tr("Green (default)")}};
    for (const BackgroundInfo& b : builtInBackgrounds())
        backgrounds.emplace_back(b.number, b.name);

    m_cardSets = choiceMenu(&m_window, tr("Change card set"), QStringLiteral("popCardSet"), sets,
                            [this](int n) { chooseCardSet(n); });
    m_decks = choiceMenu(&m_window, tr("Change deck"), QStringLiteral("popDeck"), decks,
                         [this](int n) { chooseDeck(n); });
    m_backgrounds = choiceMenu(&m_window, tr("Change background"), QStringLiteral("popBackground"), backgrounds,
                               [this](int n) { chooseBackground(n); });

    // The table's pop-up is the window's own menu holding "Pause": the three go before it.
    for (QMenu* popup : m_window.findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly)) {
        QAction* pause = nullptr;
        for (QAction* a : popup->actions())
            if (a->objectName() == QLatin1String("mnuPause"))
                pause = a;
        if (!pause)
            continue;
        // "Favorite games..." opens the favorites organizer when the window has one.
        if (QAction* organize = m_window.findChild<QAction*>(QStringLiteral("mnuOrganizeFavorites"))) {
            auto* favorites = new QAction(tr("Favorite games..."), popup);
            favorites->setObjectName(QStringLiteral("popFavorites"));
            connect(favorites, &QAction::triggered, organize, &QAction::trigger);
            popup->insertAction(pause, favorites);
        }
        popup->insertMenu(pause, m_cardSets);
        popup->insertMenu(pause, m_decks);
        popup->insertMenu(pause, m_backgrounds);
        popup->insertSeparator(pause);
        connect(popup, &QMenu::aboutToShow, this, &PictureChoiceCommands::markCurrent);
        break;
    }
    markCurrent();
}

void PictureChoiceCommands::markCurrent()
{
    const storage::SettingsStore& s = m_game.settings;
    check(m_cardSets, effectiveCardSet(m_library, storedNumber(s, col::Card, kDefaultCardSet)));
    check(m_decks, storedNumber(s, col::BackCard, kDefaultDeck));
    BackgroundChoice background;
    readBackgroundSettings(background, s);
    check(m_backgrounds, background.useDefault ? 0 : background.number);
}

void PictureChoiceCommands::store(const storage::Field& field, const char* key, const std::string& value)
{
    m_game.settings.set(field, value);
    if (m_game.settingsFile)
        m_game.settingsFile->writeString(storage::kPreferenceSection, key, value);
}

void PictureChoiceCommands::applyToTable(const std::function<void(TableSettings&)>& change)
{
    TableSettings t = m_window.table()->settings();
    change(t);
    m_window.table()->setSettings(t);
    markCurrent();
}

void PictureChoiceCommands::chooseCardSet(int number)
{
    store(col::Card, "Card", threeDigits(number));
    applyToTable([number](TableSettings& t) { t.cardSet = number; });
}

void PictureChoiceCommands::chooseDeck(int number)
{
    store(col::BackCard, "Back_Card", threeDigits(number));
    applyToTable([number](TableSettings& t) { t.deck = number; });
}

void PictureChoiceCommands::chooseBackground(int number)
{
    // The default green is its own setting; a picture turns it off.
    const bool green = number <= 0;
    store(col::BackgroundDef, "Background_def", green ? "Y" : "N");
    if (!green)
        store(col::BackgroundBmp, "Background_bmp", std::to_string(number));
    applyToTable([this](TableSettings& t) { readBackgroundSettings(t.background, m_game.settings); });
}

} // namespace cw::ui
