#include "ChartCommands.h"

#include "NebuStarCommands.h"
#include "TFormNebu.h"
#include "UniverseModel.h"

#include "common/Settings.h"
#include "common/ShowCheck.h"

#include <QComboBox>
#include <QMenu>
#include <QTimer>

namespace {
constexpr int kListWidth = 148;
}

ChartCommands::ChartCommands(TFormNebu& window, QWidget* band) : QObject(&window), window_(window) {
    charts_ = ChartList::read(window_.model().tree().workFolder);
    CbListChart = new QComboBox(band);
    CbListChart->setObjectName(QStringLiteral("CbListChart"));
    CbListChart->setFixedWidth(kListWidth);
    CbListChart->setToolTip(QStringLiteral("　チャートの選択　"));
    CbListChart->setStyleSheet(QStringLiteral("background: white; color: black;"));
    const QStringList lines = charts_.lines();
    CbListChart->addItems(lines);
    CbListChart->setMaxVisibleItems(static_cast<int>(lines.size()));
    CbListChart->setCurrentIndex(0);
    connect(CbListChart, &QComboBox::activated, this, [this](int index) {
        // The grid takes the focus at once; the choice follows when the list has closed.
        window_.grid()->setFocus();
        QTimer::singleShot(0, this, [this, index] { choose(index); });
    });
}

void ChartCommands::addPopupActions(QMenu& menu) {
    if (!window_.model().tree().chartMode) return;
    const bool idle = !window_.opening();
    auto add = [&](const QString& text, auto command) {
        QAction* action = menu.addAction(text, this, command);
        action->setEnabled(idle);
    };
    add(QStringLiteral("「星」の追加（同階層）"), [this] { addStar(ChartLevel::Same); });
    add(QStringLiteral("「星」の追加（下階層）"), [this] { addStar(ChartLevel::Below); });
    add(QStringLiteral("「星」の削除"), [this] { deleteNode(); });
    add(QStringLiteral("「星」名の変更"), [this] { rename(); });
    add(QStringLiteral("「星」「銀河」の変換"), [this] { toggleGalaxy(); });
    add(QStringLiteral("階層の変更"), [this] { changeDepth(); });
}

void ChartCommands::addStar(ChartLevel level) {
    if (window_.opening()) return;
    if (addChartStar(window_.model().tree(), level, chartStampNow())) window_.layoutTree(true);
}

void ChartCommands::deleteNode() {
    if (window_.opening()) return;
    if (deleteChartNode(window_.model().tree())) window_.layoutTree(true);
    window_.grid()->setFocus();
}

void ChartCommands::toggleGalaxy() {
    if (window_.opening()) return;
    // A galaxy is shown with its brackets and counted apart: the rows are drawn afresh.
    if (toggleChartGalaxy(window_.model().tree())) window_.layoutTree(false);
    window_.grid()->setFocus();
}

void ChartCommands::rename() { window_.starCommands().renameStar(); }

void ChartCommands::changeDepth() { window_.starCommands().changeDepth(); }

bool ChartCommands::mayReplaceTree() {
    if (!window_.model().tree().metaChanged) return true;
    // Reading another chart would drop the edits: the same offer as when the window closes.
    const int answer =
        showCheck(QStringLiteral("メタデータを保存しますか？(Y/N)"), QStringLiteral("[星]のメタデータ保存"), 1);
    if (answer == 1) return window_.model().saveConstellation();
    return answer == 0;
}

void ChartCommands::choose(int index) {
    const ChartList::Choice choice = charts_.choice(index);
    if (choice == ChartList::Choice::Nothing || window_.opening() || !mayReplaceTree()) return;
    treeInfo& tree = window_.model().tree();
    if (choice == ChartList::Choice::FromGalaxy) {
        tree.lastChooserFolder = tree.workFolder;
        window_.loadFromChooser();
        return;
    }
    const QString path = charts_.chartPath(index, tree.workFolder);
    if (!equalsCaseless(lastExtension(path), u".nebu")) {
        showCheck(QStringLiteral("「NEBU」星座データではありません！"), path, 0);
        return;
    }
    window_.openPath(path); // a read sets the display depth to the search depth
}
