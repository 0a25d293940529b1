#include "export/note_text_document.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QUrl>
#include <atomic>

namespace vetra {
namespace {

// Format properties that carry what QTextDocument has no field for.
constexpr int kCharset_Property = QTextFormat::UserProperty + 1;
constexpr int kSpace_Before_Property = QTextFormat::UserProperty + 2;
constexpr int kSpace_After_Property = QTextFormat::UserProperty + 3;
constexpr int kBitmap_Property = QTextFormat::UserProperty + 4;
constexpr int kWidth_Twips_Property = QTextFormat::UserProperty + 5;
constexpr int kHeight_Twips_Property = QTextFormat::UserProperty + 6;

constexpr double kTwips_Per_Pixel = 15.0;

QString pictureName() {
    static std::atomic<int> next{1};
    return QStringLiteral("vetra-note-picture:%1").arg(next++);
}

QByteArray bytesOf(const std::string& data) {
    return QByteArray(data.data(), static_cast<qsizetype>(data.size()));
}

QTextCharFormat charFormatOf(const TRtf_Char_Format& format) {
    QTextCharFormat out;
    if (!format.Font_Name.empty())
        out.setFontFamilies(QStringList{QString::fromStdString(format.Font_Name)});
    out.setFontPointSize(format.Size_Half_Points / 2.0);
    out.setFontWeight(format.Bold ? QFont::Bold : QFont::Normal);
    out.setFontItalic(format.Italic);
    out.setFontUnderline(format.Underline);
    if (format.Color != kRtf_Color_Auto) {
        auto bits = static_cast<uint32_t>(format.Color);
        out.setForeground(QColor(bits & 0xFF, (bits >> 8) & 0xFF, (bits >> 16) & 0xFF));
    }
    if (format.Charset >= 0) out.setProperty(kCharset_Property, format.Charset);
    return out;
}

TRtf_Char_Format modelFormatOf(const QTextCharFormat& format) {
    TRtf_Char_Format out;
    QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty()) out.Font_Name = families.first().toStdString();
    if (format.hasProperty(QTextFormat::FontPointSize))
        out.Size_Half_Points = qBound(1, qRound(format.fontPointSize() * 2), 3276);
    out.Bold = format.fontWeight() >= QFont::DemiBold;
    out.Italic = format.fontItalic();
    out.Underline = format.fontUnderline();
    if (format.foreground().style() != Qt::NoBrush) {
        QColor color = format.foreground().color();
        out.Color = color.red() | (color.green() << 8) | (color.blue() << 16);
    }
    out.Charset =
        format.hasProperty(kCharset_Property) ? format.intProperty(kCharset_Property) : -1;
    return out;
}

Qt::Alignment alignmentOf(TRtf_Align align) {
    switch (align) {
        case TRtf_Align::Right:
            return Qt::AlignRight | Qt::AlignAbsolute;
        case TRtf_Align::Center:
            return Qt::AlignHCenter;
        case TRtf_Align::Justify:
            return Qt::AlignJustify;
        default:
            return Qt::AlignLeft | Qt::AlignAbsolute;
    }
}

TRtf_Align modelAlignOf(Qt::Alignment alignment) {
    if (alignment & Qt::AlignHCenter) return TRtf_Align::Center;
    if (alignment & Qt::AlignRight) return TRtf_Align::Right;
    if (alignment & Qt::AlignJustify) return TRtf_Align::Justify;
    return TRtf_Align::Left;
}

QTextBlockFormat blockFormatOf(const TRtf_Paragraph& paragraph) {
    QTextBlockFormat out;
    out.setAlignment(alignmentOf(paragraph.Align));
    out.setTopMargin(paragraph.Space_Before / kTwips_Per_Pixel);
    out.setBottomMargin(paragraph.Space_After / kTwips_Per_Pixel);
    out.setProperty(kSpace_Before_Property, paragraph.Space_Before);
    out.setProperty(kSpace_After_Property, paragraph.Space_After);
    return out;
}

// Spacing in twips: the exact value read when the margin was not changed since.
int twipsOf(const QTextBlockFormat& format, int property, double margin) {
    if (format.hasProperty(property)) {
        int twips = format.intProperty(property);
        if (qAbs(twips / kTwips_Per_Pixel - margin) < 0.01) return twips;
    }
    return qRound(margin * kTwips_Per_Pixel);
}

QImage imageOf(const TRtf_Picture& picture) {
    const char* format = picture.Kind == TRtf_Picture_Kind::Png    ? "PNG"
                         : picture.Kind == TRtf_Picture_Kind::Jpeg ? "JPEG"
                                                                   : "BMP";
    return QImage::fromData(bytesOf(picture.Data), format);
}

void insertImage(QTextCursor& cursor, QTextDocument& document, const QImage& image,
                 const TRtf_Picture& picture, const QTextCharFormat& around) {
    QString name = pictureName();
    document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.merge(around);
    format.setName(name);
    double width = picture.Width_Twips > 0 ? picture.Width_Twips / kTwips_Per_Pixel : image.width();
    double height =
        picture.Height_Twips > 0 ? picture.Height_Twips / kTwips_Per_Pixel : image.height();
    format.setWidth(width);
    format.setHeight(height);
    if (picture.Kind == TRtf_Picture_Kind::Bmp_File)
        format.setProperty(kBitmap_Property, bytesOf(picture.Data));
    format.setProperty(kWidth_Twips_Property, picture.Width_Twips);
    format.setProperty(kHeight_Twips_Property, picture.Height_Twips);
    cursor.insertImage(format);
}

std::string bitmapFileOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // Bitmap files carry no transparency a note could use: flatten on white.
    QImage flat(image.size(), QImage::Format_RGB888);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, image);
    }
    flat.save(&buffer, "BMP");
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

