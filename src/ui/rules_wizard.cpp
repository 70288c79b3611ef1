// TfrmWizardRules: the Rules Wizard — a new game from a built-in one with up to seven rules changed, checked by the solver.
#include "ui/rules_wizard.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "catalog/custom_games.h"
#include "catalog/definitions.h"
#include "catalog/game_list.h"
#include "engine/deal.h"
#include "storage/ini_file.h"
#include "storage/safe_file.h"
#include "ui/dialog_base.h"
#include "ui/message_boxes.h"
#include "ui/solver_worker.h"

namespace cw::ui {

namespace cat = catalog;

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

enum DealsMode { Unlimited = 0, NoRedeal = 1, Specified = 2 };

QRadioButton* addRadio(QButtonGroup* group, QLayout* layout, const QString& text, int id, const QString& name)
{
    auto* b = new QRadioButton(text);
    b->setObjectName(name);
    group->addButton(b, id);
    layout->addWidget(b);
    return b;
}

QLabel* heading(const QString& text)
{
    auto* l = new QLabel(QStringLiteral("<b>%1</b>").arg(text.toHtmlEscaped()));
    return l;
}

QLabel* note()
{
    auto* l = new QLabel;
    l->setWordWrap(true);
    l->setStyleSheet(QStringLiteral("color: #606060"));
    return l;
}

// Checks the button of `id`, or none when the group is disabled (an option the game does not offer).
void setChoice(QButtonGroup* group, int id)
{
    if (QAbstractButton* b = group->button(id))
        b->setChecked(true);
}

void enableGroup(QButtonGroup* group, bool on)
{
    for (QAbstractButton* b : group->buttons())
        b->setEnabled(on);
    if (!on) {
        // Unselected, as a change that cannot be made shows nothing chosen.
        group->setExclusive(false);
        for (QAbstractButton* b : group->buttons())
            b->setChecked(false);
        group->setExclusive(true);
    }
}

// The key of the rules a check is about.
std::string checkKey(int baseId, const std::string& ruleString) { return std::to_string(baseId) + "|" + ruleString; }

} // namespace

TfrmWizardRules::TfrmWizardRules(engine::TMainGame& game, const PictureLibrary& library, const TableSettings& table,
                                 QSize tableSize, QWidget* parent)
    : QDialog(parent), m_game(game)
{
    setObjectName(QStringLiteral("frmWizardRules"));
    applyDialogFont(this);
    m_currentId = game.currentGameId();
    const std::string currentName = m_currentId >= 0 ? game.gameName(m_currentId) : std::string();
    setWindowTitle(currentName.empty() ? QStringLiteral("Rules Wizard")
                                       : QStringLiteral("Rules Wizard [%1]").arg(qs(currentName)));

    checkLimits.budgetMs = 400;
    checkLimits.threads = 1;
    checkLimits.maxTableBytes = std::size_t{128} << 20;

    m_previewTable = new TableWidget(library, this);
    m_previewTable->setVisible(false);
    TableSettings quiet = table;
    quiet.animate = false;
    quiet.scrollBar = false;
    m_previewTable->setSettings(quiet);
    m_previewTable->resize(tableSize.isValid() && !tableSize.isEmpty() ? tableSize : QSize(900, 640));
    m_previewTimer = new QTimer(this);
    m_previewTimer->setSingleShot(true);
    m_previewTimer->setInterval(40);
    connect(m_previewTimer, &QTimer::timeout, this, &TfrmWizardRules::renderPreview);

    m_checker = new BackgroundSolver(this);
    connect(m_checker, &BackgroundSolver::answered, this, &TfrmWizardRules::checkAnswered);

    buildUi();

    // The base game: the game on the table, or a custom game's base game.
    int base = m_currentId;
    if (m_currentId >= cat::kFirstCustomId)
        base = cat::CustomGameRecord(game.customGames, m_currentId).baseId;
    if (base < 0 || !game.gameList.find(base))
        base = game.gameList.find(0) ? 0 : (game.gameList.empty() ? -1 : game.gameList.entries().front().id);
    m_name->setText(qs(currentName));
    setBaseGame(base);
    // The options start from the rules on the table, which hold a custom game's own changes.
    if (m_currentId >= 0 && game.rulesGameId == m_currentId) {
        presetFrom(game.rules, m_baseRules.tableauEmptyRule(0));
        applyAvailability();
        schedulePreview();
    }
    showPage(Start);
}

