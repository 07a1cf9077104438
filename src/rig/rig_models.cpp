#include "rig/rig_models.h"

#include <hamlib/rig.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "rig/hamlib_lock.h"

namespace fw::rig {

namespace {

int Collect(const rig_caps* caps, rig_ptr_t data) {
    auto* models = static_cast<std::vector<RigModelInfo>*>(data);
    models->push_back({static_cast<int>(caps->rig_model), caps->mfg_name ? caps->mfg_name : "",
                       caps->model_name ? caps->model_name : "", rig_strstatus(caps->status)});
    return 1;  // go on
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

std::vector<RigModelInfo> RigModels() {
    // Loading the backends registers every model once per process.
    static const std::vector<RigModelInfo> models = [] {
        std::lock_guard lock(HamlibMutex());
        SilenceHamlib();
        rig_load_all_backends();
        std::vector<RigModelInfo> list;
        rig_list_foreach(Collect, &list);
        std::sort(list.begin(), list.end(),
                  [](const RigModelInfo& a, const RigModelInfo& b) { return a.model < b.model; });
        return list;
    }();
    return models;
}

std::vector<RigModelInfo> FilterRigModels(const std::vector<RigModelInfo>& models,
                                          std::string_view query) {
    std::vector<std::string> words;
    const std::string q = Lower(query);
    for (std::size_t i = 0; i < q.size();) {
        const auto end = std::min(q.find(' ', i), q.size());
        if (end > i) words.push_back(q.substr(i, end - i));
        i = end + 1;
    }
    std::vector<RigModelInfo> found;
    for (const RigModelInfo& m : models) {
        const std::string hay =
            Lower(std::to_string(m.model) + " " + m.manufacturer + " " + m.name);
        const bool all = std::all_of(words.begin(), words.end(), [&](const std::string& w) {
            return hay.find(w) != std::string::npos;
        });
        if (all) found.push_back(m);
    }
    return found;
}

std::string ModelLine(const RigModelInfo& m) {
    char number[16];
    std::snprintf(number, sizeof number, "%6d", m.model);
    return std::string(number) + "  " + m.manufacturer + "  " + m.name + "  (" + m.status + ")";
}

}  // namespace fw::rig
