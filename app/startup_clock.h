#pragma once

class QApplication;

namespace vetra {

// Milliseconds since the kernel started this process (dynamic loading and
// static construction included), to a clock tick's resolution.
double millisecondsSinceProcessStart();

// With VETRA_STARTUP_PHASES set, prints `phase NAME MS` on standard error:
// where start-up spends its time before the first paint.
void markStartupPhase(const char* name);

// `vetra --quit-after-paint`: the editor quits once the first document
// window has painted its view and prints on standard error the milliseconds
// from process start to that paint.
void requestQuitAfterFirstPaint();
bool quitAfterFirstPaintRequested();
void installFirstPaintProbe(QApplication& application);

}  // namespace vetra
