// The image editor: crops a card-sized picture out of any image, as a deck ("Customize deck") or as one card
// of a card set being made ("Customize card").
#include "ui/image_editor.h"

#include "engine/game_object.h"
#include "storage/folders.h"
#include "storage/ini_file.h"
#include "storage/messages.h"
#include "ui/card_art.h"
#include "ui/dialog_base.h"
#include "ui/image_files.h"
#include "ui/look_files.h"
#include "ui/message_boxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <functional>

namespace cw::ui {

// The zoomed picture with the card frame over it; the frame follows the mouse. The zoomed picture is
// never made as a whole (a large photograph at 400% would take gigabytes): each paint scales the part
// that shows.
class CropCanvas : public QWidget {
public:
    explicit CropCanvas(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("imgCanvas")); }

    std::function<void(QPoint)> frameMoved;

    void setPicture(const QImage* image, int zoom)
    {
        m_image = image;
        m_zoom = zoom;
        const QSize view = viewSize();
        resize(view.expandedTo(QSize(1, 1)));
        setMinimumSize(size());
        update();
    }
    QSize viewSize() const
    {
        if (!m_image || m_image->isNull())
            return {};
        // trunc(width x z / 100) by trunc(height x z / 100)
        return {int(qint64(m_image->width()) * m_zoom / 100), int(qint64(m_image->height()) * m_zoom / 100)};
    }
    void setFrame(const QRect& frame)
    {
        m_frame = frame;
        update();
    }
    const QRect& frame() const { return m_frame; }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter p(this);
        p.fillRect(event->rect(), palette().window());
        if (m_image && !m_image->isNull()) {
            const QRect shown = event->rect() & QRect(QPoint(0, 0), viewSize());
            if (!shown.isEmpty()) {
                const qreal k = 100.0 / m_zoom;
                const QRectF source(shown.x() * k, shown.y() * k, shown.width() * k, shown.height() * k);
                p.drawImage(QRectF(shown), *m_image, source);
            }
        }
        if (!m_frame.isEmpty()) {
            // A frame that shows on light and dark pictures alike.
            p.setPen(QPen(Qt::white, 1));
            p.drawRect(m_frame.adjusted(0, 0, -1, -1));
            p.setPen(QPen(Qt::black, 1, Qt::DashLine));
            p.drawRect(m_frame.adjusted(0, 0, -1, -1));
        }
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        m_dragging = true;
        // A press outside the frame brings the frame there; a press inside holds it where it was caught.
        m_grab = m_frame.contains(event->position().toPoint()) ? event->position().toPoint() - m_frame.topLeft()
                                                               : QPoint(m_frame.width() / 2, m_frame.height() / 2);
        moveTo(event->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (m_dragging)
            moveTo(event->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent*) override { m_dragging = false; }

private:
    void moveTo(QPoint pointer)
    {
        if (frameMoved)
            frameMoved(pointer - m_grab);
    }

    const QImage* m_image = nullptr;
    int m_zoom = 100;
    QRect m_frame;
    bool m_dragging = false;
    QPoint m_grab;
};

namespace {

struct EditorSize {
    char letter;
    const char* text;
};
// The sizes offered, in the order of the list.
// clang-format off
const EditorSize kEditorSizes[] = {
    {'B', "Normal (71x96)"}, {'M', "Small (59x80)"}, {'S', "Large (85x115)"}, {'X', "Extra Large (102x138)"},
};
// clang-format on

// The border picture of a size: a card outline with rounded corners, white inside.
QImage borderPicture(QSize card)
{
    QImage img(card, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal r = card.width() * 0.08;
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.0));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(0.5, 0.5, card.width() - 1, card.height() - 1), r, r);
    p.setPen(QPen(QColor(0xB0, 0xB0, 0xB0), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(2.5, 2.5, card.width() - 5, card.height() - 5), r * 0.7, r * 0.7);
    return img;
}

QString qs(const std::string& s) { return QString::fromStdString(s); }

} // namespace

QString pictureFileFilter()
{
    QStringList all{QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), QStringLiteral("*.bmp")};
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        const QString pattern = QStringLiteral("*.") + QString::fromLatin1(format).toLower();
        if (!all.contains(pattern) && format != "svg" && format != "svgz")
            all << pattern;
    }
    return QStringLiteral("All image files (%1);;Bitmaps (*.bmp);;JPG files (*.jpg *.jpeg)")
        .arg(all.join(QLatin1Char(' ')));
}

