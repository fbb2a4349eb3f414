#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "support/temp_folder.h"
#include "update/installer_download.h"
#include "update/installer_run.h"
#include "update/installer_signature.h"
#include "update/private_folder.h"
#include "update/update_progress.h"

namespace vellix {
namespace {

using std::chrono::milliseconds;

TEST(UpdateProgress, TextAndRate) {
    struct Case {
        std::uint64_t received, total;
        int elapsedMs;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, 5, "Receiving 0.00 KB of 0.00 KB (0.00 KB/sec)"},
        // Under 28 ms the elapsed time counts as 27: 27648 / 27 = 1024 bytes per ms.
        {27648, 27648, 0, "Receiving 27.00 KB of 27.00 KB (1000.00 KB/sec)"},
        {27648, 27648, 27, "Receiving 27.00 KB of 27.00 KB (1000.00 KB/sec)"},
        {27648, 27648, 28, "Receiving 27.00 KB of 27.00 KB (963.87 KB/sec)"},
        // Whole bytes per millisecond: 1500 / 1000 is 1.
        {1500, 3000, 1000, "Receiving 1.46 KB of 2.93 KB (0.98 KB/sec)"},
        {1048576, 2097152, 1000, "Receiving 1024.00 KB of 2048.00 KB (1023.44 KB/sec)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(progressText(c.received, c.total, milliseconds(c.elapsedMs)), c.text)
            << c.received << " in " << c.elapsedMs << " ms";
    }
}

TEST(UpdateProgress, ThrottledTextWaitsQuarterSecondSinceTheLastOne) {
    const auto start = std::chrono::steady_clock::time_point{};
    ProgressMeter meter(start);
    struct Step {
        int atMs;
        bool throttled, shown;
    };
    const Step steps[] = {{0, false, true},  {100, true, false}, {249, true, false},
                          {250, true, true}, {300, false, true}, {400, true, false},
                          {550, true, true}};
    for (const Step& s : steps) {
        EXPECT_EQ(meter.update(1, 2, start + milliseconds(s.atMs), s.throttled).has_value(),
                  s.shown)
            << "at " << s.atMs << " ms";
    }
}

TEST(UpdateDownload, ContentTypeAndPrefixRules) {
    const std::pair<const char*, bool> types[] = {
        {"application/octet-stream", true},
        {"APPLICATION/Octet-Stream", true},
        {"application/octet-stream; name=VellixInstall.exe", true},
        {"application/octet-stream; charset=binary", false},
        {"name=x", false},
        {"text/html", false},
        {"", false},
    };
    for (const auto& [type, installer] : types) {
        EXPECT_EQ(isInstallerContentType(type), installer) << type;
    }
    EXPECT_EQ(installPrefix("/opt/vellix/bin/"), "/opt/vellix");
    EXPECT_EQ(installPrefix("/home/u/.local/bin"), "/home/u/.local");
    EXPECT_EQ(installerUrl("http://h/app.dll", "S1"),
              "http://h/app.dll?Session=S1&View=VellixInstall.exe&Frames=No&AutoUpdate=Yes");
}

TEST(UpdateDownload, PrivateFileIsNewOwnerOnlyAndNeverFollowsALink) {
    test::TempFolder base;
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(base.path()));
    std::string where;
    {
        auto folder = PrivateFolder::create("vellix-update");
        ASSERT_TRUE(folder) << folder.error();
        struct stat info {};
        ASSERT_EQ(::stat(folder->path().c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);

        const std::string path = folder->file("VellixInstall.sh");
        auto fd = createExecutableFile(path);
        ASSERT_TRUE(fd) << fd.error();
        ::close(*fd);
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        EXPECT_FALSE(createExecutableFile(path)) << "an existing file is not reused";
        const std::string link = folder->file("link");
        ASSERT_EQ(::symlink(base.file("elsewhere").c_str(), link.c_str()), 0);
        EXPECT_FALSE(createExecutableFile(link));

        where = folder->path();
    }
    // The folder and its files go with the object.
    EXPECT_NE(::access(where.c_str(), F_OK), 0);
}

TEST(UpdateSignature, OnlyTheSignedFileUnderTheRightKeyPasses) {
    test::TempFolder dir;
    const std::string installer = dir.file("VellixInstall.sh");
    const std::string content = "#!/bin/sh\necho installed\n" + std::string(100000, 'x');
    auto keys = makeSigningKeys();
    auto other = makeSigningKeys();
    ASSERT_TRUE(keys && other);
    test::writeFile(installer, content);
    auto signed_ = signInstaller(installer, keys->privatePem);
    ASSERT_TRUE(signed_) << signed_.error();
    ASSERT_EQ(signed_->size(), kInstallerSignatureSize);

    struct Case {
        const char* name;
        std::function<void(std::string& file, std::string& signature, std::string& key)> change;
        bool valid;
    };
    const Case cases[] = {
        {"as signed", [](auto&, auto&, auto&) {}, true},
        {"wrong key", [&](auto&, auto&, std::string& key) { key = other->publicPem; }, false},
        {"flipped byte in the installer", [](std::string& f, auto&, auto&) { f[5000] ^= 1; },
         false},
        {"flipped byte in the signature", [](auto&, std::string& s, auto&) { s[10] ^= 0x80; },
         false},
        {"truncated installer", [](std::string& f, auto&, auto&) { f.pop_back(); }, false},
        {"truncated signature", [](auto&, std::string& s, auto&) { s.pop_back(); }, false},
        {"no signature", [](auto&, std::string& s, auto&) { s.clear(); }, false},
        {"key is not a key", [](auto&, auto&, std::string& key) { key = "not a key"; }, false},
    };
    for (const Case& c : cases) {
        std::string file = content;
        std::string signature = *signed_;
        std::string key = keys->publicPem;
        c.change(file, signature, key);
        test::writeFile(installer, file);
        const Status verdict = verifyInstaller(installer, signature, key);
        EXPECT_EQ(verdict.ok(), c.valid) << c.name;
        if (!verdict) {
            EXPECT_FALSE(verdict.error().empty()) << c.name;
        }
    }
}

}  // namespace
}  // namespace vellix
