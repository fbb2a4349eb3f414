// Server TLS context from PEM files or from a self-signed certificate made at start.
#pragma once

#include <string>

using SSL_CTX = struct ssl_ctx_st;

namespace vellix::sim {

struct TlsSetup {
    std::string cert_file;  // both empty: generate a self-signed certificate for localhost
    std::string key_file;
    std::string cert_out;  // where to write the generated certificate (PEM), optional
};

// Nothing on failure, with the reason in `error`. The caller frees with SSL_CTX_free.
SSL_CTX* make_tls_context(const TlsSetup& setup, std::string& error);

}  // namespace vellix::sim
