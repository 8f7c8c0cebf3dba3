// What the desktop back end does its own way on Windows: the system's message boxes
// with the program's Windows-1252 texts, and the virtual-key codes of the system's
// key messages. Needs a display (the tests run in Wine inside Xvfb).
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "platform/platform.h"

namespace {

constexpr int boxTextId = 0xFFFF;  // the static control that holds a box's text
constexpr DWORD patience = 20000;  // milliseconds to wait for a box to appear

// Waits for a box with the caption, reads its text and presses one of its buttons.
class BoxAnswerer {
public:
    BoxAnswerer(std::wstring caption, int button)
        : thread_([this, caption, button] { answer(caption, button); })
    {
    }
    ~BoxAnswerer()
    {
        if (thread_.joinable()) thread_.join();
    }
    std::wstring text()
    {
        thread_.join();
        return text_;
    }

private:
    void answer(const std::wstring& caption, int button)
    {
        const DWORD start = GetTickCount();
        HWND box = nullptr;
        while (!box && GetTickCount() - start < patience) {
            box = FindWindowW(L"#32770", caption.c_str());
            if (!box) Sleep(20);
        }
        if (!box) return;
        wchar_t buffer[256] = {};
        GetDlgItemTextW(box, boxTextId, buffer, 256);
        text_ = buffer;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }

    std::wstring text_;
    std::thread thread_;
};

TEST(WindowsMessageBox, TextsAreInTheProgramsCodePage)
{
    BoxAnswerer answerer(L"l\u00F6kjzwirbelalp", IDOK);
    const platform::Answer answer =
        platform::messageBox("Gr\xFC\xDF"
                             "e \x80 5",
                             "l\xF6kjzwirbelalp", platform::Buttons::Ok, platform::Icon::None);
    EXPECT_EQ(answerer.text(), L"Gr\u00FC\u00DFe \u20AC 5");
    EXPECT_EQ(answer, platform::Answer::Ok);
}

TEST(WindowsMessageBox, YesAndNoAreTheUsersAnswers)
{
    for (const int button : {IDYES, IDNO}) {
        BoxAnswerer answerer(L"ERROR", button);
        const platform::Answer answer = platform::messageBox(
            "ERROR! windowed instead?", "ERROR", platform::Buttons::YesNo, platform::Icon::Exclamation);
        EXPECT_EQ(answerer.text(), L"ERROR! windowed instead?");
        EXPECT_EQ(answer, button == IDYES ? platform::Answer::Yes : platform::Answer::No);
    }
}

long ignore(const platform::Message&) { return 0; }

// Key messages as the system posts them, and what reaches the program.
class WindowsKeys : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(platform::registerWindowClass(ignore));
        ASSERT_TRUE(platform::createWindow("zw key test", 0, 0, 64, 64, platform::WindowStyle::Overlapped));
        platform::showWindow();
        window = FindWindowW(nullptr, L"zw key test");
    }

    // The next key message the program gets after posting this one.
    static platform::Message post(UINT message, WPARAM virtualKey, unsigned scanCode)
    {
        const LPARAM flags = message == WM_KEYUP ? LPARAM(0xC0000001) : 1;
        PostMessageW(window, message, virtualKey, flags | LPARAM(scanCode) << 16);
        platform::Message got;
        for (int attempt = 0; attempt < 200; ++attempt) {
            while (platform::peekMessage(got))
                if (got.kind == platform::MessageKind::KeyDown || got.kind == platform::MessageKind::KeyUp)
                    return got;
            Sleep(5);
        }
        return platform::Message{};
    }

    static HWND window;
};
HWND WindowsKeys::window = nullptr;

TEST_F(WindowsKeys, TheSystemsCodeNotTheKeysPlace)
{
    ASSERT_NE(window, nullptr);
    // A German keyboard: the key where US keyboards have Y (scan code 0x15) says Z.
    const platform::Message down = post(WM_KEYDOWN, 'Z', 0x15);
    EXPECT_EQ(down.kind, platform::MessageKind::KeyDown);
    EXPECT_EQ(down.wParam, std::uint32_t('Z'));
    const platform::Message up = post(WM_KEYUP, 'Z', 0x15);
    EXPECT_EQ(up.kind, platform::MessageKind::KeyUp);
    EXPECT_EQ(up.wParam, std::uint32_t('Z'));
}

TEST_F(WindowsKeys, EveryKeyHasItsCode)
{
    ASSERT_NE(window, nullptr);
    // (Not Shift: SDL lets a Shift go that the keyboard's state says is up.)
    EXPECT_EQ(post(WM_KEYDOWN, VK_ESCAPE, 0x01).wParam, platform::keyEscape);
    EXPECT_EQ(post(WM_KEYDOWN, VK_OEM_PERIOD, 0x34).wParam, std::uint32_t(VK_OEM_PERIOD));
    EXPECT_EQ(post(WM_KEYDOWN, VK_OEM_1, 0x27).wParam, std::uint32_t(VK_OEM_1));
    EXPECT_EQ(post(WM_KEYUP, VK_OEM_1, 0x27).wParam, std::uint32_t(VK_OEM_1));
}

}  // namespace
