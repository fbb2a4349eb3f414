vellix_add_fuzzer(reply_tags DEPS Vellix::Server)
