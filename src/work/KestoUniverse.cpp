#include "KestoUniverse.h"

#include "script/KestoCodes.h"
#include "universe/TFormNebu.h"

KestoUniverse::KestoUniverse(QWidget* canvas, const QString& path, const QString& keyCommands, int mode)
    : window_(new TFormNebu(path, QString(), keyCommands, canvas)), mode_(mode) {
    window_->show(); // a child shows with its canvas
}

KestoUniverse::~KestoUniverse() {
    if (window_) delete window_.data();
}

int KestoUniverse::kindCode() const { return mode_ == 1 ? Kind::startrek : Kind::nebu; }

void KestoUniverse::modeGiven(int mode) {
    if (window_) window_->setFloatState(mode);
}

QString KestoUniverse::reportText() const { return window_ ? window_->countersText() : QString(); }

TFormNebu* KestoUniverse::window() const { return window_.data(); }
