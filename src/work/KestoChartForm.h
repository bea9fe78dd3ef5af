// The browser form of a work window's meta chart: made anew each time the chart is shown, then
// sized and moved as the chart's geometry (WorkChart) says on every frame tick, and closed when the
// chart goes or the window does.
#pragma once

#include "WorkChart.h"

#include <QPointer>
#include <QString>

class QWidget;
class TFormWeb;

class KestoChartForm {
public:
    KestoChartForm() = default;
    ~KestoChartForm();
    KestoChartForm(const KestoChartForm&) = delete;
    KestoChartForm& operator=(const KestoChartForm&) = delete;

    // Closes the old form and shows the chart in a new one owned by `owner` and placed on
    // `picturePanel` (a free chart floats, centred on its owner); its size is the chart's at
    // `zoomPercent`. False when no form stands in sight (a program chart, a refused one).
    // Cost: the chart's page, picture or program.
    bool open(const WorkChart& chart, const QString& folder, const QString& homeFolder, QWidget* owner,
              QWidget* picturePanel, int zoomPercent);
    // The form takes the chart's place, size and visibility. Cost: constant.
    void follow(const WorkChart& chart);
    // The form closes. Cost: constant.
    void close();
    // The open form, nullptr when there is none.
    TFormWeb* form() const;

private:
    QPointer<TFormWeb> form_;
};
