// StatsTable: the read-only grid of the statistics dialogs. A click on a column title sorts by that column
// (numbers as numbers, text without regard to case); Ctrl+C and the pop-up menu's "Copy" put the rows on
// the clipboard as tab-separated text, ready to paste into a spreadsheet.
#pragma once

#include <QAbstractTableModel>
#include <QTableView>
#include <QVariant>

#include <vector>

class QMenu;
class QSortFilterProxyModel;

namespace cw::ui {

// One cell: the text shown and the value it sorts by (the text when the value is invalid).
struct StatsCell {
    QString text;
    QVariant key;
    StatsCell() = default;
    StatsCell(QString t) : text(std::move(t)) {} // NOLINT: cells are written as plain texts
    StatsCell(QString t, QVariant k) : text(std::move(t)), key(std::move(k)) {}
};
using StatsRow = std::vector<StatsCell>;

class StatsTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit StatsTableModel(QStringList headers, QObject* parent = nullptr);
    void setRows(std::vector<StatsRow> rows);
    void setRightAligned(std::vector<bool> columns) { m_right = std::move(columns); }
    const std::vector<StatsRow>& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_headers;
    std::vector<StatsRow> m_rows;
    std::vector<bool> m_right;
};

class StatsTable : public QTableView {
    Q_OBJECT
public:
    // rightAligned: per column (numbers); missing entries are left-aligned.
    StatsTable(const QStringList& headers, std::vector<bool> rightAligned = {}, QWidget* parent = nullptr);

    // Replaces the rows (the sort order the player chose is kept).
    void setRows(std::vector<StatsRow> rows);
    // The rows as shown (after sorting).
    int rowCount() const;
    QString cellText(int row, int column) const;
    // The selected row as shown, or -1.
    int currentRowIndex() const;
    // The source row (as given to setRows) of a shown row.
    int sourceRow(int shownRow) const;
    // The titles and the rows as shown, tab-separated, one line each (selectionOnly: the selected rows).
    QString tabSeparated(bool selectionOnly = false) const;
    void copyToClipboard();
    // The pop-up menu ("Copy" first; dialogs add their own items).
    QMenu* popupMenu() const { return m_menu; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    StatsTableModel* m_model = nullptr;
    QSortFilterProxyModel* m_proxy = nullptr;
    QMenu* m_menu = nullptr;
};

} // namespace cw::ui
