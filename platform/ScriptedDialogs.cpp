#include "platform/ScriptedDialogs.h"

namespace lv {

DialogAnswer ScriptedDialogs::messageBox(MessageKind kind, const std::string& text, MessageButtons buttons) {
    shown_.push_back({kind, buttons, text});
    if (answers_.empty()) return buttons == MessageButtons::Ok ? DialogAnswer::Ok : DialogAnswer::No;
    const DialogAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::inputBox(const std::string& caption, const std::string& prompt,
                                                     const std::string& /*value*/) {
    prompts_.push_back(caption + ": " + prompt);
    if (inputs_.empty()) return std::nullopt;
    std::optional<std::string> text = std::move(inputs_.front());
    inputs_.pop_front();
    return text;
}

} // namespace lv
