#include "authoring/pictures_win.h"

#include <windows.h>
#include <wincodec.h>

#include <vector>

#include "authoring/picture_pixels.h"
#include "platform/wic_source_transform_win.h"
#include "platform/win_raii.h"

namespace {

// A decoded picture of more pixels than this is refused rather than risk exhausting memory.
constexpr uint64_t MAX_DECODED_PIXELS = 64u * 1024 * 1024;
// Quality of the JPEG pictures the tool writes: small files without visible blocks at 260 pixels.
constexpr float JPEG_QUALITY = 0.9f;

bool OpenFrame(IWICImagingFactory* factory, const std::string& bytes, ComPtr<IWICStream>& stream,
               ComPtr<IWICBitmapDecoder>& decoder, ComPtr<IWICBitmapFrameDecode>& frame, PixelSize* size,
               std::string* error)
{
    if (FAILED(factory->CreateStream(stream.Receive())) ||
        FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                            static_cast<DWORD>(bytes.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.Receive())) ||
        FAILED(decoder->GetFrame(0, frame.Receive()))) {
        *error = "ce n'est pas une image lisible (JPEG, GIF, BMP ou PNG attendu)";
        return false;
    }
    UINT width = 0, height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0) {
        *error = "image sans dimensions";
        return false;
    }
    if (uint64_t{width} * height > MAX_DECODED_PIXELS) {
        *error = "image trop grande (" + std::to_string(width) + " x " + std::to_string(height) + " pixels)";
        return false;
    }
    *size = {width, height};
    return true;
}

// The whole frame as 24-bit BGR, any transparency laid on white. A frame already in that format
// (a JPEG's) is copied as it is, without the two passes of conversion and flattening.
bool DecodeToBgr(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, PixelSize size, std::vector<uint8_t>* bgr)
{
    WICPixelFormatGUID format = {};
    if (SUCCEEDED(frame->GetPixelFormat(&format)) && format == GUID_WICPixelFormat24bppBGR) {
        bgr->assign(size_t{size.width} * size.height * 3, 0);
        return SUCCEEDED(frame->CopyPixels(nullptr, size.width * 3, static_cast<UINT>(bgr->size()), bgr->data()));
    }
    ComPtr<IWICFormatConverter> converter;
    std::vector<uint8_t> bgra(size_t{size.width} * size.height * 4, 0);
    if (FAILED(factory->CreateFormatConverter(converter.Receive())) ||
        FAILED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->CopyPixels(nullptr, size.width * 4, static_cast<UINT>(bgra.size()), bgra.data())))
        return false;
    *bgr = FlattenOnWhite(bgra, size);
    return true;
}

// A picture to be scaled down decoded straight at a reduced size that still covers the stored
// size, when its decoder can (a large JPEG on Windows); false otherwise.
bool DecodeReduced(IWICBitmapFrameDecode* frame, PixelSize size, PixelSize stored, PixelSize* decoded,
                   std::vector<uint8_t>* bgr)
{
    ComPtr<WicSourceTransform> transform;
    UINT width = 0, height = 0;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->QueryInterface(IID_WIC_SOURCE_TRANSFORM, transform.ReceiveVoid())) ||
        !ReducedDecodeSize(transform.Get(), size.width, size.height, stored.width, stored.height, &width, &height) ||
        FAILED(transform->GetClosestPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR)
        return false;
    bgr->assign(size_t{width} * height * 3, 0);
    if (FAILED(transform->CopyPixels(nullptr, width, height, &format, WICBitmapTransformRotate0, width * 3,
                                     static_cast<UINT>(bgr->size()), bgr->data())))
        return false;
    *decoded = {width, height};
    return true;
}

bool EncodeJpeg(IWICImagingFactory* factory, std::vector<uint8_t>& bgr, PixelSize size, std::string* jpeg)
{
    ComPtr<IStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Receive())) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.Receive())) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.Receive(), options.Receive())))
        return false;
    PROPBAG2 option = {};
    option.pstrName = const_cast<wchar_t*>(L"ImageQuality");
    VARIANT quality;
    VariantInit(&quality);
    quality.vt = VT_R4;
    quality.fltVal = JPEG_QUALITY;
    // Not every imaging component knows the option; its default quality is still acceptable.
    options->Write(1, &option, &quality);

    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->Initialize(options.Get())) || FAILED(frame->SetSize(size.width, size.height)) ||
        FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR ||
        FAILED(frame->WritePixels(size.height, size.width * 3, static_cast<UINT>(bgr.size()), bgr.data())) ||
        FAILED(frame->Commit()) || FAILED(encoder->Commit()))
        return false;

    STATSTG stat = {};
    HGLOBAL memory = nullptr;
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(GetHGlobalFromStream(stream.Get(), &memory)))
        return false;
    const void* data = GlobalLock(memory);
    if (!data)
        return false;
    jpeg->assign(static_cast<const char*>(data), static_cast<size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(memory);
    return true;
}

} // namespace

bool PreparePicture(const std::string& bytes, bool keepPictures, PreparedPicture* picture, std::string* error)
{
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.ReceiveVoid()))) {
        *error = "le composant d'imagerie de Windows (WIC) est indisponible";
        return false;
    }
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (!OpenFrame(factory.Get(), bytes, stream, decoder, frame, &picture->original, error))
        return false;
    picture->action = ChoosePictureAction(SniffMediaFormat(bytes), picture->original, keepPictures);
    picture->stored = picture->action == PictureAction::SCALE ? FitPicture(picture->original, MAX_STORED_PICTURE_SIDE)
                                                              : picture->original;
    // Every picture is decoded, even one stored as it is, so that a damaged one is found now.
    std::vector<uint8_t> bgr;
    PixelSize decoded = picture->original;
    if (!(picture->action == PictureAction::SCALE &&
          DecodeReduced(frame.Get(), picture->original, picture->stored, &decoded, &bgr)) &&
        !DecodeToBgr(factory.Get(), frame.Get(), picture->original, &bgr)) {
        *error = "l'image est abîmée : ses pixels ne se décodent pas";
        return false;
    }
    if (picture->action == PictureAction::KEEP) {
        picture->bytes = bytes;
        return true;
    }
    if (decoded.width != picture->stored.width || decoded.height != picture->stored.height)
        bgr = ScaleDownBgr(bgr, decoded, picture->stored);
    if (!EncodeJpeg(factory.Get(), bgr, picture->stored, &picture->bytes)) {
        *error = "l'enregistrement en JPEG a échoué";
        return false;
    }
    return true;
}

bool DecodePictureToFit(const std::string& bytes, unsigned side, PixelSize* size, std::vector<uint8_t>* bgr)
{
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    PixelSize original;
    std::string error;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.ReceiveVoid())) ||
        !OpenFrame(factory.Get(), bytes, stream, decoder, frame, &original, &error))
        return false;
    *size = FitPicture(original, side);
    PixelSize decoded = original;
    const bool smaller = size->width < original.width;
    if (!(smaller && DecodeReduced(frame.Get(), original, *size, &decoded, bgr)) &&
        !DecodeToBgr(factory.Get(), frame.Get(), original, bgr))
        return false;
    if (decoded.width != size->width || decoded.height != size->height)
        *bgr = ScaleDownBgr(*bgr, decoded, *size);
    return true;
}
