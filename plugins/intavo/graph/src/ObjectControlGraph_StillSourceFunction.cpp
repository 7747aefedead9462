// Frames of the picture-file and desktop sources.
#include "ObjectControlGraphStillSources.h"

#include "PictureFileWic.h"

#include "CatchAllLog.h"
#include "FunctWorkWithFiles.h"
#include "FunctWorkWithHDC.h"
#include "MediaSubtypeGuids.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

const char kPictureMasks[] =
    "*.bmp?*.cut?*.dds?*.exr?*.g3?*.gif?*.hdr?*.ico?*.iff?*.ibm?*.j2k?*.j2c?*.jng?*.jp2?*.jpg?*.jif?*.jpeg?*.jpe?"
    "*.koa?*.mng?*.pbm?*.pcd?*.pcx?*.pgm?*.png?*.ppm?*.psd?*.ras?*.sgi?*.tga?*.targa?*.tif?*.tiff?*.wap?*.wbmp?"
    "*.wbm?*.xbm?*.xpm?";

constexpr int kDesktopModeAroundCursor = 4;

// Hands the picture to the frame: a bottom-up RGB24 frame of stride x height bytes.
HRESULT DeliverPicture(const BYTE* pixels, int width, int height, int stride, InfoDataBufferPath1& frame)
{
    const int64_t bytes = static_cast<int64_t>(stride) * height;
    if (pixels == nullptr || width < 1 || height < 1 || bytes > INT_MAX)
        return S_FALSE;
    const int size = static_cast<int>(bytes);
    const HRESULT result = frame.AllocBufferForStandartTypeVideoData(size, width, height, stride, 0, size,
                                                                     media_guids::MEDIASUBTYPE_RGB24, 0, 24);
    if (FAILED(result) || frame.m_data == nullptr || frame.m_capacity < size)
        return FAILED(result) ? result : E_FAIL;
    frame.m_info.m_state = InfoCallInterfaceDataPath1::kStateFrame;
    std::memcpy(frame.m_data, pixels, static_cast<size_t>(size));
    return result;
}

// The origin of a span of `size` centred on `centre`, kept inside [0, limit).
int CentredOrigin(int centre, int size, int limit)
{
    const int origin = centre - size / 2;
    return origin < 0 ? 0 : std::min(origin, limit - size);
}

} // namespace

// ---- Picture files ----------------------------------------------------------------------------

PictureFileSource::PictureFileSource(CTimeServer& clock) : m_clock(clock), m_last_switch(clock.GetTime())
{
}

