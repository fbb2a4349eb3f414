// vellix-sign-installer: the keys and signatures of self-update installers.
//
//   vellix-sign-installer make-test-key PRIVATE.pem HEADER.h
//       makes PRIVATE.pem (once; an existing one is reused) and writes the header that
//       compiles its public key into Vellix. For test and demo builds only.
//   vellix-sign-installer embed-key PUBLIC.pem HEADER.h
//       writes the header for a release key whose private half never meets the build.
//   vellix-sign-installer sign PRIVATE.pem INSTALLER SIGNATURE
//       writes the detached signature that Vellix checks before it runs INSTALLER.

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "update/installer_signature.h"

namespace {

bool readFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    out = bytes.str();
    return true;
}

bool writeFile(const std::string& path, const std::string& bytes, mode_t mode) {
    std::string old;
    if (readFile(path, old) && old == bytes) return true;  // unchanged: nothing to rebuild
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    return out.good() && ::chmod(path.c_str(), mode) == 0;
}

int writeHeader(const std::string& publicPem, const std::string& header) {
    const std::string text =
        "#pragma once\n// Made by vellix-sign-installer: the key updates must be signed with.\n"
        "#include <string_view>\n"
        "namespace vellix {\n"
        "inline constexpr std::string_view kUpdatePublicKeyPem = R\"(" +
        publicPem + ")\";\n}\n";
    if (!writeFile(header, text, 0644)) {
        std::cerr << "cannot write " << header << '\n';
        return 1;
    }
    return 0;
}

int makeTestKey(const std::string& privatePath, const std::string& header) {
    std::string privatePem;
    if (!readFile(privatePath, privatePem)) {
        auto keys = vellix::makeSigningKeys();
        if (!keys) {
            std::cerr << keys.error() << '\n';
            return 1;
        }
        privatePem = keys->privatePem;
        if (!writeFile(privatePath, privatePem, 0600)) {
            std::cerr << "cannot write " << privatePath << '\n';
            return 1;
        }
    }
    auto publicPem = vellix::publicKeyOf(privatePem);
    if (!publicPem) {
        std::cerr << privatePath << ": " << publicPem.error() << '\n';
        return 1;
    }
    return writeHeader(*publicPem, header);
}

int sign(const std::string& privatePath, const std::string& installer,
         const std::string& signaturePath) {
    std::string privatePem;
    if (!readFile(privatePath, privatePem)) {
        std::cerr << "cannot read " << privatePath << '\n';
        return 1;
    }
    auto signature = vellix::signInstaller(installer, privatePem);
    if (!signature) {
        std::cerr << signature.error() << '\n';
        return 1;
    }
    return writeFile(signaturePath, *signature, 0644) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "make-test-key" && argc == 4) return makeTestKey(argv[2], argv[3]);
    if (command == "sign" && argc == 5) return sign(argv[2], argv[3], argv[4]);
    if (command == "embed-key" && argc == 4) {
        std::string publicPem;
        if (!readFile(argv[2], publicPem)) {
            std::cerr << "cannot read " << argv[2] << '\n';
            return 1;
        }
        return writeHeader(publicPem, argv[3]);
    }
    std::cerr << "usage: vellix-sign-installer make-test-key PRIVATE.pem HEADER.h\n"
                 "       vellix-sign-installer embed-key PUBLIC.pem HEADER.h\n"
                 "       vellix-sign-installer sign PRIVATE.pem INSTALLER SIGNATURE\n";
    return 2;
}
