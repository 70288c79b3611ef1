// One look page of "Customize" (card sets, decks or backgrounds): the tree of what can be chosen, the
// random marks, the player's own items and a live preview.
#include "ui/look_page.h"

#include "engine/game_object.h"
#include "storage/ini_file.h"
#include "storage/safe_file.h"
#include "ui/backgrounds.h"
#include "ui/card_art.h"
#include "ui/card_set_wizard.h"
#include "ui/deck_art.h"
#include "ui/image_editor.h"
#include "ui/image_files.h"
#include "ui/look_files.h"
#include "ui/look_preview.h"
#include "ui/message_boxes.h"
#include "ui/svg_card_set.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace cw::ui {

namespace {

constexpr int kIndexRole = Qt::UserRole; // index into the catalog's list; -1 group, -2 placeholder
constexpr int kGroupItem = -1;
constexpr int kPlaceholderItem = -2;

LookPage::AddHook& addHook()
{
    static LookPage::AddHook hook;
    return hook;
}

QString qs(const std::string& s) { return QString::fromStdString(s); }

struct KindTexts {
    const char* randomBox;
    const char* addButton;
    const char* addMenu;
    const char* deleteMenu;
    const char* deleteQuestion;
    const char* missing;
    const char* placeholder; // nullptr: none
};

const KindTexts& textsOf(LookKind kind)
{
    static const KindTexts cards{"&Random cards",
                                 "A&dd a Card Set...",
                                 "Add a customized Cards Set...",
                                 "Delete a customized Cards Set",
                                 "Are you sure you want to delete this cards set?",
                                 "Please select a Card Set.",
                                 nullptr};
    static const KindTexts decks{"Random &decks",
                                 "A&dd a deck...",
                                 "Add a customized deck...",
                                 "Delete a customized deck",
                                 "Are you sure you want to delete this deck?",
                                 "Please select a Deck.",
                                 "(Double click to add a deck)"};
    static const KindTexts backgrounds{"&Random backgrounds",
                                       "A&dd a background...",
                                       "Add a customized background...",
                                       "Delete a customized background",
                                       "Are you sure you want to delete this background?",
                                       "Please select a Background.",
                                       "(Double click to add a background)"};
    switch (kind) {
    case LookKind::CardSet: return cards;
    case LookKind::Deck: return decks;
    case LookKind::Background: break;
    }
    return backgrounds;
}

struct SizeEntry {
    char letter;
    const char* text;
};
// clang-format off
const SizeEntry kSizes[] = {
    {'X', "Extra Large (102x138)"}, {'S', "Large (85x115)"}, {'B', "Normal (71x96)"},
    {'M', "Small (59x80)"},         {'L', "Tiny (25x32)"},
};
// clang-format on

QIcon iconFrom(const QImage& image)
{
    QPixmap pix = QPixmap::fromImage(image);
    return QIcon(pix);
}

} // namespace

void LookPage::setAddHook(AddHook hook) { addHook() = std::move(hook); }

