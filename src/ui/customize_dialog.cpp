// "Customize": the options dialog with its six pages, working on a copy of the preferences until "OK".
#include "ui/customize_dialog.h"

#include "engine/game_object.h"
#include "storage/fixed_width.h"
#include "storage/ini_file.h"
#include "storage/safe_file.h"
#include "storage/settings_store.h"
#include "ui/advanced_options_dialog.h"
#include "ui/dialog_base.h"
#include "ui/look_catalog.h"
#include "ui/look_page.h"
#include "ui/look_preview.h"
#include "ui/message_boxes.h"
#include "ui/sounds.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace cw::ui {

namespace col = storage::col;

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

// A check box of the "&General" page: its caption, its key, and whether it is checked only by "Y" (else
// by anything but "N").
struct GeneralCheck {
    const char* caption;
    const char* key;
    bool onlyY;
    const char* note; // the grey line under it, or nullptr
};

struct GeneralGroup {
    const char* caption;
    std::vector<GeneralCheck> checks;
};

const std::vector<GeneralGroup>& generalGroups()
{
    // clang-format off
    static const std::vector<GeneralGroup> groups = {
        {"Toolbar ", {{"&Large buttons", "ToolBar_Large", true, nullptr},
                      {"&Flat buttons", "ToolBar_Flat", true, nullptr},
                      {"Sho&w ScreenTips on toolbar", "Show_ToolTips", true, nullptr}}},
        {"Show ", {{"Show tim&e", "Show_Time", false, nullptr},
                   {"S&how score", "Show_Score", false, nullptr},
                   {"Vertic&al scroll bar", "VertScrollBar", true, nullptr},
                   {"P&ile info after the pointer", "ShowPilesSize", true, nullptr},
                   {"Status bar", "Statusbar", true, nullptr}}},
        {"         Right click ", {{"&Move cards to the foundations", "RightClick_To_Foundations", false, nullptr},
                                   {"M&ove cards to the tableau piles", "RightClick_To_Tableaus", false, nullptr}}},
        {"          Double click ", {{"Move cards to the fou&ndations", "DoubleClick_To_Foundations", false, nullptr},
                                     {"Move cards to the tablea&u piles", "DoubleClick_To_Tableaus", false, nullptr}}},
        {"Options ", {{"Popup menu in main play a&rea", "Show_Main_Popup_Menu", true,
                       "(Ctrl + Right click on the area)"},
                      {"Reveal a partially hidden card", "Show_Partial_Hidden_Card", true,
                       "(Ctrl + Right click on the card)"}}},
    };
    // clang-format on
    return groups;
}

// The settings store columns the look may change, put back by "Cancel" after "Appl&y".
const storage::Field kLookColumns[] = {
    col::CardSize,
    col::Card,
    col::FadeBackground,
    col::BackCard,
    col::BackgroundBmp,
    col::BackgroundCol,
    col::BackgroundFixedCol,
    col::BackgroundDef,
    col::CustomizedCardsSet,
    col::AdditionalCardsSet,
    col::CustomizedDeck,
    col::AdditionalDeck,
    col::CustomizedBackground,
    col::AdditionalBackground,
    col::PilesTT,
};

// The keys the look pages write.
const char* const kLookKeys[] = {
    "Card",
    "Card_Size",
    "Customized_Cards_Set",
    "Additional_Cards_Set",
    "Back_Card",
    "Customized_Deck",
    "Additional_Deck",
    "Background_def",
    "Background_Col",
    "Background_bmp",
    "Background_Fixed_Col",
    "Fade_Background",
    "Customized_Background",
    "Additional_Background",
};

} // namespace

