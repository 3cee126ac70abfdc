#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include "platform/application.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "tests/test_support.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

// Files of the original platform: code page 932, "\r\n".
std::string Cp932(const std::string& utf8)
{
    return ToCp932(utf8).value();
}

} // namespace

TEST(IniFile, ReadingFollowsProfileFileRules)
{
    TempDir dir;
    WriteFileBytes(dir.File("vad.ini"), Cp932("stray=1\r\n"
                                              "[Other]\r\nBar1=99\r\n"
                                              " [ config ] \r\n"
                                              "  bar1 =  7  \r\n"
                                              "Bar1=8\r\n"
                                              "Empty=\r\n"
                                              "Quoted=\"  a b \"\r\n"
                                              ";Comment=3\r\n"
                                              "Font=ＭＳ Ｐゴシック\r\n"
                                              "Hex=0x20\r\n"
                                              "Big=2147483648\r\n"
                                              "Word=abc\r\n"
                                              "Flag=2\r\n"
                                              "[Config]\r\nLater=1\r\n"));
    const TIniFile ini(dir.File("vad.ini"));
    EXPECT_EQ(ini.ReadInteger("CONFIG", "BAR1", 0), 7); // the first of duplicates wins
    EXPECT_EQ(ini.ReadInteger("Other", "Bar1", 0), 99);
    EXPECT_EQ(ini.ReadString("Config", "Empty", "TA"), "");
    EXPECT_EQ(ini.ReadString("Config", "Quoted", ""), "  a b ");
    EXPECT_EQ(ini.ReadString("Config", "Font", ""), "ＭＳ Ｐゴシック");
    EXPECT_EQ(ini.ReadInteger("Config", "Hex", 0), 32);
    EXPECT_EQ(ini.ReadInteger("Config", "Big", -1), -1);
    EXPECT_EQ(ini.ReadInteger("Config", "Word", -1), -1);
    EXPECT_TRUE(ini.ReadBool("Config", "Flag", false));
    EXPECT_FALSE(ini.ReadBool("Config", "Empty", false));
    EXPECT_EQ(ini.ReadString("Config", "Missing", "TA"), "TA");
    EXPECT_EQ(ini.ReadString("Config", ";Comment", "none"), "none");
    EXPECT_EQ(ini.ReadString("Config", "Later", "none"), "none");
    EXPECT_EQ(ini.ReadString("", "stray", "none"), "none");
    EXPECT_EQ(ini.ReadString("Missing", "Bar1", "d"), "d");
    EXPECT_TRUE(ini.SectionExists("CONFIG"));
    EXPECT_FALSE(ini.SectionExists("Conf"));
    EXPECT_TRUE(ini.ValueExists("config", "empty"));
    EXPECT_FALSE(ini.ValueExists("Other", "Empty"));
    EXPECT_EQ(ini.ReadSection("Config"), (std::vector<std::string>{"bar1", "Bar1", "Empty", "Quoted", "Font", "Hex",
                                                                   "Big", "Word", "Flag"}));

    const TIniFile missing(dir.File("none.ini"));
    EXPECT_EQ(missing.ReadInteger("Config", "Bar1", 1), 1);
    EXPECT_FALSE(missing.SectionExists("Config"));
}

TEST(IniFile, LongValuesAreCutToWhatTheFileHolds)
{
    TempDir dir;
    auto read = [&](const std::string& name, const std::string& bytes) {
        WriteFileBytes(dir.File(name), bytes);
        return TIniFile(dir.File(name)).ReadString("S", "K", "");
    };
    auto repeat = [](const std::string& piece, int count) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += piece;
        return text;
    };
    // Code page 932: 2047 bytes of the file. 683 double-byte characters
    // (1366 bytes) are whole; of 1024 (2048 bytes) the last would not fit.
    // Half-width katakana take one byte there. (Compared with == so that a
    // failure does not print kilobytes.)
    EXPECT_TRUE(read("a.ini", Cp932("[S]\r\nK=" + repeat("あ", 683) + "\r\n")) == repeat("あ", 683));
    EXPECT_TRUE(read("b.ini", Cp932("[S]\r\nK=" + repeat("あ", 1024) + "\r\n")) == repeat("あ", 1023));
    EXPECT_TRUE(read("c.ini", Cp932("[S]\r\nK=" + std::string(2046, 'a') + "あ\r\n")) == std::string(2046, 'a'));
    EXPECT_TRUE(read("d.ini", Cp932("[S]\r\nK=" + repeat("ｱ", 2048) + "\r\n")) == repeat("ｱ", 2047));
    // A UTF-8 file: 2047 characters.
    EXPECT_TRUE(read("u.ini", kBom + "[S]\nK=" + std::string(2046, 'a') + "あいう\n") == std::string(2046, 'a') + "あ");
    EXPECT_TRUE(read("v.ini", kBom + "[S]\nK=" + repeat("あ", 2048) + "\n") == repeat("あ", 2047));
}

