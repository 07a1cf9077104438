#include "output/picture_files.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>

// clang-format off
#include <png.h>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "libs/atomic_file.h"

namespace fw {

namespace {

constexpr int BmpFileHeaderSize = 14;
constexpr int BmpInfoHeaderSize = 40;
constexpr std::uint32_t BmpPixelsPerMetre = 3780;  // 96 dpi
constexpr int PngDeflateLevel = 7;
constexpr std::size_t PngMaxIdatBytes = 65535;
constexpr int JpegQuality = 90;

// Why the picture cannot be encoded at all, or empty when it is a sound picture.
std::string PictureProblem(const DiagramPicture& picture) {
    if (picture.empty()) return "The picture is empty.";
    const auto pixels = static_cast<std::uint64_t>(picture.width) * picture.height;
    if (picture.rgb.size() != pixels * 3)
        return "The picture's pixel data does not match its size.";
    return {};
}

EncodedPicture Failure(std::string error) {
    return EncodedPicture{{}, std::move(error)};
}

void PutLe16(std::uint8_t*& p, std::uint16_t v) {
    *p++ = static_cast<std::uint8_t>(v);
    *p++ = static_cast<std::uint8_t>(v >> 8);
}

void PutLe32(std::uint8_t*& p, std::uint32_t v) {
    PutLe16(p, static_cast<std::uint16_t>(v));
    PutLe16(p, static_cast<std::uint16_t>(v >> 16));
}

// ---- PNG ----

// Shared by libpng's callbacks: where the bytes go and the first error message.
struct PngContext {
    std::vector<std::uint8_t>* out = nullptr;
    char error[256] = {};
};

[[noreturn]] void PngError(png_structp png, png_const_charp message) {
    auto* ctx = static_cast<PngContext*>(png_get_error_ptr(png));
    std::snprintf(ctx->error, sizeof ctx->error, "%s", message ? message : "PNG error");
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

void PngWriteBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* ctx = static_cast<PngContext*>(png_get_io_ptr(png));
    bool failed = false;
    try {
        ctx->out->insert(ctx->out->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    // Leaves through libpng's longjmp, outside the catch block.
    if (failed) png_error(png, "Out of memory");
}

void PngFlush(png_structp) {}

// Runs the libpng calls; an error longjmps back here and is returned as false.
bool WritePngRows(png_structp png, png_infop info, const DiagramPicture& picture) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
                 static_cast<png_uint_32>(picture.height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, PngDeflateLevel);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    // libpng emits one IDAT chunk per filled compression buffer.
    png_set_compression_buffer_size(png, PngMaxIdatBytes);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y) png_write_row(png, picture.row(y));
    png_write_end(png, nullptr);
    return true;
}

// ---- JPEG ----

struct JpegErrorContext {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
    auto* ctx = reinterpret_cast<JpegErrorContext*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, ctx->message);
    std::longjmp(ctx->jump, 1);
}

// Warnings would go to stderr by default; the coder's result is all that matters here.
void JpegQuietMessage(j_common_ptr) {}

// A libjpeg destination that grows a byte vector.
struct JpegVectorDestination {
    jpeg_destination_mgr mgr;
    std::vector<std::uint8_t>* out;
};

JpegVectorDestination* DestinationOf(j_compress_ptr cinfo) {
    return reinterpret_cast<JpegVectorDestination*>(cinfo->dest);
}

void JpegInitDestination(j_compress_ptr cinfo) {
    JpegVectorDestination* dest = DestinationOf(cinfo);
    dest->mgr.next_output_byte = dest->out->data();
    dest->mgr.free_in_buffer = dest->out->size();
}

boolean JpegEmptyBuffer(j_compress_ptr cinfo) {
    JpegVectorDestination* dest = DestinationOf(cinfo);
    const std::size_t used = dest->out->size();  // the whole buffer is full
    bool failed = false;
    try {
        dest->out->resize(used * 2);
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    if (failed) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    dest->mgr.next_output_byte = dest->out->data() + used;
    dest->mgr.free_in_buffer = dest->out->size() - used;
    return TRUE;
}

void JpegTermDestination(j_compress_ptr cinfo) {
    JpegVectorDestination* dest = DestinationOf(cinfo);
    dest->out->resize(dest->out->size() - dest->mgr.free_in_buffer);
}

// Runs the libjpeg calls; an error longjmps back here and is returned as false.
// `cinfo` must come zeroed with its error manager set; the caller destroys it.
bool CompressJpeg(jpeg_compress_struct& cinfo, JpegErrorContext& err, JpegVectorDestination& dest,
                  const DiagramPicture& picture) {
    if (setjmp(err.jump)) return false;
    jpeg_create_compress(&cinfo);
    cinfo.dest = &dest.mgr;
    cinfo.image_width = static_cast<JDIMENSION>(picture.width);
    cinfo.image_height = static_cast<JDIMENSION>(picture.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, JpegQuality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        // libjpeg only reads the rows it is given.
        JSAMPROW row = const_cast<JSAMPROW>(picture.row(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

}  // namespace

EncodedPicture EncodeBmp(const DiagramPicture& picture) {
    if (std::string problem = PictureProblem(picture); !problem.empty()) return Failure(problem);
    const std::uint64_t stride = (static_cast<std::uint64_t>(picture.width) * 3 + 3) & ~3ull;
    const std::uint64_t imageSize = stride * static_cast<std::uint64_t>(picture.height);
    const std::uint64_t fileSize = BmpFileHeaderSize + BmpInfoHeaderSize + imageSize;
    if (fileSize > std::numeric_limits<std::uint32_t>::max()) {
        return Failure("The picture is too large for a BMP file.");
    }

    EncodedPicture result;
    result.bytes.assign(fileSize, 0);
    std::uint8_t* p = result.bytes.data();
    *p++ = 'B';
    *p++ = 'M';
    PutLe32(p, static_cast<std::uint32_t>(fileSize));
    PutLe32(p, 0);  // reserved
    PutLe32(p, BmpFileHeaderSize + BmpInfoHeaderSize);
    PutLe32(p, BmpInfoHeaderSize);
    PutLe32(p, static_cast<std::uint32_t>(picture.width));
    PutLe32(p, static_cast<std::uint32_t>(picture.height));  // positive: rows bottom-up
    PutLe16(p, 1);                                           // planes
    PutLe16(p, 24);                                          // bits per pixel
    PutLe32(p, 0);                                           // BI_RGB, uncompressed
    PutLe32(p, static_cast<std::uint32_t>(imageSize));
    PutLe32(p, BmpPixelsPerMetre);
    PutLe32(p, BmpPixelsPerMetre);
    PutLe32(p, 0);  // colours used
    PutLe32(p, 0);  // important colours

    for (int y = picture.height - 1; y >= 0; --y) {
        const std::uint8_t* src = picture.row(y);
        std::uint8_t* dst = p;
        for (int x = 0; x < picture.width; ++x, src += 3, dst += 3) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
        }
        p += stride;  // padding bytes stay zero
    }
    return result;
}

EncodedPicture EncodePng(const DiagramPicture& picture) {
    if (std::string problem = PictureProblem(picture); !problem.empty()) return Failure(problem);
    EncodedPicture result;
    PngContext ctx;
    ctx.out = &result.bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &ctx, PngError, PngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        return Failure("Out of memory");
    }
    png_set_write_fn(png, &ctx, PngWriteBytes, PngFlush);
    const bool ok = WritePngRows(png, info, picture);
    png_destroy_write_struct(&png, &info);
    if (!ok) return Failure(ctx.error[0] ? ctx.error : "PNG error");
    return result;
}

EncodedPicture EncodeJpeg(const DiagramPicture& picture) {
    if (std::string problem = PictureProblem(picture); !problem.empty()) return Failure(problem);
    EncodedPicture result;
    // A JPEG of a diagram is far smaller than its pixels; the buffer doubles when needed.
    result.bytes.resize(std::max<std::size_t>(4096, picture.rgb.size() / 8));

    JpegErrorContext err{};
    jpeg_compress_struct cinfo{};
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = JpegErrorExit;
    err.mgr.output_message = JpegQuietMessage;

    JpegVectorDestination dest{};
    dest.out = &result.bytes;
    dest.mgr.init_destination = JpegInitDestination;
    dest.mgr.empty_output_buffer = JpegEmptyBuffer;
    dest.mgr.term_destination = JpegTermDestination;

    const bool ok = CompressJpeg(cinfo, err, dest, picture);
    jpeg_destroy_compress(&cinfo);  // also after a failed start: it checks what exists
    if (!ok) return Failure(err.message);
    return result;
}

EncodedPicture EncodePicture(const DiagramPicture& picture, PictureFormat format) {
    switch (format) {
        case PictureFormat::Bmp:
            return EncodeBmp(picture);
        case PictureFormat::Png:
            return EncodePng(picture);
        case PictureFormat::Jpeg:
            return EncodeJpeg(picture);
    }
    return Failure("Unknown picture format.");
}

std::string FileNameExtension(std::string_view fileName) {
    const auto slash = fileName.rfind('/');
    const std::string_view name =
        slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) return {};
    return std::string(name.substr(dot));
}

PictureFormatChoice PictureFormatForName(std::string_view fileName) {
    const std::string ext = FileNameExtension(fileName);
    if (ext == ".bmp") return {PictureFormat::Bmp, {}};
    if (ext == ".png") return {PictureFormat::Png, {}};
    if (ext == ".jpg") return {PictureFormat::Jpeg, {}};
    return {std::nullopt, "." + ext + "-Files are not allowed."};
}

PictureSaveResult SavePictureToFile(const DiagramPicture& picture, const std::string& fullName) {
    using Status = PictureSaveResult::Status;
    const PictureFormatChoice choice = PictureFormatForName(fullName);
    if (!choice.format) return {Status::Refused, choice.refusal};

    const auto failed = [&](const std::string& reason) {
        return PictureSaveResult{Status::Failed, SaveFailedText(fullName, reason)};
    };
    const EncodedPicture encoded = EncodePicture(picture, *choice.format);
    if (!encoded.ok()) return failed(encoded.error);

    const std::string error = WriteFileAtomically(
        fullName, std::string_view(reinterpret_cast<const char*>(encoded.bytes.data()),
                                   encoded.bytes.size()));
    if (!error.empty()) return failed(error);
    return {};
}

std::string DefaultPictureName(const LocalTime& today) {
    return YymmddText(today) + "_Noise_Report.bmp";
}

std::string PictureFilterText() {
    std::string text;
    for (const FileTypeFilter& type : PictureFileTypes) {
        if (!text.empty()) text += '|';
        text.append(type.description).append("|").append(type.pattern);
    }
    return text;
}

}  // namespace fw
