#include "TFormHelp.h"

#include "common/ProgramFont.h"
#include "AtelierWidgets.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

constexpr int kDesignWidth = 992;
constexpr int kDesignHeight = 596;
constexpr uint32_t kBandColour = 0x500000;
constexpr uint32_t kTextBackground = 0x400000;
constexpr uint32_t kDefaultColour = 0xFFFF80;
constexpr uint32_t kMissingColour = 0x8000FF;
constexpr uint32_t kHeaderColour = 0xC0FFC0;
constexpr uint32_t kBodyColour = 0xFFFFFF;
const QString kFloatHint = QStringLiteral("大宇宙から宙に飛び出す");
const QString kDockHint = QStringLiteral("大宇宙に戻る");



QPushButton* smallButton(QWidget* parent, const QString& caption, QRect place, const QColor& colour) {
    auto* b = new QPushButton(caption, parent);
    b->setGeometry(place);
    b->setFont(programFont(QStringLiteral("ＭＳ Ｐゴシック"), 13, true));
    b->setFocusPolicy(Qt::NoFocus);
    b->setStyleSheet(QStringLiteral("QPushButton{color:%1;}").arg(colour.name()));
    return b;
}

void add(QTextCursor& cursor, const QString& text, uint32_t colour, int points) {
    QTextCharFormat format;
    format.setForeground(colourOf(colour));
    format.setFontPointSize(points);
    cursor.insertText(text, format);
}

} // namespace

TFormHelp::TFormHelp(const QString& homeFolder, QWidget* dockArea, int helpMode, QWidget* panel)
    : QWidget(panel), homeFolder_(homeFolder), dockArea_(dockArea), helpMode_(helpMode) {
    setObjectName(QStringLiteral("TFormHelp"));
    setWindowTitle(QStringLiteral("ヴィモラ  アート の ヘルプ"));
    QFont font = programFont(QStringLiteral("ＭＳ Ｐゴシック"), 15, true, true);
    setFont(font);
    if (!panel) setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint);
    fillBackground(this, kTextBackground);
    build();
    const QSize area = dockArea_ ? dockArea_->size() : QSize(kDesignWidth, kDesignHeight + 40);
    const int width = std::min(kDesignWidth, std::max(320, area.width() - 20));
    const int height = std::max(120, area.height() - 40);
    setGeometry((area.width() - width) / 2, (area.height() - height) / 2, width, height);
    hide();
}

TFormHelp::~TFormHelp() = default;

void TFormHelp::build() {
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->setSpacing(0);

    PanelTop = new QWidget(this);
    PanelTop->setFixedHeight(36);
    fillBackground(PanelTop, kBandColour);
    bbtnFree = smallButton(PanelTop, QStringLiteral("宙"), {8, 8, 28, 22}, Qt::darkRed);
    bbtnFree->setToolTip(kFloatHint);
    bbtnTop = smallButton(PanelTop, QStringLiteral("頂"), {42, 8, 28, 22}, Qt::darkBlue);
    bbtnDetail = smallButton(PanelTop, QStringLiteral("詳細"), {76, 8, 48, 22}, Qt::darkRed);
    PanelNebu = new QLabel(QStringLiteral("NEBU"), PanelTop);
    PanelNebu->setGeometry(144, 8, 64, 24);
    PanelNebu->setAlignment(Qt::AlignCenter);
    PanelNebu->setFont(programFont(QStringLiteral("ＭＳ Ｐゴシック"), 16, true));
    PanelNebu->setCursor(Qt::PointingHandCursor);
    PanelNebu->setToolTip(QStringLiteral(" ファイル宇宙 NEBU のヘルプを表示します "));
    fillBackground(PanelNebu, 0xE0E0E0);
    QPalette green = PanelNebu->palette();
    green.setColor(QPalette::WindowText, QColor(0, 128, 0));
    PanelNebu->setPalette(green);
    PanelNebu->installEventFilter(this);
    auto* title = new QLabel(QStringLiteral("Vimora Art"), PanelTop);
    title->setFont(programFont(QStringLiteral("Times New Roman"), 24, true, true));
    QPalette teal = title->palette();
    teal.setColor(QPalette::WindowText, QColor(0, 128, 128));
    title->setPalette(teal);
    title->setGeometry(232, 2, 240, 32);
    PanelRgt = new QWidget(PanelTop);
    fillBackground(PanelRgt, kBandColour);
    PanelTop->installEventFilter(this); // PanelRgt keeps to its right edge
    bbtnEnd = smallButton(PanelRgt, QStringLiteral("閉じる"), {64, 8, 56, 22}, Qt::darkRed);
    connect(bbtnFree, &QPushButton::clicked, this, &TFormHelp::toggleFloat);
    connect(bbtnTop, &QPushButton::clicked, this, [this] {
        richEditHelp->moveCursor(QTextCursor::Start);
        richEditHelp->setFocus();
    });
    connect(bbtnDetail, &QPushButton::clicked, this, [this] {
        helpMode_ = helpMode_ == HelpFull ? HelpBrief : HelpFull;
        loadHelp();
    });
    connect(bbtnEnd, &QPushButton::clicked, this, &TFormHelp::closeHelp);
    whole->addWidget(PanelTop);

    richEditHelp = new QTextEdit(this);
    richEditHelp->setObjectName(QStringLiteral("richEditHelp"));
    richEditHelp->setFrameShape(QFrame::NoFrame);
    // What is typed here would never be stored: the text is for reading and selecting only.
    richEditHelp->setReadOnly(true);
    richEditHelp->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    richEditHelp->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    richEditHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    richEditHelp->setLineWrapMode(QTextEdit::NoWrap);
    richEditHelp->setFont(programFont(QStringLiteral("ＭＳ ゴシック"), 12));
    richEditHelp->setStyleSheet(QStringLiteral("QTextEdit{background:%1;}").arg(colourOf(kTextBackground).name()));
    richEditHelp->document()->setDocumentMargin(10);
    richEditHelp->installEventFilter(this);
    whole->addWidget(richEditHelp, 1);

    PanelBtm = new QWidget(this);
    PanelBtm->setFixedHeight(16);
    fillBackground(PanelBtm, kBandColour);
    whole->addWidget(PanelBtm);
}

