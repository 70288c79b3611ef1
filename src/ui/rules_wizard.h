// TfrmWizardRules: the Rules Wizard — a new game from a built-in one with up to seven rules changed, checked by the solver.
#pragma once

#include "catalog/custom_rules.h"
#include "catalog/rules.h"
#include "engine/game_object.h"
#include "engine/game_state.h"
#include "engine/solver.h"
#include "engine/win_sample.h"
#include "ui/table_widget.h"

#include <QDialog>
#include <QImage>

#include <functional>
#include <optional>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTableWidget;
class QTimer;

namespace cw::ui {

class BackgroundSolver;
class PictureLibrary;
struct SolverAnswer;

class TfrmWizardRules : public QDialog {
    Q_OBJECT

public:
    enum Page { Start, Foundations, Tableau, Stock, Redeal, Finish, PageCount };

    // Opens on the current game (a custom game: its base game, with its own rules preset). The
    // preview draws with `table` settings at `tableSize` (the window's table), scaled down.
    TfrmWizardRules(engine::TMainGame& game, const PictureLibrary& library, const TableSettings& table, QSize tableSize,
                    QWidget* parent = nullptr);
    ~TfrmWizardRules() override;

    int page() const;
    // Next (Finish on the last page) and Back, as the buttons do.
    void next();
    void back();
    // The game saved by Finish (-1 before).
    int savedGameId() const { return m_savedId; }
    QString savedName() const { return m_savedName; }

    // What deletes the current custom game from the Start page (origin: the wizard); true when
    // deleted. Without it there is no Delete button.
    void setDeleteGame(std::function<bool(int id)> deleteGame);
    bool deletedGame() const { return m_deleted; }

    // The base game and the choices as they stand.
    int baseGameId() const { return m_baseId; }
    void setBaseGame(int id);
    catalog::CustomOptions available() const { return m_available; }
    catalog::CustomChoices choices() const;
    std::string ruleString() const;
    // The base game's rules with the choices applied.
    catalog::Rules newRules() const;

    // The solver's check of the new rules on the Finish page.
    bool checkFinished() const { return m_checkDone; }
    const engine::WinSample& checkSample() const { return m_sample; }
    QString checkText() const;
    // How many deals the check plays and the limits of each (tests shorten them).
    int checkDeals = 25;
    engine::SolverLimits checkLimits;

    QImage previewImage() const { return m_previewImage; }

public slots:
    void reject() override;

private:
    void buildUi();
    QWidget* buildStartPage();
    // The direction and suit choices of the foundations or the tableau ("Foundation", "Tableau" name
    // their buttons).
    QGroupBox* buildingGroup(const QString& title, const QString& kind, QButtonGroup*& direction, QButtonGroup*& suit);
    QWidget* buildFoundationsPage();
    QWidget* buildTableauPage();
    QWidget* buildStockPage();
    QWidget* buildRedealPage();
    QWidget* buildFinishPage();
    void showPage(int page);
    void presetFrom(const catalog::Rules& rules, int definitionEmptyRule);
    void applyAvailability();
    void updateDealsLabel();
    void schedulePreview();
    void renderPreview();
    void startCheckIfNeeded();
    void checkAnswered(const SolverAnswer& answer);
    void startCheckDeal();
    void updateCheckLabel();
    void finish();
    void stopCheck();

    engine::TMainGame& m_game;
    int m_currentId = -1; // the game on the table when the wizard opened
    int m_baseId = -1;
    catalog::Rules m_baseRules; // the base game as the definitions file has it
    catalog::CustomOptions m_available;
    std::function<bool(int id)> m_deleteGame;
    int m_savedId = -1;
    QString m_savedName;
    bool m_deleted = false;

    QStackedWidget* m_pages = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_delete = nullptr;
    QComboBox* m_baseBox = nullptr;
    QLabel* m_startText = nullptr;
    QButtonGroup* m_foundationDirection = nullptr;
    QButtonGroup* m_foundationSuit = nullptr;
    QButtonGroup* m_tableauDirection = nullptr;
    QButtonGroup* m_tableauSuit = nullptr;
    QButtonGroup* m_emptyPiles = nullptr;
    QLabel* m_foundationNote = nullptr;
    QLabel* m_tableauNote = nullptr;
    QSpinBox* m_cards = nullptr;
    QLabel* m_stockNote = nullptr;
    QButtonGroup* m_dealsMode = nullptr;
    QSpinBox* m_redeals = nullptr;
    QLabel* m_dealsInAll = nullptr;
    QLabel* m_redealNote = nullptr;
    QLineEdit* m_name = nullptr;
    QLabel* m_checkLabel = nullptr;

    // The preview: the first deal of the new rules drawn by a table widget that is never shown.
    TableWidget* m_previewTable = nullptr;
    QLabel* m_previewLabel = nullptr;
    QTableWidget* m_rulesTable = nullptr;
    QTimer* m_previewTimer = nullptr;
    engine::GameRules m_previewRules;
    engine::GameState m_previewState;
    QImage m_previewImage;

    // The check: one deal at a time on a worker thread; a new rule string starts it afresh.
    BackgroundSolver* m_checker = nullptr;
    std::string m_checkKey; // base id + rule string being (or last) checked
    catalog::Rules m_checkRules;
    engine::WinSample m_sample;
    bool m_checkDone = false;
};

} // namespace cw::ui
