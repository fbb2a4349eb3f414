#pragma once
// A signed installer made from the project as a release is: the build installed into a
// stage folder, packed by scripts/make_installer.sh, signed with the build's test key.
// Needs the vellix and vellix-sign-installer targets built.

#include <string>

namespace vellix::test {

struct SignedInstaller {
    std::string path;       // the installer; "" when it could not be made
    std::string signature;  // "<path>.sig"
    std::string error;      // why not
};

// Makes "<folder>/VellixInstall.sh" and its signature.
SignedInstaller makeSignedInstaller(const std::string& folder, const std::string& version);

// The private key the build made; its public half is compiled into this build.
std::string updateTestKeyPath();

}  // namespace vellix::test
