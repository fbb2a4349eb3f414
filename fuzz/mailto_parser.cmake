vellix_add_fuzzer(mailto_parser DEPS Vellix::Tray)