ImageEditor::ImageEditor(Mode mode, const QString& dataFolder, storage::IniFile* settings, QWidget* parent)
    : QDialog(parent), m_mode(mode), m_dataFolder(dataFolder), m_settings(settings)
{
    setObjectName(mode == Mode::Deck ? QStringLiteral("TfrmCustomizeDeck") : QStringLiteral("TfrmCustomizeCard"));
    setWindowTitle(mode == Mode::Deck ? QStringLiteral("Customize deck") : QStringLiteral("Customize card"));
    applyDialogFont(this);
    auto* top = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    auto* tools = new QHBoxLayout;
    auto* load = new QToolButton(this);
    load->setObjectName(QStringLiteral("btnLoad"));
    load->setText(QStringLiteral("  Load...  "));
    auto* paste = new QToolButton(this);
    paste->setObjectName(QStringLiteral("btnPaste"));
    paste->setText(QStringLiteral("Paste"));
    tools->addWidget(load);
    tools->addWidget(paste);
    tools->addStretch();
    left->addLayout(tools);
    m_scroll = new QScrollArea(this);
    m_scroll->setMinimumSize(360, 300);
    m_scroll->setWidgetResizable(false);
    m_canvas = new CropCanvas(m_scroll);
    m_scroll->setWidget(m_canvas);
    left->addWidget(m_scroll, 1);
    top->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    auto* imageBox = new QGroupBox(QStringLiteral("Image "), this);
    auto* imageLayout = new QGridLayout(imageBox);
    imageLayout->addWidget(new QLabel(QStringLiteral("Zoom:"), imageBox), 0, 0);
    m_zoomBox = new QComboBox(imageBox);
    m_zoomBox->setObjectName(QStringLiteral("cboZoom"));
    m_zoomBox->setEditable(true);
    m_zoomBox->addItems({QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%"),
                         QStringLiteral("200%"), QStringLiteral("400%")});
    m_zoomBox->setCurrentText(QStringLiteral("100%"));
    imageLayout->addWidget(m_zoomBox, 0, 1);
    m_tile = new QCheckBox(QStringLiteral("Tile"), imageBox);
    m_tile->setObjectName(QStringLiteral("chkTile"));
    m_tile->setEnabled(false);
    imageLayout->addWidget(m_tile, 1, 0, 1, 2);
    right->addWidget(imageBox);

    auto* borderBox = new QGroupBox(QStringLiteral("Border "), this);
    auto* borderLayout = new QVBoxLayout(borderBox);
    m_noBorder = new QCheckBox(QStringLiteral("No border"), borderBox);
    m_noBorder->setObjectName(QStringLiteral("chkNoBorder"));
    borderLayout->addWidget(m_noBorder);
    right->addWidget(borderBox);

    auto* sizeBox = new QGroupBox(QStringLiteral("Size "), this);
    auto* sizeLayout = new QVBoxLayout(sizeBox);
    m_sizeBox = new QComboBox(sizeBox);
    m_sizeBox->setObjectName(QStringLiteral("cboSize"));
    for (const EditorSize& e : kEditorSizes)
        m_sizeBox->addItem(QString::fromLatin1(e.text), QChar::fromLatin1(e.letter));
    sizeLayout->addWidget(m_sizeBox);
    right->addWidget(sizeBox);

    auto* previewBox = new QGroupBox(QStringLiteral("Preview "), this);
    auto* previewLayout = new QVBoxLayout(previewBox);
    m_previewLabel = new QLabel(previewBox);
    m_previewLabel->setObjectName(QStringLiteral("imgPreview"));
    m_previewLabel->setAlignment(Qt::AlignCenter);
    m_previewLabel->setMinimumSize(110, 146);
    previewLayout->addWidget(m_previewLabel);
    right->addWidget(previewBox);

    if (mode == Mode::Deck) {
        right->addWidget(new QLabel(QStringLiteral("Deck name:"), this));
        m_name = new QLineEdit(freeDeckName(dataFolder), this);
        m_name->setObjectName(QStringLiteral("edtDeckName"));
        right->addWidget(m_name);
    } else {
        sizeBox->hide();
    }
    right->addStretch();

    auto* buttons = new QHBoxLayout;
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    if (mode == Mode::Deck) {
        m_save = new QPushButton(style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Save"), this);
        m_save->setObjectName(QStringLiteral("btnSave"));
        m_save->setEnabled(false);
        buttons->addWidget(m_save);
        connect(m_save, &QPushButton::clicked, this, [this] { saveDeck(); });
    }
    right->addLayout(buttons);
    top->addLayout(right);
    m_ok->setEnabled(false);

    connect(load, &QToolButton::clicked, this, &ImageEditor::chooseFile);
    connect(paste, &QToolButton::clicked, this, &ImageEditor::paste);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ok, &QPushButton::clicked, this, &ImageEditor::accept);
    connect(m_zoomBox, &QComboBox::textActivated, this, &ImageEditor::zoomEdited);
    connect(m_zoomBox->lineEdit(), &QLineEdit::editingFinished, this, &ImageEditor::zoomEdited);
    connect(m_tile, &QCheckBox::toggled, this, &ImageEditor::setTile);
    connect(m_noBorder, &QCheckBox::toggled, this, [this](bool on) { setBorder(!on); });
    connect(m_sizeBox, &QComboBox::currentIndexChanged, this,
            [this](int i) { setSizeLetter(m_sizeBox->itemData(i).toChar().toLatin1()); });
    m_canvas->frameMoved = [this](QPoint at) { frameMoved(at); };
    setSizeLetter('B');
}

