// The zoom dialog of the progression charts: range boxes, "All Values", "Fit to Screen", scrolling, zoom.
#include "ui/progression_zoom.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "ui/dialog_base.h"
#include "ui/message_boxes.h"
#include "ui/stats_charts.h"

namespace cw::ui {

ProgressionZoomDialog::ProgressionZoomDialog(std::vector<stats::ProgressionRecord> records,
                                             stats::ProgressionScope scope, int gameId, QWidget* parent)
    : QDialog(parent), m_records(std::move(records)), m_scope(scope), m_gameId(gameId)
{
    applyDialogFont(this);
    setWindowTitle(tr("Progression % Won - Zoom"));
    auto* layout = new QVBoxLayout(this);
    m_chart = new ProgressionChartView(this);
    m_chart->setObjectName(QStringLiteral("chtProgression"));
    layout->addWidget(m_chart, 1);
    m_scroll = new QScrollBar(Qt::Horizontal, this);
    m_scroll->setObjectName(QStringLiteral("sbHorizScroll"));
    m_scroll->setToolTip(tr("Horiz. Scroll"));
    m_scroll->setRange(0, 175);
    layout->addWidget(m_scroll);

    auto* controls = new QGridLayout;
    m_all = new QCheckBox(tr("All Values"), this);
    m_all->setChecked(true);
    m_start = new QComboBox(this);
    m_end = new QComboBox(this);
    m_fit = new QCheckBox(tr("Fit to Screen"), this);
    m_fit->setChecked(true);
    m_zoomIn = new QPushButton(QStringLiteral("+"), this);
    m_zoomOut = new QPushButton(QStringLiteral("-"), this);
    m_zoomIn->setToolTip(tr("Zoom in"));
    m_zoomOut->setToolTip(tr("Zoom out"));
    controls->addWidget(m_all, 0, 0);
    controls->addWidget(new QLabel(tr("Start:"), this), 0, 1);
    controls->addWidget(m_start, 0, 2);
    controls->addWidget(new QLabel(tr("End:"), this), 0, 3);
    controls->addWidget(m_end, 0, 4);
    controls->addWidget(m_fit, 0, 5);
    controls->addWidget(m_zoomIn, 0, 6);
    controls->addWidget(m_zoomOut, 0, 7);
    auto* ok = new QPushButton(tr("OK"), this);
    controls->addWidget(ok, 0, 8);
    controls->setColumnStretch(5, 1);
    layout->addLayout(controls);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // The months of the chart with the whole range, budget 30.
    const auto whole =
        stats::buildProgressionPoints(m_records, scope, gameId, std::nullopt, std::nullopt, stats::kProgressionBudget);
    m_start->addItem(tr("First"));
    m_end->addItem(tr("Last"));
    if (whole.first && whole.last)
        m_months = stats::monthsBetween(*whole.first, *whole.last);
    for (const auto& m : m_months) {
        m_start->addItem(monthLabel(m));
        m_end->addItem(monthLabel(m));
    }
    const bool none = m_months.empty();
    for (QWidget* w : {static_cast<QWidget*>(m_zoomIn), static_cast<QWidget*>(m_zoomOut)}) {
        w->setEnabled(!none);
        w->setVisible(!none);
    }
    if (none)
        for (QWidget* w : {static_cast<QWidget*>(m_all), static_cast<QWidget*>(m_start), static_cast<QWidget*>(m_end),
                           static_cast<QWidget*>(m_fit), static_cast<QWidget*>(m_scroll)})
            w->setEnabled(false);

    connect(m_all, &QCheckBox::toggled, this, [this] { redraw(); });
    connect(m_fit, &QCheckBox::toggled, this, [this] { redraw(); });
    connect(m_start, &QComboBox::currentIndexChanged, this, [this] { redraw(); });
    connect(m_end, &QComboBox::currentIndexChanged, this, [this] { redraw(); });
    connect(m_scroll, &QScrollBar::valueChanged, this, &ProgressionZoomDialog::scrollTo);
    connect(m_zoomIn, &QPushButton::clicked, this, [this] { m_chart->zoomBy(1.02); });
    connect(m_zoomOut, &QPushButton::clicked, this, [this] { m_chart->zoomBy(0.99); });
    redraw();
    resize(760, 460);
}

bool ProgressionZoomDialog::redraw()
{
    const bool none = m_months.empty();
    m_start->setEnabled(!none && !m_all->isChecked());
    m_end->setEnabled(!none && !m_all->isChecked());
    m_scroll->setEnabled(!none && !m_fit->isChecked());
    std::optional<stats::YearMonth> from, to;
    if (!m_all->isChecked() && !none) {
        const int s = m_start->currentIndex(), e = m_end->currentIndex();
        from = s <= 0 ? m_months.front() : m_months[std::size_t(s - 1)];
        to = e <= 0 ? m_months.back() : m_months[std::size_t(e - 1)];
        if (*from > *to) {
            informationBox(this, tr("Start Date is more recent than End Date."));
            return false;
        }
    }
    const int budget = m_fit->isChecked() ? stats::kProgressionBudget : stats::kProgressionZoomBudget;
    m_chart->setPoints(stats::buildProgressionPoints(m_records, m_scope, m_gameId, from, to, budget));
    if (!m_fit->isChecked())
        scrollTo(m_scroll->value());
    return true;
}

void ProgressionZoomDialog::scrollTo(int position)
{
    if (m_fit->isChecked())
        return;
    m_chart->showWindow(position, kWindowPoints);
}

} // namespace cw::ui
