// "Customize": the options dialog with its six pages, working on a copy of the preferences until "OK".
#pragma once

#include <QDialog>

#include <QHash>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "storage/options.h"
#include "storage/random_look.h"
#include "ui/look_settings.h"

class QCheckBox;
class QComboBox;
class QSlider;
class QSpinBox;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QPushButton;

namespace cw::engine {
class TMainGame;
}

namespace cw::ui {

class LookPage;
class PictureLibrary;
class SoundPlayer;
class EffectPreview;

// The pages in tab order; the entry points open the first four.
enum class CustomizePage { General = 0, Cards = 1, Decks = 2, Backgrounds = 3, Animations = 4, Sounds = 5 };

// What the dialog needs from the window besides the settings.
struct CustomizeHooks {
    // Shows a look on the table ("Appl&y", and "Cancel" putting the old look back).
    std::function<void(const LookChoice&)> showLook;
    // Opens the "Clear values" dialog over the given parent ("Advanced options", "&Statistics").
    std::function<void(QWidget*)> clearValues;
};

class TfrmCustomize : public QDialog {
    Q_OBJECT
public:
    // exec() answers this when "Pre&view" closed the dialog; the caller runs the winning animation with
    // previewAnimation() and previewSeconds() at previewSpeed(), then calls exec() again.
    static constexpr int PreviewRequest = 2;

    TfrmCustomize(engine::TMainGame& game, const PictureLibrary& library, CustomizeHooks hooks,
                  CustomizePage first = CustomizePage::General, QWidget* parent = nullptr);
    ~TfrmCustomize() override;

    // The working copy with every control's value in it.
    storage::Options values() const;
    // The copy the dialog opened with.
    const storage::Options& storedValues() const { return m_stored; }
    // The look the look pages show now.
    LookChoice chosenLook() const;

    QString previewAnimation() const;
    int previewSeconds() const;
    int previewSpeed() const;

    // After "OK": the values were written; these tell the caller what else to do.
    bool exitRequested() const { return m_exitRequested; } // "Store Folder" changed: close the program

    QTabWidget* pages() const { return m_pages; }
    LookPage* lookPage(CustomizePage page) const;
    // "A&dvanced..." as the dialog runs it; tests call openAdvanced() with a hook that edits the copy.
    void openAdvanced();
    void setAdvancedHook(std::function<void(storage::Options&, bool& exitRequested)> hook)
    {
        m_advancedHook = std::move(hook);
    }
    // The per-game autoplay choices "OK" will write (built-in ids and custom ids from 8000).
    void setAutoplayGames(std::vector<std::pair<int, bool>> choices) { m_autoplayGames = std::move(choices); }

    void accept() override;
    void reject() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildGeneral();
    QWidget* buildAnimations();
    QWidget* buildSounds();
    void loadControls();
    void loadAnimationControls();
    void loadSoundControls();
    void collect(storage::Options& out) const;
    void collectAnimations(storage::Options& out) const;
    void collectSounds(storage::Options& out) const;
    bool piles() const;
    void apply();
    // OK: the checks, then every value written. False when the dialog must stay open.
    bool store();
    void restoreLook();
    void refreshSoundButtons();
    void setEventEnabled(QTreeWidgetItem* item, bool on);
    void playSelected();
    void effectClicked(int which);
    void winningChanged();
    void updateLook();

    engine::TMainGame& m_game;
    const PictureLibrary& m_library;
    CustomizeHooks m_hooks;
    CustomizePage m_first;
    storage::Options m_stored;
    storage::Options m_values; // the copy; the controls' values are collected into it
    storage::RandomLists m_random;
    // The look columns as the dialog found them, put back by "Cancel" after "Appl&y".
    LookChoice m_openedLook;
    std::vector<std::pair<storage::Field, std::string>> m_openedColumns;
    // "Advanced options": the per-game autoplay choices, when its list was shown and confirmed.
    std::optional<std::vector<std::pair<int, bool>>> m_autoplayGames;
    bool m_applied = false;
    bool m_shownOnce = false;
    bool m_exitRequested = false;
    bool m_finished = false;
    std::function<void(storage::Options&, bool&)> m_advancedHook;
    QStringList m_damaged;

    QTabWidget* m_pages = nullptr;
    LookPage* m_cards = nullptr;
    LookPage* m_decks = nullptr;
    LookPage* m_backgrounds = nullptr;
    // "&General"
    QHash<QString, QCheckBox*> m_checks; // by preference key
    // "Anima&tions"
    QSlider* m_speed = nullptr;
    QComboBox* m_winning = nullptr;
    QSpinBox* m_winningTime = nullptr;
    QPushButton* m_preview = nullptr;
    QCheckBox* m_shadowed = nullptr;
    QCheckBox* m_irregular = nullptr;
    QCheckBox* m_animated = nullptr;
    EffectPreview* m_effects = nullptr;
    // " &Sounds "
    QCheckBox* m_soundsOff = nullptr;
    QTreeWidget* m_events = nullptr;
    QPushButton* m_disableSound = nullptr;
    QPushButton* m_enableSound = nullptr;
    QPushButton* m_play = nullptr;
    QPushButton* m_stop = nullptr;
    std::unique_ptr<SoundPlayer> m_player;
};

} // namespace cw::ui
