#include "win_test_support.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>

#include "app/main_window_win.h"
#include "board/board_layout.h"
#include "board/media_win.h"
#include "board/picture_loading_win.h"
#include "board/picture_win.h"
#include "board/question_board_win.h"
#include "header/header_panel_win.h"
#include "platform/ui_seam_win.h"
#include "platform/win_raii.h"
#include "resource.h"

std::vector<std::string> g_recordedMessages, g_recordedWebPages;

namespace {

// Wine does not count GDI objects per process (GetGuiResources answers 0), so the test program
// counts them itself: the program's code is linked into this executable, and every GDI call it
// makes goes through this executable's import table, where the creating and deleting functions
// are replaced by counting ones.
std::set<HGDIOBJ> g_liveGdiObjects;
// Pictures are decoded on worker threads too.
SRWLOCK g_liveGdiObjectsLock = SRWLOCK_INIT;
struct CountLock {
    CountLock() { AcquireSRWLockExclusive(&g_liveGdiObjectsLock); }
    ~CountLock() { ReleaseSRWLockExclusive(&g_liveGdiObjectsLock); }
};

template <typename Function> Function g_real = nullptr;

template <typename Handle> Handle Track(Handle handle)
{
    const CountLock lock;
    if (handle)
        g_liveGdiObjects.insert(handle);
    return handle;
}

BOOL Untrack(BOOL deleted, HGDIOBJ object)
{
    const CountLock lock;
    if (deleted)
        g_liveGdiObjects.erase(object);
    return deleted;
}

// clang-format off
// The counting functions, each beside the slot that keeps the real one.
#define COUNTED(Name, Parameters, Arguments) \
    auto WINAPI Counted##Name Parameters { return Track(g_real<decltype(&Name)> Arguments); }
#define GDI_CREATORS(X) \
    X(CreateSolidBrush, (COLORREF a), (a)) \
    X(CreatePen, (int a, int b, COLORREF c), (a, b, c)) \
    X(CreateFontIndirectA, (const LOGFONTA* a), (a)) \
    X(CreateFontIndirectW, (const LOGFONTW* a), (a)) \
    X(CreateCompatibleDC, (HDC a), (a)) \
    X(CreateCompatibleBitmap, (HDC a, int b, int c), (a, b, c)) \
    X(CreateBitmap, (int a, int b, UINT c, UINT d, const void* e), (a, b, c, d, e)) \
    X(CreateDIBSection, (HDC a, const BITMAPINFO* b, UINT c, void** d, HANDLE e, DWORD f), (a, b, c, d, e, f)) \
    X(CopyImage, (HANDLE a, UINT b, int c, int d, UINT e), (a, b, c, d, e))
GDI_CREATORS(COUNTED)
BOOL WINAPI CountedDeleteObject(HGDIOBJ a) { return Untrack(g_real<decltype(&DeleteObject)>(a), a); }
BOOL WINAPI CountedDeleteDC(HDC a) { return Untrack(g_real<decltype(&DeleteDC)>(a), a); }
#define HOOK(Name, Parameters, Arguments) \
    {#Name, reinterpret_cast<void*>(&Counted##Name), reinterpret_cast<void**>(&g_real<decltype(&Counted##Name)>)},
// clang-format on

void InstallGdiCounting()
{
    const struct {
        const char* name;
        void* replacement;
        void** original;
    } hooks[] = {GDI_CREATORS(HOOK) HOOK(DeleteObject, , ) HOOK(DeleteDC, , )};
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandle(nullptr));
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); dll->Name; ++dll) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            for (const auto& hook : hooks) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) ||
                    std::strcmp(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name,
                                hook.name) != 0)
                    continue;
                DWORD protection;
                VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &protection);
                *hook.original = reinterpret_cast<void*>(slots->u1.Function);
                slots->u1.Function = reinterpret_cast<ULONG_PTR>(hook.replacement);
                VirtualProtect(&slots->u1.Function, sizeof(void*), protection, &protection);
            }
        }
    }
}

} // namespace

