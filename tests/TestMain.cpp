// Test entry: an application object on the offscreen platform and the headless message sink,
// so that no test ever opens a modal window.
#include "common/ShowCheck.h"

#include <gtest/gtest.h>

#ifdef VIMORA_TEST_GUI
#include <QApplication>
using TestApp = QApplication;
#else
#include <QGuiApplication>
using TestApp = QGuiApplication;
#endif

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    // As the program does, for the tests that show a browser form.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TestApp app(argc, argv);
    RecordingCheckSink sink;
    ScopedCheckSink installed(&sink);
    return RUN_ALL_TESTS();
}