TfrmWizardRules::~TfrmWizardRules() { stopCheck(); }

void TfrmWizardRules::buildUi()
{
    m_pages = new QStackedWidget;
    m_pages->addWidget(buildStartPage());
    m_pages->addWidget(buildFoundationsPage());
    m_pages->addWidget(buildTableauPage());
    m_pages->addWidget(buildStockPage());
    m_pages->addWidget(buildRedealPage());
    m_pages->addWidget(buildFinishPage());

    auto* preview = new QGroupBox(QStringLiteral("Preview "));
    auto* pv = new QVBoxLayout(preview);
    m_previewLabel = new QLabel;
    m_previewLabel->setObjectName(QStringLiteral("imgPreview"));
    m_previewLabel->setFixedSize(336, 240);
    m_previewLabel->setAlignment(Qt::AlignCenter);
    m_previewLabel->setFrameShape(QFrame::StyledPanel);
    pv->addWidget(m_previewLabel);
    auto* caption = new QLabel(QStringLiteral("The first deal of the new rules"));
    caption->setAlignment(Qt::AlignCenter);
    pv->addWidget(caption);
    m_rulesTable = new QTableWidget(0, 2);
    m_rulesTable->setObjectName(QStringLiteral("grdRules"));
    m_rulesTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_rulesTable->setSelectionMode(QAbstractItemView::NoSelection);
    m_rulesTable->setFocusPolicy(Qt::NoFocus);
    m_rulesTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_rulesTable->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_rulesTable->setHorizontalHeaderLabels({QStringLiteral("New game"), QString()});
    pv->addWidget(m_rulesTable, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(m_pages, 1);
    top->addWidget(preview);

    m_back = new QPushButton(QStringLiteral("< &Back"));
    m_next = new QPushButton(QStringLiteral("&Next >"));
    m_next->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"));
    m_back->setObjectName(QStringLiteral("btnBack"));
    m_next->setObjectName(QStringLiteral("btnNext"));
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(m_back, &QPushButton::clicked, this, &TfrmWizardRules::back);
    connect(m_next, &QPushButton::clicked, this, &TfrmWizardRules::next);
    connect(m_cancel, &QPushButton::clicked, this, &TfrmWizardRules::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_back);
    buttons->addWidget(m_next);
    buttons->addSpacing(12);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
}

QWidget* TfrmWizardRules::buildStartPage()
{
    auto* page = new QWidget;
    auto* l = new QVBoxLayout(page);
    l->addWidget(heading(QStringLiteral("Customize the rules of a game")));
    m_startText = new QLabel(QStringLiteral(
        "This wizard makes a new game out of an existing one. You may change how the foundations and the "
        "tableau are built, what may fill an empty tableau pile, how many cards one click on the stock turns "
        "and how many deals are allowed, and then give the new game its name.\n\n"
        "The new game joins the \"Customized games\" folder of the game chooser, with its own statistics "
        "and hi-scores."));
    m_startText->setWordWrap(true);
    l->addWidget(m_startText);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Base game:"));
    m_baseBox = new QComboBox;
    m_baseBox->setObjectName(QStringLiteral("cboBaseGame"));
    label->setBuddy(m_baseBox);
    std::vector<std::pair<QString, int>> games;
    for (const cat::GameEntry& e : m_game.gameList.entries())
        if (e.usable && !e.name.empty())
            games.emplace_back(qs(e.name), e.id);
    std::sort(games.begin(), games.end(),
              [](const auto& a, const auto& b) { return a.first.compare(b.first, Qt::CaseInsensitive) < 0; });
    for (const auto& [name, id] : games)
        m_baseBox->addItem(name, id);
    connect(m_baseBox, qOverload<int>(&QComboBox::activated), this,
            [this](int index) { setBaseGame(m_baseBox->itemData(index).toInt()); });
    row->addWidget(label);
    row->addWidget(m_baseBox, 1);
    l->addLayout(row);
    m_delete = new QPushButton(QStringLiteral("&Delete this game..."));
    m_delete->setObjectName(QStringLiteral("btnDelete"));
    m_delete->setVisible(false);
    connect(m_delete, &QPushButton::clicked, this, [this] {
        if (m_deleteGame && m_currentId >= cat::kFirstCustomId && m_deleteGame(m_currentId)) {
            m_deleted = true;
            reject();
        }
    });
    auto* deleteRow = new QHBoxLayout;
    deleteRow->addWidget(m_delete);
    deleteRow->addStretch(1);
    l->addLayout(deleteRow);
    l->addStretch(1);
    return page;
}

QGroupBox* TfrmWizardRules::buildingGroup(const QString& title, const QString& kind, QButtonGroup*& direction,
                                          QButtonGroup*& suit)
{
    auto* box = new QGroupBox(title);
    auto* row = new QHBoxLayout(box);
    auto* dl = new QVBoxLayout;
    auto* sl = new QVBoxLayout;
    direction = new QButtonGroup(this);
    suit = new QButtonGroup(this);
    addRadio(direction, dl, QStringLiteral("&Up"), 0, QStringLiteral("rb%1Up").arg(kind));
    addRadio(direction, dl, QStringLiteral("&Down"), 1, QStringLiteral("rb%1Down").arg(kind));
    addRadio(direction, dl, QStringLiteral("U&p or Down"), 2, QStringLiteral("rb%1UpOrDown").arg(kind));
    dl->addStretch(1);
    addRadio(suit, sl, QStringLiteral("In &suit"), 0, QStringLiteral("rb%1InSuit").arg(kind));
    addRadio(suit, sl, QStringLiteral("In  a&lternating colors"), 1, QStringLiteral("rb%1Alternate").arg(kind));
    addRadio(suit, sl, QStringLiteral("&Regardless of suit"), 2, QStringLiteral("rb%1AnySuit").arg(kind));
    addRadio(suit, sl, QStringLiteral("In &color"), 3, QStringLiteral("rb%1InColor").arg(kind));
    addRadio(suit, sl, QStringLiteral("O&n any suit but its own"), 4, QStringLiteral("rb%1OtherSuit").arg(kind));
    row->addLayout(dl);
    row->addSpacing(16);
    row->addLayout(sl, 1);
    for (QButtonGroup* g : {direction, suit})
        connect(g, &QButtonGroup::idToggled, this, [this](int, bool on) {
            if (on)
                schedulePreview();
        });
    return box;
}

QWidget* TfrmWizardRules::buildFoundationsPage()
{
    auto* page = new QWidget;
    auto* l = new QVBoxLayout(page);
    l->addWidget(heading(QStringLiteral("Foundations")));
    l->addWidget(buildingGroup(QStringLiteral("Build the foundations "), QStringLiteral("Foundation"),
                               m_foundationDirection, m_foundationSuit));
    m_foundationNote = note();
    l->addWidget(m_foundationNote);
    l->addStretch(1);
    return page;
}

QWidget* TfrmWizardRules::buildTableauPage()
{
    auto* page = new QWidget;
    auto* l = new QVBoxLayout(page);
    l->addWidget(heading(QStringLiteral("Tableau")));
    l->addWidget(buildingGroup(QStringLiteral("Build the tableau "), QStringLiteral("Tableau"), m_tableauDirection,
                               m_tableauSuit));
    auto* empty = new QGroupBox(QStringLiteral("An empty tableau pile may be filled with "));
    auto* el = new QVBoxLayout(empty);
    m_emptyPiles = new QButtonGroup(this);
    addRadio(m_emptyPiles, el,
             QStringLiteral("&King only or a pile with a King at the top. Or 1 rank below the base card"), 1,
             QStringLiteral("rbEmptyKing"));
    addRadio(m_emptyPiles, el, QStringLiteral("&Any card or legal sequence"), 2, QStringLiteral("rbEmptyAny"));
    addRadio(m_emptyPiles, el, QStringLiteral("N&one (spaces cannot be filled)"), 3, QStringLiteral("rbEmptyNone"));
    connect(m_emptyPiles, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            schedulePreview();
    });
    l->addWidget(empty);
    m_tableauNote = note();
    l->addWidget(m_tableauNote);
    l->addStretch(1);
    return page;
}

