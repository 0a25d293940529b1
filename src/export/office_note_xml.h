#pragma once

#include <map>
#include <string>
#include <string_view>

#include "rtf/rtf_document.h"

namespace vetra {

// UTF-8 text as OpenDocument character data: escaped, runs of spaces as
// <text:s/>, tabs as <text:tab/>, line feeds as <text:line-break/>, and the
// control characters XML forbids left out.
std::string odfText(std::string_view utf8);

// Writes notes as OpenDocument text paragraphs and collects the automatic
// styles they need (one per distinct character format and alignment).
class TOdf_Note_Writer {
  public:
    // Appends the note's paragraphs, based on the paragraph style `baseStyle`.
    void write(const TRtf_Document& note, const std::string& baseStyle, std::string& xml);
    // The <style:style> elements of the notes written so far.
    std::string automaticStyles() const;

  private:
    std::string textStyle(const TRtf_Char_Format& format);
    std::string paragraphStyle(const std::string& baseStyle, const TRtf_Paragraph& paragraph);
    std::string picture(const TRtf_Picture& picture);

    std::map<std::string, std::string> Styles_;  // properties -> style name
    std::string Style_Xml_;
};

}  // namespace vetra
