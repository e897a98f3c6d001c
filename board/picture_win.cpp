#include "board/picture_win.h"

#include <wincodec.h>

#include <cstring>
#include <vector>

#include "platform/module_resource_win.h"
#include "platform/wic_source_transform_win.h"

namespace {

// A decoded picture of more pixels than this is refused rather than risk exhausting memory.
constexpr UINT64 MAX_DECODED_PIXELS = 64u * 1024 * 1024;

// A read-only stream over bytes that outlive it (a resource of the module). Once *cancel is set,
// reading fails, which ends a decode between two reads of the decoder instead of after the whole
// picture.
class MemoryReadStream final : public IStream {
public:
    MemoryReadStream(const uint8_t* bytes, DWORD size, const std::atomic<bool>* cancel)
        : m_bytes(bytes), m_size(size), m_cancel(cancel)
    {
    }
    MemoryReadStream(const MemoryReadStream&) = delete;
    MemoryReadStream& operator=(const MemoryReadStream&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (iid != IID_IUnknown && iid != IID_ISequentialStream && iid != IID_IStream) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG wanted, ULONG* read) override
    {
        if (m_cancel && m_cancel->load(std::memory_order_relaxed))
            return E_ABORT;
        const ULONGLONG left = m_position < m_size ? m_size - m_position : 0;
        const auto count = static_cast<ULONG>(wanted < left ? wanted : left);
        std::memcpy(buffer, m_bytes + m_position, count);
        m_position += count;
        if (read)
            *read = count;
        return count == wanted ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override
    {
        LONGLONG base = 0;
        if (origin == STREAM_SEEK_CUR)
            base = static_cast<LONGLONG>(m_position);
        else if (origin == STREAM_SEEK_END)
            base = m_size;
        else if (origin != STREAM_SEEK_SET)
            return STG_E_INVALIDFUNCTION;
        if (base + move.QuadPart < 0)
            return STG_E_INVALIDFUNCTION;
        m_position = static_cast<ULONGLONG>(base + move.QuadPart);
        if (position)
            position->QuadPart = m_position;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override
    {
        *stat = {};
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = m_size;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG*) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override
    {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override
    {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE Clone(IStream** clone) override
    {
        *clone = nullptr;
        return E_NOTIMPL;
    }

private:
    ~MemoryReadStream() = default;

    const uint8_t* m_bytes;
    DWORD m_size;
    const std::atomic<bool>* m_cancel;
    ULONGLONG m_position = 0;
    LONG m_references = 1;
};

// The header of a device-independent bitmap whose rows run top-down, as the decoders write them.
BITMAPINFO TopDownHeader(UINT width, UINT height, int bitsPerPixel)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

UniqueBitmap CreateTopDownDib(UINT width, UINT height, int bitsPerPixel, void** pixels)
{
    const BITMAPINFO info = TopDownHeader(width, height, bitsPerPixel);
    return UniqueBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, pixels, nullptr, 0));
}

// A decoded picture in memory, laid out as a top-down bitmap's pixels (rows DWORD-aligned).
struct DecodedPixels {
    UINT width = 0;
    UINT height = 0;
    int bitsPerPixel = 0;
    std::vector<BYTE> bytes;

    UINT Stride() const { return (width * bitsPerPixel + 31) / 32 * 4; }

    // Room for width x height pixels in the given format; false for a format no bitmap takes.
    bool Allocate(UINT w, UINT h, const WICPixelFormatGUID& format)
    {
        width = w;
        height = h;
        bitsPerPixel = format == GUID_WICPixelFormat24bppBGR                                             ? 24
                       : format == GUID_WICPixelFormat32bppBGRA || format == GUID_WICPixelFormat32bppBGR ? 32
                                                                                                         : 0;
        bytes.assign(size_t{Stride()} * height, 0);
        return bitsPerPixel != 0;
    }
};

// The frame decoded at the most reduced size that still covers the target, when its decoder can.
bool DecodeReduced(IWICBitmapFrameDecode* frame, UINT width, UINT height, PictureSize target, DecodedPixels* pixels)
{
    ComPtr<WicSourceTransform> transform;
    UINT w = 0;
    UINT h = 0;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    return SUCCEEDED(frame->QueryInterface(IID_WIC_SOURCE_TRANSFORM, transform.ReceiveVoid())) &&
           ReducedDecodeSize(transform.Get(), width, height, static_cast<UINT>(target.width),
                             static_cast<UINT>(target.height), &w, &h) &&
           SUCCEEDED(transform->GetClosestPixelFormat(&format)) && pixels->Allocate(w, h, format) &&
           SUCCEEDED(transform->CopyPixels(nullptr, w, h, &format, WICBitmapTransformRotate0, pixels->Stride(),
                                           static_cast<UINT>(pixels->bytes.size()), pixels->bytes.data()));
}

// The whole frame: a JPEG's pixels as the decoder gives them (24-bit), any other converted to
// 32-bit BGRA as the OLE picture loader does, so that a transparent GIF shows the same pixels.
bool DecodeWhole(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, UINT width, UINT height,
                 DecodedPixels* pixels)
{
    WICPixelFormatGUID format = {};
    if (SUCCEEDED(frame->GetPixelFormat(&format)) && format == GUID_WICPixelFormat24bppBGR)
        return pixels->Allocate(width, height, format) &&
               SUCCEEDED(frame->CopyPixels(nullptr, pixels->Stride(), static_cast<UINT>(pixels->bytes.size()),
                                           pixels->bytes.data()));
    ComPtr<IWICFormatConverter> converter;
    return SUCCEEDED(factory->CreateFormatConverter(converter.Receive())) &&
           SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                           WICBitmapPaletteTypeCustom)) &&
           pixels->Allocate(width, height, GUID_WICPixelFormat32bppBGRA) &&
           SUCCEEDED(converter->CopyPixels(nullptr, pixels->Stride(), static_cast<UINT>(pixels->bytes.size()),
                                           pixels->bytes.data()));
}

// The decoders of the formats a header names, in the order of DecoderIndex: asking the imaging
// component to find one would read the registry for every decoder it knows, each time.
const CLSID* const DECODER_CLASSES[] = {&CLSID_WICJpegDecoder, &CLSID_WICGifDecoder, &CLSID_WICBmpDecoder};

int DecoderIndex(PictureFormat format)
{
    switch (format) {
    case PictureFormat::JPEG:
        return 0;
    case PictureFormat::GIF:
        return 1;
    case PictureFormat::BMP:
        return 2;
    default:
        return -1;
    }
}

// The picture in bytes decoded by a decoder that decoderClass makes, at a reduced size covering
// target when the decoder can, otherwise at full size.
bool DecodeBytes(IWICImagingFactory* factory, IClassFactory* decoderClass, const uint8_t* bytes, DWORD count,
                 PictureSize target, const std::atomic<bool>* cancel, DecodedPixels* pixels)
{
    if (!factory || !decoderClass || !bytes)
        return false;
    ComPtr<IStream> stream;
    *stream.Receive() = new MemoryReadStream(bytes, count, cancel);
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(decoderClass->CreateInstance(nullptr, IID_IWICBitmapDecoder, decoder.ReceiveVoid())) ||
        FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand)) ||
        FAILED(decoder->GetFrame(0, frame.Receive())) || FAILED(frame->GetSize(&width, &height)) || width == 0 ||
        height == 0 || UINT64{width} * height > MAX_DECODED_PIXELS)
        return false;
    return DecodeReduced(frame.Get(), width, height, target, pixels) ||
           DecodeWhole(factory, frame.Get(), width, height, pixels);
}