LookPage::LookPage(LookKind kind, engine::TMainGame& game, const PictureLibrary& library, QWidget* parent)
    : QWidget(parent), m_kind(kind), m_game(game), m_library(library)
{
    const KindTexts& texts = textsOf(kind);
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("tvLook"));
    m_tree->setHeaderHidden(true);
    m_tree->setIconSize(QSize(32, 43));
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tree->setMinimumWidth(230);
    left->addWidget(m_tree, 1);

    auto* randomRow = new QHBoxLayout;
    m_random = new QCheckBox(QString::fromLatin1(texts.randomBox), this);
    m_random->setObjectName(QStringLiteral("chkRandom"));
    m_include = new QPushButton(QStringLiteral("Include"), this);
    m_include->setObjectName(QStringLiteral("btnInclude"));
    m_all = new QPushButton(QStringLiteral("All"), this);
    m_all->setObjectName(QStringLiteral("btnAll"));
    m_clear = new QPushButton(QStringLiteral("Clear all"), this);
    m_clear->setObjectName(QStringLiteral("btnClearAll"));
    randomRow->addWidget(m_random);
    randomRow->addStretch();
    randomRow->addWidget(m_include);
    randomRow->addWidget(m_all);
    randomRow->addWidget(m_clear);
    left->addLayout(randomRow);

    auto* addRow = new QHBoxLayout;
    m_add = new QPushButton(QString::fromLatin1(texts.addButton), this);
    m_add->setObjectName(QStringLiteral("btnAdd"));
    addRow->addWidget(m_add);
    if (kind == LookKind::CardSet) {
        auto* svg = new QPushButton(QStringLiteral("Import an SVG deck..."), this);
        svg->setObjectName(QStringLiteral("btnImportSvg"));
        svg->setToolTip(QStringLiteral("A set of card faces drawn in one SVG file, one element per card "
                                       "(\"king_heart\", \"1_club\", ...)"));
        connect(svg, &QPushButton::clicked, this, &LookPage::importSvg);
        addRow->addWidget(svg);
    }
    addRow->addStretch();
    left->addLayout(addRow);
    layout->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    auto* sample = new QGroupBox(QStringLiteral("Sample "), this);
    auto* sampleLayout = new QVBoxLayout(sample);
    m_preview = new LookPreview(library, sample);
    sampleLayout->addWidget(m_preview);
    right->addWidget(sample, 1);
    if (kind == LookKind::CardSet) {
        auto* sizeBox = new QGroupBox(QStringLiteral("Size "), this);
        auto* sizeLayout = new QHBoxLayout(sizeBox);
        m_size = new QComboBox(sizeBox);
        m_size->setObjectName(QStringLiteral("cboCardSize"));
        for (const SizeEntry& e : kSizes)
            m_size->addItem(QString::fromLatin1(e.text), QChar::fromLatin1(e.letter));
        sizeLayout->addWidget(m_size);
        right->addWidget(sizeBox);
        connect(m_size, &QComboBox::currentIndexChanged, this, [this] {
            if (!m_filling)
                emit changed();
        });
    }
    if (kind == LookKind::Background) {
        auto* row = new QHBoxLayout;
        m_fade = new QCheckBox(QStringLiteral("&Fade background"), this);
        m_fade->setObjectName(QStringLiteral("chkFade"));
        auto* colours = new QPushButton(QStringLiteral("C&olors..."), this);
        colours->setObjectName(QStringLiteral("btnColors"));
        row->addWidget(m_fade);
        row->addStretch();
        row->addWidget(colours);
        right->addLayout(row);
        connect(m_fade, &QCheckBox::toggled, this, [this] {
            if (!m_filling)
                emit changed();
        });
        connect(colours, &QPushButton::clicked, this, &LookPage::chooseColour);
    }
    layout->addLayout(right, 1);

    connect(m_tree, &QTreeWidget::currentItemChanged, this, &LookPage::itemChanged);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        const int index = item->data(0, kIndexRole).toInt();
        const bool playerGroup = index == kGroupItem && item->text(0) == QLatin1String(kPlayerGroup);
        if (index == kPlaceholderItem || playerGroup)
            addItem();
    });
    connect(m_tree, &QTreeWidget::customContextMenuRequested, this, &LookPage::showMenu);
    connect(m_random, &QCheckBox::toggled, this, &LookPage::setRandomShown);
    connect(m_include, &QPushButton::clicked, this, [this] {
        QTreeWidgetItem* item = m_tree->currentItem();
        if (item && item->data(0, kIndexRole).toInt() >= 0)
            item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });
    connect(m_all, &QPushButton::clicked, this, [this] {
        if (confirmBox(this, QStringLiteral("Select all?")))
            markAll(true);
    });
    connect(m_clear, &QPushButton::clicked, this, [this] {
        if (confirmBox(this, QStringLiteral("Clear all?")))
            markAll(false);
    });
    connect(m_add, &QPushButton::clicked, this, &LookPage::addItem);
}

