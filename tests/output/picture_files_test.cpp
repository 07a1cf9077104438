#include "picture_files.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// clang-format off
#include <jpeglib.h>
// clang-format on

#include "test_pictures.h"

namespace fw {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using test::GradientPicture;
using test::NoisePicture;
using test::PatternPicture;

std::uint32_t Le16(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8);
}
std::uint32_t Le32(const Bytes& b, std::size_t at) {
    return Le16(b, at) | (Le16(b, at + 2) << 16);
}
std::uint32_t Be16(const Bytes& b, std::size_t at) {
    return (b[at] << 8) | b[at + 1];
}
std::uint32_t Be32(const Bytes& b, std::size_t at) {
    return (Be16(b, at) << 16) | Be16(b, at + 2);
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// ---- BMP: a reader that accepts exactly the layout this program writes ----

DiagramPicture DecodeBmp(const Bytes& b) {
    DiagramPicture p;
    if (b.size() < 54) {
        ADD_FAILURE() << "BMP shorter than its headers";
        return p;
    }
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(Le32(b, 2), b.size()) << "file size field";
    EXPECT_EQ(Le32(b, 6), 0u) << "reserved";
    EXPECT_EQ(Le32(b, 10), 54u) << "pixel data offset";
    EXPECT_EQ(Le32(b, 14), 40u) << "BITMAPINFOHEADER size";
    const auto width = static_cast<std::int32_t>(Le32(b, 18));
    const auto height = static_cast<std::int32_t>(Le32(b, 22));
    EXPECT_GT(height, 0) << "rows must be stored bottom-up";
    EXPECT_EQ(Le16(b, 26), 1u) << "planes";
    EXPECT_EQ(Le16(b, 28), 24u) << "bits per pixel";
    EXPECT_EQ(Le32(b, 30), 0u) << "compression";
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    EXPECT_EQ(Le32(b, 34), stride * height) << "image size";
    EXPECT_EQ(Le32(b, 38), 3780u) << "horizontal pixels per metre";
    EXPECT_EQ(Le32(b, 42), 3780u) << "vertical pixels per metre";
    EXPECT_EQ(Le32(b, 46), 0u) << "colours used";
    if (width <= 0 || height <= 0 || b.size() != 54 + stride * height) {
        ADD_FAILURE() << "BMP size does not match " << width << " x " << height;
        return p;
    }
    p = test::MakePicture(width, height, [&](int x, int y) {
        const std::size_t at = 54 + (height - 1 - y) * stride + x * 3;
        return Rgb{b[at + 2], b[at + 1], b[at]};
    });
    for (int row = 0; row < height; ++row) {
        for (std::size_t pad = width * 3; pad < stride; ++pad) {
            EXPECT_EQ(b[54 + row * stride + pad], 0) << "padding of row " << row;
        }
    }
    return p;
}

// ---- PNG ----

DiagramPicture DecodePng(const Bytes& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    DiagramPicture p;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        ADD_FAILURE() << "libpng: " << image.message;
        return p;
    }
    image.format = PNG_FORMAT_RGB;
    p.width = static_cast<int>(image.width);
    p.height = static_cast<int>(image.height);
    p.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, p.rgb.data(), 0, nullptr)) {
        ADD_FAILURE() << "libpng: " << image.message;
    }
    return p;
}

struct PngChunk {
    std::string type;
    Bytes data;
};

std::vector<PngChunk> PngChunks(const Bytes& b) {
    static const Bytes signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<PngChunk> chunks;
    if (b.size() < 8 || !std::equal(signature.begin(), signature.end(), b.begin())) {
        ADD_FAILURE() << "no PNG signature";
        return chunks;
    }
    std::size_t at = 8;
    while (at + 12 <= b.size()) {
        const std::size_t length = Be32(b, at);
        if (at + 12 + length > b.size()) break;
        PngChunk chunk{std::string(b.begin() + at + 4, b.begin() + at + 8),
                       Bytes(b.begin() + at + 8, b.begin() + at + 8 + length)};
        const auto crc = static_cast<std::uint32_t>(crc32(0, &b[at + 4], 4 + length));
        EXPECT_EQ(Be32(b, at + 8 + length), crc) << "CRC of chunk " << chunk.type;
        chunks.push_back(std::move(chunk));
        at += 12 + length;
    }
    EXPECT_EQ(at, b.size()) << "bytes after the last whole chunk";
    return chunks;
}

// ---- JPEG ----

