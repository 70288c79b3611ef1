// The "Favorite games" organizer: adding, removing and arranging favorites in folders, saved on OK.
#include "ui/favorites_dialog.h"

#include "catalog/game_list.h"
#include "storage/ini_file.h"
#include "ui/dialog_base.h"
#include "ui/message_boxes.h"

#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace cw::ui {

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }
constexpr int kTopRole = Qt::UserRole + 1;
constexpr int kChildRole = Qt::UserRole + 2;
} // namespace

TfrmFavorites::TfrmFavorites(engine::TMainGame& game, QWidget* parent) : QDialog(parent), m_game(game)
{
    setObjectName(QStringLiteral("TfrmFavorites"));
    setWindowTitle(QStringLiteral("Favorite games"));
    if (game.settingsFile) m_tree = catalog::BuildFavoritesTree(catalog::ReadFavorites(*game.settingsFile));
    auto* grid = new QGridLayout(this);
    auto* gamesLabel = new QLabel(QStringLiteral("&Games list:"), this);
    m_games = new QListWidget(this);
    m_games->setSelectionMode(QAbstractItemView::ExtendedSelection);
    gamesLabel->setBuddy(m_games);
    for (const auto& name : catalog::AllGameNames(game.gameList, game.customGames)) {
        auto* item = new QListWidgetItem(qs(name), m_games);
        item->setData(Qt::UserRole, catalog::GameIdByName(game.gameList, game.customGames, name));
    }
    auto* favLabel = new QLabel(QStringLiteral("&Favorite games:"), this);
    m_view = new QTreeWidget(this);
    m_view->setHeaderHidden(true);
    favLabel->setBuddy(m_view);
    grid->addWidget(gamesLabel, 0, 0);
    grid->addWidget(m_games, 1, 0);
    grid->addWidget(favLabel, 0, 2);
    grid->addWidget(m_view, 1, 2);
    auto* middle = new QVBoxLayout;
    auto button = [&](const QString& text, auto slot) {
        auto* b = new QPushButton(text, this);
        connect(b, &QPushButton::clicked, this, slot);
        middle->addWidget(b);
        return b;
    };
    button(QStringLiteral("Add >"), [this] { addSelected(); });
    button(QStringLiteral("< Remove"), [this] { removeSelected(); });
    button(QStringLiteral("Remove all"), [this] { removeAll(); });
    button(QStringLiteral("Ne&w Folder..."), [this] {
        bool ok = false;
        const QString name = QInputDialog::getText(this, QStringLiteral("Create New Folder"),
                                                   QStringLiteral("&Folder name:"), QLineEdit::Normal, {}, &ok);
        if (ok) newFolder(name);
    });
    button(QStringLiteral("&Rename Folder..."), [this] {
        const int f = selectedFolder();
        if (f < 0 || !m_tree[std::size_t(f)].isFolder()) return;
        bool ok = false;
        const QString name = QInputDialog::getText(this, QStringLiteral("Rename Folder"), QStringLiteral("&Folder name:"),
                                                   QLineEdit::Normal, qs(m_tree[std::size_t(f)].name), &ok);
        if (ok) renameFolder(name);
    });
    middle->addStretch(1);
    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    okButton->setDefault(true);
    middle->addWidget(okButton);
    middle->addWidget(cancel);
    connect(okButton, &QPushButton::clicked, this, &TfrmFavorites::accept);
    connect(cancel, &QPushButton::clicked, this, &TfrmFavorites::reject);
    connect(m_games, &QListWidget::itemDoubleClicked, this, [this] { addSelected(); });
    grid->addLayout(middle, 1, 1);
    rebuild();
    applyDialogFont(this);
    resize(560, 380);
}

void TfrmFavorites::rebuild(int selectTop, int selectChild)
{
    m_view->clear();
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    for (std::size_t i = 0; i < m_tree.size(); ++i) {
        const auto& n = m_tree[i];
        auto* item = new QTreeWidgetItem(m_view);
        item->setText(0, qs(n.name));
        item->setData(0, Qt::UserRole, n.id);
        item->setData(0, kTopRole, int(i));
        item->setData(0, kChildRole, -1);
        if (n.isFolder()) item->setIcon(0, folderIcon);
        for (std::size_t c = 0; c < n.children.size(); ++c) {
            auto* child = new QTreeWidgetItem(item);
            child->setText(0, qs(n.children[c].name));
            child->setData(0, Qt::UserRole, n.children[c].id);
            child->setData(0, kTopRole, int(i));
            child->setData(0, kChildRole, int(c));
        }
        item->setExpanded(true);
        if (int(i) == selectTop)
            m_view->setCurrentItem(selectChild >= 0 && selectChild < item->childCount() ? item->child(selectChild) : item);
    }
}

int TfrmFavorites::selectedFolder() const
{
    QTreeWidgetItem* item = m_view->currentItem();
    if (!item) return -1;
    const int top = item->data(0, kTopRole).toInt();
    if (item->data(0, kChildRole).toInt() >= 0) return top;  // an entry inside a folder
    return m_tree[std::size_t(top)].isFolder() ? top : -1;
}

void TfrmFavorites::addSelected()
{
    const int folder = selectedFolder();
    int last = -1;
    for (QListWidgetItem* item : m_games->selectedItems())
        last = catalog::InsertFavoriteGame(m_tree, folder, item->data(Qt::UserRole).toInt(), item->text().toStdString());
    if (folder >= 0)
        rebuild(folder, last);
    else
        rebuild(last);
}

void TfrmFavorites::removeSelected()
{
    QTreeWidgetItem* item = m_view->currentItem();
    if (!item) return;
    const auto top = std::size_t(item->data(0, kTopRole).toInt());
    const int child = item->data(0, kChildRole).toInt();
    if (child >= 0)
        m_tree[top].children.erase(m_tree[top].children.begin() + child);
    else
        m_tree.erase(m_tree.begin() + std::ptrdiff_t(top));
    rebuild();
}

void TfrmFavorites::removeAll()
{
    m_tree.clear();
    rebuild();
}

bool TfrmFavorites::newFolder(const QString& name)
{
    if (name.isEmpty()) {
        informationBox(this, QStringLiteral("Please enter at least 1 character."));
        return false;
    }
    rebuild(catalog::InsertFavoriteFolder(m_tree, name.left(int(catalog::kFavoriteNameLength)).toStdString()));
    return true;
}

void TfrmFavorites::renameFolder(const QString& name)
{
    const int f = selectedFolder();
    if (f < 0 || name.isEmpty()) return;
    m_tree[std::size_t(f)].name = name.left(int(catalog::kFavoriteNameLength)).toStdString();
    rebuild(f);
}

void TfrmFavorites::accept()
{
    if (m_game.settingsFile) {
        try {
            catalog::SaveFavoritesTree(*m_game.settingsFile, m_tree);
        } catch (const std::exception& e) {
            informationBox(this, qs(e.what()));
            return;
        }
    }
    QDialog::accept();
}

bool OrganizeFavorites(engine::TMainGame& game, QWidget* parent)
{
    TfrmFavorites dlg(game, parent);
    return dlg.exec() == QDialog::Accepted;
}

} // namespace cw::ui
