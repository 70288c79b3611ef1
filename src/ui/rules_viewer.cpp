// The rules viewer: a window with a game's rules text and what its piles do, or the help overview.
#include "ui/rules_viewer.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "catalog/catalog_source.h"
#include "catalog/definitions.h"
#include "ui/dialog_base.h"

namespace cw::ui {

namespace {

QString esc(const std::string& s) { return QString::fromStdString(s).toHtmlEscaped(); }

// Suit marks of the rule texts as the suit symbols.
QString withSuits(QString html)
{
    html.replace(QStringLiteral("[h]"), QStringLiteral("<span style='color:#c00000'>&#9829;</span>"));
    html.replace(QStringLiteral("[d]"), QStringLiteral("<span style='color:#c00000'>&#9830;</span>"));
    html.replace(QStringLiteral("[c]"), QStringLiteral("&#9827;"));
    html.replace(QStringLiteral("[s]"), QStringLiteral("&#9824;"));
    return html;
}

} // namespace

std::vector<std::string> readGameRules(const std::string& installFolder, int gameId, std::string* error)
{
    const std::string path = installFolder + std::string(catalog::kRulesTextsFileName);
    auto text = catalog::ReadWholeFile(path);
    if (!text) {
        if (error)
            *error = "Cannot read " + path;
        return {};
    }
    auto read = catalog::readRulesTexts(text.value(), path);
    if (!read) {
        if (error)
            *error = read.error();
        return {};
    }
    for (const catalog::RulesText& r : read.value())
        if (r.id == gameId)
            return r.paragraphs;
    if (error)
        *error = "No rules text for this game in " + path;
    return {};
}

QString rulesPage(const QString& gameName, const std::vector<std::string>& paragraphs,
                  const std::vector<PileDescription>& piles)
{
    QString html = QStringLiteral("<h2>%1</h2>").arg(gameName.toHtmlEscaped());
    if (paragraphs.empty())
        html += QStringLiteral("<p><i>No rules text is available for this game.</i></p>");
    for (const std::string& p : paragraphs)
        html += QStringLiteral("<p>%1</p>").arg(esc(p));
    if (!piles.empty()) {
        html += QStringLiteral("<h3>The piles</h3><table cellspacing='0' cellpadding='4'>");
        for (const PileDescription& d : piles) {
            QString text = esc(d.description);
            if (!d.redeal.empty())
                text += QStringLiteral("<br>") + esc(d.redeal);
            html += QStringLiteral("<tr><td valign='top'><b>%1</b></td><td>%2</td></tr>").arg(esc(d.type), text);
        }
        html += QStringLiteral("</table>");
    }
    return withSuits(html);
}

RulesViewer::RulesViewer(QWidget* parent) : QDialog(parent)
{
    applyDialogFont(this);
    setObjectName(QStringLiteral("rules"));
    m_browser = new QTextBrowser(this);
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (m_onLink) {
            const auto onLink = m_onLink;  // the handler may show another page
            onLink(url.toString());
        }
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser);
    layout->addWidget(buttons);
    resize(560, 600);
}

void RulesViewer::showPage(const QString& title, const QString& html, std::function<void(const QString&)> onLink)
{
    m_onLink = std::move(onLink);
    setWindowTitle(title);
    m_browser->setHtml(html);
    show();
    raise();
    activateWindow();
}

QString RulesViewer::text() const { return m_browser->toPlainText(); }

} // namespace cw::ui
