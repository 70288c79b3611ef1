// TfrmOpenGame: the chooser's views, search, description panel, preview and the state it keeps in the settings.
#include "ui/main_window.h"
#include "ui/open_game_dialog.h"

#include "catalog/custom_games.h"
#include "catalog/definitions.h"
#include "catalog/favorites.h"
#include "catalog/game_list.h"
#include "catalog/last_played.h"
#include "storage/fixed_width.h"
#include "storage/ini_file.h"
#include "storage/preferences.h"
#include "storage/players.h"
#include "storage/settings_store.h"
#include "ui/card_art.h"
#include "ui/dialog_base.h"
#include "ui/message_boxes.h"
#include "ui/picture_library.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <fstream>

namespace cw::ui {

using catalog::ChooserView;

namespace {

constexpr int kNumberRole = Qt::UserRole;        // game id, folder or placeholder number
constexpr int kFolderRole = Qt::UserRole + 1;    // number of the folder that holds the entry
constexpr int kPendingRole = Qt::UserRole + 2;   // true on a folder not filled yet
constexpr int kOrderRole = Qt::UserRole + 3;     // place of a game in its list before a search reordered it

// How well a game's name answers a search: the name itself, then names that start with the text,
// then names with a word that does, then names that merely contain it.
int matchRank(const QString& name, const QString& typed)
{
    if (name.compare(typed, Qt::CaseInsensitive) == 0)
        return 0;
    if (name.startsWith(typed, Qt::CaseInsensitive))
        return 1;
    for (qsizetype at = name.indexOf(typed, 0, Qt::CaseInsensitive); at >= 0;
         at = name.indexOf(typed, at + 1, Qt::CaseInsensitive))
        if (at > 0 && !name.at(at - 1).isLetterOrNumber())
            return 2;
    return 3;
}

// Puts the games among an item's children in search order (rank, then their own order), or back
// in their own order when nothing is typed. Folders keep their places.
void orderGames(QTreeWidgetItem* item, const QString& typed)
{
    const int n = item->childCount();
    if (n < 2)
        return;
    for (int i = 0; i < n; ++i) {
        QTreeWidgetItem* c = item->child(i);
        if (c->childCount() > 0 || c->data(0, kNumberRole).toInt() < 0)
            return; // a list with folders
        if (!c->data(0, kOrderRole).isValid())
            c->setData(0, kOrderRole, i);
    }
    QList<QTreeWidgetItem*> games = item->takeChildren();
    std::stable_sort(games.begin(), games.end(), [&](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        const int ra = typed.isEmpty() ? 0 : matchRank(a->text(0), typed);
        const int rb = typed.isEmpty() ? 0 : matchRank(b->text(0), typed);
        if (ra != rb)
            return ra < rb;
        return a->data(0, kOrderRole).toInt() < b->data(0, kOrderRole).toInt();
    });
    item->addChildren(games);
}
constexpr int kLazyMarker = -999999;             // number of the invisible placeholder child

const char* const kViewHints[catalog::kChooserViewCount] = {
    "List all the games in alphabetic order", "List the games grouped by type",
    "List a selection of the most popular games", "List your favorite games",
    "List the games most recently played"};
const char* const kViewCaptions[catalog::kChooserViewCount] = {"All", "Groups", "Selected", "Favorites", "Recent"};

QString qs(const std::string& s) { return QString::fromStdString(s); }

std::vector<std::string> readLines(const std::filesystem::path& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace

// ---- Preview ----

GamePreview::GamePreview(const PictureLibrary& library, const QString& previewFile)
    : m_library(library)
{
    m_lines = readLines(previewFile.toStdString());
}

bool GamePreview::hasLine(int id) const
{
    return id >= 0 && std::size_t(id) < m_lines.size() && m_lines[std::size_t(id)].size() > 4;
}

QImage GamePreview::smallPicture(int number, qreal dpr) const
{
    const int key = number * 10 + int(dpr * 4);
    if (auto it = m_cache.constFind(key); it != m_cache.constEnd()) return *it;
    const QSize card(catalog::kPreviewCardWidth, catalog::kPreviewCardHeight);
    QImage img;
    const int set = effectiveCardSet(m_library, kDefaultCardSet);
    if (number >= 1 && number <= 52) {
        img = renderCardFace(m_library, set, number, card, dpr);
    } else if (number == catalog::kPreviewJoker) {
        img = renderCardFace(m_library, set, 209, card, dpr);
    } else if (number == catalog::kPreviewBack) {
        img = renderCardSetBack(m_library, set, card, dpr);
        if (img.isNull()) {
            img = QImage(card * dpr, QImage::Format_ARGB32_Premultiplied);
            img.setDevicePixelRatio(dpr);
            img.fill(Qt::transparent);
            QPainter p(&img);
            p.setRenderHint(QPainter::Antialiasing);
            p.setBrush(QColor(30, 60, 150));
            p.setPen(QColor(240, 240, 240));
            p.drawRoundedRect(QRectF(0.5, 0.5, card.width() - 1, card.height() - 1), 2, 2);
        }
    }
    if (img.isNull()) {  // pile placeholders and numbers without a picture
        img = QImage(card * dpr, QImage::Format_ARGB32_Premultiplied);
        img.setDevicePixelRatio(dpr);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(200, 230, 200), 1));
        p.setBrush(number == catalog::kPreviewFoundation ? QBrush(QColor(0, 80, 0)) : QBrush(Qt::NoBrush));
        p.drawRoundedRect(QRectF(0.5, 0.5, card.width() - 1, card.height() - 1), 2, 2);
    }
    m_cache.insert(key, img);
    return img;
}

QImage GamePreview::render(int id, qreal dpr) const
{
    const QSize area = areaSize();
    QImage img(area * dpr, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(dpr);
    QPainter p(&img);
    QLinearGradient felt(0, 0, 0, area.height());
    felt.setColorAt(0, QColor(0, 128, 0));
    felt.setColorAt(1, QColor(0, 90, 0));
    p.fillRect(QRect(QPoint(0, 0), area), felt);
    std::vector<catalog::PreviewPicture> pictures;
    if (id >= 0 && std::size_t(id) < m_lines.size())
        pictures = catalog::ParsePreviewLine(catalog::DecodePreviewLine(m_lines[std::size_t(id)]));
    if (pictures.empty()) {
        const QString name = QStringLiteral("GAME%1").arg(id, 4, 10, QLatin1Char('0'));
        QImage own = m_library.hasPicture(name) ? m_library.picture(name, dpr) : QImage();
        if (!own.isNull()) {
            const QSizeF s = own.deviceIndependentSize();
            p.drawImage(QPointF((area.width() - s.width()) / 2, 8), own);
        } else {
            p.setPen(QColor(220, 240, 220));
            p.drawText(QRect(QPoint(0, 0), area), Qt::AlignCenter, QStringLiteral("No preview"));
        }
        return img;
    }
    for (const catalog::PreviewPicture& pic : pictures)
        p.drawImage(QPoint(pic.x + catalog::kPreviewOffsetX, pic.y + catalog::kPreviewOffsetY),
                    smallPicture(pic.picture, dpr));
    return img;
}

// ---- Dialog ----

TfrmOpenGame::TfrmOpenGame(engine::TMainGame& game, const PictureLibrary& library, QWidget* parent)
    : QDialog(parent), m_game(game), m_library(library)
{
    setObjectName(QStringLiteral("TfrmOpenGame"));
    setWindowTitle(QStringLiteral("Open a game"));
    auto cat = catalog::LoadChooserCatalog(game.definitionsText, game.gameList, game.customGames,
                                           game.definitionsName);
    m_catalog = std::make_unique<catalog::ChooserCatalog>(cat ? std::move(cat.value()) : catalog::ChooserCatalog{});
    m_catalog->list = &m_game.gameList;
    if (!cat) m_catalog->customGames = game.customGames;
    const auto previewPath = catalog::FindFileNoCase(game.installFolder, catalog::kPreviewFileName);
    m_preview = std::make_unique<GamePreview>(library, QString::fromStdString(previewPath.string()));
    buildUi();
    applyDialogFont(this);
}

TfrmOpenGame::~TfrmOpenGame() = default;

void TfrmOpenGame::buildUi()
{
    auto* top = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    for (int v = 0; v < catalog::kChooserViewCount; ++v) {
        auto* b = new QToolButton(this);
        b->setText(QString::fromLatin1(kViewCaptions[v]));
        b->setToolTip(QString::fromLatin1(kViewHints[v]));
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setObjectName(QStringLiteral("tbView%1").arg(v));
        connect(b, &QToolButton::clicked, this, [this, v] { setView(ChooserView(v)); });
        m_viewButtons[v] = b;
        bar->addWidget(b);
    }
    bar->addSpacing(12);
    bar->addWidget(new QLabel(QStringLiteral("Searc&h:"), this));
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("edtSearch"));
    m_search->setClearButtonEnabled(true);
    m_search->setPlaceholderText(QStringLiteral("Type part of a name"));
    static_cast<QLabel*>(bar->itemAt(bar->count() - 1)->widget())->setBuddy(m_search);
    connect(m_search, &QLineEdit::textChanged, this, &TfrmOpenGame::applySearch);
    bar->addWidget(m_search, 1);
    top->addLayout(bar);

    auto* body = new QHBoxLayout;
    m_stack = new QStackedWidget(this);
    for (int v = 0; v < catalog::kChooserViewCount; ++v) {
        auto* t = new QTreeWidget(this);
        t->setObjectName(QStringLiteral("tvGames%1").arg(v));
        t->setHeaderHidden(true);
        t->setUniformRowHeights(true);
        t->setRootIsDecorated(v == int(ChooserView::Groups) || v == int(ChooserView::Favorites));
        connect(t, &QTreeWidget::currentItemChanged, this, &TfrmOpenGame::selectionChanged);
        connect(t, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { itemActivated(item); });
        connect(t, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { fillFolder(item); });
        t->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(t, &QTreeWidget::customContextMenuRequested, this, [this, t](const QPoint& at) { showContextMenu(t, at); });
        m_trees[v] = t;
        m_stack->addWidget(t);
    }
    m_stack->setMinimumSize(260, 360);
    body->addWidget(m_stack, 1);

    // The description pane keeps one width whatever the game (the preview's): long names and
    // texts wrap, a long player name is cut short in its box.
    auto* rightPane = new QWidget(this);
    rightPane->setObjectName(QStringLiteral("pnlDescription"));
    rightPane->setFixedWidth(GamePreview::areaSize().width() + 8);
    auto* right = new QVBoxLayout(rightPane);
    right->setContentsMargins(4, 0, 4, 0);
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("lblGameName"));
    m_name->setWordWrap(true);
    QFont bold = m_name->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    m_name->setFont(bold);
    right->addWidget(m_name);
    auto* grid = new QGridLayout;
    const char* const captions[4] = {"Game time:", "Difficulty level:", "Chance of winning:", "Skill level:"};
    for (int i = 0; i < 4; ++i) {
        m_featurePicture[i] = new QLabel(this);
        m_featurePicture[i]->setFixedSize(16, 16);
        m_featureText[i] = new QLabel(this);
        m_featureText[i]->setWordWrap(true);
        grid->addWidget(m_featurePicture[i], i, 0);
        grid->addWidget(new QLabel(QString::fromLatin1(captions[i]), this), i, 1);
        grid->addWidget(m_featureText[i], i, 2);
    }
    m_decks = new QLabel(this);
    m_redeals = new QLabel(this);
    grid->addWidget(new QLabel(QStringLiteral("Decks:"), this), 4, 1);
    grid->addWidget(m_decks, 4, 2);
    grid->addWidget(new QLabel(QStringLiteral("Redeals:"), this), 5, 1);
    grid->addWidget(m_redeals, 5, 2);
    m_like = new QLabel(this);
    m_like->setObjectName(QStringLiteral("lblLikeThis"));
    m_like->setWordWrap(true);
    m_like->setTextFormat(Qt::RichText);
    m_like->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    // Room for two lines of names, so that a wrapped list never pushes the preview under the boxes.
    m_like->setMinimumHeight(2 * m_like->fontMetrics().lineSpacing());
    m_like->setToolTip(QStringLiteral("The games closest in rules to this one; click one to select it"));
    connect(m_like, &QLabel::linkActivated, this, [this](const QString& link) { goToGame(link.toInt()); });
    grid->addWidget(new QLabel(QStringLiteral("Games like this one:"), this), 6, 1, Qt::AlignTop);
    grid->addWidget(m_like, 6, 2);
    grid->setColumnStretch(2, 1);
    right->addLayout(grid);
    m_previewLabel = new QLabel(this);
    m_previewLabel->setObjectName(QStringLiteral("imgPreview"));
    m_previewLabel->setFixedSize(GamePreview::areaSize());
    m_previewLabel->setFrameShape(QFrame::StyledPanel);
    right->addWidget(m_previewLabel);
    m_previewBox = new QCheckBox(QStringLiteral("&Preview"), this);
    connect(m_previewBox, &QCheckBox::toggled, this, &TfrmOpenGame::selectionChanged);
    right->addWidget(m_previewBox);
    m_showMarks = new QCheckBox(QStringLiteral("&Show won and lost"), this);
    m_showMarks->setObjectName(QStringLiteral("chkShowWonLost"));
    m_showMarks->setToolTip(QStringLiteral("Marks the games the player has won, played without winning, or never played"));
    connect(m_showMarks, &QCheckBox::toggled, this, &TfrmOpenGame::refreshMarks);
    right->addWidget(m_showMarks);
    auto* playerRow = new QHBoxLayout;
    auto* playerLabel = new QLabel(QStringLiteral("Pla&yer:"), this);
    m_players = new QComboBox(this);
    m_players->setObjectName(QStringLiteral("cbPlayer"));
    m_players->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_players->setMinimumContentsLength(8);
    m_players->view()->setTextElideMode(Qt::ElideRight);
    playerLabel->setBuddy(m_players);
    connect(m_players, &QComboBox::activated, this, [this] {
        m_game.settings.set(storage::col::Player, chosenPlayer());
        refreshMarks();
        emit playerChanged();
    });
    auto* players = new QPushButton(QStringLiteral("Players..."), this);
    players->setObjectName(QStringLiteral("btnPlayers"));
    connect(players, &QPushButton::clicked, this, &TfrmOpenGame::playersRequested);
    playerRow->addWidget(playerLabel);
    playerRow->addWidget(m_players, 1);
    playerRow->addWidget(players);
    right->addLayout(playerRow);
    right->addStretch(1);
    body->addWidget(rightPane);
    top->addLayout(body, 1);