void LookPage::load(const LookCatalog& catalog, const storage::Options& values,
                    const std::vector<storage::RandomItem>& random)
{
    m_filling = true;
    m_catalog = catalog;
    m_randomMarks = random;
    m_tableColour = values.integer("Background_Col", 0);
    switch (m_kind) {
    case LookKind::CardSet: {
        m_random->setChecked(values.get("Random_Card") == "Y");
        const char letter = storage::cardSizeLetter(values.get("Card_Size"));
        for (int i = 0; i < m_size->count(); ++i)
            if (m_size->itemData(i).toChar() == QLatin1Char(letter))
                m_size->setCurrentIndex(i);
        break;
    }
    case LookKind::Deck: m_random->setChecked(values.get("Random_Deck") == "Y"); break;
    case LookKind::Background:
        m_random->setChecked(values.get("Random_Background") == "Y");
        m_fade->setChecked(values.get("Fade_Background") != "N");
        break;
    }
    fillTree();

    // What the values choose.
    const std::vector<LookItem>& items = m_catalog.of(m_kind);
    int chosen = -1;
    const auto find = [&](auto pred) {
        for (int i = 0; i < static_cast<int>(items.size()); ++i)
            if (pred(items[static_cast<std::size_t>(i)]))
                return i;
        return -1;
    };
    switch (m_kind) {
    case LookKind::CardSet: {
        const QString player = qs(values.get("Customized_Cards_Set"));
        if (!player.isEmpty())
            chosen = find([&](const LookItem& it) {
                return it.source == LookSource::Player && it.value.compare(player, Qt::CaseInsensitive) == 0;
            });
        if (chosen < 0) {
            const int n = effectiveCardSet(m_library, values.integer("Card", kDefaultCardSet));
            chosen = find([&](const LookItem& it) { return it.source == LookSource::BuiltIn && it.number == n; });
        }
        break;
    }
    case LookKind::Deck: {
        const QString player = qs(values.get("Customized_Deck"));
        if (!player.isEmpty())
            chosen = find([&](const LookItem& it) {
                return it.source == LookSource::Player && it.value.compare(player, Qt::CaseInsensitive) == 0;
            });
        if (chosen < 0) {
            const int n = values.integer("Back_Card", kDefaultDeck);
            chosen = find([&](const LookItem& it) { return it.source == LookSource::BuiltIn && it.number == n; });
            if (chosen < 0)
                chosen = find([&](const LookItem& it) { return it.number == kDefaultDeck; });
        }
        break;
    }
    case LookKind::Background: {
        const QString player = qs(values.get("Customized_Background"));
        const int number = values.integer("Background_bmp", 0);
        const qint64 fixed = values.integer("Background_Fixed_Col", static_cast<int>(kDefaultTableColour));
        if (values.get("Background_def") == "Y") {
            chosen = find([](const LookItem& it) { return it.source == LookSource::Default; });
        } else if (!player.isEmpty()) {
            chosen = find([&](const LookItem& it) { return it.source == LookSource::Player && it.value == player; });
        } else if (number != 0 && findBackground(number)) {
            chosen = find([&](const LookItem& it) { return it.source == LookSource::BuiltIn && it.number == number; });
        } else if (fixed > 0) {
            chosen = find([&](const LookItem& it) { return it.source == LookSource::Colour && it.number == fixed; });
            if (chosen < 0)
                m_tableColour = fixed; // a colour of our own list no longer: shown as the table colour
        }
        if (chosen < 0)
            chosen = find([](const LookItem& it) { return it.source == LookSource::Colour && it.number == 0; });
        break;
    }
    }
    if (QTreeWidgetItem* item = itemFor(chosen)) {
        m_tree->setCurrentItem(item);
        m_tree->scrollToItem(item);
    }
    m_filling = false;
    itemChanged();
}

