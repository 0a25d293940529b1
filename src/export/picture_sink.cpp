#include "export/picture_sink.h"

#include "export/png_writer.h"

#include <jpeglib.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace vetra {
namespace {

// Closes a stdio file the sink owns.
struct TFile_Closer {
    void operator()(FILE* file) const {
        if (file != nullptr) std::fclose(file);
    }
};
using TFile_Ptr = std::unique_ptr<FILE, TFile_Closer>;

// Windows bitmap, 24 bits, rows stored bottom-up and padded to 4 bytes.
class TBmp_Sink : public TPicture_Sink {
  public:
    TBmp_Sink(TFile_Ptr file, int32_t width, int32_t height)
        : File_(std::move(file)), Width_(width), Row_((static_cast<size_t>(width) * 3 + 3) & ~3u) {
        const uint32_t imageSize = static_cast<uint32_t>(Row_ * static_cast<size_t>(height));
        uint8_t header[54] = {'B', 'M'};
        auto put32 = [&](int at, uint32_t value) {
            for (int i = 0; i < 4; ++i) header[at + i] = static_cast<uint8_t>(value >> (8 * i));
        };
        put32(2, 54 + imageSize);
        put32(10, 54);
        put32(14, 40);
        put32(18, static_cast<uint32_t>(width));
        put32(22, static_cast<uint32_t>(height));
        header[26] = 1;
        header[28] = 24;
        put32(34, imageSize);
        put32(38, 3780);  // 96 dpi
        put32(42, 3780);
        Ok_ = std::fwrite(header, 1, sizeof header, File_.get()) == sizeof header;
        Buffer_.resize(Row_ * 64);
    }

    bool bottomUp() const override { return true; }

    bool writeRows(const uint8_t* pixels, size_t stride, int32_t rows) override {
        size_t filled = 0;
        for (int32_t r = rows; Ok_ && r-- > 0;) {
            const uint8_t* in = pixels + stride * static_cast<size_t>(r);
            uint8_t* out = Buffer_.data() + filled;
            for (int32_t x = 0; x < Width_; ++x, in += 4, out += 3) {
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
            }
            filled += Row_;
            if (filled == Buffer_.size() || r == 0) {
                Ok_ = std::fwrite(Buffer_.data(), 1, filled, File_.get()) == filled;
                filled = 0;
            }
        }
        return Ok_;
    }

    bool finish() override {
        FILE* file = File_.release();
        return std::fclose(file) == 0 && Ok_;
    }

  private:
    TFile_Ptr File_;
    int32_t Width_;
    size_t Row_;
    std::vector<uint8_t> Buffer_;  // rows cleared to zero padding once
    bool Ok_ = false;
};

// libjpeg reports errors by a long jump back into the sink.
struct TJpeg_Error {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void jpegErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<TJpeg_Error*>(info->err)->jump, 1);
}

class TJpeg_Sink : public TPicture_Sink {
  public:
    TJpeg_Sink(TFile_Ptr file, int32_t width, int32_t height, int32_t quality)
        : File_(std::move(file)) {
        Info_.err = jpeg_std_error(&Error_.manager);
        Error_.manager.error_exit = jpegErrorExit;
        if (setjmp(Error_.jump)) {
            Ok_ = false;
            return;
        }
        jpeg_create_compress(&Info_);
        Created_ = true;
        jpeg_stdio_dest(&Info_, File_.get());
        Info_.image_width = static_cast<JDIMENSION>(width);
        Info_.image_height = static_cast<JDIMENSION>(height);
        Info_.input_components = 4;
        Info_.in_color_space = JCS_EXT_BGRX;
        jpeg_set_defaults(&Info_);
        jpeg_set_quality(&Info_, quality, TRUE);
        Info_.density_unit = 1;
        Info_.X_density = Info_.Y_density = 96;
        jpeg_start_compress(&Info_, TRUE);
        Ok_ = true;
    }

    ~TJpeg_Sink() override {
        if (Created_) jpeg_destroy_compress(&Info_);
    }

    bool writeRows(const uint8_t* pixels, size_t stride, int32_t rows) override {
        if (!Ok_) return false;
        if (setjmp(Error_.jump)) return Ok_ = false;
        for (int32_t r = 0; r < rows; ++r) {
            JSAMPROW row = const_cast<JSAMPROW>(pixels + stride * static_cast<size_t>(r));
            jpeg_write_scanlines(&Info_, &row, 1);
        }
        return true;
    }

    bool finish() override {
        if (Ok_ && !setjmp(Error_.jump))
            jpeg_finish_compress(&Info_);
        else
            Ok_ = false;
        FILE* file = File_.release();
        const bool flushed = std::fflush(file) == 0 && !std::ferror(file);
        return std::fclose(file) == 0 && flushed && Ok_;
    }

  private:
    TFile_Ptr File_;
    jpeg_compress_struct Info_{};
    TJpeg_Error Error_{};
    bool Created_ = false;
    bool Ok_ = false;
};

// PNG, 8-bit RGB, by the run-coding writer.
class TPng_Sink : public TPicture_Sink {
  public:
    TPng_Sink(TFile_Ptr file, int32_t width, int32_t height)
        : File_(std::move(file)), Writer_(File_.get(), width, height) {}

    bool writeRows(const uint8_t* pixels, size_t stride, int32_t rows) override {
        for (int32_t r = 0; r < rows; ++r)
            Writer_.writeRow(pixels + stride * static_cast<size_t>(r));
        return Writer_.ok();
    }

    bool finish() override {
        const bool written = Writer_.finish();
        FILE* file = File_.release();
        const bool flushed = std::fflush(file) == 0 && !std::ferror(file);
        return std::fclose(file) == 0 && flushed && written;
    }

  private:
    TFile_Ptr File_;
    TPng_Writer Writer_;
};

}  // namespace

bool fitsFormat(TPicture_Format format, int64_t width, int64_t height) {
    if (width < 1 || height < 1) return false;
    switch (format) {
        case TPicture_Format::Bmp:
            // Sizes are 32-bit fields of the header.
            return width <= INT32_MAX && height <= INT32_MAX &&
                   ((width * 3 + 3) & ~int64_t{3}) * height + 54 <= UINT32_MAX;
        case TPicture_Format::Jpeg:
            return width <= JPEG_MAX_DIMENSION && height <= JPEG_MAX_DIMENSION;
        case TPicture_Format::Png:
            return width <= PNG_UINT_31_MAX / 4 && height <= PNG_UINT_31_MAX;
    }
    return false;
}

std::unique_ptr<TPicture_Sink> openPictureSink(TPicture_Format format, const std::string& path,
                                               int32_t width, int32_t height, TPicture_Error& error,
                                               int32_t quality) {
    if (!fitsFormat(format, width, height)) {
        error = TPicture_Error::Too_Large;
        return nullptr;
    }
    TFile_Ptr file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = TPicture_Error::Cannot_Create;
        return nullptr;
    }
    error = TPicture_Error::None;
    switch (format) {
        case TPicture_Format::Bmp:
            return std::make_unique<TBmp_Sink>(std::move(file), width, height);
        case TPicture_Format::Jpeg:
            return std::make_unique<TJpeg_Sink>(std::move(file), width, height, quality);
        case TPicture_Format::Png:
            return std::make_unique<TPng_Sink>(std::move(file), width, height);
    }
    return nullptr;
}

}  // namespace vetra
