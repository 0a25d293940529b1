// Notes as plain text and the documents handed to LibreOffice.
#include <gtest/gtest.h>

#include <string>

#include "export/office_documents.h"
#include "rtf/rtf_reader.h"
#include "layout/tree_builder.h"

namespace vetra {
namespace {

size_t count(const std::string& text, const std::string& part) {
    size_t found = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++found;
    return found;
}

std::string repeated(const std::string& part, int times) {
    std::string out;
    while (times-- > 0) out += part;
    return out;
}

TEST(OfficeDocuments, PictureAndHeadingsFollowTheTree) {
    const TSlide_Picture_Place place = slidePicturePlace(540);
    EXPECT_EQ(place.left, 70);
    EXPECT_EQ(place.top, 130);
    EXPECT_EQ(place.height, 390);
    EXPECT_NEAR(place.width, 593.4, 0.05);
    for (auto [bytes, text] : {std::pair{"Man", "TWFu"}, {"Ma", "TWE="}, {"M", "TQ=="}, {"", ""}})
        EXPECT_EQ(base64(bytes), text);

    // A chain 12 deep: depth 9 and below are all Heading 9.
    auto root = testing::makeNode("root");
    TTree_Node* node = root.get();
    for (int depth = 1; depth <= 12; ++depth) node = testing::addChild(*node, "n");
    const std::string word = wordDocumentXml(
        *root, [](TTree_Node&) { return std::nullopt; }, 1);
    EXPECT_EQ(count(word, "<text:h text:style-name=\"Heading_20_9\" text:outline-level=\"9\">"),
              4u);
    EXPECT_EQ(count(word, "text:style-name=\"Title\">root<"), 1u);
}

TEST(OfficeDocuments, LeafSlidesCutTheNoteOnACharacterBoundary) {
    const struct {
        const char* name;
        std::string note;
        std::string kept;
        size_t times;
    } rows[] = {
        {"500 ASCII characters", std::string(500, 'a'), "a", 299},
        // 1 + 2 * 149 bytes: the 150th character would pass 299.
        {"two-byte characters", "a" + repeated("\xE4\xB8\xAD", 200), "\xE4\xB8\xAD", 149},
    };
    for (const auto& row : rows) {
        auto root = testing::makeNode("root");
        testing::addChild(*root, "leaf");
        const std::string xml = presentationXml(
            *root,
            [&](TTree_Node& n) -> std::optional<TRtf_Document> {
                if (n.hasChildren()) return std::nullopt;
                return documentFromPlainText(row.note);
            },
            1, "");
        const size_t start = xml.find("<text:p>", xml.rfind("presentation:class=\"outline\"")) + 8;
        const std::string body = xml.substr(start, xml.find("</text:p>", start) - start);
        EXPECT_EQ(count(body, row.kept), row.times) << row.name;
        EXPECT_EQ(count(xml, "<draw:page "), 3u) << row.name;
    }
}

}  // namespace
}  // namespace vetra
