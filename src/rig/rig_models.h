#pragma once
// Hamlib's list of rig models, for choosing one.
#include <string>
#include <string_view>
#include <vector>

namespace fw::rig {

struct RigModelInfo {
    int model;  // Hamlib model number, as given to DirectRig::model
    std::string manufacturer;
    std::string name;
    std::string status;  // Hamlib's word for the driver's maturity ("Stable", "Beta", ...)
};

// Every model Hamlib knows, sorted by model number.
std::vector<RigModelInfo> RigModels();

// The models whose number, manufacturer or name contains every blank-separated word of
// `query`, ignoring case ("icom 7300", "1201"); all of them for an empty query.
std::vector<RigModelInfo> FilterRigModels(const std::vector<RigModelInfo>& models,
                                          std::string_view query);

// One line of `rig models`: number, manufacturer, name, status.
std::string ModelLine(const RigModelInfo& m);

}  // namespace fw::rig