DWORD GdiObjectCount(DWORD type)
{
    const CountLock lock;
    DWORD count = 0;
    for (HGDIOBJ object : g_liveGdiObjects)
        count += type == 0 || GetObjectType(object) == type;
    return count;
}

ScopedTempDirectory::ScopedTempDirectory()
{
    char base[MAX_PATH], name[MAX_PATH], previous[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    GetTempFileNameA(base, "zlt", 0, name); // a new name, taken by an empty file
    DeleteFileA(name);
    CreateDirectoryA(name, nullptr);
    m_previous.assign(previous, GetCurrentDirectoryA(MAX_PATH, previous));
    m_path = name;
    SetCurrentDirectoryA(name);
}

ScopedTempDirectory::~ScopedTempDirectory()
{
    SetCurrentDirectoryA(m_previous.c_str());
    const std::string paths = m_path + '\0'; // the list ends with a second zero
    SHFILEOPSTRUCTA remove = {};
    remove.wFunc = FO_DELETE;
    remove.pFrom = paths.c_str();
    remove.fFlags = FOF_NO_UI;
    SHFileOperationA(&remove);
}

void PumpMessages()
{
    MSG message;
    while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessage(&message);
    }
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string FilesHere()
{
    std::set<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA("*", &entry);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &entry)) {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.insert(entry.cFileName);
    }
    FindClose(search);
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : " ") + name;
    return joined;
}

std::string ResourceBytes(HMODULE module, const char* type, int id)
{
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    return found ? std::string(static_cast<const char*>(LockResource(LoadResource(module, found))),
                               SizeofResource(module, found))
                 : "";
}

std::string BuildFolder()
{
    char path[MAX_PATH];
    const std::string program(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return program.substr(0, program.rfind('\\', program.rfind('\\') - 1));
}

ToolRun RunTool(const std::string& arguments, bool oneStream)
{
    std::string commandLine = "\"" + BuildFolder() + "\\zelbo-pack.exe\" " + arguments;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    DWORD exitCode = ~0u;
    {
        UniqueFile out(CreateFileA("tool.out", GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS, 0, nullptr));
        UniqueFile err(oneStream ? nullptr
                                 : CreateFileA("tool.err", GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS, 0, nullptr));
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out.Get();
        startup.hStdError = oneStream ? out.Get() : err.Get();
        PROCESS_INFORMATION process = {};
        if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
            UniqueKernelHandle thread(process.hThread), child(process.hProcess);
            WaitForSingleObject(child.Get(), 120000);
            GetExitCodeProcess(child.Get(), &exitCode);
        }
    }
    const ToolRun run{static_cast<int>(exitCode), ReadFileBytes("tool.out"), ReadFileBytes("tool.err")};
    DeleteFileA("tool.out");
    DeleteFileA("tool.err");
    return run;
}

std::ostream& operator<<(std::ostream& out, const ToolRun& run)
{
    return out << "exit " << run.exitCode << "\nstdout:\n" << run.out << "stderr:\n" << run.err;
}

