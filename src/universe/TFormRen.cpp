#include "TFormRen.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace {
constexpr int kWidth = 420;
constexpr int kHeight = 72;
constexpr int kFieldWidth = 400;
constexpr int kBelowPress = 16;
} // namespace

TFormRen::TFormRen(QWidget* grid, RenMode mode, const QString& text, QPoint pressPoint, Execute execute)
    : QWidget(grid), mode_(mode), execute_(std::move(execute)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kWidth, kHeight);
    EditName = new QLineEdit(text, this);
    EditName->setGeometry(10, 8, kFieldWidth, 26);
    EditName->setMaxLength(4096);
    btnCancel = new QPushButton(QStringLiteral("中止"), this);
    btnCancel->setGeometry(kWidth - 180, 40, 80, 26);
    btnRun = new QPushButton(QStringLiteral("実行"), this);
    btnRun->setGeometry(kWidth - 90, 40, 80, 26);
    static const char* const tips[] = {"[星]の名前(パス)を変更", "銀河の作成", "「星」名の変更", "階層の変更"};
    setToolTip(QString::fromUtf8(tips[static_cast<int>(mode)]));
    connect(btnCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(btnRun, &QPushButton::clicked, this, &TFormRen::execute);
    connect(EditName, &QLineEdit::returnPressed, this, &TFormRen::execute);

    const int maxX = qMax(0, grid->width() - kWidth);
    const int maxY = qMax(0, grid->height() - kHeight);
    move(qBound(0, pressPoint.x(), maxX), qBound(0, pressPoint.y() + kBelowPress, maxY));
    show();
    raise();
    EditName->setFocus();
    // The user types the new name after the path of a new galaxy; a rename edits the last part.
    EditName->end(false);
}

void TFormRen::execute() {
    if (execute_ && execute_(mode_, EditName->text())) close();
}

void TFormRen::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    close(); // a click on the background cancels
}

void TFormRen::closeEvent(QCloseEvent* event) {
    event->accept();
    if (onClosed) {
        auto closed = std::move(onClosed);
        onClosed = nullptr;
        closed();
    }
}

void TFormRen::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(160, 208, 224));
    p.setPen(QColor(0, 0, 64));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
