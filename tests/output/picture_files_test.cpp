#include "output/picture_files.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <QImage>
#include <algorithm>
#include <array>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// clang-format off
#include <jpeglib.h>
// clang-format on

#include "output/qt/qimage_picture.h"
#include "test_pictures.h"

namespace fw {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using test::GradientPicture;
using test::NoisePicture;
using test::PatternPicture;

std::uint32_t Le(const Bytes& b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}
std::uint32_t Be(const Bytes& b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | b[at + i];
    return v;
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

QImage Decoded(const Bytes& bytes) {
    return QImage::fromData(bytes.data(), static_cast<int>(bytes.size()))
        .convertToFormat(QImage::Format_RGB888);
}

void ExpectSamePixels(const DiagramPicture& expected, const Bytes& file) {
    const QImage image = Decoded(file);
    ASSERT_EQ(image.size(), QSize(expected.width, expected.height));
    EXPECT_TRUE(image == PictureToQImage(expected)) << "pixels differ";
}

// The fixed BMP layout: BITMAPINFOHEADER, 24 bits, uncompressed, rows bottom-up.
void ExpectBmpHeader(const Bytes& b, int width, int height) {
    ASSERT_GE(b.size(), 54u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    const struct {
        std::size_t at;
        int bytes;
        std::uint32_t value;
    } fields[] = {{2, 4, std::uint32_t(b.size())},
                  {10, 4, 54},
                  {14, 4, 40},  // header size
                  {18, 4, std::uint32_t(width)},
                  {22, 4, std::uint32_t(height)},
                  {28, 2, 24},  // bits per pixel
                  {30, 4, 0},   // compression
                  {34, 4, std::uint32_t(stride * height)}};
    for (const auto& f : fields) EXPECT_EQ(Le(b, f.at, f.bytes), f.value) << "offset " << f.at;
    EXPECT_EQ(b.size(), 54 + stride * height);
}

struct PngChunk {
    std::string type;
    Bytes data;
};

// The chunks of a PNG file, each with its CRC checked.
std::vector<PngChunk> PngChunks(const Bytes& b) {
    static const Bytes signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<PngChunk> chunks;
    if (b.size() < 8 || !std::equal(signature.begin(), signature.end(), b.begin())) {
        ADD_FAILURE() << "no PNG signature";
        return chunks;
    }
    std::size_t at = 8;
    while (at + 12 <= b.size()) {
        const std::size_t length = Be(b, at, 4);
        if (at + 12 + length > b.size()) break;
        chunks.push_back({std::string(b.begin() + at + 4, b.begin() + at + 8),
                          Bytes(b.begin() + at + 8, b.begin() + at + 8 + length)});
        EXPECT_EQ(Be(b, at + 8 + length, 4), crc32(0, &b[at + 4], 4 + length))
            << "CRC of chunk " << chunks.back().type;
        at += 12 + length;
    }
    EXPECT_EQ(at, b.size()) << "bytes after the last whole chunk";
    return chunks;
}

// The JPEG marker segments from SOI up to and including the first SOS.
std::vector<std::pair<int, Bytes>> JpegSegments(const Bytes& b) {
    std::vector<std::pair<int, Bytes>> segments;
    if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) {
        ADD_FAILURE() << "no SOI marker";
        return segments;
    }
    for (std::size_t at = 2; at + 4 <= b.size() && b[at] == 0xFF;) {
        const std::size_t length = Be(b, at + 2, 2);
        if (length < 2 || at + 2 + length > b.size()) break;
        segments.emplace_back(b[at + 1], Bytes(b.begin() + at + 4, b.begin() + at + 2 + length));
        if (b[at + 1] == 0xDA) break;
        at += 2 + length;
    }
    return segments;
}

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

// The two quantisation tables in natural order, read by libjpeg's header reader.
bool JpegTables(const Bytes& bytes, std::array<int, 64>& luma, std::array<int, 64>& chroma) {
    jpeg_decompress_struct cinfo{};
    JpegError err{};
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = [](j_common_ptr c) {
        std::longjmp(reinterpret_cast<JpegError*>(c->err)->jump, 1);
    };
    bool ok = false;
    if (setjmp(err.jump) == 0) {
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, bytes.data(), bytes.size());
        jpeg_read_header(&cinfo, TRUE);
        for (int i = 0; i < 64 && cinfo.quant_tbl_ptrs[1]; ++i) {
            luma[i] = cinfo.quant_tbl_ptrs[0]->quantval[i];
            chroma[i] = cinfo.quant_tbl_ptrs[1]->quantval[i];
        }
        ok = cinfo.quant_tbl_ptrs[1] != nullptr && !cinfo.progressive_mode;
    }
    jpeg_destroy_decompress(&cinfo);
    return ok;
}

// libjpeg's scaling of a standard table to a quality, limited for baseline.
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

TEST(LosslessEncoders, KeepEveryPixelForEveryRowPadding) {
    // Widths 1 to 4 need each of the four BMP row paddings; 537 x 497 is the design size.
    for (auto [w, h] : {std::pair{1, 1}, {2, 3}, {3, 2}, {4, 5}, {5, 1}, {537, 497}}) {
        SCOPED_TRACE(testing::Message() << w << " x " << h);
        const DiagramPicture picture = PatternPicture(w, h);
        const EncodedPicture bmp = EncodeBmp(picture);
        const EncodedPicture png = EncodePng(picture);
        ASSERT_TRUE(bmp.ok()) << bmp.error;
        ASSERT_TRUE(png.ok()) << png.error;
        ExpectBmpHeader(bmp.bytes, w, h);
        ExpectSamePixels(picture, bmp.bytes);
        ExpectSamePixels(picture, png.bytes);
    }
}

TEST(EncodePng, WritesOnlyHeaderDataAndEndWithSubFilteredRows) {
    const int w = 1920, h = 1080;
    const EncodedPicture png = EncodePng(NoisePicture(w, h));
    ASSERT_TRUE(png.ok()) << png.error;
    const std::vector<PngChunk> chunks = PngChunks(png.bytes);
    ASSERT_GT(chunks.size(), 3u) << "noise of this size needs several IDAT chunks";

    ASSERT_EQ(chunks.front().type, "IHDR");
    // Width, height, 8 bits, colour type 2 (RGB), compression 0, filter 0, not interlaced.
    const Bytes ihdr{0, 0, 0x07, 0x80, 0, 0, 0x04, 0x38, 8, 2, 0, 0, 0};
    EXPECT_EQ(chunks.front().data, ihdr);
    EXPECT_EQ(chunks.back().type, "IEND");
    EXPECT_TRUE(chunks.back().data.empty());
    Bytes zdata;
    for (std::size_t i = 1; i + 1 < chunks.size(); ++i) {
        ASSERT_EQ(chunks[i].type, "IDAT") << "chunk " << i;
        EXPECT_LE(chunks[i].data.size(), 65535u) << "IDAT " << i;
        zdata.insert(zdata.end(), chunks[i].data.begin(), chunks[i].data.end());
    }
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
    EXPECT_EQ(std::string(segments.front().second.begin(), segments.front().second.begin() + 5),
              std::string("JFIF", 5));
    int frames = 0;
    for (const auto& [marker, data] : segments) {
        if (marker < 0xC0 || marker > 0xCF || marker == 0xC4 || marker == 0xC8 || marker == 0xCC)
            continue;
        EXPECT_EQ(marker, 0xC0) << "only a baseline frame header is allowed";
        // 8-bit samples, 497 rows, 537 columns, three components.
        EXPECT_EQ(Bytes(data.begin(), data.begin() + 6), (Bytes{8, 0x01, 0xF1, 0x02, 0x19, 3}));
        ++frames;
    }
    EXPECT_EQ(frames, 1);
    EXPECT_EQ(segments.back().first, 0xDA) << "a scan follows the headers";

    std::array<int, 64> luma{}, chroma{};
    ASSERT_TRUE(JpegTables(jpg.bytes, luma, chroma));
    EXPECT_EQ(luma, ScaledTable(StandardLuma, 90));
    EXPECT_EQ(chroma, ScaledTable(StandardChroma, 90));

    const QImage decoded = Decoded(jpg.bytes);
    const QImage original = PictureToQImage(picture);
    ASSERT_EQ(decoded.size(), original.size());
    double sum = 0;
    for (int y = 0; y < decoded.height(); ++y)
        for (int x = 0; x < decoded.width(); ++x) {
            const QRgb a = decoded.pixel(x, y), b = original.pixel(x, y);
            sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                   std::abs(qBlue(a) - qBlue(b));
        }
    EXPECT_LT(sum / (3.0 * decoded.width() * decoded.height()), 2.0);
}

TEST(EncodePicture, EmptyBrokenOrTooWidePicturesAreErrors) {
    DiagramPicture shortData = PatternPicture(4, 4);
    shortData.rgb.pop_back();
    for (PictureFormat format : {PictureFormat::Bmp, PictureFormat::Png, PictureFormat::Jpeg}) {
        SCOPED_TRACE(static_cast<int>(format));
        const EncodedPicture empty = EncodePicture(DiagramPicture{}, format);
        EXPECT_TRUE(empty.bytes.empty());
        EXPECT_EQ(empty.error, "The picture is empty.");
        EXPECT_FALSE(EncodePicture(shortData, format).ok());
    }
    // Past libjpeg's 65,500 and libpng's default 1,000,000 pixel width limits.
    const EncodedPicture jpg = EncodeJpeg(PatternPicture(65501, 1));
    EXPECT_NE(jpg.error.find("65500"), std::string::npos) << jpg.error;
    EXPECT_FALSE(EncodePng(PatternPicture(1000001, 1)).ok());
    // The coders still work afterwards.
    EXPECT_TRUE(EncodeJpeg(PatternPicture(8, 8)).ok());
    EXPECT_TRUE(EncodePng(PatternPicture(8, 8)).ok());
}

TEST(PictureFormatForName, UsesTheExactExtensionOfTheFileNamePart) {
    const struct {
        const char* name;
        std::optional<PictureFormat> format;
        const char* refusal;
    } cases[] = {
        {"/home/u/160305_Noise_Report.bmp", PictureFormat::Bmp, ""},
        {"/home/u/x.png", PictureFormat::Png, ""},
        {"relative.jpg", PictureFormat::Jpeg, ""},
        {"/home/u/x.png.bmp", PictureFormat::Bmp, ""},
        {"/home/u/.bmp", PictureFormat::Bmp, ""},
        {"/home/u/x.jpeg", std::nullopt, "..jpeg-Files are not allowed."},
        {"/home/u/x.PNG", std::nullopt, "..PNG-Files are not allowed."},
        {"/home/u/x.Bmp", std::nullopt, "..Bmp-Files are not allowed."},
        {"/home/u/x.bmp.gif", std::nullopt, "..gif-Files are not allowed."},
        {"/tmp/a.bmp/name", std::nullopt, ".-Files are not allowed."},
        {"/home/u/name.", std::nullopt, "..-Files are not allowed."},
        {"", std::nullopt, ".-Files are not allowed."},
    };
    for (const auto& c : cases) {
        const PictureFormatChoice choice = PictureFormatForName(c.name);
        EXPECT_EQ(choice.format, c.format) << c.name;
        EXPECT_EQ(choice.refusal, c.refusal) << c.name;
    }
}

TEST(DefaultPictureName, IsTheSixDigitDateAndNoiseReportBmp) {
    EXPECT_EQ(DefaultPictureName({2016, 3, 5, 14, 30}), "160305_Noise_Report.bmp");
    EXPECT_EQ(DefaultPictureName({2100, 1, 1}), "000101_Noise_Report.bmp");
    EXPECT_EQ(DefaultPictureName({1999, 12, 31, 23, 59}), "991231_Noise_Report.bmp");
    EXPECT_EQ(PictureFilterText(),
              "Bitmaps (*.bmp)|*.bmp|WebBild (*.png)|*.png|JPG-Grafik (*.jpg)|*.jpg|"
              "Alle Dateien (*.*)|*.*");
    EXPECT_EQ(PictureFileTypes.front().pattern, "*." + std::string(PictureDefaultSuffix));
}

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
    std::string CannotCreate(const std::string& path) const {
        return "Datei \"" + path + "\" kann nicht erstellt werden. ";
    }

