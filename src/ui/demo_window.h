// TfrmDemo: the small "Game Demo" window — move counter, description, Play, Pause, Stop and Close.
#pragma once

#include <QDialog>

class QLabel;
class QToolButton;
class QPushButton;

namespace cw::storage {
class IniFile;
}

namespace cw::ui {

// The window only shows and reports: whoever plays the demo listens to its buttons and tells it
// the counter and the description. It lives for the whole run (hidden when closed); its position
// is kept in section "Settings" of the settings file.
class TfrmDemo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDemo(storage::IniFile* settingsFile, QWidget* parent = nullptr);

    void setMoveCount(int count);
    void setDescription(const QString& text);
    // "Play" and "Pause" shown pressed or released.
    void setPlayDown(bool down);
    void setPauseDown(bool down);
    // While paused the labels are greyed.
    void setGreyed(bool greyed);

    QString moveCountText() const;
    QString description() const;
    bool playDown() const;
    bool pauseDown() const;
    QToolButton* playButton() const { return m_play; }
    QToolButton* pauseButton() const { return m_pause; }
    QToolButton* stopButton() const { return m_stop; }
    QPushButton* closeButton() const { return m_close; }

    // Shows the window at its stored position (the first time) and raises it.
    void showAtStoredPosition();

signals:
    void playClicked();
    void pauseToggled(bool down);
    void stopClicked();
    // The window was closed (Close, the title bar or Esc).
    void closed();

public slots:
    // Close, Esc and the title bar: the position is stored and closed() emitted.
    void reject() override;

private:
    void storePosition();

    storage::IniFile* m_settingsFile;
    QLabel* m_moveCaption = nullptr;
    QLabel* m_moveNumber = nullptr;
    QLabel* m_descriptionCaption = nullptr;
    QLabel* m_description = nullptr;
    QToolButton* m_play = nullptr;
    QToolButton* m_pause = nullptr;
    QToolButton* m_stop = nullptr;
    QPushButton* m_close = nullptr;
    bool m_placed = false;
};

} // namespace cw::ui
