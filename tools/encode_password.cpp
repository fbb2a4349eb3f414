// Prints a password in the form Vellix.ini stores it, for scripts that prepare a profile
// (the demo, end-to-end set-ups). Reads the password from the first argument.
#include <cstdio>
#include <string>

#include "core/password_codec.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vellix-encode-password PASSWORD\n");
        return 2;
    }
    std::printf("%s\n", vellix::encodePassword(argv[1]).c_str());
    return 0;
}
