// The FastSearch window: its six list kinds, "Stay on top", where it is placed and what it remembers.
#include "ui/fast_search.h"

#include "catalog/chooser.h"
#include "catalog/custom_games.h"
#include "catalog/definitions.h"
#include "catalog/favorites.h"
#include "catalog/last_played.h"
#include "catalog/game_numbers.h"
#include "storage/ini_file.h"
#include "storage/preferences.h"
#include "ui/message_boxes.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <fstream>
#include <set>

namespace cw::ui {

namespace {

const char* const kKindMenu[] = {"All games", "Favorite games only", "Selected games only", "Customized games only",
                                 "Lost games only", "My recent games"};
const char* const kKindCaption[] = {"All games", "Favorite games", "Selected games", "Customized games",
                                    "Lost games", "My recent games"};
constexpr const char* kSection = storage::kSettingsSection;

QString qs(const std::string& s) { return QString::fromStdString(s); }

} // namespace

FastSearchWindow::FastSearchWindow(engine::TMainGame& game, QWidget* mainWindow, std::function<bool(int)> startGame)
    : QWidget(mainWindow, Qt::Tool), m_game(game), m_main(mainWindow), m_startGame(std::move(startGame))
{
    setObjectName(QStringLiteral("TfrmFastSearch"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    m_options = new QToolButton(this);
    m_options->setText(QStringLiteral("Options"));
    m_options->setPopupMode(QToolButton::InstantPopup);
    layout->addWidget(m_options);
    m_list = new QTreeWidget(this);
    m_list->setHeaderHidden(true);
    m_list->setUniformRowHeights(true);
    layout->addWidget(m_list, 1);
    connect(m_list, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { clicked(item); });
    resize(182, 216);
    if (game.settingsFile) {
        const int k = game.settingsFile->readInteger(kSection, "Games_Fast_Search_Type", 0);
        m_kind = FastSearchKind(k >= 0 && k <= 5 ? k : 0);
        m_stayOnTop = game.settingsFile->readBool(kSection, "Games_Fast_Search_Stay_On_Top", false);
    }
    auto* menu = new QMenu(this);
    auto* group = new QActionGroup(menu);
    for (int k = 0; k < 6; ++k) {
        QAction* a = menu->addAction(QString::fromLatin1(kKindMenu[k]));
        a->setCheckable(true);
        a->setChecked(k == int(m_kind));
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, k] { setKind(FastSearchKind(k)); });
    }
    menu->addSeparator();
    QAction* top = menu->addAction(QStringLiteral("Stay on top"));
    top->setCheckable(true);
    top->setChecked(m_stayOnTop);
    connect(top, &QAction::toggled, this, [this](bool on) { m_stayOnTop = on; });
    m_options->setMenu(menu);
    setWindowTitle(QStringLiteral("FastSearch [%1]").arg(QString::fromLatin1(kKindCaption[int(m_kind)])));
}

void FastSearchWindow::setKind(FastSearchKind kind)
{
    m_kind = kind;
    m_game.preferences.fastSearchType = int(kind);
    setWindowTitle(QStringLiteral("FastSearch [%1]").arg(QString::fromLatin1(kKindCaption[int(kind)])));
    saveState();
    refill();
}

void FastSearchWindow::refill()
{
    m_list->clear();
    const auto& list = m_game.gameList;
    auto nameOf = [&](int id) { return m_game.gameName(id); };
    auto sorted = [&](std::vector<int> ids) {
        catalog::ChooserCatalog cat;
        cat.list = &list;
        cat.customGames = m_game.customGames;
        return catalog::SortedByName(cat, std::move(ids));
    };
    std::vector<int> ids;
    switch (m_kind) {
    case FastSearchKind::Favorites: {
        if (!m_game.settingsFile) break;
        const auto tree = catalog::BuildFavoritesTree(catalog::ReadFavorites(*m_game.settingsFile));
        const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
        std::function<QTreeWidgetItem*(const catalog::FavoriteNode&)> make = [&](const catalog::FavoriteNode& n) {
            auto* item = new QTreeWidgetItem;
            item->setText(0, n.isFolder() ? qs(n.name) : qs(nameOf(n.id)));
            item->setData(0, Qt::UserRole, n.id);
            if (n.isFolder()) item->setIcon(0, folderIcon);
            for (const auto& c : n.children) item->addChild(make(c));
            return item;
        };
        for (const auto& n : tree) m_list->addTopLevelItem(make(n));
        m_list->expandAll();
        if (decorate) decorate(m_list);
        return;
    }
    case FastSearchKind::AllGames:
        for (const auto& e : list.entries())
            if (e.usable) ids.push_back(e.id);
        for (const auto& c : m_game.customGames) ids.push_back(c.id);
        break;
    case FastSearchKind::Selected: {
        auto group = catalog::ReadGameGroup(m_game.definitionsText, catalog::kSectPopular, m_game.definitionsName);
        if (group) ids = *group;
        break;
    }
    case FastSearchKind::Custom:
        for (const auto& c : m_game.customGames) ids.push_back(c.id);
        break;
    case FastSearchKind::Lost: {
        // The games the current player has a won record of in the game log.
        std::ifstream in(catalog::FindFileNoCase(m_game.dataFolder, "Stat_log.dat"), std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(std::move(line));
        const std::set<std::string> won = catalog::GamesWonBy(lines, m_game.player());
        for (const auto& e : list.entries())
            if (e.usable && !won.count(e.name)) ids.push_back(e.id);
        for (const auto& c : m_game.customGames)
            if (!won.count(c.name)) ids.push_back(c.id);
        break;
    }
    case FastSearchKind::Recent:
        if (m_game.settingsFile) ids = catalog::ReadLastPlayedGames(*m_game.settingsFile);
        break;
    }
    for (int id : sorted(std::move(ids))) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, qs(nameOf(id)));
        item->setData(0, Qt::UserRole, id);
    }
    if (decorate) decorate(m_list);
}

