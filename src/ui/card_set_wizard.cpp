// The card set wizard: create or modify, start from, the card set editor (a card at a time through the image
// editor) and saving the sheet as "Custom Card Sets/<name>.crs".
#include "ui/card_set_wizard.h"

#include "engine/game_object.h"
#include "ui/card_art.h"
#include "ui/dialog_base.h"
#include "ui/image_editor.h"
#include "ui/look_catalog.h"
#include "ui/look_files.h"
#include "ui/look_preview.h"
#include "ui/message_boxes.h"
#include "ui/svg_card_set.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace cw::ui {

namespace {

constexpr int kGap = 10; // between the cards of the editor's view, and round them

CardSetWizard::CardEditorHook& editorHook()
{
    static CardSetWizard::CardEditorHook hook;
    return hook;
}

QString qs(const std::string& s) { return QString::fromStdString(s); }

} // namespace

// The editor's view: four rows of thirteen cards, King at the left; the card under the mouse is framed in
// blue and a click edits it.
class CardSetCanvas : public QWidget {
public:
    CardSetCanvas(CardSetWizard& wizard, QWidget* parent) : QWidget(parent), m_wizard(wizard)
    {
        setObjectName(QStringLiteral("cardSetView"));
        setMouseTracking(true);
        setAutoFillBackground(false);
    }

    void refit()
    {
        const CardSizeInfo& size = cardSizeInfo(m_wizard.sizeLetter());
        const QSize need(kGap + 13 * (size.width + kGap), kGap + 4 * (size.height + kGap));
        setMinimumSize(need);
        resize(need);
        update();
    }
    int hovered() const { return m_hover; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        const auto& faces = m_wizard.faces();
        for (int i = 0; i < static_cast<int>(faces.size()); ++i)
            p.drawImage(m_wizard.cardRect(i).topLeft(), faces[static_cast<std::size_t>(i)]);
        if (m_hover >= 0) {
            // Three pixels wide, three pixels out from the card.
            const QRect r = m_wizard.cardRect(m_hover).adjusted(-3, -3, 3, 3);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 0, 255));
            const QRect outer = r.adjusted(-3, -3, 3, 3);
            p.drawRect(QRect(outer.left(), outer.top(), outer.width(), 3));
            p.drawRect(QRect(outer.left(), outer.bottom() - 2, outer.width(), 3));
            p.drawRect(QRect(outer.left(), outer.top(), 3, outer.height()));
            p.drawRect(QRect(outer.right() - 2, outer.top(), 3, outer.height()));
        }
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        const int card = m_wizard.cardAt(event->position().toPoint());
        if (card != m_hover) {
            m_hover = card;
            update();
        }
    }
    void leaveEvent(QEvent*) override
    {
        m_hover = -1;
        update();
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        const int card = m_wizard.cardAt(event->position().toPoint());
        if (card >= 0)
            m_wizard.editCard(card);
    }

private:
    CardSetWizard& m_wizard;
    int m_hover = -1;
};

void CardSetWizard::setCardEditorHook(CardEditorHook hook) { editorHook() = std::move(hook); }

