// The image editor: crops a card-sized picture out of any image, as a deck ("Customize deck") or as one card
// of a card set being made ("Customize card").
#pragma once

#include <QDialog>
#include <QImage>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace cw::engine {
class TMainGame;
}
namespace cw::storage {
class IniFile;
}

namespace cw::ui {

class CropCanvas;

class ImageEditor : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Deck, Card };

    // dataFolder: where decks are saved ("Custom Decks"); settings: the "Dir_Save_Custom_Decks" choice.
    ImageEditor(Mode mode, const QString& dataFolder, storage::IniFile* settings, QWidget* parent = nullptr);

    // Card mode: the card being edited (its picture shows until an image is loaded), its set's size.
    void setCard(const QImage& card, char sizeLetter, int index);
    int cardIndex() const { return m_cardIndex; }

    // Loads a picture file ("  Load...  " after the file dialog) or takes a picture ("Paste"). A picture
    // that cannot be used is reported in a box and nothing changes; false then.
    bool loadFile(const QString& path);
    bool setImage(const QImage& image);
    void paste();

    // The controls, as the player works them.
    void setZoomText(const QString& text); // "25%" ... "400%" or a typed percentage
    QString zoomText() const;
    void setFramePosition(QPoint topLeft); // view coordinates, kept inside the view
    QPoint framePosition() const;
    void setBorder(bool on);         // on: the size's border picture round the image
    void setSizeLetter(char letter); // 'B', 'M', 'S', 'X'
    char sizeLetter() const { return m_letter; }
    bool tileOffered() const;
    void setTile(bool on);
    void setDeckName(const QString& name);

    // The card as it will be saved.
    QImage preview() const { return m_preview; }
    QImage loadedImage() const { return m_image; }
    QSize viewSize() const;

    // Deck mode: "Save" (true when the file was written); the saved name and path.
    bool saveDeck();
    QString savedName() const { return m_savedName; }
    QString savedPath() const { return m_savedPath; }

    void accept() override;

private:
    void chooseFile();
    void zoomEdited();
    void updatePreview();
    void imageReady();
    void frameMoved(QPoint topLeft);

    Mode m_mode;
    QString m_dataFolder;
    storage::IniFile* m_settings;
    QImage m_file;  // the picture as loaded (Tile works on a copy)
    QImage m_image; // what the view shows, before the zoom
    QImage m_preview;
    QString m_path;
    QString m_savedName;
    QString m_savedPath;
    char m_letter = 'B';
    int m_zoom = 100;
    int m_cardIndex = -1;
    bool m_border = true;
    bool m_loaded = false;

    CropCanvas* m_canvas = nullptr;
    QScrollArea* m_scroll = nullptr;
    QComboBox* m_zoomBox = nullptr;
    QCheckBox* m_tile = nullptr;
    QCheckBox* m_noBorder = nullptr;
    QComboBox* m_sizeBox = nullptr;
    QLabel* m_previewLabel = nullptr;
    QLineEdit* m_name = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_save = nullptr;
};

// EditDeck: asks for a picture file and runs the editor in deck mode; the saved deck's name, or "".
QString editDeck(engine::TMainGame& game, QWidget* parent);

// The filter of the picture file dialogs: every format Qt can read, JPEG and BMP first.
QString pictureFileFilter();

} // namespace cw::ui