QPushButton* TFormHelp::button(const QString& caption) const {
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->text() == caption) return b;
    return nullptr;
}

void TFormHelp::setPlace(int helpMode, QWidget* panel) {
    helpMode_ = helpMode;
    if (!isFloating() && panel && panel != parentWidget()) setParent(panel);
}

void TFormHelp::showHelp() {
    loadHelp();
    if (!isFloating() && parentWidget()) {
        const int height = std::max(120, parentWidget()->height() - 40);
        centreIn(parentWidget(), height, (parentWidget()->height() - height) / 2);
    }
    show();
    raise();
    richEditHelp->moveCursor(QTextCursor::Start);
    richEditHelp->setFocus();
}

void TFormHelp::centreIn(QWidget* parent, int height, int top) {
    const int width = std::min(kDesignWidth, std::max(320, parent->width() - 20));
    setGeometry((parent->width() - width) / 2, top, width, height);
}

void TFormHelp::loadHelp() {
    const QString path = helpFilePath(homeFolder_, helpMode_);
    if (helpMode_ == HelpBrief) bbtnDetail->setText(QStringLiteral("詳細"));
    if (helpMode_ == HelpFull) bbtnDetail->setText(QStringLiteral("簡易"));
    richEditHelp->clear();
    QTextCursor cursor(richEditHelp->document());
    const HelpText help = readHelpText(path);
    switch (help.status) {
    case HelpText::Missing: add(cursor, QStringLiteral("ヘルプファイルが見つかりません!!!"), kMissingColour, 14); break;
    case HelpText::Unreadable: add(cursor, QStringLiteral("ヘルプファイルを読み込めません!!!"), kMissingColour, 14); break;
    case HelpText::Empty: add(cursor, QStringLiteral("ヘルプファイルに文字がありません!!!"), kMissingColour, 14); break;
    case HelpText::Shown:
        for (qsizetype i = 0; i < help.header.size(); ++i)
            add(cursor, help.header[i] + (i + 1 < help.header.size() || !help.body.isEmpty() ? u"\n"_qs : QString()), kHeaderColour, 10);
        add(cursor, help.body, kBodyColour, 10);
        break;
    }
    // A fault is never an empty window: the file it looked for is named under the message.
    if (help.status != HelpText::Shown)
        add(cursor, u"\n"_qs + path + (help.fault.isEmpty() || help.status == HelpText::Missing ? QString() : u"\n"_qs + help.fault),
            kDefaultColour, 10);
    richEditHelp->moveCursor(QTextCursor::Start);
    richEditHelp->setFocus();
}

void TFormHelp::toggleFloat() {
    if (!isFloating()) {
        const QRect global(mapToGlobal(QPoint(0, 0)), size());
        setParent(nullptr, Qt::Window | Qt::WindowStaysOnTopHint);
        setGeometry(global);
        bbtnFree->setText(QStringLiteral("戻"));
        bbtnFree->setToolTip(kDockHint);
    } else if (dockArea_) {
        setParent(dockArea_, Qt::Widget);
        centreIn(dockArea_, std::max(120, dockArea_->height() - 100), 0);
        bbtnFree->setText(QStringLiteral("宙"));
        bbtnFree->setToolTip(kFloatHint);
    }
    show();
    raise();
    richEditHelp->setFocus();
}

bool TFormHelp::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PanelTop && event->type() == QEvent::Resize) {
        PanelRgt->setGeometry(PanelTop->width() - 128, 0, 128, PanelTop->height());
        return false;
    }
    if (watched == PanelNebu && event->type() == QEvent::MouseButtonRelease) {
        helpMode_ = HelpUniverse;
        loadHelp();
        return true;
    }
    if (watched == richEditHelp && event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Q) {
            closeHelp();
            return true;
        }
        if (key == Qt::Key_W) {
            toggleFloat();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
