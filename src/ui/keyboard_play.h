// Playing without the mouse: a focus frame moved over the piles by the arrow keys, Enter or Space to pick up and drop, Escape to cancel, Home to send a card home.
#pragma once

#include "engine/table.h"

#include <QObject>
#include <QString>

#include <vector>

class QKeyEvent;

namespace cw::ui {

class TfrmMain;

// The keys of the table. Left and Right (and Tab, Shift+Tab) move the frame from pile to pile in
// reading order; Up and Down move it along the pile's movable cards and, past their ends, to the
// pile above or below. Enter (or Space while the frame is shown) picks up the framed cards, or,
// with cards picked up, drops them on the framed pile; on the stock it deals, on a face-down card
// it turns it up. Escape puts picked-up cards back (then hides the frame). Home or H sends the
// framed pile's top card to a foundation. Each step is announced in the status bar. The moves
// are the mouse's: the window's table press and release.
class KeyboardPlay : public QObject {
    Q_OBJECT
public:
    explicit KeyboardPlay(TfrmMain& window);

    bool shown() const { return m_pile.valid(); }
    bool carrying() const { return m_carrying; }
    engine::PileRef focusPile() const { return m_pile; }
    int focusIndex() const { return m_index; }
    engine::PileRef carriedFrom() const { return m_from; }
    // The frame goes (a new deal, a click with the mouse).
    void hide();
    // The last announcement.
    QString announcement() const { return m_announced; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleKey(QKeyEvent* key);
    bool wantsKey(const QKeyEvent* key) const;
    std::vector<engine::PileRef> piles() const;
    std::vector<int> movable(engine::PileRef pile) const;
    void across(int step);
    void along(int step);
    void toRow(int step);
    void activate();
    void sendHome();
    void cancel();
    void focusOn(engine::PileRef pile, int index);
    void show();
    int topIndex(engine::PileRef pile) const;
    bool lift(engine::PileRef pile, int index);
    bool drop(engine::PileRef target);

    TfrmMain& m_window;
    engine::PileRef m_pile{};
    int m_index = -1;
    bool m_carrying = false;
    engine::PileRef m_from{};
    int m_fromIndex = -1;
    QString m_announced;
};

} // namespace cw::ui
