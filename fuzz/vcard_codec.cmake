vellix_add_fuzzer(vcard_codec DEPS Vellix::Sync)
