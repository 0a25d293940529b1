#pragma once

namespace vetra {

class TScript_Runner;
class TForm_Main_Vetra;

// Script commands of a whole session: "wait MS" runs the event loop for MS
// milliseconds (timers, hand-overs and snapshots happen as in a real
// session); "snapshot" does what the desktop's log-out request does;
// "link TEXT" gives the selected node that link and follows it.
void addSessionScriptCommands(TScript_Runner& runner, TForm_Main_Vetra& frame);

}  // namespace vetra