    auto* buttons = new QHBoxLayout;
    m_rules = new QPushButton(QStringLiteral("Rules"), this);
    m_rules->setObjectName(QStringLiteral("btnRules"));
    m_statistics = new QPushButton(QStringLiteral("Statistics  "), this);
    m_statistics->setObjectName(QStringLiteral("btnStatistics"));
    auto* favorites = new QPushButton(QStringLiteral("Favorite games..."), this);
    favorites->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    m_delete = new QPushButton(QStringLiteral("Delete"), this);
    m_delete->setObjectName(QStringLiteral("btnDelete"));
    auto* saved = new QPushButton(QStringLiteral("Open a sa&ved game..."), this);
    saved->setObjectName(QStringLiteral("btnOpenSaved"));
    auto* number = new QPushButton(QStringLiteral("Game n&umber..."), this);
    number->setObjectName(QStringLiteral("btnGameNumber"));
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    for (QPushButton* b : {m_rules, m_statistics, favorites, m_delete, saved, number}) buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    top->addLayout(buttons);
    m_delete->setEnabled(false);
    m_delete->setToolTip(QStringLiteral("Deletes the selected customized game"));
    connect(m_rules, &QPushButton::clicked, this, [this] {
        const int n = selectedNumber();
        if (n < 0)
            informationBox(this, QStringLiteral("Select a game"));
        else
            emit rulesRequested(n);
    });
    connect(m_statistics, &QPushButton::clicked, this, [this] {
        if (selectedNumber() >= 0) emit statisticsRequested(selectedNumber());
    });
    auto* statisticsKey = new QShortcut(QKeySequence(Qt::Key_F4), this);
    connect(statisticsKey, &QShortcut::activated, m_statistics, &QPushButton::click);
    connect(m_delete, &QPushButton::clicked, this, &TfrmOpenGame::deleteSelected);
    for (QTreeWidget* t : m_trees) {
        auto* del = new QShortcut(QKeySequence(QKeySequence::Delete), t, nullptr, nullptr, Qt::WidgetShortcut);
        connect(del, &QShortcut::activated, this, &TfrmOpenGame::deleteSelected);
    }
    connect(favorites, &QPushButton::clicked, this, [this] {
        emit organizeFavoritesRequested();
    });
    connect(saved, &QPushButton::clicked, this, &TfrmOpenGame::openSavedGameRequested);
    connect(number, &QPushButton::clicked, this, &TfrmOpenGame::gameNumberRequested);
    connect(m_ok, &QPushButton::clicked, this, &TfrmOpenGame::accept);
    connect(cancel, &QPushButton::clicked, this, &TfrmOpenGame::reject);
    resize(720, 500);
}

