#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace vetra {

class TForm_Main_Vetra;

// Drives the real editor from a script, one command a line (see README:
// select, key, type, menu, click, dblclick, drag, band, answer, dump, state).
// Dialogs take queued answers and message boxes print themselves.
class TScript_Runner {
  public:
    using TOutput = std::function<void(const QString&)>;
    TScript_Runner(TForm_Main_Vetra& frame, TOutput output);

    // Runs the lines; 0 when every line ran, else the 1-based number of the
    // first line that could not run (and `error` says why).
    int run(const QStringList& lines, QString* error = nullptr);
    // One line; false (with `error`) when it cannot run.
    bool runLine(const QString& line, QString* error);

    // Starts the clock of the `elapsed` command (which prints the time since
    // the last mark and sets a new one).
    void markTime();

    // Extra commands (search, style, map) registered by other windows.
    using TCommand = std::function<bool(const QStringList& arguments, QString* error)>;
    void addCommand(const QString& name, TCommand command);

  private:
    struct TImpl;
    TForm_Main_Vetra& Frame_;
    TOutput Output_;
    qint64 Mark_Ns_ = 0;
    QList<QPair<QString, TCommand>> Commands_;
};

}  // namespace vetra
