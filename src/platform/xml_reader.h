#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vetra {

// A pull reader of XML documents that never loads anything from outside the
// document: external entities are not fetched, and a document that declares
// entities of its own is refused, so nothing expands into more text than the
// file holds. The tokens come in document order without recursion, whatever
// the nesting depth. Names and texts are UTF-8.
class TXml_Reader {
  public:
    enum class TToken { Start_Element, End_Element, Text, End_Of_Document, Error };

    // `document` must outlive the reader.
    explicit TXml_Reader(std::string_view document);
    ~TXml_Reader();
    TXml_Reader(const TXml_Reader&) = delete;
    TXml_Reader& operator=(const TXml_Reader&) = delete;

    TToken next();

    // Of the last Start_Element or End_Element: the element's name.
    const std::string& name() const { return Name_; }
    // Of the last Start_Element: the value of the named attribute, or null.
    const std::string* attribute(std::string_view attributeName) const;
    // Of the last Text (character data, CDATA and character references).
    const std::string& text() const { return Text_; }
    // Of an Error: the parser's words and the line.
    std::string errorText() const;

  private:
    struct TImpl;
    std::unique_ptr<TImpl> Impl_;
    std::string Name_;
    std::string Text_;
    std::vector<std::pair<std::string, std::string>> Attributes_;
};

}  // namespace vetra
