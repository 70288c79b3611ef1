// The comments' rich text in the editor: QTextDocument to and from the runs the RTF files keep.
#include "tools/rich_text_qt.h"

#include <QBrush>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFragment>

#include <cmath>

namespace cw::tools {

namespace {

TextStyle styleOf(const QTextCharFormat& f)
{
    TextStyle s;
    s.bold = f.fontWeight() >= QFont::DemiBold;
    s.italic = f.fontItalic();
    s.underline = f.fontUnderline();
    if (f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0)
        s.halfPoints = static_cast<int>(std::lround(f.fontPointSize() * 2));
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        s.colour = static_cast<std::int32_t>(f.foreground().color().rgb() & 0xFFFFFF);
    return s;
}

QTextCharFormat formatOf(const TextStyle& s)
{
    QTextCharFormat f;
    f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(s.italic);
    f.setFontUnderline(s.underline);
    if (s.halfPoints > 0)
        f.setFontPointSize(s.halfPoints / 2.0);
    if (s.colour >= 0)
        f.setForeground(QColor::fromRgb(static_cast<QRgb>(s.colour) | 0xFF000000u));
    return f;
}

void fill(QTextCursor& cursor, const RichText& text)
{
    bool first = true;
    for (const Paragraph& p : text.paragraphs) {
        if (!first)
            cursor.insertBlock();
        first = false;
        for (const TextRun& r : p.runs)
            cursor.insertText(QString::fromStdString(r.text), formatOf(r.style));
    }
}

} // namespace

RichText richTextFromDocument(const QTextDocument& document)
{
    RichText text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        text.newParagraph();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const TextStyle style = styleOf(fragment.charFormat());
            const QString s = fragment.text();
            QString piece;
            for (QChar c : s) {
                if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
                    text.append(piece.toStdString(), style);
                    piece.clear();
                    text.newParagraph();
                } else if (c != QChar::ObjectReplacementCharacter) {
                    piece += c;
                }
            }
            text.append(piece.toStdString(), style);
        }
    }
    normalize(text);
    return text;
}

void setDocumentText(QTextDocument& document, const RichText& text)
{
    document.clear();
    QTextCursor cursor(&document);
    fill(cursor, text);
}

QTextDocumentFragment documentFragment(const RichText& text)
{
    QTextDocument scratch;
    QTextCursor cursor(&scratch);
    fill(cursor, text);
    return QTextDocumentFragment(&scratch);
}

} // namespace cw::tools
