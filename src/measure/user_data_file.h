#pragma once
// The USER data file: "Locator: ..." and "DateTime: ..." lines, then one line of eight
// ";"-separated fields per measurement, every line ended by CR LF.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "libs/message.h"
#include "measure/meas_list.h"

namespace fw {

inline constexpr const char* LoadFailedMessage = "File not found or converstion error!";

// The error box text for a data file that does not exist.
std::string MissingFileText(std::string_view path);

// Far above any real data file. Reading stops there, so that endless input (/dev/zero, a
// pipe that never ends) cannot fill the memory.
inline constexpr std::size_t UserDataFileSizeLimit = std::size_t{1} << 30;

// General number format: at most 15 significant digits, no trailing zeros, no needless
// separator; exponent form ("1E-6", "1,5E20", "-2,5E-7") only for magnitudes below 0.00001
// or with more than 15 digits before the separator.
std::string FormatGeneral(double value, char sep);
void AppendGeneral(std::string& out, double value, char sep);

// The whole file: the two leading lines and every row in list order. Line breaks inside
// the locator or date text are written as blanks, so the file always loads again.
std::string UserDataFileText(std::string_view locator, std::string_view dateTime,
                             const MeasList& list, char sep);

// Writes the file through a temporary file, so a failure leaves any previous file whole.
// Returns nothing on success, otherwise an error with the system's description.
// WriteUserDataFile gives that description alone (empty on success), for a caller's own text.
std::string WriteUserDataFile(const std::string& path, std::string_view locator,
                              std::string_view dateTime, const MeasList& list, char sep);
std::optional<Message> SaveUserDataFile(const std::string& path, std::string_view locator,
                                        std::string_view dateTime, const MeasList& list, char sep);

enum class UserDataStatus { Ok, FileMissing, ConversionError };

// Result of reading a data file. Anything but Ok comes with an empty list and empty texts:
// the caller keeps its own list, locator and date as they were.
struct UserDataLoad {
    UserDataStatus status = UserDataStatus::ConversionError;
    MeasList list;
    std::string locator;   // at most 6 characters
    std::string dateTime;  // at most 16 characters
    // Where a text failed to read: its line (1 for the first) and the field (1 to 8) of a
    // data line that is no number, negative for one the line ends before; 0 for the whole
    // line or where none applies.
    std::size_t failedLine = 0;
    int failedField = 0;
};

// Reads the text of a data file; lines end with CR LF or LF. Rows come in file order.
// Numbers may be written with `sep` or with the other of point and comma: the fields are
// separated by ";", so either is unambiguous, and a file written under one locale loads
// under another. Fails (ConversionError, naming the line and field) on fewer than two lines,
// a data line with fewer than eight fields, or a field 1-3, 5-8 that is not a number; fields
// after the eighth are ignored.
UserDataLoad ParseUserDataText(std::string_view text, char sep);

// "Line 5, field 2: a number ... unreadable." for a load that failed in its text; empty
// for a load that did not get so far.
std::string LoadFailureDetail(const UserDataLoad& load);

// The messages of a failed load, in the order they are shown: for a missing file the error
// naming it, then for every failure the warning LoadFailedMessage, followed on its next line
// by the line and field that failed where the text was read.
std::vector<Message> LoadFailureMessages(const UserDataLoad& load, std::string_view path);

// Reads a data file from disk; FileMissing when it does not exist, ConversionError when it
// cannot be read or parsed or holds more than `sizeLimit` bytes.
UserDataLoad LoadUserDataFile(const std::string& path, char sep,
                              std::size_t sizeLimit = UserDataFileSizeLimit);

}  // namespace fw