    fs::path dir_;
};

TEST_F(SavePictureTest, WritesTheFormatOfTheExtensionAndReplacesAnExistingFile) {
    const DiagramPicture picture = PatternPicture(537, 497);
    for (const char* name : {"160305_Noise_Report.bmp", "a.png", "a.jpg"}) {
        const PictureSaveResult r = SavePictureToFile(picture, PathOf(name));
        EXPECT_TRUE(r.saved()) << r.message;
        EXPECT_TRUE(r.message.empty());
    }
    ExpectSamePixels(picture, ReadFile(PathOf("160305_Noise_Report.bmp")));
    ExpectSamePixels(picture, ReadFile(PathOf("a.png")));
    EXPECT_EQ(Decoded(ReadFile(PathOf("a.jpg"))).size(), QSize(537, 497));

    const DiagramPicture second = NoisePicture(17, 9);
    ASSERT_TRUE(SavePictureToFile(second, PathOf("a.png")).saved());
    ExpectSamePixels(second, ReadFile(PathOf("a.png")));
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

TEST_F(SavePictureTest, FailuresNameTheFileAndLeaveNoFileBehind) {
    const std::string missing = PathOf("missing/pic.bmp");
    PictureSaveResult r = SavePictureToFile(PatternPicture(4, 4), missing);
    EXPECT_EQ(r.status, PictureSaveResult::Status::Failed);
    EXPECT_EQ(r.message, CannotCreate(missing) + std::strerror(ENOENT));
    EXPECT_TRUE(Entries().empty());

    // A folder of the chosen name cannot be replaced by the finished file.
    const std::string taken = PathOf("taken.bmp");
    fs::create_directory(taken);
    std::ofstream(fs::path(taken) / "keep.txt") << "x";
    r = SavePictureToFile(PatternPicture(4, 4), taken);
    EXPECT_EQ(r.status, PictureSaveResult::Status::Failed);
    EXPECT_EQ(r.message.rfind(CannotCreate(taken), 0), 0u) << r.message;
    EXPECT_EQ(Entries(), std::vector<std::string>{"taken.bmp"});
    EXPECT_TRUE(fs::exists(fs::path(taken) / "keep.txt"));

    // An empty picture keeps the old file.
    const std::string old = PathOf("old.bmp");
    ASSERT_TRUE(SavePictureToFile(PatternPicture(5, 5), old).saved());
    r = SavePictureToFile(DiagramPicture{}, old);
    EXPECT_EQ(r.status, PictureSaveResult::Status::Failed);
    EXPECT_EQ(r.message, CannotCreate(old) + "The picture is empty.");
    ExpectSamePixels(PatternPicture(5, 5), ReadFile(old));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"old.bmp", "taken.bmp"}));
}

}  // namespace
}  // namespace fw

namespace fw {
namespace {

TEST(PictureImageView, SharesThePixelsOfThePicture) {
    DiagramPicture p(5, 3, RgbHex(0x102030));
    const QImage view = PictureImageView(p);
    ASSERT_FALSE(view.isNull());
    EXPECT_EQ(view.constBits(), p.rgb.data());
    EXPECT_EQ(view.pixelColor(4, 2), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(view, PictureToQImage(p));
    EXPECT_TRUE(PictureImageView(DiagramPicture()).isNull());
}

}  // namespace
}  // namespace fw
