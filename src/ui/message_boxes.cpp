// The modal message boxes of the window: information, confirmation, warning, the suppressible
// boxes and the hold dialog of the close query.
#include "ui/message_boxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

#include "ui/dialog_base.h"

namespace cw::ui {

namespace {

BoxAnswerHook& hook()
{
    static BoxAnswerHook h;
    return h;
}

const QString kProductCaption = QStringLiteral("Cardwise 2002");

QWidget* ownerOf(QWidget* parent) { return parent ? parent : QApplication::activeWindow(); }

// Runs a box whose buttons were added in the order the answer index counts them.
int runBox(QMessageBox& box, const QList<QAbstractButton*>& order)
{
    applyDialogFont(&box);
    box.exec();
    const int i = static_cast<int>(order.indexOf(box.clickedButton()));
    return i < 0 ? static_cast<int>(order.size()) - 1 : i; // closed by Esc or the title bar: the last (Cancel)
}

} // namespace

void setBoxAnswerHook(BoxAnswerHook h) { hook() = std::move(h); }

QString boxText(const std::string& text)
{
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

void informationBox(QWidget* parent, const QString& text)
{
    if (hook()) {
        hook()(BoxKind::Information, text);
        return;
    }
    QMessageBox box(QMessageBox::Information, kProductCaption, text, QMessageBox::NoButton, ownerOf(parent));
    QAbstractButton* ok = box.addButton(QMessageBox::Ok);
    runBox(box, {ok});
}

bool confirmBox(QWidget* parent, const QString& text)
{
    if (hook())
        return hook()(BoxKind::Confirmation, text) == 0;
    QMessageBox box(QMessageBox::Question, kProductCaption, text, QMessageBox::NoButton, ownerOf(parent));
    QAbstractButton* ok = box.addButton(QMessageBox::Ok);
    QAbstractButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(static_cast<QPushButton*>(ok));
    return runBox(box, {ok, cancel}) == 0;
}

bool yesNoBox(QWidget* parent, const QString& text, bool warning)
{
    if (hook())
        return hook()(BoxKind::Warning, text) == 0;
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Question, kProductCaption, text,
                    QMessageBox::NoButton, ownerOf(parent));
    QAbstractButton* yes = box.addButton(QMessageBox::Yes);
    QAbstractButton* no = box.addButton(QMessageBox::No);
    box.setDefaultButton(static_cast<QPushButton*>(warning ? no : yes));
    return runBox(box, {yes, no}) == 0;
}

engine::WarningAnswer warningBox(QWidget* parent, const QString& text)
{
    int answer = 2;
    if (hook()) {
        answer = hook()(BoxKind::Warning, text);
    } else {
        QMessageBox box(QMessageBox::Warning, kProductCaption, text, QMessageBox::NoButton, ownerOf(parent));
        QAbstractButton* yes = box.addButton(QMessageBox::Yes);
        QAbstractButton* no = box.addButton(QMessageBox::No);
        QAbstractButton* cancel = box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(static_cast<QPushButton*>(yes));
        answer = runBox(box, {yes, no, cancel});
    }
    switch (answer) {
    case 0: return engine::WarningAnswer::Yes;
    case 1: return engine::WarningAnswer::No;
    default: return engine::WarningAnswer::Cancel;
    }
}

HoldChoice holdDialog(QWidget* parent)
{
    const QString text = QStringLiteral("The current game is unfinished.\n\n"
                                        "Do you want to exit or \"hold\" this game to play it later?\n\n"
                                        "If you \"hold\" the current game you can exit without affecting statistics.");
    int answer = 2;
    if (hook()) {
        answer = hook()(BoxKind::Hold, text);
    } else {
        QMessageBox box(QMessageBox::Question, kProductCaption, text, QMessageBox::NoButton, ownerOf(parent));
        QPushButton* loss = box.addButton(QStringLiteral("&Exit and post a loss"), QMessageBox::DestructiveRole);
        QPushButton* hold = box.addButton(QStringLiteral(" &Hold the game and exit"), QMessageBox::AcceptRole);
        QAbstractButton* cancel = box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(hold);
        box.setEscapeButton(cancel);
        answer = runBox(box, {loss, hold, cancel});
    }
    switch (answer) {
    case 0: return HoldChoice::PostLoss;
    case 1: return HoldChoice::Hold;
    default: return HoldChoice::Cancel;
    }
}

bool QtMessageBoxes::showInformation(const std::string& text, storage::IconPage)
{
    const QString t = boxText(text);
    if (hook())
        return hook()(BoxKind::Once, t) >= 10;
    QMessageBox box(QMessageBox::Information, QString::fromLatin1(storage::kMessageBoxCaption), t,
                    QMessageBox::NoButton, ownerOf(m_parent));
    QAbstractButton* ok = box.addButton(QMessageBox::Ok);
    auto* tick = new QCheckBox(QString::fromLatin1(storage::kDontShowAgainText), &box);
    box.setCheckBox(tick);
    runBox(box, {ok});
    return tick->isChecked();
}

storage::MessageBoxes::Answer QtMessageBoxes::showConfirmation(const std::string& text, bool withCancel)
{
    const QString t = boxText(text);
    if (hook()) {
        const int a = hook()(BoxKind::Once, t);
        return {a % 10 == 0 || !withCancel, a >= 10};
    }
    QMessageBox box(QMessageBox::Information, QString::fromLatin1(storage::kMessageBoxCaption), t,
                    QMessageBox::NoButton, ownerOf(m_parent));
    QAbstractButton* ok = box.addButton(QMessageBox::Ok);
    QList<QAbstractButton*> order{ok};
    if (withCancel)
        order.append(box.addButton(QMessageBox::Cancel));
    auto* tick = new QCheckBox(QString::fromLatin1(storage::kDontShowAgainText), &box);
    box.setCheckBox(tick);
    const int a = runBox(box, order);
    return {a == 0 || !withCancel, tick->isChecked()};
}

void QtMessageBoxes::showFileError(const std::string& text)
{
    informationBox(m_parent, boxText(text));
}

} // namespace cw::ui
