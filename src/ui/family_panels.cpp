// The special families beside the table: their panels, the announcement box, the text marks on the table and the end-of-game windows.
#include "engine/session.h"

#include "ui/family_panels.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/main_window.h"
#include "ui/table_painter.h"
#include "ui/table_widget.h"

namespace cw::ui {
namespace {

constexpr const char* kSquarePanel = "CribbageSquareScore";
constexpr const char* kSquareLeft = "Cribbage_Square_Form_Left";
constexpr const char* kSquareTop = "Cribbage_Square_Form_Top";

QString q(const std::string& s) { return QString::fromStdString(s); }

QFont markFont()
{
    QFont font(QStringLiteral("Tahoma"));
    if (!QFontInfo(font).exactMatch())
        font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(8);
    return font;
}

// A panel's grid of cells (the first row holds the column captions, in bold) and its lines.
QWidget* panelWidget(const engine::FamilyPanel& panel, QWidget* parent)
{
    auto* box = new QGroupBox(parent);
    box->setObjectName(q(panel.name));
    auto* grid = new QGridLayout(box);
    int row = 0;
    for (const std::vector<std::string>& cells : panel.grid) {
        for (std::size_t c = 0; c < cells.size(); ++c) {
            auto* label = new QLabel(q(cells[c]), box);
            if (row == 0)
                label->setStyleSheet(QStringLiteral("font-weight: bold"));
            label->setAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
            grid->addWidget(label, row, static_cast<int>(c));
        }
        ++row;
    }
    for (const auto& [caption, value] : panel.lines) {
        grid->addWidget(new QLabel(q(caption), box), row, 0);
        auto* v = new QLabel(q(value), box);
        v->setObjectName(q(caption));
        grid->addWidget(v, row, 1, 1, std::max(1, grid->columnCount() - 1));
        ++row;
    }
    return box;
}

std::string lineOf(const engine::FamilyPanel& panel, const std::string& caption)
{
    for (const auto& [c, v] : panel.lines)
        if (c == caption)
            return v;
    return {};
}

// The memory games' result page: the family's page, the matches and misses with their points,
// the start, the total with a green (won) or red (lost) mark, and the score to win.
void fillResultPage(QDialog& dialog, QVBoxLayout* layout, const engine::FamilyPanel& panel)
{
    dialog.setWindowTitle(q(lineOf(panel, "caption")));
    auto* page = new QGroupBox(q(lineOf(panel, "page")), &dialog);
    auto* grid = new QGridLayout(page);
    grid->addWidget(new QLabel(q(lineOf(panel, "group")), page), 0, 0, 1, 5);
    auto add = [&](int row, const std::vector<std::string>& cells) {
        for (std::size_t c = 0; c < cells.size(); ++c)
            grid->addWidget(new QLabel(q(cells[c]), page), row, static_cast<int>(c));
    };
    add(1, {"For each match:", lineOf(panel, "For each match:")});
    add(2, {"For each miss:", lineOf(panel, "For each miss:")});
    add(3, {"Matches:", lineOf(panel, "Matches:"), "x", lineOf(panel, "For each match:"), "=",
            lineOf(panel, "matches total")});
    add(4,
        {"Misses", lineOf(panel, "Misses"), "x", lineOf(panel, "For each miss:"), "=", lineOf(panel, "misses total")});
    add(5, {"Start:", "", "", "", "", lineOf(panel, "Start:")});
    add(6, {"Total:", "", "", "", "", lineOf(panel, "Total:")});
    const bool won = lineOf(panel, "won") == "1";
    auto* mark = new QLabel(won ? QStringLiteral("\u2714") : QStringLiteral("\u2718"), page);
    mark->setObjectName(QStringLiteral("resultMark"));
    mark->setStyleSheet(won ? QStringLiteral("color: green; font-weight: bold")
                            : QStringLiteral("color: red; font-weight: bold"));
    grid->addWidget(mark, 6, 6);
    grid->addWidget(new QLabel(q("(Score to win: " + lineOf(panel, "(Score to win:")), page), 7, 0, 1, 6);
    layout->addWidget(page);
}

// Where the score window goes: its stored place when there is one, else the screen's centre;
// at least a third of it stays on the screen.
void placeSquareWindow(QDialog& dialog, engine::TMainGame& game)
{
    dialog.adjustSize();
    const QScreen* screen = dialog.screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int left = std::atoi(game.preference(kSquareLeft).c_str());
    const int top = std::atoi(game.preference(kSquareTop).c_str());
    QPoint at =
        (left > 0 && top > 0) ? QPoint(left, top) : area.center() - QPoint(dialog.width() / 2, dialog.height() / 2);
    at.setX(std::min(at.x(), area.right() - dialog.width() / 3));
    at.setY(std::min(at.y(), area.bottom() - dialog.height() / 3));
    dialog.move(at);
}

} // namespace

QDialog* makeEndPanelDialog(QWidget* parent, engine::TMainGame& game, const engine::FamilyPanel& panel)
{
    auto* dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("dlg") + q(panel.name));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setModal(true);
    auto* layout = new QVBoxLayout(dialog);
    const bool square = panel.name == kSquarePanel;
    if (square) {
        dialog->setWindowTitle(QStringLiteral("Cribbage Square Solitaire score"));
        layout->addWidget(panelWidget(panel, dialog));
    } else {
        fillResultPage(*dialog, layout, panel);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    layout->addWidget(buttons);
    if (square) {
        placeSquareWindow(*dialog, game);
        QObject::connect(dialog, &QDialog::finished, dialog, [dialog, &game] {
            game.setPreference(kSquareLeft, std::to_string(dialog->x()));
            game.setPreference(kSquareTop, std::to_string(dialog->y()));
        });
    }
    return dialog;
}

FamilyPanelsView::FamilyPanelsView(TfrmMain& window, QWidget* parent) : QWidget(parent), m_window(window)
{
    setObjectName(QStringLiteral("familyPanels"));
    m_layout = new QVBoxLayout(this);
    m_announcement = new QLabel(this);
    m_announcement->setObjectName(QStringLiteral("announcement"));
    m_announcement->setAlignment(Qt::AlignCenter);
    m_announcement->setStyleSheet(
        QStringLiteral("background: white; color: black; border: 1px solid black; padding: 6px"));
    m_announcement->hide();
    m_layout->addWidget(m_announcement);
    m_layout->addStretch(1);
    window.windowHost().addObserver(this);
}

// The view lives as long as the window; the host, a member of the window, goes first.
FamilyPanelsView::~FamilyPanelsView() = default;

void FamilyPanelsView::tableReset()
{
    m_announcement->clear();
    m_announcement->hide();
    refresh();
}

void FamilyPanelsView::announce(const QString& text)
{
    m_announcement->setText(text);
    m_announcement->setVisible(!text.isEmpty());
    refresh();
}

void FamilyPanelsView::refresh()
{
    const engine::Session& s = m_window.session();
    const engine::Family& family = s.rules().family();
    std::vector<engine::FamilyPanel> panels;
    if (family.special() && s.state().gameId >= 0) {
        const std::string end = family.endPanel();
        for (engine::FamilyPanel& p : family.panels(s.rules(), s.state()))
            if (p.name != end)
                panels.push_back(std::move(p));
    }
    if (!m_built || panels != m_shown) {
        m_shown = std::move(panels);
        rebuild();
    }
    const bool show = !m_shown.empty() || m_announcement->isVisible();
    QWidget* dock = parentWidget();
    while (dock && !qobject_cast<QDockWidget*>(dock))
        dock = dock->parentWidget();
    if (dock && dock->isVisible() != show)
        dock->setVisible(show);
}

void FamilyPanelsView::rebuild()
{
    m_built = true;
    // Everything between the announcement box and the closing stretch is a panel.
    while (m_layout->count() > 2) {
        QLayoutItem* item = m_layout->takeAt(1);
        delete item->widget();
        delete item;
    }
    int at = 1;
    for (const engine::FamilyPanel& p : m_shown)
        m_layout->insertWidget(at++, panelWidget(p, this));
}

void FamilyPanelsView::showEndPanel(const std::string& name)
{
    const engine::Session& s = m_window.session();
    for (const engine::FamilyPanel& p : s.rules().family().panels(s.rules(), s.state()))
        if (p.name == name) {
            // The page as the game ended; shown once the last cards have landed.
            m_window.table()->afterAnimations([this, p] { makeEndPanelDialog(&m_window, m_window.game(), p)->open(); });
            return;
        }
}

FamilyPanelsView* installFamilyPanels(TfrmMain& window)
{
    auto* dock = new QDockWidget(&window);
    dock->setObjectName(QStringLiteral("familyPanelsDock"));
    dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    dock->setTitleBarWidget(new QWidget(dock));
    auto* view = new FamilyPanelsView(window, dock);
    dock->setWidget(view);
    window.addDockWidget(Qt::RightDockWidgetArea, dock);
    dock->hide();
    return view;
}

void paintFamilyTexts(QPainter& painter, const TableScene& scene)
{
    if (!scene.rules || !scene.state || !scene.geometry || !scene.rules->family().special())
        return;
    engine::PileMarks marks;
    scene.rules->family().pileMarks(*scene.rules, *scene.state, marks);
    const engine::TableGeometry& tg = *scene.geometry;
    const QFont font = markFont();
    const QFontMetrics fm(font);
    const int h = fm.height() + 4;
    painter.save();
    painter.setFont(font);
    for (const engine::PileMark& m : marks) {
        if (m.kind == engine::MarkKind::Highlight || m.kind == engine::MarkKind::EmptyPicture ||
            !tg.layout.present(m.pile))
            continue;
        const engine::Point c = tg.layout.corner(m.pile);
        const QRect pile(c.x, c.y - scene.scroll, tg.layout.cardWidth, tg.layout.cardHeight);
        const QString text = q(m.text);
        QRect box;
        switch (m.kind) {
        case engine::MarkKind::CaptionLeft:
            box = QRect(pile.left() - 50, pile.center().y() - h / 2, std::max(39, fm.horizontalAdvance(text) + 6), h);
            break;
        case engine::MarkKind::LabelAbove:
            box = QRect(pile.left(), pile.top() - 19, std::max(54, fm.horizontalAdvance(text) + 8), h);
            break;
        case engine::MarkKind::TotalRight:
            box = QRect(pile.right() + 12, pile.center().y() - h / 2, std::max(24, fm.horizontalAdvance(text) + 6), h);
            break;
        case engine::MarkKind::TotalBelow: {
            const int w = std::max(24, fm.horizontalAdvance(text) + 6);
            box = QRect(pile.center().x() - w / 2, pile.bottom() + 12, w, h);
            break;
        }
        default: continue;
        }
        QFont f = font;
        f.setBold(m.strong);
        painter.setFont(f);
        painter.fillRect(box, Qt::white);
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, text);
    }
    painter.restore();
}

} // namespace cw::ui
