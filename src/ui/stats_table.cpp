// StatsTable: a table model of text cells with sort keys, a sorting proxy and tab-separated copying.
#include "ui/stats_table.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QSortFilterProxyModel>

namespace cw::ui {

namespace {

constexpr int kSortRole = Qt::UserRole + 1;

} // namespace

StatsTableModel::StatsTableModel(QStringList headers, QObject* parent)
    : QAbstractTableModel(parent), m_headers(std::move(headers))
{}

void StatsTableModel::setRows(std::vector<StatsRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int StatsTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

int StatsTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_headers.size(); }

QVariant StatsTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const StatsRow& row = m_rows[std::size_t(index.row())];
    const StatsCell* cell = index.column() < int(row.size()) ? &row[std::size_t(index.column())] : nullptr;
    switch (role) {
    case Qt::DisplayRole: return cell ? cell->text : QString();
    case kSortRole:
        if (!cell)
            return QString();
        return cell->key.isValid() ? cell->key : QVariant(cell->text);
    case Qt::TextAlignmentRole: {
        const bool right = index.column() < int(m_right.size()) && m_right[std::size_t(index.column())];
        return QVariant::fromValue(Qt::Alignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    }
    default: return {};
    }
}

QVariant StatsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_headers.size())
        return m_headers[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

StatsTable::StatsTable(const QStringList& headers, std::vector<bool> rightAligned, QWidget* parent) : QTableView(parent)
{
    m_model = new StatsTableModel(headers, this);
    m_model->setRightAligned(std::move(rightAligned));
    m_proxy = new QSortFilterProxyModel(this);
    m_proxy->setSourceModel(m_model);
    m_proxy->setSortRole(kSortRole);
    m_proxy->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_proxy->setSortLocaleAware(true);
    setModel(m_proxy);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAlternatingRowColors(true);
    setWordWrap(false);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setSectionsClickable(true);
    // The rows stay in the order given until the player clicks a column title.
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    setSortingEnabled(true);

    m_menu = new QMenu(this);
    QAction* copy = m_menu->addAction(tr("&Copy"), this, &StatsTable::copyToClipboard);
    copy->setShortcut(QKeySequence::Copy);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_menu->popup(viewport()->mapToGlobal(pos)); });
}

void StatsTable::setRows(std::vector<StatsRow> rows)
{
    m_model->setRows(std::move(rows));
    if (m_proxy->rowCount() > 0)
        selectRow(0);
}

int StatsTable::rowCount() const { return m_proxy->rowCount(); }

QString StatsTable::cellText(int row, int column) const { return m_proxy->index(row, column).data().toString(); }

int StatsTable::currentRowIndex() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

int StatsTable::sourceRow(int shownRow) const
{
    if (shownRow < 0 || shownRow >= m_proxy->rowCount())
        return -1;
    return m_proxy->mapToSource(m_proxy->index(shownRow, 0)).row();
}

QString StatsTable::tabSeparated(bool selectionOnly) const
{
    auto clean = [](QString s) {
        s.replace(QLatin1Char('\t'), QLatin1Char(' '));
        s.replace(QLatin1Char('\n'), QLatin1Char(' '));
        return s;
    };
    QStringList lines;
    QStringList titles;
    for (int c = 0; c < m_proxy->columnCount(); ++c)
        titles << clean(m_proxy->headerData(c, Qt::Horizontal).toString());
    lines << titles.join(QLatin1Char('\t'));
    for (int r = 0; r < m_proxy->rowCount(); ++r) {
        if (selectionOnly && !selectionModel()->isRowSelected(r, {}))
            continue;
        QStringList cells;
        for (int c = 0; c < m_proxy->columnCount(); ++c)
            cells << clean(cellText(r, c).trimmed());
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void StatsTable::copyToClipboard()
{
    // Several selected rows copy those rows; otherwise the whole table (one row is just the cursor).
    const bool some = selectionModel() && selectionModel()->selectedRows().size() > 1;
    QApplication::clipboard()->setText(tabSeparated(some));
}

void StatsTable::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copyToClipboard();
        return;
    }
    QTableView::keyPressEvent(event);
}

} // namespace cw::ui
