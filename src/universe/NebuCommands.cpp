#include "NebuCommands.h"

#include "NebuMenuCommands.h"
#include "NebuStarCommands.h"
#include "NodeText.h"
#include "TFormNebu.h"
#include "TFormSort.h"
#include "TreeSearches.h"
#include "TreeSort.h"

#include "common/Choosers.h"
#include "common/Platform.h"
#include "common/ShowCheck.h"

#include <QComboBox>
#include <QEvent>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

NebuCommands::NebuCommands(TFormNebu& window)
    : QObject(&window), window_(window), sort_(new TFormSort(window.grid()->viewport())) {
    sort_->onChosen = [this](int mode) { sortCurrent(mode); };
    for (QPushButton* b : window.findChildren<QPushButton*>())
        if (b->text() == u"星" || b->text() == u"探査銀河") b->installEventFilter(this);
}

bool NebuCommands::eventFilter(QObject* watched, QEvent* event) {
    auto* b = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::MouseButtonPress) b->move(b->pos() + QPoint(2, 2));
    else if (event->type() == QEvent::MouseButtonRelease && b->parentWidget() && b->parentWidget()->layout()) {
        // Back where the band's layout puts it, whatever the click changed meanwhile.
        b->parentWidget()->layout()->invalidate();
        b->parentWidget()->layout()->activate();
    }
    return QObject::eventFilter(watched, event);
}

bool NebuCommands::runKey(int key, Qt::KeyboardModifiers modifiers) {
    const NebuKeyAction action = nebuKeyAction(key, modifiers);
    if (action.command == NebuCommand::None) return false;
    run(action);
    return true;
}

void NebuCommands::run(const NebuKeyAction& action) {
    TFormNebu& w = window_;
    using C = NebuCommand;
    if (const std::optional<CursorStroke> stroke = cursorKeyOf(action)) {
        const NebuOutcome outcome = w.cursor_->key(stroke->key, stroke->modifiers);
        if (outcome == NebuOutcome::RescanParent) rescanParent(); // "U" on the root
        else w.applyOutcome(outcome);
        if (action.focusGrid && w.isVisible()) w.sgNebu->setFocus();
        return;
    }
    switch (action.command) {
    case C::ScanDrive: scanDrive(action.argument); break;
    case C::SearchDepth: setSearchDepth(action.argument); break;
    case C::ToggleMark: w.menus_->toggleMark(); break;
    case C::FlipAttributes: w.flipViewBits(ViewSize | ViewTime | ViewAttributes); break;
    case C::TimeFlag: w.flipViewBits(ViewTime); break;
    case C::SizeFlag: w.flipViewBits(ViewSize); break;
    case C::Copy: w.starCommands_->copyStars(); break;
    case C::IndentStep: stepSpin(0, action.argument); break;
    case C::NameLengthStep: stepSpin(1, action.argument); break;
    case C::StarsPerRowStep: stepSpin(2, action.argument); break;
    case C::ZoomStep: stepSpin(3, action.argument); break;
    case C::TopGalaxy: {
        treeInfo& tree = w.model_->tree();
        fileInfo* node = w.cursor_->current();
        if (!node) return;
        if (!node->isGalaxy()) {
            if (node->parent) moveTo(node->parent);
            break;
        }
        tree.topGalaxy = action.argument ? tree.root() : node;
        tree.current = node;
        w.layoutTree(true);
        break;
    }
    case C::LoadConstellation: loadConstellation(); break;
    case C::SaveConstellation: saveConstellation(); break;
    case C::Quit: w.quit(); return; // the window goes; nothing is left to focus
    case C::SortChooser: openSortChooser(); return; // the chooser takes the keys until it closes
    case C::SearchFromGalaxy: searchFromCurrent(); break;
    case C::CloneView: w.clones_->toggleView(); break;
    case C::ShiftRight:
    case C::ShiftLeft: {
        const int step = w.sgNebu->fontMetrics().height() * w.sgNebu->look.indent;
        int& offset = w.sgNebu->horizontalOffset;
        offset = action.command == C::ShiftLeft ? offset - step : qMin(0, offset + step);
        w.sgNebu->refresh();
        break;
    }
    case C::DriveList:
        w.CbDrive->setFocus();
        w.CbDrive->showPopup();
        return;
    case C::RescanParent: rescanParent(); break;
    default: return; // the cursor's keys are done above; None does nothing
    }
    if (action.focusGrid && w.isVisible()) w.sgNebu->setFocus();
}

void NebuCommands::stepSpin(int which, int direction) {
    QSpinBox* boxes[] = {window_.editDeepIndent, window_.editFileLen, window_.editFileWide, window_.editZoom};
    QSpinBox* box = boxes[which];
    box->setValue(box->value() + direction * box->singleStep()); // the box keeps its limits
}

