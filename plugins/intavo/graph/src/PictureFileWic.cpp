// The picture facade on the Windows Imaging Component, and the bilinear rescale.
#include "PictureFileWic.h"

#include "CatchAllLog.h"
#include "SmartComPointer.h"

#include <wincodec.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

// Either a frame of a decoder, not yet decoded, or 24-bit pixels held in memory top row first.
class PictureBitmap
{
public:
    SmartComPointer<IWICBitmapSource> m_source;
    int m_width = 0;
    int m_height = 0;
    int m_stride = 0;
    std::vector<BYTE> m_pixels;

    bool Holds24Bits() const { return !m_pixels.empty(); }
    BYTE* Row(int fromTop) { return m_pixels.data() + static_cast<size_t>(m_stride) * fromTop; }
    const BYTE* Row(int fromTop) const { return m_pixels.data() + static_cast<size_t>(m_stride) * fromTop; }
};

void PictureBitmapDeleter::operator()(PictureBitmap* picture) const
{
    delete picture;
}

namespace {

HRESULT CreateFactory(SmartComPointer<IWICImagingFactory>& factory)
{
    return CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                            factory.ReceiveVoidSlot());
}

std::wstring WideName(const DynamicString& fileName)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, fileName.GetString(), -1, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, fileName.GetString(), -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length) - 1);
    return wide;
}

HRESULT CreateDecoder(const DynamicString& fileName, SmartComPointer<IWICImagingFactory>& factory,
                      SmartComPointer<IWICBitmapDecoder>& decoder)
{
    const std::wstring wide = WideName(fileName);
    if (wide.empty())
        return E_FAIL;
    HRESULT result = CreateFactory(factory);
    if (SUCCEEDED(result))
        result = factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ,
                                                    WICDecodeMetadataCacheOnDemand, decoder.ReceiveSlot());
    return result;
}

bool IsPaletteFormat(const WICPixelFormatGUID& format)
{
    for (const GUID& indexed : {GUID_WICPixelFormat1bppIndexed, GUID_WICPixelFormat2bppIndexed,
                                GUID_WICPixelFormat4bppIndexed, GUID_WICPixelFormat8bppIndexed})
        if (IsEqualGUID(format, indexed))
            return true;
    return false;
}

// A converter of the source into the format; the result of the conversion set-up.
HRESULT ConvertSource(IWICImagingFactory* factory, IWICBitmapSource* source, const WICPixelFormatGUID& format,
                      SmartComPointer<IWICBitmapSource>& converted)
{
    SmartComPointer<IWICFormatConverter> converter;
    HRESULT result = factory->CreateFormatConverter(converter.ReceiveSlot());
    if (SUCCEEDED(result))
        result = converter->Initialize(source, format, WICBitmapDitherTypeNone, nullptr, 0.0,
                                       WICBitmapPaletteTypeCustom);
    if (SUCCEEDED(result))
        result = converter->QueryInterface(IID_IWICBitmapSource, converted.ReceiveVoidSlot());
    return result;
}

PicturePointer NewPicture(int width, int height)
{
    if (width < 1 || height < 1 || width > (INT_MAX - 3) / 3)
        return {};
    PicturePointer picture(new PictureBitmap);
    picture->m_width = width;
    picture->m_height = height;
    picture->m_stride = (3 * width + 3) & ~3;
    if (static_cast<int64_t>(picture->m_stride) * height > INT_MAX)
        return {};
    picture->m_pixels.resize(static_cast<size_t>(picture->m_stride) * height);
    return picture;
}

// Where an output column or row samples the source: the two neighbours and the weight of the
// second in 1/256, centres of the pixels lined up.
struct BilinearTap
{
    int first;
    int second;
    int weight;
};

std::vector<BilinearTap> BilinearTaps(int sourceSize, int outputSize)
{
    std::vector<BilinearTap> taps(static_cast<size_t>(outputSize));
    const double scale = static_cast<double>(sourceSize) / outputSize;
    for (int i = 0; i < outputSize; ++i) {
        const double position = std::clamp((i + 0.5) * scale - 0.5, 0.0, static_cast<double>(sourceSize - 1));
        const int first = static_cast<int>(position);
        const int weight = static_cast<int>(std::lround((position - first) * 256.0));
        taps[static_cast<size_t>(i)] = {first, std::min(first + 1, sourceSize - 1), weight};
    }
    return taps;
}

BYTE Blend(int topLeft, int topRight, int bottomLeft, int bottomRight, const BilinearTap& column,
           const BilinearTap& row)
{
    const int top = topLeft * (256 - column.weight) + topRight * column.weight;
    const int bottom = bottomLeft * (256 - column.weight) + bottomRight * column.weight;
    return static_cast<BYTE>((top * (256 - row.weight) + bottom * row.weight + 32768) >> 16);
}

} // namespace