QTreeWidget* TfrmOpenGame::viewTree(ChooserView view) const { return m_trees[int(view)]; }

QTreeWidgetItem* TfrmOpenGame::gameItem(int id, int folderNumber) const
{
    auto* item = new QTreeWidgetItem;
    item->setText(0, qs(catalog::ChooserGameName(*m_catalog, id)));
    item->setData(0, kNumberRole, id);
    item->setData(0, kFolderRole, folderNumber);
    setGameIcon(item);
    return item;
}

void TfrmOpenGame::setGameIcon(QTreeWidgetItem* item) const
{
    const int id = item->data(0, kNumberRole).toInt();
    item->setIcon(0, gameTypeIcon(m_library, catalog::GameType(m_game.gameList, id), markOf(id)));
}

GameMark TfrmOpenGame::markOf(int id) const
{
    return m_showMarks->isChecked() ? gameMarkFor(m_states, id) : GameMark::Plain;
}

void TfrmOpenGame::refreshMarks()
{
    m_states.clear();
    if (m_showMarks->isChecked()) {
        stats::StatsContext ctx;
        ctx.dataFolder = m_game.dataFolder;
        ctx.settings = &m_game.settings;
        if (!ctx.dataFolder.empty()) m_states = stats::playedStates(ctx, chosenPlayer());
    }
    for (QTreeWidget* tree : m_trees)
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            if ((*it)->data(0, kNumberRole).toInt() >= 0) setGameIcon(*it);
}

