#pragma once

#include <string>
#include <string_view>

namespace vetra {

// XML text for element content or (with `attribute`) a double-quoted
// attribute value: markup characters escaped, line breaks and tabs as
// character references so they survive attribute normalisation, and the
// control characters XML 1.0 cannot carry dropped.
void appendXmlEscaped(std::string_view utf8, std::string& out, bool attribute);

// ` name="value"`, the value escaped as an attribute.
void appendXmlAttribute(std::string_view name, std::string_view utf8, std::string& out);

// Nesting indentation for a line at `level`, capped so that a very deep
// chain does not grow the file with the square of its depth.
void appendXmlIndent(int level, std::string& out);

// Collects the plain text of rich content: element boundaries of blocks
// and "br" end lines, runs of blanks fold into one as in HTML, and the
// content of "head", "style" and "script" is left out. Content that is not
// an HTML document (a plain-text note in a "text" element) is taken as it
// stands, one line per line.
class THtml_Text_Collector {
  public:
    void startElement(std::string_view name);
    void endElement(std::string_view name);
    void text(std::string_view utf8);
    // The lines joined with "\n", blank lines at either end removed.
    std::string finish();

  private:
    void endLine(bool evenIfEmpty);
    std::string Text_;
    std::string Line_;
    std::string Raw_;
    bool Seen_Html_ = false;
    int Hidden_Depth_ = 0;
};

// Plain text as the body of an HTML document, a paragraph per line.
void appendHtmlParagraphs(std::string_view utf8, std::string& out);

}  // namespace vetra
