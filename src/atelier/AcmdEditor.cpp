#include "AcmdEditor.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTextBlock>

namespace {

class NumberColumn : public QWidget {
public:
    explicit NumberColumn(AcmdEditor* editor) : QWidget(editor), editor_(editor) {
        setObjectName(QStringLiteral("RichEditNum"));
    }

protected:
    void paintEvent(QPaintEvent* event) override { editor_->paintNumbers(event); }

private:
    AcmdEditor* editor_;
};

} // namespace

AcmdEditor::AcmdEditor(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("RichEditAcmd"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    numbers_ = new NumberColumn(this);
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy != 0) numbers_->scroll(0, dy);
        else numbers_->update(0, rect.y(), numbers_->width(), rect.height());
    });
    connect(this, &QPlainTextEdit::blockCountChanged, numbers_, qOverload<>(&QWidget::update));
    setNumberWidth(numberWidth_);
    updateCaret();
}

void AcmdEditor::setNumberWidth(int pixels) {
    numberWidth_ = pixels;
    // The text starts 16 pixels right of the column, as the program editor's left margin.
    setViewportMargins(pixels + 16, 0, 0, 0);
    const QRect r = contentsRect();
    numbers_->setGeometry(r.left(), r.top(), pixels, r.height());
    updateCaret();
}

void AcmdEditor::setNumberColours(const QColor& text, const QColor& background) {
    numberText_ = text;
    numberBackground_ = background;
    numbers_->update();
}

void AcmdEditor::showLine(int line) {
    const QTextBlock block = document()->findBlockByNumber(line - 1);
    if (!block.isValid()) return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    centerCursor();
}

void AcmdEditor::paintNumbers(QPaintEvent* event) {
    QPainter painter(numbers_);
    painter.fillRect(event->rect(), numberBackground_);
    painter.setPen(numberText_);
    painter.setFont(font());
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    const int lineHeight = fontMetrics().height();
    while (block.isValid() && top <= event->rect().bottom()) {
        if (block.isVisible()) {
            painter.drawText(7, top, numberWidth_ - 7, lineHeight, Qt::AlignLeft | Qt::AlignVCenter,
                             QStringLiteral("%1").arg(block.blockNumber() + 1, 4, 10, QChar(u'0')));
        }
        top += qRound(blockBoundingRect(block).height());
        block = block.next();
    }
}

void AcmdEditor::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect r = contentsRect();
    numbers_->setGeometry(r.left(), r.top(), numberWidth_, r.height());
}

void AcmdEditor::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
        setOverwriteMode(!overwriteMode());
        updateCaret();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void AcmdEditor::updateCaret() { setCursorWidth(overwriteMode() ? 8 : 2); }