std::string OwnAnswersFile()
{
    char path[MAX_PATH];
    const std::string program(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return program.substr(program.rfind('\\') + 1, program.size() - program.rfind('\\') - 4) + "txt";
}

std::string WindowText(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

RECT ChildRect(HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info = {};
    return bitmap && GetObjectA(bitmap, sizeof(info), &info) ? SIZE{info.bmWidth, info.bmHeight} : SIZE{0, 0};
}

HBITMAP ShownPicture(HWND control)
{
    return reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
}

std::unique_ptr<QuizData> MakeQuiz(int mediaKind, int answersPerQuestion, int revealMode,
                                   const std::vector<TestQuestion>& questions)
{
    auto quiz = std::make_unique<QuizData>();
    quiz->mediaKind = mediaKind;
    quiz->answersPerQuestion = answersPerQuestion;
    quiz->revealMode = revealMode;
    quiz->questionCount = static_cast<int>(questions.size());
    for (const TestQuestion& question : questions) {
        quiz->AddQuestion(question.answer1, question.answer2, question.text);
        std::strcpy(quiz->questionTail->revealText, question.reveal);
    }
    return quiz;
}

TestPlayer::TestPlayer() : main(StartPlayer(GetModuleHandle(nullptr))), header(g_headerPanel), board(g_questionBoard)
{
    PumpMessages();
}

TestPlayer::TestPlayer(std::unique_ptr<QuizData> quiz, void (*beforeBoard)())
{
    HINSTANCE instance = GetModuleHandle(nullptr);
    g_quiz = quiz.release();
    MediaStartup();
    if (beforeBoard)
        beforeBoard();
    main = CreateWindowExA(0, MAIN_WINDOW_CLASS, g_quiz->title, WS_OVERLAPPEDWINDOW, 0, 0, MAIN_WINDOW_WIDTH,
                           MAIN_WINDOW_HEIGHT, nullptr, nullptr, instance, nullptr);
    g_headerPanel = header = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_HEADER_PANEL), main, HeaderPanelProc, 0);
    ShowWindow(header, SW_SHOWNORMAL);
    g_quiz->headerPanel = header;
    g_questionBoard = board =
        CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_QUESTION_BOARD), main, QuestionBoardProc, 0);
    ShowWindow(main, SW_SHOWNORMAL);
    ShowWindow(board, SW_SHOWNORMAL);
    PumpMessages();
}

TestPlayer::~TestPlayer()
{
    if (g_quiz)
        ShutDownPlayer(main);
    DestroyWindow(main);
    g_headerPanel = g_questionBoard = nullptr;
    PumpMessages();
}

LRESULT TestPlayer::Key(int box, WPARAM key, UINT message) const
{
    return SendMessageA(Item(box), message, key, 0xC0000001);
}

void TestPlayer::Type(int box, const std::string& text) const
{
    SetWindowTextA(Item(box), text.c_str());
    Key(box, VK_RETURN, WM_KEYDOWN);
    Key(box, VK_RETURN);
}

Paint PaintOf(DLGPROC procedure, HWND control)
{
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    SetBkMode(dc.Get(), OPAQUE);
    SetBkColor(dc.Get(), UNTOUCHED);
    SetTextColor(dc.Get(), UNTOUCHED);
    const INT_PTR brush = procedure(GetParent(control), WM_CTLCOLORSTATIC, WPARAM(dc.Get()), LPARAM(control));
    return {brush, GetBkMode(dc.Get()), GetBkColor(dc.Get()), GetTextColor(dc.Get())};
}

