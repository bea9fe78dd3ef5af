#include "TFormAtelier.h"

#include "AcmdEditor.h"
#include "AcmdHighlighter.h"
#include "AtelierGrids.h"
#include "AtelierHelpText.h"
#include "AtelierText.h"
#include "CommandReference.h"
#include "ProgramSaver.h"
#include "TFormAtelie2.h"
#include "common/PanelDrag.h"
#include "common/ProgramFont.h"
#include "common/ShowCheck.h"
#include "common/TextFile.h"
#include "AtelierWidgets.h"
#include "script/KeywordForms.h"
#include "work/TFormKesto.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextEdit>

namespace {

constexpr int kMenuPanelWidth = 180;
constexpr int kValuesWidth = 240;
constexpr int kModePanelWidth = 176;



QLabel* label(QWidget* parent, const QString& text, uint32_t textColour, uint32_t background, const QFont& font) {
    auto* l = new QLabel(text, parent);
    l->setFont(font);
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, colourOf(textColour));
    palette.setColor(QPalette::Window, colourOf(background));
    l->setPalette(palette);
    l->setAutoFillBackground(true);
    return l;
}

QPushButton* button(QWidget* parent, const QString& text, uint32_t textColour, uint32_t background) {
    auto* b = new QPushButton(text, parent);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFont(programFont(QStringLiteral("ＭＳ Ｐゴシック"), 14, true));
    b->setStyleSheet(QStringLiteral("QPushButton{color:%1;background:%2;border:1px solid #606060;}")
                         .arg(colourOf(textColour).name(), colourOf(background).name()));
    return b;
}

} // namespace

TFormAtelier::TFormAtelier(AtelierHost& host) : QWidget(host.exhibitionArea()), host_(host) {
    setObjectName(QStringLiteral("TFormAtelier"));
    setWindowTitle(QStringLiteral("vra Atelier"));
    if (!host.exhibitionArea()) setWindowFlag(Qt::Window);
    fillBackground(this, 0x201800);
    build();
    TimerAtelier.setInterval(100);
    connect(&TimerAtelier, &QTimer::timeout, this, &TFormAtelier::TimerAtelierTimer);
    readData();
    if (TFormKesto* window = host_.currentWindow()) window->runner().switchFrameTimer(false);
    hide();
}

TFormAtelier::~TFormAtelier() = default;

