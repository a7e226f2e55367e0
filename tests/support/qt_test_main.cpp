// Runs window tests inside a QApplication on the offscreen platform.
#include <QApplication>
#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a desktop session (CI, a build's test discovery) Qt wants a
    // private runtime folder; give it one instead of a warning per program.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        std::string runtime = "/tmp/quisk-tests-runtime-" + std::to_string(::getuid());
        ::mkdir(runtime.c_str(), 0700);
        qputenv("XDG_RUNTIME_DIR", runtime.c_str());
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
