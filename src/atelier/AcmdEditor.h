// The Atelier's program editor (`RichEditAcmd`) with its line-number column (`RichEditNum`)
// painted in the left margin: numbers "%04d", one per line, scrolled with the text.
#pragma once

#include <QPlainTextEdit>
#include <QTextBlock>

class AcmdEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit AcmdEditor(QWidget* parent = nullptr);

    // Width of the number column in pixels (4 × the font size in the Atelier).
    void setNumberWidth(int pixels);
    void setNumberColours(const QColor& text, const QColor& background);
    QWidget* numberColumn() const { return numbers_; }
    // The first line shown (0-based). Cost: constant.
    int firstVisibleLine() const { return firstVisibleBlock().blockNumber(); }
    // Insert mode (2-pixel caret) or overwrite mode (8-pixel caret); Insert flips it.
    bool insertMode() const { return !overwriteMode(); }
    // Scrolls line `line` (1-based) into view and selects it. Cost: a layout of the lines above.
    void showLine(int line);

    // Paints the numbers of the visible lines into the column.
    void paintNumbers(QPaintEvent* event);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void updateCaret();

    QWidget* numbers_ = nullptr;
    int numberWidth_ = 48;
    QColor numberText_{0xF0, 0xF0, 0xFF};
    QColor numberBackground_{Qt::black};
};
