#pragma once

#include <QGuiApplication>
#include <memory>

namespace vetra {

// A Qt application for commands that draw or measure text without a display:
// the offscreen platform unless the caller chose another.
std::unique_ptr<QGuiApplication> startOffscreenGui(int& argc, char** argv);

}  // namespace vetra
