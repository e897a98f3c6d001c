#include "board/picture_win.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>

#include "board/picture_scale.h"
#include "platform/win_raii.h"

HBITMAP LoadScaledPicture(HMODULE module, int resourceId, const char* type, int boxWidth, int boxHeight)
{
    // An id above 0xFFFF would be taken for the address of a resource name.
    if (!type || resourceId <= 0 || resourceId > 0xFFFF)
        return nullptr;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId), type);
    if (!found)
        return nullptr;
    const DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0)
        return nullptr;

    UniqueBitmap picture(DecodePicture(bytes, size));
    if (!picture)
        return nullptr;
    return ScaleBitmapToBox(picture.Get(), boxWidth, boxHeight);
}

HBITMAP DecodePicture(const void* bytes, DWORD count)
{
    if (!bytes || count == 0)
        return nullptr;

    // Balanced per call, so decoding works on a thread whether or not COM is already initialised.
    // Declared first, so it is undone after the picture and the stream are released.
    ScopedComInit com;

    UniqueGlobalMemory block(GlobalAlloc(GMEM_FIXED, count));
    if (!block)
        return nullptr;
    // A fixed block's handle is its address.
    std::memcpy(block.Get(), bytes, count);

    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(block.Get(), TRUE, stream.Receive())))
        return nullptr;
    // From here the stream frees the block when it is released.
    block.Detach();

    ComPtr<IPicture> picture;
    if (FAILED(OleLoadPicture(stream.Get(), static_cast<LONG>(count), FALSE, IID_IPicture, picture.ReceiveVoid())))
        return nullptr;

    // The loader also reads icons and metafiles; only a bitmap can be scaled and shown.
    short kind = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Type(&kind)) || kind != PICTYPE_BITMAP || FAILED(picture->get_Handle(&handle)) || !handle)
        return nullptr;

    // The picture object deletes its own bitmap when released; the caller gets an independent copy.
    return static_cast<HBITMAP>(
        CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, 0));
}

HBITMAP ScaleBitmapToBox(HBITMAP source, int boxWidth, int boxHeight)
{
    BITMAP info = {};
    if (!source || GetObject(source, sizeof(info), &info) != sizeof(info))
        return nullptr;
    const PictureSize size = ScaledSize(info.bmWidth, info.bmHeight, boxWidth, boxHeight);
    if (size.width <= 0 || size.height <= 0)
        return nullptr;

    WindowDc screen(nullptr);
    if (!screen.Get())
        return nullptr;
    UniqueMemoryDc sourceDc(CreateCompatibleDC(screen.Get()));
    UniqueMemoryDc targetDc(CreateCompatibleDC(screen.Get()));
    if (!sourceDc || !targetDc)
        return nullptr;
    UniqueBitmap scaled(CreateCompatibleBitmap(screen.Get(), size.width, size.height));
    if (!scaled)
        return nullptr;

    {
        // Both selections are undone before the result leaves, so it can be selected elsewhere.
        ScopedSelection sourceSelection(sourceDc.Get(), source);
        ScopedSelection targetSelection(targetDc.Get(), scaled.Get());
        // A bitmap already selected into another DC cannot be selected here; copying from the DC's
        // default bitmap instead would return a blank picture.
        if (GetCurrentObject(sourceDc.Get(), OBJ_BITMAP) != source)
            return nullptr;
        SetStretchBltMode(targetDc.Get(), HALFTONE);
        // HALFTONE needs the brush origin set again after the mode change.
        SetBrushOrgEx(targetDc.Get(), 0, 0, nullptr);
        if (!StretchBlt(targetDc.Get(), 0, 0, size.width, size.height, sourceDc.Get(), 0, 0, info.bmWidth,
                        info.bmHeight, SRCCOPY))
            return nullptr;
    }
    return scaled.Detach();
}

void ShowPicture(HWND control, HBITMAP bitmap)
{
    auto previous =
        reinterpret_cast<HBITMAP>(SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    if (previous && previous != bitmap)
        DeleteObject(previous);
    // The version 6 static control copies a bitmap whose pixels carry alpha and shows (and later
    // hands back) its copy: the bitmap given is then nobody's. A control that refused it shows
    // something else too.
    if (reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0)) != bitmap)
        DeleteObject(bitmap);
}
