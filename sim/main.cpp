// skyloom-sim: a Skyloom server for tests and the demo.
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>

#include "cli_options.h"
#include "demo.h"
#include "server.h"

int main(int argc, char** argv) {
    using namespace vellix::sim;
    const CliResult cli = parse_cli(std::vector<std::string>(argv + 1, argv + argc));
    if (!cli.ok) {
        std::cerr << "skyloom-sim: " << cli.error << "\n" << cli_usage();
        return 2;
    }
    if (cli.options.help) {
        std::cout << cli_usage();
        return 0;
    }
    SeedData seed = default_seed();
    if (!cli.options.seed_file.empty()) {
        SeedResult loaded = load_seed_file(cli.options.seed_file);
        if (!loaded.ok) {
            std::cerr << "skyloom-sim: " << cli.options.seed_file << ": " << loaded.error << "\n";
            return 2;
        }
        seed = std::move(loaded.data);
    }

    // Signals are taken by sigwait below, never by a worker thread.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    Server server(cli.options.server, std::move(seed));
    std::string error;
    if (!server.start(&error)) {
        std::cerr << "skyloom-sim: " << error << "\n";
        return 1;
    }
    std::unique_ptr<Demo> demo;
    if (cli.options.demo) {
        DemoOptions d;
        d.mail_interval = cli.options.mail_interval;
        demo = std::make_unique<Demo>(server.state(), d);
        demo->start();
    }
    std::printf("listening on %u\nurl %s\n", server.port(), server.url().c_str());
    std::fflush(stdout);

    int sig = 0;
    sigwait(&signals, &sig);
    if (demo) demo->stop();
    server.stop();
    return 0;
}