// Stretches what stretch draws through dc onto a new bitmap of exactly size, as the board shows
// it. The bitmap has 24 bits per pixel: a picture control keeps a copy of a 32-bit bitmap whose
// pixels carry alpha values, and the bitmap handed to it would then be left behind.
template <typename Stretch> HBITMAP StretchedBitmap(HDC dc, PictureSize size, Stretch stretch)
{
    if (!dc || size.width <= 0 || size.height <= 0)
        return nullptr;
    void* pixels = nullptr;
    UniqueBitmap scaled = CreateTopDownDib(static_cast<UINT>(size.width), static_cast<UINT>(size.height), 24, &pixels);
    if (!scaled)
        return nullptr;
    {
        // The selection is undone before the result leaves, so it can be selected elsewhere.
        ScopedSelection selection(dc, scaled.Get());
        SetStretchBltMode(dc, HALFTONE);
        // HALFTONE needs the brush origin set again after the mode change.
        SetBrushOrgEx(dc, 0, 0, nullptr);
        if (!stretch(dc))
            return nullptr;
    }
    return scaled.Detach();
}

} // namespace

PictureResource FindPictureResource(HMODULE module, int resourceId, const char* type)
{
    const ModuleResource resource = FindModuleResource(module, resourceId, type);
    if (!resource.bytes || resource.size == 0)
        return {nullptr, 0, {PictureFormat::UNKNOWN, 0, 0}};
    return {resource.bytes, resource.size, ReadPictureHeader(resource.bytes, resource.size)};
}

