#include "runtime/platform/headless.h"
#include "runtime/platform/key_codes.h"
#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <set>

namespace {
class Keyboard : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(InitSprite(), 0);
        ASSERT_NE(OpenScreen(32, 32, 32, "keys"), 0);
    }
    void TearDown() override
    {
        for (int32_t code = 0; code < 256; ++code)
            HeadlessKey(code, 0);
        FlipBuffers();
        EndSprite();
        ReleaseKeyboard();
    }
};
} // namespace

TEST_F(Keyboard, KeysShowOnlyAfterAPollAndStayWhileHeld)
{
    HeadlessKey(KEY_ESCAPE, 1);
    EXPECT_EQ(KeyDown(KEY_ESCAPE), 0) << "before the first poll";
    EXPECT_EQ(KeyDown(-1), 0);
    ASSERT_EQ(PollKeyboard(), 1);
    EXPECT_EQ(KeyDown(KEY_ESCAPE), 128);
    EXPECT_EQ(KeyDown(KEY_S), 0);
    ASSERT_EQ(PollKeyboard(), 1);
    EXPECT_EQ(KeyDown(KEY_ESCAPE), 128) << "a held key is down in every frame";
    HeadlessKey(KEY_ESCAPE, 0);
    EXPECT_EQ(KeyDown(KEY_ESCAPE), 128) << "until the next poll";
    ASSERT_EQ(PollKeyboard(), 1);
    EXPECT_EQ(KeyDown(KEY_ESCAPE), 0);
    EXPECT_EQ(KeyDown(256), 0);
    EXPECT_EQ(KeyDown(-2), 0);
}

TEST_F(Keyboard, AnyKeyIgnoresCode255)
{
    HeadlessKey(255, 1);
    ASSERT_EQ(PollKeyboard(), 1);
    EXPECT_EQ(KeyDown(255), 128);
    EXPECT_EQ(KeyDown(-1), 0);
    HeadlessKey(254, 1);
    ASSERT_EQ(PollKeyboard(), 1);
    EXPECT_EQ(KeyDown(-1), 1);
}

TEST_F(Keyboard, NothingIsDownWhileInTheBackground)
{
    HeadlessKey(KEY_P, 1);
    ASSERT_EQ(PollKeyboard(), 1);
    HeadlessFocus(0);
    EXPECT_EQ(PollKeyboard(), 0);
    EXPECT_EQ(KeyDown(KEY_P), 0);
    EXPECT_EQ(KeyDown(-1), 0);
    HeadlessFocus(1);
    HeadlessKey(KEY_S, 1);
    EXPECT_EQ(PollKeyboard(), 1) << "the next poll takes the keyboard again";
    EXPECT_EQ(KeyDown(KEY_S), 128);
    EXPECT_EQ(KeyDown(KEY_P), 0) << "keys held when the focus went are up";
}

TEST(KeyboardDevice, PollWithoutDeviceIsZero)
{
    EXPECT_EQ(PollKeyboard(), 0);
    EXPECT_EQ(KeyDown(-1), 0);
    ASSERT_NE(InitKeyboard(), 0);
    EXPECT_NE(InitKeyboard(), 0) << "a second call finds the device";
    EXPECT_EQ(PollKeyboard(), 0) << "no screen: the keyboard cannot be read";
    ReleaseKeyboard();
    ReleaseKeyboard();
}

TEST(KeyCodes, MapsScancodesToDirectInputCodes)
{
    struct Case {
        int32_t scancode, code;
    } cases[] = {{41, 1},     {19, 25}, {22, 31},   {43, 15},   {226, 56}, {230, 184},
                 {4, 30},     {30, 2},  {39, 11},   {40, 28},   {44, 57},  {58, 59},
                 {68, 87},    {69, 88}, {82, 0xC8}, {88, 0x9C}, {98, 82},  {224, 29},
                 {228, 0x9D}, {0, 0},   {-1, 0},    {512, 0},   {1000, 0}, {145, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(KeyCodeFromScancode(c.scancode), c.code) << "scancode " << c.scancode;
}

TEST(KeyCodes, NoTwoKeysShareACodeExceptTheSamePhysicalKey)
{
    // NONUSHASH sits where BACKSLASH does, SYSREQ is PRINTSCREEN with Alt, and both mute keys
    // are the one mute key.
    const std::set<int32_t> sharing = {50, 154, 262};
    std::set<int32_t> seen;
    for (int32_t scancode = 0; scancode < 512; ++scancode) {
        int32_t code = KeyCodeFromScancode(scancode);
        if (code == 0)
            continue;
        EXPECT_TRUE(code > 0 && code < 256) << scancode;
        EXPECT_TRUE(seen.insert(code).second || sharing.count(scancode)) << "scancode " << scancode;
    }
    EXPECT_GT(seen.size(), 120u);
}
