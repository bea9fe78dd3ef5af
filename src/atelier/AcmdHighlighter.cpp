#include "AcmdHighlighter.h"

#include "AtelierModel.h"
#include "LineColouring.h"
#include "gallery/BgrColor.h"

AcmdHighlighter::AcmdHighlighter(QTextDocument* document, const AtelierModel& model)
    : QSyntaxHighlighter(document), model_(model) {}

void AcmdHighlighter::highlightBlock(const QString& text) {
    for (const ColourSpan& span : lineSpans(text)) {
        QTextCharFormat format;
        format.setForeground(QColor(bgrToRgb(model_.colour(span.pair))));
        if (span.bold) format.setFontWeight(QFont::Bold);
        setFormat(int(span.start), int(span.length), format);
    }
}