void ExpectBoardFollowsPlan(HWND board, const QuizData& quiz)
{
    const BoardShape shape{quiz.mediaKind, quiz.questionCount, quiz.answersPerQuestion, quiz.revealMode};
    const HGDIOBJ gui = GetStockObject(DEFAULT_GUI_FONT);
    // The narrow verdict fields of two-answer cells take the small font to fit their verdicts.
    const HGDIOBJ verdictFont = quiz.answersPerQuestion == 2 && UsesCellLayout(quiz.mediaKind) ? gui : nullptr;
    BoardProgress progress;
    CellPicture line[QUESTIONS_PER_BOARD_LINE] = {};
    HWND control = GetWindow(board, GW_CHILD);
    for (int q = 1; q <= shape.questionCount; ++q) {
        // A line is as high as its tallest picture, counting those past the last question too.
        for (int i = 0; shape.mediaKind == MEDIA_PICTURE && StartsBoardLine(q) && i < QUESTIONS_PER_BOARD_LINE; ++i) {
            UniqueBitmap bitmap(LoadScaledPicture(GetModuleHandle(nullptr), IDR_QUESTION_PICTURE_BASE + q + i, "IMG",
                                                  PICTURE_BOX_SIZE, PICTURE_BOX_SIZE));
            line[i] = {static_cast<bool>(bitmap), BitmapSize(bitmap.Get()).cx, BitmapSize(bitmap.Get()).cy};
        }
        const CellPicture picture = line[(q - 1) % QUESTIONS_PER_BOARD_LINE];
        const QuestionPlan plan =
            PlanQuestion(shape, q, progress.lineTop, BoardLineHeight(line, QUESTIONS_PER_BOARD_LINE), picture);
        const QuestionNode* node = quiz.QuestionAt(q - 1);
        for (const PlacedItem& placed : plan.items) {
            SCOPED_TRACE(testing::Message() << "question " << q << ", control " << placed.id);
            ASSERT_NE(control, nullptr);
            const std::string shown = WindowText(control);
            const struct {
                const char* className;
                std::string text;
                HGDIOBJ font;
            } looks[] = {
                {"Static", std::to_string(q) + ".", nullptr},    // NumberLabel
                {"Static", node ? node->questionText : "", gui}, // QuestionText
                {"Static", quiz.answerLabel1, gui},              // AnswerCaption1
                {"Static", quiz.answerLabel2, gui},              // AnswerCaption2
                {"Static", "", nullptr},                         // Picture
                {"Static", "", nullptr},                         // MediaFrame
                {"Button", "", nullptr},                         // PlayButton
                {"Button", "", nullptr},                         // StopButton
                {"Edit", shown, quiz.answerFont},                // AnswerBox
                {"Static", shown, verdictFont},                  // VerdictField
                {"Static", shown, gui},                          // RevealLabel
            };
            const auto& look = looks[static_cast<int>(placed.item)];
            char className[16] = {};
            GetClassNameA(control, className, sizeof(className));
            EXPECT_STRCASEEQ(className, look.className);
            EXPECT_EQ(GetDlgCtrlID(control), placed.id);
            const RECT r = ChildRect(control);
            EXPECT_TRUE((BoardRect{r.left, r.top, r.right - r.left, r.bottom - r.top} == placed.rect))
                << r.left << ", " << r.top << ", " << r.right - r.left << " x " << r.bottom - r.top;
            EXPECT_EQ(shown, look.text);
            EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)), look.font);
            EXPECT_TRUE(placed.item != BoardItem::AnswerBox || quiz.answerFont) << "no answer font";
            EXPECT_TRUE(*look.className != 'B' || SendMessageA(control, BM_GETIMAGE, IMAGE_ICON, 0)) << "no icon";
            const SIZE bitmap = BitmapSize(ShownPicture(control));
            const bool loaded = placed.item == BoardItem::Picture && picture.loaded;
            EXPECT_TRUE(bitmap.cx == (loaded ? placed.rect.width : 0) && bitmap.cy == (loaded ? placed.rect.height : 0))
                << bitmap.cx << " x " << bitmap.cy;
            control = GetWindow(control, GW_HWNDNEXT);
        }
        AdvanceAfterQuestion(shape, q, plan.answerTop, progress);
    }
    EXPECT_EQ(control, nullptr) << "a control that the plan does not list";
    EXPECT_EQ(g_contentWidth, progress.contentWidth + ContentWidthMargin(quiz.answersPerQuestion));
    EXPECT_EQ(g_contentHeight, progress.contentHeight);
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    InstallGdiCounting();
    SetMessageBoxHandler([](const char* text, const char* caption) {
        g_recordedMessages.push_back(std::string(caption) + ": " + text);
    });
    SetWebPageOpener([](const char* address) { g_recordedWebPages.emplace_back(address); });
    RegisterMainWindowClass(GetModuleHandle(nullptr));
    // A test sees each picture in place as soon as the board is built; the background decoding has
    // tests of its own.
    SetPictureThreadCount(0);
    return RUN_ALL_TESTS();
}
