#include "startup_sequence.h"

int main(int argc, char** argv) {
    return vellix::runVellix(argc, argv);
}
