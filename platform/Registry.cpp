#include "platform/Registry.h"

#include "platform/Paths.h"

namespace lv {
namespace {

// "\Control Panel\desktop" and "Control Panel\Desktop\" name the same key.
std::string sectionFor(RegistryRoot root, std::string_view keyPath) {
    while (keyPath.starts_with('\\')) keyPath.remove_prefix(1);
    while (keyPath.ends_with('\\')) keyPath.remove_suffix(1);
    const std::string_view prefix =
        root == RegistryRoot::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_CLASSES_ROOT";
    std::string section(prefix);
    if (!keyPath.empty()) section.append("\\").append(keyPath);
    return section;
}

// Value names become keys of the store; the default value, which has no name, is "@".
std::string_view keyFor(std::string_view name) {
    return name.empty() ? std::string_view("@") : name;
}

} // namespace

Registry::Registry() : file_(windowsDirectory() / "registry.ini") {}

bool Registry::keyExists(RegistryRoot root, std::string_view keyPath) const {
    const std::string section = sectionFor(root, keyPath);
    if (root == RegistryRoot::CurrentUser && sameProfileName(section, sectionFor(root, kDesktopKey)))
        return true;
    return file_.read().hasSection(section);
}

std::optional<std::string> Registry::readString(RegistryRoot root, std::string_view keyPath,
                                                std::string_view name) const {
    return file_.read().find(sectionFor(root, keyPath), keyFor(name));
}

int Registry::readInteger(RegistryRoot root, std::string_view keyPath, std::string_view name,
                          int fallback) const {
    return file_.readInteger(sectionFor(root, keyPath), keyFor(name), fallback);
}

void Registry::writeString(RegistryRoot root, std::string_view keyPath, std::string_view name,
                           std::string_view value) {
    // Quoted, so that blanks and quotes at either end come back as written.
    std::string quoted = "\"";
    quoted += value;
    quoted += '"';
    file_.writeString(sectionFor(root, keyPath), keyFor(name), quoted);
}

} // namespace lv
