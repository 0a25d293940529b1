#include "ui/picture_export.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "export/emf_canvas.h"
#include "export/html_map.h"
#include "export/html_text.h"
#include "layout/view_paint.h"
#include "ui/qpainter_canvas.h"

namespace vetra {
namespace {

// Rows per band: about 4 MB of pixels, at least 16 rows.
int32_t bandRows(int32_t width) {
    return std::max<int32_t>(16, (4 << 20) / (std::max(width, 1) * 4));
}

void paintRegion(TCanvas& canvas, TTree_Node& root, const TPaint_Options& options,
                 const TPicture_Rect& clip) {
    canvas.fillRect(clip.left, clip.top, clip.right, clip.bottom, options.background);
    paintSubtree(canvas, root, options, clip);
}

// One band buffer with its painter, kept for the whole export so fonts are
// set up once.
struct TBand {
    QImage image;
    std::unique_ptr<QPainter> painter;
    std::unique_ptr<TQPainter_Canvas> canvas;
    int32_t rows = 0;
    bool full = false;
};

TPicture_Error exportBanded(TTree_Node& root, const std::string& path, TPicture_Format format,
                            int32_t width, int32_t height, const TPaint_Options& options) {
    TPicture_Error error = TPicture_Error::None;
    auto sink = openPictureSink(format, path, width, height, error, 90);
    if (!sink) return error;
    const int32_t rowsPerBand = std::min(bandRows(width), height);
    TBand bands[2];
    for (TBand& band : bands) {
        band.image = QImage(width, rowsPerBand, QImage::Format_RGB32);
        if (band.image.isNull()) return TPicture_Error::Too_Large;
        band.image.setDotsPerMeterX(3780);
        band.image.setDotsPerMeterY(3780);
        band.painter = std::make_unique<QPainter>(&band.image);
        band.canvas = std::make_unique<TQPainter_Canvas>(band.painter.get());
    }
    const int32_t count = (height + rowsPerBand - 1) / rowsPerBand;
    const bool bottomUp = sink->bottomUp();
    // Band k covers these rows; a bottom-up file takes the bottom band first.
    auto bandTop = [&](int32_t k) {
        const int32_t index = bottomUp ? count - 1 - k : k;
        return index * rowsPerBand;
    };
    std::mutex mutex;
    std::condition_variable changed;
    bool writeFailed = false;
    std::thread encoder([&] {
        for (int32_t k = 0; k < count; ++k) {
            TBand& band = bands[k % 2];
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return band.full; });
            }
            if (!writeFailed &&
                !sink->writeRows(band.image.constBits(),
                                 static_cast<size_t>(band.image.bytesPerLine()), band.rows))
                writeFailed = true;
            {
                std::lock_guard lock(mutex);
                band.full = false;
            }
            changed.notify_all();
        }
    });
    for (int32_t k = 0; k < count; ++k) {
        TBand& band = bands[k % 2];
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return !band.full; });
        }
        const int32_t top = bandTop(k);
        band.rows = std::min(rowsPerBand, height - top);
        band.painter->resetTransform();
        band.painter->translate(0, -top);
        paintRegion(*band.canvas, root, options, {0, top, width, top + band.rows});
        {
            std::lock_guard lock(mutex);
            band.full = true;
        }
        changed.notify_all();
    }
    encoder.join();
    for (TBand& band : bands) band.painter->end();
    const bool finished = sink->finish();
    return writeFailed || !finished ? TPicture_Error::Write_Failed : TPicture_Error::None;
}

TPicture_Error exportVector(TTree_Node& root, const std::string& path, TPicture_Type type,
                            int32_t width, int32_t height, const TPaint_Options& options) {
    const QString name = QString::fromStdString(path);
    const TPicture_Rect all{0, 0, width, height};
    if (type == TPicture_Type::Svg) {
        QSvgGenerator generator;
        generator.setFileName(name);
        generator.setSize(QSize(width, height));
        generator.setViewBox(QRect(0, 0, width, height));
        generator.setResolution(96);
        generator.setTitle("Vetra");
        QPainter painter;
        if (!painter.begin(&generator)) return TPicture_Error::Cannot_Create;
        TQPainter_Canvas canvas(&painter);
        paintRegion(canvas, root, options, all);
        return painter.end() ? TPicture_Error::None : TPicture_Error::Write_Failed;
    }
    QPdfWriter writer(name);
    writer.setResolution(96);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setPageSize(QPageSize(QSizeF(width * 72.0 / 96, height * 72.0 / 96), QPageSize::Point,
                                 QString(), QPageSize::ExactMatch));
    writer.setCreator("Vetra");
    QPainter painter;
    if (!painter.begin(&writer)) return TPicture_Error::Cannot_Create;
    TQPainter_Canvas canvas(&painter);
    paintRegion(canvas, root, options, all);
    return painter.end() ? TPicture_Error::None : TPicture_Error::Write_Failed;
}