void TfrmOpenGame::fillPlayerBox(const std::string& select)
{
    std::vector<std::string> names =
        m_game.settingsFile ? storage::listPlayers(*m_game.settingsFile) : std::vector<std::string>{};
    const std::string current = m_game.player();
    if (std::find(names.begin(), names.end(), current) == names.end() && !current.empty()) {
        names.push_back(current);
        storage::sortPlayerNames(names);
    }
    m_players->clear();
    // A long name is shown cut short (the whole name in its tip); the item keeps the whole name.
    constexpr int kShownLength = 32;
    for (const std::string& n : names) {
        const QString name = qs(n);
        const QString shown = name.size() > kShownLength ? name.left(kShownLength - 1) + QChar(0x2026) : name;
        m_players->addItem(shown, name);
        m_players->setItemData(m_players->count() - 1, name, Qt::ToolTipRole);
    }
    int index = m_players->findData(qs(select));
    if (index < 0)
        index = m_players->findData(qs(current));
    m_players->setCurrentIndex(std::max(index, 0));
}

std::string TfrmOpenGame::chosenPlayer() const
{
    return m_players->currentIndex() >= 0 ? m_players->currentData().toString().toStdString() : m_game.player();
}

void TfrmOpenGame::showContextMenu(QTreeWidget* tree, const QPoint& at)
{
    if (QTreeWidgetItem* item = tree->itemAt(at)) tree->setCurrentItem(item);
    const bool game = selectedNumber() >= 0;
    QMenu menu(this);
    QAction* rules = menu.addAction(QStringLiteral("&Rules"), m_rules, &QPushButton::click);
    QAction* statistics = menu.addAction(QStringLiteral("Statistics..."), m_statistics, &QPushButton::click);
    statistics->setShortcut(QKeySequence(Qt::Key_F4));
    rules->setEnabled(game);
    statistics->setEnabled(game);
    menu.addSeparator();
    menu.addAction(QStringLiteral("Favorite games..."), this, &TfrmOpenGame::organizeFavoritesRequested)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    menu.addAction(QStringLiteral("&Players..."), this, &TfrmOpenGame::playersRequested);
    menu.exec(tree->viewport()->mapToGlobal(at));
}

