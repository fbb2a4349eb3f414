vellix_add_fuzzer(contact_xml_reader DEPS Vellix::Sync)
