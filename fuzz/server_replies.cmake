vellix_add_fuzzer(server_replies DEPS Vellix::Server)