void TfrmOpenGame::deleteSelected()
{
    const int id = selectedNumber();
    if (!deleteCustomGame || id < catalog::kFirstCustomId) return;
    if (!deleteCustomGame(id)) return;
    customGamesChanged();
}

void TfrmOpenGame::customGamesChanged()
{
    m_catalog->customGames = m_game.customGames;
    for (ChooserView v : {ChooserView::AllGames, ChooserView::Groups, ChooserView::Favorites, ChooserView::LastPlayed})
        invalidateView(v);
    selectionChanged();
}

void TfrmOpenGame::fillGroups(QTreeWidget* tree)
{
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    std::function<void(QTreeWidgetItem*, const catalog::ChooserFolder&, int)> add =
        [&](QTreeWidgetItem* parent, const catalog::ChooserFolder& f, int parentNumber) {
            auto* item = new QTreeWidgetItem;
            item->setText(0, qs(f.caption));
            item->setIcon(0, folderIcon);
            if (f.number == catalog::kFolderCustomGames)
                item->setIcon(0, gameTypeIcon(m_library, catalog::kCustomGameType, GameMark::Plain));
            for (const catalog::GameTypeInfo& t : catalog::AllGameTypes())
                if (parentNumber == catalog::kFolderGameType && t.caption == f.caption)
                    item->setIcon(0, gameTypeIcon(m_library, t.type, GameMark::Plain));
            item->setData(0, kNumberRole, f.number);
            item->setData(0, kFolderRole, parentNumber);
            if (parent)
                parent->addChild(item);
            else
                tree->addTopLevelItem(item);
            for (const auto& sub : f.subfolders) add(item, sub, f.number);
            if (f.subfolders.empty()) {
                // One invisible child so that the folder can be opened; filled on first opening.
                auto* lazy = new QTreeWidgetItem(item);
                lazy->setData(0, kNumberRole, kLazyMarker);
                lazy->setHidden(true);
                item->setData(0, kPendingRole, true);
                item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
            }
        };
    for (const auto& f : catalog::GroupsViewFolders(kProductVersion)) add(nullptr, f, catalog::kFolderTopLevel);
}

void TfrmOpenGame::fillFolder(QTreeWidgetItem* folder)
{
    if (!folder || !folder->data(0, kPendingRole).toBool()) return;
    folder->setData(0, kPendingRole, false);
    qDeleteAll(folder->takeChildren());
    const int number = folder->data(0, kNumberRole).toInt();
    std::vector<int> ids = catalog::FolderGames(*m_catalog, number);
    if (ids.empty() && number == catalog::kFolderCustomGames) {
        auto* p = new QTreeWidgetItem(folder);
        p->setText(0, QStringLiteral("(How to customize a game)"));
        p->setData(0, kNumberRole, catalog::kPlaceholderCustomize);
        p->setData(0, kFolderRole, number);
        return;
    }
    QList<QTreeWidgetItem*> items;
    for (int id : ids) items.append(gameItem(id, number));
    folder->addChildren(items);
}

