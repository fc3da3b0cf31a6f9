// Built and run in sanitizer builds only (see tests/CMakeLists.txt and
// check_leak_canary.cmake). It starts the offscreen platform as every widget test does, so
// Qt's own start-up leaks happen, then loses an object of its own on purpose. The check
// passes only when LeakSanitizer still reports that object with this file in its stack: the
// suppressions in tests/lsan.supp silence the platform start-up and nothing of ours.
#include <QApplication>
#include <QObject>
#include <QWidget>

#include <cstring>

namespace {

__attribute__((noinline)) void loseObject()
{
    auto *lost = new QObject;
    lost->setObjectName(QStringLiteral("lost on purpose"));
    // The pointer dies here, no parent owns the object: a leak.
}

// Overwrites the stack below the caller, so no stale copy of the lost pointer keeps the
// object reachable when LeakSanitizer scans the stack at exit.
__attribute__((noinline)) void clearStack()
{
    volatile char scratch[16384];
    std::memset(const_cast<char *>(scratch), 0, sizeof scratch);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.show();
    QApplication::processEvents();
    loseObject();
    clearStack();
    return 0;
}
