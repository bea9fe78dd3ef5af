// The message and confirmation window: caption band, message band and a bottom band with the
// buttons "はい" / "いいえ" (or "確認" alone for a notice). Its texts and geometry come from
// layoutCheck; this class only builds and shows the widgets.
#pragma once

#include "CheckLayout.h"

#include <QDialog>

class QLabel;
class QPushButton;

class TFormCheck : public QDialog {
    Q_OBJECT
  public:
    // Builds the window for a message (a line feed splits main line and bottom line), a caption
    // and a style (position * 10 + kind). Nothing is shown yet.
    TFormCheck(const QString& text, const QString& caption, int style, QWidget* parent = nullptr);

    // Places the window (on its parent's window, else on the screen) and shows it modally.
    // Returns 1 for "はい", 0 for "いいえ" / "確認", and when closed another way (Esc) the kind
    // digit, except 0 for kind 1 so that an unanswered question never reads as yes.
    int run();

    // The answer so far (CheckLayout::firstAnswer until a button is pressed).
    int answer() const { return answer_; }
    const CheckLayout& checkLayout() const { return layout_; }

    // The parts, for the desktop program's keyboard handling and for tests.
    QPushButton* yesButton() const { return yes_; }
    QPushButton* noButton() const { return no_; }
    QLabel* captionBand() const { return captionBand_; }
    QLabel* messageBand() const { return messageBand_; }
    QLabel* bottomText() const { return bottomText_; }
    QWidget* bottomBand() const { return bottomBand_; }

    // The font of every text of the window: a fixed-pitch Japanese Gothic at 16 pixels.
    static QFont checkFont(bool bold);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void answerWith(int value);

    CheckLayout layout_;
    int position_ = 0;
    int answer_ = 0;
    QLabel* captionBand_ = nullptr;
    QLabel* messageBand_ = nullptr;
    QWidget* bottomBand_ = nullptr;
    QLabel* bottomText_ = nullptr;
    QPushButton* yes_ = nullptr;
    QPushButton* no_ = nullptr;
};
