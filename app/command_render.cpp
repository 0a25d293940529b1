#include <QImage>
#include <QPainter>
#include <cstdio>
#include <string>

#include "app/commands.h"
#include "app/view_document.h"
#include "layout/text_measure_cache.h"
#include "ui/qpainter_canvas.h"

namespace vetra {

namespace {

// Pictures past this many pixels are refused rather than half allocated.
constexpr int64_t kMax_Render_Pixels = int64_t{1} << 28;

const char* imageFormat(const std::string& path) {
    auto endsWith = [&](const char* suffix) {
        const std::string s(suffix);
        if (path.size() < s.size()) return false;
        for (size_t i = 0; i < s.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(path[path.size() - s.size() + i])) != s[i])
                return false;
        return true;
    };
    if (endsWith(".png")) return "PNG";
    if (endsWith(".bmp")) return "BMP";
    if (endsWith(".jpg") || endsWith(".jpeg")) return "JPG";
    return nullptr;
}

}  // namespace

int runRender(const std::string& path, const std::string& outPath) {
    const char* format = imageFormat(outPath);
    if (format == nullptr) {
        std::fprintf(stderr, "%s\n", terminalMessage("不支持的圖片格式 %s", outPath).c_str());
        return 2;
    }
    auto document = readViewDocument(path);
    if (!document) return 1;
    TQPainter_Canvas metrics;
    layoutMainView(*document, metrics);
    const TView_Picture& picture = document->picture;
    if (int64_t{picture.Width} * picture.Height > kMax_Render_Pixels) {
        std::fprintf(stderr, "%s\n", terminalMessage("圖片太大，無法生成 %s", outPath).c_str());
        return 1;
    }
    QImage image(picture.Width, picture.Height, QImage::Format_RGB32);
    if (image.isNull()) {
        std::fprintf(stderr, "%s\n", terminalMessage("圖片太大，無法生成 %s", outPath).c_str());
        return 1;
    }
    image.setDotsPerMeterX(3780);  // 96 dpi, as the layout measured
    image.setDotsPerMeterY(3780);
    {
        QPainter painter(&image);
        TQPainter_Canvas canvas(&painter);
        paintViewPicture(canvas, *document->root, picture, TPaint_Options{},
                         {0, 0, picture.Width, picture.Height});
    }
    if (!image.save(QString::fromStdString(outPath), format, format[0] == 'J' ? 90 : -1)) {
        std::fprintf(stderr, "%s\n", terminalMessage("無法寫入文件 %s", outPath).c_str());
        return 1;
    }
    return 0;
}

}  // namespace vetra
