#include "runtime/platform/descriptor_io.h"
#include "runtime/runtime.h"
#include "tests/system_helpers.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// A console on two pipes: what the test writes is the console's input, what the console
// prints can be read back.
struct PipedConsole : testing::Test {
    int input[2];
    int output[2];
    void SetUp() override
    {
        ASSERT_TRUE(OpenPipe(input));
        ASSERT_TRUE(OpenPipe(output));
        OpenConsoleOn(input[0], output[1]);
    }
    void TearDown() override
    {
        for (int fd : {input[0], input[1], output[0], output[1]})
            if (fd >= 0)
                CloseDescriptor(fd);
        OpenConsoleOn(0, 1);
    }
    void Type(const std::string& bytes)
    {
        ASSERT_EQ(WriteToDescriptor(input[1], bytes.data(), bytes.size()), bytes.size());
    }
    void EndInput()
    {
        CloseDescriptor(input[1]);
        input[1] = -1;
    }
    std::string Printed()
    {
        CloseDescriptor(output[1]);
        output[1] = -1;
        std::string text;
        char block[256];
        for (size_t got; (got = ReadOnceFromDescriptor(output[0], block, sizeof block)) > 0;)
            text.append(block, got);
        return text;
    }
};
} // namespace

TEST_F(PipedConsole, PrintsLinesWithLineFeeds)
{
    PrintLine("InitVar...");
    PrintLine("");
    PrintLine();
    PrintLine("x");
    EXPECT_EQ(Printed(), "InitVar...\n\n\nx\n");
    EXPECT_EQ(ConsoleTitle("title"), 0) << "a pipe shows no title";
}

TEST_F(PipedConsole, ReadsLinesAcrossLineEndsAndKeepsTheRemainder)
{
    Type("first\r\nsecond\nthird\rfourth\n\nlast");
    EndInput();
    for (const char* expected : {"first", "second", "third", "fourth", "", "last"})
        EXPECT_EQ(ReadConsoleLine(), expected);
    EXPECT_EQ(ReadConsoleLine(), "\x04") << "end of input";
    EXPECT_EQ(ReadConsoleLine(), "\x04");
}

TEST_F(PipedConsole, LongLineArrivesWhole)
{
    std::string line(10000, 'a');
    Type(line + "\n");
    EXPECT_EQ(ReadConsoleLine(), line);
}
