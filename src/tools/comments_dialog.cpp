// The " Comments" dialog: the games box with its marks, the editor, the insert and style buttons, load and save.
#include "tools/comments_dialog.h"

#include <QComboBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QToolButton>
#include <QVBoxLayout>

#include "storage/safe_file.h"
#include "tools/rich_text_qt.h"
#include "ui/dialog_base.h"
#include "ui/message_boxes.h"
#include "ui/picture_library.h"
#include "ui/picture_library_icons.h"

namespace cw::tools {

namespace {

std::string trimmed(std::string s) { return storage::rtrim(s); }

} // namespace

bool CommentEditor::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasText() || source->hasHtml();
}

void CommentEditor::insertFromMimeData(const QMimeData* source)
{
    // Rich text from elsewhere is reduced to what the comment file keeps, so that what the
    // player sees is what is saved; pictures are not pasted.
    if (source->hasHtml()) {
        QTextDocument pasted;
        pasted.setHtml(source->html());
        textCursor().insertFragment(documentFragment(richTextFromDocument(pasted)));
    } else if (source->hasText()) {
        textCursor().insertText(source->text());
    }
    ensureCursorVisible();
}

CommentsDialog::CommentsDialog(CommentsContext context, const ui::PictureLibrary& library, QWidget* parent)
    : QDialog(parent), m_context(std::move(context)), m_files(m_context.dataFolder)
{
    setObjectName(QStringLiteral("frmComments"));
    setWindowTitle(QStringLiteral(" Comments"));
    ui::applyDialogFont(this);
    const qreal dpr = devicePixelRatioF();
    m_commented = QIcon(QPixmap::fromImage(ui::renderIcon(library, QStringLiteral("COMMENT_YES"), dpr)));
    QPixmap blank(QSize(16, 16) * dpr);
    blank.setDevicePixelRatio(dpr);
    blank.fill(Qt::transparent);
    m_blank = QIcon(blank);

    m_games = new QComboBox(this);
    m_games->setObjectName(QStringLiteral("cboGames"));
    m_games->setIconSize(QSize(16, 16));
    m_games->setMaxVisibleItems(20);
    const std::vector<bool> marks = m_files.commented(m_context.gameNames);
    for (std::size_t i = 0; i < m_context.gameNames.size(); ++i)
        m_games->addItem(marks[i] ? m_commented : m_blank, QString::fromStdString(m_context.gameNames[i]), marks[i]);
    auto* gamesLabel = new QLabel(QStringLiteral("&Comment for solitaire:"), this);
    gamesLabel->setBuddy(m_games);

    m_editor = new CommentEditor(this);
    m_editor->setObjectName(QStringLiteral("reComment"));
    m_editor->setAcceptRichText(true);
    // The editor's input style: the dialog font at 8 points, regular.
    QFont base = ui::dialogFont();
    base.setPointSize(8);
    base.setBold(false);
    base.setItalic(false);
    m_editor->document()->setDefaultFont(base);
    m_editor->setMinimumSize(420, 240);

    auto button = [this](const QString& name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* insertPlayer = button(QStringLiteral("btnInsertPlayer"), QStringLiteral("Insert Player's name"));
    QPushButton* insertDate = button(QStringLiteral("btnInsertDate"), QStringLiteral("Insert Date/Time"));
    m_insertNumber = button(QStringLiteral("btnInsertGameNumber"), QStringLiteral("Insert Game number"));
    QPushButton* clear = button(QStringLiteral("btnClear"), QStringLiteral("Clear comment"));
    QPushButton* close = button(QStringLiteral("btnClose"), QStringLiteral("Close"));
    close->setDefault(true);
    auto styleButton = [this](const QString& name, const QString& text, void (QFont::*set)(bool)) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(text);
        b->setCheckable(true);
        QFont f = b->font();
        (f.*set)(true);
        b->setFont(f);
        return b;
    };
    m_bold = styleButton(QStringLiteral("btnBold"), QStringLiteral("Bold"), &QFont::setBold);
    m_italic = styleButton(QStringLiteral("btnItalic"), QStringLiteral("Italic"), &QFont::setItalic);
    m_underline = styleButton(QStringLiteral("btnUnderline"), QStringLiteral("Underline"), &QFont::setUnderline);

    auto* top = new QHBoxLayout;
    top->addWidget(gamesLabel);
    top->addWidget(m_games, 1);
    auto* styles = new QHBoxLayout;
    styles->addWidget(m_bold);
    styles->addWidget(m_italic);
    styles->addWidget(m_underline);
    styles->addStretch(1);
    auto* side = new QVBoxLayout;
    side->addWidget(insertPlayer);
    side->addWidget(insertDate);
    side->addWidget(m_insertNumber);
    side->addSpacing(12);
    side->addWidget(clear);
    side->addStretch(1);
    side->addWidget(close);
    auto* middle = new QHBoxLayout;
    auto* editorColumn = new QVBoxLayout;
    editorColumn->addLayout(styles);
    editorColumn->addWidget(m_editor, 1);
    middle->addLayout(editorColumn, 1);
    middle->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);

    connect(insertPlayer, &QPushButton::clicked, this, &CommentsDialog::insertPlayerName);
    connect(insertDate, &QPushButton::clicked, this, &CommentsDialog::insertDateTime);
    connect(m_insertNumber, &QPushButton::clicked, this, &CommentsDialog::insertGameNumber);
    connect(clear, &QPushButton::clicked, this, &CommentsDialog::clearComment);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_bold, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontWeight(on ? QFont::Bold : QFont::Normal);
        m_editor->mergeCurrentCharFormat(f);
        m_editor->setFocus();
    });
    connect(m_italic, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontItalic(on);
        m_editor->mergeCurrentCharFormat(f);
        m_editor->setFocus();
    });
    connect(m_underline, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontUnderline(on);
        m_editor->mergeCurrentCharFormat(f);
        m_editor->setFocus();
    });
    // The style buttons follow the style at the caret wherever it moves.
    connect(m_editor, &QTextEdit::currentCharFormatChanged, this, &CommentsDialog::followCaret);
    connect(m_editor, &QTextEdit::cursorPositionChanged, this, &CommentsDialog::followCaret);

    // The current game is chosen on opening (the first game when none is being played).
    int current = 0;
    const std::string currentName = trimmed(m_context.currentGameName.substr(0, 50));
    for (std::size_t i = 0; i < m_context.gameNames.size(); ++i)
        if (trimmed(m_context.gameNames[i]) == currentName) {
            current = static_cast<int>(i);
            break;
        }
    if (m_games->count() > 0) {
        m_games->setCurrentIndex(current);
        loadComment(current);
    } else {
        m_editor->setEnabled(false);
        m_insertNumber->setEnabled(false);
    }
    connect(m_games, &QComboBox::currentIndexChanged, this, &CommentsDialog::chooseGame);
    m_editor->setFocus();
}

