// The view and navigation commands of the tree window's popup and its "表示" menu: up a level,
// top galaxy from the current galaxy, a new search from it, galaxies without stars, stars and
// attributes on or off, marks, the same-name search, upside down and the two format options.
// Items whose feature the program does not have yet are offered disabled with a hint saying so.
#pragma once

#include <QObject>

class QMenu;
class TFormNebu;

class NebuMenuCommands : public QObject {
    Q_OBJECT
public:
    // `window` must outlive this object (a child object of it).
    explicit NebuMenuCommands(TFormNebu& window);

    // Adds the popup's view items before the file operations. O(items).
    void addPopupActions(QMenu& menu);
    // Fills the "表示" menu (upside down, extension format, short sizes, and the environment and
    // filter items that have no action yet). O(items).
    void fillViewMenu(QMenu& menu);

    // "現銀河を表示トップへ (&J)": the current galaxy (a star's parent) becomes the top galaxy. O(layout).
    void currentToTop();
    // "星なし銀河の非表示": on or off, relaid out keeping the current node. O(layout).
    void toggleHideStarless();
    // "マーク設定／解除": the current node's mark, then the cursor one row down. O(1).
    void toggleMark();
    // "全マーク解除": every node's mark is cleared. O(nodes).
    void clearMarks();
    // "同名[星]検索": the current name into the galaxy or star wildcard; layout. O(layout).
    void sameNameSearch();
    // Format option `bit` (1 extension format, 2 short sizes) on or off; repaint. O(1).
    void toggleFormat(int bit);

private:
    TFormNebu& window_;
};