void LookPage::reload(const QString& selectName)
{
    // Keep what the page shows: the choice, the marks.
    storage::Options values;
    storeInto(values);
    m_randomMarks = randomList();
    LookCatalog fresh = buildLookCatalog(qs(m_game.dataFolder), m_game.settingsFile);
    m_catalog.of(m_kind) = fresh.of(m_kind);
    load(m_catalog, values, m_randomMarks);
    if (!selectName.isEmpty())
        selectByName(selectName);
}

void LookPage::fillTree()
{
    const bool wasFilling = m_filling;
    m_filling = true;
    m_tree->clear();
    const KindTexts& texts = textsOf(m_kind);
    QTreeWidgetItem* builtIn = nullptr;
    QTreeWidgetItem* player = nullptr;
    QTreeWidgetItem* colours = nullptr;
    const auto group = [this](const char* name) {
        auto* g = new QTreeWidgetItem(m_tree, {QString::fromLatin1(name)});
        g->setData(0, kIndexRole, kGroupItem);
        g->setFlags(Qt::ItemIsEnabled);
        g->setExpanded(true);
        return g;
    };
    const std::vector<LookItem>& items = m_catalog.of(m_kind);
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        const LookItem& it = items[static_cast<std::size_t>(i)];
        QTreeWidgetItem* parent = nullptr;
        switch (it.source) {
        case LookSource::BuiltIn:
            if (!builtIn)
                builtIn = group(kBuiltInGroup);
            parent = builtIn;
            break;
        case LookSource::Colour:
            if (!colours)
                colours = group(kColourGroup);
            parent = colours;
            break;
        case LookSource::Player:
            if (!player)
                player = group(kPlayerGroup);
            parent = player;
            break;
        case LookSource::Default: break;
        }
        QTreeWidgetItem* node =
            parent ? new QTreeWidgetItem(parent, {it.name}) : new QTreeWidgetItem(m_tree, {it.name});
        node->setData(0, kIndexRole, i);
        if (it.source == LookSource::Player)
            node->setToolTip(0, it.path);
    }
    if (!player) {
        player = group(kPlayerGroup);
        if (texts.placeholder) {
            auto* hint = new QTreeWidgetItem(player, {QString::fromLatin1(texts.placeholder)});
            hint->setData(0, kIndexRole, kPlaceholderItem);
            hint->setFlags(Qt::ItemIsEnabled);
        }
    }
    m_tree->expandAll();
    setRandomShown(m_random->isChecked());
    m_filling = wasFilling;
    // The small pictures come a few at a time once the page shows, so that the dialog opens at once.
    m_iconsDone = 0;
    QTimer::singleShot(0, this, &LookPage::makeIcons);
}

QTreeWidgetItem* LookPage::itemFor(int index) const
{
    if (index < 0)
        return nullptr;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        if ((*it)->data(0, kIndexRole).toInt() == index)
            return *it;
    return nullptr;
}

