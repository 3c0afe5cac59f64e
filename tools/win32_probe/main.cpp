// tolvane-win32-probe TITLE
// Finds the visible top-level window titled TITLE that no other window owns
// and prints, one "key=value" a line:
//   foreground=yes|no  it is the foreground window
//   active=yes|no      it is the active window of its thread
//   focus-class=NAME   class of the window with the keyboard focus in that
//                      thread, or "none"
//   focus-x=N          that window's left edge in the client area's pixels
//   focus-text=TEXT    that window's text
//   answers=yes|no     it answered a message (WM_NULL) within a second, as
//                      Windows asks before it calls a window not responding
//   popup=TEXT         for each visible window it owns (a message box): the
//                      message, or the window's title when it has none
// Texts are UTF-8. Exits 0 when the window exists, 1 when it does not.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Other programs' windows answer messages; a hung one must not hang the probe.
constexpr UINT kAnswerTimeoutMs = 2000;
// What a window that stays alive during a long batch must manage.
constexpr UINT kLivenessTimeoutMs = 1000;
// The id a message box gives the control that shows its message.
constexpr int kMessageBoxTextId = 0xFFFF;

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

// WM_GETTEXT rather than GetWindowTextW, which does not ask another
// program's controls for their text, so an edit box's typed text is missed.
std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                             &length)) {
        return {};
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &copied);
    text.resize(copied);
    return text;
}

std::wstring TitleOf(HWND window) {
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    return title;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

struct Search {
    std::wstring title;
    HWND owner = nullptr;  // null: the unowned window titled `title`
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM lParam) {
    auto& search = *reinterpret_cast<Search*>(lParam);
    if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) != search.owner) return TRUE;
    if (search.owner || TitleOf(window) == search.title) search.found.push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelWindows(const std::wstring& title, HWND owner) {
    Search search{title, owner, {}};
    EnumWindows(&Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// One line per key, even for a message of several lines.
void Print(const char* key, std::string value) {
    for (char& c : value) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    std::printf("%s=%s\n", key, value.c_str());
}

const char* YesNo(bool yes) { return yes ? "yes" : "no"; }

void PrintFocus(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (!GetGUIThreadInfo(thread, &info)) info = GUITHREADINFO{};
    Print("active", YesNo(info.hwndActive == window));
    if (!info.hwndFocus) {
        Print("focus-class", "none");
        return;
    }
    Print("focus-class", Utf8(ClassOf(info.hwndFocus)));
    RECT place{};
    GetWindowRect(info.hwndFocus, &place);
    POINT corner{place.left, place.top};
    ScreenToClient(window, &corner);
    Print("focus-x", std::to_string(corner.x));
    Print("focus-text", Utf8(TextOf(info.hwndFocus)));
}

void PrintPopups(HWND window) {
    for (HWND popup : TopLevelWindows({}, window)) {
        const HWND message = GetDlgItem(popup, kMessageBoxTextId);
        Print("popup", Utf8(TextOf(message ? message : popup)));
    }
}

bool Answers(HWND window) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kLivenessTimeoutMs,
                               &ignored) != 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tolvane-win32-probe TITLE\n");
        return 2;
    }
    // Plain "\n" line ends and UTF-8 bytes as they are.
    _setmode(_fileno(stdout), _O_BINARY);
    const std::vector<HWND> windows = TopLevelWindows(argv[1], nullptr);
    if (windows.empty()) {
        std::fprintf(stderr, "no window titled as given\n");
        return 1;
    }
    const HWND window = windows.front();
    Print("answers", YesNo(Answers(window)));
    Print("foreground", YesNo(GetForegroundWindow() == window));
    PrintFocus(window);
    PrintPopups(window);
    return 0;
}
