#include "board/picture_win.h"

#include <wincodec.h>

#include <cstring>

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

UINT DibStride(UINT width, int bitsPerPixel)
{
    return (width * bitsPerPixel + 31) / 32 * 4;
}

// A device-independent bitmap whose rows run top-down, as the decoders write them.
UniqueBitmap CreateTopDownDib(UINT width, UINT height, int bitsPerPixel, void** pixels)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.bmiHeader.biCompression = BI_RGB;
    return UniqueBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, pixels, nullptr, 0));
}

int BitsPerPixelOf(const WICPixelFormatGUID& format)
{
    if (format == GUID_WICPixelFormat32bppBGRA || format == GUID_WICPixelFormat32bppBGR)
        return 32;
    return format == GUID_WICPixelFormat24bppBGR ? 24 : 0;
}

// The frame decoded at the most reduced size that still covers the target, when its decoder can;
// null otherwise.
UniqueBitmap DecodeReduced(IWICBitmapFrameDecode* frame, UINT width, UINT height, PictureSize target)
{
    ComPtr<WicSourceTransform> transform;
    UINT w = 0;
    UINT h = 0;
    if (FAILED(frame->QueryInterface(IID_WIC_SOURCE_TRANSFORM, transform.ReceiveVoid())) ||
        !ReducedDecodeSize(transform.Get(), width, height, static_cast<UINT>(target.width),
                           static_cast<UINT>(target.height), &w, &h))
        return {};
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    if (FAILED(transform->GetClosestPixelFormat(&format)) || BitsPerPixelOf(format) == 0)
        return {};
    void* pixels = nullptr;
    UniqueBitmap dib = CreateTopDownDib(w, h, BitsPerPixelOf(format), &pixels);
    const UINT stride = DibStride(w, BitsPerPixelOf(format));
    if (!dib || FAILED(transform->CopyPixels(nullptr, w, h, &format, WICBitmapTransformRotate0, stride, stride * h,
                                             static_cast<BYTE*>(pixels))))
        return {};
    return dib;
}

UniqueBitmap DecodeWhole(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, UINT width, UINT height)
{
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.Receive())) ||
        FAILED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return {};
    void* pixels = nullptr;
    UniqueBitmap dib = CreateTopDownDib(width, height, 32, &pixels);
    const UINT stride = DibStride(width, 32);
    if (!dib || FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(pixels))))
        return {};
    return dib;
}

// The picture in bytes decoded into a 32- or 24-bit bitmap: at a reduced size covering target when
// the decoder can (a target of {0, 0} asks for the full size), otherwise at full size.
UniqueBitmap DecodeBytes(IWICImagingFactory* factory, const uint8_t* bytes, DWORD count, PictureSize target,
                         const std::atomic<bool>* cancel)
{
    if (!factory || !bytes || count == 0)
        return {};
    ComPtr<IStream> stream;
    *stream.Receive() = new MemoryReadStream(bytes, count, cancel);
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.Receive())) ||
        FAILED(decoder->GetFrame(0, frame.Receive())) || FAILED(frame->GetSize(&width, &height)) || width == 0 ||
        height == 0 || UINT64{width} * height > MAX_DECODED_PIXELS)
        return {};
    if (target.width > 0 && target.height > 0) {
        UniqueBitmap reduced = DecodeReduced(frame.Get(), width, height, target);
        if (reduced)
            return reduced;
    }
    return DecodeWhole(factory, frame.Get(), width, height);
}

// A new bitmap of source stretched to exactly size, as the board shows it. It has 24 bits per
// pixel: a picture control keeps a copy of a 32-bit bitmap whose pixels carry alpha values (those
// of a picture copied at its own size do), and the bitmap handed to it would then be left behind.
HBITMAP ScaleBitmapToSize(HBITMAP source, PictureSize size)
{
    BITMAP info = {};
    if (!source || GetObject(source, sizeof(info), &info) != sizeof(info) || size.width <= 0 || size.height <= 0)
        return nullptr;

    WindowDc screen(nullptr);
    if (!screen.Get())
        return nullptr;
    UniqueMemoryDc sourceDc(CreateCompatibleDC(screen.Get()));
    UniqueMemoryDc targetDc(CreateCompatibleDC(screen.Get()));
    if (!sourceDc || !targetDc)
        return nullptr;
    void* pixels = nullptr;
    UniqueBitmap scaled = CreateTopDownDib(static_cast<UINT>(size.width), static_cast<UINT>(size.height), 24, &pixels);
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

} // namespace

PictureResource FindPictureResource(HMODULE module, int resourceId, const char* type)
{
    const PictureResource none = {nullptr, 0, {PictureFormat::UNKNOWN, 0, 0}};
    // An id above 0xFFFF would be taken for the address of a resource name.
    if (!type || resourceId <= 0 || resourceId > 0xFFFF)
        return none;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId), type);
    if (!found)
        return none;
    const DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const auto* bytes = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    if (!bytes || size == 0)
        return none;
    return {bytes, size, ReadPictureHeader(bytes, size)};
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

HBITMAP DecodePicture(const void* bytes, DWORD count)
{
    ScopedComInit com;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.ReceiveVoid())))
        return nullptr;
    return DecodeBytes(factory.Get(), static_cast<const uint8_t*>(bytes), count, {0, 0}, nullptr).Detach();
}

HBITMAP ScaleBitmapToBox(HBITMAP source, int boxWidth, int boxHeight)
{
    BITMAP info = {};
    if (!source || GetObject(source, sizeof(info), &info) != sizeof(info))
        return nullptr;
    return ScaleBitmapToSize(source, ScaledSize(info.bmWidth, info.bmHeight, boxWidth, boxHeight));
}

PictureDecoder::PictureDecoder()
{
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     m_factory.ReceiveVoid());
}

PictureDecoder::~PictureDecoder() = default;

HBITMAP PictureDecoder::Decode(HMODULE module, int resourceId, const char* type, int boxWidth, int boxHeight,
                               const std::atomic<bool>* cancel)
{
    const PictureResource resource = FindPictureResource(module, resourceId, type);
    // The header's size, not the decoded one, so the bitmap fills the place the board planned.
    const PictureSize size = ScaledSize(resource.header.width, resource.header.height, boxWidth, boxHeight);
    if (size.width <= 0)
        return nullptr;
    UniqueBitmap decoded = DecodeBytes(m_factory.Get(), resource.bytes, resource.size, size, cancel);
    return decoded ? ScaleBitmapToSize(decoded.Get(), size) : nullptr;
}
