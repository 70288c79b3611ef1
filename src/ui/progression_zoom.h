// "Progression % Won - Zoom": the progression chart over a chosen range of months, fitted to the window or
// scrolled through a window of points, with zoom buttons.
#pragma once

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

#include "stats/progression_chart.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QScrollBar;

namespace cw::ui {

class ProgressionChartView;

class ProgressionZoomDialog : public QDialog {
    Q_OBJECT
public:
    // records: the player's progression file; gameId: the game of a one-game chart.
    ProgressionZoomDialog(std::vector<stats::ProgressionRecord> records, stats::ProgressionScope scope, int gameId,
                          QWidget* parent = nullptr);

    ProgressionChartView* chart() const { return m_chart; }
    QCheckBox* allValuesBox() const { return m_all; }
    QComboBox* startBox() const { return m_start; }
    QComboBox* endBox() const { return m_end; }
    QCheckBox* fitBox() const { return m_fit; }
    QScrollBar* scrollBar() const { return m_scroll; }
    QPushButton* zoomInButton() const { return m_zoomIn; }
    QPushButton* zoomOutButton() const { return m_zoomOut; }

    // Draws the chart for the controls' range, budget and scope; false (after the message) when the
    // start month is after the end month, the chart then stays as it was.
    bool redraw();

    // The window of points shown without "Fit to Screen".
    static constexpr int kWindowPoints = 25;

private:
    void scrollTo(int position);

    std::vector<stats::ProgressionRecord> m_records;
    stats::ProgressionScope m_scope;
    int m_gameId;
    std::vector<stats::YearMonth> m_months;
    ProgressionChartView* m_chart = nullptr;
    QCheckBox* m_all = nullptr;
    QComboBox* m_start = nullptr;
    QComboBox* m_end = nullptr;
    QCheckBox* m_fit = nullptr;
    QScrollBar* m_scroll = nullptr;
    QPushButton* m_zoomIn = nullptr;
    QPushButton* m_zoomOut = nullptr;
};

} // namespace cw::ui
