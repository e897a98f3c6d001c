// Pictures from the executable's "IMG" resources, decoded by the platform's imaging component and
// scaled into a box. The size a picture takes is read from its header alone (ReadPictureHeader), so
// the board can be planned before any picture is decoded.
#pragma once

#include <windows.h>

#include <atomic>

#include "board/picture_header.h"
#include "board/picture_scale.h"
#include "platform/win_raii.h"

struct IWICImagingFactory;

struct PictureResource {
    const uint8_t* bytes; // null when the resource is missing
    DWORD size;
    PictureHeader header;
};

// Finds a picture resource and reads its header. An id above 0xFFFF, a missing or empty resource
// give null bytes and an UNKNOWN header.
PictureResource FindPictureResource(HMODULE module, int resourceId, const char* type);

// The size of the resource's picture scaled into the box; {0, 0} when the resource is missing or
// its header does not read. The bitmaps made by LoadScaledPicture and PictureDecoder have this size.
PictureSize PlannedPictureSize(HMODULE module, int resourceId, const char* type, int boxWidth, int boxHeight);

// Finds, decodes and scales a picture resource; a new bitmap owned by the caller, or null.
HBITMAP LoadScaledPicture(HMODULE module, int resourceId, const char* type, int boxWidth, int boxHeight);

// Hands a bitmap over to a picture control, which owns what it shows: the bitmap it showed before is
// deleted, and so is this one when the control keeps a copy of its own instead.
void ShowPicture(HWND control, HBITMAP bitmap);

// Decodes picture resources on one thread, keeping its imaging objects from picture to picture.
// COM must be initialised on the thread for the decoder's whole life.
class PictureDecoder {
public:
    PictureDecoder();
    ~PictureDecoder();
    PictureDecoder(const PictureDecoder&) = delete;
    PictureDecoder& operator=(const PictureDecoder&) = delete;

    // Like LoadScaledPicture. A large JPEG is decoded at 1/2, 1/4 or 1/8 of its size when the
    // platform's decoder offers it and the reduced picture still covers the box. Setting *cancel
    // (when given) makes a decode under way give up at its decoder's next read, with null.
    HBITMAP Decode(HMODULE module, int resourceId, const char* type, int boxWidth, int boxHeight,
                   const std::atomic<bool>* cancel = nullptr);

private:
    IClassFactory* DecoderClass(PictureFormat format);

    ComPtr<IWICImagingFactory> m_factory;
    // Found once: under Wine, finding a decoder's class reads the registry through the server,
    // which costs about as much as decoding a small picture.
    ComPtr<IClassFactory> m_decoderClasses[3];
};
