// The comments' rich text in the editor: QTextDocument to and from the runs the RTF files keep.
#pragma once

#include "tools/core/rtf.h"

class QTextDocument;
class QTextDocumentFragment;

namespace cw::tools {

// The document's text as runs: bold, italic, underline, point size and colour are kept; pictures
// and every other format are not. A line break inside a paragraph starts a new paragraph.
RichText richTextFromDocument(const QTextDocument& document);
// Replaces the document's content with the text (its default font stands for the default size).
void setDocumentText(QTextDocument& document, const RichText& text);
// The text as a piece to insert into a document.
QTextDocumentFragment documentFragment(const RichText& text);

} // namespace cw::tools