QWidget* TfrmWizardRules::buildStockPage()
{
    auto* page = new QWidget;
    auto* l = new QVBoxLayout(page);
    l->addWidget(heading(QStringLiteral("Stock")));
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Cards turned by one click on the stock:"));
    m_cards = new QSpinBox;
    m_cards->setObjectName(QStringLiteral("edtCards"));
    m_cards->setRange(0, 104);
    label->setBuddy(m_cards);
    connect(m_cards, &QSpinBox::valueChanged, this, [this] { schedulePreview(); });
    row->addWidget(label);
    row->addWidget(m_cards);
    row->addStretch(1);
    l->addLayout(row);
    m_stockNote = note();
    l->addWidget(m_stockNote);
    l->addStretch(1);
    return page;
}

QWidget* TfrmWizardRules::buildRedealPage()
{
    auto* page = new QWidget;
    auto* l = new QVBoxLayout(page);
    l->addWidget(heading(QStringLiteral("Redeal")));
    auto* box = new QGroupBox(QStringLiteral("When the stock is used up "));
    auto* bl = new QVBoxLayout(box);
    m_dealsMode = new QButtonGroup(this);
    addRadio(m_dealsMode, bl, QStringLiteral("&Unlimited redeals"), Unlimited, QStringLiteral("rbRedealUnlimited"));
    addRadio(m_dealsMode, bl, QStringLiteral("No redeals (&only 1 deal)"), NoRedeal, QStringLiteral("rbRedealNone"));
    auto* row = new QHBoxLayout;
    addRadio(m_dealsMode, row, QStringLiteral("Specified nu&mber:"), Specified, QStringLiteral("rbRedealNumber"));
    m_redeals = new QSpinBox;
    m_redeals->setObjectName(QStringLiteral("edtRedeals"));
    m_redeals->setRange(0, 998);
    row->addWidget(m_redeals);
    m_dealsInAll = new QLabel;
    m_dealsInAll->setObjectName(QStringLiteral("lblDealsInAll"));
    row->addWidget(m_dealsInAll);
    row->addStretch(1);
    bl->addLayout(row);
    l->addWidget(box);
    m_redealNote = note();
    l->addWidget(m_redealNote);
    l->addStretch(1);
    connect(m_dealsMode, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (!on)
            return;
        m_redeals->setEnabled(m_available.deals && m_dealsMode->checkedId() == Specified);
        updateDealsLabel();
        schedulePreview();
    });
    connect(m_redeals, &QSpinBox::valueChanged, this, [this] {
        updateDealsLabel();
        schedulePreview();
    });
    return page;
}

