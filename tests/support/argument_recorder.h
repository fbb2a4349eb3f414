#pragma once
// A stand-in program that writes its arguments, one a line, once it has them all.

#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <string>

#include "support/temp_folder.h"

namespace vellix::test {

class ArgumentRecorder {
  public:
    explicit ArgumentRecorder(std::string program) : program_(std::move(program)) {
        std::filesystem::create_directories(std::filesystem::path(program_).parent_path());
        writeFile(program_, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + program_ + ".part'\nmv '" +
                                program_ + ".part' '" + program_ + ".args'\n");
        QFile::setPermissions(QString::fromStdString(program_),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const std::string& program() const { return program_; }
    // What the program got, or "(nothing)" when it has not run within 10 s.
    std::string arguments() const {
        const std::string args = program_ + ".args";
        for (int i = 0; i < 1000 && !QFile::exists(QString::fromStdString(args)); ++i) {
            QCoreApplication::processEvents();
            QThread::msleep(10);
        }
        return QFile::exists(QString::fromStdString(args)) ? readFile(args) : "(nothing)";
    }

  private:
    std::string program_;
};

}  // namespace vellix::test
