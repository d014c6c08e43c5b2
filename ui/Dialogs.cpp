#include "ui/Dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace lv::ui {

QString displayText(std::string_view text) {
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QString messageCaption(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QStringLiteral("Warning");
    case MessageKind::Error:
        return QStringLiteral("Error");
    case MessageKind::Information:
        return QStringLiteral("Information");
    case MessageKind::Confirmation:
        return QStringLiteral("Confirm");
    }
    return {};
}

namespace {

QMessageBox::Icon iconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

std::optional<std::string> chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

} // namespace

DialogAnswer QtDialogs::messageBox(MessageKind kind, const std::string& text, MessageButtons buttons) {
    const auto standard =
        buttons == MessageButtons::Ok ? QMessageBox::Ok : (QMessageBox::Yes | QMessageBox::No);
    QMessageBox box(iconOf(kind), messageCaption(kind), displayText(text), standard, parent_);
    if (buttons == MessageButtons::YesNo) box.setEscapeButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return DialogAnswer::Ok;
    case QMessageBox::Yes:
        return DialogAnswer::Yes;
    case QMessageBox::No:
        return DialogAnswer::No;
    default:
        return DialogAnswer::Cancel;
    }
}

std::optional<std::string> QtDialogs::inputBox(const std::string& caption, const std::string& prompt,
                                               const std::string& value) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, displayText(caption), displayText(prompt),
                                               QLineEdit::Normal, QString::fromStdString(value), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

std::optional<std::string> QtDialogs::openFile(const std::string& caption, const std::string& filter) {
    return chosen(QFileDialog::getOpenFileName(parent_, QString::fromStdString(caption), {},
                                               QString::fromStdString(filter)));
}

std::optional<std::string> QtDialogs::saveFile(const std::string& caption, const std::string& filter,
                                               const std::string& suggested) {
    return chosen(QFileDialog::getSaveFileName(parent_, QString::fromStdString(caption),
                                               QString::fromStdString(suggested),
                                               QString::fromStdString(filter)));
}

std::optional<std::string> QtDialogs::chooseFolder(const std::string& caption) {
    return chosen(QFileDialog::getExistingDirectory(parent_, QString::fromStdString(caption)));
}

} // namespace lv::ui
