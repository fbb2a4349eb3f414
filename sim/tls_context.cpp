#include "tls_context.h"

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <memory>

namespace vellix::sim {
namespace {

struct Free {
    void operator()(EVP_PKEY* p) const { EVP_PKEY_free(p); }
    void operator()(X509* p) const { X509_free(p); }
    void operator()(X509_EXTENSION* p) const { X509_EXTENSION_free(p); }
};

std::string last_error(const char* what) {
    char buf[256] = {};
    ERR_error_string_n(ERR_get_error(), buf, sizeof buf);
    return std::string(what) + ": " + buf;
}

bool self_signed(SSL_CTX* ctx, const std::string& cert_out, std::string& error) {
    std::unique_ptr<EVP_PKEY, Free> key(EVP_EC_gen("P-256"));
    std::unique_ptr<X509, Free> cert(X509_new());
    if (!key || !cert) {
        error = last_error("key generation");
        return false;
    }
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 60L * 60 * 24 * 365);
    X509_set_pubkey(cert.get(), key.get());
    X509_NAME* name = X509_get_subject_name(cert.get());
    const auto cn = reinterpret_cast<const unsigned char*>("localhost");
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, cn, -1, -1, 0);
    X509_set_issuer_name(cert.get(), name);
    X509V3_CTX v3;
    X509V3_set_ctx_nodb(&v3);
    X509V3_set_ctx(&v3, cert.get(), cert.get(), nullptr, nullptr, 0);
    std::unique_ptr<X509_EXTENSION, Free> san(
        X509V3_EXT_conf_nid(nullptr, &v3, NID_subject_alt_name, "DNS:localhost,IP:127.0.0.1"));
    if (!san || !X509_add_ext(cert.get(), san.get(), -1) ||
        !X509_sign(cert.get(), key.get(), EVP_sha256())) {
        error = last_error("certificate");
        return false;
    }
    if (SSL_CTX_use_certificate(ctx, cert.get()) != 1 ||
        SSL_CTX_use_PrivateKey(ctx, key.get()) != 1) {
        error = last_error("certificate use");
        return false;
    }
    if (!cert_out.empty()) {
        FILE* f = std::fopen(cert_out.c_str(), "wb");
        if (!f || PEM_write_X509(f, cert.get()) != 1) {
            if (f) std::fclose(f);
            error = "cannot write " + cert_out;
            return false;
        }
        std::fclose(f);
    }
    return true;
}

}  // namespace

SSL_CTX* make_tls_context(const TlsSetup& setup, std::string& error) {
    SSL_CTX* ctx = SSL_CTX_new(TLS_server_method());
    if (!ctx) {
        error = last_error("TLS context");
        return nullptr;
    }
    SSL_CTX_set_min_proto_version(ctx, TLS1_2_VERSION);
    bool ok = false;
    if (setup.cert_file.empty() && setup.key_file.empty()) {
        ok = self_signed(ctx, setup.cert_out, error);
    } else if (SSL_CTX_use_certificate_chain_file(ctx, setup.cert_file.c_str()) == 1 &&
               SSL_CTX_use_PrivateKey_file(ctx, setup.key_file.c_str(), SSL_FILETYPE_PEM) == 1) {
        ok = true;
    } else {
        error = last_error("certificate files");
    }
    if (!ok) {
        SSL_CTX_free(ctx);
        return nullptr;
    }
    return ctx;
}

}  // namespace vellix::sim
