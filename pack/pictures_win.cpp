#include "pack/pictures_win.h"

#include <windows.h>
#include <wincodec.h>

#include <vector>

#include "pack/picture_pixels.h"
#include "platform/win_raii.h"

namespace {

// A decoded picture of more pixels than this is refused rather than risk exhausting memory.
constexpr uint64_t MAX_DECODED_PIXELS = 64u * 1024 * 1024;
// Quality of the JPEG pictures the tool writes: small files without visible blocks at 260 pixels.
constexpr float JPEG_QUALITY = 0.9f;

bool DecodeToBgra(IWICImagingFactory* factory, const std::string& bytes, PixelSize* size, std::vector<uint8_t>* bgra,
                  std::string* error)
{
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
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
    bgra->assign(size_t{width} * height * 4, 0);
    if (FAILED(factory->CreateFormatConverter(converter.Receive())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(bgra->size()), bgra->data()))) {
        *error = "l'image est ab\xC3\xAEm\xC3\xA9"
                 "e : ses pixels ne se d\xC3\xA9"
                 "codent pas";
        return false;
    }
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
    std::vector<uint8_t> bgra;
    if (!DecodeToBgra(factory.Get(), bytes, &picture->original, &bgra, error))
        return false;
    picture->action = ChoosePictureAction(SniffMediaFormat(bytes), picture->original, keepPictures);
    picture->stored = picture->original;
    if (picture->action == PictureAction::KEEP) {
        picture->bytes = bytes;
        return true;
    }
    std::vector<uint8_t> bgr = FlattenOnWhite(bgra, picture->original);
    bgra = {};
    if (picture->action == PictureAction::SCALE) {
        picture->stored = FitPicture(picture->original, MAX_STORED_PICTURE_SIDE);
        bgr = ScaleDownBgr(bgr, picture->original, picture->stored);
    }
    if (!EncodeJpeg(factory.Get(), bgr, picture->stored, &picture->bytes)) {
        *error = "l'enregistrement en JPEG a \xC3\xA9"
                 "chou\xC3\xA9";
        return false;
    }
    return true;
}