HRESULT PictureFileSource::RebuildPictureList(const InfoNeedInterface& description)
{
    try {
        m_names.FreeAll();
        m_attributes.FreeAll();
        if (description.m_type_driver == TypeSourcePictureFile) {
            DynamicBoundsObject<DynamicString> listed;
            DynamicBoundsObject<uint32_t> attributes;
            GetListFilesInFolder(description.m_name_file, kPictureMasks, listed, 0, attributes);
            uint32_t files = 0;
            for (uint32_t i = 0; i < listed.GetCount(); ++i)
                files += (attributes.GetElement(i) & FILE_ATTRIBUTE_DIRECTORY) == 0 ? 1 : 0;
            if (FAILED(m_names.SetSize(files)) || FAILED(m_attributes.SetSize(files)))
                return E_FAIL;
            uint32_t kept = 0;
            for (uint32_t i = 0; i < listed.GetCount(); ++i) {
                if ((attributes.GetElement(i) & FILE_ATTRIBUTE_DIRECTORY) != 0)
                    continue;
                m_names.GetElement(kept) = listed.GetElement(i);
                m_attributes.GetElement(kept) = attributes.GetElement(i);
                ++kept;
            }
        }
        const uint32_t count = m_names.GetCount();
        m_index = count == 0 ? 0 : std::min(m_index, count - 1);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

DynamicString PictureFileSource::NameOfPictureDue(const InfoNeedInterface& description,
                                                  uint32_t intervalMilliseconds)
{
    DynamicString name = description.m_name_file;
    // A missing path counts as a folder; an empty folder keeps its own path, which fails to load.
    if (IsFileNotFolder(name) != 0 || m_names.GetCount() == 0)
        return name;
    const uint64_t now = m_clock.GetTime();
    if (now - m_last_switch > intervalMilliseconds) {
        m_last_switch = now;
        m_index = (m_index + 1) % m_names.GetCount();
    }
    if (name[name.GetLenString() - 1] != '\\')
        name += "\\";
    name += m_names.GetElement(m_index);
    return name;
}

HRESULT PictureFileSource::LoadPictureFile(const DynamicString& fileName)
{
    GUID type = GUID_NULL;
    if (GetPictureFileType(fileName, type) != S_OK)
        return S_FALSE;
    PicturePointer loaded = LoadPicture(type, fileName);
    if (!loaded)
        return S_FALSE;
    PicturePointer picture = ConvertPictureTo24Bits(*loaded);
    UnloadPicture(loaded);
    if (!picture)
        return S_FALSE;
    const int width = GetPictureWidth(*picture), height = GetPictureHeight(*picture);
    if (static_cast<int64_t>(width) * height > kLargestPixels) {
        const int scaledHeight =
            std::max(1, static_cast<int>(static_cast<double>(height) / static_cast<double>(width) * kScaledWidth));
        picture = RescalePicture(*picture, kScaledWidth, scaledHeight);
        if (!picture)
            return S_FALSE;
    }
    const int finalWidth = GetPictureWidth(*picture), finalHeight = GetPictureHeight(*picture);
    const int stride = (3 * finalWidth + 15) & ~15;
    const int64_t bytes = static_cast<int64_t>(stride) * finalHeight;
    if (bytes > INT_MAX)
        return S_FALSE;
    if (m_pixels.GetSize() < bytes && FAILED(m_pixels.ReallocBlock(static_cast<uint32_t>(bytes))))
        return E_FAIL;
    for (int line = 0; line < finalHeight; ++line)
        std::memcpy(m_pixels.GetData() + static_cast<size_t>(stride) * line, GetPictureScanLine(*picture, line),
                    3 * static_cast<size_t>(finalWidth));
    m_width = finalWidth;
    m_height = finalHeight;
    m_stride = stride;
    return S_OK;
}

HRESULT PictureFileSource::FillBufferForPicterFileDriver(const InfoNeedInterface& description,
                                                         uint32_t intervalMilliseconds, InfoDataBufferPath1& frame)
{
    try {
        const DynamicString name = NameOfPictureDue(description, intervalMilliseconds);
        if (name != m_loaded_name) {
            m_loaded_name = name;
            // Until a picture of the new name is in the buffer there is none to deliver.
            m_width = m_height = m_stride = 0;
            const HRESULT loaded = LoadPictureFile(name);
            if (loaded != S_OK)
                return loaded;
        }
        return DeliverPicture(m_pixels.GetData(), m_width, m_height, m_stride, frame);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- Desktop ----------------------------------------------------------------------------------

HRESULT DesktopSource::FillBufferForDesktopDriver(const InfoNeedInterface& description, InfoDataBufferPath1& frame)
{
    try {
        const HWND desktop = GetDesktopWindow();
        RECT client{};
        GetClientRect(desktop, &client);
        int x = 0, y = 0;
        DWORD width = 0xFFFFFFFF, height = 0xFFFFFFFF;
        if ((description.m_type_desktop_capture_region & 0xFFFF) == kDesktopModeAroundCursor) {
            const int requestedWidth = description.m_media_type.m_bih.biWidth;
            const int requestedHeight = description.m_media_type.m_bih.biHeight;
            if (requestedWidth < 1 || requestedHeight < 1)
                return E_UNEXPECTED;
            POINT cursor{};
            GetCursorPos(&cursor);
            x = CentredOrigin(cursor.x, requestedWidth, client.right - client.left);
            y = CentredOrigin(cursor.y, requestedHeight, client.bottom - client.top);
            width = static_cast<DWORD>(requestedWidth);
            height = static_cast<DWORD>(requestedHeight);
        }
        DWORD size = 0;
        int stride = 0;
        const HRESULT captured = GetImageFromWindowClientArea(desktop, m_pixels, x, y, &size, &width, &height,
                                                              &stride, 24);
        if (FAILED(captured))
            return captured;
        if (static_cast<int64_t>(stride) * height > size)
            return E_FAIL;
        return DeliverPicture(m_pixels.GetData(), static_cast<int>(width), static_cast<int>(height), stride, frame);
    }
    CATCH_ALL_RETURN(E_FAIL)
}
