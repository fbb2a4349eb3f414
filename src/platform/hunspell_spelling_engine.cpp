#include "platform/hunspell_spelling_engine.h"

#include <iconv.h>
#include <hunspell/hunspell.hxx>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/user_dictionary.h"

namespace vellix {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kFallbackLanguage = "en_US";

// Converts between UTF-8 and a dictionary's own character set; nullopt when a character
// has no form there.
std::optional<std::string> convert(std::string_view text, const std::string& from,
                                   const std::string& to) {
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;  // NOLINT: iconv's marker
    std::string in(text);
    std::string out(in.size() * 4 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1)) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

bool isUtf8(const std::string& encoding) {
    return encoding == "UTF-8" || encoding == "utf-8" || encoding == "UTF8";
}

std::string firstListEntry(std::string_view list) {
    list = list.substr(0, list.find(','));
    while (!list.empty() && list.front() == ' ') list.remove_prefix(1);
    while (!list.empty() && list.back() == ' ') list.remove_suffix(1);
    return std::string(list);
}

bool hasPair(const fs::path& folder, std::string_view language) {
    std::error_code ec;
    const std::string stem(language);
    return fs::is_regular_file(folder / (stem + ".aff"), ec) &&
           fs::is_regular_file(folder / (stem + ".dic"), ec);
}

std::string languageFromEnvironment() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);  // NOLINT(concurrency-mt-unsafe)
        if (value && *value) return dictionaryLanguageFromLocale(value);
    }
    return {};
}

}  // namespace

std::string dictionaryLanguageFromLocale(std::string_view locale) {
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale == "C" || locale == "POSIX") return {};
    return std::string(locale);
}

HunspellSpellingEngine::HunspellSpellingEngine(HunspellConfig config) : config_(std::move(config)) {
}

HunspellSpellingEngine::~HunspellSpellingEngine() = default;

void HunspellSpellingEngine::setRegTreeName(const std::string& name) {
    std::lock_guard lock(mutex_);
    regTreeName_ = name;
}

void HunspellSpellingEngine::setHelpFile(const std::string& path) {
    std::lock_guard lock(mutex_);
    helpFile_ = path;
}

void HunspellSpellingEngine::setMainLexPath(const std::string& folder) {
    std::lock_guard lock(mutex_);
    mainLexPath_ = folder;
    stale_ = true;
}

std::string HunspellSpellingEngine::mainLexFiles() const {
    std::lock_guard lock(mutex_);
    return mainLexFiles_;
}

void HunspellSpellingEngine::setMainLexFiles(const std::string& files) {
    std::lock_guard lock(mutex_);
    mainLexFiles_ = files;
}

std::string HunspellSpellingEngine::userLexFiles() const {
    std::lock_guard lock(mutex_);
    return userLexFiles_;
}

void HunspellSpellingEngine::setUserLexFiles(const std::string& files) {
    std::lock_guard lock(mutex_);
    userLexFiles_ = files;
    stale_ = true;
}

void HunspellSpellingEngine::setUserLexPath(const std::string& folder) {
    std::lock_guard lock(mutex_);
    userLexPath_ = folder;
    stale_ = true;
}

std::string HunspellSpellingEngine::regTreeName() const {
    std::lock_guard lock(mutex_);
    return regTreeName_;
}

std::string HunspellSpellingEngine::helpFile() const {
    std::lock_guard lock(mutex_);
    return helpFile_;
}

std::string HunspellSpellingEngine::mainLexPath() const {
    std::lock_guard lock(mutex_);
    return mainLexPath_;
}

std::string HunspellSpellingEngine::userLexPath() const {
    std::lock_guard lock(mutex_);
    return userLexPath_;
}

std::string HunspellSpellingEngine::language() const {
    std::lock_guard lock(mutex_);
    return config_.language;
}

void HunspellSpellingEngine::setLanguage(std::string language) {
    std::lock_guard lock(mutex_);
    config_.language = std::move(language);
    stale_ = true;
}

ScanOptions HunspellSpellingEngine::scanOptions() const {
    std::lock_guard lock(mutex_);
    return scanOptions_;
}

void HunspellSpellingEngine::setScanOptions(ScanOptions options) {
    std::lock_guard lock(mutex_);
    scanOptions_ = options;
}

std::vector<std::string> HunspellSpellingEngine::availableLanguages() const {
    std::vector<std::string> folders;
    {
        std::lock_guard lock(mutex_);
        if (!mainLexPath_.empty()) folders.push_back(mainLexPath_);
        folders.insert(folders.end(), config_.systemFolders.begin(), config_.systemFolders.end());
    }
    std::vector<std::string> out;
    for (const auto& folder : folders) {
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            if (it->path().extension() != ".dic") continue;
            const std::string stem = it->path().stem().string();
            if (hasPair(folder, stem) && std::ranges::find(out, stem) == out.end()) {
                out.push_back(stem);
            }
        }
    }
    std::ranges::sort(out);
    return out;
}

Status HunspellSpellingEngine::ready() {
    std::lock_guard lock(mutex_);
    return stale_ ? loadLocked() : (hunspell_ ? success() : failure("no dictionary loaded"));
}

std::string HunspellSpellingEngine::dictionaryPath() {
    std::lock_guard lock(mutex_);
    if (stale_) (void)loadLocked();
    return dictionaryPath_;
}

