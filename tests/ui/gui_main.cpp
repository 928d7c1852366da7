// Runs every Qt test class of the window in one program (offscreen).
#include <QApplication>
#include <QTest>

#include "guitest.h"

std::vector<GuiTestFactory>& GuiTests() {
    static std::vector<GuiTestFactory> tests;
    return tests;
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // "--class=Name" as the first argument runs only that test class; the
    // other arguments go to Qt Test.
    QByteArray only;
    if (argc > 1 && QByteArray(argv[1]).startsWith("--class=")) {
        only = QByteArray(argv[1]).mid(8);
        for (int i = 1; i + 1 < argc; ++i)
            argv[i] = argv[i + 1];
        --argc;
    }
    int failures = 0;
    for (const GuiTestFactory& make : GuiTests()) {
        const std::unique_ptr<QObject> test = make();
        if (!only.isEmpty() && only != test->metaObject()->className()) continue;
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
