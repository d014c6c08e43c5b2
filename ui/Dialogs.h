#pragma once

// The Qt dialogs behind lv::DialogService: message boxes of the four kinds with their fixed buttons,
// the input box, and file and folder choosers. Texts written with "\r\n" show their line breaks.

#include "platform/Dialogs.h"

#include <QString>
#include <optional>
#include <string>
#include <string_view>

class QWidget;

namespace lv::ui {

// The text as shown: "\r\n" (and a lone "\r") become line breaks.
QString displayText(std::string_view text);
// The caption of a message box of that kind.
QString messageCaption(MessageKind kind);

class QtDialogs : public DialogService {
  public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}

    DialogAnswer messageBox(MessageKind kind, const std::string& text, MessageButtons buttons) override;
    std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& value) override;

    // File and folder choosers; nothing when cancelled. filter in Qt's "Name (*.ext)" form.
    std::optional<std::string> openFile(const std::string& caption, const std::string& filter);
    std::optional<std::string> saveFile(const std::string& caption, const std::string& filter,
                                        const std::string& suggested);
    std::optional<std::string> chooseFolder(const std::string& caption);

  private:
    QWidget* parent_;
};

} // namespace lv::ui
