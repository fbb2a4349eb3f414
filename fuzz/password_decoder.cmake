vellix_add_fuzzer(password_decoder DEPS Vellix::Core)