CardSetWizard::CardSetWizard(engine::TMainGame& game, const PictureLibrary& library, QWidget* parent)
    : QDialog(parent), m_game(game), m_library(library)
{
    setObjectName(QStringLiteral("TfrmWizardCardSet"));
    applyDialogFont(this);
    auto* top = new QVBoxLayout(this);
    m_stack = new QStackedWidget(this);
    top->addWidget(m_stack, 1);

    // Page one: create or modify.
    auto* choose = new QWidget(m_stack);
    {
        auto* l = new QVBoxLayout(choose);
        l->addWidget(
            new QLabel(QStringLiteral("You want to Create a new Card Set or modify an existing one:"), choose));
        auto* box = new QGroupBox(QStringLiteral("Create or Modify  "), choose);
        auto* bl = new QVBoxLayout(box);
        m_create = new QRadioButton(QStringLiteral("Create a new Card Set"), box);
        m_create->setObjectName(QStringLiteral("rbCreate"));
        m_modify = new QRadioButton(QStringLiteral("Modify a customized Card Set"), box);
        m_modify->setObjectName(QStringLiteral("rbModify"));
        m_create->setChecked(true);
        bl->addWidget(m_create);
        bl->addWidget(m_modify);
        l->addWidget(box);
        l->addStretch();
    }
    m_stack->addWidget(choose);

    // Page two: start from.
    auto* start = new QWidget(m_stack);
    {
        auto* l = new QVBoxLayout(start);
        l->addWidget(new QLabel(QStringLiteral("Create a new Card Set starting from:"), start));
        auto* box = new QGroupBox(QStringLiteral("Start from "), start);
        auto* bl = new QVBoxLayout(box);
        m_fromDefault = new QRadioButton(QStringLiteral("Start from the default Card Set (recommended)"), box);
        m_fromDefault->setObjectName(QStringLiteral("rbStartDefault"));
        m_fromChosen = new QRadioButton(QStringLiteral("Choose a Card Set to start from"), box);
        m_fromChosen->setObjectName(QStringLiteral("rbStartChosen"));
        m_fromDefault->setChecked(true);
        bl->addWidget(m_fromDefault);
        bl->addWidget(m_fromChosen);
        l->addWidget(box);
        l->addStretch();
    }
    m_stack->addWidget(start);

    // The step page: which set to start from.
    auto* pick = new QWidget(m_stack);
    {
        auto* l = new QVBoxLayout(pick);
        auto* head = new QHBoxLayout;
        m_stepCaption = new QLabel(QStringLiteral("Start from:"), pick);
        head->addWidget(m_stepCaption);
        head->addStretch();
        head->addWidget(new QLabel(QStringLiteral("Step 2 of 3"), pick));
        l->addLayout(head);
        auto* row = new QHBoxLayout;
        m_sets = new QTreeWidget(pick);
        m_sets->setObjectName(QStringLiteral("tvCardSets"));
        m_sets->setHeaderHidden(true);
        row->addWidget(m_sets, 1);
        auto* sampleBox = new QGroupBox(QStringLiteral("Sample "), pick);
        auto* sl = new QVBoxLayout(sampleBox);
        m_sample = new LookPreview(library, sampleBox);
        sl->addWidget(m_sample);
        m_startSize = new QComboBox(sampleBox);
        m_startSize->setObjectName(QStringLiteral("cboStartSize"));
        static const std::pair<char, const char*> sizes[] = {
            {'B', "Normal (71x96)"}, {'M', "Small (59x80)"}, {'S', "Large (85x115)"}, {'X', "Extra Large (102x138)"}};
        for (const auto& [letter, text] : sizes)
            m_startSize->addItem(QString::fromLatin1(text), QChar::fromLatin1(letter));
        sl->addWidget(m_startSize);
        row->addWidget(sampleBox, 1);
        l->addLayout(row, 1);
        connect(m_sets, &QTreeWidget::currentItemChanged, this, &CardSetWizard::updateSample);
        connect(m_startSize, &QComboBox::currentIndexChanged, this, &CardSetWizard::updateSample);
    }
    m_stack->addWidget(pick);

    // The card set editor.
    auto* editor = new QWidget(m_stack);
    {
        auto* l = new QVBoxLayout(editor);
        auto* box = new QGroupBox(QStringLiteral("Card Set "), editor);
        auto* bl = new QVBoxLayout(box);
        auto* scroll = new QScrollArea(box);
        m_canvas = new CardSetCanvas(*this, scroll);
        scroll->setWidget(m_canvas);
        scroll->setMinimumSize(640, 400);
        bl->addWidget(scroll);
        l->addWidget(box, 1);
        l->addWidget(new QLabel(QStringLiteral("To edit a Card, click on it."), editor));
    }
    m_stack->addWidget(editor);

    // Saving.
    auto* save = new QWidget(m_stack);
    {
        auto* l = new QVBoxLayout(save);
        auto* label = new QLabel(QStringLiteral("E&nter a name for the new Card Set:"), save);
        m_name = new QLineEdit(save);
        m_name->setObjectName(QStringLiteral("edtCardSetName"));
        label->setBuddy(m_name);
        l->addWidget(label);
        l->addWidget(m_name);
        l->addWidget(
            new QLabel(QStringLiteral("This Card Set will be added to the folder 'Customized' Card Sets."), save));
        l->addStretch();
    }
    m_stack->addWidget(save);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_back = new QPushButton(QStringLiteral("< &Back"), this);
    m_back->setObjectName(QStringLiteral("btnBack"));
    m_next = new QPushButton(QStringLiteral("&Next >"), this);
    m_next->setObjectName(QStringLiteral("btnNext"));
    m_next->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addWidget(m_back);
    buttons->addWidget(m_next);
    buttons->addWidget(m_cancel);
    top->addLayout(buttons);
    connect(m_back, &QPushButton::clicked, this, &CardSetWizard::back);
    connect(m_next, &QPushButton::clicked, this, &CardSetWizard::next);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    showPage(Page::Choose);
}

