#include "formats/uConfig.h"
#include "platform/Errors.h"
#include "tools/lvtool/Commands.h"

#include <iostream>
#include <memory>

namespace lvtool {
namespace {

const lv::ConfigKey& configKey(const std::string& name) {
    if (const lv::ConfigKey* key = lv::findConfigKey(name)) return *key;
    std::string known;
    for (const lv::ConfigKey& key : lv::configKeys())
        known += (known.empty() ? "" : ", ") + std::string(key.name);
    throw UsageError("unknown setting \"" + name + "\" (known: " + known + ")");
}

} // namespace

void addConfigCommand(CLI::App& app) {
    auto* config = app.add_subcommand("config", "Read and write the player settings in Lumivale.ini "
                                                "($LUMIVALE_WINDIR)");
    config->require_subcommand(1);

    auto* get = config->add_subcommand("get", "Print a setting as the player reads it, default included");
    auto getKey = std::make_shared<std::string>();
    get->add_option("key", *getKey, "a CONFIG key, e.g. DURATION or \"TRANSITION EFFECT\"")->required();
    get->callback([getKey] { std::cout << lv::TConfig().ReadSetting(configKey(*getKey)) << '\n'; });

    auto* set = config->add_subcommand("set", "Write a setting (booleans 1 or 0, integers in decimal)");
    auto setKey = std::make_shared<std::string>();
    auto value = std::make_shared<std::string>();
    set->add_option("key", *setKey, "a CONFIG key")->required();
    set->add_option("value", *value, "the new value")->required();
    set->callback([setKey, value] {
        const lv::ConfigKey& key = configKey(*setKey);
        lv::TConfig settings;
        try {
            settings.WriteSetting(key, *value);
        } catch (const lv::IoError&) {
            throw;
        } catch (const lv::Error& e) {
            throw UsageError(e.what());
        }
    });
}

} // namespace lvtool
