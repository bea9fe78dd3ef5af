#include "KestoUniverse.h"

#include "script/KestoCodes.h"
#include "anime/AnimeInfo.h"
#include "journey/TFormX3D.h"
#include "universe/TFormNebu.h"

KestoUniverse::KestoUniverse(QWidget* canvas, const QString& path, const QString& keyCommands, int mode, AnimeInfo* owner)
    : window_(new TFormNebu(path, QString(), keyCommands, canvas)), owner_(owner), mode_(mode) {
    window_->setJourneyEntry([this] { openJourney(); });
    // The character's game mode is the busy mark a program reads (getval 16 after SetVal): 1
    // while the window holds the work, 0 once its float count has docked it or it has closed.
    if (owner_) {
        released_ = QObject::connect(window_.data(), &TFormNebu::animationReleased, [this] { owner_->chaseMode = 0; });
        closed_ = QObject::connect(window_.data(), &QObject::destroyed, [this] { owner_->chaseMode = 0; });
    }
    window_->show(); // a child shows with its canvas
    if (mode_ == 1) {
        window_->setJourneyLook();
        openJourney();
    }
}

void KestoUniverse::openJourney() {
    if (!window_) return;
    TFormX3D* journey = TFormX3D::openJourney(*window_);
    journey->onFinished = [this] {
        if (owner_) owner_->chaseMode = 0;
    };
}

KestoUniverse::~KestoUniverse() {
    // The character goes with this kind object: it hears nothing more from the window.
    QObject::disconnect(released_);
    QObject::disconnect(closed_);
    if (window_) delete window_.data();
}

int KestoUniverse::kindCode() const { return mode_ == 1 ? Kind::startrek : Kind::nebu; }

void KestoUniverse::modeGiven(int mode) {
    if (!window_) return;
    TFormX3D* journey = mode_ == 1 ? TFormX3D::journeyOf(*window_) : nullptr;
    if (journey) journey->journey().setMode(mode);
    else window_->setFloatState(mode);
}

QString KestoUniverse::reportText() const { return window_ ? window_->countersText() : QString(); }

TFormNebu* KestoUniverse::window() const { return window_.data(); }
