// "Advanced options": undo, dialog boxes, highlights, autoplay, hold and exit, statistics, the store folder,
// card movement and pointers, on the copy of the "Customize" dialog.
#include "ui/advanced_options_dialog.h"

#include "engine/game_object.h"
#include "storage/fixed_width.h"
#include "storage/folders.h"
#include "storage/ini_file.h"
#include "ui/dialog_base.h"
#include "ui/message_boxes.h"
#include "ui/pile_markers.h"
#include "ui/pointers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace cw::ui {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

const QStringList kMarkNames = {QStringLiteral("None"),     QStringLiteral("Dots"),  QStringLiteral("Solid"),
                                QStringLiteral("Diagonal"), QStringLiteral("Cross"), QStringLiteral("Diagonal Cross")};
const QStringList kColourNames = {
    QStringLiteral("Black"),        QStringLiteral("Blue"),      QStringLiteral("Turquoise"),
    QStringLiteral("Bright Green"), QStringLiteral("Pink"),      QStringLiteral("Red"),
    QStringLiteral("Yellow"),       QStringLiteral("Dark Blue"), QStringLiteral("Teal"),
    QStringLiteral("Green"),        QStringLiteral("Violet"),    QStringLiteral("Dark Red"),
    QStringLiteral("Dark Yellow"),  QStringLiteral("Maroon"),    QStringLiteral("Silver")};

QWidget* pageWith(QWidget* parent, const QString& caption, QWidget* box)
{
    auto* page = new QWidget(parent);
    auto* l = new QVBoxLayout(page);
    if (!caption.isEmpty())
        l->addWidget(new QLabel(caption, page));
    l->addWidget(box);
    l->addStretch();
    return page;
}

} // namespace

const std::vector<const char*>& advancedOptionKeys()
{
    static const std::vector<const char*> keys = {
        "Undo_Enabled",
        "ConfirmQuit",
        "ConfirmQuitGame",
        "ConfirmEnterHiScores",
        "Tips_StartUp",
        "HighLights_Foundations_Mark",
        "HighLights_Foundations_Color",
        "AutoPlay_All_Games",
        "ConfirmSaveAndExit",
        "ConfirmSaveAndExitType",
        "Disable_Statistics",
        "Move_Cards_DragAndDrop",
        "Cursor",
    };
    return keys;
}

