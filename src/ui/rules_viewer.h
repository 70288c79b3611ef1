// The rules viewer: a window with a game's rules text and what its piles do, or the help overview.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QTextBrowser;

namespace cw::ui {

// One kind of pile of the current game as the rules viewer lists it.
struct PileDescription {
    std::string type;        // "Tableau (7)"
    std::string description; // how it builds or what a click does
    std::string redeal;      // stock only
};

// The paragraphs of a game's rules from the rules texts file next to GAMES.DAT; empty when the
// file or the game is missing. `error` (optional) gets the reason.
std::vector<std::string> readGameRules(const std::string& installFolder, int gameId, std::string* error = nullptr);

// The HTML page of a game's rules: name, paragraphs and the pile list.
QString rulesPage(const QString& gameName, const std::vector<std::string>& paragraphs,
                  const std::vector<PileDescription>& piles);

// A modeless window reused for every page (rules and help).
class RulesViewer : public QDialog {
    Q_OBJECT
public:
    explicit RulesViewer(QWidget* parent = nullptr);
    // Shows a page; a click on one of its links calls `onLink` with the link's address (until the
    // next page is shown).
    void showPage(const QString& title, const QString& html, std::function<void(const QString& link)> onLink = {});
    QString text() const;

private:
    QTextBrowser* m_browser;
    std::function<void(const QString&)> m_onLink;
};

} // namespace cw::ui
