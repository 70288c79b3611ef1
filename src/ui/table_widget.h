// The table on screen: draws the current game, lets the player drag cards (or point and click),
// and plays the engine's events, the deal, the winning animations and the pause screen.
#pragma once

#include "catalog/rules.h"
#include "engine/card_size.h"
#include "engine/events.h"
#include "engine/game_rules.h"
#include "engine/game_state.h"
#include "engine/geometry.h"
#include "ui/animation.h"
#include "ui/backgrounds.h"
#include "ui/card_art.h"
#include "ui/deck_art.h"
#include "ui/table_painter.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <vector>

class QScrollBar;

namespace cw::engine {
struct Press; // engine/pickup.h; its rules context clashes with Qt's "emit" keyword
}

namespace cw::ui {

class PictureLibrary;

// What the table asks of the game when the player acts on it. The window wires it to the
// session, which runs the engine's table press and release (and plays the resulting events back
// through TableWidget::playEvents).
class TableController {
public:
    virtual ~TableController() = default;
    // A press on the table (the engine's table press). Afterwards the widget reads the game
    // state's drag state (cards lifted) and point-and-click selection.
    virtual void tablePress(const engine::Press& press) = 0;
    // The pointer moved while cards are carried (first move only).
    virtual void dragMoved() = 0;
    // The release: the piles under the dragged cards, best first (point and click: the pile of
    // the second click; nothing when no card was carried). True when the table changed.
    virtual bool tableRelease(const std::vector<engine::PileRef>& candidates) = 0;
    // A double click on a card (the engine's click-to-play with the double-click options).
    virtual void doubleClick(engine::PileRef pile, int index) = 0;
};

// The table's drawing and animation preferences.
struct TableSettings {
    engine::CardSize cardSize = engine::CardSize::B;
    int cardSet = kDefaultCardSet; // "Card"
    int deck = kDefaultDeck;       // "Deck"
    QString cardSetFile;           // a player's card set (".crs" or ".svg"); empty: `cardSet`
    QString deckFile;              // a player's deck picture; empty: `deck`
    BackgroundChoice background;
    bool animate = true;         // "Cards_Animate"
    bool shadows = true;         // "Cards_Shadowed"
    int speedMoveCard = 10;      // "Speed_Move_Card", milliseconds per frame
    bool irregularPiles = false; // "Piles_TT"
    int markPattern = 0;         // "HighLights_Foundations_Mark"
    int markColour = 0;          // "HighLights_Foundations_Color"
    bool scrollBar = true;       // the scroll-bar option
    // Fans open up to show each card's whole corner index (the fixed steps show only the top
    // of the rank with our card art) and close again, down to the fixed steps, where a pile
    // would run into the next one or out of the window. Off: always the fixed steps.
    bool readableFans = true;
    // The cards follow the window: the whole table is drawn at the largest scale at which the
    // game's layout, with cards of `cardSize`, fits the room ("Cards_Fit_Window"). Off: the
    // fixed size itself.
    bool fitWindow = false;
    QString winningAnimation = QStringLiteral("(Random)"); // "Winning_Animations"
    int winningSeconds = 30;                               // "Winning_Animations_Time"

    friend bool operator==(const TableSettings&, const TableSettings&) = default;
};

// How a window uses it: setSettings, setController, then setGame(&rules, &state) at every new
// game followed by animateDeal(); the Host's animate(events) calls playEvents(events), its
// redraw() calls refresh(), its winningAnimation() runWinningAnimation(), its showPause(on)
// showPause(on). The animations queue up and play on a timer while the window's event loop
// runs; the game's state is already final, the picture catches up. A press, drag and release
// on the table reach the controller; a press or key during an animation first finishes every
// queued animation, then acts on the finished table. While paused, the first click or key only
// ends the pause.
class TableWidget : public QWidget {
    Q_OBJECT

public:
    explicit TableWidget(const PictureLibrary& library, QWidget* parent = nullptr);
    ~TableWidget() override;

    void setController(TableController* controller) { m_controller = controller; }
    // Settings take effect at once (pictures reloaded, table laid out and repainted as needed).
    void setSettings(const TableSettings& settings);
    const TableSettings& settings() const { return m_settings; }