TRtf_Picture pictureOf(const QTextImageFormat& format, const QTextDocument& document) {
    TRtf_Picture picture;
    QByteArray kept = format.property(kBitmap_Property).toByteArray();
    if (!kept.isEmpty()) {
        picture.Data.assign(kept.constData(), static_cast<size_t>(kept.size()));
    } else {
        QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(format.name()));
        QImage image = resource.value<QImage>();
        if (image.isNull()) return picture;
        picture.Data = bitmapFileOf(image);
    }
    int widthTwips = format.intProperty(kWidth_Twips_Property);
    int heightTwips = format.intProperty(kHeight_Twips_Property);
    // A size the note gave is kept while the shown size still matches it.
    if (widthTwips > 0 && qAbs(widthTwips / kTwips_Per_Pixel - format.width()) < 0.01 &&
        heightTwips > 0 && qAbs(heightTwips / kTwips_Per_Pixel - format.height()) < 0.01) {
        picture.Width_Twips = widthTwips;
        picture.Height_Twips = heightTwips;
    } else if (format.width() > 0 && format.height() > 0) {
        picture.Width_Twips = qRound(format.width() * kTwips_Per_Pixel);
        picture.Height_Twips = qRound(format.height() * kTwips_Per_Pixel);
    }
    return picture;
}

void appendRunText(TRtf_Paragraph& paragraph, const TRtf_Char_Format& format, QString text) {
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.remove(QChar::ObjectReplacementCharacter);
    if (text.isEmpty()) return;
    std::string utf8 = text.toStdString();
    if (!paragraph.Runs.empty() && !paragraph.Runs.back().isPicture() &&
        paragraph.Runs.back().Format == format) {
        paragraph.Runs.back().Text += utf8;
        return;
    }
    TRtf_Run run;
    run.Format = format;
    run.Text = std::move(utf8);
    paragraph.Runs.push_back(std::move(run));
}

}  // namespace

void loadNoteIntoTextDocument(const TRtf_Document& note, QTextDocument& document) {
    document.clear();
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    QTextList* list = nullptr;
    bool first = true;
    for (const TRtf_Paragraph& paragraph : note.Paragraphs) {
        QTextCharFormat blockChars =
            charFormatOf(paragraph.Runs.empty() ? TRtf_Char_Format{} : paragraph.Runs[0].Format);
        if (first)
            cursor.setBlockFormat(blockFormatOf(paragraph)), cursor.setBlockCharFormat(blockChars);
        else
            cursor.insertBlock(blockFormatOf(paragraph), blockChars);
        first = false;
        if (paragraph.Bullet) {
            if (list != nullptr)
                list->add(cursor.block());
            else
                list = cursor.createList(QTextListFormat::ListDisc);
        } else {
            list = nullptr;
        }
        for (const TRtf_Run& run : paragraph.Runs) {
            QTextCharFormat format = charFormatOf(run.Format);
            if (!run.isPicture()) {
                QString text = QString::fromStdString(run.Text);
                text.replace(QLatin1Char('\n'), QChar::LineSeparator);
                cursor.insertText(text, format);
                continue;
            }
            if (run.Picture >= static_cast<int>(note.Pictures.size())) continue;
            const TRtf_Picture& picture = note.Pictures[run.Picture];
            QImage image = imageOf(picture);
            if (!image.isNull()) insertImage(cursor, document, image, picture, format);
        }
    }
    cursor.endEditBlock();
}

TRtf_Document noteFromTextDocument(const QTextDocument& document) {
    TRtf_Document note;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        TRtf_Paragraph paragraph;
        QTextBlockFormat format = block.blockFormat();
        paragraph.Align = modelAlignOf(format.alignment());
        paragraph.Space_Before = twipsOf(format, kSpace_Before_Property, format.topMargin());
        paragraph.Space_After = twipsOf(format, kSpace_After_Property, format.bottomMargin());
        paragraph.Bullet = block.textList() != nullptr;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) continue;
            QTextCharFormat chars = fragment.charFormat();
            TRtf_Char_Format modelFormat = modelFormatOf(chars);
            if (!chars.isImageFormat()) {
                appendRunText(paragraph, modelFormat, fragment.text());
                continue;
            }
            TRtf_Picture picture = pictureOf(chars.toImageFormat(), document);
            if (picture.Data.empty()) continue;
            for (int i = 0; i < fragment.length(); ++i) {
                TRtf_Run run;
                run.Format = modelFormat;
                run.Picture = static_cast<int>(note.Pictures.size());
                note.Pictures.push_back(picture);
                paragraph.Runs.push_back(std::move(run));
            }
        }
        note.Paragraphs.push_back(std::move(paragraph));
    }
    return note;
}

bool insertPictureAt(QTextCursor& cursor, const std::string& bitmapFile) {
    TRtf_Picture picture;
    picture.Data = bitmapFile;
    QImage image = imageOf(picture);
    if (image.isNull() || cursor.document() == nullptr) return false;
    insertImage(cursor, *cursor.document(), image, picture, cursor.charFormat());
    return true;
}

}  // namespace vetra
