#pragma once

// A DialogService that answers from a queue and records what was asked, for tests and tools.

#include "platform/Dialogs.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace lv {

class ScriptedDialogs : public DialogService {
  public:
    struct Shown {
        MessageKind kind;
        MessageButtons buttons;
        std::string text;
    };

    // Answers given in order to the message boxes; an empty queue answers Ok for an OK box and
    // No for a Yes/No box (the answer that cancels).
    void queueAnswer(DialogAnswer answer) { answers_.push_back(answer); }
    // Texts given in order to input boxes; nothing cancels. An empty queue cancels.
    void queueInput(std::optional<std::string> text) { inputs_.push_back(std::move(text)); }

    DialogAnswer messageBox(MessageKind kind, const std::string& text, MessageButtons buttons) override;
    std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& value) override;

    const std::vector<Shown>& shown() const { return shown_; }
    const std::vector<std::string>& prompts() const { return prompts_; }
    size_t answersLeft() const { return answers_.size(); }

  private:
    std::deque<DialogAnswer> answers_;
    std::deque<std::optional<std::string>> inputs_;
    std::vector<Shown> shown_;
    std::vector<std::string> prompts_;
};

} // namespace lv