bool CommentsDialog::markedAsCommented(int index) const { return m_games->itemData(index).toBool(); }

void CommentsDialog::setMark(int index, bool commented)
{
    if (index < 0 || index >= m_games->count())
        return;
    m_games->setItemIcon(index, commented ? m_commented : m_blank);
    m_games->setItemData(index, commented);
}

void CommentsDialog::chooseGame(int index)
{
    if (index == m_editedIndex)
        return;
    // The comment being edited is saved before the next one is shown; when it cannot be, the
    // player stays with it (nothing typed is lost).
    if (!saveComment()) {
        const QSignalBlocker block(m_games);
        m_games->setCurrentIndex(m_editedIndex);
        return;
    }
    loadComment(index);
}

void CommentsDialog::loadComment(int index)
{
    m_editedIndex = index;
    m_edited = index >= 0 && index < static_cast<int>(m_context.gameNames.size())
                   ? m_context.gameNames[static_cast<std::size_t>(index)]
                   : std::string();
    const CommentLoad loaded = m_files.load(m_edited);
    setDocumentText(*m_editor->document(), loaded.text);
    m_editor->moveCursor(QTextCursor::End);
    m_editor->document()->setModified(false);
    followCaret();
    m_insertNumber->setEnabled(m_context.gameInProgress &&
                               trimmed(m_edited) == trimmed(m_context.currentGameName.substr(0, 50)));
    if (!loaded.error.empty())
        ui::informationBox(this, QString::fromStdString(loaded.error));
    else if (!loaded.complete)
        ui::informationBox(this, QStringLiteral("The comment file is too large or damaged; only a part of it could be "
                                                "read: %1")
                                     .arg(QString::fromStdString(m_files.existingPath(m_edited))));
}

bool CommentsDialog::saveComment()
{
    if (m_editedIndex < 0 || !m_editor->document()->isModified())
        return true;
    const RichText text = richTextFromDocument(*m_editor->document());
    try {
        m_files.save(m_edited, text);
    } catch (const storage::FileError& e) {
        ui::informationBox(this, QString::fromUtf8(e.what()));
        return false;
    }
    m_editor->document()->setModified(false);
    setMark(m_editedIndex, !text.empty());
    return true;
}

void CommentsDialog::done(int result)
{
    if (!saveComment())
        return;
    QDialog::done(result);
}

void CommentsDialog::appendLine(const QString& line)
{
    QTextCursor cursor(m_editor->document());
    cursor.movePosition(QTextCursor::End);
    const bool empty = m_editor->document()->isEmpty();
    cursor.beginEditBlock();
    if (!empty)
        cursor.insertBlock();
    cursor.insertText(line, QTextCharFormat());
    cursor.endEditBlock();
    m_editor->setTextCursor(cursor);
    m_editor->setFocus();
}

void CommentsDialog::insertPlayerName()
{
    appendLine(QStringLiteral("[Player: %1]").arg(QString::fromStdString(m_context.player)));
}

void CommentsDialog::insertDateTime()
{
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    appendLine(
        QStringLiteral("[Date: %1 - Time: %2]")
            .arg(locale.toString(now.date(), QLocale::LongFormat), locale.toString(now.time(), QLocale::ShortFormat)));
}

void CommentsDialog::insertGameNumber()
{
    if (!m_insertNumber->isEnabled())
        return;
    appendLine(QStringLiteral("[Game number = %1]").arg(QString::fromStdString(m_context.gameNumber)));
}

void CommentsDialog::clearComment()
{
    if (!ui::confirmBox(this, QStringLiteral("Delete all comments for the game: %1?").arg(editedGame())))
        return;
    // The file goes at the next save.
    m_editor->clear();
    m_editor->document()->setModified(true);
}

void CommentsDialog::followCaret()
{
    const QTextCharFormat f = m_editor->currentCharFormat();
    m_bold->setChecked(f.fontWeight() >= QFont::DemiBold);
    m_italic->setChecked(f.fontItalic());
    m_underline->setChecked(f.fontUnderline());
}

} // namespace cw::tools
