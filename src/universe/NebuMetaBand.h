// The tree window's metadata band (right of the chart list in the menu band): the signal panel,
// mouse-over "マウスON/OFF", "メタツアー", the tour speed "▲ 5 ▼" and the stop "■". It holds the
// window's open page (TFormWebX), the tour's progress box and NebuMeta, and watches the grid for
// presses, mouse moves and scrolling.
#pragma once

#include "MetaBandControls.h"
#include "NebuMeta.h"
#include "TFormWebX.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class TFormNebu;

// The editor of "メタデータの編集 (&M)": the program installs the memo; without one a plain
// one-line dialog serves. `owner` is the tree window.
using MetadataEditor = std::function<MetaEditResult(QWidget* owner, const MetaEditRequest& request)>;
void setMetadataEditor(MetadataEditor editor);

class NebuMetaBand : public QWidget {
    Q_OBJECT
public:
    // The band for `nebu` (which must outlive it), a child of `parent`. Cost: a few widgets.
    NebuMetaBand(TFormNebu& nebu, QWidget* parent);
    ~NebuMetaBand() override;

    NebuMeta& meta() { return *meta_; }
    // The open page, nullptr without one. O(1).
    TFormWebX* page() const { return page_; }
    // openMetaPage: the node's page replaces an open one and is placed by `at` (viewport pixels
    // of the grid). Cost: the page's creation.
    void openMetaPage(fileInfo* node, QPoint at);
    // closeMetaPage: ends the program the page keeps, hides and frees it, repaints the grid. O(1).
    void closeMetaPage();
    // editMetadata on the current node through the installed editor; repaints the grid.
    void editMetadata();
    // PanelMus and its menu entry: mouse-over on or off, the panel showing which. O(1).
    void toggleHover();
    // PanelTour and its menu entry: the tour starts or stops. O(1).
    void toggleTour() { meta_->toggleTour(); }
    // The window closes: the tour stops, the page and the box go. O(1).
    void windowClosing();

    QLabel* mousePanel() const { return ui_.PanelMus; }
    QLabel* tourPanel() const { return ui_.PanelTour; }
    QLabel* speedPanel() const { return ui_.PanelTm; }
    QPushButton* stopButton() const { return ui_.btnStop; }
    // The progress box "メタツアー中......." and its two texts.
    QWidget* tourBox() const { return ui_.tourBox; }
    QString tourMessage() const;
    QString tourName() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void showSpeed();
    QPoint tourPoint(fileInfo* node);

    TFormNebu& nebu_;
    std::unique_ptr<NebuMeta> meta_;
    QPointer<TFormWebX> page_;
    QPointer<QWidget> viewport_; // the grid's, watched for presses and moves
    bool opening_ = false; // a page is being opened: the cursor's own scrolling does not close it
    MetaBandControls ui_; // the tour box a child of the tree window
};
