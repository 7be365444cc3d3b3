#include "platform/user_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#include "support/temp_folder.h"

namespace vitrina {
namespace {

namespace fs = std::filesystem;

bool Private(const fs::path& folder) {
    struct stat st {};
    return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 0777) == 0700;
}

// Sets an environment variable (or removes it) for the life of the object.
class TEnv {
public:
    TEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~TEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Another user's folder is simulated by what this user cannot trust either: a folder others may
// enter, a link, a file.
TEST(UserFolders, TheRuntimeFolderIsOursAloneOrAnotherIsMade) {
    struct TCase {
        const char* what;
        std::function<void(const fs::path&)> make;
        bool used;
    };
    const TCase cases[] = {
        {"missing", [](const fs::path&) {}, true},
        {"our own, 0700", [](const fs::path& p) { ASSERT_EQ(::mkdir(p.c_str(), 0700), 0); }, true},
        {"open to others, 0755",
         [](const fs::path& p) {
             ASSERT_EQ(::mkdir(p.c_str(), 0700), 0);
             ASSERT_EQ(::chmod(p.c_str(), 0755), 0);
         },
         false},
        {"a link to a private folder",
         [](const fs::path& p) {
             const fs::path target = p.string() + "-target";
             ASSERT_EQ(::mkdir(target.c_str(), 0700), 0);
             fs::create_symlink(target, p);
         },
         false},
        {"a pipe", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        test::TTempFolder temp;
        const fs::path wanted = temp.Path() / "vitrina-1000";
        c.make(wanted);
        testing::internal::CaptureStderr();
        const fs::path got = TUserFolders::PrivateFolder(wanted);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(Private(got)) << got;
        if (c.used) {
            EXPECT_EQ(got, wanted);
            EXPECT_EQ(said, "");
        } else {
            EXPECT_NE(got, wanted);
            EXPECT_EQ(got.parent_path(), temp.Path());
            EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
            EXPECT_NE(said.find(got.string()), std::string::npos) << said;
        }
    }
}

// Without a runtime folder of the session's the program's own goes into the shared temporary
// folder, where anyone may have made it first.
TEST(UserFolders, TheSharedTemporaryFolderIsNotTakenOnTrust) {
    test::TTempFolder temp;
    const TEnv tmp("TMPDIR", temp.Path().c_str());
    const TEnv home("VITRINA_HOME", nullptr);
    const TEnv runtime("XDG_RUNTIME_DIR", nullptr);
    const fs::path planted = temp.Path() / ("vitrina-" + std::to_string(::getuid()));
    ASSERT_EQ(::mkdir(planted.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(planted.c_str(), 0777), 0);
    testing::internal::CaptureStderr();
    const fs::path got = TUserFolders::FromEnvironment().runtime;
    testing::internal::GetCapturedStderr();
    EXPECT_NE(got, planted);
    EXPECT_TRUE(Private(got)) << got;
}

}  // namespace
}  // namespace vitrina