void CardSetWizard::setModify(bool on) { (on ? m_modify : m_create)->setChecked(true); }

void CardSetWizard::setChooseStart(bool on) { (on ? m_fromChosen : m_fromDefault)->setChecked(true); }

void CardSetWizard::showPage(Page page)
{
    m_page = page;
    m_stack->setCurrentIndex(static_cast<int>(page));
    m_back->setVisible(page != Page::Choose);
    m_next->setText(page == Page::Save ? QStringLiteral("&Finish") : QStringLiteral("&Next >"));
    switch (page) {
    case Page::Choose:
    case Page::StartFrom: setWindowTitle(QStringLiteral("Customized Card Sets")); break;
    case Page::PickSet:
        setWindowTitle(m_modify->isChecked() ? QStringLiteral("Modify a Customized Card Set")
                                             : QStringLiteral("Create a new Card Set"));
        break;
    case Page::Editor: setWindowTitle(QStringLiteral("Create a new Card Set")); break;
    case Page::Save: setWindowTitle(QStringLiteral("Save the Card Set")); break;
    }
}

void CardSetWizard::next()
{
    switch (m_page) {
    case Page::Choose:
        if (m_modify->isChecked()) {
            fillSetTree();
            showPage(Page::PickSet);
        } else {
            showPage(Page::StartFrom);
        }
        break;
    case Page::StartFrom:
        if (m_fromChosen->isChecked()) {
            fillSetTree();
            showPage(Page::PickSet);
        } else {
            m_modifying.clear();
            m_letter = 'B';
            m_faces.clear();
            for (int code = 1; code <= 52; ++code)
                m_faces.push_back(renderCardFace(m_library, kDefaultCardSet, code, QSize(71, 96), 1.0));
            startEditor();
        }
        break;
    case Page::PickSet: {
        const QTreeWidgetItem* item = m_sets->currentItem();
        const int index = item ? item->data(0, Qt::UserRole).toInt() : -1;
        const LookCatalog catalog = buildLookCatalog(qs(m_game.dataFolder), nullptr);
        if (index < 0 || index >= static_cast<int>(catalog.cardSets.size())) {
            informationBox(this, QStringLiteral("Please select a Card Set."));
            return;
        }
        const LookItem& chosen = catalog.cardSets[static_cast<std::size_t>(index)];
        m_faces.clear();
        m_modifying = m_modify->isChecked() ? chosen.name : QString();
        if (chosen.source == LookSource::Player && !chosen.path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
            const PictureFileResult sheet = loadPlayerCardSet(chosen.path);
            if (!sheet.ok()) {
                informationBox(this, sheet.error);
                return;
            }
            m_letter = sizeLetterForSheet(sheet.image.size());
            m_faces = cutCardSetSheet(sheet.image);
        } else {
            m_letter = m_startSize->currentData().toChar().toLatin1();
            const CardSizeInfo& size = cardSizeInfo(m_letter);
            const QSize card(size.width, size.height);
            if (chosen.source == LookSource::Player) {
                QString error;
                const auto svg = SvgCardSet::load(chosen.path, &error);
                if (!svg) {
                    informationBox(this, error);
                    return;
                }
                for (int i = 0; i < 52; ++i)
                    m_faces.push_back(svg->renderFace(i, card, 1.0));
            } else {
                for (int code = 1; code <= 52; ++code)
                    m_faces.push_back(renderCardFace(m_library, chosen.number, code, card, 1.0));
            }
        }
        startEditor();
        break;
    }
    case Page::Editor:
        if (m_name->text().isEmpty())
            m_name->setText(m_modifying.isEmpty() ? freeCardSetName(qs(m_game.dataFolder)) : m_modifying);
        showPage(Page::Save);
        m_name->setFocus();
        m_name->selectAll();
        break;
    case Page::Save:
        if (finish())
            accept();
        break;
    }
}