QWidget* TfrmWizardRules::buildFinishPage()
{
    auto* page = new QWidget;
    auto* l = new QVBoxLayout(page);
    l->addWidget(heading(QStringLiteral("Finish")));
    auto* from = new QLabel;
    from->setObjectName(QStringLiteral("lblFrom"));
    from->setWordWrap(true);
    const std::string current = m_currentId >= 0 ? m_game.gameName(m_currentId) : std::string();
    from->setText(
        current.empty()
            ? QStringLiteral("Give the new game a name.")
            : QStringLiteral("You are customizing: %1\nGive the new game a name of its own.").arg(qs(current)));
    l->addWidget(from);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Name of the new game:"));
    m_name = new QLineEdit;
    m_name->setObjectName(QStringLiteral("edtName"));
    label->setBuddy(m_name);
    row->addWidget(label);
    row->addWidget(m_name, 1);
    l->addLayout(row);
    auto* check = new QGroupBox(QStringLiteral("Can it be won? "));
    auto* cl = new QVBoxLayout(check);
    auto* explain = note();
    explain->setObjectName(QStringLiteral("lblCheckNote"));
    cl->addWidget(explain);
    m_checkLabel = new QLabel;
    m_checkLabel->setObjectName(QStringLiteral("lblCheck"));
    m_checkLabel->setWordWrap(true);
    cl->addWidget(m_checkLabel);
    l->addWidget(check);
    l->addStretch(1);
    return page;
}

