#pragma once

#include <QString>

namespace vetra {

class TForm_Main_Vetra;

// The help document "vt_help.vt": beside the program when it is there (a
// build tree), else in the installed data folder ../share/vetra.
QString helpDocumentPath(const QString& programDirectory);

// Connects the shell commands of the tool menu: the file association (N9),
// the about box (N3) and the help document (N_Help, F1 and the tool bar's
// help button), and gives the frame its icon.
void installShellCommands(TForm_Main_Vetra& frame);

// The association command: registers ".vt" for the user and says how it went.
void N9Click(TForm_Main_Vetra& frame);
// Opens the help document beside the program, or brings its window forward.
void N_HelpClick(TForm_Main_Vetra& frame);
// The about box, modal.
void N3Click(TForm_Main_Vetra& frame);

}  // namespace vetra
