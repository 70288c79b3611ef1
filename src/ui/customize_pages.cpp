// The "Anima&tions" and " &Sounds " pages of "Customize", with the card effects preview.
#include "ui/customize_dialog.h"

#include "ui/card_art.h"
#include "ui/deck_art.h"
#include "ui/picture_library.h"
#include "ui/sounds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <random>

namespace cw::ui {

// The "Card effects preview ": the effect of the card-effect box last clicked, drawn with our own cards.
class EffectPreview : public QWidget {
public:
    EffectPreview(const PictureLibrary& library, QWidget* parent) : QWidget(parent), m_library(library)
    {
        setObjectName(QStringLiteral("imgEffectPreview"));
        setMinimumSize(170, 110);
        m_timer.setInterval(40);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
            m_step = (m_step + 1) % 100;
            update();
        });
    }

    // 0 shadows, 1 irregular piles, 2 animation; `on` as the box now stands.
    void showEffect(int which, bool on)
    {
        m_which = which;
        m_on = on;
        m_step = 0;
        // Of the two small animations only the one of the chosen setting plays.
        if (which == 2 && on)
            m_timer.start();
        else
            m_timer.stop();
        update();
    }
    int which() const { return m_which; }
    bool on() const { return m_on; }
    // The name of the picture that stands for the shown effect.
    QString pictureName() const
    {
        switch (m_which) {
        case 0: return m_on ? QStringLiteral("CARD_WITH_SHADOW") : QStringLiteral("CARD_WITHOUT_SHADOW");
        case 1: return m_on ? QStringLiteral("CARD_IRR_PILES_YES") : QStringLiteral("CARD_IRR_PILES_NO");
        default: return m_on ? QStringLiteral("CARD_ANIMATED_YES") : QStringLiteral("CARD_ANIMATED_NO");
        }
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (m_pictures.isEmpty() || m_pictures.devicePixelRatio() != devicePixelRatioF()) {
            m_pictures.loadBuiltIn(m_library, kDefaultCardSet, 'M', devicePixelRatioF());
            m_pictures.loadDeck(m_library, kDefaultDeck);
            m_pictures.loadExtras();
        }
        QPainter p(this);
        p.fillRect(rect(), QColor(0x1D, 0x6B, 0x35));
        const QSize card = m_pictures.cardSize();
        switch (m_which) {
        case 0: {
            const QPoint at(width() / 2 - card.width() / 2, height() / 2 - card.height() / 2);
            if (m_on)
                p.drawPixmap(at + QPoint(4, 4), m_pictures.shadow(1));
            p.drawPixmap(at, m_pictures.face(13));
            break;
        }
        case 1: {
            // A column of five cards, straight or with small sideways offsets.
            static const int offsets[] = {0, 3, -2, 2, -3};
            const int x = width() / 2 - card.width() / 2;
            for (int i = 0; i < 5; ++i)
                p.drawPixmap(QPoint(x + (m_on ? offsets[i] : 0), 6 + i * 12), m_pictures.face(13 - i));
            break;
        }
        default: {
            const int travel = std::max(0, width() - card.width() - 12);
            const int t = m_step < 50 ? m_step : 100 - m_step;
            const int x = 6 + (m_on ? travel * t / 50 : 0);
            p.drawPixmap(QPoint(width() - card.width() - 6, 8), m_pictures.back());
            p.drawPixmap(QPoint(x, 8), m_pictures.face(1));
            break;
        }
        }
    }

private:
    const PictureLibrary& m_library;
    CardPictures m_pictures;
    QTimer m_timer;
    int m_which = 0;
    bool m_on = true;
    int m_step = 0;
};

