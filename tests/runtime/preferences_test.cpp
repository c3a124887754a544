#include "runtime/core/preference_text.h"
#include "runtime/runtime.h"
#include "tests/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {
struct PreferencesTest : testing::Test {
    ScratchFolder folder;
    void TearDown() override { ClosePreferences(); }

    // Opens a file holding the bytes.
    int32_t Open(std::string_view bytes)
    {
        WriteBytes("pref.ini", bytes);
        return OpenPreferences("pref.ini");
    }
    // The file as a close writes it back after one more key.
    std::string Rewritten(std::string_view bytes)
    {
        EXPECT_NE(Open(bytes), 0);
        EXPECT_NE(WritePreferenceLong("zz", 1), 0);
        ClosePreferences();
        return ReadBytes("pref.ini");
    }
};
} // namespace

TEST_F(PreferencesTest, EmptyFilesOpenAndGiveDefaults)
{
    for (std::string_view bytes : {"", "\xEF\xBB\xBF", "\r\n\r\n", "  \t ", "\xEF\xBB"}) {
        EXPECT_NE(Open(bytes), 0) << bytes;
        EXPECT_EQ(ReadPreferenceLong("Width", 1024), 1024) << bytes;
        EXPECT_EQ(ReadPreferenceString("Name", "Zelle"), "Zelle") << bytes;
        ClosePreferences();
        EXPECT_EQ(ReadBytes("pref.ini"), bytes) << "a file only read is never rewritten";
    }
}

TEST_F(PreferencesTest, KeysMatchInAnyCaseAroundTheirBlanks)
{
    for (std::string_view bytes :
         {"WIDTH=5", "width = 5", "Width\t=\t5\r\n", "  wIDth   =5  ", "x=1\nWidth=5\n"}) {
        ASSERT_NE(Open(bytes), 0);
        EXPECT_EQ(ReadPreferenceLong("wIdTh", 0), 5) << bytes;
        EXPECT_EQ(ReadPreferenceString("WiDtH", ""), "5") << bytes;
    }
}