void TfrmOpenGame::fillView(ChooserView view)
{
    QTreeWidget* tree = m_trees[int(view)];
    tree->clear();
    m_filled[int(view)] = true;
    std::vector<int> ids;
    switch (view) {
    case ChooserView::Groups:
        fillGroups(tree);
        return;
    case ChooserView::Favorites: {
        const auto tree0 = m_game.settingsFile ? catalog::BuildFavoritesTree(catalog::ReadFavorites(*m_game.settingsFile))
                                               : std::vector<catalog::FavoriteNode>{};
        if (tree0.empty()) {
            auto* p = new QTreeWidgetItem(tree);
            p->setText(0, QStringLiteral("(Double click to add a game)"));
            p->setData(0, kNumberRole, catalog::kPlaceholderAddFavorite);
            return;
        }
        const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
        std::function<QTreeWidgetItem*(const catalog::FavoriteNode&, int)> make = [&](const catalog::FavoriteNode& n,
                                                                                       int parent) {
            QTreeWidgetItem* item;
            if (n.isFolder()) {
                item = new QTreeWidgetItem;
                item->setText(0, qs(n.name));
                item->setIcon(0, folderIcon);
                item->setData(0, kNumberRole, n.id);
                item->setData(0, kFolderRole, parent);
            } else {
                item = gameItem(n.id, parent);
                if (item->text(0).isEmpty()) item->setText(0, qs(n.name));  // a game no longer there keeps its name
            }
            for (const auto& c : n.children) item->addChild(make(c, n.id));
            return item;
        };
        for (const auto& n : tree0) tree->addTopLevelItem(make(n, catalog::kFolderTopLevel));
        tree->expandAll();
        return;
    }
    case ChooserView::AllGames: ids = catalog::AllGamesSorted(*m_catalog); break;
    case ChooserView::Selected: ids = catalog::SelectedGamesSorted(*m_catalog); break;
    case ChooserView::LastPlayed:
        if (m_game.settingsFile)
            ids = catalog::LastPlayedSorted(*m_catalog, catalog::ReadLastPlayedGames(*m_game.settingsFile));
        break;
    }
    QList<QTreeWidgetItem*> items;
    for (int id : ids) items.append(gameItem(id, catalog::kFolderTopLevel));
    tree->addTopLevelItems(items);
}

void TfrmOpenGame::invalidateView(ChooserView view)
{
    m_filled[int(view)] = false;
    if (view == m_view) {
        fillView(view);
        applySearch();
    }
}

void TfrmOpenGame::setView(ChooserView view)
{
    m_view = view;
    m_viewButtons[int(view)]->setChecked(true);
    if (!m_filled[int(view)]) fillView(view);
    m_stack->setCurrentIndex(int(view));
    if (view == ChooserView::Groups && !m_groupsShownOnce) {
        m_groupsShownOnce = true;
        if (selectedNumber() < 0) {
            const int current = m_game.currentGameId();
            if (!(current >= 0 && selectGame(current))) selectGame(catalog::kFirstGroupsGame);
        }
    }
    applySearch();
    selectionChanged();
}

bool TfrmOpenGame::selectGame(int id)
{
    QTreeWidget* tree = m_trees[int(m_view)];
    auto findIn = [&](QTreeWidgetItem* parent) -> QTreeWidgetItem* {
        for (int i = 0; i < parent->childCount(); ++i)
            if (parent->child(i)->data(0, kNumberRole).toInt() == id) return parent->child(i);
        return nullptr;
    };
    QTreeWidgetItem* found = nullptr;
    if (m_view == ChooserView::Groups) {
        const int saved = m_game.preference("Game_TreeNum").empty()
                              ? catalog::kDefaultTreeNum
                              : std::atoi(m_game.preference("Game_TreeNum").c_str());
        for (int folderNumber : {saved, catalog::HomeFolderOf(*m_catalog, id)}) {
            const auto matches = tree->findItems(QStringLiteral("*"), Qt::MatchWildcard | Qt::MatchRecursive);
            for (QTreeWidgetItem* f : matches) {
                if (f->data(0, kNumberRole).toInt() != folderNumber || f->childCount() == 0) continue;
                fillFolder(f);
                if ((found = findIn(f))) break;
            }
            if (found) break;
        }
    } else {
        found = findIn(tree->invisibleRootItem());
        if (!found)
            for (QTreeWidgetItemIterator it(tree); *it && !found; ++it)
                if ((*it)->data(0, kNumberRole).toInt() == id) found = *it;
    }
    if (!found) return false;
    for (QTreeWidgetItem* p = found->parent(); p; p = p->parent()) p->setExpanded(true);
    tree->setCurrentItem(found);
    tree->scrollToItem(found);
    return true;
}