namespace {

struct SoundEvent {
    const char* group; // a new group starts where this is set
    const char* caption;
    const char* key;
    const char* sound;
};

// clang-format off
const SoundEvent kSoundEvents[] = {
    {"Actions", "New game", "Sounds_NewGame", "New"},
    {nullptr, "Redo", "Sounds_Redo", "Redo"},
    {nullptr, "Restart game", "Sounds_Restart", "Restart"},
    {nullptr, "Undo", "Sounds_Undo", "Undo"},
    {"Cards", "Automatic deal", "Sounds_Shuffle", "Shuffle"},
    {nullptr, "Autoplay move", "Sounds_Autoplay", "Autoplay"},
    {nullptr, "Card down", "Sounds_CardDown", "Card_down"},
    {nullptr, "Card up", "Sounds_CardUp", "Card_up"},
    {nullptr, "Deal a card from the stock", "Sounds_Stock", "Stock"},
    {nullptr, "Pairing cards", "Sounds_Pairing", "Pairing"},
    {nullptr, "Play a card to a foundation", "Sounds_Foundation", "Foundation"},
    {nullptr, "Play a card to the tableau", "Sounds_Tableau", "Tableau"},
    {nullptr, "Redeal with animation", "Sounds_Redeal", "Redeal"},
    {nullptr, "Redeal without animation", "Sounds_Redeal_Without_Animation", "red_no_a"},
    {nullptr, "Turn a card face up", "Sounds_FaceUp", "Face_up"},
    {"Dialog box", "About", "Sounds_About", "About"},
    {nullptr, "Hi-Scores", "Sounds_HiScores", "Hi-Scor"},
    {"System", "Enter Hi-Scores", "Sounds_NewHiScores", "Scores"},
    {nullptr, "Game won (applause)", "Sounds_GameWon", "Won"},
};

struct AnimationCheck {
    const char* caption;
    const char* key;
};
const AnimationCheck kAnimationChecks[] = {
    {"&Automatic face-up tableau cards", "Automatic_FaceUp"},
    {"&Redeal animation", "Redeal_Animation"},
    {"D&eal animation", "Deal_Animation"},
};
// clang-format on

constexpr int kKeyRole = Qt::UserRole;       // an event's preference key ("" for groups)
constexpr int kSoundRole = Qt::UserRole + 1; // the sound it plays
constexpr int kOnRole = Qt::UserRole + 2;    // enabled

} // namespace

QWidget* TfrmCustomize::buildAnimations()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("pageAnimations"));
    auto* grid = new QGridLayout(page);

    auto* speedBox = new QGroupBox(QStringLiteral("Card speed "), page);
    auto* speedLayout = new QHBoxLayout(speedBox);
    speedLayout->addWidget(new QLabel(QStringLiteral("Slow"), speedBox));
    m_speed = new QSlider(Qt::Horizontal, speedBox);
    m_speed->setObjectName(QStringLiteral("tbSpeed"));
    m_speed->setRange(1, 5);
    m_speed->setPageStep(1);
    m_speed->setTickPosition(QSlider::TicksBelow);
    m_speed->setTickInterval(1);
    speedLayout->addWidget(m_speed, 1);
    speedLayout->addWidget(new QLabel(QStringLiteral("Fast"), speedBox));
    grid->addWidget(speedBox, 0, 0);

    auto* animationsBox = new QGroupBox(QStringLiteral("Animations "), page);
    auto* animationsLayout = new QVBoxLayout(animationsBox);
    for (const AnimationCheck& a : kAnimationChecks) {
        auto* c = new QCheckBox(QString::fromLatin1(a.caption), animationsBox);
        c->setObjectName(QStringLiteral("chk") + QString::fromLatin1(a.key));
        animationsLayout->addWidget(c);
        m_checks.insert(QString::fromLatin1(a.key), c);
    }
    grid->addWidget(animationsBox, 1, 0);

    auto* effectsBox = new QGroupBox(QStringLiteral("Card effects "), page);
    auto* effectsLayout = new QVBoxLayout(effectsBox);
    m_shadowed = new QCheckBox(QStringLiteral("S&hadowed"), effectsBox);
    m_shadowed->setObjectName(QStringLiteral("chkCards_Shadowed"));
    m_irregular = new QCheckBox(QStringLiteral("&Irregular piles"), effectsBox);
    m_irregular->setObjectName(QStringLiteral("chkPiles_TT"));
    m_animated = new QCheckBox(QStringLiteral("A&nimated"), effectsBox);
    m_animated->setObjectName(QStringLiteral("chkCards_Animate"));
    effectsLayout->addWidget(m_shadowed);
    effectsLayout->addWidget(m_irregular);
    effectsLayout->addWidget(m_animated);
    grid->addWidget(effectsBox, 2, 0);

    auto* previewBox = new QGroupBox(QStringLiteral("Card effects preview "), page);
    auto* previewLayout = new QVBoxLayout(previewBox);
    m_effects = new EffectPreview(m_library, previewBox);
    previewLayout->addWidget(m_effects);
    grid->addWidget(previewBox, 0, 1, 2, 1);

    auto* winningBox = new QGroupBox(QStringLiteral("Winning animations "), page);
    auto* winningLayout = new QGridLayout(winningBox);
    m_winning = new QComboBox(winningBox);
    m_winning->setObjectName(QStringLiteral("cboWinningAnimations"));
    for (const std::string& name : storage::winningAnimationNames())
        m_winning->addItem(QString::fromStdString(name));
    winningLayout->addWidget(m_winning, 0, 0, 1, 3);
    auto* timeLabel = new QLabel(QStringLiteral("&Time:"), winningBox);
    m_winningTime = new QSpinBox(winningBox);
    m_winningTime->setObjectName(QStringLiteral("udTime"));
    m_winningTime->setRange(0, 990);
    m_winningTime->setSingleStep(10);
    timeLabel->setBuddy(m_winningTime);
    winningLayout->addWidget(timeLabel, 1, 0);
    winningLayout->addWidget(m_winningTime, 1, 1);
    winningLayout->addWidget(new QLabel(QStringLiteral("seconds"), winningBox), 1, 2);
    m_preview = new QPushButton(QStringLiteral("Pre&view"), winningBox);
    m_preview->setObjectName(QStringLiteral("btnPreview"));
    winningLayout->addWidget(m_preview, 2, 0, 1, 3);
    grid->addWidget(winningBox, 2, 1);
    grid->setRowStretch(3, 1);

    connect(m_shadowed, &QCheckBox::toggled, this, [this] { effectClicked(0); });
    connect(m_irregular, &QCheckBox::toggled, this, [this] {
        effectClicked(1);
        updateLook();
    });
    connect(m_animated, &QCheckBox::toggled, this, [this] { effectClicked(2); });
    connect(m_winning, &QComboBox::currentIndexChanged, this, &TfrmCustomize::winningChanged);
    connect(m_winningTime, &QSpinBox::editingFinished, this, [this] {
        // A time of "0" shows as "10".
        if (m_winningTime->value() == 0)
            m_winningTime->setValue(10);
    });
    connect(m_preview, &QPushButton::clicked, this, [this] { done(PreviewRequest); });
    return page;
}

