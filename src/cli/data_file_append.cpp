#include "cli/data_file_append.h"

#include <filesystem>

#include "libs/startup_values.h"
#include "measure/user_data_file.h"

namespace fw::cli {

namespace {

// FILE as loaded, or an empty list with the start-up texts where FILE does not exist yet.
// FILE is read before it is written, so it must be a regular file: anything else (a FIFO, a
// device, a pipe such as /dev/stdout) could block the read for ever or never give back what
// was written, and is refused before anything is read. A path whose state cannot be told
// goes through the load, which refuses it with the program's message.
LoadedData LoadOrStart(const std::string& path, char sep) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_type type = fs::status(path, ec).type();
    if (type == fs::file_type::not_found)
        return LoadedData{{}, std::string(NoLocatorText), std::string(NoDateTimeText)};
    if (!ec && type != fs::file_type::regular)
        throw Refusal("\"" + path + "\" is not a regular file: --append adds to data files only.");
    return LoadDataOption(path, sep);
}

}  // namespace

DataFileAppend::DataFileAppend(std::string path, char sep)
    : path_(std::move(path)), sep_(sep), data_(LoadOrStart(path_, sep)) {}

void DataFileAppend::save(const std::vector<MeasRow>& rows,
                          const std::optional<std::string>& locator,
                          const std::optional<std::string>& dateTime) {
    LoadedData data = data_;
    for (const MeasRow& row : rows) data.list.appendRow(row);
    SortMeasList(data.list);
    if (locator) data.locator = *locator;
    if (dateTime) data.dateTime = *dateTime;
    const std::string error = WriteUserDataFile(path_, data.locator, data.dateTime, data.list, sep_);
    if (!error.empty()) throw Refusal("The data file could not be saved as " + path_ + ": " + error);
}

std::string ListLine(const MeasRow& row, char sep) {
    MeasList single;
    single.appendRow(row);
    std::string line;
    AppendUserListLine(line, single, 0, sep);
    return line;
}

}  // namespace fw::cli