void TfrmWizardRules::setDeleteGame(std::function<bool(int id)> deleteGame)
{
    m_deleteGame = std::move(deleteGame);
    m_delete->setVisible(bool(m_deleteGame) && m_currentId >= cat::kFirstCustomId);
}

int TfrmWizardRules::page() const { return m_pages->currentIndex(); }

void TfrmWizardRules::showPage(int p)
{
    m_pages->setCurrentIndex(p);
    m_back->setEnabled(p != Start);
    m_next->setText(p == Finish ? QStringLiteral("&Finish") : QStringLiteral("&Next >"));
    if (p == Finish) {
        findChild<QLabel*>(QStringLiteral("lblCheckNote"))
            ->setText(QStringLiteral("The solver plays the new rules on %1 deals while you name the game. What it "
                                     "finds is kept as the new game's chance of winning.")
                          .arg(checkDeals));
        startCheckIfNeeded();
        m_name->setFocus();
        m_name->selectAll();
    }
}

void TfrmWizardRules::next()
{
    const int p = page();
    if (p == Start && !m_available.any()) {
        informationBox(this, QStringLiteral("The game ") + m_baseBox->currentText() + QStringLiteral(" ") +
                                 QStringLiteral("can't be customized."));
        return;
    }
    if (p == Finish) {
        finish();
        return;
    }
    showPage(p + 1);
}

void TfrmWizardRules::back()
{
    if (page() > Start)
        showPage(page() - 1);
}

void TfrmWizardRules::setBaseGame(int id)
{
    m_baseId = id;
    if (const int index = m_baseBox->findData(id); index >= 0)
        m_baseBox->setCurrentIndex(index);
    auto loaded = m_game.loadRules(id);
    m_baseRules = loaded ? loaded.value() : cat::Rules{};
    m_available = loaded ? cat::CustomizableOptions(m_baseRules) : cat::CustomOptions{};
    m_rulesTable->setHorizontalHeaderLabels({QStringLiteral("New game"), qs(m_game.gameName(id))});
    presetFrom(m_baseRules, m_baseRules.tableauEmptyRule(0));
    applyAvailability();
    schedulePreview();
}

void TfrmWizardRules::presetFrom(const cat::Rules& rules, int definitionEmptyRule)
{
    const cat::CustomChoices c = cat::PresetChoices(rules, definitionEmptyRule);
    setChoice(m_foundationDirection, static_cast<int>(c.foundationDirection));
    setChoice(m_foundationSuit, static_cast<int>(c.foundationSuit));
    setChoice(m_tableauDirection, static_cast<int>(c.tableauDirection));
    setChoice(m_tableauSuit, static_cast<int>(c.tableauSuit));
    setChoice(m_emptyPiles, static_cast<int>(c.emptyPiles));
    m_cards->setValue(c.cardsPerClick);
    if (c.deals == -1) {
        setChoice(m_dealsMode, Unlimited);
    } else if (c.deals == 0) {
        setChoice(m_dealsMode, NoRedeal);
    } else {
        setChoice(m_dealsMode, Specified);
        m_redeals->setValue(std::clamp(c.deals - 1, 0, 998));
    }
}

void TfrmWizardRules::applyAvailability()
{
    const cat::CustomOptions& o = m_available;
    enableGroup(m_foundationDirection, o.foundationDirection);
    enableGroup(m_foundationSuit, o.foundationSuit);
    enableGroup(m_tableauDirection, o.tableauDirection);
    enableGroup(m_tableauSuit, o.tableauSuit);
    enableGroup(m_emptyPiles, o.emptyPiles);
    enableGroup(m_dealsMode, o.deals);
    m_cards->setEnabled(o.cardsPerClick);
    m_redeals->setEnabled(o.deals && m_dealsMode->checkedId() == Specified);
    const QString base = qs(m_game.gameName(m_baseId));
    auto fixedNote = [&](QLabel* label, bool changeable, const char* what) {
        label->setText(changeable ? QString() : QStringLiteral("%1 does not let you change %2.").arg(base, what));
    };
    fixedNote(m_foundationNote, o.foundationDirection || o.foundationSuit, "how its foundations are built");
    fixedNote(m_tableauNote, o.tableauDirection || o.tableauSuit || o.emptyPiles, "how its tableau is built");
    fixedNote(m_stockNote, o.cardsPerClick, "how many cards a click on its stock turns");
    fixedNote(m_redealNote, o.deals, "its number of deals");
    updateDealsLabel();
}

