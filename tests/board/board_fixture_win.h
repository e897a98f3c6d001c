// A question board built in-process the way the player builds it: a top-level window holding the
// header panel and the board, with g_quiz set for the length of one test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "board/question_board_win.h"
#include "content/quiz_data_win.h"
#include "header/header_panel_win.h"
#include "resource.h"
#include "win_test_support.h"

struct BoardChild {
    HWND window;
    std::string className;
    int id;
    RECT rect;
    std::string text;
};

class BoardFixture : public testing::Test {
protected:
    void SetUp() override
    {
        m_quiz = std::make_unique<QuizData>();
        g_quiz = m_quiz.get();
    }

    void TearDown() override
    {
        if (m_parent)
            DestroyWindow(m_parent);
        m_parent = nullptr;
        m_board = nullptr;
        PumpMessages();
        g_quiz = nullptr;
        m_quiz.reset();
        g_contentWidth = 0;
        g_contentHeight = 0;
    }

    QuizData& Quiz() { return *m_quiz; }

    // Creates the parent, the header panel and the board; the board builds itself at once.
    void Build()
    {
        CreateHost();
        CreateBoard();
    }

    // The shown top-level window and the header panel, stored in the record as the player does.
    void CreateHost()
    {
        static const char* className = RegisterParentClass();
        m_parent = CreateWindowExA(0, className, "board test", WS_OVERLAPPEDWINDOW, 0, 0, 1000, 700, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(m_parent, nullptr);
        HINSTANCE module = GetModuleHandleA(nullptr);
        m_header = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_HEADER_PANEL), m_parent, HeaderPanelProc, 0);
        ASSERT_NE(m_header, nullptr);
        m_quiz->headerPanel = m_header;
        ShowWindow(m_parent, SW_SHOWNORMAL);
        SetForegroundWindow(m_parent);
    }

    void CreateBoard()
    {
        HINSTANCE module = GetModuleHandleA(nullptr);
        m_board = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_QUESTION_BOARD), m_parent, QuestionBoardProc, 0);
        ASSERT_NE(m_board, nullptr);
        SetWindowPos(m_board, nullptr, 5, 50, 980, 600, SWP_NOZORDER);
        ShowWindow(m_board, SW_SHOWNORMAL);
        PumpMessages();
    }

    HWND Board() const { return m_board; }
    HWND Item(int id) const { return GetDlgItem(m_board, id); }
    std::string Text(int id) const { return DialogItemText(m_board, id); }
    std::string Score() const { return DialogItemText(m_header, IDC_SCORE); }
    std::string Code() const { return DialogItemText(m_header, IDC_CODE); }

    // The board's controls in creation order.
    std::vector<BoardChild> Children() const
    {
        std::vector<BoardChild> children;
        for (HWND child = GetWindow(m_board, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char className[64] = {};
            GetClassNameA(child, className, sizeof(className));
            children.push_back({child, className, GetDlgCtrlID(child), ChildRect(child), WindowText(child)});
        }
        return children;
    }

    std::vector<BoardChild> ChildrenWithId(int id) const
    {
        std::vector<BoardChild> found;
        for (const BoardChild& child : Children()) {
            if (child.id == id)
                found.push_back(child);
        }
        return found;
    }

    // Types into a box the way the player's keyboard would end up: the text, then Enter released.
    void TypeAndEnter(int boxId, const char* text)
    {
        SetWindowTextA(Item(boxId), text);
        SendMessageA(Item(boxId), WM_KEYDOWN, VK_RETURN, 0);
        SendMessageA(Item(boxId), WM_KEYUP, VK_RETURN, 0xC0000001);
    }

private:
    static const char* RegisterParentClass()
    {
        static const char className[] = "ZelboBoardTestParent";
        RegisterPlainWindowClass(className);
        return className;
    }

    // Every test runs in a folder of its own, so no answers file is found unless a test writes one.
    ScopedTempDirectory m_directory;
    std::unique_ptr<QuizData> m_quiz;
    HWND m_parent = nullptr;
    HWND m_header = nullptr;
    HWND m_board = nullptr;
};

inline void ExpectRect(const RECT& rect, int x, int y, int width, int height, const std::string& what)
{
    EXPECT_EQ(rect.left, x) << what;
    EXPECT_EQ(rect.top, y) << what;
    EXPECT_EQ(rect.right - rect.left, width) << what;
    EXPECT_EQ(rect.bottom - rect.top, height) << what;
}

inline HFONT FontOf(HWND control)
{
    return reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
}

inline SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof(info), &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

inline HBITMAP PictureOf(HWND control)
{
    return reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
}
