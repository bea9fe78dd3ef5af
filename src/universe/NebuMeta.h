// The tree window's metadata without widgets: the meta tour along the display chain, mouse-over
// and presses on a node's mark, closing the page when the current node has none, and editing a
// node's metadata through an editor the caller gives. The window supplies the showing (the page,
// the progress box, the repaint) as NebuMeta::Effects.
#pragma once

#include "MetaTour.h"
#include "NebuCursor.h"

#include <QPoint>
#include <functional>
#include <optional>

class NebuMeta : private MetaTourView {
public:
    struct Effects {
        std::function<void(fileInfo* node, QPoint at)> openPage; // at: grid pixels
        std::function<void()> closePage;
        std::function<bool()> pageOpen;
        // Where a tour opens a node's page: (drawRight, top of its cell), after the cursor moved.
        std::function<QPoint(fileInfo* node)> tourPoint;
        std::function<void(bool shown)> showTourBox;
        std::function<void(const QString& message, const QString& name)> tourProgress;
        // The cursor moved or the tour started or ended: the buttons follow and the grid repaints.
        std::function<void()> changed;
        // The tour reached the last node (the window's float count starts).
        std::function<void()> tourReachedEnd;
    };

    // `cursor` gives the window's cursor of the moment (a new tree brings a new one). Every effect
    // must be set.
    NebuMeta(std::function<NebuCursor&()> cursor, Effects effects) : cursor_(std::move(cursor)), effects_(std::move(effects)) {}

    MetaTour& tour() { return tour_; }
    const MetaTour& tour() const { return tour_; }
    // "メタデータのツアー (&T)", "メタツアー": starts the tour (from the top galaxy when the current
    // node is the last shown one) or stops it. O(1).
    void toggleTour() { tour_.toggle(*this); }
    void stopTour() { tour_.stop(*this); }
    // "メタ表示〔マウスオン〕    (&M)", PanelMus. O(1).
    void toggleHover() { tour_.toggleHover(); }
    // One TimerNebu tick. O(1) plus a step's work.
    void tick() { tour_.tick(*this); }

    // A mouse move over `node` (hitTest without selecting; may be null) at `at` (grid pixels
    // without the horizontal offset): while mouse-over is on and not paused, touching the mark
    // band of a node with valid metadata opens its page at (drawRight, at.y) and pauses. True
    // when it opened. O(1).
    bool mouseMoved(fileInfo* node, QPoint at);
    // A press without modifier keys on `node`: the same band opens the page the same way. O(1).
    bool pressed(fileInfo* node, QPoint at);
    // After every cursor move: a current node without metadata closes an open page. O(1).
    void currentChanged();

private:
    void beginTour() override;
    bool atLast() const override;
    void moveOn(bool next) override;
    const metaInfo* currentMeta() const override;
    QString currentName() const override;
    void openCurrentPage() override;
    void closePage() override { effects_.closePage(); }
    void showTourBox(bool shown) override { effects_.showTourBox(shown); }
    void tourProgress(const QString& message, const QString& name) override { effects_.tourProgress(message, name); }
    void tourEnded(bool reachedLast) override;
    bool openAtMark(fileInfo* node, QPoint at);

    std::function<NebuCursor&()> cursor_;
    Effects effects_;
    MetaTour tour_{true};
};

// True for metadata that opens a page (parsed without errors). O(1).
inline bool hasValidMeta(const fileInfo* node) { return node && node->meta && node->meta->errors == 0; }

// Editing a node's metadata through the memo.
struct MetaEditRequest {
    QString caption;    // "%lsのメタデータ"
    QString topText;    // the format
    QString middleText; // the data kinds
    std::optional<QString> text; // the metadata text; none for new metadata
    QString basePath;   // the tree window's current path, for the memo's preview
};
struct MetaEditResult {
    bool saveRequested = false; // "更新終了"
    bool modified = false;
    QString text;
};
using MetaEditor = std::function<MetaEditResult(const MetaEditRequest&)>;

// "メタデータの編集 (&M)" on the tree's current node: asks before creating new metadata, runs the
// editor, and on "更新終了" (or a changed text and a yes) replaces the metadata with the edited
// text (a TAB becomes a space: the text is a field of a TAB-separated line), stamps the node with
// the present time, sets its size to the text's length and the metadata-changed flag. True when
// the metadata was replaced. Cost: the editor's, plus parsing the text.
bool editNodeMetadata(treeInfo& tree, const QString& currentPath, const MetaEditor& editor);
