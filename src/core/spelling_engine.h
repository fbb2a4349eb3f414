#pragma once
// The calls Vellix makes to its spelling engine. The desktop implementation lives in
// platform/; tests hand in a recording fake.

#include <string>

namespace vellix {

class SpellingEngine {
  public:
    virtual ~SpellingEngine() = default;

    virtual void setRegTreeName(const std::string& name) = 0;
    virtual void setHelpFile(const std::string& path) = 0;
    virtual void setMainLexPath(const std::string& folder) = 0;
    // Empty when nothing is configured.
    virtual std::string mainLexFiles() const = 0;
    virtual void setMainLexFiles(const std::string& files) = 0;
    // Empty when nothing is configured; otherwise a comma-separated file list.
    virtual std::string userLexFiles() const = 0;
    virtual void setUserLexFiles(const std::string& files) = 0;
    virtual void setUserLexPath(const std::string& folder) = 0;
};

}  // namespace vellix
