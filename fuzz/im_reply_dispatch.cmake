vellix_add_fuzzer(im_reply_dispatch DEPS Vellix::Im)