struct DecodedJpeg {
    DiagramPicture picture;
    bool jfif = false;
    bool progressive = false;
    int components = 0;
    J_COLOR_SPACE colourSpace = JCS_UNKNOWN;
    std::array<int, 64> lumaTable{};    // natural order
    std::array<int, 64> chromaTable{};  // natural order
};

struct TestJpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

[[noreturn]] void TestJpegErrorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<TestJpegError*>(cinfo->err)->jump, 1);
}

bool ReadJpeg(jpeg_decompress_struct& cinfo, TestJpegError& err, const Bytes& bytes,
              DecodedJpeg& out) {
    if (setjmp(err.jump)) return false;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), bytes.size());
    jpeg_read_header(&cinfo, TRUE);
    out.jfif = cinfo.saw_JFIF_marker;
    out.progressive = cinfo.progressive_mode;
    out.components = cinfo.num_components;
    out.colourSpace = cinfo.jpeg_color_space;
    for (int i = 0; i < 64; ++i) {
        if (cinfo.quant_tbl_ptrs[0]) out.lumaTable[i] = cinfo.quant_tbl_ptrs[0]->quantval[i];
        if (cinfo.quant_tbl_ptrs[1]) out.chromaTable[i] = cinfo.quant_tbl_ptrs[1]->quantval[i];
    }
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    DiagramPicture& p = out.picture;
    p.width = static_cast<int>(cinfo.output_width);
    p.height = static_cast<int>(cinfo.output_height);
    p.rgb.resize(static_cast<std::size_t>(p.width) * p.height * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = &p.rgb[static_cast<std::size_t>(cinfo.output_scanline) * p.width * 3];
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

DecodedJpeg DecodeJpeg(const Bytes& bytes) {
    DecodedJpeg out;
    jpeg_decompress_struct cinfo{};
    TestJpegError err{};
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = TestJpegErrorExit;
    if (!ReadJpeg(cinfo, err, bytes, out)) ADD_FAILURE() << "libjpeg could not decode the file";
    jpeg_destroy_decompress(&cinfo);
    return out;
}

// The marker segments from SOI up to and including the first SOS.
std::vector<std::pair<int, Bytes>> JpegSegments(const Bytes& b) {
    std::vector<std::pair<int, Bytes>> segments;
    if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) {
        ADD_FAILURE() << "no SOI marker";
        return segments;
    }
    std::size_t at = 2;
    while (at + 4 <= b.size() && b[at] == 0xFF) {
        const int marker = b[at + 1];
        const std::size_t length = Be16(b, at + 2);
        if (length < 2 || at + 2 + length > b.size()) break;
        segments.emplace_back(marker, Bytes(b.begin() + at + 4, b.begin() + at + 2 + length));
        if (marker == 0xDA) break;
        at += 2 + length;
    }
    return segments;
}

// libjpeg's scaling of a standard table entry to a quality, limited for baseline.
std::array<int, 64> ScaledTable(const std::array<int, 64>& standard, int quality) {
    const int scale = quality < 50 ? 5000 / quality : 200 - quality * 2;
    std::array<int, 64> t{};
    for (int i = 0; i < 64; ++i) t[i] = std::clamp((standard[i] * scale + 50) / 100, 1, 255);
    return t;
}