TfrmCustomize::TfrmCustomize(engine::TMainGame& game, const PictureLibrary& library, CustomizeHooks hooks,
                             CustomizePage first, QWidget* parent)
    : QDialog(parent), m_game(game), m_library(library), m_hooks(std::move(hooks)), m_first(first)
{
    setObjectName(QStringLiteral("TfrmCustomize"));
    setWindowTitle(QStringLiteral("Customize"));
    applyDialogFont(this);

    const storage::IniFile none(std::string{});
    m_stored = storage::readOptions(game.settingsFile ? *game.settingsFile : none, game.settings);
    m_values = m_stored;
    const QString data = qs(game.dataFolder);
    if (!game.dataFolder.empty())
        m_random = storage::readRandomLists(game.dataFolder);
    const LookCatalog catalog = buildLookCatalog(data, game.settingsFile);
    m_damaged = catalog.damaged;
    m_openedLook = lookChoiceOf(m_stored, data);
    for (const storage::Field& f : kLookColumns)
        m_openedColumns.emplace_back(f, game.settings.get(f));

    auto* top = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pgcCustomize"));
    top->addWidget(m_pages, 1);
    m_pages->addTab(buildGeneral(), QStringLiteral("&General"));
    m_cards = new LookPage(LookKind::CardSet, game, library, m_pages);
    m_cards->setObjectName(QStringLiteral("pageCards"));
    m_decks = new LookPage(LookKind::Deck, game, library, m_pages);
    m_decks->setObjectName(QStringLiteral("pageDecks"));
    m_backgrounds = new LookPage(LookKind::Background, game, library, m_pages);
    m_backgrounds->setObjectName(QStringLiteral("pageBackgrounds"));
    m_pages->addTab(m_cards, QStringLiteral("  &Cards  "));
    m_pages->addTab(m_decks, QStringLiteral(" Dec&ks  "));
    m_pages->addTab(m_backgrounds, QStringLiteral("&Backgrounds"));
    m_pages->addTab(buildAnimations(), QStringLiteral("Anima&tions"));
    m_pages->addTab(buildSounds(), QStringLiteral(" &Sounds "));

    auto* buttons = new QHBoxLayout;
    auto* advanced = new QPushButton(QStringLiteral("A&dvanced..."), this);
    advanced->setObjectName(QStringLiteral("btnAdvanced"));
    buttons->addWidget(advanced);
    buttons->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    auto* applyButton = new QPushButton(QStringLiteral("Appl&y"), this);
    applyButton->setObjectName(QStringLiteral("btnApply"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(applyButton);
    top->addLayout(buttons);
    connect(advanced, &QPushButton::clicked, this, &TfrmCustomize::openAdvanced);
    connect(ok, &QPushButton::clicked, this, &TfrmCustomize::accept);
    connect(cancel, &QPushButton::clicked, this, &TfrmCustomize::reject);
    connect(applyButton, &QPushButton::clicked, this, &TfrmCustomize::apply);

    loadControls();
    m_cards->load(catalog, m_values, m_random.cards);
    m_decks->load(catalog, m_values, m_random.decks);
    m_backgrounds->load(catalog, m_values, m_random.backgrounds);
    for (LookPage* page : {m_cards, m_decks, m_backgrounds})
        connect(page, &LookPage::changed, this, &TfrmCustomize::updateLook);
    updateLook();
    m_pages->setCurrentIndex(static_cast<int>(first));
}

TfrmCustomize::~TfrmCustomize() = default;

LookPage* TfrmCustomize::lookPage(CustomizePage page) const
{
    switch (page) {
    case CustomizePage::Cards: return m_cards;
    case CustomizePage::Decks: return m_decks;
    case CustomizePage::Backgrounds: return m_backgrounds;
    default: return nullptr;
    }
}

void TfrmCustomize::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    if (!m_damaged.isEmpty()) {
        // One message for every file the lists leave out.
        const QStringList lines = m_damaged;
        QTimer::singleShot(0, this, [this, lines] {
            informationBox(this, QStringLiteral("These files could not be read and are left out of the lists:\n\n") +
                                     lines.join(QStringLiteral("\n")));
        });
    }
}

QWidget* TfrmCustomize::buildGeneral()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("pageGeneral"));
    auto* grid = new QGridLayout(page);
    int at = 0;
    for (const GeneralGroup& group : generalGroups()) {
        auto* box = new QGroupBox(QString::fromLatin1(group.caption), page);
        auto* layout = new QVBoxLayout(box);
        for (const GeneralCheck& check : group.checks) {
            auto* c = new QCheckBox(QString::fromLatin1(check.caption), box);
            c->setObjectName(QStringLiteral("chk") + QString::fromLatin1(check.key));
            layout->addWidget(c);
            if (check.note) {
                auto* note = new QLabel(QString::fromLatin1(check.note), box);
                note->setIndent(20);
                note->setEnabled(false);
                layout->addWidget(note);
            }
            m_checks.insert(QString::fromLatin1(check.key), c);
        }
        layout->addStretch();
        grid->addWidget(box, at / 2, at % 2);
        ++at;
    }
    grid->setRowStretch((at + 1) / 2, 1);
    return page;
}

void TfrmCustomize::loadControls()
{
    for (const GeneralGroup& group : generalGroups())
        for (const GeneralCheck& check : group.checks) {
            QCheckBox* c = m_checks.value(QString::fromLatin1(check.key));
            const std::string v = m_values.get(check.key);
            c->setChecked(check.onlyY ? v == "Y" : v != "N");
        }
    // Flat buttons are the only style on this desktop: always on.
    if (QCheckBox* flat = m_checks.value(QStringLiteral("ToolBar_Flat"))) {
        flat->setChecked(true);
        flat->setEnabled(false);
    }
    loadAnimationControls();
    loadSoundControls();
}

void TfrmCustomize::collect(storage::Options& out) const
{
    for (const GeneralGroup& group : generalGroups())
        for (const GeneralCheck& check : group.checks)
            out.setYesNo(check.key, m_checks.value(QString::fromLatin1(check.key))->isChecked());
    m_cards->storeInto(out);
    m_decks->storeInto(out);
    m_backgrounds->storeInto(out);
    collectAnimations(out);
    collectSounds(out);
}