HRESULT GetPictureFileType(const DynamicString& fileName, GUID& containerFormat)
{
    try {
        containerFormat = GUID_NULL;
        SmartComPointer<IWICImagingFactory> factory;
        SmartComPointer<IWICBitmapDecoder> decoder;
        if (FAILED(CreateDecoder(fileName, factory, decoder)) || FAILED(decoder->GetContainerFormat(&containerFormat)))
            return S_FALSE;
        return S_OK;
    }
    CATCH_ALL_RETURN(S_FALSE)
}

PicturePointer LoadPicture(const GUID& containerFormat, const DynamicString& fileName)
{
    try {
        SmartComPointer<IWICImagingFactory> factory;
        SmartComPointer<IWICBitmapDecoder> decoder;
        GUID fileFormat = GUID_NULL;
        if (FAILED(CreateDecoder(fileName, factory, decoder)) || FAILED(decoder->GetContainerFormat(&fileFormat)) ||
            !IsEqualGUID(fileFormat, containerFormat))
            return {};
        SmartComPointer<IWICBitmapFrameDecode> frame;
        UINT width = 0, height = 0;
        if (FAILED(decoder->GetFrame(0, frame.ReceiveSlot())) || FAILED(frame->GetSize(&width, &height)) ||
            width < 1 || height < 1 || width > INT_MAX || height > INT_MAX)
            return {};
        PicturePointer picture(new PictureBitmap);
        if (FAILED(frame->QueryInterface(IID_IWICBitmapSource, picture->m_source.ReceiveVoidSlot())))
            return {};
        picture->m_width = static_cast<int>(width);
        picture->m_height = static_cast<int>(height);
        return picture;
    }
    CATCH_ALL_RETURN(PicturePointer{})
}

PicturePointer ConvertPictureTo24Bits(const PictureBitmap& picture)
{
    try {
        if (picture.Holds24Bits() || !picture.m_source)
            return {};
        SmartComPointer<IWICImagingFactory> factory;
        WICPixelFormatGUID format = GUID_NULL;
        if (FAILED(CreateFactory(factory)) || FAILED(picture.m_source->GetPixelFormat(&format)))
            return {};
        SmartComPointer<IWICBitmapSource> wide;
        IWICBitmapSource* from = picture.m_source.Get();
        if (IsPaletteFormat(format)) {
            if (FAILED(ConvertSource(factory.Get(), from, GUID_WICPixelFormat32bppBGRA, wide)))
                return {};
            from = wide.Get();
        }
        SmartComPointer<IWICBitmapSource> converted;
        if (FAILED(ConvertSource(factory.Get(), from, GUID_WICPixelFormat24bppBGR, converted)))
            return {};
        PicturePointer result = NewPicture(picture.m_width, picture.m_height);
        if (!result || FAILED(converted->CopyPixels(nullptr, static_cast<UINT>(result->m_stride),
                                                    static_cast<UINT>(result->m_pixels.size()),
                                                    result->m_pixels.data())))
            return {};
        return result;
    }
    CATCH_ALL_RETURN(PicturePointer{})
}

PicturePointer RescalePicture(const PictureBitmap& picture, int width, int height)
{
    try {
        if (!picture.Holds24Bits())
            return {};
        PicturePointer result = NewPicture(width, height);
        if (!result)
            return {};
        const std::vector<BilinearTap> columns = BilinearTaps(picture.m_width, width);
        const std::vector<BilinearTap> rows = BilinearTaps(picture.m_height, height);
        for (int y = 0; y < height; ++y) {
            const BilinearTap& row = rows[static_cast<size_t>(y)];
            const BYTE* upper = picture.Row(row.first);
            const BYTE* lower = picture.Row(row.second);
            BYTE* out = result->Row(y);
            for (int x = 0; x < width; ++x) {
                const BilinearTap& column = columns[static_cast<size_t>(x)];
                for (int channel = 0; channel < 3; ++channel)
                    out[3 * x + channel] =
                        Blend(upper[3 * column.first + channel], upper[3 * column.second + channel],
                              lower[3 * column.first + channel], lower[3 * column.second + channel], column, row);
            }
        }
        return result;
    }
    CATCH_ALL_RETURN(PicturePointer{})
}

int GetPictureWidth(const PictureBitmap& picture)
{
    return picture.m_width;
}

int GetPictureHeight(const PictureBitmap& picture)
{
    return picture.m_height;
}

const BYTE* GetPictureScanLine(const PictureBitmap& picture, int line)
{
    if (!picture.Holds24Bits() || line < 0 || line >= picture.m_height)
        return nullptr;
    return picture.Row(picture.m_height - 1 - line);
}

void UnloadPicture(PicturePointer& picture)
{
    picture.reset();
}