    // The game to show. Both are borrowed and must outlive the widget or the next setGame;
    // nullptrs show the bare table. A new game draws new irregular-pile offsets.
    void setGame(const engine::GameRules* rules, const engine::GameState* state, bool newGame = true);
    // The screen the game is laid out for (0: the same as the widget); the outer window height.
    void setScreenSize(int screenWidth, int screenHeight, int windowHeight = 0);
    // The game's state changed outside an animation: show it as it now is.
    void refresh();
    // Lays the piles out again (rules or room changed) and repaints.
    void relayout();

    // Queues the events of one action: from the table as the animations before it leave it to
    // the game's table as it is now, a moved card slides, a turned card flips. Other events are
    // left to the caller.
    void playEvents(const engine::Events& events);
    // Queues the deal animation: the cards fly from the stock (or from off the table) to their places.
    void animateDeal();
    // Queues the redeal effect: the table is swept off and dealt again.
    void animateRedeal();
    // Queues the winning animation by name ("(Random)", "(None)", "Festoons", "Circles", "Lines",
    // "Open order", "Left to right", "Up to down"); `seconds` < 0 takes the settings' values.
    void runWinningAnimation(const QString& name = {}, int seconds = -1);
    // The pause screen; the next click or key on the table ends it (pauseEnded is emitted).
    void showPause(bool on);
    bool paused() const { return m_paused; }
    // Ends the pause as a click would (nothing when not paused).
    void endPause();
    // Whether animations (or calls waiting for them) are queued.
    bool animating() const { return m_animations.busy(); }
    // Ends every queued animation at once, as a click would, showing the finished table.
    void finishAnimations() { m_animations.finish(); }
    // Runs `call` after the animations queued so far (at once when none is).
    void afterAnimations(std::function<void()> call) { m_animations.then(std::move(call)); }
    // A pause of `ms` milliseconds after the animations queued so far.
    void pauseAnimations(int ms) { m_animations.pause(ms); }
    // The queue itself, for tests that play the frames one by one.
    AnimationQueue& animations() { return m_animations; }

    // The hint's pointer from one table point to another. It is painted while the game's tutor mode
    // says a legal move is shown, so it goes away with the hint; a new game forgets it.
    void setHintArrow(QPoint from, QPoint to);
    bool hintArrowShown() const;

    // The text panels of the sum games ("Select the 5 cards whose sum is: 37", "Sum = 5+9+...");
    // an empty list hides them.
    void setSpecialPanels(const QStringList& lines);

    // Geometry of the current layout (table coordinates) and the scroll position.
    const engine::TableGeometry& tableGeometry() const { return m_geometry; }
    int scrollPosition() const { return m_scroll.position; }
    bool scrollBarShown() const { return m_scroll.shown; }
    // Window pixels per table pixel: 1 with a fixed card size, the fitted scale when the cards
    // follow the window. Table coordinates are those of the engine's geometry.
    qreal zoom() const { return m_zoom; }
    // The width of a card on screen, in window pixels.
    int shownCardWidth() const;
    // Window point <-> table point.
    QPoint toTable(QPoint windowPoint) const;
    QPoint toWindow(QPoint tablePoint) const;
    QRect toWindow(const QRect& tableRect) const;

    // The keyboard's focus frame around the cards from `index` up of `pile` (drawn in the
    // colour of lifted cards when `lifted`); an invalid pile takes it away.
    void setKeyboardFrame(engine::PileRef pile, int index, bool lifted);
    bool keyboardFrameShown() const { return m_keyFrame.pile.valid(); }
    // A family's step shows a card highlighted (a ring around it, wherever it lies) or not; a new
    // game forgets them.
    void setCardHighlighted(int code, bool on);
    bool cardHighlighted(int code) const;
    // The window rectangle of the card at `index` of `pile` in the table as shown.
    QRect cardRect(engine::PileRef pile, int index) const;
    const CardPictures& pictures() const { return m_pictures; }

    // The whole table as it is on screen (the drag image and flying cards included).
    QImage grabTable();