void TfrmCustomize::loadAnimationControls()
{
    m_speed->setValue(storage::speedPosition(m_values.get("Speed_Move_Card")));
    for (const AnimationCheck& a : kAnimationChecks)
        m_checks.value(QString::fromLatin1(a.key))->setChecked(m_values.yes(a.key));
    const QSignalBlocker b1(m_shadowed), b2(m_irregular), b3(m_animated);
    m_shadowed->setChecked(m_values.yes("Cards_Shadowed"));
    m_irregular->setChecked(m_values.isY("Piles_TT"));
    m_animated->setChecked(m_values.yes("Cards_Animate"));
    m_effects->showEffect(0, m_shadowed->isChecked());
    m_winning->setCurrentText(
        QString::fromStdString(storage::winningAnimationName(m_values.get("Winning_Animations"))));
    int seconds = storage::winningAnimationSeconds(m_values.get("Winning_Animations_Time"));
    m_winningTime->setValue(seconds == 0 ? 10 : seconds);
    winningChanged();
}

void TfrmCustomize::collectAnimations(storage::Options& out) const
{
    out.set("Speed_Move_Card", storage::speedForPosition(m_speed->value()));
    for (const AnimationCheck& a : kAnimationChecks)
        out.setYesNo(a.key, m_checks.value(QString::fromLatin1(a.key))->isChecked());
    out.setYesNo("Cards_Shadowed", m_shadowed->isChecked());
    out.setYesNo("Piles_TT", m_irregular->isChecked());
    out.setYesNo("Cards_Animate", m_animated->isChecked());
    out.set("Winning_Animations", m_winning->currentText().toStdString());
    out.set("Winning_Animations_Time", std::to_string(m_winningTime->value()));
}

bool TfrmCustomize::piles() const { return m_irregular && m_irregular->isChecked(); }

void TfrmCustomize::effectClicked(int which)
{
    const QCheckBox* box = which == 0 ? m_shadowed : which == 1 ? m_irregular : m_animated;
    m_effects->showEffect(which, box->isChecked());
}

void TfrmCustomize::winningChanged()
{
    const bool none = m_winning->currentText() == QLatin1String("(None)");
    m_winningTime->setEnabled(!none);
    m_preview->setEnabled(!none);
}

QString TfrmCustomize::previewAnimation() const { return m_winning->currentText(); }

int TfrmCustomize::previewSeconds() const { return m_winningTime->value(); }

int TfrmCustomize::previewSpeed() const { return std::stoi(storage::speedForPosition(m_speed->value())); }

// ---- " &Sounds " ----

