// The modal message boxes of the window: information, confirmation, warning, the suppressible
// boxes and the hold dialog of the close query.
#pragma once

#include <QString>

#include <functional>

#include "engine/host.h"
#include "storage/messages.h"

class QWidget;

namespace cw::ui {

// Which box is asked (for the answering hook of tests).
enum class BoxKind { Information, Confirmation, Warning, Hold, Once };

// When set, boxes are not shown: the hook gets the kind and text and returns the answer: the
// index of the chosen button in the box's button order (information: 0 OK; confirmation: 0 OK,
// 1 Cancel; warning: 0 Yes, 1 No, 2 Cancel; hold: 0 exit and post a loss, 1 hold, 2 Cancel;
// once: 0 OK, 1 Cancel, +10 with "don't show again" ticked).
using BoxAnswerHook = std::function<int(BoxKind kind, const QString& text)>;
void setBoxAnswerHook(BoxAnswerHook hook);

// The engine writes line breaks as "\r".
QString boxText(const std::string& text);

// Information box with OK.
void informationBox(QWidget* parent, const QString& text);
// Confirmation box with OK and Cancel; true on OK.
bool confirmBox(QWidget* parent, const QString& text);
// Warning box with Yes, No and Cancel.
engine::WarningAnswer warningBox(QWidget* parent, const QString& text);
// Question with Yes and No (the answering hook sees BoxKind::Warning: 0 Yes, 1 No); true on Yes.
// `warning` shows the warning icon (a question that deletes something).
bool yesNoBox(QWidget* parent, const QString& text, bool warning = false);

// The hold dialog of the close query.
enum class HoldChoice { PostLoss, Hold, Cancel };
HoldChoice holdDialog(QWidget* parent);

// ShowMessageOnce and ConfirmOnce: boxes with the tick box "&Don't show this message box again".
class QtMessageBoxes : public storage::MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget* parent) : m_parent(parent) {}
    bool showInformation(const std::string& text, storage::IconPage page) override;
    Answer showConfirmation(const std::string& text, bool withCancel) override;
    void showFileError(const std::string& text) override;

private:
    QWidget* m_parent;
};

} // namespace cw::ui