void NebuCommands::moveTo(fileInfo* node) {
    if (!node) return;
    window_.cursor_->setCurrent(node);
    window_.afterMove();
}

void NebuCommands::openSortChooser() {
    if (window_.opening() || !window_.cursor_->current()) return;
    sort_->open();
}

void NebuCommands::sortCurrent(int mode) {
    fileInfo* node = window_.cursor_->current();
    if (!node || window_.opening()) return;
    sortTree(window_.model_->tree(), node, mode);
    window_.model_->tree().current = node;
    window_.layoutTree(false);
    window_.sgNebu->setFocus();
}

void NebuCommands::gotoDeepest() { moveTo(findDeepestShown(window_.model_->tree())); }

void NebuCommands::gotoLongestName() {
    const SearchHit hit = findLongestName(window_.model_->tree());
    if (!hit.node) return;
    moveTo(hit.node);
    showCheck(QStringLiteral("最長名は %1 byte です。").arg(hit.bytes), QStringLiteral("最長の星名検索"), 0);
}

void NebuCommands::gotoLongestPath() {
    const SearchHit hit = findLongestPath(window_.model_->tree());
    if (!hit.node) return;
    moveTo(hit.node);
    showCheck(QStringLiteral("最長名は %1 byte です。").arg(hit.bytes), QStringLiteral("最長のパス星名検索"), 0);
}

void NebuCommands::openScan(const QString& path) {
    if (path.isEmpty() || window_.opening()) return;
    window_.model_->tree().pathBuffer = path;
    window_.openPath(path);
}

void NebuCommands::rescanParent() { openScan(parentRescanPath(window_.cursor_->path())); }

void NebuCommands::rescanFrom(fileInfo* galaxy) {
    if (!galaxy) return;
    treeInfo& tree = window_.model_->tree();
    const QString refusal = rescanRefusal(tree, galaxy);
    if (!refusal.isEmpty()) {
        showCheck(refusal, QStringLiteral("NEBU検索"), 0);
        return;
    }
    openScan(tree.treePath(galaxy));
}

void NebuCommands::searchFromCurrent() {
    fileInfo* node = window_.cursor_->current();
    if (!node) return;
    if (!node->isGalaxy()) {
        showCheck(QStringLiteral("銀河を指定してください！"), QStringLiteral("NEBU検索"), 0);
        return;
    }
    rescanFrom(node);
}

void NebuCommands::searchTopFromCurrent() {
    fileInfo* node = window_.cursor_->current();
    if (!node) return;
    if (node->isGalaxy()) rescanFrom(node);
    else openScan(window_.model_->tree().treePath(node));
}

void NebuCommands::searchHome() { openScan(homeFolder_.isEmpty() ? window_.workFolder_ : homeFolder_); }

void NebuCommands::chooseGalaxy() {
    if (window_.opening()) return;
    treeInfo& tree = window_.model_->tree();
    QString path = tree.pathBuffer;
    if (!choosePath(QString(), QStringLiteral("検索銀河を選択してください"), path, &window_, tree.lastChooserFolder)) return;
    window_.editPath->setText(path);
    tree.lastChooserFolder = path;
    openScan(path);
}

void NebuCommands::scanDrive(int letter) {
    QStringList roots;
    for (const QString& item : UniverseModel::driveList())
        if (item.size() > 1) roots.append(item.mid(1));
    const QString root = driveOfLetter(roots, letter);
    if (root.isEmpty()) {
        showCheck(QStringLiteral("指定したドライブは無効です！"), QString(QChar(u'A' + letter)) + QStringLiteral(":\\*.*"), 0);
        return;
    }
    openScan(root);
}

void NebuCommands::setSearchDepth(int depth) {
    if (window_.opening()) return;
    treeInfo& tree = window_.model_->tree();
    tree.searchDepth = depth;
    window_.fillDepthList();
    openScan(tree.pathBuffer);
}

void NebuCommands::openInTextEditor() {
    const fileInfo* node = window_.cursor_->current();
    if (!node || node->isGalaxy()) return;
    const QString path = window_.model_->tree().treePath(node);
    if (startProcess(QStringLiteral("notepad.exe"), {path}) == 0)
        showCheck(QStringLiteral("テキストエディタを開けません！"), path, 0);
}

void NebuCommands::loadConstellation() {
    if (!window_.opening() && window_.model_->loadConstellation(true)) window_.finishOpen();
    window_.sgNebu->setFocus();
}

void NebuCommands::saveConstellation() {
    window_.model_->saveConstellation();
    window_.sgNebu->setFocus();
}