void ImageEditor::setCard(const QImage& card, char sizeLetter, int index)
{
    m_cardIndex = index;
    setSizeLetter(sizeLetter);
    if (!card.isNull() && !m_loaded) {
        m_preview = card;
        m_previewLabel->setPixmap(QPixmap::fromImage(m_preview));
    }
}

void ImageEditor::chooseFile()
{
    static QString folder;
    if (folder.isEmpty())
        folder = qs(storage::personalDocumentsFolder(storage::Environment::fromProcess()));
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Load"), folder, pictureFileFilter());
    if (path.isEmpty())
        return;
    folder = QFileInfo(path).absolutePath();
    loadFile(path);
}

bool ImageEditor::loadFile(const QString& path)
{
    const PictureRead read = readPicture(path);
    if (read.problem != PictureProblem::None) {
        informationBox(this, pictureProblemText(read, path));
        return false;
    }
    if (read.animated)
        informationBox(this, QStringLiteral("This picture is an animation; its first picture is used: ") + path);
    m_path = path;
    m_file = read.image;
    m_image = m_file;
    imageReady();
    return true;
}

bool ImageEditor::setImage(const QImage& image)
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0) {
        informationBox(this, QStringLiteral("The clipboard holds no picture."));
        return false;
    }
    if (image.width() > kMaxPictureSide || image.height() > kMaxPictureSide ||
        qint64(image.width()) * image.height() > kMaxPicturePixels) {
        informationBox(this, QStringLiteral("The picture is too large (%1 x %2 pixels; at most %3 million pixels "
                                            "can be used).")
                                 .arg(image.width())
                                 .arg(image.height())
                                 .arg(kMaxPicturePixels / 1'000'000));
        return false;
    }
    m_path.clear();
    m_file = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_file.setDevicePixelRatio(1.0);
    m_image = m_file;
    imageReady();
    return true;
}

void ImageEditor::paste() { setImage(QApplication::clipboard()->image()); }

void ImageEditor::imageReady()
{
    m_loaded = true;
    {
        const QSignalBlocker block(m_tile);
        m_tile->setChecked(false);
    }
    m_zoom = 100;
    m_zoomBox->setCurrentText(QStringLiteral("100%"));
    m_canvas->setPicture(&m_image, m_zoom);
    const CardSizeInfo& size = cardSizeInfo(m_letter);
    m_canvas->setFrame(QRect(0, 0, size.width, size.height));
    m_scroll->horizontalScrollBar()->setValue(0);
    m_scroll->verticalScrollBar()->setValue(0);
    m_ok->setEnabled(true);
    if (m_save)
        m_save->setEnabled(true);
    m_tile->setEnabled(tileOffered());
    updatePreview();
}

