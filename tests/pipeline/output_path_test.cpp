#include "pipeline/output_path.h"

#include <gtest/gtest.h>

TEST(OutputPath, EndsWithBackslashLooksForTheSlashSeparator)
{
    EXPECT_EQ(EndsWithBackslash(""), -3);
    EXPECT_EQ(EndsWithBackslash(std::string(2048, 'a')), -2);
    EXPECT_EQ(EndsWithBackslash(std::string(2047, 'a') + "/"), -2);
    EXPECT_EQ(EndsWithBackslash(std::string(2046, 'a') + "/"), 1);
    EXPECT_EQ(EndsWithBackslash(std::string(2047, 'a')), 0);
    EXPECT_EQ(EndsWithBackslash("/"), 1);
    EXPECT_EQ(EndsWithBackslash("/home/photos/"), 1);
    EXPECT_EQ(EndsWithBackslash("/home/photos"), 0);
    EXPECT_EQ(EndsWithBackslash("C:\\out\\"), 0);
    EXPECT_EQ(EndsWithBackslash("/out/表"), 0);
}

TEST(OutputPath, OutputKeepsTheSourceFileNameExactly)
{
    EXPECT_EQ(BuildOutputPath("/out", "/photos/IMG_01.JPG"), "/out/IMG_01.JPG");
    EXPECT_EQ(BuildOutputPath("/out/", "/photos/IMG_01.JPG"), "/out/IMG_01.JPG");
    EXPECT_EQ(BuildOutputPath("/out/表", "/photos/集合写真.jpeg"), "/out/表/集合写真.jpeg");
    EXPECT_EQ(BuildOutputPath("/out", "/photos/a:b.jpg"), "/out/a:b.jpg");
    EXPECT_EQ(BuildOutputPath("/out", "plain.jpg"), "/out/plain.jpg");
}

TEST(OutputPath, JpgExtensionIsTheLastFourCharactersInAnyCase)
{
    for (const char* name : {"photo.jpg", "photo.JPG", "photo.jPg", ".jpg", "/a.b/c.Jpg"})
        EXPECT_TRUE(HasJpgExtension(name)) << name;
    for (const char* name : {"photo", "jpg", "photo.jpeg", "photo.jpg ", "photo_jpg", "photo.jpgx", ""})
        EXPECT_FALSE(HasJpgExtension(name)) << name;
}
