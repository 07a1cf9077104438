#include "rig/rig_session.h"

#include <hamlib/rig.h>
#include <sys/socket.h>

#include <chrono>
#include <string_view>
#include <vector>

#include "rig/daemon_check.h"
#include "rig/hamlib_lock.h"
#include "rig/pacing.h"
#include "rig/rig_error.h"
#include "rig/strength_cal.h"

namespace fw::rig {

namespace {

// Hamlib's text for an error code, without its trailing line break.
std::string HamlibText(int code) {
    const char* text = rigerror2(code);
    std::string s = text ? text : "Hamlib error " + std::to_string(code);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    return s;
}

bool HasKey(const std::vector<ConfPair>& conf, std::string_view key) {
    for (const auto& [k, v] : conf)
        if (k == key) return true;
    return false;
}

// The settings handed to Hamlib before opening: where the rig is, then the user's own, then
// the answer timeout and retries unless the user set them.
std::vector<ConfPair> HamlibConf(const RigConnection& c) {
    std::vector<ConfPair> conf;
    if (const auto* d = std::get_if<RigctldAddress>(&c.target)) {
        conf.emplace_back("rig_pathname", AddressText(*d));
    } else {
        const auto& direct = std::get<DirectRig>(c.target);
        if (!direct.port.empty()) conf.emplace_back("rig_pathname", direct.port);
        if (direct.speed > 0) conf.emplace_back("serial_speed", std::to_string(direct.speed));
        conf.insert(conf.end(), direct.conf.begin(), direct.conf.end());
    }
    if (!HasKey(conf, "timeout")) conf.emplace_back("timeout", std::to_string(c.timeoutMs));
    if (!HasKey(conf, "retry")) conf.emplace_back("retry", std::to_string(c.retries));
    return conf;
}

void Apply(RIG* rig, const ConfPair& setting) {
    const auto& [key, value] = setting;
    const token_t token = rig_token_lookup(rig, key.c_str());
    if (token == RIG_CONF_END) throw RigSettingsError("unknown rig setting \"" + key + "\"");
    const int e = rig_set_conf(rig, token, value.c_str());
    if (e != RIG_OK)
        throw RigSettingsError("rig setting " + key + "=" + value + " refused: " + HamlibText(e));
}

std::vector<CalPoint> CalTable(const cal_table_t& cal) {
    std::vector<CalPoint> points;
    for (int i = 0; i < cal.size && i < HAMLIB_MAX_CAL_LENGTH; ++i)
        points.push_back({cal.table[i].raw, static_cast<double>(cal.table[i].val)});
    return points;
}

}  // namespace

void RigSession::Closer::operator()(s_rig* rig) const {
    std::lock_guard lock(HamlibMutex());
    rig_close(rig);  // refused harmlessly when the rig was never opened
    rig_cleanup(rig);
}

RigSession::RigSession(const RigConnection& connection, std::stop_token stop, DaemonCheck* check)
    : connection_(connection), stop_(stop) {
    const auto* daemon = std::get_if<RigctldAddress>(&connection_.target);
    // Hamlib's own connect may wait for minutes on an address that drops packets or a daemon
    // that stopped, so a connection within the timeout that the daemon answers comes first.
    // It is held until Hamlib's is closed again: rigctld 4.5 closes a leaving client's
    // descriptor more than once, and drops a connection accepted in between under the same
    // number. A check that had just left could do that to Hamlib's connection; one that
    // leaves after it cannot.
    if (daemon) {
        DaemonCheck own;
        DaemonCheck& asked = check ? *check : own;
        asked.check(*daemon, connection_.timeoutMs, stop);
        probe_ = asked.take();
    }
    const Pacing pacing{stop, {}};
    int e = open();
    // Another client of the same rigctld that left just before can still drop this one.
    for (int pauseMs = 50; daemon && e == -RIG_EIO && pauseMs <= 400; pauseMs *= 2) {
        Wait(pacing, std::chrono::milliseconds(pauseMs));
        e = open();
    }
    if (e != RIG_OK) fail(e);
    std::lock_guard lock(HamlibMutex());
    // Every answer comes from the rig itself, not from Hamlib's cache of earlier answers.
    rig_set_cache_timeout_ms(rig_.get(), HAMLIB_CACHE_ALL, 0);
    if (daemon) cutOn(std::move(stop));
}

void RigSession::cutOn(std::stop_token stop) {
    const int fd = rig_->state.rigport.fd;
    if (fd < 0) return;
    // Hamlib's wait for the answer then sees the connection end at once. Only shut, never
    // closed here: the descriptor stays Hamlib's until the session is closed.
    cutter_.emplace(std::move(stop), [fd] { shutdown(fd, SHUT_RDWR); });
}

void RigSession::checkCut() const {
    if (cutter_ && stop_.stop_requested()) throw RigError(CutText);
}

int RigSession::open() {
    rig_.reset();  // an earlier try's, closed under the lock by its deleter
    std::lock_guard lock(HamlibMutex());
    SilenceHamlib();
    const auto* direct = std::get_if<DirectRig>(&connection_.target);
    const rig_model_t model = direct ? direct->model : RIG_MODEL_NETRIGCTL;
    rig_.reset(rig_init(model));
    if (!rig_) throw RigSettingsError("unknown rig model " + std::to_string(model));
    for (const ConfPair& setting : HamlibConf(connection_)) Apply(rig_.get(), setting);
    return rig_open(rig_.get());
}

RigSession::~RigSession() = default;

void RigSession::fail(int code) const {
    checkCut();  // the failure of a call the cut ended
    const int e = code < 0 ? -code : code;
    if (e == RIG_ETIMEOUT) throw RigError(NotRespondingText);
    if (e == RIG_EIO) {
        if (const auto* d = std::get_if<RigctldAddress>(&connection_.target))
            throw RigError(RigctldUnreachableText(AddressText(*d)));
        const auto& direct = std::get<DirectRig>(connection_.target);
        const std::string port = direct.port.empty() ? "its default port" : direct.port;
        throw RigError("rig not reachable at " + port + ": " + HamlibText(e));
    }
    throw RigError(HamlibText(e));
}

double RigSession::frequencyHz() {
    checkCut();
    std::lock_guard lock(HamlibMutex());
    freq_t hz = 0;
    if (const int e = rig_get_freq(rig_.get(), RIG_VFO_CURR, &hz); e != RIG_OK) fail(e);
    return hz;
}

void RigSession::setFrequencyHz(double hz) {
    checkCut();
    std::lock_guard lock(HamlibMutex());
    if (const int e = rig_set_freq(rig_.get(), RIG_VFO_CURR, hz); e != RIG_OK) fail(e);
}

RigMode RigSession::mode() {
    checkCut();
    std::lock_guard lock(HamlibMutex());
    rmode_t mode = RIG_MODE_NONE;
    pbwidth_t width = 0;
    if (const int e = rig_get_mode(rig_.get(), RIG_VFO_CURR, &mode, &width); e != RIG_OK) fail(e);
    return RigMode{rig_strrmode(mode), width > 0 ? static_cast<long>(width) : 0};
}

void RigSession::setMode(const RigMode& mode) {
    checkCut();
    std::lock_guard lock(HamlibMutex());
    const rmode_t m = rig_parse_mode(mode.name.c_str());
    if (m == RIG_MODE_NONE) throw RigSettingsError("unknown rig mode \"" + mode.name + "\"");
    const pbwidth_t width = mode.passbandHz > 0 ? mode.passbandHz : RIG_PASSBAND_NORMAL;
    if (const int e = rig_set_mode(rig_.get(), RIG_VFO_CURR, m, width); e != RIG_OK) fail(e);
}

double RigSession::strengthDb() {
    checkCut();
    std::lock_guard lock(HamlibMutex());
    RIG* rig = rig_.get();
    int e = -RIG_ENAVAIL;
    if (rig_has_get_level(rig, RIG_LEVEL_STRENGTH)) {
        value_t v{};
        e = rig_get_level(rig, RIG_VFO_CURR, RIG_LEVEL_STRENGTH, &v);
        if (e == RIG_OK) return v.i;
    }
    const bool emulate = (e == -RIG_ENAVAIL || e == -RIG_ENIMPL) &&
                         rig_has_get_level(rig, RIG_LEVEL_RAWSTR) && rig->state.str_cal.size > 0;
    if (!emulate) {
        if (e == -RIG_ENAVAIL || e == -RIG_ENIMPL)
            throw RigError("rig offers no S-meter reading (" + HamlibText(e) + ")");
        fail(e);
    }
    value_t raw{};
    if (const int r = rig_get_level(rig, RIG_VFO_CURR, RIG_LEVEL_RAWSTR, &raw); r != RIG_OK)
        fail(r);
    const std::vector<CalPoint> table = CalTable(rig->state.str_cal);
    return StrengthFromRaw(table, raw.i);
}

bool IsRigModeName(const std::string& name) {
    std::lock_guard lock(HamlibMutex());
    return rig_parse_mode(name.c_str()) != RIG_MODE_NONE;
}

}  // namespace fw::rig
