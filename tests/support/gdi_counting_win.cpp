#include "gdi_counting_win.h"

#include <cstring>
#include <set>

#include "platform/threads_win.h"

namespace {

// Wine does not count GDI objects per process (GetGuiResources answers 0), so the test program
// counts them itself: the program's code is linked into this executable, and every GDI call it
// makes goes through this executable's import table, where the creating and deleting functions
// are replaced by counting ones.
std::set<HGDIOBJ> g_liveGdiObjects;
// Pictures are decoded on worker threads too.
SRWLOCK g_liveGdiObjectsLock = SRWLOCK_INIT;

template <typename Function> Function g_real = nullptr;

template <typename Handle> Handle Track(Handle handle)
{
    const ExclusiveLock lock(&g_liveGdiObjectsLock);
    if (handle)
        g_liveGdiObjects.insert(handle);
    return handle;
}

BOOL Untrack(BOOL deleted, HGDIOBJ object)
{
    const ExclusiveLock lock(&g_liveGdiObjectsLock);
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

} // namespace

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

DWORD GdiObjectCount(DWORD type)
{
    const ExclusiveLock lock(&g_liveGdiObjectsLock);
    DWORD count = 0;
    for (HGDIOBJ object : g_liveGdiObjects)
        count += type == 0 || GetObjectType(object) == type;
    return count;
}