    // Timing hooks for tests: rebuild the table picture from scratch (what a full repaint costs).
    void rebuildTablePicture();

signals:
    void pauseEnded();
    // The drag started or ended (the window may show a different pointer).
    void dragStarted();
    void dragEnded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Flying {
        QPixmap picture;
        QPoint at;     // window position of the picture's top-left corner
        QPoint offset; // picture corner relative to the bottom card's corner
        bool active() const { return !picture.isNull(); }
        QRect rect() const { return QRect(at, picture.deviceIndependentSize().toSize()); }
    };
    struct Drag {
        bool active = false;
        engine::PileRef source{};
        int index = -1;
        std::vector<int> codes;
        QPoint grab;  // pointer minus the bottom card's window corner
        QPoint start; // bottom card's window corner at the lift
        bool moved = false;
    };

    void loadPictures();
    void layoutNow();
    void rebuildBackground();
    TableScene scene() const;
    const engine::Table* shownTable() const;
    void setFlying(const QPixmap& picture, QPoint cardCorner, QPoint offset);
    void moveFlying(QPoint cardCorner);
    void clearFlying();
    QPixmap pictureOf(const engine::Table& table, engine::PileRef pile, int from, QPoint* offset) const;
    std::vector<QPoint> groupOffsets(const engine::Table& table, engine::PileRef pile, int from) const;
    Frames fly(QPoint from, QPoint to, SlideKind kind);
    Frames flip(int code, engine::PileRef pile, int index, bool faceUp);
    Frames eventFrames(engine::Events events, engine::Table after);
    Frames dealFrames(engine::Table final);
    Frames redealFrames(engine::Table final);
    Frames slideBackFrames();
    Frames winningFrames(QString pattern, int seconds);
    Frames pauseSlideFrames();
    void showAfterRun(engine::Table table);
    void startDrag(QPoint pointer);
    void finishDrag(QPoint pointer);
    void syncScrollBar();
    bool fitFanSteps();
    QRect tableArea() const;
    int randomInt(int below);

    const PictureLibrary& m_library;
    TableController* m_controller = nullptr;
    TableSettings m_settings;
    const engine::GameRules* m_rules = nullptr;
    const engine::GameState* m_state = nullptr;
    std::optional<engine::Table> m_shown; // the table as drawn while it lags the game's
    engine::Table m_drawn;                // the table the picture shows
    engine::TableGeometry m_geometry;
    engine::FanSteps m_fixedSteps; // the fan steps before fitFanSteps
    engine::ScrollState m_scroll;
    int m_screenWidth = 0;
    int m_screenHeight = 0;
    int m_windowHeight = 0;
    engine::IrregularOffsets m_irregular;
    CardPictures m_pictures;
    TablePainter m_painter;
    QPixmap m_background; // background only, widget size
    QPixmap m_table;      // background and cards, widget size
    Flying m_flying;
    Drag m_drag;
    bool m_pressed = false; // a press went to the controller; the release must follow
    engine::PileRef m_hiddenPile{};
    int m_hiddenFrom = -1;
    bool m_paused = false;
    qreal m_picturesDpr = 0;
    QScrollBar* m_scrollBar = nullptr;
    std::mt19937 m_random;
    QStringList m_panels;
    struct HintArrow {
        QPoint from, to; // table coordinates
        bool set = false;
    } m_hintArrow;
    struct KeyFrame {
        engine::PileRef pile{};
        int index = -1;
        bool lifted = false;
    } m_keyFrame;
    std::vector<int> m_highlighted; // card codes
    qreal m_zoom = 1.0;
    qreal tableDpr() const; // the device pixel ratio of the table's pictures: the screen's times the zoom
    // The widget draws in view coordinates: window pixels divided by the zoom (the table's
    // coordinates less the scroll position). Pointer positions come in through viewPoint.
    QSize viewSize() const;
    QPoint viewPoint(QPointF windowPoint) const;
    QPoint toView(QPoint tablePoint) const { return tablePoint - QPoint(0, m_scroll.position); }
    QPoint fromView(QPoint viewPoint) const { return viewPoint + QPoint(0, m_scroll.position); }
    QRect viewRect(engine::PileRef pile, int index) const;
    void updateView(const QRect& viewRect);
    void chooseZoom();
    QRect keyFrameRect() const; // table coordinates
    QPixmap m_pauseBackground; // the fade of the pause screen, widget size
    QImage m_pauseOne, m_pauseTwo;
    int m_pauseSlide = 0; // pixels the pause pictures still stand above their place
    // Last: its runs refer to the members above and go first.
    AnimationQueue m_animations;
};

} // namespace cw::ui
