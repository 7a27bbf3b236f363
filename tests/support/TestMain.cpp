// The one main() of every test program. Three flavours, chosen by the
// target that compiles it: no Qt at all (the core and editing logic), an
// event loop without widgets (sockets), and a widget application.
#include <gtest/gtest.h>

#if defined(XANTU_TEST_GUI_APP)
#include <QApplication>
#include <QTemporaryDir>
#elif defined(XANTU_TEST_CORE_APP)
#include <QCoreApplication>
#include <QTemporaryDir>
#endif

int main(int argc, char** argv) {
#if defined(XANTU_TEST_GUI_APP) || defined(XANTU_TEST_CORE_APP)
    // Backups and other per-user data of a run go to a folder of that run,
    // never into the user's own.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
#endif
#if defined(XANTU_TEST_GUI_APP)
    // Headless unless a platform was chosen (the drag tests pick xcb on Xvfb).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
#elif defined(XANTU_TEST_CORE_APP)
    QCoreApplication app(argc, argv);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
