vellix_add_fuzzer(profile_reader DEPS Vellix::Core)