void TFormAtelier::build() {
    PanelAtelier = label(this, QStringLiteral("アトリエ"), 0xC0FFA0, 0x201800,
                         programFont(QStringLiteral("ＭＳ Ｐゴシック"), 37, true, true));
    PanelAtelier->setObjectName(QStringLiteral("PanelAtelier"));
    PanelAtelier->adjustSize();

    PanelSgCtrl = new QWidget(this);
    fillBackground(PanelSgCtrl, 0x302000);
    sgCtrl = new MenuGrid(model_, [this] { return workRunning(); }, PanelSgCtrl);
    sgCtrl->move(10, 10);
    PanelSgCtrl->resize(kMenuPanelWidth, sgCtrl->height() + 20);
    PanelSgCtrl->setMouseTracking(true);
    PanelSgCtrl->installEventFilter(this);
    connect(sgCtrl, &MenuGrid::commandChosen, this, &TFormAtelier::runCommand);

    PanelMid = new QWidget(this);
    fillBackground(PanelMid, 0x302000);
    PanelMid->setMouseTracking(true);
    PanelMid->installEventFilter(this);
    const QFont small = programFont(QStringLiteral("ＭＳ ゴシック"), 13, true);
    PanelNum = label(PanelMid, QString(), 0xE0F0E0, 0x302000, small);
    PanelNum->setObjectName(QStringLiteral("PanelNum"));
    PanelAcmdPath = label(PanelMid, QString(), 0xF0E0D0, 0x302000, small);
    PanelAcmdPath->setObjectName(QStringLiteral("PanelAcmdPath"));
    RichEditAcmd = new AcmdEditor(PanelMid);
    highlighter_ = new AcmdHighlighter(RichEditAcmd->document(), model_);
    connect(RichEditAcmd, &QPlainTextEdit::textChanged, this, &TFormAtelier::textChanged);
    connect(RichEditAcmd, &QPlainTextEdit::cursorPositionChanged, this, &TFormAtelier::updateStatus);
    PanelTransfer = label(PanelMid, QStringLiteral("変 換 中"), 0xFFFFFF, 0x800000,
                          programFont(QStringLiteral("ＭＳ Ｐゴシック"), 24, true));
    PanelTransfer->setAlignment(Qt::AlignCenter);
    PanelTransfer->resize(200, 60);
    PanelTransfer->hide();

    PanelSgBasic = new QWidget(this);
    fillBackground(PanelSgBasic, 0x302000);
    auto* modeTitle = label(PanelSgBasic, QStringLiteral("Kesto Basic"), 0xC0FFA0, 0x302000,
                            programFont(QStringLiteral("ＭＳ Ｐゴシック"), 18, true, true));
    modeTitle->setAlignment(Qt::AlignCenter);
    modeTitle->setGeometry(0, 4, kModePanelWidth, 28);
    sgMode = new CategoryGrid(model_, PanelSgBasic);
    sgMode->setGeometry(8, 36, kModePanelWidth - 16, sgMode->height());
    connect(sgMode, &CategoryGrid::categoryChosen, this, [this](int row) {
        selectCategory(row);
        referenceScroll->setFocus();
    });
    PanelSgModeBtm = button(PanelSgBasic, QStringLiteral("説明の行拡張"), 0xE0F0E0, 0x403000);
    PanelSgModeBtm->setGeometry(8, 36 + sgMode->height() + 8, kModePanelWidth - 16, 24);
    connect(PanelSgModeBtm, &QPushButton::clicked, this, &TFormAtelier::setExpanded);
    referenceScroll = new QScrollArea(PanelSgBasic);
    referenceScroll->setFrameShape(QFrame::NoFrame);
    referenceScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    referenceScroll->setWidgetResizable(false);
    fillBackground(referenceScroll->viewport(), 0x302000);
    sgKestoBasic = new ReferenceGrid(model_, nullptr);
    referenceScroll->setWidget(sgKestoBasic);

    PanelRgt = new QWidget(this);
    fillBackground(PanelRgt, 0x302000);
    auto* valTitle = label(PanelRgt, QStringLiteral("変数と定数の情報"), 0xD0FFC0, 0x302000,
                           programFont(QStringLiteral("ＭＳ Ｐゴシック"), 15, true));
    valTitle->setObjectName(QStringLiteral("PanelVal"));
    valTitle->setAlignment(Qt::AlignCenter);
    valTitle->setGeometry(0, 4, kValuesWidth, 24);
    sgValue = new QTableWidget(1, 3, PanelRgt);
    sgValue->setObjectName(QStringLiteral("sgValue"));
    sgValue->horizontalHeader()->hide();
    sgValue->verticalHeader()->hide();
    sgValue->verticalHeader()->setDefaultSectionSize(20);
    sgValue->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgValue->setSelectionMode(QAbstractItemView::NoSelection);
    sgValue->setFont(programFont(QStringLiteral("ＭＳ ゴシック"), 12));
    sgValue->setStyleSheet(QStringLiteral("QTableWidget{background:#002040;gridline-color:#405060;}"));
    sgValue->setColumnWidth(0, 40);
    sgValue->setColumnWidth(1, 92);
    sgValue->horizontalHeader()->setStretchLastSection(true);

    PanelMsgAtelier = new QWidget(this);
    fillBackground(PanelMsgAtelier, 0x302000);
    auto* helpTop = label(PanelMsgAtelier, QStringLiteral("「動的美しさ」工房へ　ようこそ"), 0xC0FFA0, 0x403000,
                          programFont(QStringLiteral("ＭＳ Ｐゴシック"), 15, true));
    helpTop->setObjectName(QStringLiteral("PanelHelpTop"));
    helpTop->setGeometry(0, 0, 720, 26);
    auto* helpClose = button(PanelMsgAtelier, QStringLiteral("×"), 0xFFFFFF, 0x000080);
    helpClose->setGeometry(720 - 28, 2, 24, 22);
    connect(helpClose, &QPushButton::clicked, PanelMsgAtelier, &QWidget::hide);
    RichEditMsg = new QTextEdit(PanelMsgAtelier);
    RichEditMsg->setReadOnly(true);
    RichEditMsg->setGeometry(0, 26, 720, 374);
    RichEditMsg->setStyleSheet(QStringLiteral("QTextEdit{background:#000000;padding-left:10px;}"));
    PanelMsgAtelier->resize(720, 400);
    PanelMsgAtelier->hide();

    PanelCtrl = new QWidget(this);
    PanelFree = button(PanelCtrl, QStringLiteral("宙"), 0x80FFFF, 0x403000);
    PanelFree->setGeometry(0, 0, 40, 26);
    PanelFree->setToolTip(QStringLiteral(" アトリエを独立した窓にします "));
    PanelClose = button(PanelCtrl, QStringLiteral("閉じる"), 0xFFFFFF, 0x000080);
    PanelClose->setGeometry(46, 0, 70, 26);
    PanelCtrl->resize(116, 26);
    connect(PanelFree, &QPushButton::clicked, this, &TFormAtelier::toggleFloat);
    connect(PanelClose, &QPushButton::clicked, this, &TFormAtelier::closeAtelier);
}