TEST_F(PreferencesTest, ValuesReadAsTheSyntaxSplitsThem)
{
    ASSERT_NE(Open("name =  Zelle Eins \t \n"
                   "eq = a=b = c\n"
                   "semi = 12;comment\n"
                   "word\n"
                   "next = 3\r\n"
                   "=7\n"
                   "dup = 1\n"
                   "DUP = 2\n"
                   "num = \v +42x\n"
                   "neg = -+3\n"
                   "big = 4294967297\n"),
              0);
    struct Case {
        const char* key;
        const char* text;
        int32_t number;
    } cases[] = {{"name", "Zelle Eins", 0}, {"eq", "a=b = c", 0},   {"semi", "12;comment", 12},
                 {"word", "", 0},           {"next", "3", 3},       {"", "7", 7},
                 {"dup", "1", 1},           {"num", "\v +42x", 42}, {"neg", "-+3", 0},
                 {"big", "4294967297", 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(ReadPreferenceString(c.key, "default"), c.text) << c.key;
        EXPECT_EQ(ReadPreferenceLong(c.key, -9), c.number) << c.key;
    }
    EXPECT_EQ(ReadPreferenceString("missing", "  keeps blanks "), "  keeps blanks ");
    EXPECT_EQ(ReadPreferenceLong("missing", -9), -9);
}

TEST_F(PreferencesTest, OnlyTheLeadingSectionIsSearched)
{
    ASSERT_NE(Open("before = 1\n[Group]\nafter = 2\n"), 0);
    EXPECT_EQ(ReadPreferenceLong("before", 0), 1);
    EXPECT_EQ(ReadPreferenceLong("after", 0), 0);
    EXPECT_EQ(ReadPreferenceLong("[Group]", 0), 0);
}

TEST_F(PreferencesTest, ChangedFileIsWrittenBackInCanonicalForm)
{
    struct Case {
        const char* file;
        const char* written;
    } cases[] = {
        {"a=1\r\n\r\n\n  b  =   2   \n;c\n;  two\n;\n", // blank lines go, spacing is fixed
         "a = 1\r\nb = 2   \r\n; c\r\n;  two\r\n; \r\nzz = 1\r\n"},
        {"[ G ] tail\n[open\nk", "[ G ]\r\nzz = 1\r\n[open]\r\nk = \r\n"},
        {"key=\r\r\n\n\rlast   \t", "key = \r\nlast = \r\nzz = 1\r\n"},
        {"x = 1\n   \t", "x = 1\r\nzz = 1\r\n"},
        {"ZZ = 9\nzz = 8\n", "zz = 1\r\nzz = 8\r\n"},
        {"\xEF\xBB\xBFk=\xC3\xA4\n", "\xEF\xBB\xBF\r\nk = \xC3\xA4\r\nzz = 1\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Rewritten(c.file), c.written) << c.file;
}

TEST_F(PreferencesTest, NewKeysAndCommentsGoWhereTheRulesPutThem)
{
    ASSERT_NE(Open("a = 1\n[G]\nb = 2\n"), 0);
    EXPECT_EQ(PreferenceComment("first"), 1);
    EXPECT_NE(WritePreferenceLong("c", -5), 0);
    EXPECT_EQ(PreferenceComment("after c"), 1);
    EXPECT_NE(WritePreferenceLong("A", 7), 0);
    EXPECT_EQ(PreferenceComment("after A"), 1);
    ClosePreferences();
    EXPECT_EQ(ReadBytes("pref.ini"),
              "; first\r\nA = 7\r\n; after A\r\nc = -5\r\n; after c\r\n[G]\r\nb = 2\r\n");

    // A file that begins with a group line takes new keys at the end of that group, where no
    // lookup sees them.
    ASSERT_NE(Open("[G]\nb = 2\n[H]\n"), 0);
    EXPECT_NE(WritePreferenceLong("n", 3), 0);
    EXPECT_EQ(ReadPreferenceLong("n", 0), 0);
    ClosePreferences();
    EXPECT_EQ(ReadBytes("pref.ini"), "[G]\r\nb = 2\r\nn = 3\r\n[H]\r\n");
}

TEST_F(PreferencesTest, CreatedFileHoldsExactlyWhatWasWritten)
{
    ASSERT_NE(CreatePreferences("pref.ini"), 0);
    EXPECT_EQ(PreferenceComment(""), 1);
    EXPECT_NE(WritePreferenceLong("Width", 1024), 0);
    EXPECT_EQ(ReadPreferenceLong("width", 0), 1024);
    ClosePreferences();
    EXPECT_EQ(ReadBytes("pref.ini"), "; \r\nWidth = 1024\r\n");
}

TEST_F(PreferencesTest, CreatedFileReachesTheDiskOnlyWhenClosed)
{
    WriteBytes("pref.ini", "old = 1\r\n");
    ASSERT_NE(CreatePreferences("PREF.INI"), 0);
    EXPECT_NE(WritePreferenceLong("new", 2), 0);
    EXPECT_EQ(ReadBytes("pref.ini"), "old = 1\r\n");
    ClosePreferences();
    EXPECT_EQ(ReadBytes("pref.ini"), "new = 2\r\n");
    EXPECT_EQ(CountFolderEntries(), 1) << "no temporary file stays behind";

    ASSERT_NE(CreatePreferences("empty.ini"), 0);
    ClosePreferences();
    EXPECT_EQ(FileSize("empty.ini"), 0);

    std::string longest(255, 'n');
    ASSERT_NE(CreatePreferences(longest), 0);
    ClosePreferences();
    EXPECT_EQ(FileSize(longest), 0);
}

TEST_F(PreferencesTest, ClosedOrUncreatableFilesTakeNoWrites)
{
    std::filesystem::create_directory("folder");
    EXPECT_EQ(WritePreferenceLong("a", 1), 0);
    EXPECT_EQ(PreferenceComment("a"), 0);
    EXPECT_EQ(ReadPreferenceLong("a", 4), 4);
    EXPECT_EQ(CreatePreferences("folder"), 0);
    EXPECT_EQ(WritePreferenceLong("a", 1), 0);
    EXPECT_EQ(CreatePreferences("missing\\pref.ini"), 0);
    EXPECT_EQ(FileSize("folder"), -2);
}

TEST_F(PreferencesTest, AFolderOfThatNameFailsToOpenAndStaysAFolder)
{
    std::filesystem::create_directory("pref.ini");
    EXPECT_EQ(OpenPreferences("pref.ini"), 0);
    EXPECT_EQ(ReadPreferenceLong("Width", 1024), 1024);
    EXPECT_NE(WritePreferenceLong("Width", 1), 0);
    ClosePreferences();
    EXPECT_EQ(FileSize("pref.ini"), -2);
    EXPECT_EQ(CountFolderEntries(), 1);
}

TEST_F(PreferencesTest, WritesToAMissingFileCreateItOnClose)
{
    EXPECT_EQ(OpenPreferences("new.ini"), 0);
    EXPECT_EQ(ReadPreferenceLong("k", 6), 6);
    EXPECT_NE(WritePreferenceLong("k", 5), 0);
    EXPECT_EQ(ReadPreferenceLong("k", 6), 5);
    EXPECT_EQ(FileSize("new.ini"), -1);
    ClosePreferences();
    EXPECT_EQ(ReadBytes("new.ini"), "k = 5\r\n");

    EXPECT_EQ(OpenPreferences("never.ini"), 0);
    ClosePreferences();
    EXPECT_EQ(FileSize("never.ini"), -1) << "a close without writes creates nothing";
}

TEST_F(PreferencesTest, OpeningAnotherWritesTheChangedOneBackFirst)
{
    ASSERT_NE(Open("k = 1\n"), 0);
    EXPECT_NE(WritePreferenceLong("k", 2), 0);
    EXPECT_NE(OpenPreferences("Pref.ini"), 0);
    EXPECT_EQ(ReadPreferenceLong("k", 0), 2);

    EXPECT_NE(WritePreferenceLong("k", 3), 0);
    EXPECT_NE(OpenPreferencesFromMemory("k = 4", 5), 0);
    EXPECT_EQ(ReadPreferenceLong("k", 0), 4);
    EXPECT_EQ(ReadBytes("pref.ini"), "k = 3\r\n");
}

TEST_F(PreferencesTest, TextFromMemoryReadsLikeAFileAndWritesNothing)
{
    const char text[] = "\xEF\xBB\xBFName = Gr\xC3\xBC"
                        "n\nsize=32|48\n";
    ASSERT_NE(OpenPreferencesFromMemory(text, int32_t(sizeof text - 1)), 0);
    EXPECT_EQ(ReadPreferenceString("NAME", ""), "Gr\xFCn");
    EXPECT_EQ(ReadPreferenceString("size", ""), "32|48");
    EXPECT_NE(WritePreferenceLong("size", 1), 0);
    ClosePreferences();
    EXPECT_EQ(CountFolderEntries(), 0);
    for (int32_t length : {0, -4}) {
        EXPECT_NE(OpenPreferencesFromMemory(nullptr, length), 0);
        EXPECT_EQ(ReadPreferenceLong("size", 9), 9);
    }
}

TEST_F(PreferencesTest, Utf8FilesConvertKeysValuesAndComments)
{
    ASSERT_NE(Open("\xEF\xBB\xBF"
                   "H\xC3\xB6he = 12\n"
                   "text = \xC3\xA4\xC3\xB6 \n"
                   "euro = \xE2\x82\xAC\n"
                   "bad = a\xFF\n"
                   "cut = ab\xC3\n"
                   "lead = \x80\n"
                   "zero = a\xC0\x80z\n"),
              0);
    struct Case {
        const char* key;
        const char* text;
    } cases[] = {{"H\xF6HE", "12"}, {"text", "\xE4\xF6"}, {"euro", ""}, {"bad", ""},
                 {"cut", "ab"},     {"lead", ""},         {"zero", "a"}};
    for (const Case& c : cases)
        EXPECT_EQ(ReadPreferenceString(c.key, "default"), c.text) << c.key;
    EXPECT_EQ(PreferenceComment("Gr\xFC\xDF"), 1);
    EXPECT_NE(WritePreferenceLong("h\xF6HE", 13), 0) << "only ASCII letters fold their case";
    ClosePreferences();
    EXPECT_EQ(ReadBytes("pref.ini"), "\xEF\xBB\xBF\r\n"
                                     "; Gr\xC3\xBC\xC3\x9F\r\n"
                                     "h\xC3\xB6HE = 13\r\n"
                                     "text = \xC3\xA4\xC3\xB6 \r\n"
                                     "euro = \xE2\x82\xAC\r\n"
                                     "bad = a\xFF\r\n"
                                     "cut = ab\xC3\r\n"
                                     "lead = \x80\r\n"
                                     "zero = a\xC0\x80z\r\n");
}

TEST_F(PreferencesTest, BadBytesNeitherHangNorLeak)
{
    std::string bytes("a=1\0junk\nb = 2\n\0\n  \0 x = 9\n;c\0d\n[g\0]h\nc = 3", 43);
    ASSERT_NE(Open(bytes), 0);
    EXPECT_EQ(ReadPreferenceString("a", ""), "1");
    EXPECT_EQ(ReadPreferenceLong("b", 0), 2);
    EXPECT_EQ(ReadPreferenceLong("x", 0), 0);
    EXPECT_EQ(ReadPreferenceLong("c", 0), 0) << "behind the group line";
    EXPECT_NE(WritePreferenceLong("b", 5), 0);
    ClosePreferences();
    EXPECT_EQ(ReadBytes("pref.ini"), "a = 1\r\nb = 5\r\n; c\r\n[g]\r\nc = 3\r\n");

    std::string line = "long = " + std::string(3'000'000, '7') + "x";
    ASSERT_NE(Open(line), 0);
    EXPECT_EQ(ReadPreferenceString("long", "").size(), 3'000'001u);
    ASSERT_NE(Open(std::string(100'000, '\n') + "k=1"), 0);
    EXPECT_EQ(ReadPreferenceLong("k", 0), 1);
}

TEST(Utf8Conversion, SingleBytesTakeTwoBytesAndComeBack)
{
    for (int byte = 1; byte < 256; ++byte) {
        std::string text(1, char(byte)), back;
        std::string utf8 = Latin1ToUtf8(text);
        EXPECT_EQ(utf8.size(), byte < 0x80 ? 1u : 2u) << byte;
        EXPECT_TRUE(Utf8ToLatin1(utf8, back)) << byte;
        EXPECT_EQ(back, text) << byte;
    }
    std::string result;
    EXPECT_TRUE(Utf8ToLatin1("\xF0\x80\x82\xA9|", result)) << "overlong forms decode";
    EXPECT_EQ(result, "\xA9|");
    EXPECT_FALSE(Utf8ToLatin1("\xF8\x80", result));
    EXPECT_FALSE(Utf8ToLatin1("\xC3\x41", result));
    EXPECT_TRUE(Utf8ToLatin1("x\xF0\x80", result));
    EXPECT_EQ(result, "x");
}
