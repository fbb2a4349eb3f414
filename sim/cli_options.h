// skyloom-sim's command line.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "server.h"

namespace vellix::sim {

struct CliOptions {
    ServerOptions server;
    std::string seed_file;
    bool demo = false;
    std::chrono::milliseconds mail_interval{45000};
    bool help = false;
};

struct CliResult {
    bool ok = false;
    CliOptions options;
    std::string error;
};

CliResult parse_cli(const std::vector<std::string>& args);
std::string cli_usage();

}  // namespace vellix::sim