void TFormAtelier::readData() {
    const QString folder = host_.homeFolder() + QStringLiteral("atelier/");
    const QString colourPath = folder + QStringLiteral("color.txt");
    if (!model_.colours().readFile(colourPath)) {
        const bool wasOn = TimerAtelier.isActive();
        TimerAtelier.stop(); // the message window must not let the Atelier's ticks run meanwhile
        showCheck(QStringLiteral("カラー設定のファイルが見つかりません！"), colourPath, 0);
        if (wasOn) TimerAtelier.start();
    }
    readDescriptionFile(folder + QStringLiteral("help_cmd.txt"));
    helpLines_.clear();
    readTextLines(folder + QStringLiteral("atelier.txt"), helpLines_);
    fillHelpPanel(true);
    applyBoard();
}

void TFormAtelier::fillHelpPanel(bool styled) {
    RichEditMsg->clear();
    QTextCursor cursor(RichEditMsg->document());
    for (const HelpPiece& piece : helpPieces(helpLines_, styled)) {
        QTextCharFormat format;
        format.setForeground(colourOf(piece.colour));
        format.setFontPointSize(piece.size);
        cursor.insertText(piece.text, format);
    }
}

void TFormAtelier::showHelpPanel() {
    fillHelpPanel(false);
    PanelMsgAtelier->resize(720, 400);
    PanelMsgAtelier->move(std::max(0, (width() - PanelMsgAtelier->width()) / 2), height() - PanelMsgAtelier->height() - 12);
    PanelMsgAtelier->show();
    PanelMsgAtelier->raise();
    RichEditMsg->moveCursor(QTextCursor::Start);
}

// ---- show and close ----

void TFormAtelier::open() {
    editedWindow_ = host_.currentWindow();
    if (!editedWindow_) return;
    windowHome_ = editedWindow_->pos();
    model_.setSavedWhileOpen(false);
    markedLine_ = -1;
    place();
    selectCategory(kFirstCategory);
    loadIntoEditor();
    RichEditAcmd->setOverwriteMode(false);
    RichEditAcmd->setCursorWidth(2);
    lastRunning_ = workRunning();
    show();
    raise();
    PanelMsgAtelier->raise();
    RichEditAcmd->setFocus();
    TimerAtelier.start();
}

void TFormAtelier::closeAtelier() {
    if (TFormKesto* window = editedWindow_) {
        if (askToSave(model_.changedMark())) saveProgram(false);
        RichEditAcmd->document()->setModified(false);
        model_.setChangedMark(false);
        if (!window->isFloating()) window->move(windowHome_);
        window->runner().placeTitlePlate();
        host_.showAllWindows(true);
        if (model_.savedWhileOpen()) host_.refreshWork(*window);
        window->show();
        editedWindow_ = nullptr;
    }
    TimerAtelier.stop();
    hide();
    host_.atelierClosed();
}