TEST(IniFile, WritesChangeOnlyTheirLine)
{
    TempDir dir;
    const std::string path = dir.File("vad.ini");
    const std::string head = "; \x83\x81\x83\x82\r\n[Other]\r\nA=1\r\n\r\n"; // "; メモ" in code page 932
    WriteFileBytes(path, head + "[Config]\r\n Bar1 = 5 \r\nBar2=10\r\n\r\n[Last]\r\nX=\x80\r\n");
    TIniFile ini(path);

    ini.WriteInteger("config", "BAR1", 7);
    EXPECT_EQ(ReadFileBytes(path), head + "[Config]\r\nBar1=7\r\nBar2=10\r\n\r\n[Last]\r\nX=\x80\r\n");

    // A new key follows the section's last key, before its blank line; the
    // undecodable byte of another line survives.
    ini.WriteString("Config", "PreSaveFolderName", "TA");
    EXPECT_EQ(ReadFileBytes(path),
              head + "[Config]\r\nBar1=7\r\nBar2=10\r\nPreSaveFolderName=TA\r\n\r\n[Last]\r\nX=\x80\r\n");

    ini.WriteBool("New", "Flag", true);
    EXPECT_EQ(ReadFileBytes(path), head + "[Config]\r\nBar1=7\r\nBar2=10\r\nPreSaveFolderName=TA\r\n\r\n"
                                          "[Last]\r\nX=\x80\r\n[New]\r\nFlag=1\r\n");
    EXPECT_EQ(ini.ReadInteger("Config", "Bar1", 0), 7);
    EXPECT_TRUE(ini.ReadBool("new", "flag", false));
}

TEST(IniFile, AddedLinesFollowTheFilesLineEnds)
{
    TempDir dir;
    WriteFileBytes(dir.File("a.ini"), "[S]\nA=1"); // Unix line ends, no final one
    TIniFile(dir.File("a.ini")).WriteString("S", "B", "2");
    EXPECT_EQ(ReadFileBytes(dir.File("a.ini")), "[S]\nA=1\nB=2\n");

    WriteFileBytes(dir.File("b.ini"), "[S]");
    TIniFile(dir.File("b.ini")).WriteString("S", "B", "2");
    EXPECT_EQ(ReadFileBytes(dir.File("b.ini")), "[S]\r\nB=2\r\n");

    TIniFile fresh(dir.File("c.ini"));
    fresh.WriteString("Config", "PreSaveFolderName", "写真");
    EXPECT_EQ(ReadFileBytes(dir.File("c.ini")), "[Config]\r\nPreSaveFolderName=" + Cp932("写真") + "\r\n");
    EXPECT_EQ(fresh.ReadString("Config", "PreSaveFolderName", ""), "写真");
}

TEST(IniFile, TextOutsideCp932SwitchesTheWholeFileToUtf8)
{
    TempDir dir;
    const std::string path = dir.File("frame001.ini");
    WriteFileBytes(path, Cp932("[Title]\r\nName=ＭＳ 明朝\r\n"));
    TIniFile ini(path);

    ini.WriteString("Title", "Text", "運動会😀𠀋");
    EXPECT_EQ(ReadFileBytes(path), kBom + "[Title]\r\nName=ＭＳ 明朝\r\nText=運動会😀𠀋\r\n");
    EXPECT_EQ(ini.ReadString("Title", "Text", ""), "運動会😀𠀋");
    EXPECT_EQ(ini.ReadString("Title", "Name", ""), "ＭＳ 明朝");

    // Once every text fits code page 932 again, the file returns to it.
    ini.WriteString("Title", "Text", "運動会～");
    EXPECT_EQ(ReadFileBytes(path), Cp932("[Title]\r\nName=ＭＳ 明朝\r\nText=運動会～\r\n"));
}

TEST(IniFile, BatchedWritesReachTheFileAtEndUpdate)
{
    TempDir dir;
    const std::string path = dir.File("vad.ini");
    TIniFile ini(path);
    ini.BeginUpdate();
    ini.WriteInteger("Config", "Bar1", 1);
    ini.BeginUpdate();
    ini.WriteInteger("Config", "WindowPosX", -999);
    ini.EndUpdate();
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(ini.ReadInteger("Config", "WindowPosX", 0), -999);
    ini.EndUpdate();
    EXPECT_EQ(ReadFileBytes(path), "[Config]\r\nBar1=1\r\nWindowPosX=-999\r\n");
}

TEST(IniFile, FailedWriteThrowsAndKeepsTheFile)
{
    TempDir dir;
    const std::string path = dir.File("vad.ini");
    WriteFileBytes(path, "[Config]\r\nBar1=5\r\n");
    TIniFile ini(path);
    SetFileWriteFaultForTesting([](const std::string&) { return true; });
    try {
        ini.WriteInteger("Config", "Bar1", 7);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), path + " に書き込めません");
    }
    ini.BeginUpdate();
    ini.WriteInteger("Config", "Bar1", 8);
    EXPECT_THROW(ini.EndUpdate(), Exception);
    SetFileWriteFaultForTesting(nullptr);
    EXPECT_EQ(ReadFileBytes(path), "[Config]\r\nBar1=5\r\n");
    std::vector<DirEntry> entries;
    ASSERT_TRUE(ListDirectory(dir.Path(), entries));
    EXPECT_EQ(entries.size(), 1u);

    // A file in place of the folder fails for root too.
    TIniFile blocked(path + "/vad.ini");
    EXPECT_THROW(blocked.WriteString("Config", "Bar1", "1"), Exception);
    // An existing file that cannot be read is not overwritten with one key.
    TIniFile folder(dir.Path());
    EXPECT_THROW(folder.WriteString("Config", "Bar1", "1"), Exception);
}