AdvancedOptionsDialog::AdvancedOptionsDialog(engine::TMainGame& game, const storage::Options& values,
                                             std::function<void(QWidget*)> clearValues, QWidget* parent)
    : QDialog(parent), m_game(game), m_values(values), m_clearValues(std::move(clearValues))
{
    setObjectName(QStringLiteral("C_TAdvancedForm"));
    setWindowTitle(QStringLiteral("Advanced options"));
    applyDialogFont(this);
    auto* top = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    top->addWidget(m_pages, 1);
    m_pages->addTab(buildUndo(), QStringLiteral("&Undo and Redo"));
    m_pages->addTab(buildDialogBoxes(), QStringLiteral("&Dialog box"));
    m_pages->addTab(buildHighlights(), QStringLiteral("H&ighlights"));
    m_pages->addTab(buildAutoplay(), QStringLiteral("&Autoplay"));
    m_pages->addTab(buildHoldAndExit(), QStringLiteral("&Hold and exit"));
    m_pages->addTab(buildStatistics(), QStringLiteral("&Statistics"));
    m_pages->addTab(buildStoreFolder(), QStringLiteral("Store Folder"));
    m_pages->addTab(buildAccessibility(), QStringLiteral("Accessibilit&y"));
    m_pages->addTab(buildPointers(), QStringLiteral("&Pointers"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    top->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &AdvancedOptionsDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget* AdvancedOptionsDialog::buildUndo()
{
    auto* box = new QGroupBox(QStringLiteral("Undo/Redo options "), this);
    auto* l = new QVBoxLayout(box);
    m_undo = new QButtonGroup(this);
    const QStringList captions = {QStringLiteral("U&nlimited levels"), QStringLiteral("Only one &undo/redo"),
                                  QStringLiteral("Di&sable")};
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(captions[i], box);
        r->setObjectName(QStringLiteral("rbUndo%1").arg(i));
        m_undo->addButton(r, i);
        l->addWidget(r);
    }
    m_undo->button(storage::undoChoice(m_values.get("Undo_Enabled")))->setChecked(true);
    return pageWith(this, QStringLiteral("Set the level of the Undo/Redo option:"), box);
}

QWidget* AdvancedOptionsDialog::buildDialogBoxes()
{
    auto* box = new QGroupBox(QStringLiteral("Dialog box list "), this);
    auto* l = new QVBoxLayout(box);
    const auto check = [&](const QString& caption, const char* key) {
        auto* c = new QCheckBox(caption, box);
        c->setObjectName(QStringLiteral("chk") + QString::fromLatin1(key));
        c->setChecked(m_values.yes(key));
        l->addWidget(c);
        return c;
    };
    m_confirmQuit = check(QStringLiteral("Confirm on e&xit"), "ConfirmQuit");
    m_confirmQuitGame = check(QStringLiteral("C&onfirm quit game"), "ConfirmQuitGame");
    m_enterHiScores = check(QStringLiteral("Enter &Hi-Scores"), "ConfirmEnterHiScores");
    m_tips = check(QStringLiteral("Sho&w the Tip of the Day at startup"), "Tips_StartUp");
    return pageWith(this, QStringLiteral("Select the dialog box you want to display:"), box);
}

QWidget* AdvancedOptionsDialog::buildHighlights()
{
    auto* box = new QGroupBox(QStringLiteral("Foundation completed"), this);
    auto* l = new QGridLayout(box);
    m_mark = new QComboBox(box);
    m_mark->setObjectName(QStringLiteral("cboMark"));
    m_markColour = new QComboBox(box);
    m_markColour->setObjectName(QStringLiteral("cboMarkColor"));
    const qreal dpr = devicePixelRatioF();
    m_mark->setIconSize(QSize(24, 16));
    for (int i = 0; i < kMarkNames.size(); ++i) {
        QImage swatch((QSizeF(24, 16) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
        swatch.setDevicePixelRatio(dpr);
        swatch.fill(Qt::white);
        const QImage mark = renderFoundationMark(i, 0, QSize(24, 16), dpr);
        if (!mark.isNull()) {
            QPainter p(&swatch);
            p.drawImage(QPointF(0, 0), mark);
        }
        m_mark->addItem(QIcon(QPixmap::fromImage(swatch)), kMarkNames[i]);
    }
    for (int i = 0; i < kColourNames.size(); ++i) {
        QPixmap swatch(16, 16);
        swatch.fill(foundationMarkColour(i));
        m_markColour->addItem(QIcon(swatch), kColourNames[i]);
    }
    auto* markLabel = new QLabel(QStringLiteral("&Mark:"), box);
    markLabel->setBuddy(m_mark);
    auto* colourLabel = new QLabel(QStringLiteral("&Color: "), box);
    colourLabel->setBuddy(m_markColour);
    l->addWidget(markLabel, 0, 0);
    l->addWidget(m_mark, 0, 1);
    l->addWidget(colourLabel, 1, 0);
    l->addWidget(m_markColour, 1, 1);
    auto* previewBox = new QGroupBox(QStringLiteral("Preview "), box);
    auto* pl = new QVBoxLayout(previewBox);
    m_markPreview = new QLabel(previewBox);
    m_markPreview->setObjectName(QStringLiteral("imgMarkPreview"));
    m_markPreview->setMinimumSize(80, 104);
    m_markPreview->setAlignment(Qt::AlignCenter);
    pl->addWidget(m_markPreview);
    l->addWidget(previewBox, 0, 2, 3, 1);
    m_mark->setCurrentIndex(storage::boundedInteger(m_values.get("HighLights_Foundations_Mark"), 0, 5, 0));
    m_markColour->setCurrentIndex(storage::boundedInteger(m_values.get("HighLights_Foundations_Color"), 0, 14, 0));
    connect(m_mark, &QComboBox::currentIndexChanged, this, &AdvancedOptionsDialog::updateMarkPreview);
    connect(m_markColour, &QComboBox::currentIndexChanged, this, &AdvancedOptionsDialog::updateMarkPreview);
    updateMarkPreview();
    return pageWith(this, QString(), box);
}

void AdvancedOptionsDialog::updateMarkPreview()
{
    m_markColour->setEnabled(m_mark->currentIndex() != 0);
    // A completed foundation as the table shows it: the King on top, the mark over it.
    const QSize card(71, 96);
    const qreal dpr = devicePixelRatioF();
    QImage img((QSizeF(card) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(dpr);
    img.fill(QColor(0x1D, 0x6B, 0x35));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(0.5, 0.5, card.width() - 1, card.height() - 1), 5, 5);
    const QImage mark = renderFoundationMark(m_mark->currentIndex(), m_markColour->currentIndex(), card, dpr);
    if (!mark.isNull())
        p.drawImage(QPointF(0, 0), mark);
    p.end();
    m_markPreview->setPixmap(QPixmap::fromImage(img));
}

QWidget* AdvancedOptionsDialog::buildAutoplay()
{
    auto* box = new QGroupBox(QStringLiteral("Set the Autoplay function: "), this);
    auto* l = new QVBoxLayout(box);
    m_autoplay = new QButtonGroup(this);
    const QStringList captions = {QStringLiteral("For all solitaire games"),
                                  QStringLiteral("Customize for each solitaire game"),
                                  QStringLiteral("\"Off\" at beginning of game")};
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(captions[i], box);
        r->setObjectName(QStringLiteral("rbAutoplay%1").arg(i + 1));
        m_autoplay->addButton(r, i + 1);
        l->addWidget(r);
        if (i == 1) {
            m_games = new QListWidget(box);
            m_games->setObjectName(QStringLiteral("clbGames"));
            m_games->setMinimumHeight(180);
            l->addWidget(m_games, 1);
        }
    }
    m_autoplay->button(storage::boundedInteger(m_values.get("AutoPlay_All_Games"), 1, 3, 1))->setChecked(true);
    const auto follow = [this] {
        const bool each = m_autoplay->checkedId() == 2;
        if (each)
            fillAutoplayList();
        m_games->setVisible(each);
        m_games->setEnabled(each);
    };
    connect(m_autoplay, &QButtonGroup::idClicked, this, follow);
    follow();
    auto* page = new QWidget(this);
    auto* pl = new QVBoxLayout(page);
    pl->addWidget(box, 1);
    return page;
}

void AdvancedOptionsDialog::fillAutoplayList()
{
    if (m_gamesFilled)
        return;
    m_gamesFilled = true;
    struct Entry {
        QString name;
        int id;
        bool on;
    };
    std::vector<Entry> entries;
    const storage::IniFile* file = m_game.settingsFile;
    const std::string flags = file ? file->readString("Autoplay", "Games", "") : std::string();
    for (const catalog::GameEntry& e : m_game.gameList.entries()) {
        const auto rules = m_game.loadRules(e.id);
        if (!rules || rules.value().autoplayAvailable() == 0)
            continue;
        const auto at = static_cast<std::size_t>(e.id);
        entries.push_back({qs(m_game.gameName(e.id)), e.id, at >= flags.size() || flags[at] != 'N'});
    }
    for (const catalog::CustomGame& c : m_game.customGames) {
        const auto rules = m_game.loadRules(c.id);
        if (!rules || rules.value().autoplayAvailable() == 0)
            continue;
        const bool on = !file || file->readString("Autoplay", "Cust_" + storage::fixedNumber(c.id, 4), "Y") != "N";
        entries.push_back({qs(c.name), c.id, on});
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return QString::localeAwareCompare(a.name, b.name) < 0; });
    for (const Entry& e : entries) {
        auto* item = new QListWidgetItem(e.name, m_games);
        item->setData(Qt::UserRole, e.id);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(e.on ? Qt::Checked : Qt::Unchecked);
    }
}

std::optional<std::vector<std::pair<int, bool>>> AdvancedOptionsDialog::autoplayGames() const
{
    if (!m_gamesFilled || m_autoplay->checkedId() != 2)
        return std::nullopt;
    std::vector<std::pair<int, bool>> out;
    for (int i = 0; i < m_games->count(); ++i) {
        const QListWidgetItem* item = m_games->item(i);
        out.emplace_back(item->data(Qt::UserRole).toInt(), item->checkState() == Qt::Checked);
    }
    return out;
}

QWidget* AdvancedOptionsDialog::buildHoldAndExit()
{
    auto* box = new QGroupBox(QStringLiteral("What would you like to do upon exiting? "), this);
    auto* l = new QVBoxLayout(box);
    m_askOnExit = new QRadioButton(QStringLiteral("&Display a message for any unfinished games"), box);
    m_askOnExit->setObjectName(QStringLiteral("rbAskOnExit"));
    m_neverAsk = new QRadioButton(QStringLiteral("&Never display a message and:"), box);
    m_neverAsk->setObjectName(QStringLiteral("rbNeverAsk"));
    m_exitType = new QComboBox(box);
    m_exitType->setObjectName(QStringLiteral("cboExitType"));
    m_exitType->addItems(
        {QStringLiteral("abandon the game (1 loss)"), QStringLiteral("finish the game later (no loss)")});
    l->addWidget(m_askOnExit);
    l->addWidget(m_neverAsk);
    l->addWidget(m_exitType);
    (m_values.get("ConfirmSaveAndExit") == "Y" ? m_askOnExit : m_neverAsk)->setChecked(true);
    m_exitType->setCurrentIndex(storage::boundedInteger(m_values.get("ConfirmSaveAndExitType"), 0, 1, 0));
    m_exitType->setEnabled(m_neverAsk->isChecked());
    connect(m_neverAsk, &QRadioButton::toggled, m_exitType, &QWidget::setEnabled);
    return pageWith(this, QString(), box);
}

QWidget* AdvancedOptionsDialog::buildStatistics()
{
    auto* page = new QWidget(this);
    auto* l = new QVBoxLayout(page);
    auto* onOff = new QGroupBox(QStringLiteral("Statistics on/off"), page);
    auto* ol = new QVBoxLayout(onOff);
    m_statisticsOff = new QCheckBox(QStringLiteral("&Disable all statistics"), onOff);
    m_statisticsOff->setObjectName(QStringLiteral("chkDisable_Statistics"));
    m_statisticsOff->setChecked(m_values.isY("Disable_Statistics"));
    ol->addWidget(m_statisticsOff);
    l->addWidget(onOff);
    auto* clear = new QGroupBox(QStringLiteral("Clear statistics values "), page);
    auto* cl = new QVBoxLayout(clear);
    auto* button = new QPushButton(QStringLiteral("Clear &values..."), clear);
    button->setObjectName(QStringLiteral("btnClearValues"));
    button->setEnabled(static_cast<bool>(m_clearValues));
    cl->addWidget(button);
    l->addWidget(clear);
    l->addStretch();
    connect(button, &QPushButton::clicked, this, [this] {
        if (m_clearValues)
            m_clearValues(this);
    });
    return page;
}

QWidget* AdvancedOptionsDialog::buildStoreFolder()
{
    auto* page = new QWidget(this);
    auto* l = new QVBoxLayout(page);
    const storage::Environment env = storage::Environment::fromProcess();
    const QString defaultFolder = qs(storage::defaultDataFolder(env, m_game.installFolder));
    m_defaultFolder = new QRadioButton(QStringLiteral("Default folder: ") + defaultFolder, page);
    m_defaultFolder->setObjectName(QStringLiteral("rbDefaultFolder"));
    m_otherFolder = new QRadioButton(QStringLiteral("Other Folder"), page);
    m_otherFolder->setObjectName(QStringLiteral("rbOtherFolder"));
    auto* row = new QHBoxLayout;
    m_folder = new QLineEdit(page);
    m_folder->setObjectName(QStringLiteral("edtFolder"));
    auto* browse = new QPushButton(QStringLiteral("Browse..."), page);
    row->addWidget(m_folder, 1);
    row->addWidget(browse);
    l->addWidget(m_defaultFolder);
    l->addWidget(m_otherFolder);
    l->addLayout(row);
    l->addStretch();
    const QString current = qs(m_game.dataFolder);
    const bool isDefault = current.isEmpty() || QDir(current).absolutePath() == QDir(defaultFolder).absolutePath();
    m_folderShown = isDefault ? QString() : current;
    (isDefault ? m_defaultFolder : m_otherFolder)->setChecked(true);
    m_folder->setText(m_folderShown);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString start = m_folder->text().isEmpty()
                                  ? qs(storage::personalDocumentsFolder(storage::Environment::fromProcess()))
                                  : m_folder->text();
        const QString chosen = QFileDialog::getExistingDirectory(this, QStringLiteral("Store Folder"), start);
        if (!chosen.isEmpty()) {
            m_folder->setText(chosen);
            m_otherFolder->setChecked(true);
        }
    });
    return page;
}

bool AdvancedOptionsDialog::storeFolder()
{
    const bool other = m_otherFolder->isChecked();
    QString folder = other ? m_folder->text().trimmed() : QString();
    if (other && folder.isEmpty()) {
        informationBox(this, QStringLiteral("Please select a valid folder."));
        m_pages->setCurrentIndex(6);
        return false;
    }
    if (other && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    const QString shown =
        m_folderShown.isEmpty() || m_folderShown.endsWith(QLatin1Char('/')) ? m_folderShown : m_folderShown + '/';
    if (folder == shown)
        return true;
    const QString target = other ? folder : m_defaultFolder->text().mid(QStringLiteral("Default folder: ").size());
    if (warningBox(this, QStringLiteral("Confirm change folder to") + QLatin1Char(' ') + target) !=
        engine::WarningAnswer::Yes) {
        m_pages->setCurrentIndex(6);
        return false;
    }
    if (warningBox(this, QStringLiteral("To activate the new Store folder, you should exit now.\n\nNote: if you want "
                                        "to use your previous data files,\nyou should move them manually from the "
                                        "old folder to the new one.")) != engine::WarningAnswer::Yes) {
        m_pages->setCurrentIndex(6);
        return false;
    }
    const std::string error =
        storage::saveDataFolderChoice(m_game.installFolder, storage::Environment::fromProcess(), folder.toStdString());
    if (!error.empty()) {
        informationBox(this, boxText(error));
        return true;
    }
    m_exitRequested = true;
    return true;
}

QWidget* AdvancedOptionsDialog::buildAccessibility()
{
    auto* box = new QGroupBox(QStringLiteral("Card movement "), this);
    auto* l = new QVBoxLayout(box);
    m_dragAndDrop = new QRadioButton(QStringLiteral("Drag and drop"), box);
    m_dragAndDrop->setObjectName(QStringLiteral("rbDragAndDrop"));
    m_pointAndClick = new QRadioButton(QStringLiteral("Point and click"), box);
    m_pointAndClick->setObjectName(QStringLiteral("rbPointAndClick"));
    l->addWidget(m_dragAndDrop);
    l->addWidget(m_pointAndClick);
    (m_values.get("Move_Cards_DragAndDrop") == "N" ? m_pointAndClick : m_dragAndDrop)->setChecked(true);
    return pageWith(this, QString(), box);
}

QWidget* AdvancedOptionsDialog::buildPointers()
{
    m_pointers = new QListWidget(this);
    m_pointers->setObjectName(QStringLiteral("lbPointers"));
    const QStringList names = pointerNames();
    for (int i = 0; i < names.size(); ++i) {
        const QCursor c = pointerFor(10 + i);
        auto* item = new QListWidgetItem(names[i], m_pointers);
        if (!c.pixmap().isNull())
            item->setIcon(QIcon(c.pixmap()));
    }
    m_pointers->setCurrentRow(storage::cursorChoice(m_values.get("Cursor")));
    return pageWith(this, QStringLiteral("Select the mouse pointer you prefer:"), m_pointers);
}

storage::Options AdvancedOptionsDialog::values() const
{
    storage::Options out = m_values;
    out.set("Undo_Enabled", std::to_string(std::max(0, m_undo->checkedId())));
    out.setYesNo("ConfirmQuit", m_confirmQuit->isChecked());
    out.setYesNo("ConfirmQuitGame", m_confirmQuitGame->isChecked());
    out.setYesNo("ConfirmEnterHiScores", m_enterHiScores->isChecked());
    out.setYesNo("Tips_StartUp", m_tips->isChecked());
    out.set("HighLights_Foundations_Mark", std::to_string(m_mark->currentIndex()));
    out.set("HighLights_Foundations_Color", std::to_string(m_markColour->currentIndex()));
    out.set("AutoPlay_All_Games", std::to_string(std::max(1, m_autoplay->checkedId())));
    out.setYesNo("ConfirmSaveAndExit", m_askOnExit->isChecked());
    out.set("ConfirmSaveAndExitType", std::to_string(m_exitType->currentIndex()));
    out.setYesNo("Disable_Statistics", m_statisticsOff->isChecked());
    out.setYesNo("Move_Cards_DragAndDrop", m_dragAndDrop->isChecked());
    out.set("Cursor", std::to_string(storage::cursorValue(m_pointers->currentRow())));
    return out;
}

void AdvancedOptionsDialog::accept()
{
    if (!storeFolder())
        return;
    QDialog::accept();
}

} // namespace cw::ui