void TFormAtelier::closeEvent(QCloseEvent* event) {
    event->ignore();
    closeAtelier();
}

// ---- menu ----

void TFormAtelier::runCommand(int row) {
    TFormKesto* window = editedWindow_;
    switch (row) {
    case CmdLayout: layoutCycle(); break;
    case CmdNew: newProgram(); break;
    case CmdLoad: loadProgram(); break;
    case CmdSaveAs: saveProgram(false); break;
    case CmdOverwrite: saveProgram(true); break;
    case CmdConvert: convertText(); break;
    case CmdRevert: loadIntoEditor(); break;
    case CmdBoard:
        model_.flipBoard();
        applyBoard();
        break;
    case CmdFontUp:
        model_.growFont();
        applyFont();
        break;
    case CmdFontDown:
        model_.shrinkFont();
        applyFont();
        break;
    case CmdApply: applyToWork(); break;
    case CmdRun:
        if (!window) break;
        if (window->runner().running()) {
            window->runner().breakProgram();
        } else {
            window->raise();
            markLine(-1);
            window->runner().toggleRun();
        }
        break;
    case CmdWorkshop: {
        TFormAtelie2 workshop(host_.homeFolder(), this);
        workshop.exec();
        break;
    }
    case CmdHelp: showHelpPanel(); break;
    default: break;
    }
    if (row == CmdLayout || row == CmdNew) selectCategory(model_.category());
    sgCtrl->update();
}

bool TFormAtelier::saveUnsavedFirst() {
    if (!model_.changedMark()) return true;
    if (!askToSave(true)) return true;
    saveProgram(false);
    // A save the user broke off keeps the edits: nothing new is loaded over them.
    return !model_.changedMark();
}

void TFormAtelier::newProgram() {
    if (!editedWindow_ || !saveUnsavedFirst()) return;
    RichEditAcmd->setPlainText(newProgramLines().join(u'\n'));
    applyToWork();
    shownPath_ = QStringLiteral("無題");
    PanelAcmdPath->setText(shownPath_);
    recolourAll();
    RichEditAcmd->document()->setModified(false);
    model_.setChangedMark(false);
    editedWindow_->runner().restartProgram();
}

void TFormAtelier::loadProgram() {
    TFormKesto* window = editedWindow_;
    if (!window || !saveUnsavedFirst()) return;
    // The chooser replaces the program only when a program was chosen and read: a cancelled
    // choice keeps the work as it is.
    if (!host_.loadByChooser(*window)) return;
    loadIntoEditor();
    window->runner().restartProgram();
    showWork();
    model_.startStopCountdown();
    window->runner().switchFrameTimer(true);
}

void TFormAtelier::saveProgram(bool overwrite) {
    SaveRequest request;
    request.lines = editorLines(RichEditAcmd->toPlainText());
    request.changed = model_.changedMark() || RichEditAcmd->document()->isModified();
    request.shownPath = shownPath_;
    request.chooserFolder = &host_.chooserFolder();
    const SaveOutcome out = overwrite ? overwriteProgram(request) : saveProgramAs(request);
    if (!out.saved) return;
    shownPath_ = out.path;
    PanelAcmdPath->setText(shownPath_);
    RichEditAcmd->document()->setModified(false);
    model_.setChangedMark(false);
    model_.setSavedWhileOpen(true);
    if (editedWindow_) {
        kestoBasInfo& k = editedWindow_->runner().interpreter();
        QStringList written;
        if (readTextLines(out.path, written)) k.programLines = written;
        k.programPath = out.path;
    }
    sgCtrl->update();
}

