#pragma once

// The dialogs code below the windows may ask for: message boxes with fixed button sets and an input
// box. The GUI provides the real ones; tests and tools script them (platform/ScriptedDialogs.h).

#include <optional>
#include <string>

namespace lv {

enum class MessageKind { Warning, Error, Information, Confirmation };
enum class MessageButtons { Ok, YesNo };
enum class DialogAnswer { Ok, Yes, No, Cancel };

class DialogService {
  public:
    virtual ~DialogService() = default;

    // Shows text in a box of the given kind and buttons; returns the button pressed. Closing the box
    // without a button gives Cancel (which, like No, is not Yes).
    virtual DialogAnswer messageBox(MessageKind kind, const std::string& text, MessageButtons buttons) = 0;

    // Asks for one line of text, offering value; nothing when the user cancels.
    virtual std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                                const std::string& value) = 0;

    // The usual question: a Yes/No box whose answer counts only when it is Yes.
    bool askYesNo(MessageKind kind, const std::string& text) {
        return messageBox(kind, text, MessageButtons::YesNo) == DialogAnswer::Yes;
    }
    void show(MessageKind kind, const std::string& text) { messageBox(kind, text, MessageButtons::Ok); }
};

} // namespace lv
