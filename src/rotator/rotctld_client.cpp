#include "rotator/rotctld_client.h"

#include <hamlib/rig.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>

#include "libs/number_text.h"
#include "libs/real_text.h"
#include "rig/pacing.h"
#include "rig/rig_error.h"
#include "rig/tcp_probe.h"

namespace fw::rotator {

namespace {

// "123.45" with a point, whatever the locale: rotctld reads it with the C locale.
std::string Fixed(double value) {
    return FixedText(value, 2);
}

bool IsReport(const std::string& line) { return line.starts_with("RPRT"); }

// Hamlib's text for "RPRT -N".
std::string ReportText(const std::string& line) {
    int code = 0;
    const std::string_view number = std::string_view(line).substr(4);
    const auto first = number.find_first_not_of(' ');
    if (first == std::string_view::npos ||
        std::from_chars(number.data() + first, number.data() + number.size(), code).ec != std::errc())
        return line;
    std::string text = rigerror2(code);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text.empty() ? line : text;
}

double Number(const std::string& line, const std::string& who) {
    const auto value = ParseRealPointOrComma(line);
    if (!value || !std::isfinite(*value))
        throw RotatorError(who + " answered \"" + line + "\" where a position was expected");
    return *value;
}

}  // namespace

rig::RigctldAddress ParseRotctldAddress(std::string_view text) {
    return rig::ParseDaemonAddress(text, "rotctld", DefaultRotctldPort);
}

std::string RotctldName(const rig::RigctldAddress& address) {
    return "rotctld at " + rig::AddressText(address);
}

RotctldClient::RotctldClient(rig::RigctldAddress address, UniqueFd connection, int timeoutMs)
    : address_(std::move(address)), fd_(std::move(connection)), timeoutMs_(timeoutMs) {}

RotatorPosition RotctldClient::position(std::stop_token stop) {
    const std::vector<std::string> answer = ask("p", 2, stop);
    if (IsReport(answer.front()))
        throw RotatorError(name() + " gave no position: " + ReportText(answer.front()));
    return {Number(answer[0], name()), Number(answer[1], name())};
}

void RotctldClient::setPosition(const RotatorPosition& target, std::stop_token stop) {
    const std::string command = "P " + Fixed(target.azimuthDeg) + " " + Fixed(target.elevationDeg);
    const std::vector<std::string> answer = ask(command, 1, stop);
    if (answer.front() == "RPRT 0") return;
    if (!IsReport(answer.front()))
        throw RotatorError(name() + " answered \"" + answer.front() + "\" to " + command);
    throw RotatorRefused(name() + " refused to turn to " + Fixed(target.azimuthDeg) + "°: " +
                         ReportText(answer.front()));
}

std::string RotctldClient::model(std::stop_token stop) {
    const std::string answer = ask("_", 1, stop).front();
    return IsReport(answer) ? std::string() : answer;
}

std::vector<std::string> RotctldClient::ask(const std::string& command, std::size_t lines,
                                            const std::stop_token& stop) {
    // A connection the daemon dropped since the last call is made again, once.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (stop.stop_requested()) throw rig::Cancelled();
        if (!fd_.valid()) {
            fd_ = rig::TcpConnect(address_.host, address_.port, timeoutMs_);
            if (!fd_.valid()) throw RotatorError("rotctld not reachable at " + rig::AddressText(address_));
        }
        pending_.clear();
        const std::string sent = command + "\n";
        if (send(fd_.get(), sent.data(), sent.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(sent.size())) {
            fd_.reset();
            continue;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs_);
        std::vector<std::string> answer;
        std::string line;
        while (answer.size() < lines) {
            if (readLine(line, deadline, stop) == Got::Closed) break;
            answer.push_back(line);
            if (IsReport(line)) return answer;
        }
        if (answer.size() == lines) return answer;
        fd_.reset();
        if (!answer.empty()) break;  // cut off within an answer: not asked again
    }
    throw RotatorError(name() + " closed the connection");
}

RotctldClient::Got RotctldClient::readLine(std::string& line,
                                           std::chrono::steady_clock::time_point deadline,
                                           const std::stop_token& stop) {
    using namespace std::chrono;
    for (;;) {
        if (const auto end = pending_.find('\n'); end != std::string::npos) {
            line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return Got::Line;
        }
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now());
        if (stop.stop_requested()) {
            fd_.reset();  // an answer still to come would be read as the next one's
            throw rig::Cancelled();
        }
        if (left <= 0ms) {
            fd_.reset();
            throw RotatorError(name() + ": rotator not responding");
        }
        pollfd p{fd_.get(), POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(std::min(left, rig::WaitSlice).count()));
        if (ready < 0 && errno != EINTR) return Got::Closed;
        if (ready <= 0) continue;
        char text[256];
        const ssize_t n = recv(fd_.get(), text, sizeof text, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return Got::Closed;
        if (n > 0) pending_.append(text, static_cast<std::size_t>(n));
    }
}

}  // namespace fw::rotator
