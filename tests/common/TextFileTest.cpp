#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "common/TextFile.h"

namespace {

std::string ReadAll(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(TextFile, WritesCrLfLines) {
    const std::string name = testing::TempDir() + "textfile.txt";
    common::TTextFile file;
    file.Rewrite(name);
    file.WriteLine("one");
    file.WriteLine("");
    file.Close();
    EXPECT_FALSE(common::IOResult());
    EXPECT_EQ(ReadAll(name), "one\r\n\r\n");
    std::remove(name.c_str());
}

TEST(TextFile, FailuresSetThePendingErrorUntilRead) {
    common::TTextFile file;
    file.Rewrite("/nonexistent-directory/file.txt");
    file.WriteLine("lost");
    EXPECT_TRUE(common::IOResult());
    EXPECT_FALSE(common::IOResult());  // reading clears it
}

TEST(TextFile, FullDeviceIsAnError) {
    common::TTextFile file;
    file.Rewrite("/dev/full");
    if (!file.IsOpen()) GTEST_SKIP() << "no /dev/full";
    common::IOResult();
    file.WriteLine("x");
    file.Close();
    EXPECT_TRUE(common::IOResult());
}

}  // namespace
