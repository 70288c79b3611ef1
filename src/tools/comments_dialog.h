// The " Comments" dialog: a rich-text comment per game, kept as an RTF file in the data folder.
#pragma once

#include <QDialog>
#include <QTextEdit>

#include <string>
#include <vector>

#include "tools/core/comment_files.h"

class QComboBox;
class QPushButton;
class QToolButton;

namespace cw::ui {
class PictureLibrary;
}

namespace cw::tools {

// What the dialog reads of the running game when it opens.
struct CommentsContext {
    std::string dataFolder;             // ends with "/"
    std::vector<std::string> gameNames; // the games box: every built-in and custom game, sorted
    std::string currentGameName;        // settings column 189
    std::string player;                 // settings column 77
    std::string gameNumber;             // settings column 153
    bool gameInProgress = false;
};

// The editor of comments: what is pasted keeps only the formats a comment file keeps.
class CommentEditor : public QTextEdit {
    Q_OBJECT
public:
    using QTextEdit::QTextEdit;

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};

class CommentsDialog : public QDialog {
    Q_OBJECT
public:
    CommentsDialog(CommentsContext context, const ui::PictureLibrary& library, QWidget* parent = nullptr);

    QComboBox* gameBox() const { return m_games; }
    CommentEditor* editor() const { return m_editor; }
    QPushButton* insertGameNumberButton() const { return m_insertNumber; }
    QToolButton* boldButton() const { return m_bold; }
    QToolButton* italicButton() const { return m_italic; }
    QToolButton* underlineButton() const { return m_underline; }
    // The game whose comment is in the editor.
    QString editedGame() const { return QString::fromStdString(m_edited); }
    // Whether the games box shows the "commented" mark for the entry.
    bool markedAsCommented(int index) const;

    // The buttons' commands.
    void insertPlayerName();
    void insertDateTime();
    void insertGameNumber();
    void clearComment();
    // Writes the comment being edited (or deletes its file when it is empty); false when the file
    // could not be written (a message said so). Nothing is written for a comment left unchanged.
    bool saveComment();

public slots:
    // Closing by any means saves first; the dialog stays open when the comment cannot be saved.
    void done(int result) override;

private:
    void chooseGame(int index);
    void loadComment(int index);
    void appendLine(const QString& line);
    void followCaret();
    void setMark(int index, bool commented);

    CommentsContext m_context;
    CommentFiles m_files;
    QIcon m_commented;
    QIcon m_blank;
    std::string m_edited;
    int m_editedIndex = -1;
    QComboBox* m_games = nullptr;
    CommentEditor* m_editor = nullptr;
    QPushButton* m_insertNumber = nullptr;
    QToolButton* m_bold = nullptr;
    QToolButton* m_italic = nullptr;
    QToolButton* m_underline = nullptr;
};

} // namespace cw::tools