// The example tables of the JPEG standard, in natural order.
constexpr std::array<int, 64> StandardLuma{
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr std::array<int, 64> StandardChroma{
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

double MeanAbsError(const DiagramPicture& a, const DiagramPicture& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i) sum += std::abs(a.rgb[i] - b.rgb[i]);
    return sum / static_cast<double>(a.rgb.size());
}

void ExpectSamePixels(const DiagramPicture& expected, const DiagramPicture& actual) {
    ASSERT_EQ(actual.width, expected.width);
    ASSERT_EQ(actual.height, expected.height);
    EXPECT_TRUE(actual.rgb == expected.rgb) << "pixels differ";
}

// ---- encoders ----

TEST(LosslessEncoders, KeepEveryPixelForEveryRowPadding) {
    // Widths 1 to 4 need each of the four BMP row paddings; 537 x 497 is the design size.
    for (auto [w, h] : {std::pair{1, 1}, {2, 3}, {3, 2}, {4, 5}, {5, 1}, {537, 497}}) {
        SCOPED_TRACE(testing::Message() << w << " x " << h);
        const DiagramPicture picture = PatternPicture(w, h);
        const EncodedPicture bmp = EncodeBmp(picture);
        const EncodedPicture png = EncodePng(picture);
        ASSERT_TRUE(bmp.ok()) << bmp.error;
        ASSERT_TRUE(png.ok()) << png.error;
        ExpectSamePixels(picture, DecodeBmp(bmp.bytes));
        ExpectSamePixels(picture, DecodePng(png.bytes));
    }
}

TEST(EncodePng, WritesOnlyHeaderDataAndEndWithSubFilteredRows) {
    const int w = 1920, h = 1080;
    const DiagramPicture picture = NoisePicture(w, h);
    const EncodedPicture png = EncodePng(picture);
    ASSERT_TRUE(png.ok()) << png.error;
    const std::vector<PngChunk> chunks = PngChunks(png.bytes);
    ASSERT_GE(chunks.size(), 4u);

    ASSERT_EQ(chunks.front().type, "IHDR");
    const Bytes& ihdr = chunks.front().data;
    ASSERT_EQ(ihdr.size(), 13u);
    EXPECT_EQ(Be32(ihdr, 0), static_cast<std::uint32_t>(w));
    EXPECT_EQ(Be32(ihdr, 4), static_cast<std::uint32_t>(h));
    EXPECT_EQ(ihdr[8], 8) << "bit depth";
    EXPECT_EQ(ihdr[9], 2) << "colour type RGB";
    EXPECT_EQ(ihdr[10], 0) << "compression method";
    EXPECT_EQ(ihdr[11], 0) << "filter method";
    EXPECT_EQ(ihdr[12], 0) << "interlace";

    EXPECT_EQ(chunks.back().type, "IEND");
    EXPECT_TRUE(chunks.back().data.empty());
    Bytes zdata;
    for (std::size_t i = 1; i + 1 < chunks.size(); ++i) {
        ASSERT_EQ(chunks[i].type, "IDAT") << "chunk " << i;
        EXPECT_LE(chunks[i].data.size(), 65535u) << "IDAT " << i;
        zdata.insert(zdata.end(), chunks[i].data.begin(), chunks[i].data.end());
    }
    EXPECT_GT(chunks.size(), 3u) << "noise of this size needs several IDAT chunks";

    // FLEVEL 3 in the zlib header stands for levels 7 to 9; the default 6 would give 2.
    ASSERT_GE(zdata.size(), 2u);
    EXPECT_EQ(zdata[1] >> 6, 3);

    const std::size_t rowBytes = 1 + static_cast<std::size_t>(w) * 3;
    Bytes raw(rowBytes * h + 1);  // one spare byte shows data beyond the last row
    uLongf rawSize = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &rawSize, zdata.data(), zdata.size()), Z_OK);
    ASSERT_EQ(rawSize, rowBytes * h);
    int notSub = 0;
    for (int y = 0; y < h; ++y) notSub += raw[y * rowBytes] != 1;
    EXPECT_EQ(notSub, 0) << "rows without the Sub filter";
}

TEST(EncodeJpeg, IsBaselineJfifInColourAtQuality90) {
    const DiagramPicture picture = GradientPicture(537, 497);
    const EncodedPicture jpg = EncodeJpeg(picture);
    ASSERT_TRUE(jpg.ok()) << jpg.error;

    const auto segments = JpegSegments(jpg.bytes);
    ASSERT_FALSE(segments.empty());
    ASSERT_EQ(segments.front().first, 0xE0) << "APP0 comes first";
    const Bytes& app0 = segments.front().second;
    ASSERT_GE(app0.size(), 5u);
    EXPECT_EQ(std::string(app0.begin(), app0.begin() + 5), std::string("JFIF", 5));
    int baselineFrames = 0;
    for (const auto& [marker, data] : segments) {
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (!frame) continue;
        EXPECT_EQ(marker, 0xC0) << "only a baseline frame header is allowed";
        ASSERT_GE(data.size(), 6u);
        EXPECT_EQ(data[0], 8) << "sample precision";
        EXPECT_EQ(Be16(data, 1), 497u);
        EXPECT_EQ(Be16(data, 3), 537u);
        EXPECT_EQ(data[5], 3) << "components";
        ++baselineFrames;
    }
    EXPECT_EQ(baselineFrames, 1);
    EXPECT_EQ(segments.back().first, 0xDA) << "a scan follows the headers";

    const DecodedJpeg decoded = DecodeJpeg(jpg.bytes);
    EXPECT_TRUE(decoded.jfif);
    EXPECT_FALSE(decoded.progressive);
    EXPECT_EQ(decoded.components, 3);
    EXPECT_EQ(decoded.colourSpace, JCS_YCbCr);
    EXPECT_EQ(decoded.lumaTable, ScaledTable(StandardLuma, 90));
    EXPECT_EQ(decoded.chromaTable, ScaledTable(StandardChroma, 90));
    ASSERT_EQ(decoded.picture.width, 537);
    ASSERT_EQ(decoded.picture.height, 497);
    EXPECT_LT(MeanAbsError(picture, decoded.picture), 2.0);
}

