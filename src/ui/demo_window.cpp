// TfrmDemo: the "Game Demo" window's controls, its greyed state while paused and its stored position.
#include "ui/demo_window.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "storage/ini_file.h"
#include "storage/preferences.h"
#include "ui/dialog_base.h"

namespace cw::ui {

namespace {

constexpr const char* kLeftKey = "Tutor_Demo_Form_Left";
constexpr const char* kTopKey = "Tutor_Demo_Form_Top";

QToolButton* toolButton(QWidget* parent, const QString& name, const QString& text, QStyle::StandardPixmap icon,
                        bool checkable)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setCheckable(checkable);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

TfrmDemo::TfrmDemo(storage::IniFile* settingsFile, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_settingsFile(settingsFile)
{
    setObjectName(QStringLiteral("frmDemo"));
    setWindowTitle(QStringLiteral("Game Demo"));
    setModal(false);
    // The keys stay with the game window (M, F2, Ctrl+Z) when the demo window comes up.
    setAttribute(Qt::WA_ShowWithoutActivating);
    applyDialogFont(this);

    m_play = toolButton(this, QStringLiteral("tbPlay"), QStringLiteral("Play"), QStyle::SP_MediaPlay, true);
    m_pause = toolButton(this, QStringLiteral("tbPause"), QStringLiteral("Pause"), QStyle::SP_MediaPause, true);
    m_stop = toolButton(this, QStringLiteral("tbStop"), QStringLiteral("Stop"), QStyle::SP_MediaStop, false);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    buttons->addWidget(m_play);
    buttons->addWidget(m_pause);
    buttons->addWidget(m_stop);
    buttons->addStretch(1);

    m_moveCaption = new QLabel(QStringLiteral("Move number:"), this);
    m_moveNumber = new QLabel(QStringLiteral("0"), this);
    m_moveNumber->setObjectName(QStringLiteral("lblMoveNumber"));
    m_descriptionCaption = new QLabel(QStringLiteral("Description:"), this);
    m_description = new QLabel(this);
    m_description->setObjectName(QStringLiteral("lblDescription"));
    m_description->setWordWrap(true);
    m_description->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 36);
    // Two lines of room: the longer descriptions of the solver's moves do not make the window jump.
    m_description->setMinimumHeight(fontMetrics().lineSpacing() * 2);
    m_description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont bold = m_moveNumber->font();
    bold.setBold(true);
    m_moveNumber->setFont(bold);
    auto* grid = new QGridLayout;
    grid->addWidget(m_moveCaption, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(m_moveNumber, 0, 1, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(m_descriptionCaption, 1, 0, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(m_description, 1, 1);
    grid->setColumnStretch(1, 1);

    m_close = new QPushButton(QStringLiteral("Close"), this);
    m_close->setObjectName(QStringLiteral("btnClose"));
    m_close->setAutoDefault(false);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(m_close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addLayout(grid);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // A click on "Play" that is already down leaves it down (it does not stop the demo).
    connect(m_play, &QToolButton::clicked, this, [this](bool) {
        m_play->setChecked(true);
        emit playClicked();
    });
    connect(m_pause, &QToolButton::clicked, this, [this](bool down) { emit pauseToggled(down); });
    connect(m_stop, &QToolButton::clicked, this, [this] { emit stopClicked(); });
    connect(m_close, &QPushButton::clicked, this, &TfrmDemo::reject);
}

void TfrmDemo::setMoveCount(int count) { m_moveNumber->setText(QString::number(count)); }

void TfrmDemo::setDescription(const QString& text) { m_description->setText(text); }

void TfrmDemo::setPlayDown(bool down) { m_play->setChecked(down); }

void TfrmDemo::setPauseDown(bool down) { m_pause->setChecked(down); }

void TfrmDemo::setGreyed(bool greyed)
{
    for (QLabel* l : {m_moveCaption, m_moveNumber, m_descriptionCaption, m_description})
        l->setEnabled(!greyed);
}

QString TfrmDemo::moveCountText() const { return m_moveNumber->text(); }

QString TfrmDemo::description() const { return m_description->text(); }

bool TfrmDemo::playDown() const { return m_play->isChecked(); }

bool TfrmDemo::pauseDown() const { return m_pause->isChecked(); }

void TfrmDemo::showAtStoredPosition()
{
    if (!m_placed) {
        m_placed = true;
        adjustSize();
        QPoint at;
        bool stored = false;
        if (m_settingsFile) {
            const int left = m_settingsFile->readInteger(storage::kSettingsSection, kLeftKey, -32000);
            const int top = m_settingsFile->readInteger(storage::kSettingsSection, kTopKey, -32000);
            at = QPoint(left, top);
            // A position left from another screen set-up must still show the window.
            stored = left != -32000 && top != -32000 && QGuiApplication::screenAt(at + QPoint(20, 10)) != nullptr;
        }
        if (!stored && parentWidget()) {
            // The bottom-right corner of the game window, where the table is emptiest: the piles
            // start at the top and fan downwards from the left.
            const QRect g = parentWidget()->frameGeometry();
            at = QPoint(g.right() - width() - 40, g.bottom() - height() - 70);
        }
        move(at);
    }
    show();
    raise();
}

void TfrmDemo::storePosition()
{
    if (!m_settingsFile || !m_placed)
        return;
    const QPoint at = pos();
    if (m_settingsFile->readInteger(storage::kSettingsSection, kLeftKey, -32000) != at.x())
        m_settingsFile->writeInteger(storage::kSettingsSection, kLeftKey, at.x());
    if (m_settingsFile->readInteger(storage::kSettingsSection, kTopKey, -32000) != at.y())
        m_settingsFile->writeInteger(storage::kSettingsSection, kTopKey, at.y());
}

// Close, Esc and the title bar's close button all end here.
void TfrmDemo::reject()
{
    storePosition();
    QDialog::reject();
    emit closed();
}

} // namespace cw::ui