void TfrmWizardRules::updateDealsLabel()
{
    QString text;
    if (m_available.deals) {
        if (m_dealsMode->checkedId() == NoRedeal)
            text = QStringLiteral("(1 deal in all)");
        else if (m_dealsMode->checkedId() == Specified)
            text = m_redeals->value() == 0 ? QStringLiteral("(1 deal in all)")
                                           : QStringLiteral("(%1 deals in all)").arg(m_redeals->value() + 1);
    }
    m_dealsInAll->setText(text);
}

cat::CustomChoices TfrmWizardRules::choices() const
{
    cat::CustomChoices c;
    auto id = [](const QButtonGroup* g) { return std::max(0, g->checkedId()); };
    c.cardsPerClick = std::max(1, m_cards->value()); // an entered 0 is 1
    switch (m_dealsMode->checkedId()) {
    case Unlimited: c.deals = -1; break;
    case NoRedeal: c.deals = 0; break;
    default: c.deals = m_redeals->value() + 1; break;
    }
    c.emptyPiles = static_cast<cat::WizardEmptyPiles>(id(m_emptyPiles));
    c.tableauDirection = static_cast<cat::WizardDirection>(id(m_tableauDirection));
    c.tableauSuit = static_cast<cat::WizardSuit>(id(m_tableauSuit));
    c.foundationDirection = static_cast<cat::WizardDirection>(id(m_foundationDirection));
    c.foundationSuit = static_cast<cat::WizardSuit>(id(m_foundationSuit));
    return c;
}

std::string TfrmWizardRules::ruleString() const { return cat::FormatCustomRuleString(choices(), m_available); }

cat::Rules TfrmWizardRules::newRules() const
{
    cat::Rules r = m_baseRules;
    cat::ApplyCustomRuleString(r, ruleString());
    return r;
}

// ---- Preview ----

void TfrmWizardRules::schedulePreview() { m_previewTimer->start(); }

void TfrmWizardRules::renderPreview()
{
    const cat::Rules rules = newRules();
    const std::vector<cat::RuleComparisonRow> rows = cat::CompareWithBaseGame(m_baseRules, rules);
    m_rulesTable->setRowCount(static_cast<int>(rows.size()));
    QStringList labels;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const auto& r = rows[static_cast<std::size_t>(i)];
        labels << qs(r.label);
        auto* custom = new QTableWidgetItem(qs(r.custom));
        if (r.custom != r.base) {
            QFont bold = custom->font();
            bold.setBold(true);
            custom->setFont(bold);
        }
        m_rulesTable->setItem(i, 0, custom);
        m_rulesTable->setItem(i, 1, new QTableWidgetItem(qs(r.base)));
    }
    m_rulesTable->setVerticalHeaderLabels(labels);

    engine::DealResult dealt = engine::deal(rules, "1");
    if (dealt.badCardCount || rules.cardsInPlay() == 0) {
        m_previewImage = QImage();
        m_previewLabel->setText(QStringLiteral("No preview"));
        return;
    }
    m_previewRules = dealt.rules;
    m_previewState = dealt.state;
    m_previewState.gameId = m_baseId;
    m_previewState.gameNumber = "1";
    m_previewTable->setGame(&m_previewRules, &m_previewState);
    m_previewTable->relayout();
    const QPixmap shot = m_previewTable->grab();
    m_previewImage = shot.toImage().scaled(m_previewLabel->size() * devicePixelRatioF(), Qt::KeepAspectRatio,
                                           Qt::SmoothTransformation);
    m_previewImage.setDevicePixelRatio(devicePixelRatioF());
    m_previewLabel->setPixmap(QPixmap::fromImage(m_previewImage));
}

// ---- The solver's check ----

void TfrmWizardRules::startCheckIfNeeded()
{
    const std::string key = checkKey(m_baseId, ruleString());
    if (key == m_checkKey)
        return; // running or done for these rules
    m_checker->cancel();
    m_checkKey = key;
    m_checkRules = newRules();
    m_sample = {};
    m_checkDone = false;
    startCheckDeal();
    updateCheckLabel();
}

