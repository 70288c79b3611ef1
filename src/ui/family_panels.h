// The special families beside the table: their panels, the announcement box, the text marks on the table and the end-of-game windows.
#pragma once

#include "engine/family.h"
#include "engine/game_object.h"

#include <QWidget>

#include <vector>

#include "ui/main_window_host.h"

class QPainter;
class QLabel;
class QVBoxLayout;
class QDialog;

namespace cw::ui {

class TfrmMain;
struct TableScene;

// The panels of the current position (cribbage patience's info and score panels) and the
// announcement box (the hands of poker squares), in a column beside the table. Hidden in games
// that show neither.
class FamilyPanelsView : public QWidget, public TableObserver {
    Q_OBJECT
public:
    FamilyPanelsView(TfrmMain& window, QWidget* parent);
    ~FamilyPanelsView() override;

    // Reads the panels of the position again; shows or hides the column.
    void refresh();
    // The announcement box's text; empty closes the box.
    void announce(const QString& text);
    // The family's end-of-game panel `name` of the position now, shown once the cards have
    // landed: the window stays usable behind it (no nested event loop).
    void showEndPanel(const std::string& name);

    void cardsChanged(const engine::Events&) override { refresh(); }
    void tableReset() override;

private:
    void rebuild();

    TfrmMain& m_window;
    QVBoxLayout* m_layout = nullptr;
    QLabel* m_announcement = nullptr;
    std::vector<engine::FamilyPanel> m_shown;
    bool m_built = false;
};

// Puts the panels' column on the right of the main window and lets the host reach it.
FamilyPanelsView* installFamilyPanels(TfrmMain& window);

// The end-of-game window of a family's panel: "Cribbage Square Solitaire score" (its position
// kept in the settings file) or the memory games' result page. Deleted when closed.
QDialog* makeEndPanelDialog(QWidget* parent, engine::TMainGame& game, const engine::FamilyPanel& panel);

// The family's text marks on the table: captions left of piles, totals right of or below them.
void paintFamilyTexts(QPainter& painter, const TableScene& scene);

} // namespace cw::ui
