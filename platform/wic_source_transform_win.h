// The interface through which an imaging decoder decodes a picture at a reduced size, directly
// from its compressed data (the JPEG decoder of Windows: 1/2, 1/4 and 1/8). MinGW's imaging
// headers lack it; it is declared here as the platform defines it.
#pragma once

#include <windows.h>
#include <wincodec.h>

struct WicSourceTransform : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                                 WICPixelFormatGUID* format, WICBitmapTransformOptions transform,
                                                 UINT stride, UINT bufferSize, BYTE* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform, BOOL* supported) = 0;
};

inline const IID IID_WIC_SOURCE_TRANSFORM = {
    0x3B16811B, 0x6A43, 0x4EC9, {0xB7, 0x13, 0x3D, 0x5A, 0x0C, 0x13, 0xB9, 0x40}};

// The most reduced size (1/8, then 1/4, then 1/2) at which transform decodes a width x height
// picture that still covers needWidth x needHeight; false when it offers none smaller than the
// picture.
inline bool ReducedDecodeSize(WicSourceTransform* transform, UINT width, UINT height, UINT needWidth, UINT needHeight,
                              UINT* reducedWidth, UINT* reducedHeight)
{
    for (UINT factor = 8; factor >= 2; factor /= 2) {
        UINT w = (width + factor - 1) / factor;
        UINT h = (height + factor - 1) / factor;
        if (w < needWidth || h < needHeight || FAILED(transform->GetClosestSize(&w, &h)) || w < needWidth ||
            h < needHeight || w >= width)
            continue;
        *reducedWidth = w;
        *reducedHeight = h;
        return true;
    }
    return false;
}
