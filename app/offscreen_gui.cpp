#include "app/offscreen_gui.h"

#include <cstdlib>

namespace vetra {

std::unique_ptr<QGuiApplication> startOffscreenGui(int& argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace vetra