void TfrmOpenGame::prepare()
{
    m_chosen = -1;
    const std::string preview = m_game.preference("Open_Preview_Game");
    m_previewBox->setChecked(preview.empty() || preview == "Y");
    m_delete->setVisible(bool(deleteCustomGame));
    fillPlayerBox(m_game.player());
    {
        const QSignalBlocker quiet(m_showMarks);
        m_showMarks->setChecked(m_game.preference("Open_Show_Won_Lost") == "Y");
    }
    refreshMarks();
    int type = std::atoi(m_game.preference("Game_TreeType").c_str());
    if (type < 0 || type >= catalog::kChooserViewCount) type = 0;
    // Last played and favorites may have changed since the last opening.
    m_filled[int(ChooserView::LastPlayed)] = false;
    m_filled[int(ChooserView::Favorites)] = false;
    m_search->clear();
    setView(ChooserView(type));
    const int current = m_game.currentGameId();
    if (current >= 0 && selectedNumber() != current) {
        if (!selectGame(current) && m_view == ChooserView::Groups && current >= catalog::kFirstCustomId) {
            for (QTreeWidgetItemIterator it(m_trees[int(m_view)]); *it; ++it)
                if ((*it)->data(0, kNumberRole).toInt() == catalog::kFolderCustomGames) (*it)->setExpanded(true);
        }
    }
    selectionChanged();
    m_trees[int(m_view)]->setFocus();
}

void TfrmOpenGame::applySearch()
{
    const std::string typed = m_search->text().trimmed().toStdString();
    const QString typedText = QString::fromStdString(typed);
    QTreeWidget* tree = m_trees[int(m_view)];
    tree->setUpdatesEnabled(false);
    QTreeWidgetItem* before = tree->currentItem();
    // Folders are shown when they hold a match; while searching, the groups view is filled whole.
    std::function<bool(QTreeWidgetItem*)> visit = [&](QTreeWidgetItem* item) -> bool {
        const int number = item->data(0, kNumberRole).toInt();
        if (number == kLazyMarker) return false;
        if (!typed.empty() && item->data(0, kPendingRole).toBool()) fillFolder(item);
        orderGames(item, typedText);
        bool any = false;
        for (int i = 0; i < item->childCount(); ++i) any = visit(item->child(i)) || any;
        const bool isGame = number >= 0;
        bool shown = typed.empty() || (isGame && catalog::NameMatches(item->text(0).toStdString(), typed)) || any;
        if (!isGame && item->childCount() == 0 && typed.empty()) shown = true;
        if (item != tree->invisibleRootItem()) {
            item->setHidden(!shown);
            if (!typed.empty() && any) item->setExpanded(true);
        }
        return shown;
    };
    visit(tree->invisibleRootItem());
    tree->setUpdatesEnabled(true);
    // While searching, the best match is the one selected; otherwise the selection stays.
    if (typed.empty() && before && !before->isHidden())
        tree->setCurrentItem(before);
    if (!typed.empty()) {
        for (QTreeWidgetItemIterator it(tree, QTreeWidgetItemIterator::NotHidden); *it; ++it)
            if ((*it)->data(0, kNumberRole).toInt() >= 0) {
                tree->setCurrentItem(*it);
                break;
            }
    }
}

QTreeWidgetItem* TfrmOpenGame::currentItem() const { return m_trees[int(m_view)]->currentItem(); }

int TfrmOpenGame::selectedNumber() const
{
    QTreeWidgetItem* item = currentItem();
    return item && !item->isHidden() ? item->data(0, kNumberRole).toInt() : -1;
}

void TfrmOpenGame::clearDescription()
{
    m_name->setText(QStringLiteral("Select a game"));
    for (int i = 0; i < 4; ++i) {
        m_featureText[i]->clear();
        m_featurePicture[i]->clear();
    }
    m_decks->clear();
    m_redeals->clear();
    m_like->clear();
    m_previewImage = QImage();
    m_previewLabel->clear();
    for (QWidget* w : {static_cast<QWidget*>(m_ok), static_cast<QWidget*>(m_previewBox),
                       static_cast<QWidget*>(m_rules), static_cast<QWidget*>(m_statistics),
                       static_cast<QWidget*>(m_delete)})
        w->setEnabled(false);
}

