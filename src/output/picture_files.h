#pragma once
// Saving the diagram picture as a BMP, PNG or JPEG file, the format chosen by the exact
// extension of the file name, and the save dialog's fixed settings.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "libs/date_text.h"
#include "diagram/picture.h"

namespace fw {

enum class PictureFormat { Bmp, Png, Jpeg };

// The bytes of a picture file, or the reason the picture could not be encoded.
struct EncodedPicture {
    std::vector<std::uint8_t> bytes;
    std::string error;  // empty on success
    bool ok() const { return error.empty(); }
};

// BMP: BITMAPINFOHEADER, 24 bits per pixel, uncompressed, rows bottom-up and padded to
// four bytes, 3780 pixels per metre (96 dpi) both ways.
EncodedPicture EncodeBmp(const DiagramPicture& picture);
// PNG: 8-bit RGB (colour type 2), not interlaced, only IHDR, IDAT and IEND; deflate
// level 7, filter Sub on every row, IDAT chunks of at most 65,535 bytes.
EncodedPicture EncodePng(const DiagramPicture& picture);
// JPEG: baseline JFIF, quality 90, three colour components from RGB input, the coder's
// defaults otherwise.
EncodedPicture EncodeJpeg(const DiagramPicture& picture);
EncodedPicture EncodePicture(const DiagramPicture& picture, PictureFormat format);

// The extension of a file name: the text from the last "." of the part after the last
// '/' to the end, with the dot; empty when that part has no dot.
std::string FileNameExtension(std::string_view fileName);

// The format the extension asks for (exact, case-sensitive ".bmp", ".png", ".jpg"), or
// the refusal text "." + extension + "-Files are not allowed.".
struct PictureFormatChoice {
    std::optional<PictureFormat> format;
    std::string refusal;  // set when format is empty
};
PictureFormatChoice PictureFormatForName(std::string_view fileName);

// The outcome of a save: Refused is shown as a warning, Failed as an error.
struct PictureSaveResult {
    enum class Status { Saved, Refused, Failed };
    Status status = Status::Saved;
    std::string message;  // empty when saved
    bool saved() const { return status == Status::Saved; }
};

// Writes the picture in the format of fullName's extension, replacing an existing file
// without asking. The file is written to a temporary name and renamed when complete, so
// a failure leaves neither a half-written file nor a damaged earlier one.
PictureSaveResult SavePictureToFile(const DiagramPicture& picture, const std::string& fullName);

// The name the save dialog proposes: YYMMDD + "_Noise_Report.bmp".
std::string DefaultPictureName(const LocalTime& today);

// One file type of the picture save dialog.
struct FileTypeFilter {
    std::string_view description;
    std::string_view pattern;
};

// The save dialog's file types, in order; the first is preselected.
inline constexpr std::array<FileTypeFilter, 4> PictureFileTypes{{
    {"Bitmaps (*.bmp)", "*.bmp"},
    {"WebBild (*.png)", "*.png"},
    {"JPG-Grafik (*.jpg)", "*.jpg"},
    {"Alle Dateien (*.*)", "*.*"},
}};
// The suffix the dialog adds to a name typed without one.
inline constexpr std::string_view PictureDefaultSuffix = "bmp";

// The file types as one text, description and pattern alternating, separated by '|'.
std::string PictureFilterText();

}  // namespace fw
