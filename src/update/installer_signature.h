#pragma once
// Detached Ed25519 signatures of downloaded installers. What is signed is a short context
// text followed by the installer's SHA-512 digest, so a file of any size is checked while
// it is read in blocks, never held whole in memory.

#include <string>

#include "core/result.h"

namespace vellix {

inline constexpr std::size_t kInstallerSignatureSize = 64;

// Succeeds only when `signature` is a valid signature of the file under the PEM public key.
Status verifyInstaller(const std::string& installerPath, const std::string& signature,
                       const std::string& publicKeyPem);

// The signature of the file under the PEM private key (for the release tool and tests).
Result<std::string> signInstaller(const std::string& installerPath,
                                  const std::string& privateKeyPem);

struct SigningKeys {
    std::string privatePem;
    std::string publicPem;
};
Result<SigningKeys> makeSigningKeys();
// The PEM public key of a PEM private key.
Result<std::string> publicKeyOf(const std::string& privateKeyPem);

}  // namespace vellix