TEST(EncodePicture, RefusesPicturesNoCoderCanWrite) {
    DiagramPicture empty;
    DiagramPicture shortData = PatternPicture(4, 4);
    shortData.rgb.pop_back();
    for (PictureFormat format : {PictureFormat::Bmp, PictureFormat::Png, PictureFormat::Jpeg}) {
        SCOPED_TRACE(static_cast<int>(format));
        const EncodedPicture e1 = EncodePicture(empty, format);
        EXPECT_FALSE(e1.ok());
        EXPECT_TRUE(e1.bytes.empty());
        EXPECT_EQ(e1.error, "The picture is empty.");
        EXPECT_FALSE(EncodePicture(shortData, format).ok());
    }
}

TEST(EncodePicture, CoderErrorsComeBackAsErrors) {
    // Past libjpeg's 65,500 and libpng's default 1,000,000 pixel width limits.
    const EncodedPicture jpg = EncodeJpeg(PatternPicture(65501, 1));
    EXPECT_FALSE(jpg.ok());
    EXPECT_NE(jpg.error.find("65500"), std::string::npos) << jpg.error;
    const EncodedPicture png = EncodePng(PatternPicture(1000001, 1));
    EXPECT_FALSE(png.ok());
    EXPECT_FALSE(png.error.empty());
    // The coders still work afterwards.
    EXPECT_TRUE(EncodeJpeg(PatternPicture(8, 8)).ok());
    EXPECT_TRUE(EncodePng(PatternPicture(8, 8)).ok());
}

// ---- names ----

TEST(PictureFormatForName, UsesTheExactExtensionOfTheFileNamePart) {
    struct Case {
        const char* name;
        std::optional<PictureFormat> format;
        const char* refusal;
    };
    const Case cases[] = {
        {"/home/u/160305_Noise_Report.bmp", PictureFormat::Bmp, ""},
        {"/home/u/x.png", PictureFormat::Png, ""},
        {"/home/u/x.jpg", PictureFormat::Jpeg, ""},
        {"relative.jpg", PictureFormat::Jpeg, ""},
        {"/home/u/x.png.bmp", PictureFormat::Bmp, ""},
        {"/home/u/.bmp", PictureFormat::Bmp, ""},
        {"/home/u/x.jpeg", std::nullopt, "..jpeg-Files are not allowed."},
        {"/home/u/x.PNG", std::nullopt, "..PNG-Files are not allowed."},
        {"/home/u/x.Bmp", std::nullopt, "..Bmp-Files are not allowed."},
        {"/home/u/x.BMP", std::nullopt, "..BMP-Files are not allowed."},
        {"/home/u/x.gif", std::nullopt, "..gif-Files are not allowed."},
        {"/home/u/x.bmp.gif", std::nullopt, "..gif-Files are not allowed."},
        {"/tmp/a.b/name", std::nullopt, ".-Files are not allowed."},
        {"/tmp/a.bmp/name", std::nullopt, ".-Files are not allowed."},
        {"name", std::nullopt, ".-Files are not allowed."},
        {"/home/u/name.", std::nullopt, "..-Files are not allowed."},
        {"", std::nullopt, ".-Files are not allowed."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PictureFormatChoice choice = PictureFormatForName(c.name);
        EXPECT_EQ(choice.format, c.format);
        EXPECT_EQ(choice.refusal, c.refusal);
    }
}

TEST(DefaultPictureName, IsTheSixDigitDateAndNoiseReportBmp) {
    EXPECT_EQ(DefaultPictureName({2016, 3, 5, 14, 30}), "160305_Noise_Report.bmp");
    EXPECT_EQ(DefaultPictureName({2100, 1, 1}), "000101_Noise_Report.bmp");
    EXPECT_EQ(DefaultPictureName({1999, 12, 31, 23, 59}), "991231_Noise_Report.bmp");
    EXPECT_EQ(DefaultPictureName({2024, 11, 9}), "241109_Noise_Report.bmp");
    // The proposed name is always accepted as a BMP.
    EXPECT_EQ(PictureFormatForName(DefaultPictureName({2030, 7, 4})).format, PictureFormat::Bmp);
}

TEST(PictureFilterText, ListsTheFileTypesInOrder) {
    EXPECT_EQ(PictureFilterText(),
              "Bitmaps (*.bmp)|*.bmp|WebBild (*.png)|*.png|JPG-Grafik (*.jpg)|*.jpg|"
              "Alle Dateien (*.*)|*.*");
    EXPECT_EQ(PictureFileTypes.front().pattern, "*." + std::string(PictureDefaultSuffix));
}

// ---- saving ----

class SavePictureTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string dir = (fs::temp_directory_path() / "fw_pictures_XXXXXX").string();
        ASSERT_NE(mkdtemp(dir.data()), nullptr);
        dir_ = dir;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir_;
};

