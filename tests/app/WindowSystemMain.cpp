#include "WindowSystem.h"
#include "XSession.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLocale>
#include <cstring>

namespace {

XSession* session = nullptr;
QString error;

}  // namespace

XSession* WindowSystem() {
    return session;
}

QString WindowSystemError() {
    return error;
}

// The tests run on an X server of their own with a window manager; where none can start, they
// run on the offscreen platform and skip.
int main(int argc, char** argv) {
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
    XSession x;
    if (!listing && x.Start())
        session = &x;
    else
        error = listing ? QStringLiteral("listing only") : x.Error();
    qputenv("QT_QPA_PLATFORM", session ? QByteArray("xcb") : QByteArray("offscreen"));
    int status = 0;
    {
        QApplication app(argc, argv);
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        ::testing::InitGoogleTest(&argc, argv);
        status = RUN_ALL_TESTS();
    }
    return status;
}
