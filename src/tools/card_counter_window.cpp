// The "Card Counter" tool window: grid painting, options, placement, keys and the highlight on the table.
#include "engine/rules_context.h"
#include "engine/session.h"

#include "tools/card_counter_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QToolTip>
#include <QVBoxLayout>

#include "engine/card.h"
#include "tools/card_highlight.h"
#include "ui/dialog_base.h"
#include "ui/main_window.h"
#include "ui/picture_library.h"
#include "ui/picture_library_icons.h"

namespace cw::tools {

namespace grid = counter_grid;

namespace {

QString cardLabel(int code, int cardsInPlay)
{
    static const char* const ranks[] = {"Ace", "2", "3", "4", "5", "6", "7", "8", "9", "10", "Jack", "Queen", "King"};
    static const char* const suits[] = {"Hearts", "Diamonds", "Clubs", "Spades"};
    const int rank = engine::rank(code);
    const int suit = engine::suit(code);
    if (rank < 1 || rank > 13 || suit < 0 || suit > 3)
        return {};
    QString label = QStringLiteral("%1 of %2").arg(QLatin1String(ranks[rank - 1]), QLatin1String(suits[suit]));
    if (cardsInPlay > 52)
        label += QStringLiteral(" (deck %1)").arg((code - 1) / 52 + 1);
    return label;
}

} // namespace

// ---- The grid ----

CounterGrid::CounterGrid(const CardCounterModel& model, const ui::PictureLibrary& library, QWidget* parent)
    : QWidget(parent), m_model(model), m_library(library)
{
    setObjectName(QStringLiteral("grdCounter"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resizeToRows();
}

QSize CounterGrid::sizeHint() const
{
    // The suit column and the thirteen cells, and every row in use.
    return {grid::kGridWidth, grid::rowY(m_model.rows() - 1) + grid::kRowHeight};
}

void CounterGrid::resizeToRows() { setFixedSize(sizeHint()); }

void CounterGrid::setInverted(bool on)
{
    if (on == m_inverted)
        return;
    m_inverted = on;
    update();
}

QRect CounterGrid::cellRect(int code) const
{
    const int row = grid::rowOf(code);
    return row < 0 ? QRect()
                   : QRect(grid::cellX(engine::rank(code)), grid::rowY(row), grid::kCellWidth, grid::kRowHeight);
}

void CounterGrid::cellsChanged(const std::vector<int>& codes)
{
    for (int code : codes)
        if (code <= m_model.cardsInPlay())
            update(cellRect(code));
}

QString CounterGrid::cellPicture(int code) const
{
    return QString::fromStdString(grid::cellPicture(code, m_model.mark(code), m_inverted));
}

const QImage& CounterGrid::picture(const QString& name) const
{
    const qreal dpr = devicePixelRatioF();
    if (dpr != m_picturesDpr) {
        m_pictures.clear();
        m_picturesDpr = dpr;
    }
    auto it = m_pictures.find(name);
    if (it == m_pictures.end())
        it = m_pictures.insert(name, ui::renderIcon(m_library, name, dpr));
    return *it;
}

void CounterGrid::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(event->rect(), palette().window());
    const int rows = m_model.rows();
    for (int row = 0; row < rows; ++row) {
        const int y = grid::rowY(row);
        if (y > event->rect().bottom() || y + grid::kRowHeight < event->rect().top())
            continue;
        p.drawImage(QPoint(0, y), picture(QString::fromStdString(grid::headerPicture(row))));
        for (int rank = 1; rank <= 13; ++rank) {
            const int code = grid::codeAt(row, rank);
            if (code > m_model.cardsInPlay())
                continue;
            const QRect cell(grid::cellX(rank), y, grid::kCellWidth, grid::kRowHeight);
            if (cell.intersects(event->rect()))
                p.drawImage(cell.topLeft(), picture(cellPicture(code)));
        }
    }
}

void CounterGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const int code = grid::hitTest(at.x(), at.y(), m_model.cardsInPlay());
    if (code != m_pointed) {
        m_pointed = code;
        emit pointedAt(code);
    }
}

void CounterGrid::leaveEvent(QEvent*)
{
    if (m_pointed != 0) {
        m_pointed = 0;
        emit pointedAt(0);
    }
}

bool CounterGrid::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int code = grid::hitTest(help->pos().x(), help->pos().y(), m_model.cardsInPlay());
        if (code == 0) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        QString state;
        switch (m_model.mark(code)) {
        case CounterMark::Up: state = QStringLiteral("face up"); break;
        case CounterMark::Down: state = QStringLiteral("face down"); break;
        case CounterMark::None: state = QStringLiteral("not counted"); break;
        }
        QToolTip::showText(help->globalPos(), cardLabel(code, m_model.cardsInPlay()) + QStringLiteral(": ") + state,
                           this, cellRect(code));
        return true;
    }
    return QWidget::event(event);
}

