#pragma once

namespace vetra {

class TForm_Main_Vetra;
class TScript_Runner;

// The script commands of `vetra --run` for the view of the active document
// window:
//   zoom PERCENT              set the zoom (10 to 400), keeping the middle
//   wheel DX DY [ctrl|shift]  turn the wheel over the middle of the drawing
//                             (120 is one notch; positive DY is away from
//                             the user)
void addViewScriptCommands(TScript_Runner& runner, TForm_Main_Vetra& frame);

}  // namespace vetra
