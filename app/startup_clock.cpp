#include "app/startup_clock.h"

#include <unistd.h>
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

namespace vetra {
namespace {

bool Quit_After_First_Paint = false;

double bootMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The start time field of /proc/self/stat, in milliseconds since boot; the
// command name before it may hold spaces, so fields count from its ')'.
double processStartMilliseconds() {
    std::ifstream in("/proc/self/stat");
    std::string line;
    std::getline(in, line);
    const size_t close = line.rfind(')');
    if (close == std::string::npos) return bootMilliseconds();
    const char* at = line.c_str() + close + 2;
    for (int field = 3; field < 22 && *at != '\0'; ++field) {
        while (*at != '\0' && *at != ' ') ++at;
        if (*at == ' ') ++at;
    }
    const double ticks = std::strtod(at, nullptr);
    return ticks * 1e3 / double(sysconf(_SC_CLK_TCK));
}

const double Process_Start = processStartMilliseconds();

// Watches for the first paint of a document window's view; the quit waits
// for the event loop's next turn, so the paint has finished by then.
class TFirst_Paint_Probe : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!Seen_ && event->type() == QEvent::Paint && watched->objectName() == "Image_View") {
            Seen_ = true;
            QTimer::singleShot(0, qApp, [] {
                std::fprintf(stderr, "%.1f\n", millisecondsSinceProcessStart());
                markStartupPhase("first paint");
                QApplication::exit(0);
            });
        }
        return false;
    }

  private:
    bool Seen_ = false;
};

}  // namespace

double millisecondsSinceProcessStart() {
    return bootMilliseconds() - Process_Start;
}

void markStartupPhase(const char* name) {
    static const bool enabled = std::getenv("VETRA_STARTUP_PHASES") != nullptr;
    if (enabled)
        std::fprintf(stderr, "phase %-24s %8.1f ms\n", name, millisecondsSinceProcessStart());
}

void requestQuitAfterFirstPaint() {
    Quit_After_First_Paint = true;
}

bool quitAfterFirstPaintRequested() {
    return Quit_After_First_Paint;
}

void installFirstPaintProbe(QApplication& application) {
    application.installEventFilter(new TFirst_Paint_Probe(&application));
}

}  // namespace vetra