void TFormAtelier::convertText() {
    PanelTransfer->show();
    QTextCursor cursor(RichEditAcmd->document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(convertForm(RichEditAcmd->toPlainText()));
    recolourAll();
    PanelTransfer->hide();
    model_.setChangedMark(true);
    sgCtrl->update();
}

// ---- editor ----

void TFormAtelier::loadIntoEditor() {
    if (!editedWindow_) return;
    const kestoBasInfo& k = editedWindow_->runner().interpreter();
    if (!k.programLines.isEmpty()) {
        RichEditAcmd->setPlainText(k.programLines.join(u'\n'));
        applyFont();
    }
    shownPath_ = k.programPath;
    PanelAcmdPath->setText(shownPath_);
    recolourAll();
    RichEditAcmd->document()->setModified(false);
    model_.setChangedMark(false);
    RichEditAcmd->moveCursor(QTextCursor::Start);
    markLine(-1);
    updateStatus();
    sgCtrl->update();
}

void TFormAtelier::applyToWork() {
    TFormKesto* window = editedWindow_;
    if (!window) return;
    WorkRunner& runner = window->runner();
    if (runner.running()) runner.breakProgram();
    markLine(-1);
    runner.loadProgramLines(editorLines(RichEditAcmd->toPlainText()), runner.interpreter().programFolder);
    runner.restartProgram();
    showWork();
    model_.startStopCountdown();
    runner.switchFrameTimer(true);
    window->raise();
}

void TFormAtelier::showWork() {
    TFormKesto* window = editedWindow_;
    WorkRunner& runner = window->runner();
    window->setWindowTitle(runner.caption());
    window->setTitleText(runner.animation().theme.value_or(QString()));
    window->applyZoom();
    runner.show();
    // A work shown anew centres itself; beside the Atelier it keeps its corner.
    if (!window->isFloating()) window->move(20, 20);
    window->show();
    runner.placeTitlePlate();
}

void TFormAtelier::recolourAll() {
    // Recolouring changes formats only: the modified flag and the changed mark stay as they are.
    highlighter_->rehighlight();
    model_.setJapaneseForm(isMostlyJapanese(RichEditAcmd->toPlainText()));
    sgCtrl->update();
}

void TFormAtelier::applyBoard() {
    QPalette palette = RichEditAcmd->palette();
    palette.setColor(QPalette::Base, colourOf(model_.colour(PairBackground)));
    palette.setColor(QPalette::Text, colourOf(model_.colour(PairText)));
    palette.setColor(QPalette::Window, colourOf(model_.colour(PairBackground))); // the margin beside the numbers
    RichEditAcmd->setPalette(palette);
    RichEditAcmd->setAutoFillBackground(true);
    RichEditAcmd->setNumberColours(colourOf(model_.colour(PairText)), colourOf(model_.colour(PairBackground)));
    recolourAll();
    sgMode->update();
}

void TFormAtelier::applyFont() {
    QFont font = programFont(QStringLiteral("ＭＳ ゴシック"), 16);
    font.setPointSize(model_.fontSize());
    RichEditAcmd->setFont(font);
    RichEditAcmd->setNumberWidth(model_.numberWidth());
}

void TFormAtelier::textChanged() {
    const bool modified = RichEditAcmd->document()->isModified();
    if (modified && !model_.changedMark()) {
        model_.setChangedMark(true);
        sgCtrl->update();
    } else if (!modified && model_.changedMark()) {
        model_.setChangedMark(false);
        sgCtrl->update();
    }
}

void TFormAtelier::updateStatus() {
    const QTextCursor cursor = RichEditAcmd->textCursor();
    PanelNum->setText(caretStatus(cursor.positionInBlock(), cursor.blockNumber() + 1, RichEditAcmd->blockCount()));
    lastFirstLine_ = RichEditAcmd->firstVisibleLine();
}

QString TFormAtelier::status() const { return PanelNum->text(); }
QString TFormAtelier::shownPath() const { return shownPath_; }

void TFormAtelier::noteMessage(const QString& line) {
    const int number = scriptErrorLine(line);
    if (number > 0 && editedWindow_ && isVisible()) markLine(number);
}

void TFormAtelier::markLine(int line) {
    markedLine_ = line;
    QList<QTextEdit::ExtraSelection> marks;
    if (line > 0) {
        const QTextBlock block = RichEditAcmd->document()->findBlockByNumber(line - 1);
        if (block.isValid()) {
            QTextEdit::ExtraSelection mark;
            mark.cursor = QTextCursor(block);
            mark.format.setBackground(QColor(0x90, 0x10, 0x20));
            mark.format.setProperty(QTextFormat::FullWidthSelection, true);
            marks << mark;
            RichEditAcmd->showLine(line);
        }
    }
    RichEditAcmd->setExtraSelections(marks);
}

// ---- reference and values ----

void TFormAtelier::selectCategory(int row) {
    model_.setCategory(row);
    sgMode->update();
    sgKestoBasic->relayout(referenceScroll->viewport()->width(), referenceScroll->viewport()->height());
}

void TFormAtelier::setExpanded() {
    model_.flipExpanded();
    PanelSgModeBtm->setText(model_.expanded() ? QStringLiteral("説明の行縮小") : QStringLiteral("説明の行拡張"));
    selectCategory(model_.category());
}

void TFormAtelier::refreshValues() {
    if (!editedWindow_) return;
    const std::vector<VariableRow> rows = variableRows(editedWindow_->runner().interpreter().items);
    sgValue->setRowCount(int(rows.size()) + 1);
    auto put = [this](int row, int column, const QString& text, uint32_t background, uint32_t foreground, bool bold) {
        QTableWidgetItem* item = sgValue->item(row, column);
        if (!item) {
            item = new QTableWidgetItem;
            sgValue->setItem(row, column, item);
        }
        if (item->text() != text) item->setText(text);
        item->setBackground(colourOf(background));
        item->setForeground(colourOf(foreground));
        QFont font = sgValue->font();
        font.setBold(bold);
        item->setFont(font);
    };
    const QString headers[3] = {QStringLiteral("回数"), QStringLiteral("変数名"), QStringLiteral("値")};
    for (int c = 0; c < 3; ++c) put(0, c, headers[c], 0x403000, 0xE0FFC0, true);
    for (int r = 0; r < int(rows.size()); ++r) {
        const VariableRow& row = rows[size_t(r)];
        const uint32_t background = row.constant ? 0x302000 : 0x204000;
        put(r + 1, 0, row.count, background, 0xE0F0E0, true);
        put(r + 1, 1, row.name, background, 0xE0F0E0, true);
        put(r + 1, 2, row.value, background, 0xE0F0E0, false);
    }
}

QStringList TFormAtelier::valueRows() const {
    QStringList rows;
    for (int r = 1; r < sgValue->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < 3; ++c) cells << (sgValue->item(r, c) ? sgValue->item(r, c)->text() : QString());
        rows << cells.join(u'|');
    }
    return rows;
}