storage::Options TfrmCustomize::values() const
{
    storage::Options out = m_values;
    collect(out);
    return out;
}

LookChoice TfrmCustomize::chosenLook() const
{
    storage::Options look = m_values;
    m_cards->storeInto(look);
    m_decks->storeInto(look);
    m_backgrounds->storeInto(look);
    // Irregular piles show on the table too.
    look.setYesNo("Piles_TT", piles());
    return lookChoiceOf(look, qs(m_game.dataFolder));
}

void TfrmCustomize::updateLook()
{
    const LookChoice look = chosenLook();
    for (LookPage* page : {m_cards, m_decks, m_backgrounds})
        page->preview()->setLook(look);
}

void TfrmCustomize::apply()
{
    // The look into the settings store and onto the table; the keys stay as they were.
    storage::Options look = m_values;
    m_cards->storeInto(look);
    m_decks->storeInto(look);
    m_backgrounds->storeInto(look);
    for (const char* key : kLookKeys)
        storage::setMirror(m_game.settings, key, look.get(key));
    m_applied = true;
    if (m_hooks.showLook)
        m_hooks.showLook(chosenLook());
}

void TfrmCustomize::restoreLook()
{
    if (!m_applied)
        return;
    for (const auto& [field, text] : m_openedColumns)
        m_game.settings.set(field, text);
    m_applied = false;
    if (m_hooks.showLook)
        m_hooks.showLook(m_openedLook);
}

void TfrmCustomize::openAdvanced()
{
    storage::Options copy = values();
    bool exit = false;
    if (m_advancedHook) {
        m_advancedHook(copy, exit);
    } else {
        AdvancedOptionsDialog dialog(m_game, copy, m_hooks.clearValues, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        copy = dialog.values();
        exit = dialog.exitRequested();
        if (auto games = dialog.autoplayGames())
            m_autoplayGames = std::move(games);
    }
    // Only the keys the advanced dialog owns come back into the copy.
    for (const char* key : advancedOptionKeys())
        m_values.set(key, copy.get(key));
    m_exitRequested = m_exitRequested || exit;
}

bool TfrmCustomize::store()
{
    for (LookPage* page : {m_cards, m_decks, m_backgrounds})
        if (!page->selected()) {
            informationBox(this, page->missingSelectionText());
            m_pages->setCurrentWidget(page);
            return false;
        }
    storage::Options out = values();
    // A time that is not a number is stored as 30.
    out.set("Winning_Animations_Time",
            std::to_string(storage::winningAnimationSeconds(out.get("Winning_Animations_Time"))));
    QString failure;
    if (m_game.settingsFile) {
        try {
            storage::writeOptions(*m_game.settingsFile, m_game.settings, out);
        } catch (const storage::FileError& e) {
            failure = qs(e.what());
        }
    } else {
        for (const auto& [key, value] : out.values())
            storage::setMirror(m_game.settings, key, value);
    }
    // A card set chosen here replaces the one remembered from before a small-screen forcing.
    for (const storage::Field& f :
         {col::SavedCard, col::SavedCardSize, col::SavedCustomizedCardsSet, col::SavedAdditionalCardsSet})
        m_game.settings.set(f, "");
    storage::applyGamePreferences(m_game.preferences, out);

    if (m_autoplayGames && m_game.settingsFile && failure.isEmpty()) {
        try {
            std::vector<std::pair<int, bool>> builtIn;
            for (const auto& [id, on] : *m_autoplayGames) {
                if (id >= 8000)
                    m_game.settingsFile->writeString("Autoplay", "Cust_" + storage::fixedNumber(id, 4), on ? "Y" : "N");
                else
                    builtIn.emplace_back(id, on);
            }
            m_game.settingsFile->writeString("Autoplay", "Games", storage::autoplayGamesText(builtIn));
        } catch (const storage::FileError& e) {
            failure = qs(e.what());
        }
    }
    if (!m_game.dataFolder.empty()) {
        storage::RandomLists lists;
        lists.cards = m_cards->randomList();
        lists.decks = m_decks->randomList();
        lists.backgrounds = m_backgrounds->randomList();
        try {
            storage::saveRandomLists(m_game.dataFolder, lists);
        } catch (const storage::FileError& e) {
            if (failure.isEmpty())
                failure = qs(e.what());
        }
    }
    m_values = out;
    m_applied = false;
    if (!failure.isEmpty())
        informationBox(this, failure);
    return true;
}

void TfrmCustomize::accept()
{
    if (!store())
        return;
    QDialog::accept();
}

void TfrmCustomize::reject()
{
    restoreLook();
    QDialog::reject();
}

void TfrmCustomize::done(int result)
{
    if (m_player)
        m_player->stop();
    QDialog::done(result);
}

} // namespace cw::ui