TEST_F(SavePictureTest, WritesTheFormatOfTheExtension) {
    const DiagramPicture picture = PatternPicture(537, 497);
    const std::string bmp = PathOf("160305_Noise_Report.bmp");
    const std::string png = PathOf("a.png");
    const std::string jpg = PathOf("a.jpg");
    for (const std::string& name : {bmp, png, jpg}) {
        const PictureSaveResult r = SavePictureToFile(picture, name);
        EXPECT_TRUE(r.saved()) << r.message;
        EXPECT_TRUE(r.message.empty());
    }
    ExpectSamePixels(picture, DecodeBmp(ReadFile(bmp)));
    ExpectSamePixels(picture, DecodePng(ReadFile(png)));
    const DecodedJpeg decoded = DecodeJpeg(ReadFile(jpg));
    EXPECT_EQ(decoded.picture.width, 537);
    EXPECT_EQ(decoded.picture.height, 497);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"160305_Noise_Report.bmp", "a.jpg", "a.png"}));
}

TEST_F(SavePictureTest, RefusedExtensionWritesNothing) {
    for (const char* name : {"a.gif", "a.PNG", "a.jpeg", "noext"}) {
        const PictureSaveResult r = SavePictureToFile(PatternPicture(4, 4), PathOf(name));
        EXPECT_EQ(r.status, PictureSaveResult::Status::Refused);
        EXPECT_EQ(r.message, PictureFormatForName(name).refusal);
    }
    EXPECT_TRUE(Entries().empty());
}

TEST_F(SavePictureTest, ReplacesAnExistingFile) {
    const std::string name = PathOf("same.png");
    ASSERT_TRUE(SavePictureToFile(PatternPicture(30, 20), name).saved());
    const DiagramPicture second = NoisePicture(17, 9);
    ASSERT_TRUE(SavePictureToFile(second, name).saved());
    ExpectSamePixels(second, DecodePng(ReadFile(name)));
    EXPECT_EQ(Entries(), std::vector<std::string>{"same.png"});
}

TEST_F(SavePictureTest, MissingFolderIsAnErrorWithTheFullName) {
    const std::string name = PathOf("missing/pic.bmp");
    const PictureSaveResult r = SavePictureToFile(PatternPicture(4, 4), name);
    EXPECT_EQ(r.status, PictureSaveResult::Status::Failed);
    EXPECT_EQ(r.message,
              "Datei \"" + name + "\" kann nicht erstellt werden. " + std::strerror(ENOENT));
    EXPECT_TRUE(Entries().empty());
}

TEST_F(SavePictureTest, FailedReplaceLeavesNoTemporaryFile) {
    // A folder of the chosen name cannot be replaced by the finished file.
    const std::string name = PathOf("taken.bmp");
    fs::create_directory(name);
    fs::path keep = fs::path(name) / "keep.txt";
    std::ofstream(keep) << "x";
    const PictureSaveResult r = SavePictureToFile(PatternPicture(4, 4), name);
    EXPECT_EQ(r.status, PictureSaveResult::Status::Failed);
    EXPECT_EQ(r.message.rfind("Datei \"" + name + "\" kann nicht erstellt werden. ", 0), 0u)
        << r.message;
    EXPECT_EQ(Entries(), std::vector<std::string>{"taken.bmp"});
    EXPECT_TRUE(fs::exists(keep));
}

TEST_F(SavePictureTest, EmptyPictureIsAnErrorAndKeepsTheOldFile) {
    const std::string name = PathOf("old.bmp");
    const DiagramPicture old = PatternPicture(5, 5);
    ASSERT_TRUE(SavePictureToFile(old, name).saved());
    const PictureSaveResult r = SavePictureToFile(DiagramPicture{}, name);
    EXPECT_EQ(r.status, PictureSaveResult::Status::Failed);
    EXPECT_EQ(r.message,
              "Datei \"" + name + "\" kann nicht erstellt werden. The picture is empty.");
    ExpectSamePixels(old, DecodeBmp(ReadFile(name)));
    EXPECT_EQ(Entries(), std::vector<std::string>{"old.bmp"});
}

}  // namespace
}  // namespace fw
