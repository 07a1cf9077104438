#include "rig/rig_settings.h"

#include <charconv>

#include "rig/rig_error.h"

namespace fw::rig {

std::string RigctldUnreachableText(const std::string& address) {
    return "rigctld not reachable at " + address;
}

namespace {

int ParsePort(std::string_view text, std::string_view whole, std::string_view daemon) {
    int port = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || port < 1 ||
        port > 65535)
        throw RigSettingsError(std::string(daemon) + " address \"" + std::string(whole) +
                               "\": the port must be a number from 1 to 65535");
    return port;
}

}  // namespace

RigctldAddress ParseRigctldAddress(std::string_view text) {
    return ParseDaemonAddress(text, "rigctld", DefaultRigctldPort);
}

RigctldAddress ParseDaemonAddress(std::string_view text, std::string_view daemon, int defaultPort) {
    const auto ipv6Error = [&] {
        return RigSettingsError(std::string(daemon) + " address \"" + std::string(text) +
                                "\": write an IPv6 address as [ADDRESS]:PORT");
    };
    RigctldAddress address;
    address.port = defaultPort;
    std::string_view host = text;
    std::string_view rest;  // ":PORT" or empty
    if (text.starts_with('[')) {
        const auto close = text.find(']');
        if (close == std::string_view::npos || close == 1) throw ipv6Error();
        host = text.substr(1, close - 1);
        rest = text.substr(close + 1);
        if (!rest.empty() && rest.front() != ':') throw ipv6Error();
    } else if (const auto colon = text.find(':'); colon != std::string_view::npos) {
        if (text.find(':', colon + 1) != std::string_view::npos) throw ipv6Error();
        host = text.substr(0, colon);
        rest = text.substr(colon);
    }
    if (!host.empty()) address.host = std::string(host);
    if (!rest.empty()) address.port = ParsePort(rest.substr(1), text, daemon);
    return address;
}

std::vector<ConfPair> ParseConfPairs(std::string_view text) {
    std::vector<ConfPair> pairs;
    if (text.empty()) return pairs;
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto comma = std::min(text.find(',', start), text.size());
        const std::string_view item = text.substr(start, comma - start);
        const auto eq = item.find('=');
        if (eq == std::string_view::npos || eq == 0)
            throw RigSettingsError("rig setting \"" + std::string(item) +
                                   "\" must be written KEY=VALUE");
        pairs.emplace_back(std::string(item.substr(0, eq)), std::string(item.substr(eq + 1)));
        start = comma + 1;
    }
    return pairs;
}

std::string ConfPairsText(const std::vector<ConfPair>& pairs) {
    std::string text;
    for (const auto& [key, value] : pairs) text += (text.empty() ? "" : ",") + key + "=" + value;
    return text;
}

std::string AddressText(const RigctldAddress& address) {
    const bool ipv6 = address.host.find(':') != std::string::npos;
    const std::string host = ipv6 ? "[" + address.host + "]" : address.host;
    return host + ":" + std::to_string(address.port);
}

std::string ConnectionLabel(const RigConnection& connection) {
    if (const auto* d = std::get_if<RigctldAddress>(&connection.target))
        return "rigctld at " + AddressText(*d);
    const auto& direct = std::get<DirectRig>(connection.target);
    std::string label = "Hamlib model " + std::to_string(direct.model);
    if (!direct.port.empty()) label += " at " + direct.port;
    return label;
}

}  // namespace fw::rig
