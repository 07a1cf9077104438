#pragma once
// Adding rows to a USER data file from the command line, as `enter --append` does.
#include <optional>
#include <string>
#include <vector>

#include "cli/render_options.h"
#include "measure/meas_list.h"

namespace fw::cli {

class DataFileAppend {
  public:
    // Loads FILE now (an empty list with the start-up texts where it does not exist yet), so
    // a refused file ends the command before anything else happens; throws Refusal.
    DataFileAppend(std::string path, char sep);

    // Appends the rows, sets the locator and date/time where given, sorts by frequency and
    // saves FILE through the atomic writer; throws Refusal and leaves FILE as it was.
    void save(const std::vector<MeasRow>& rows, const std::optional<std::string>& locator,
              const std::optional<std::string>& dateTime);

  private:
    std::string path_;
    char sep_;
    LoadedData data_;
};

// One row as the list box shows it.
std::string ListLine(const MeasRow& row, char sep);

}  // namespace fw::cli
