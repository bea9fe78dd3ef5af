#include "TFormPath.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QThread>
#include <QVBoxLayout>

namespace {

constexpr int kRowHeight = 22;
constexpr int kChromeHeight = 148;
constexpr int kMaxWidth = 800;
constexpr int kLongList = 16;
const QColor kGridBack(0, 0, 64);
const QColor kCellBack(0, 0, 48);
const QColor kHighlight(0, 255, 208);
const QColor kPathText(0, 255, 128);
const QColor kFolderText(255, 255, 96);
const QColor kLines(128, 224, 192);
const QString kBandStyle = QStringLiteral("background: rgb(160,208,224);");

} // namespace

// The rows of the chooser, drawn as a small tree with connector lines.
class PathGrid : public QAbstractScrollArea {
public:
    explicit PathGrid(TFormPath& form) : QAbstractScrollArea(&form), form_(form) {
        setFocusPolicy(Qt::StrongFocus);
        viewport()->setAutoFillBackground(false);
        verticalScrollBar()->setSingleStep(1);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    int current = 0;

    void setCurrent(int row) {
        const int rows = form_.model().rowCount();
        current = qBound(0, row, qMax(0, rows - 1));
        const int top = verticalScrollBar()->value();
        if (current < top) verticalScrollBar()->setValue(current);
        else if (current >= top + fullRows()) verticalScrollBar()->setValue(current - fullRows() + 1);
        viewport()->update();
    }
    int fullRows() const { return qMax(1, viewport()->height() / kRowHeight); }
    void rowsChanged() {
        const int rows = form_.model().rowCount();
        verticalScrollBar()->setRange(0, qMax(0, rows - fullRows()));
        verticalScrollBar()->setPageStep(fullRows());
        viewport()->update();
    }
    // The row under a point; a press below the last fully visible row counts for the row above.
    int rowAt(int y) const {
        const int visible = qMin(y / kRowHeight, fullRows() - 1);
        return verticalScrollBar()->value() + visible;
    }
    // Pixels the widest entry needs.
    int textWidth() const {
        const QFontMetrics fm(font());
        const int u = 2 * fm.horizontalAdvance(u' ');
        int widest = 0;
        const PathChooser& m = form_.model();
        for (int r = 0; r < m.rowCount(); ++r)
            widest = qMax(widest, 2 * u * m.level(r) + u + fm.horizontalAdvance(m.rowText(r)));
        return widest;
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(viewport());
        p.fillRect(viewport()->rect(), kGridBack);
        const PathChooser& m = form_.model();
        const QFontMetrics fm(font());
        const int u = 2 * fm.horizontalAdvance(u' ');
        const int top = verticalScrollBar()->value();
        const int width = viewport()->width();
        for (int r = top; r < m.rowCount() && (r - top) * kRowHeight < viewport()->height(); ++r) {
            const int y = (r - top) * kRowHeight;
            p.fillRect(QRect(0, y, width, kRowHeight - 1), kCellBack);
            const int level = m.level(r);
            int x = 6;
            const int mid = y + kRowHeight / 2;
            if (r > 0) {
                const int lineX = 2 * u * level;
                x = lineX + u;
                p.setPen(kLines);
                const bool lastEntry = r == m.rowCount() - 1 || r < m.fixedRows();
                p.drawLine(lineX, y, lineX, lastEntry ? mid : y + kRowHeight);
                p.drawLine(lineX, mid, lineX + u - (r < m.fixedRows() ? 4 : 2), mid);
            }
            const QString text = m.rowText(r);
            const QRect box(x, y + 3, fm.horizontalAdvance(text), kRowHeight - 6);
            QColor colour = Qt::white;
            const PathChooser::RowKind kind = m.rowKind(r);
            if (m.highlighted(r, current)) {
                p.fillRect(box.adjusted(-1, -2, 1, 2), kHighlight);
                colour = kCellBack;
            } else if (kind == PathChooser::RowKind::Universe || kind == PathChooser::RowKind::PathRow) {
                colour = kPathText;
            } else if (kind == PathChooser::RowKind::Drive || kind == PathChooser::RowKind::Folder) {
                colour = kFolderText;
            }
            p.setPen(colour);
            p.drawText(QPoint(x, y + 3 + fm.ascent()), text);
            if (r == current && hasFocus()) {
                p.setPen(QPen(kHighlight, 1, Qt::DotLine));
                p.drawRect(QRect(0, y, width - 1, kRowHeight - 2));
            }
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        setFocus();
        const int row = rowAt(event->position().toPoint().y());
        if (row >= form_.model().rowCount()) return;
        current = row;
        form_.pressRow(row);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        const int row = rowAt(event->position().toPoint().y());
        if (row < form_.model().rowCount()) form_.doubleClickRow(row);
    }
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
        case Qt::Key_Up: setCurrent(current - 1); return;
        case Qt::Key_Down: setCurrent(current + 1); return;
        case Qt::Key_Home: setCurrent(0); return;
        case Qt::Key_End: setCurrent(form_.model().rowCount() - 1); return;
        case Qt::Key_PageUp: setCurrent(current - fullRows()); return;
        case Qt::Key_PageDown: setCurrent(current + fullRows()); return;
        case Qt::Key_Space: form_.pressRow(current); return;
        case Qt::Key_Backspace: // back to the folder above: its path row
            if (form_.model().fixedRows() >= 2) form_.pressRow(form_.model().fixedRows() - 2);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            // A file row is chosen at once; any other row is entered like a press.
            const bool file = form_.model().rowKind(current) == PathChooser::RowKind::File;
            form_.pressRow(current);
            if (file) form_.okClicked();
            return;
        }
        default: QAbstractScrollArea::keyPressEvent(event);
        }
    }
    void resizeEvent(QResizeEvent* event) override {
        QAbstractScrollArea::resizeEvent(event);
        rowsChanged();
    }

