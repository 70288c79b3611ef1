// The card set wizard: create or modify, start from, the card set editor (a card at a time through the image
// editor) and saving the sheet as "Custom Card Sets/<name>.crs".
#pragma once

#include <QDialog>
#include <QImage>

#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTreeWidget;

namespace cw::engine {
class TMainGame;
}

namespace cw::ui {

class CardSetCanvas;
class ImageEditor;
class LookPreview;
class PictureLibrary;

class CardSetWizard : public QDialog {
    Q_OBJECT
public:
    enum class Page { Choose, StartFrom, PickSet, Editor, Save };

    CardSetWizard(engine::TMainGame& game, const PictureLibrary& library, QWidget* parent = nullptr);

    Page page() const { return m_page; }
    // The buttons: "&Next >" (or "&Finish" on the save page), "< &Back".
    void next();
    void back();

    // Page one: "Modify a customized Card Set" instead of "Create a new Card Set"; page two: "Choose a
    // Card Set to start from" instead of the default set.
    void setModify(bool on);
    void setChooseStart(bool on);
    // The step page: the set to start from (by its name in the tree) and, for the sets drawn by code,
    // the size.
    bool chooseStartSet(const QString& name);
    void setStartSize(char letter);

    // The card set editor: the 52 faces (hearts, diamonds, clubs, spades, Ace to King), their size.
    const std::vector<QImage>& faces() const { return m_faces; }
    char sizeLetter() const { return m_letter; }
    void setFace(int index, const QImage& face);
    // The card under a point of the editor's view (King at the left of each row); -1 in the gaps.
    int cardAt(QPoint viewPoint) const;
    QRect cardRect(int index) const;
    // A click on a card: the image editor in card mode for it.
    void editCard(int index);
    // The working sheet as it would be saved.
    QImage sheet() const;

    // The save page: the name field and "&Finish".
    void setName(const QString& name);
    bool finish();
    QString savedName() const { return m_savedName; }

    // Tests run the card's image editor themselves: the hook gets the editor (set up for the card) and
    // answers whether it closed with OK.
    using CardEditorHook = std::function<bool(ImageEditor&)>;
    static void setCardEditorHook(CardEditorHook hook);

private:
    void showPage(Page page);
    void startEditor();
    void fillSetTree();
    void updateSample();

    engine::TMainGame& m_game;
    const PictureLibrary& m_library;
    Page m_page = Page::Choose;
    std::vector<QImage> m_faces;
    char m_letter = 'B';
    QString m_modifying; // the player's set being modified (its name), or ""
    QString m_savedName;

    QStackedWidget* m_stack = nullptr;
    QRadioButton* m_create = nullptr;
    QRadioButton* m_modify = nullptr;
    QRadioButton* m_fromDefault = nullptr;
    QRadioButton* m_fromChosen = nullptr;
    QLabel* m_stepCaption = nullptr;
    QTreeWidget* m_sets = nullptr;
    QComboBox* m_startSize = nullptr;
    LookPreview* m_sample = nullptr;
    CardSetCanvas* m_canvas = nullptr;
    QLineEdit* m_name = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_cancel = nullptr;
};

// CreateCardSet: runs the wizard; the saved card set's name, or "".
QString createCardSet(engine::TMainGame& game, const PictureLibrary& library, QWidget* parent);

} // namespace cw::ui