void CardSetWizard::back()
{
    switch (m_page) {
    case Page::Choose: break;
    case Page::StartFrom: showPage(Page::Choose); break;
    case Page::PickSet: showPage(m_modify->isChecked() ? Page::Choose : Page::StartFrom); break;
    case Page::Editor:
        if (!m_modifying.isEmpty() || m_fromChosen->isChecked())
            showPage(Page::PickSet);
        else
            showPage(m_modify->isChecked() ? Page::Choose : Page::StartFrom);
        break;
    case Page::Save: showPage(Page::Editor); break;
    }
}

void CardSetWizard::fillSetTree()
{
    m_sets->clear();
    const bool modify = m_modify->isChecked();
    m_stepCaption->setText(modify ? QStringLiteral("Modify:") : QStringLiteral("Start from:"));
    const LookCatalog catalog = buildLookCatalog(qs(m_game.dataFolder), nullptr);
    QTreeWidgetItem* builtIn = nullptr;
    QTreeWidgetItem* player = nullptr;
    for (int i = 0; i < static_cast<int>(catalog.cardSets.size()); ++i) {
        const LookItem& it = catalog.cardSets[static_cast<std::size_t>(i)];
        const bool own = it.source == LookSource::Player;
        // Only the player's own sets can be modified (and only sheets: an SVG set is its own file).
        if (modify && (!own || it.path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)))
            continue;
        QTreeWidgetItem*& group = own ? player : builtIn;
        if (!group) {
            group = new QTreeWidgetItem(m_sets, {QString::fromLatin1(own ? kPlayerGroup : kBuiltInGroup)});
            group->setData(0, Qt::UserRole, -1);
            group->setFlags(Qt::ItemIsEnabled);
        }
        auto* node = new QTreeWidgetItem(group, {it.name});
        node->setData(0, Qt::UserRole, i);
        if (!m_sets->currentItem())
            m_sets->setCurrentItem(node);
    }
    m_sets->expandAll();
    updateSample();
}

bool CardSetWizard::chooseStartSet(const QString& name)
{
    for (QTreeWidgetItemIterator it(m_sets); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toInt() >= 0 && (*it)->text(0).compare(name, Qt::CaseInsensitive) == 0) {
            m_sets->setCurrentItem(*it);
            return true;
        }
    return false;
}

void CardSetWizard::setStartSize(char letter)
{
    for (int i = 0; i < m_startSize->count(); ++i)
        if (m_startSize->itemData(i).toChar() == QLatin1Char(letter))
            m_startSize->setCurrentIndex(i);
}

void CardSetWizard::updateSample()
{
    const QTreeWidgetItem* item = m_sets->currentItem();
    const int index = item ? item->data(0, Qt::UserRole).toInt() : -1;
    const LookCatalog catalog = buildLookCatalog(qs(m_game.dataFolder), nullptr);
    if (index < 0 || index >= static_cast<int>(catalog.cardSets.size()))
        return;
    const LookItem& it = catalog.cardSets[static_cast<std::size_t>(index)];
    LookChoice look = m_sample->look();
    look.sizeLetter = it.sizeLetter ? it.sizeLetter : m_startSize->currentData().toChar().toLatin1();
    look.cardSet = it.source == LookSource::BuiltIn ? it.number : kDefaultCardSet;
    look.cardSetFile = it.source == LookSource::Player ? it.path : QString();
    m_startSize->setEnabled(!it.sizeLetter);
    m_sample->setLook(look);
}