void TfrmOpenGame::showDescription(int id)
{
    auto d = catalog::DescribeGame(m_game.definitionsText, *m_catalog, id, m_game.definitionsName);
    if (!d) {
        clearDescription();
        m_name->setText(qs(catalog::ChooserGameName(*m_catalog, id)));
        return;
    }
    m_name->setText(qs(d->name));
    const catalog::FeatureText* f[4] = {&d->gameTime, &d->difficulty, &d->chance, &d->skill};
    for (int i = 0; i < 4; ++i) {
        m_featureText[i]->setText(qs(f[i]->text));
        m_featurePicture[i]->setPixmap(featurePicture(m_library, qs(f[i]->picture), devicePixelRatioF()));
    }
    m_decks->setText(qs(d->decks));
    m_redeals->setText(qs(d->redeals));
    showLikeThis(id);
    for (QWidget* w : {static_cast<QWidget*>(m_ok), static_cast<QWidget*>(m_previewBox),
                       static_cast<QWidget*>(m_rules), static_cast<QWidget*>(m_statistics)})
        w->setEnabled(true);
    m_delete->setEnabled(id >= catalog::kFirstCustomId && deleteCustomGame);
    if (m_previewBox->isChecked()) {
        m_previewImage = m_preview->render(d->previewId, devicePixelRatioF());
        m_previewLabel->setPixmap(QPixmap::fromImage(m_previewImage));
    } else {
        m_previewImage = QImage();
        m_previewLabel->clear();
    }
}

void TfrmOpenGame::showLikeThis(int id)
{
    if (!m_sketches) {
        auto read = catalog::LoadRuleSketches(m_game.definitionsText, m_game.gameList, m_game.definitionsName);
        // Without the sketches the list stays empty; the rest of the description does not need them.
        m_sketches = read ? std::move(read.value()) : catalog::RuleSketches{};
    }
    QStringList links;
    for (int like : catalog::GamesLikeThis(*m_catalog, *m_sketches, id))
        links << QStringLiteral("<a href=\"%1\">%2</a>")
                     .arg(like)
                     .arg(qs(catalog::ChooserGameName(*m_catalog, like)).toHtmlEscaped());
    m_like->setText(links.join(QStringLiteral(", ")));
}

void TfrmOpenGame::goToGame(int id)
{
    if (!m_search->text().isEmpty())
        m_search->clear();
    if (selectGame(id))
        return;
    setView(ChooserView::AllGames);
    selectGame(id);
}

void TfrmOpenGame::selectionChanged()
{
    const int n = selectedNumber();
    if (n >= 0)
        showDescription(n);
    else
        clearDescription();
}

QString TfrmOpenGame::descriptionText() const
{
    QStringList parts{m_name->text()};
    for (int i = 0; i < 4; ++i) parts << m_featureText[i]->text();
    parts << m_decks->text() << m_redeals->text();
    return parts.join(QLatin1Char('|'));
}

QImage TfrmOpenGame::previewImage() const { return m_previewImage; }

void TfrmOpenGame::itemActivated(QTreeWidgetItem* item)
{
    if (!item) return;
    const int n = item->data(0, kNumberRole).toInt();
    if (n >= 0) {
        accept();
    } else if (n == catalog::kPlaceholderAddFavorite) {
        emit organizeFavoritesRequested();
    } else if (n == catalog::kPlaceholderCustomize || n == catalog::kFolderCustomGames) {
        informationBox(this, boxText("To customize a game:\rselect the game you want to customize,\rthen choose the "
                                     "\"Customize rules\" option from the Tools menu (or press Ctrl+R)."));
    }
}

void TfrmOpenGame::accept()
{
    const int id = selectedNumber();
    if (id < 0) {
        informationBox(this, QStringLiteral("Open a game"));
        return;
    }
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    const catalog::ScreenCheck check =
        catalog::CanPlayOnThisScreen(m_game.gameList, m_game.customGames, screen.width(), id);
    if (!check.allowed) {
        informationBox(this, boxText(check.message));
        return;
    }
    QTreeWidgetItem* item = currentItem();
    int position = 0;
    for (QTreeWidgetItemIterator it(m_trees[int(m_view)]); *it && *it != item; ++it) ++position;
    const int folder = item->parent() ? item->parent()->data(0, kNumberRole).toInt() : catalog::kFolderTopLevel;
    if (m_game.settingsFile) {
        m_game.setPreference("Game", storage::fixedNumber(id, 4));
        m_game.setPreference("Game_Name", catalog::ChooserGameName(*m_catalog, id));
        m_game.setPreference("Game_TreeNum", std::to_string(folder));
        m_game.setPreference("Game_TreePos", std::to_string(position));
        m_game.setPreference("Game_TreeType", std::to_string(int(m_view)));
        m_game.setPreference("Open_Preview_Game", m_previewBox->isChecked() ? "Y" : "N");
        m_game.setPreference("Open_Show_Won_Lost", m_showMarks->isChecked() ? "Y" : "N");
    }
    m_chosen = id;
    QDialog::accept();
}

} // namespace cw::ui