Status HunspellSpellingEngine::loadLocked() {
    stale_ = false;
    hunspell_.reset();
    dictionaryPath_.clear();

    std::vector<fs::path> folders;
    if (!mainLexPath_.empty()) folders.emplace_back(mainLexPath_);
    folders.insert(folders.end(), config_.systemFolders.begin(), config_.systemFolders.end());
    std::vector<std::string> languages;
    const std::string wanted =
        config_.language.empty() ? languageFromEnvironment() : config_.language;
    if (!wanted.empty()) languages.push_back(wanted);
    languages.emplace_back(kFallbackLanguage);

    for (const auto& language : languages) {
        for (const auto& folder : folders) {
            if (!hasPair(folder, language)) continue;
            const fs::path base = folder / language;
            const std::string aff = base.string() + ".aff";
            dictionaryPath_ = base.string() + ".dic";
            hunspell_ = std::make_unique<Hunspell>(aff.c_str(), dictionaryPath_.c_str());
            encoding_ = hunspell_->get_dict_encoding();
            break;
        }
        if (hunspell_) break;
    }
    if (!hunspell_) {
        return failure("no Hunspell dictionary for " + (wanted.empty() ? "the locale" : wanted) +
                       " or " + std::string(kFallbackLanguage));
    }

    const std::string userPath = userDictionaryPathLocked();
    if (userPath.empty()) return success();
    auto user = loadUserDictionary(userPath);
    if (!user) return failure(user.error());  // the main dictionary still works
    for (const auto& word : user->words()) hunspell_->add(toDictionary(word));
    return success();
}

std::string HunspellSpellingEngine::toDictionary(std::string_view utf8) const {
    if (isUtf8(encoding_)) return std::string(utf8);
    return convert(utf8, "UTF-8", encoding_).value_or(std::string());
}

std::string HunspellSpellingEngine::fromDictionary(const std::string& text) const {
    if (isUtf8(encoding_)) return text;
    return convert(text, encoding_, "UTF-8").value_or(std::string());
}

bool HunspellSpellingEngine::isCorrectLocked(std::string_view word) {
    if (stale_) (void)loadLocked();
    if (!hunspell_ || ignored_.contains(word)) return true;
    const std::string native = toDictionary(word);
    // A word the dictionary's character set cannot hold is not this dictionary's to judge.
    if (native.empty()) return true;
    return hunspell_->spell(native);
}

bool HunspellSpellingEngine::isCorrect(std::string_view word) {
    std::lock_guard lock(mutex_);
    return isCorrectLocked(word);
}

std::vector<std::string> HunspellSpellingEngine::suggestions(std::string_view word) {
    std::lock_guard lock(mutex_);
    if (stale_) (void)loadLocked();
    if (!hunspell_) return {};
    const std::string native = toDictionary(word);
    if (native.empty()) return {};
    std::vector<std::string> out;
    for (const auto& suggestion : hunspell_->suggest(native)) {
        std::string text = fromDictionary(suggestion);
        if (!text.empty()) out.push_back(std::move(text));
    }
    return out;
}

void HunspellSpellingEngine::ignoreAll(std::string_view word) {
    std::lock_guard lock(mutex_);
    ignored_.emplace(word);
}

Status HunspellSpellingEngine::addWord(std::string_view word) {
    std::lock_guard lock(mutex_);
    if (auto line = UserDictionary::entryLine(word); !line) return failure(line.error());
    const std::string path = userDictionaryPathLocked();
    if (path.empty()) return failure("no user dictionary is configured");
    if (auto done = appendUserWord(path, word); !done) return done;
    if (stale_) {
        (void)loadLocked();  // loads the word with the rest of the file
    } else if (hunspell_) {
        hunspell_->add(toDictionary(word));
    }
    return success();
}

Status HunspellSpellingEngine::removeWord(std::string_view word) {
    std::lock_guard lock(mutex_);
    const std::string path = userDictionaryPathLocked();
    if (path.empty()) return failure("no user dictionary is configured");
    auto dictionary = loadUserDictionary(path);
    if (!dictionary) return failure(dictionary.error());
    if (!dictionary.value().remove(word)) return success();
    if (auto saved = saveUserDictionary(path, *dictionary); !saved) return saved;
    stale_ = true;  // reload: taking a word out of a live Hunspell can hide the main entry
    return success();
}

std::vector<WordRange> HunspellSpellingEngine::misspelled(std::string_view text) {
    std::lock_guard lock(mutex_);
    std::vector<WordRange> out;
    for (const auto& range : scanWords(text, scanOptions_)) {
        if (!isCorrectLocked(text.substr(range.offset, range.length))) out.push_back(range);
    }
    return out;
}

std::string HunspellSpellingEngine::userDictionaryPath() const {
    std::lock_guard lock(mutex_);
    return userDictionaryPathLocked();
}

std::string HunspellSpellingEngine::userDictionaryPathLocked() const {
    const std::string name = firstListEntry(userLexFiles_);
    if (userLexPath_.empty() || name.empty()) return {};
    return userLexPath_ + "/" + name;
}

Result<std::vector<std::string>> HunspellSpellingEngine::userWords() const {
    const std::string path = userDictionaryPath();
    if (path.empty()) return failure("no user dictionary is configured");
    auto dictionary = loadUserDictionary(path);
    if (!dictionary) return failure(dictionary.error());
    return dictionary->words();
}

}  // namespace vellix