void CardSetWizard::startEditor()
{
    // Faces as the sheet holds them: exactly the card size, no density scaling.
    const CardSizeInfo& size = cardSizeInfo(m_letter);
    for (QImage& face : m_faces) {
        face.setDevicePixelRatio(1.0);
        if (face.size() != QSize(size.width, size.height))
            face = face.scaled(size.width, size.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    m_canvas->refit();
    showPage(Page::Editor);
}

QRect CardSetWizard::cardRect(int index) const
{
    if (index < 0 || index > 51)
        return {};
    const CardSizeInfo& size = cardSizeInfo(m_letter);
    const int suit = index / 13, rank = index % 13;
    const int column = 12 - rank; // the King at the left, the Ace at the right
    return {kGap + column * (size.width + kGap), kGap + suit * (size.height + kGap), size.width, size.height};
}

int CardSetWizard::cardAt(QPoint viewPoint) const
{
    for (int i = 0; i < 52; ++i) {
        const QRect r = cardRect(i);
        // Edges included.
        if (viewPoint.x() >= r.left() && viewPoint.x() <= r.left() + r.width() && viewPoint.y() >= r.top() &&
            viewPoint.y() <= r.top() + r.height())
            return i;
    }
    return -1;
}

void CardSetWizard::setFace(int index, const QImage& face)
{
    if (index < 0 || index >= static_cast<int>(m_faces.size()) || face.isNull())
        return;
    const CardSizeInfo& size = cardSizeInfo(m_letter);
    QImage img = face;
    img.setDevicePixelRatio(1.0);
    if (img.size() != QSize(size.width, size.height))
        img = img.scaled(size.width, size.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_faces[static_cast<std::size_t>(index)] = img;
    m_canvas->update();
}

void CardSetWizard::editCard(int index)
{
    if (index < 0 || index >= static_cast<int>(m_faces.size()))
        return;
    ImageEditor editor(ImageEditor::Mode::Card, qs(m_game.dataFolder), m_game.settingsFile, this);
    editor.setCard(m_faces[static_cast<std::size_t>(index)], m_letter, index);
    const bool ok = editorHook() ? editorHook()(editor) : editor.exec() == QDialog::Accepted;
    if (ok)
        setFace(index, editor.preview());
}

QImage CardSetWizard::sheet() const { return buildCardSetSheet(m_faces, m_letter); }

void CardSetWizard::setName(const QString& name) { m_name->setText(name); }

bool CardSetWizard::finish()
{
    const QString name = m_name->text().trimmed();
    auto refuse = [this](const QString& text) {
        informationBox(this, text);
        m_name->setFocus();
        m_name->selectAll();
        return false;
    };
    if (const QString problem = typedNameProblem(name, QStringLiteral("Please fill in the field \"Card Set name\""));
        !problem.isEmpty())
        return refuse(problem);
    const QString data = qs(m_game.dataFolder);
    // Modifying writes the set over its own file; any other name in use is refused.
    const bool ownFile = !m_modifying.isEmpty() && name.compare(m_modifying, Qt::CaseInsensitive) == 0;
    if (cardSetNameInUse(data, name) && !ownFile)
        return refuse(QStringLiteral("Name already in use. Please change it."));
    cardSetsFolder(data, true);
    const QString path = ownFile ? findPlayerCardSet(data, m_modifying).path : cardSetPath(data, name);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !sheet().save(&file, "BMP") || !file.commit())
        return refuse(QStringLiteral("Error saving the file: ") + path);
    m_savedName = name;
    return true;
}

QString createCardSet(engine::TMainGame& game, const PictureLibrary& library, QWidget* parent)
{
    CardSetWizard wizard(game, library, parent);
    if (wizard.exec() != QDialog::Accepted)
        return {};
    return wizard.savedName();
}

} // namespace cw::ui
