#include "MetaBandControls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

QLabel* panel(QWidget& parent, const QString& text, const QString& style, const QString& tip, int width, int height) {
    auto* label = new QLabel(text, &parent);
    label->setStyleSheet(style);
    label->setToolTip(tip);
    label->setAlignment(Qt::AlignCenter);
    label->setFixedSize(width, height);
    return label;
}

QPushButton* smallButton(QWidget& parent, const QString& text, const QString& tip, int height) {
    auto* b = new QPushButton(text, &parent);
    b->setToolTip(tip);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(24, height);
    return b;
}

} // namespace

MetaBandControls MetaBandControls::build(QWidget& band, int height, QMargins margins, QWidget& boxParent) {
    MetaBandControls c;
    auto* row = new QHBoxLayout(&band);
    row->setContentsMargins(margins);
    row->setSpacing(3);
    c.PanelSignal = panel(band, QStringLiteral("「 _◆ _◇ _■  _□ _★ _▲ _● 」 を クリック"),
                          QStringLiteral("color: white; background: rgb(40,80,128);"), QString(), 240, height);
    c.PanelMus = panel(band, QStringLiteral("マウスOFF"), QStringLiteral("color: aqua; background: navy;"),
                       QStringLiteral("　マウスONに、メタ記号に触れるだけでメタ展開する　"), 70, height);
    c.PanelTour = panel(band, QStringLiteral("メタツアー"), QStringLiteral("color: lime; background: navy;"),
                        QStringLiteral("　メタ展開ツアーを始める　"), 70, height);
    c.btnSlower = smallButton(band, QStringLiteral("▲"), QStringLiteral("　メタツアーを遅く　"), height);
    c.PanelTm = panel(band, QString(), QStringLiteral("color: white; background: rgb(0,0,80);"),
                      QStringLiteral("　メタツアーの速さ　"), 24, height);
    c.btnFaster = smallButton(band, QStringLiteral("▼"), QStringLiteral("　メタツアーを速く　"), height);
    c.btnStop = smallButton(band, QStringLiteral("■"), QStringLiteral("　メタツアーを止める　"), height);
    for (QWidget* w : std::initializer_list<QWidget*>{c.PanelSignal, c.PanelMus, c.PanelTour, c.btnSlower, c.PanelTm,
                                                      c.btnFaster, c.btnStop})
        row->addWidget(w);

    c.tourBox = new QWidget(&boxParent);
    c.tourBox->setObjectName(QStringLiteral("TFormDoing"));
    c.tourBox->setStyleSheet(QStringLiteral("#TFormDoing { background: rgb(240,240,240); border: 1px solid gray; }"));
    c.tourBox->setAttribute(Qt::WA_StyledBackground);
    auto* box = new QHBoxLayout(c.tourBox);
    box->setContentsMargins(6, 4, 6, 4);
    c.PanelMsg = new QLabel(c.tourBox);
    c.PanelMsg->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    c.PanelMsg->setStyleSheet(QStringLiteral("color: rgb(0,0,128);"));
    auto* PanelRgt = new QWidget(c.tourBox);
    PanelRgt->setFixedWidth(200);
    c.PanelCount = new QLabel(PanelRgt);
    c.PanelCount->setGeometry(10, 0, 180, kBoxHeight - 8);
    c.PanelCount->setStyleSheet(QStringLiteral("color: yellow; background: rgb(0,0,80);"));
    box->addWidget(c.PanelMsg, 1);
    box->addWidget(PanelRgt);
    c.tourBox->hide();
    return c;
}