// ---- The window ----

CardCounterWindow::CardCounterWindow(ui::TfrmMain& window, engine::TMainGame& game, const ui::PictureLibrary& library)
    : QWidget(&window, Qt::Tool), m_window(window), m_game(game)
{
    setObjectName(QStringLiteral("frmCardCounter"));
    setWindowTitle(QStringLiteral("Card Counter"));
    ui::applyDialogFont(this);
    m_grid = new CounterGrid(m_model, library, this);
    m_optionsButton = new QPushButton(QStringLiteral("Options"), this);
    m_optionsButton->setObjectName(QStringLiteral("btnOptions"));
    m_optionsButton->setFocusPolicy(Qt::NoFocus);
    m_options = new QMenu(this);
    auto item = [this](const QString& name, const QString& text) {
        QAction* a = m_options->addAction(text);
        a->setObjectName(name);
        a->setCheckable(true);
        return a;
    };
    m_tableauOnly = item(QStringLiteral("mnuCounterTableau"), QStringLiteral("&Tableau only"));
    m_stockOnly = item(QStringLiteral("mnuCounterStock"), QStringLiteral("&Stock only"));
    m_options->addSeparator();
    m_invert = item(QStringLiteral("mnuCounterInvert"), QStringLiteral("&Invert cards"));
    m_highlight = item(QStringLiteral("mnuCounterHighlight"), QStringLiteral("&Highlight cards"));
    m_optionsButton->setMenu(m_options);
    connect(m_options, &QMenu::triggered, this, &CardCounterWindow::optionChanged);
    connect(m_grid, &CounterGrid::pointedAt, this, &CardCounterWindow::highlight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(m_grid);
    layout->addWidget(m_optionsButton, 0, Qt::AlignLeft);
    readOptions();
}

CardCounterWindow::~CardCounterWindow() { removeHighlight(); }

CounterFilter CardCounterWindow::filter() const { return {m_tableauOnly->isChecked(), m_stockOnly->isChecked()}; }

void CardCounterWindow::readOptions()
{
    auto flag = [this](const char* key, bool def) {
        const std::string v = m_game.preference(key);
        return v.empty() ? def : v == "Y";
    };
    m_tableauOnly->setChecked(flag("CardCounter_Tableau", true));
    // Only one of the two filters can be on.
    m_stockOnly->setChecked(!m_tableauOnly->isChecked() && flag("CardCounter_Stock", false));
    m_invert->setChecked(flag("CardCounter_Inverse", false));
    m_highlight->setChecked(flag("CardCounter_HighLight", true));
    m_grid->setInverted(m_invert->isChecked());
}

void CardCounterWindow::storeOptions()
{
    auto yn = [](bool on) { return std::string(on ? "Y" : "N"); };
    m_game.setPreference("CardCounter_Tableau", yn(m_tableauOnly->isChecked()));
    m_game.setPreference("CardCounter_Stock", yn(m_stockOnly->isChecked()));
    m_game.setPreference("CardCounter_Inverse", yn(m_invert->isChecked()));
    m_game.setPreference("CardCounter_HighLight", yn(m_highlight->isChecked()));
    m_game.setPreference("CardCounter_Visible", yn(isVisible()));
    if (m_placed) {
        m_game.setPreference("CardCounter_Left", std::to_string(x()));
        m_game.setPreference("CardCounter_Top", std::to_string(y()));
    }
}

void CardCounterWindow::optionChanged(QAction* changed)
{
    if (changed == m_tableauOnly && m_tableauOnly->isChecked())
        m_stockOnly->setChecked(false);
    if (changed == m_stockOnly && m_stockOnly->isChecked())
        m_tableauOnly->setChecked(false);
    m_grid->setInverted(m_invert->isChecked());
    if (!m_highlight->isChecked())
        removeHighlight();
    tableReset();
    storeOptions();
}

void CardCounterWindow::tableReset()
{
    removeHighlight();
    const engine::Session& session = m_window.session();
    const int rows = m_model.rows();
    std::vector<int> changed;
    if (m_game.rulesGameId >= 0)
        m_model.refresh(session.rules(), session.state().table, filter(), &changed);
    else
        m_model.clear(&changed);
    if (m_model.rows() != rows) {
        // The window takes the size of the rows in use.
        m_grid->resizeToRows();
        m_grid->update();
    } else {
        m_grid->cellsChanged(changed);
    }
}

void CardCounterWindow::cardsChanged(const engine::Events& events)
{
    removeHighlight();
    std::vector<int> changed;
    m_model.update(m_window.session().rules(), m_window.session().state().table, events, changed);
    m_grid->cellsChanged(changed);
}

void CardCounterWindow::setOpen(bool open)
{
    if (open == isVisible())
        return;
    if (open) {
        tableReset();
        if (!m_placed) {
            // The stored place when there is one, kept at least a third on the screen.
            const int left = std::atoi(m_game.preference("CardCounter_Left").c_str());
            const int top = std::atoi(m_game.preference("CardCounter_Top").c_str());
            const QScreen* screen = m_window.screen() ? m_window.screen() : QGuiApplication::primaryScreen();
            const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
            const QSize size = sizeHint();
            QPoint at = m_window.geometry().topRight() - QPoint(size.width() + 40, -80);
            if (left > 0 && top > 0)
                at = QPoint(left, top);
            if (at.x() + size.width() / 3 > room.right())
                at.setX(room.right() - size.width() / 3);
            if (at.y() + size.height() / 3 > room.bottom())
                at.setY(room.bottom() - size.height() / 3);
            move(at);
            m_placed = true;
        }
        show();
        raise();
    } else {
        removeHighlight();
        hide();
    }
    storeOptions();
    emit openChanged(open);
}

void CardCounterWindow::restoreAtStartup()
{
    if (m_game.preference("CardCounter_Visible") == "Y")
        setOpen(true);
}

void CardCounterWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    setOpen(false);
}

