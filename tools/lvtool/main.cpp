#include "platform/Errors.h"
#include "tools/lvtool/Commands.h"
#include "tools/lvtool/CreatorCommands.h"

#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"lvtool: inspect, create, render and pack Lumivale files"};
    app.require_subcommand(1);
    lvtool::addInfoCommand(app);
    lvtool::addCreateCommand(app);
    lvtool::addExportCommand(app);
    lvtool::addRenderCommand(app);
    lvtool::addBenchCommand(app);
    lvtool::addCatalogCommand(app);
    lvtool::addConfigCommand(app);
    lvtool::addFitCommand(app);
    lvtool::addPackCommands(app);
    lvtool::addLvcCommand(app);
    lvtool::addBuildCommand(app);
    lvtool::addSaverUnpackCommand(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "lvtool: " << e.what() << '\n';
        return 2;
    } catch (const lvtool::UsageError& e) {
        std::cerr << "lvtool: " << e.what() << '\n';
        return 2;
    } catch (const lvtool::ExitStatus& e) {
        return e.code;
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