QWidget* TfrmCustomize::buildSounds()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("pageSounds"));
    auto* layout = new QVBoxLayout(page);
    m_soundsOff = new QCheckBox(QStringLiteral("&Disable all sounds"), page);
    m_soundsOff->setObjectName(QStringLiteral("chkDisableSounds"));
    layout->addWidget(m_soundsOff);
    layout->addWidget(new QLabel(QStringLiteral("Events:"), page));
    auto* row = new QHBoxLayout;
    m_events = new QTreeWidget(page);
    m_events->setObjectName(QStringLiteral("tvEvents"));
    m_events->setHeaderHidden(true);
    QTreeWidgetItem* group = nullptr;
    for (const SoundEvent& e : kSoundEvents) {
        if (e.group) {
            group = new QTreeWidgetItem(m_events, {QString::fromLatin1(e.group)});
            group->setData(0, kKeyRole, QString());
            group->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
        }
        auto* item = new QTreeWidgetItem(group, {QString::fromLatin1(e.caption)});
        item->setData(0, kKeyRole, QString::fromLatin1(e.key));
        item->setData(0, kSoundRole, QString::fromLatin1(e.sound));
    }
    m_events->expandAll();
    row->addWidget(m_events, 1);
    auto* buttons = new QVBoxLayout;
    m_disableSound = new QPushButton(QStringLiteral("D&isable this sound"), page);
    m_disableSound->setObjectName(QStringLiteral("btnDisableSound"));
    m_enableSound = new QPushButton(QStringLiteral("E&nable this sound"), page);
    m_enableSound->setObjectName(QStringLiteral("btnEnableSound"));
    m_play = new QPushButton(style()->standardIcon(QStyle::SP_MediaPlay), QString(), page);
    m_play->setObjectName(QStringLiteral("btnPlay"));
    m_play->setToolTip(QStringLiteral("Play"));
    m_stop = new QPushButton(style()->standardIcon(QStyle::SP_MediaStop), QString(), page);
    m_stop->setObjectName(QStringLiteral("btnStop"));
    m_stop->setToolTip(QStringLiteral("Stop"));
    buttons->addWidget(m_disableSound);
    buttons->addWidget(m_enableSound);
    auto* playRow = new QHBoxLayout;
    playRow->addWidget(m_play);
    playRow->addWidget(m_stop);
    buttons->addLayout(playRow);
    buttons->addStretch();
    row->addLayout(buttons);
    layout->addLayout(row, 1);

    connect(m_events, &QTreeWidget::currentItemChanged, this, &TfrmCustomize::refreshSoundButtons);
    connect(m_disableSound, &QPushButton::clicked, this, [this] { setEventEnabled(m_events->currentItem(), false); });
    connect(m_enableSound, &QPushButton::clicked, this, [this] { setEventEnabled(m_events->currentItem(), true); });
    connect(m_play, &QPushButton::clicked, this, &TfrmCustomize::playSelected);
    connect(m_stop, &QPushButton::clicked, this, [this] {
        if (m_player)
            m_player->stop();
    });
    connect(m_soundsOff, &QCheckBox::toggled, this, [this](bool off) {
        // Every event follows the switch, whatever was chosen before.
        m_events->setEnabled(!off);
        for (QTreeWidgetItemIterator it(m_events); *it; ++it)
            if (!(*it)->data(0, kKeyRole).toString().isEmpty())
                setEventEnabled(*it, !off);
        refreshSoundButtons();
    });
    return page;
}

void TfrmCustomize::loadSoundControls()
{
    const QSignalBlocker block(m_soundsOff);
    const bool off = m_values.get("Sounds_Enabled") != "Y";
    m_soundsOff->setChecked(off);
    m_events->setEnabled(!off);
    for (QTreeWidgetItemIterator it(m_events); *it; ++it) {
        const QString key = (*it)->data(0, kKeyRole).toString();
        if (!key.isEmpty())
            setEventEnabled(*it, m_values.get(key.toStdString()) == "Y");
    }
    refreshSoundButtons();
}

void TfrmCustomize::collectSounds(storage::Options& out) const
{
    out.setYesNo("Sounds_Enabled", !m_soundsOff->isChecked());
    for (QTreeWidgetItemIterator it(m_events); *it; ++it) {
        const QString key = (*it)->data(0, kKeyRole).toString();
        if (!key.isEmpty())
            out.setYesNo(key.toStdString(), (*it)->data(0, kOnRole).toBool());
    }
}

void TfrmCustomize::setEventEnabled(QTreeWidgetItem* item, bool on)
{
    if (!item || item->data(0, kKeyRole).toString().isEmpty())
        return;
    item->setData(0, kOnRole, on);
    item->setIcon(0, style()->standardIcon(on ? QStyle::SP_MediaVolume : QStyle::SP_MediaVolumeMuted));
    if (item == m_events->currentItem())
        refreshSoundButtons();
}

void TfrmCustomize::refreshSoundButtons()
{
    const QTreeWidgetItem* item = m_events->currentItem();
    const bool event = item && !item->data(0, kKeyRole).toString().isEmpty() && m_events->isEnabled();
    const bool on = event && item->data(0, kOnRole).toBool();
    // Only the button that changes something is enabled.
    m_disableSound->setEnabled(event && on);
    m_enableSound->setEnabled(event && !on);
    m_play->setVisible(event);
    m_stop->setVisible(event);
}

void TfrmCustomize::playSelected()
{
    const QTreeWidgetItem* item = m_events->currentItem();
    if (!item)
        return;
    if (!m_player)
        m_player = std::make_unique<SoundPlayer>(m_library);
    m_player->play(item->data(0, kSoundRole).toString());
}

} // namespace cw::ui