void LookPage::makeIcons()
{
    const std::vector<LookItem>& items = m_catalog.of(m_kind);
    const qreal dpr = devicePixelRatioF();
    const QSize card(32, 43);
    int made = 0;
    while (m_iconsDone < static_cast<int>(items.size()) && made < 8) {
        const int i = m_iconsDone++;
        const LookItem& it = items[static_cast<std::size_t>(i)];
        QTreeWidgetItem* node = itemFor(i);
        if (!node)
            continue;
        QImage image;
        switch (m_kind) {
        case LookKind::CardSet:
            if (it.source == LookSource::BuiltIn) {
                image = renderCardFace(m_library, it.number, 13, QSize(71, 96), dpr)
                            .scaled((QSizeF(card) * dpr).toSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
            } else {
                CardPictures pictures;
                if (pictures.loadFile(it.path, it.sizeLetter ? it.sizeLetter : 'B', dpr))
                    image = pictures.face(13).toImage().scaled((QSizeF(card) * dpr).toSize(), Qt::KeepAspectRatio,
                                                               Qt::SmoothTransformation);
            }
            break;
        case LookKind::Deck:
            if (it.source == LookSource::BuiltIn) {
                image = renderDeck(m_library, it.number, card, dpr);
            } else {
                const PictureFileResult r = loadPlayerDeck(it.path, card, dpr);
                image = r.image;
            }
            break;
        case LookKind::Background: {
            image = QImage((QSizeF(card.height(), card.width()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter p(&image);
            BackgroundChoice b;
            b.useDefault = it.source == LookSource::Default;
            b.number = it.source == LookSource::BuiltIn ? it.number : 0;
            b.fixedColour = it.source == LookSource::Colour ? it.number : 0;
            b.colour = m_tableColour;
            b.fade = false;
            if (it.source == LookSource::Player) {
                const PictureRead read = readPicture(it.path);
                if (read.problem == PictureProblem::None)
                    b.playerPicture = read.image.scaled(image.size(), Qt::KeepAspectRatioByExpanding);
            }
            paintBackground(p, image.rect(), b, m_library, 1.0);
            break;
        }
        }
        if (!image.isNull()) {
            image.setDevicePixelRatio(dpr);
            node->setIcon(0, iconFrom(image));
        }
        ++made;
    }
    if (m_iconsDone < static_cast<int>(items.size()))
        QTimer::singleShot(0, this, &LookPage::makeIcons);
}

const LookItem* LookPage::selected() const
{
    const QTreeWidgetItem* item = m_tree->currentItem();
    if (!item)
        return nullptr;
    const int index = item->data(0, kIndexRole).toInt();
    const std::vector<LookItem>& items = m_catalog.of(m_kind);
    return index >= 0 && index < static_cast<int>(items.size()) ? &items[static_cast<std::size_t>(index)] : nullptr;
}

bool LookPage::selectByName(const QString& name)
{
    const std::vector<LookItem>& items = m_catalog.of(m_kind);
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        const LookItem& it = items[static_cast<std::size_t>(i)];
        if (it.name.compare(name, Qt::CaseInsensitive) == 0 || (!it.value.isEmpty() && it.value == name)) {
            if (QTreeWidgetItem* node = itemFor(i)) {
                m_tree->setCurrentItem(node);
                m_tree->scrollToItem(node);
                return true;
            }
        }
    }
    return false;
}

void LookPage::itemChanged()
{
    if (m_filling)
        return;
    const LookItem* it = selected();
    if (m_size) {
        // A player's sheet has its own size; sets drawn by code take any.
        const bool sheet = it && it->source == LookSource::Player && it->sizeLetter;
        if (sheet)
            for (int i = 0; i < m_size->count(); ++i)
                if (m_size->itemData(i).toChar() == QLatin1Char(it->sizeLetter)) {
                    const QSignalBlocker block(m_size);
                    m_size->setCurrentIndex(i);
                }
        m_size->setEnabled(!sheet);
    }
    emit changed();
}

void LookPage::storeInto(storage::Options& values) const
{
    const LookItem* it = selected();
    switch (m_kind) {
    case LookKind::CardSet:
        values.setYesNo("Random_Card", m_random->isChecked());
        values.set("Card_Size", std::string(1, m_size->currentData().toChar().toLatin1()));
        if (!it)
            return;
        values.set("Additional_Cards_Set", "");
        if (it->source == LookSource::Player) {
            values.set("Customized_Cards_Set", it->value.toStdString());
            if (it->sizeLetter)
                values.set("Card_Size", std::string(1, it->sizeLetter));
        } else {
            values.set("Customized_Cards_Set", "");
            values.set("Card", std::to_string(it->number));
        }
        break;
    case LookKind::Deck:
        values.setYesNo("Random_Deck", m_random->isChecked());
        if (!it)
            return;
        values.set("Additional_Deck", "");
        if (it->source == LookSource::Player) {
            values.set("Customized_Deck", it->value.toStdString());
        } else {
            values.set("Customized_Deck", "");
            values.set("Back_Card", std::to_string(it->number));
        }
        break;
    case LookKind::Background:
        values.setYesNo("Random_Background", m_random->isChecked());
        values.setYesNo("Fade_Background", m_fade->isChecked());
        if (m_tableColour != 0)
            values.set("Background_Col", std::to_string(m_tableColour));
        if (!it)
            return;
        values.set("Additional_Background", "");
        values.set("Customized_Background", it->source == LookSource::Player ? it->value.toStdString() : "");
        values.setYesNo("Background_def", it->source == LookSource::Default);
        if (it->source == LookSource::Default)
            break;
        values.set("Background_bmp", std::to_string(it->source == LookSource::BuiltIn ? it->number : 0));
        if (it->source == LookSource::Colour)
            values.set("Background_Fixed_Col", std::to_string(it->number));
        break;
    }
}

std::vector<storage::RandomItem> LookPage::randomList() const
{
    std::vector<storage::RandomItem> list = randomListOf(m_catalog.of(m_kind), m_randomMarks);
    if (!m_random->isChecked())
        return list;
    for (QTreeWidgetItemIterator node(m_tree); *node; ++node) {
        const int index = (*node)->data(0, kIndexRole).toInt();
        if (index >= 0 && index < static_cast<int>(list.size()))
            list[static_cast<std::size_t>(index)].included = (*node)->checkState(0) == Qt::Checked;
    }
    return list;
}

QString LookPage::missingSelectionText() const { return QString::fromLatin1(textsOf(m_kind).missing); }

void LookPage::setRandomShown(bool on)
{
    const std::vector<storage::RandomItem> marks =
        on ? randomListOf(m_catalog.of(m_kind), m_randomMarks) : randomList();
    if (!on)
        m_randomMarks = marks;
    for (QTreeWidgetItemIterator node(m_tree); *node; ++node) {
        const int index = (*node)->data(0, kIndexRole).toInt();
        if (index < 0)
            continue;
        if (on)
            (*node)->setCheckState(0, marks[static_cast<std::size_t>(index)].included ? Qt::Checked : Qt::Unchecked);
        else
            (*node)->setData(0, Qt::CheckStateRole, QVariant());
    }
    m_include->setEnabled(on);
    m_all->setEnabled(on);
    m_clear->setEnabled(on);
}

void LookPage::markAll(bool on)
{
    for (QTreeWidgetItemIterator node(m_tree); *node; ++node)
        if ((*node)->data(0, kIndexRole).toInt() >= 0)
            (*node)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
}

void LookPage::chooseColour()
{
    const QColor start = colorFromSetting(m_tableColour != 0 ? m_tableColour : kDefaultTableColour);
    const QColor c = QColorDialog::getColor(start, this, QStringLiteral("Table colour"));
    if (!c.isValid())
        return;
    m_tableColour =
        static_cast<qint64>(c.red()) | (static_cast<qint64>(c.green()) << 8) | (static_cast<qint64>(c.blue()) << 16);
    // The colour shows on the table through its own item.
    for (int i = 0; i < static_cast<int>(m_catalog.backgrounds.size()); ++i)
        if (m_catalog.backgrounds[static_cast<std::size_t>(i)].source == LookSource::Colour &&
            m_catalog.backgrounds[static_cast<std::size_t>(i)].number == 0)
            if (QTreeWidgetItem* node = itemFor(i))
                m_tree->setCurrentItem(node);
    m_iconsDone = 0;
    makeIcons();
    emit changed();
}

void LookPage::showMenu(const QPoint& at)
{
    const KindTexts& texts = textsOf(m_kind);
    QMenu menu(this);
    menu.addAction(QString::fromLatin1(texts.addMenu), this, &LookPage::addItem);
    QAction* del = menu.addAction(QString::fromLatin1(texts.deleteMenu), this, &LookPage::deleteSelected);
    const LookItem* it = selected();
    del->setEnabled(it && it->source == LookSource::Player);
    menu.exec(m_tree->viewport()->mapToGlobal(at));
}

void LookPage::addItem()
{
    QString made;
    if (addHook()) {
        made = addHook()(m_kind);
    } else {
        switch (m_kind) {
        case LookKind::CardSet: made = createCardSet(m_game, m_library, this); break;
        case LookKind::Deck: made = editDeck(m_game, this); break;
        case LookKind::Background: {
            const QString path = QFileDialog::getOpenFileName(
                this, QStringLiteral("Add a background"), qs(m_game.dataFolder),
                QStringLiteral(
                    "All image files (*.jpg *.jpeg *.bmp *.png);;Bitmaps (*.bmp);;JPG files (*.jpg *.jpeg)"));
            if (path.isEmpty())
                return;
            const PictureRead read = readPicture(path);
            if (read.problem != PictureProblem::None) {
                informationBox(this, pictureProblemText(read, path));
                return;
            }
            made = path;
            break;
        }
        }
    }
    if (made.isEmpty())
        return;
    if (m_kind == LookKind::Background) {
        if (!m_game.settingsFile)
            return;
        try {
            addPlayerBackground(*m_game.settingsFile, made);
        } catch (const storage::FileError& e) {
            informationBox(this, qs(e.what()));
            return;
        }
    }
    reload(made);
}

void LookPage::deleteSelected()
{
    const LookItem* it = selected();
    if (!it || it->source != LookSource::Player)
        return;
    if (!confirmBox(this, QString::fromLatin1(textsOf(m_kind).deleteQuestion)))
        return;
    const LookItem item = *it;
    if (m_kind == LookKind::Background) {
        if (m_game.settingsFile) {
            try {
                removePlayerBackground(*m_game.settingsFile, item.key);
            } catch (const storage::FileError& e) {
                informationBox(this, qs(e.what()));
                return;
            }
        }
    } else if (!QFile::remove(item.path) && QFile::exists(item.path)) {
        informationBox(this, QStringLiteral("Error in deleting the file: ") + item.path);
        return;
    }
    // The choice goes back to the first item.
    m_randomMarks = randomList();
    LookCatalog fresh = buildLookCatalog(qs(m_game.dataFolder), m_game.settingsFile);
    m_catalog.of(m_kind) = fresh.of(m_kind);
    m_filling = true;
    fillTree();
    m_filling = false;
    if (QTreeWidgetItem* first = itemFor(0))
        m_tree->setCurrentItem(first);
    itemChanged();
}

void LookPage::importSvg()
{
    QString path;
    QString name;
    if (addHook()) {
        path = addHook()(m_kind);
        name = QFileInfo(path).completeBaseName();
    } else {
        path = QFileDialog::getOpenFileName(this, QStringLiteral("Import an SVG deck"), qs(m_game.dataFolder),
                                            QStringLiteral("SVG files (*.svg)"));
        if (path.isEmpty())
            return;
    }
    QString error;
    if (!SvgCardSet::load(path, &error)) {
        informationBox(this, error);
        return;
    }
    const QString data = qs(m_game.dataFolder);
    if (name.isEmpty()) {
        bool ok = false;
        name = QInputDialog::getText(this, QStringLiteral("Import an SVG deck"),
                                     QStringLiteral("E&nter a name for the new Card Set:"), QLineEdit::Normal,
                                     QFileInfo(path).completeBaseName(), &ok);
        if (!ok)
            return;
    }
    if (const QString problem = nameProblem(name); !problem.isEmpty()) {
        informationBox(this, problem);
        return;
    }
    if (cardSetNameInUse(data, name)) {
        informationBox(this, QStringLiteral("Name already in use. Please change it."));
        return;
    }
    cardSetsFolder(data, true);
    const QString target = cardSetPath(data, name, true);
    if (!QFile::copy(path, target)) {
        informationBox(this, QStringLiteral("Error saving the file: ") + target);
        return;
    }
    reload(name);
}

} // namespace cw::ui
