#include "update/installer_signature.h"

#include <openssl/evp.h>
#include <openssl/pem.h>

#include <array>
#include <cstdio>
#include <memory>

namespace vellix {
namespace {

// Keeps a signature over an installer from being valid as a signature over anything else.
constexpr std::string_view kContext = "vellix-installer-sha512\n";

struct PkeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct MdCtxFree {
    void operator()(EVP_MD_CTX* ctx) const { EVP_MD_CTX_free(ctx); }
};
struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using Pkey = std::unique_ptr<EVP_PKEY, PkeyFree>;
using MdCtx = std::unique_ptr<EVP_MD_CTX, MdCtxFree>;
using Bio = std::unique_ptr<BIO, BioFree>;

Result<Pkey> readKey(const std::string& pem, bool privateKey) {
    Bio bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
    if (!bio) return failure("out of memory");
    Pkey key(privateKey ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr)
                        : PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr));
    if (!key) return failure("the key is not a PEM key");
    if (EVP_PKEY_get_id(key.get()) != EVP_PKEY_ED25519) return failure("the key is not Ed25519");
    return key;
}

// The context text and the file's SHA-512 digest, read in blocks.
Result<std::string> signedMessage(const std::string& path) {
    std::unique_ptr<std::FILE, FileClose> file(std::fopen(path.c_str(), "rb"));
    if (!file) return failure("cannot read " + path);
    MdCtx ctx(EVP_MD_CTX_new());
    if (!ctx || EVP_DigestInit_ex(ctx.get(), EVP_sha512(), nullptr) != 1) {
        return failure("no SHA-512 digest");
    }
    std::array<unsigned char, 64 * 1024> block;
    size_t n = 0;
    while ((n = std::fread(block.data(), 1, block.size(), file.get())) > 0) {
        if (EVP_DigestUpdate(ctx.get(), block.data(), n) != 1) return failure("digest failed");
    }
    if (std::ferror(file.get())) return failure("cannot read " + path);
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest;
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(ctx.get(), digest.data(), &length) != 1) {
        return failure("digest failed");
    }
    std::string message(kContext);
    message.append(reinterpret_cast<const char*>(digest.data()), length);
    return message;
}

std::string pemOf(EVP_PKEY* key, bool privateKey) {
    Bio bio(BIO_new(BIO_s_mem()));
    if (!bio) return {};
    const int written =
        privateKey ? PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr)
                   : PEM_write_bio_PUBKEY(bio.get(), key);
    if (written != 1) return {};
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return std::string(data, static_cast<size_t>(size));
}

}  // namespace

Status verifyInstaller(const std::string& installerPath, const std::string& signature,
                       const std::string& publicKeyPem) {
    auto key = readKey(publicKeyPem, false);
    if (!key) return failure("update key: " + key.error());
    if (signature.size() != kInstallerSignatureSize) return failure("the signature is malformed");
    auto message = signedMessage(installerPath);
    if (!message) return failure(message.error());
    MdCtx ctx(EVP_MD_CTX_new());
    if (!ctx || EVP_DigestVerifyInit(ctx.get(), nullptr, nullptr, nullptr, key->get()) != 1) {
        return failure("cannot check signatures");
    }
    const int valid = EVP_DigestVerify(
        ctx.get(), reinterpret_cast<const unsigned char*>(signature.data()), signature.size(),
        reinterpret_cast<const unsigned char*>(message->data()), message->size());
    if (valid != 1) return failure("the signature does not match the installer");
    return success();
}

Result<std::string> signInstaller(const std::string& installerPath,
                                  const std::string& privateKeyPem) {
    auto key = readKey(privateKeyPem, true);
    if (!key) return failure(key.error());
    auto message = signedMessage(installerPath);
    if (!message) return failure(message.error());
    MdCtx ctx(EVP_MD_CTX_new());
    std::string signature(kInstallerSignatureSize, '\0');
    size_t length = signature.size();
    if (!ctx || EVP_DigestSignInit(ctx.get(), nullptr, nullptr, nullptr, key->get()) != 1 ||
        EVP_DigestSign(ctx.get(), reinterpret_cast<unsigned char*>(signature.data()), &length,
                       reinterpret_cast<const unsigned char*>(message->data()),
                       message->size()) != 1) {
        return failure("signing failed");
    }
    signature.resize(length);
    return signature;
}

Result<SigningKeys> makeSigningKeys() {
    Pkey key(EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519"));
    if (!key) return failure("cannot make an Ed25519 key");
    SigningKeys keys{pemOf(key.get(), true), pemOf(key.get(), false)};
    if (keys.privatePem.empty() || keys.publicPem.empty()) return failure("cannot write the key");
    return keys;
}

Result<std::string> publicKeyOf(const std::string& privateKeyPem) {
    auto key = readKey(privateKeyPem, true);
    if (!key) return failure(key.error());
    std::string pem = pemOf(key->get(), false);
    if (pem.empty()) return failure("cannot write the key");
    return pem;
}

}  // namespace vellix
