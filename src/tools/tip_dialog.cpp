// The "Tip of the Day" dialog: the hint, "&Next Tip", "&Previous Tip", "Show tips at startup" and "&Close".
#include "tools/tip_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/game_object.h"
#include "tools/core/tips.h"
#include "ui/dialog_base.h"

namespace cw::tools {

TipDialog::TipDialog(engine::TMainGame& game, QWidget* parent) : QDialog(parent), m_game(game)
{
    setObjectName(QStringLiteral("frmTips"));
    setWindowTitle(QStringLiteral("Tip of the Day"));
    ui::applyDialogFont(this);

    auto* heading = new QLabel(QStringLiteral("Did you know..."), this);
    QFont big = heading->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    heading->setFont(big);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("lblTip"));
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text->setMinimumSize(360, 90);
    m_text->setFrameShape(QFrame::StyledPanel);
    m_text->setMargin(10);
    m_text->setBackgroundRole(QPalette::Base);
    m_text->setAutoFillBackground(true);

    m_startup = new QCheckBox(QStringLiteral("Show tips at startup"), this);
    m_startup->setObjectName(QStringLiteral("chkStartup"));
    auto* next = new QPushButton(QStringLiteral("&Next Tip"), this);
    next->setObjectName(QStringLiteral("btnNextTip"));
    auto* previous = new QPushButton(QStringLiteral("&Previous Tip"), this);
    previous->setObjectName(QStringLiteral("btnPreviousTip"));
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("btnClose"));
    close->setDefault(true);
    connect(next, &QPushButton::clicked, this, &TipDialog::nextTip);
    connect(previous, &QPushButton::clicked, this, &TipDialog::previousTip);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_startup);
    buttons->addStretch(1);
    buttons->addWidget(previous);
    buttons->addWidget(next);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_text, 1);
    layout->addLayout(buttons);

    bool ok = false;
    const int stored = QString::fromStdString(m_game.preference("Tips_Num")).toInt(&ok);
    showTip(openingTip(ok ? stored : 0));
    m_startup->setChecked(m_game.preference("Tips_StartUp") == "Y");
}

QString TipDialog::tipText() const { return m_text->text(); }

void TipDialog::showTip(int tip)
{
    m_tip = tip;
    const std::string_view text = tipTexts()[static_cast<std::size_t>(tip)];
    m_text->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void TipDialog::nextTip() { showTip(tools::nextTip(m_tip)); }

void TipDialog::previousTip() { showTip(tools::previousTip(m_tip)); }

void TipDialog::done(int result)
{
    m_game.setPreference("Tips_Num", std::to_string(m_tip));
    m_game.setPreference("Tips_StartUp", m_startup->isChecked() ? "Y" : "N");
    QDialog::done(result);
}

} // namespace cw::tools