void ImageEditor::setZoomText(const QString& text)
{
    m_zoomBox->setCurrentText(text);
    zoomEdited();
}

QString ImageEditor::zoomText() const { return m_zoomBox->currentText(); }

void ImageEditor::zoomEdited()
{
    QString text = m_zoomBox->currentText().trimmed();
    if (text.endsWith(QLatin1Char('%')))
        text.chop(1);
    bool ok = false;
    int z = text.trimmed().toInt(&ok);
    // 0 or an empty text changes nothing; more than 400 is 400.
    if (!ok || z <= 0) {
        m_zoomBox->setCurrentText(QString::number(m_zoom) + QLatin1Char('%'));
        return;
    }
    z = std::min(z, 400);
    m_zoomBox->setCurrentText(QString::number(z) + QLatin1Char('%'));
    if (z == m_zoom)
        return;
    m_zoom = z;
    if (!m_loaded)
        return;
    m_canvas->setPicture(&m_image, m_zoom);
    setFramePosition(m_canvas->frame().topLeft());
}

QSize ImageEditor::viewSize() const { return m_canvas->viewSize(); }

void ImageEditor::setFramePosition(QPoint topLeft) { frameMoved(topLeft); }

QPoint ImageEditor::framePosition() const { return m_canvas->frame().topLeft(); }

void ImageEditor::frameMoved(QPoint at)
{
    const CardSizeInfo& size = cardSizeInfo(m_letter);
    const QSize view = viewSize();
    // Never left of or above the view's origin, never past its right or bottom edge.
    at.setX(std::max(0, std::min(at.x(), view.width() - size.width)));
    at.setY(std::max(0, std::min(at.y(), view.height() - size.height)));
    const QRect frame(at, QSize(size.width, size.height));
    m_canvas->setFrame(frame);
    // The view scrolls with the frame, keeping it 25 pixels clear of the visible area's edges.
    m_scroll->ensureVisible(frame.center().x(), frame.center().y(), frame.width() / 2 + 25, frame.height() / 2 + 25);
    updatePreview();
}

void ImageEditor::setBorder(bool on)
{
    m_border = on;
    {
        const QSignalBlocker block(m_noBorder);
        m_noBorder->setChecked(!on);
    }
    updatePreview();
}

void ImageEditor::setSizeLetter(char letter)
{
    const char up = cardSizeInfo(letter).letter;
    m_letter = up == 'L' ? 'B' : up;
    for (int i = 0; i < m_sizeBox->count(); ++i)
        if (m_sizeBox->itemData(i).toChar() == QLatin1Char(m_letter) && m_sizeBox->currentIndex() != i) {
            const QSignalBlocker block(m_sizeBox);
            m_sizeBox->setCurrentIndex(i);
        }
    const CardSizeInfo& size = cardSizeInfo(m_letter);
    m_previewLabel->setMinimumSize(size.width + 8, size.height + 8);
    if (m_loaded) {
        m_tile->setEnabled(tileOffered() || m_tile->isChecked());
        setFramePosition(m_canvas->frame().topLeft());
    } else {
        m_canvas->setFrame(QRect(0, 0, size.width, size.height));
    }
}

bool ImageEditor::tileOffered() const
{
    const CardSizeInfo& size = cardSizeInfo(m_letter);
    return m_loaded && m_file.width() <= size.width && m_file.height() <= size.height;
}

void ImageEditor::setTile(bool on)
{
    if (!m_loaded)
        return;
    if (on && !tileOffered())
        on = false;
    {
        const QSignalBlocker block(m_tile);
        m_tile->setChecked(on);
    }
    if (on) {
        // Twice the frame each way, filled with the picture repeated from the top left.
        const CardSizeInfo& size = cardSizeInfo(m_letter);
        QImage tiled(size.width * 2, size.height * 2, QImage::Format_ARGB32_Premultiplied);
        tiled.fill(Qt::white);
        QPainter p(&tiled);
        p.drawTiledPixmap(tiled.rect(), QPixmap::fromImage(m_file));
        p.end();
        m_image = tiled;
    } else {
        m_image = m_file;
    }
    m_canvas->setPicture(&m_image, m_zoom);
    setFramePosition(m_canvas->frame().topLeft());
}

