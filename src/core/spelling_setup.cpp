#include "core/spelling_setup.h"

namespace vellix {

void setUpSpellingEngine(SpellingEngine& engine, const std::string& programFolder) {
    engine.setRegTreeName(kSpellingRegTree);
    engine.setHelpFile(programFolder + "/ssce.hlp");
    engine.setMainLexPath(programFolder + "/lex");
    // Only an engine with nothing configured gets the defaults; a user's choice stays.
    if (engine.mainLexFiles().empty()) engine.setMainLexFiles(kDefaultMainLexFiles);
    if (engine.userLexFiles().empty()) engine.setUserLexFiles(kDefaultUserLexFiles);
}

}  // namespace vellix
