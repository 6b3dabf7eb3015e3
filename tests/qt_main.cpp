#include <gtest/gtest.h>

#include <QApplication>

// The main of the test programs that need a QApplication: the window tests drive real widgets
// and the PDF tests draw with Qt's fonts. Without a display they run on the offscreen platform.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
