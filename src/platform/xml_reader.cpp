#include "platform/xml_reader.h"

#include <QByteArray>
#include <QXmlStreamReader>

namespace vetra {

struct TXml_Reader::TImpl {
    explicit TImpl(std::string_view document)
        : Bytes(QByteArray::fromRawData(document.data(), static_cast<qsizetype>(document.size()))),
          Reader(Bytes) {}
    QByteArray Bytes;
    QXmlStreamReader Reader;
    std::string Refusal;
};

TXml_Reader::TXml_Reader(std::string_view document) : Impl_(std::make_unique<TImpl>(document)) {}

TXml_Reader::~TXml_Reader() = default;

TXml_Reader::TToken TXml_Reader::next() {
    QXmlStreamReader& reader = Impl_->Reader;
    if (!Impl_->Refusal.empty()) return TToken::Error;
    for (;;) {
        switch (reader.readNext()) {
            case QXmlStreamReader::StartElement: {
                Name_ = reader.name().toUtf8().toStdString();
                Attributes_.clear();
                const QXmlStreamAttributes attributes = reader.attributes();
                for (const QXmlStreamAttribute& attribute : attributes)
                    Attributes_.emplace_back(attribute.name().toUtf8().toStdString(),
                                             attribute.value().toUtf8().toStdString());
                return TToken::Start_Element;
            }
            case QXmlStreamReader::EndElement:
                Name_ = reader.name().toUtf8().toStdString();
                return TToken::End_Element;
            case QXmlStreamReader::Characters:
                Text_ = reader.text().toUtf8().toStdString();
                return TToken::Text;
            case QXmlStreamReader::DTD:
                // Declared entities could expand a small file into a huge one
                // (or name outside files); such documents are refused.
                if (!reader.entityDeclarations().isEmpty() ||
                    !reader.notationDeclarations().isEmpty()) {
                    Impl_->Refusal = "entity declarations";
                    return TToken::Error;
                }
                continue;
            case QXmlStreamReader::EntityReference:
                Impl_->Refusal = "undeclared entity";
                return TToken::Error;
            case QXmlStreamReader::EndDocument:
                return TToken::End_Of_Document;
            case QXmlStreamReader::Invalid:
                return TToken::Error;
            default:
                continue;
        }
    }
}

const std::string* TXml_Reader::attribute(std::string_view attributeName) const {
    for (const auto& attribute : Attributes_)
        if (attribute.first == attributeName) return &attribute.second;
    return nullptr;
}

std::string TXml_Reader::errorText() const {
    if (!Impl_->Refusal.empty()) return Impl_->Refusal;
    return Impl_->Reader.errorString().toStdString() + " at line " +
           std::to_string(Impl_->Reader.lineNumber());
}

}  // namespace vetra
