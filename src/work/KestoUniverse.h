// A `nebu` or `startrek` character's tree window inside a work window: the character owns this
// kind object, which owns the window (TFormNebu) until the window closes itself, and passes the
// character's mode on as the window's float request. The window offers the star journey; a
// `startrek` character opens it at once and passes its mode on to it instead.
#pragma once

#include "anime/AnimeKind.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;
class TFormNebu;
struct AnimeInfo;

class KestoUniverse : public AnimeKind {
public:
    // Makes the window docked in `canvas` (the animation's panel) and shows it when the canvas
    // is shown. `path` is the character's folder or ".nebu" file; `keyCommands` its option text.
    // `owner` (not owned, may be null) is the character, whose game mode stays 1 while the window
    // holds the work: the float count's end, the window's close and the journey's end clear it.
    KestoUniverse(QWidget* canvas, const QString& path, const QString& keyCommands, int mode, AnimeInfo* owner = nullptr);
    // Closes a window that is still open (it frees itself).
    ~KestoUniverse() override;

    int kindCode() const override;
    // The animation's float request: 1 floats out (or docks), 3 counts down to docking. O(1).
    void modeGiven(int mode) override;
    QString reportText() const override;

    // The window while it is open. O(1).
    TFormNebu* window() const;

private:
    void openJourney();

    QPointer<TFormNebu> window_;
    AnimeInfo* owner_;
    QMetaObject::Connection released_, closed_;
    int mode_;
};
