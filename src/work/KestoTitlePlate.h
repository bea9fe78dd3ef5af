// The title plate of a work window (`PanelTheme`): the work's title on a plate under (or, at list
// size, above) the window, with the chart button `PanelMsgBtn` and the music button `PanelMusic`
// at its right end. It lives on the gallery's exhibition area, beside the window rather than in it.
#pragma once

#include <QLabel>

#include <functional>

class KestoTitlePlate : public QLabel {
public:
    explicit KestoTitlePlate(QWidget* parent = nullptr);

    // The chart symbol of a chart kind: "◆◇■□★▲●" for "http:", "file:", "text:", "html:",
    // "imag:", "tbl0:", "exec:" (0 to 6); "◆" for any other. Cost: constant.
    static QString chartSymbol(int kind);

    // Shows or hides the chart button with a symbol. Cost: constant.
    void setChartButton(const QString& symbol, bool visible);
    // Shows or hides the music button "♪". Cost: constant.
    void setMusicButton(bool visible);
    // The width the shown buttons take at the plate's right end (24 per button). Cost: constant.
    int buttonsWidth() const;
    // Gives the plate a place, font size and colours (RGB); the buttons stay at its right end.
    // Cost: constant.
    void place(const QRect& rect, int fontSize, QColor background, QColor text);

    QLabel* chartButton() const { return PanelMsgBtn; }
    QLabel* musicButton() const { return PanelMusic; }

    // "◆" pressed (mouse down) and "♪" clicked.
    std::function<void()> onChartButton;
    std::function<void()> onMusicButton;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeButtons();

    QLabel* PanelMsgBtn = nullptr;
    QLabel* PanelMusic = nullptr;
};