private:
    TFormPath& form_;
};

TFormPath::TFormPath(const QString& filter, const QString& message, const QString& path, QWidget* parent,
                     const QString& home, std::vector<DriveInfo> drives)
    : QDialog(parent), model_(std::make_unique<PathChooser>(filter, path, home, std::move(drives))) {
    setWindowTitle(model_->caption());
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    PanelMsg = new QLabel(message, this);
    PanelMsg->setStyleSheet(kBandStyle);
    PanelMsg->setFixedHeight(30);
    column->addWidget(PanelMsg);

    auto* middle = new QHBoxLayout;
    middle->setSpacing(0);
    sgPath = new PathGrid(*this);
    middle->addWidget(sgPath, 1);
    PanelRgtMove = new QWidget(this);
    PanelRgtMove->setFixedWidth(30);
    PanelRgtMove->setStyleSheet(kBandStyle);
    auto* moves = new QVBoxLayout(PanelRgtMove);
    moves->setContentsMargins(1, 2, 1, 2);
    auto moveButton = [&](const QString& text, const QString& tip) {
        auto* b = new QPushButton(text, PanelRgtMove);
        b->setToolTip(tip);
        b->setFixedSize(28, 40);
        b->setFocusPolicy(Qt::NoFocus);
        moves->addWidget(b);
        return b;
    };
    QPushButton* toTop = moveButton(QStringLiteral("〓\n▲"), QStringLiteral("最初の項目へ"));
    QPushButton* pageUp = moveButton(QStringLiteral("▲"), QStringLiteral("10 行上へ"));
    moves->addStretch(1);
    QPushButton* pageDown = moveButton(QStringLiteral("▼"), QStringLiteral("10 行下へ"));
    QPushButton* toBottom = moveButton(QStringLiteral("▼\n〓"), QStringLiteral("最後の行へ"));
    middle->addWidget(PanelRgtMove);
    column->addLayout(middle, 1);

    auto* bottom = new QWidget(this);
    bottom->setStyleSheet(kBandStyle);
    auto* row = new QHBoxLayout(bottom);
    editPath = new QLineEdit(model_->path(), bottom);
    editPath->setMaxLength(1023);
    btnHome = new QPushButton(QStringLiteral("Home"), bottom);
    btnHome->setEnabled(!home.isEmpty());
    if (home.isEmpty()) btnHome->setToolTip(QStringLiteral("ホームフォルダーが指定されていません"));
    btnOk = new QPushButton(QStringLiteral("OK"), bottom);
    btnCancel = new QPushButton(QStringLiteral("キャンセル"), bottom);
    for (QPushButton* b : {btnHome, btnOk, btnCancel}) b->setAutoDefault(false);
    auto* fieldColumn = new QVBoxLayout;
    fieldColumn->addWidget(editPath);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnHome);
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    fieldColumn->addLayout(buttons);
    row->addLayout(fieldColumn);
    column->addWidget(bottom);

    connect(btnOk, &QPushButton::clicked, this, &TFormPath::okClicked);
    connect(btnCancel, &QPushButton::clicked, this, &TFormPath::reject);
    connect(btnHome, &QPushButton::clicked, this, [this] {
        if (model_->goHome()) {
            editPath->setText(model_->path());
            refill();
        }
        sgPath->setFocus();
    });
    connect(editPath, &QLineEdit::textEdited, this, [this](const QString& text) {
        model_->editPath(text);
        refill();
    });
    connect(editPath, &QLineEdit::returnPressed, this, [this] {
        model_->editPath(editPath->text());
        finish();
    });
    auto stepTo = [this](int target) {
        // One row at a time, so the eye can follow where the cursor goes.
        while (sgPath->current != target) {
            sgPath->setCurrent(sgPath->current + (target > sgPath->current ? 1 : -1));
            sgPath->viewport()->repaint();
            QThread::msleep(10);
        }
        sgPath->setFocus();
    };
    connect(toTop, &QPushButton::clicked, this, [this, stepTo] { stepTo(model_->firstEntryRow()); });
    connect(toBottom, &QPushButton::clicked, this, [this, stepTo] { stepTo(model_->rowCount() - 1); });
    auto scrollBy = [this](int rows) {
        QScrollBar* bar = sgPath->verticalScrollBar();
        bar->setValue(qBound(qMin(model_->firstEntryRow(), bar->maximum()), bar->value() + rows, bar->maximum()));
        sgPath->setFocus();
    };
    connect(pageUp, &QPushButton::clicked, this, [scrollBy] { scrollBy(-10); });
    connect(pageDown, &QPushButton::clicked, this, [scrollBy] { scrollBy(10); });

    const int messageWidth = PanelMsg->fontMetrics().horizontalAdvance(message) + 64;
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                          : QRect(0, 0, 1280, 800);
    const QRect bounds = parent ? QRect(parent->mapToGlobal(QPoint(0, 0)), parent->size()) : screen;
    heightLimit_ = bounds.height() - bounds.height() / 10;
    longListTop_ = bounds.top() + 10;
    resize(qMax(100, messageWidth), 200);
    refill();
    move(bounds.center() - QPoint(width() / 2, height() / 2));
    sgPath->setFocus();
}

