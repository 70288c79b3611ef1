// The "Tip of the Day" dialog: one hint at a time, next and previous, and the start-up choice.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;

namespace cw::engine {
class TMainGame;
}

namespace cw::tools {

class TipDialog : public QDialog {
    Q_OBJECT
public:
    // Opens on the hint after the one shown at the last closing ("Tips_Num"); the check box
    // follows "Tips_StartUp".
    explicit TipDialog(engine::TMainGame& game, QWidget* parent = nullptr);

    int tip() const { return m_tip; }
    QString tipText() const;
    QCheckBox* startupBox() const { return m_startup; }
    void nextTip();
    void previousTip();

public slots:
    // Closing stores the hint on display and the check box.
    void done(int result) override;

private:
    void showTip(int tip);

    engine::TMainGame& m_game;
    int m_tip = 0;
    QLabel* m_text = nullptr;
    QCheckBox* m_startup = nullptr;
};

} // namespace cw::tools
