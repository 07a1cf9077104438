#pragma once
// How to reach a rig, as plain data: a Hamlib model with its port, or a running rigctld.
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace fw::rig {

// One Hamlib configuration setting, for example {"static_data", "1"}.
using ConfPair = std::pair<std::string, std::string>;

// A rig driven by Hamlib in this process.
struct DirectRig {
    int model = 1;               // Hamlib model number (1 is Hamlib's dummy rig)
    std::string port;            // device or address; empty keeps the model's default
    int speed = 0;               // serial speed in baud; 0 keeps the model's default
    std::vector<ConfPair> conf;  // extra settings, applied in this order
};

inline constexpr const char* DefaultRigctldHost = "localhost";
inline constexpr int DefaultRigctldPort = 4532;

// A rigctld daemon reached over TCP (Hamlib's network rigctl model).
struct RigctldAddress {
    std::string host = DefaultRigctldHost;  // name, IPv4 or IPv6 address (without brackets)
    int port = DefaultRigctldPort;
};

struct RigConnection {
    std::variant<DirectRig, RigctldAddress> target = RigctldAddress{};
    // Answer timeout of every call and its retries. A "timeout" or "retry" setting in
    // DirectRig::conf wins over these.
    int timeoutMs = 1000;
    int retries = 1;
};

// "HOST:PORT", "HOST", ":PORT", "[IPV6]:PORT" or "" (localhost:4532). Throws
// RigSettingsError for a port outside 1..65535 or a malformed text.
RigctldAddress ParseRigctldAddress(std::string_view text);
// The same for another of Hamlib's daemons: `daemon` names it in the messages ("rotctld"),
// `defaultPort` stands where the text gives none.
RigctldAddress ParseDaemonAddress(std::string_view text, std::string_view daemon, int defaultPort);

// "KEY=VALUE[,KEY=VALUE...]"; an empty text gives no pairs. Throws RigSettingsError for
// an item without "=" or with an empty key.
std::vector<ConfPair> ParseConfPairs(std::string_view text);
// The pairs written back as "KEY=VALUE,KEY=VALUE".
std::string ConfPairsText(const std::vector<ConfPair>& pairs);

// The address as Hamlib and the messages write it: "host:port", "[::1]:port".
std::string AddressText(const RigctldAddress& address);

// What the connection talks to, for status lines: "rigctld at localhost:4532",
// "Hamlib model 1201 at /dev/ttyUSB0", "Hamlib model 1".
std::string ConnectionLabel(const RigConnection& connection);

}  // namespace fw::rig