// ---- placement ----

void TFormAtelier::toggleFloat() {
    QWidget* area = host_.exhibitionArea();
    if (!area) return;
    if (!isFloating()) {
        setParent(nullptr, Qt::Window);
        PanelFree->setText(QStringLiteral("戻"));
        PanelFree->setToolTip(QStringLiteral(" アトリエをギャラリーに戻します "));
    } else {
        setParent(area, Qt::Widget);
        PanelFree->setText(QStringLiteral("宙"));
        PanelFree->setToolTip(QStringLiteral(" アトリエを独立した窓にします "));
    }
    place();
    show();
    raise();
}

void TFormAtelier::place() {
    if (editedWindow_ && !editedWindow_->isFloating()) {
        editedWindow_->move(20, 20);
        editedWindow_->runner().placeTitlePlate();
    }
    if (isFloating() || !parentWidget()) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
        setGeometry(floatingPlace(available.size()).translated(available.topLeft()));
    } else {
        const int workRight = editedWindow_ && !editedWindow_->isFloating() ? editedWindow_->geometry().right() + 1 : 0;
        setGeometry(dockedPlace(parentWidget()->size(), workRight, host_.paletteBottom()));
    }
    panelsShown_ = {};
    PanelRgt->show();
    PanelSgBasic->show();
    placeInside();
}