PictureSize PlannedPictureSize(HMODULE module, int resourceId, const char* type, int boxWidth, int boxHeight)
{
    const PictureHeader header = FindPictureResource(module, resourceId, type).header;
    return ScaledSize(header.width, header.height, boxWidth, boxHeight);
}

HBITMAP LoadScaledPicture(HMODULE module, int resourceId, const char* type, int boxWidth, int boxHeight)
{
    // Balanced per call, so decoding works on a thread whether or not COM is already initialised.
    // Declared first, so it is undone after every imaging object is released.
    ScopedComInit com;
    PictureDecoder decoder;
    return decoder.Decode(module, resourceId, type, boxWidth, boxHeight);
}

PictureDecoder::PictureDecoder()
{
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     m_factory.ReceiveVoid());
}

PictureDecoder::~PictureDecoder() = default;

IClassFactory* PictureDecoder::DecoderClass(PictureFormat format)
{
    const int i = DecoderIndex(format);
    if (i < 0)
        return nullptr;
    if (!m_decoderClasses[i])
        CoGetClassObject(*DECODER_CLASSES[i], CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                         m_decoderClasses[i].ReceiveVoid());
    return m_decoderClasses[i].Get();
}

HBITMAP PictureDecoder::Decode(HMODULE module, int resourceId, const char* type, int boxWidth, int boxHeight,
                               const std::atomic<bool>* cancel)
{
    const PictureResource resource = FindPictureResource(module, resourceId, type);
    // The header's size, not the decoded one, so the bitmap fills the place the board planned.
    const PictureSize size = ScaledSize(resource.header.width, resource.header.height, boxWidth, boxHeight);
    DecodedPixels pixels;
    if (size.width <= 0 || !DecodeBytes(m_factory.Get(), DecoderClass(resource.header.format), resource.bytes,
                                        resource.size, size, cancel, &pixels))
        return nullptr;
    const BITMAPINFO info = TopDownHeader(pixels.width, pixels.height, pixels.bitsPerPixel);
    UniqueMemoryDc targetDc(CreateCompatibleDC(nullptr));
    return StretchedBitmap(targetDc.Get(), size, [&](HDC target) {
        return StretchDIBits(target, 0, 0, size.width, size.height, 0, 0, static_cast<int>(pixels.width),
                             static_cast<int>(pixels.height), pixels.bytes.data(), &info, DIB_RGB_COLORS, SRCCOPY) != 0;
    });
}

void ShowPicture(HWND control, HBITMAP bitmap)
{
    auto previous =
        reinterpret_cast<HBITMAP>(SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    if (previous && previous != bitmap)
        DeleteObject(previous);
    // The version 6 static control copies a bitmap whose pixels carry alpha and shows (and later
    // hands back) its copy: the bitmap given is then nobody's. A control that refused it shows
    // something else too.
    if (reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0)) != bitmap)
        DeleteObject(bitmap);
}
