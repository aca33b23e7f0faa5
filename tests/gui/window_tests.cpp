// The window tests' one program: `window_tests NAME [Qt Test options]` runs the test class
// registered as NAME, with the application QTEST_MAIN would make.
#include <QApplication>
#include <QTest>
#include <cstdio>
#include <vector>

#include "gui_fixture.h"

namespace brennix::test {

std::map<std::string, GuiTestFactory>& GuiTests() {
    static std::map<std::string, GuiTestFactory> tests;
    return tests;
}

}  // namespace brennix::test

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    const auto& tests = brennix::test::GuiTests();
    const auto test = argc > 1 ? tests.find(argv[1]) : tests.end();
    if (test == tests.end()) {
        std::fprintf(stderr, "usage: window_tests NAME [options]; NAME is one of:\n");
        for (const auto& [name, make] : tests) {
            std::fprintf(stderr, "  %s\n", name.c_str());
        }
        return 2;
    }
    std::vector<char*> arguments{argv[0]};
    arguments.insert(arguments.end(), argv + 2, argv + argc);
    const std::unique_ptr<QObject> object = test->second();
    return QTest::qExec(object.get(), static_cast<int>(arguments.size()), arguments.data());
}
