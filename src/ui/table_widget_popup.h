// The table pop-up's picture commands: "Change card set", "Change deck" and "Change background" sub-menus.
#pragma once

#include <QObject>

#include <functional>
#include <string>

class QMenu;

namespace cw::engine {
class TMainGame;
}
namespace cw::storage {
struct Field;
}

namespace cw::ui {

class PictureLibrary;
class TfrmMain;
struct TableSettings;

// Lists what the picture library can draw, applies a choice at once and stores it in the
// settings ("Card", "Back_Card", "Background_def" and "Background_bmp").
class PictureChoiceCommands : public QObject {
    Q_OBJECT
public:
    PictureChoiceCommands(TfrmMain& window, engine::TMainGame& game, const PictureLibrary& library);

    void chooseCardSet(int number);
    void chooseDeck(int number);
    // 0: the default green table.
    void chooseBackground(int number);

    QMenu* cardSetMenu() const { return m_cardSets; }
    QMenu* deckMenu() const { return m_decks; }
    QMenu* backgroundMenu() const { return m_backgrounds; }

private:
    void fill();
    void markCurrent();
    // The value into the settings store and the settings file.
    void store(const storage::Field& field, const char* key, const std::string& value);
    // The table shows the changed settings at once.
    void applyToTable(const std::function<void(TableSettings&)>& change);

    TfrmMain& m_window;
    engine::TMainGame& m_game;
    const PictureLibrary& m_library;
    QMenu* m_cardSets = nullptr;
    QMenu* m_decks = nullptr;
    QMenu* m_backgrounds = nullptr;
};

PictureChoiceCommands* installPictureChoiceCommands(TfrmMain& window, engine::TMainGame& game,
                                                    const PictureLibrary& library);

} // namespace cw::ui