TPicture_Error exportMetafile(TTree_Node& root, const std::string& path, int32_t width,
                              int32_t height, const TPaint_Options& options) {
    TQPainter_Canvas metrics;
    TEmf_Canvas canvas(path, width, height, metrics);
    if (!canvas.isOpen()) return TPicture_Error::Cannot_Create;
    paintRegion(canvas, root, options, {0, 0, width, height});
    return canvas.close() ? TPicture_Error::None : TPicture_Error::Write_Failed;
}

}  // namespace

TPicture_Type pictureTypeOf(std::string_view path) {
    std::string extension;
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash))
        for (char c : path.substr(dot))
            extension.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    if (extension == ".jpg" || extension == ".jpeg") return TPicture_Type::Jpeg;
    if (extension == ".png") return TPicture_Type::Png;
    if (extension == ".emf") return TPicture_Type::Emf;
    if (extension == ".svg") return TPicture_Type::Svg;
    if (extension == ".pdf") return TPicture_Type::Pdf;
    return TPicture_Type::Bmp;
}

TPicture_Error exportPicture(TTree_Node& root, const std::string& path, TPicture_Type type,
                             const TPaint_Options& options, int32_t* width, int32_t* height) {
    const int64_t wide = int64_t{root.Layout.Block_Width} + 2 * kPicture_Margin;
    const int64_t high = int64_t{root.Layout.Block_Height} + 2 * kPicture_Margin;
    if (wide > INT32_MAX || high > INT32_MAX) return TPicture_Error::Too_Large;
    const auto w = static_cast<int32_t>(wide), h = static_cast<int32_t>(high);
    if (width != nullptr) *width = w;
    if (height != nullptr) *height = h;
    const TNode_Point saved = root.Layout.Block_Pos;
    TTree_Node* parent = root.Parent;
    root.Parent = nullptr;  // the root's block is the picture's origin
    root.Layout.Block_Pos = {kPicture_Margin, kPicture_Margin};
    TPicture_Error error = TPicture_Error::None;
    switch (type) {
        case TPicture_Type::Bmp:
            error = exportBanded(root, path, TPicture_Format::Bmp, w, h, options);
            break;
        case TPicture_Type::Jpeg:
            error = exportBanded(root, path, TPicture_Format::Jpeg, w, h, options);
            break;
        case TPicture_Type::Png:
            error = exportBanded(root, path, TPicture_Format::Png, w, h, options);
            break;
        case TPicture_Type::Emf:
            error = exportMetafile(root, path, w, h, options);
            break;
        case TPicture_Type::Svg:
        case TPicture_Type::Pdf:
            error = exportVector(root, path, type, w, h, options);
            break;
    }
    root.Layout.Block_Pos = saved;
    root.Parent = parent;
    return error;
}

TPicture_Error exportMapPage(TTree_Node& root, TNote_Reader& notes, const std::string& path,
                             const TPaint_Options& options) {
    const std::string stem = withoutExtension(path);
    TPicture_Error error = exportPicture(root, stem + ".emf", TPicture_Type::Emf, options);
    if (error != TPicture_Error::None) return error;
    error = exportPicture(root, stem + ".png", TPicture_Type::Png, options);
    if (error != TPicture_Error::None) return error;
    const TNode_Point saved = root.Layout.Block_Pos;
    root.Layout.Block_Pos = {kPicture_Margin, kPicture_Margin};
    const std::string page = htmlMapText(root, notes, std::string(fileNamePart(stem)) + ".png");
    root.Layout.Block_Pos = saved;
    return writeTextFile(path, page) ? TPicture_Error::None : TPicture_Error::Cannot_Create;
}

std::string pictureErrorText(TPicture_Error error) {
    switch (error) {
        case TPicture_Error::Too_Large:
            return "圖形太大，此格式無法保存 %s";
        case TPicture_Error::Cannot_Create:
            return "無法創建文件 %s";
        case TPicture_Error::Write_Failed:
            return "無法寫入文件 %s";
        case TPicture_Error::None:
            break;
    }
    return {};
}

}  // namespace vetra
