// The anchor of the start-up benchmark: the smallest Qt Widgets program that shows a window and
// ends when the window has first been drawn, as `vimora` does with VIMORA_EXIT_AFTER_FIRST_PAINT.
#include <QApplication>
#include <QLabel>
#include <QTimer>

class FirstPaintLabel : public QLabel {
protected:
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FirstPaintLabel window;
    window.setText(QStringLiteral("ヴィモラ"));
    window.resize(800, 600);
    window.show();
    return app.exec();
}