void FastSearchWindow::placeForShowing(const QRect& toolbarGlobal)
{
    const QPoint home(toolbarGlobal.left(), toolbarGlobal.bottom() + 1);
    if (!m_shownOnce) {
        m_shownOnce = true;
        move(home);
        if (m_stayOnTop && m_game.settingsFile) {
            const auto& ini = *m_game.settingsFile;
            move(ini.readInteger(kSection, "Games_Fast_Search_Left", x()),
                 ini.readInteger(kSection, "Games_Fast_Search_Top", y()));
            resize(ini.readInteger(kSection, "Games_Fast_Search_Width", width()),
                   ini.readInteger(kSection, "Games_Fast_Search_Height", height()));
        }
    } else if (!m_stayOnTop) {
        move(home);
    }
    // A window left (almost) off the screen comes back to its default place.
    const QScreen* screen = m_main ? m_main->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect s = screen->geometry();
        if (x() > s.right() - 10 || y() > s.bottom() - 10) move(home);
    }
    if (m_list->topLevelItemCount() == 0) refill();
}

void FastSearchWindow::saveState()
{
    if (!m_game.settingsFile) return;
    try {
        auto& ini = *m_game.settingsFile;
        ini.writeInteger(kSection, "Games_Fast_Search_Type", int(m_kind));
        ini.writeBool(kSection, "Games_Fast_Search_Stay_On_Top", m_stayOnTop);
        ini.writeInteger(kSection, "Games_Fast_Search_Left", x());
        ini.writeInteger(kSection, "Games_Fast_Search_Top", y());
        ini.writeInteger(kSection, "Games_Fast_Search_Width", width());
        ini.writeInteger(kSection, "Games_Fast_Search_Height", height());
    } catch (const std::exception&) {
        // The place is remembered for this run only.
    }
}

void FastSearchWindow::hideEvent(QHideEvent* event)
{
    saveState();
    QWidget::hideEvent(event);
}

void FastSearchWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && m_main) {
        QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text());
        QApplication::sendEvent(m_main, &copy);
        return;
    }
    QWidget::keyPressEvent(event);
}

void FastSearchWindow::clicked(QTreeWidgetItem* item)
{
    if (!item) return;
    const int id = item->data(0, Qt::UserRole).toInt();
    if (id < 0) {
        informationBox(this, QStringLiteral("Open a game"));
        return;
    }
    if (!m_stayOnTop) hide();
    const bool started = m_startGame(id);
    if (!started && !m_stayOnTop) show();
}

} // namespace cw::ui
