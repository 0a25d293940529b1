#pragma once

#include <string>

#include "export/rtf_reader.h"

namespace vetra {

// Converts a note to HTML as it is read: each run becomes a font element with
// its size, face and colour, wrapped in b, u and i as its style says; note
// pictures become numbered JPEG files beside the page ("%s_%03d.jpg" of the
// object prefix and the picture counter) with an img element. No other file
// is left behind.
class TRtf_Reader_To_Html : public TRtf_Reader {
  public:
    // HTML goes to `out`; pictures into `directory` ("" or ending in "/").
    TRtf_Reader_To_Html(std::string& out, std::string directory);

  protected:
    void emitRun(const TRtf_Run& run, const Rtf_Node_Stru& group) override;
    bool writePicture(std::string_view bytes, TPicture_Kind kind) override;

  private:
    std::string& Out_;
    std::string Directory_;
};

// Writes the run's text as note HTML: escaped, with the characters the page's
// code page cannot hold as character references.
void appendRunHtml(std::string& out, const TRtf_Run& run);

}  // namespace vetra
