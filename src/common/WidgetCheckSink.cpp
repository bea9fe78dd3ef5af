#include "WidgetCheckSink.h"

#include "TFormCheck.h"

#include <QApplication>

int WidgetCheckSink::show(const QString& text, const QString& caption, int style) {
    QWidget* owner = owner_ ? owner_.data() : QApplication::activeWindow();
    TFormCheck form(text, caption, style, owner);
    return form.run();
}