void ImageEditor::setDeckName(const QString& name)
{
    if (m_name)
        m_name->setText(name);
}

void ImageEditor::updatePreview()
{
    if (!m_loaded)
        return;
    const CardSizeInfo& size = cardSizeInfo(m_letter);
    const QSize card(size.width, size.height);
    QImage out(card, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    const int inset = m_border ? 4 : 0;
    if (m_border)
        p.drawImage(0, 0, borderPicture(card));
    const QRect inner(inset, inset, card.width() - 2 * inset, card.height() - 2 * inset);
    p.fillRect(inner, Qt::white);
    // The part of the view under the frame, inset as the card, taken from the picture at the zoom.
    const QRect frame = m_canvas->frame();
    const qreal k = 100.0 / m_zoom;
    const QRectF source((frame.x() + inset) * k, (frame.y() + inset) * k, inner.width() * k, inner.height() * k);
    const QRectF within = source & QRectF(m_image.rect());
    if (!within.isEmpty()) {
        const QRectF target(inner.x() + (within.x() - source.x()) / k, inner.y() + (within.y() - source.y()) / k,
                            within.width() / k, within.height() / k);
        p.drawImage(target, m_image, within);
    }
    p.end();
    // Rounded corners: three pixels in each corner take the dialog's colour.
    const QRgb corner = palette().color(QPalette::Window).rgb();
    const int w = card.width() - 1, h = card.height() - 1;
    for (const QPoint pt :
         {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(w, 0), QPoint(w - 1, 0), QPoint(w, 1), QPoint(0, h),
          QPoint(1, h), QPoint(0, h - 1), QPoint(w, h), QPoint(w - 1, h), QPoint(w, h - 1)})
        out.setPixel(pt, corner);
    m_preview = out;
    m_previewLabel->setPixmap(QPixmap::fromImage(m_preview));
}

bool ImageEditor::saveDeck()
{
    if (m_mode != Mode::Deck || !m_loaded)
        return false;
    const QString name = m_name->text().trimmed();
    auto refuse = [this](const QString& text) {
        informationBox(this, text);
        m_name->setFocus();
        m_name->selectAll();
        return false;
    };
    if (const QString problem = typedNameProblem(name, QStringLiteral("Please fill in the field \"Deck name\""));
        !problem.isEmpty())
        return refuse(problem);
    // A second save under the name this editor saved overwrites its own file.
    if (deckNameInUse(m_dataFolder, name) && name.compare(m_savedName, Qt::CaseInsensitive) != 0)
        return refuse(QStringLiteral("Name already in use. Please change it."));
    decksFolder(m_dataFolder, true);
    const QString path = name.compare(m_savedName, Qt::CaseInsensitive) == 0 && !m_savedPath.isEmpty()
                             ? m_savedPath
                             : deckPath(m_dataFolder, name);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !m_preview.save(&file, "BMP") || !file.commit())
        return refuse(QStringLiteral("Error saving the file: ") + path);
    m_savedName = name;
    m_savedPath = path;
    return true;
}

void ImageEditor::accept()
{
    if (!m_loaded)
        return;
    if (m_mode == Mode::Deck) {
        if (!saveDeck())
            return;
        if (m_settings) {
            QtMessageBoxes boxes(this);
            storage::confirmOnce(
                boxes, *m_settings,
                (QStringLiteral("The Deck as been saved as:") + QLatin1Char('\n') + m_savedPath).toStdString(),
                storage::msgkey::DirSaveCustomDecks, true);
        }
    }
    QDialog::accept();
}

QString editDeck(engine::TMainGame& game, QWidget* parent)
{
    const QString folder = qs(storage::personalDocumentsFolder(storage::Environment::fromProcess()));
    const QString path = QFileDialog::getOpenFileName(parent, QStringLiteral("Load"), folder, pictureFileFilter());
    if (path.isEmpty())
        return {};
    ImageEditor editor(ImageEditor::Mode::Deck, qs(game.dataFolder), game.settingsFile, parent);
    if (!editor.loadFile(path))
        return {};
    editor.exec();
    // "Save" may have made the deck before "Cancel" closed the editor.
    return editor.savedName();
}

} // namespace cw::ui