void CardCounterWindow::keyPressEvent(QKeyEvent* event)
{
    // The counter is a window of its own: the game's keys (Space for the stock, F8, the full-screen
    // keys...) still reach the game's commands.
    const QKeySequence typed(event->keyCombination());
    for (QAction* a : m_window.actions())
        if (a->isEnabled() && a->shortcuts().contains(typed)) {
            a->trigger();
            return;
        }
    QWidget::keyPressEvent(event);
}

int CardCounterWindow::highlightedCard() const { return m_highlighted ? m_highlighted->card() : 0; }

void CardCounterWindow::highlight(int code)
{
    if (code == highlightedCard() && code != 0)
        return;
    removeHighlight();
    const engine::Session& session = m_window.session();
    if (code == 0 || !m_highlight->isChecked() || !session.flags().dealActive)
        return;
    // Face-up cards of the tableau, the reserves and the foundations, searched in that order.
    const engine::Table& table = session.state().table;
    if (table.isFaceDown(code))
        return;
    for (engine::PileKind kind : {engine::PileKind::Tableau, engine::PileKind::Reserve, engine::PileKind::Foundation}) {
        const int piles = kind == engine::PileKind::Tableau   ? engine::kTableauPiles
                          : kind == engine::PileKind::Reserve ? engine::kReservePiles
                                                              : engine::kFoundationPiles;
        for (int i = 0; i < piles; ++i) {
            const engine::PileRef pile{kind, i};
            const int at = table.pile(pile).find(code);
            if (at >= 0) {
                m_highlighted = new CardHighlight(m_window.table(), code, pile, at);
                return;
            }
        }
    }
}

void CardCounterWindow::removeHighlight()
{
    if (m_highlighted)
        delete m_highlighted.data();
}

} // namespace cw::tools
