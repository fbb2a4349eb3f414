vellix_add_fuzzer(sim_request DEPS Vellix::Sim)