void TFormAtelier::placeInside() {
    PanelAtelier->move((width() - PanelAtelier->width()) / 2, 6);
    PanelCtrl->move(width() - PanelCtrl->width() - 20, 16);
    PanelSgCtrl->move(10, 60);
    const AtelierPanels inner = innerPlace(size(), kMenuPanelWidth, kValuesWidth);
    const AtelierPanels p = cycledPlace(size(), inner, panelsShown_);
    const auto setPanels = [this](const AtelierPanels& q) {
        PanelMid->setGeometry(q.editor);
        PanelSgBasic->setGeometry(q.reference);
        PanelRgt->setGeometry(q.values);
    };
    setPanels(panelsShown_ == PanelsShown{} ? inner : p);
    placeEditorPanel();
    referenceScroll->setGeometry(kModePanelWidth, 4, std::max(0, PanelSgBasic->width() - kModePanelWidth - 4),
                                 PanelSgBasic->height() - 8);
    sgValue->setGeometry(4, 30, PanelRgt->width() - 8, PanelRgt->height() - 34);
    PanelMsgAtelier->move(std::max(0, (width() - PanelMsgAtelier->width()) / 2), height() - PanelMsgAtelier->height() - 12);
    selectCategory(model_.category());
}

void TFormAtelier::placeEditorPanel() {
    PanelNum->setGeometry(8, 2, 140, 22);
    PanelAcmdPath->setGeometry(156, 2, std::max(0, PanelMid->width() - 164), 22);
    RichEditAcmd->setGeometry(4, 26, std::max(0, PanelMid->width() - 8), std::max(0, PanelMid->height() - 30));
    PanelTransfer->move((PanelMid->width() - PanelTransfer->width()) / 2, (PanelMid->height() - PanelTransfer->height()) / 2);
}

bool TFormAtelier::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PanelSgCtrl || watched == PanelMid) return dragPanelEvent(static_cast<QWidget*>(watched), event);
    return QWidget::eventFilter(watched, event);
}

bool TFormAtelier::dragPanelEvent(QWidget* panel, QEvent* event) {
    const auto at = [event] { return static_cast<QMouseEvent*>(event)->position().toPoint(); };
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        dragFrom_ = at();
        panel->raise();
        return true;
    case QEvent::MouseMove: {
        const DragStep step = dragStep(at().x(), at().y(), dragFrom_.x(), dragFrom_.y(), panel->geometry());
        static constexpr Qt::CursorShape shapes[] = {Qt::SizeHorCursor, Qt::SizeVerCursor, Qt::SizeFDiagCursor,
                                                     Qt::SizeAllCursor};
        panel->setCursor(shapes[int(step.mode)]);
        if (dragFrom_.x() < 0) return false;
        panel->setGeometry(step.geometry);
        dragFrom_ = {step.previousX, step.previousY};
        if (panel == PanelMid) placeEditorPanel();
        return true;
    }
    case QEvent::MouseButtonRelease:
        dragFrom_ = {-1, -1};
        return true;
    default:
        return false;
    }
}

void TFormAtelier::layoutCycle() {
    PanelMsgAtelier->hide();
    panelsShown_ = nextLayout(panelsShown_);
    PanelRgt->setVisible(panelsShown_.values);
    PanelSgBasic->setVisible(panelsShown_.reference);
    placeInside();
}

void TFormAtelier::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PanelAtelier->move((width() - PanelAtelier->width()) / 2, 6);
    PanelCtrl->move(width() - PanelCtrl->width() - 20, 16);
    relayoutRequest_ = true;
}

// ---- timer ----

bool TFormAtelier::workRunning() const { return editedWindow_ && editedWindow_->runner().running(); }

void TFormAtelier::TimerAtelierTimer() {
    ++ticks_;
    if (relayoutRequest_) {
        relayoutRequest_ = false;
        placeInside();
    }
    const bool running = workRunning();
    if (model_.countDown(running) && editedWindow_) editedWindow_->runner().switchFrameTimer(false);
    if (RichEditAcmd->firstVisibleLine() != lastFirstLine_) updateStatus();
    if (running != lastRunning_) {
        lastRunning_ = running;
        sgCtrl->update();
    }
    if (PanelRgt->isVisible()) refreshValues();
}
