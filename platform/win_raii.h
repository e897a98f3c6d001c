// Small owners for Windows handles, so that every path of a function releases what it took.
#pragma once

#include <windows.h>
// ScopedComInit needs COM, which the lean Windows headers leave out.
#include <objbase.h>

#include <utility>

// Owns one handle and releases it with Release(handle) unless it is the Invalid value.
template <typename Handle, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Detach()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Detach());
        return *this;
    }

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != Traits::Invalid(); }
    Handle Detach() { return std::exchange(m_handle, Traits::Invalid()); }
    void Reset(Handle handle = Traits::Invalid())
    {
        if (m_handle != Traits::Invalid())
            Traits::Release(m_handle);
        m_handle = handle;
    }

private:
    Handle m_handle = Traits::Invalid();
};

struct FileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Release(HANDLE handle) { CloseHandle(handle); }
};
struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Release(HANDLE handle) { CloseHandle(handle); }
};
struct MappedViewTraits {
    static const void* Invalid() { return nullptr; }
    static void Release(const void* view) { UnmapViewOfFile(view); }
};
template <typename Object>
struct GdiObjectTraits {
    static Object Invalid() { return nullptr; }
    static void Release(Object object) { DeleteObject(object); }
};
struct MemoryDcTraits {
    static HDC Invalid() { return nullptr; }
    static void Release(HDC dc) { DeleteDC(dc); }
};
struct ModuleTraits {
    static HMODULE Invalid() { return nullptr; }
    static void Release(HMODULE module) { FreeLibrary(module); }
};
struct GlobalMemoryTraits {
    static HGLOBAL Invalid() { return nullptr; }
    static void Release(HGLOBAL memory) { GlobalFree(memory); }
};
struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Release(HICON icon) { DestroyIcon(icon); }
};

using UniqueFile = UniqueHandle<HANDLE, FileHandleTraits>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using UniqueMappedView = UniqueHandle<const void*, MappedViewTraits>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectTraits<HBITMAP>>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectTraits<HBRUSH>>;
using UniqueFont = UniqueHandle<HFONT, GdiObjectTraits<HFONT>>;
using UniqueMemoryDc = UniqueHandle<HDC, MemoryDcTraits>;
using UniqueModule = UniqueHandle<HMODULE, ModuleTraits>;
using UniqueGlobalMemory = UniqueHandle<HGLOBAL, GlobalMemoryTraits>;

// The DC of a window (null window: the screen), released with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : m_window(window), m_dc(GetDC(window)) {}
    ~WindowDc()
    {
        if (m_dc)
            ReleaseDC(m_window, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// Selects an object into a DC and restores the previous selection on scope exit.
class ScopedSelection {
public:
    ScopedSelection(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~ScopedSelection()
    {
        if (m_previous && m_previous != HGDI_ERROR)
            SelectObject(m_dc, m_previous);
    }
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// Balances a COM initialisation of the calling thread, whatever it returned (S_OK or S_FALSE both
// count): a single-threaded apartment unless asked otherwise, as worker threads do.
class ScopedComInit {
public:
    explicit ScopedComInit(DWORD apartment = COINIT_APARTMENTTHREADED) : m_result(CoInitializeEx(nullptr, apartment))
    {
    }
    ~ScopedComInit()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ScopedComInit(const ScopedComInit&) = delete;
    ScopedComInit& operator=(const ScopedComInit&) = delete;

private:
    HRESULT m_result;
};

// Owns one COM interface pointer.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}

    Interface* Get() const { return m_pointer; }
    Interface* operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }
    // For functions that hand out a new reference through an Interface** out-parameter.
    Interface** Receive()
    {
        Reset();
        return &m_pointer;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
    Interface* Detach() { return std::exchange(m_pointer, nullptr); }
    void Reset()
    {
        if (m_pointer)
            std::exchange(m_pointer, nullptr)->Release();
    }

private:
    Interface* m_pointer = nullptr;
};
