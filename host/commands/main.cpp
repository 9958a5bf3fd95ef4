// tovrel: a command-line VST 2.4 host that renders audio files through a plug-in.
#include <CLI/CLI.hpp>
#include <cstdio>

#include "commands.h"
#include "host/host_error.h"

int main(int argc, char** argv) {
    CLI::App app{"tovrel: renders audio through a VST 2.4 plug-in"};
    app.fallthrough();  // global options may follow the command
    app.require_subcommand(1);
    tovrel::GlobalOptions global;
    tovrel::addGlobalOptions(app, global);
    tovrel::DemoCommand demo;
    tovrel::RenderCommand render;
    tovrel::InfoCommand info;
    tovrel::PlotCommand plot;
    tovrel::ListCommand list;
    tovrel::ValidateCommand validate;
    demo.add(app);
    render.add(app);
    info.add(app);
    plot.add(app);
    list.add(app);
    validate.add(app);
    int status = 0;
    try {
        app.parse(argc, argv);
        if (*demo.app) demo.run(global);
        if (*render.app) status = render.run(global);
        if (*info.app) info.run(global);
        if (*plot.app) plot.run(global);
        if (*list.app) list.run(global);
        if (*validate.app) return validate.run();
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "tovrel: error: %s (see tovrel --help)\n", e.what());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tovrel: error: %s\n", e.what());
        return 1;
    }
    return status;
}