TFormPath::~TFormPath() = default;

QString TFormPath::choose(const QString& filter, const QString& message, const QString& path, QWidget* parent,
                          const QString& home) {
    TFormPath form(filter, message, path, parent, home);
    form.exec();
    return form.chosenPath();
}

QWidget* TFormPath::grid() const { return sgPath; }
int TFormPath::currentRow() const { return sgPath->current; }
bool TFormPath::scrollColumnShown() const { return PanelRgtMove->isVisibleTo(this); }

void TFormPath::refill() {
    const int rows = model_->rowCount();
    const int wanted = kRowHeight * rows + kChromeHeight;
    const bool limited = heightLimit_ > 0 && wanted > heightLimit_;
    PanelRgtMove->setVisible(limited);
    const int wide = sgPath->textWidth() + 56 + (limited ? PanelRgtMove->width() : 0);
    const int newWidth = wide < kMaxWidth && wide > width() ? wide : width();
    resize(newWidth, limited ? heightLimit_ : wanted);
    if (rows > kLongList && longListTop_ >= 0 && isWindow()) move(x(), longListTop_);
    if (sgPath->current >= rows) sgPath->current = rows - 1;
    sgPath->rowsChanged();
}

void TFormPath::pressRow(int row) {
    sgPath->current = row;
    if (model_->press(row)) {
        editPath->setText(model_->path());
        refill();
        if (sgPath->current >= model_->rowCount()) sgPath->current = model_->fixedRows() - 1;
    }
    sgPath->viewport()->update();
}

void TFormPath::doubleClickRow(int row) {
    (void)row; // the press before it has already entered or picked the row
    model_->editPath(editPath->text());
    finish();
}

void TFormPath::okClicked() {
    model_->editPath(editPath->text());
    if (!model_->accept()) {
        sgPath->setCurrent(model_->firstEntryRow());
        sgPath->setFocus();
        return;
    }
    finish();
}

void TFormPath::finish() {
    done_ = true;
    accept();
}

void TFormPath::reject() {
    // Escape or the title bar's close: nothing chosen.
    done_ = false;
    QDialog::reject();
}

void TFormPath::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    sgPath->rowsChanged();
}
