vellix_add_fuzzer(hand_over_wire DEPS Vellix::Platform)
