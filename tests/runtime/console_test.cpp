#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {
// A console on two pipes: what the test writes is the console's input, what the console
// prints can be read back.
struct PipedConsole : testing::Test {
    int input[2];
    int output[2];
    void SetUp() override
    {
        ASSERT_EQ(pipe(input), 0);
        ASSERT_EQ(pipe(output), 0);
        OpenConsoleOn(input[0], output[1]);
    }
    void TearDown() override
    {
        for (int fd : {input[0], input[1], output[0], output[1]})
            if (fd >= 0)
                close(fd);
        OpenConsoleOn(STDIN_FILENO, STDOUT_FILENO);
    }
    void Type(const std::string& bytes)
    {
        ASSERT_EQ(write(input[1], bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    void EndInput()
    {
        close(input[1]);
        input[1] = -1;
    }
    std::string Printed()
    {
        close(output[1]);
        output[1] = -1;
        std::string text;
        char block[256];
        for (ssize_t got; (got = read(output[0], block, sizeof block)) > 0;)
            text.append(block, size_t(got));
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
