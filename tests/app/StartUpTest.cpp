#include <gtest/gtest.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <SDL_version.h>

#include <string>

#include "app/linux/StartUp.h"

namespace {

std::string cwd() {
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) != nullptr ? buffer : "";
}

std::string realDirectoryOfSelf() {
    char* path = realpath("/proc/self/exe", nullptr);
    std::string s(path);
    free(path);
    return s.substr(0, s.find_last_of('/'));
}

}  // namespace

TEST(StartUpTest, LibraryVersionsAreCheckedAgainstTheBuild) {
    const SDL_version needed = {1, 2, 15};
    const SDL_version older = {1, 2, 14};
    const SDL_version newer = {1, 3, 0};

    testing::internal::CaptureStderr();
    EXPECT_TRUE(StartUp::isRecentEnough(&needed, needed, "SDL"));
    EXPECT_TRUE(StartUp::isRecentEnough(&newer, needed, "SDL"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    testing::internal::CaptureStderr();
    EXPECT_FALSE(StartUp::isRecentEnough(&older, needed, "SDL_image"));
    EXPECT_FALSE(StartUp::isRecentEnough(nullptr, needed, "SDL"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Need version 0000001215 of SDL_image\nNeed version 0000001215 of SDL\n");
}

TEST(StartUpTest, EntersTheExecutablesDirectoryThroughLinksAndGivesTheOldOneBack) {
    char scratchTemplate[] = "/tmp/vantrixo-startup-XXXXXX";
    ASSERT_NE(mkdtemp(scratchTemplate), nullptr);
    const std::string scratch = scratchTemplate;
    const std::string link = scratch + "/through-a-link";
    char* self = realpath("/proc/self/exe", nullptr);
    ASSERT_EQ(symlink(self, link.c_str()), 0);
    free(self);

    const std::string before = cwd();
    ASSERT_EQ(chdir(scratch.c_str()), 0);
    const std::string started = cwd();
    {
        StartUp startUp;
        // A path that does not lead anywhere changes nothing and says so.
        testing::internal::CaptureStderr();
        EXPECT_FALSE(startUp.enterDirectoryOf((scratch + "/missing").c_str()));
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "Failed to find the program's own directory (No such file or directory).\n");
        EXPECT_EQ(cwd(), started);

        ASSERT_TRUE(startUp.enterDirectoryOf(link.c_str()));
        EXPECT_EQ(cwd(), realDirectoryOfSelf());
        EXPECT_EQ(startUp.previousDirectory(), started);
    }
    EXPECT_EQ(cwd(), started);

    // Started from a directory deleted since: the program still starts, and
    // stays where it is at the end.
    const std::string gone = scratch + "/gone";
    ASSERT_EQ(mkdir(gone.c_str(), 0700), 0);
    ASSERT_EQ(chdir(gone.c_str()), 0);
    ASSERT_EQ(rmdir(gone.c_str()), 0);
    {
        StartUp startUp;
        testing::internal::CaptureStderr();
        ASSERT_TRUE(startUp.enterDirectoryOf(link.c_str()));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(cwd(), realDirectoryOfSelf());
        EXPECT_EQ(startUp.previousDirectory(), "");
    }
    EXPECT_EQ(cwd(), realDirectoryOfSelf());

    ASSERT_EQ(chdir(before.c_str()), 0);
    unlink(link.c_str());
    rmdir(scratch.c_str());
}
