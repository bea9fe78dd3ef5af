#include "KestoChartForm.h"

#include "TFormWeb.h"

KestoChartForm::~KestoChartForm() { close(); }

TFormWeb* KestoChartForm::form() const { return form_.data(); }

bool KestoChartForm::open(const WorkChart& chart, const QString& folder, const QString& homeFolder, QWidget* owner,
                          QWidget* picturePanel, int zoomPercent) {
    close();
    form_ = new TFormWeb(owner);
    const bool shown = form_->showChart(chart.definition, folder, homeFolder, picturePanel);
    form_->resize(chart.definition.width * zoomPercent / 100, chart.definition.height * zoomPercent / 100);
    if (shown) {
        form_->show();
        form_->raise();
    }
    return shown;
}

void KestoChartForm::follow(const WorkChart& chart) {
    if (!form_ || form_->minimised()) return;
    if (!chart.formVisible) {
        form_->hide();
        return;
    }
    if (chart.onPicture) form_->setGeometry(chart.left, chart.top, chart.width, chart.height);
    else form_->resize(chart.width, chart.height);
    if (form_->isHidden()) form_->show();
}

void KestoChartForm::close() {
    // The form may stand on the picture or float; either way it goes now, not at the next loop.
    delete form_.data();
}
