#pragma once
// File helpers for the platform tests.

#include <QTemporaryDir>

#include <fstream>
#include <sstream>
#include <string>

namespace vellix::test {

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

inline std::string pathIn(const QTemporaryDir& dir, const char* name) {
    return dir.filePath(QString::fromUtf8(name)).toStdString();
}

}  // namespace vellix::test
