#pragma once
// The one way the logic reports an outcome to the user: a message with its severity. A
// window shows it in the message box of that severity; floorwatch-cli prints its text.
#include <string>

namespace fw {

enum class MessageKind { Information, Warning, Error };

struct Message {
    MessageKind kind = MessageKind::Error;
    std::string text;
    friend bool operator==(const Message&, const Message&) = default;
};

}  // namespace fw