void TfrmWizardRules::startCheckDeal()
{
    const int k = m_sample.played();
    if (k >= checkDeals) {
        m_checkDone = true;
        return;
    }
    const cat::Rules rules = m_checkRules;
    const int gameId = m_baseId;
    const engine::SolverLimits limits = checkLimits;
    m_checker->start([rules, gameId, limits, k](const std::atomic<bool>& cancel) {
        engine::SolverLimits l = limits;
        l.cancel = &cancel;
        const engine::WinSample one = engine::sampleWins(rules, gameId, 1, l, k + 1);
        SolverAnswer answer;
        answer.index = one.played() == 1 ? k : -1;
        answer.result.verdict = one.won    ? engine::Verdict::Winnable
                                : one.lost ? engine::Verdict::NotWinnable
                                           : engine::Verdict::Unknown;
        return answer;
    });
}

void TfrmWizardRules::checkAnswered(const SolverAnswer& answer)
{
    if (answer.index != m_sample.played()) {
        // The deal could not be dealt: the rules make no playable game; what was found stands.
        m_checkDone = true;
        updateCheckLabel();
        return;
    }
    switch (answer.result.verdict) {
    case engine::Verdict::Winnable: ++m_sample.won; break;
    case engine::Verdict::NotWinnable: ++m_sample.lost; break;
    case engine::Verdict::Unknown: ++m_sample.undecided; break;
    }
    startCheckDeal();
    updateCheckLabel();
}

QString TfrmWizardRules::checkText() const
{
    if (m_checkKey.empty())
        return {};
    const engine::WinSample& s = m_sample;
    if (!m_checkDone)
        return QStringLiteral("The solver is playing these rules: %1 of %2 deals played...")
            .arg(s.played())
            .arg(checkDeals);
    const QString undecided = s.undecided ? QStringLiteral(" (%1 undecided)").arg(s.undecided) : QString();
    if (s.won > 0)
        return QStringLiteral("The solver won %1 of %2 deals of this game").arg(s.won).arg(s.played()) + undecided;
    if (s.lost > 0)
        return QStringLiteral("No deal of these rules could be won — the game may be impossible") + undecided;
    if (s.played() > 0)
        return QStringLiteral("The solver could not decide any of the %1 deals of this game in the time it had")
            .arg(s.played());
    return QStringLiteral("These rules cannot be dealt.");
}

void TfrmWizardRules::updateCheckLabel() { m_checkLabel->setText(checkText()); }

void TfrmWizardRules::stopCheck()
{
    if (m_checker)
        m_checker->cancel();
}

// ---- Finish ----

void TfrmWizardRules::finish()
{
    const std::string typed = m_name->text().toStdString();
    const std::string problem = cat::CheckCustomGameName(typed, m_game.gameList, m_game.customGames);
    if (!problem.empty()) {
        informationBox(this, qs(problem));
        m_name->setFocus();
        m_name->selectAll();
        return;
    }
    if (m_game.dataFolder.empty()) {
        informationBox(this, QStringLiteral("There is no data folder to keep the new game in."));
        return;
    }
    const std::string name = cat::CleanCustomGameName(typed);
    const std::string rules = ruleString();
    auto saved = cat::SaveNewCustomGame(m_game.dataFolder, {name, m_baseId, rules});
    if (!saved) {
        informationBox(this, qs(saved.error()));
        return;
    }
    m_savedId = *saved;
    m_savedName = qs(name);
    // The solver's figure goes with the game when it is complete for exactly these rules.
    const engine::WinFigure figure = engine::figureOf(m_sample);
    if (m_checkDone && m_checkKey == checkKey(m_baseId, rules) && figure.sample > 0 && m_game.settingsFile) {
        try {
            cat::CustomGame g{m_savedId, name, m_baseId, rules, 0};
            cat::SaveMeasuredChance(*m_game.settingsFile, g, figure.won, figure.sample);
        } catch (const storage::FileError& e) {
            informationBox(this, qs(e.what()));
        }
    }
    m_game.reloadCustomGames();
    stopCheck();
    accept();
}

void TfrmWizardRules::reject()
{
    stopCheck();
    QDialog::reject();
}

} // namespace cw::ui
