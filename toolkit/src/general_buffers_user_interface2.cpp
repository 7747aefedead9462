// The widget's operations that fill its general buffers from skin pictures and other buffers.
#include "BaseUserInterface.h"

#include "CatchAllLog.h"
#include "FunctConvertToText.h"
#include "FunctLoadBMP32FileToR16G16B16Format.h"

#include <cstring>

namespace {

constexpr int32_t MissingSkinSide = 32;
constexpr int RowAlignment = 16;
constexpr SWORD WholeSample = static_cast<SWORD>(0xFFFF);

bool IsEmpty(const char* text)
{
    return text == nullptr || text[0] == '\0';
}

// The loader sizes the planes for the rows alone; the block operations also need the spare bytes
// behind the last row. Grown in place, the samples kept.
HRESULT AddSpareBytes(InfoGeneralBufferForUserInterface2& buffer, int rowBytes)
{
    const int64_t size = static_cast<int64_t>(rowBytes) + InfoGeneralBufferForUserInterface2::SpareBytes;
    if (size == buffer.m_max_size_byte_buffer)
        return S_OK;
    for (uint32_t plane = 0; plane < 3; ++plane) {
        int16_t*& block = buffer.m_rgb_buffers.GetElement(plane);
        if (FAILED(SAFE_TASK_REALLOC(&block, static_cast<uint64_t>(size))) || block == nullptr)
            return E_FAIL;
        std::memset(reinterpret_cast<BYTE*>(block) + rowBytes, 0, InfoGeneralBufferForUserInterface2::SpareBytes);
    }
    buffer.m_max_size_byte_buffer = static_cast<int32_t>(size);
    return S_OK;
}

// What the support routines may use of the planes: all but the spare bytes.
int RowCapacity(const InfoGeneralBufferForUserInterface2& buffer)
{
    return std::max(buffer.m_max_size_byte_buffer - InfoGeneralBufferForUserInterface2::SpareBytes, 0);
}

} // namespace

HRESULT BaseUserInterface::LoadBMPFileToGeneralBuffer(const char* fileName, const char* folder,
                                                      InfoGeneralBufferForUserInterface2* buffer)
{
    try {
        if (IsEmpty(folder))
            return E_UNEXPECTED;
        if (IsEmpty(fileName))
            return S_FALSE;
        if (buffer == nullptr)
            return E_INVALIDARG;
        DynamicString path;
        const HRESULT joined = CreateFullPathFromFolder(path, folder, fileName);
        if (FAILED(joined))
            return joined;
        int width = 0, height = 0, stride = 0;
        int rowCapacity = RowCapacity(*buffer);
        SWORD** planes[3];
        for (uint32_t plane = 0; plane < 3; ++plane)
            planes[plane] = &buffer->m_rgb_buffers.GetElement(plane);
        HRESULT loaded = LoadBMP32FileToR16G16B16Format(m_rgb32_to_planes, m_mirror, path, planes[0], planes[1],
                                                         planes[2], &width, &height, &stride, RowAlignment,
                                                         &rowCapacity);
        if (SUCCEEDED(loaded)) {
            buffer->m_width_element = width;
            buffer->m_height_element = height;
            buffer->m_byte_stride = stride;
            loaded = AddSpareBytes(*buffer, rowCapacity);
        }
        if (FAILED(loaded)) {
            // Whatever the loader left in the planes is not a picture.
            buffer->FreeBuffers();
            buffer->ResizeBuffer(MissingSkinSide, MissingSkinSide);
        }
        buffer->SetChanged();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::CopyGeneralBuffer(InfoGeneralBufferForUserInterface2* destination,
                                             const InfoGeneralBufferForUserInterface2* source)
{
    try {
        if (m_resize == nullptr || destination == nullptr || source == nullptr)
            return E_INVALIDARG;
        if (destination == source)
            return E_UNEXPECTED;
        destination->m_last_time_update_buffer = m_time_server.GetTime();
        destination->SetChanged();
        if (destination->m_width_element == source->m_width_element &&
            destination->m_height_element == source->m_height_element) {
            const UnifSwordFunction copy = m_operations_aligned.GetElement(2);
            if (copy == nullptr)
                return E_UNEXPECTED;
            const int32_t width = source->m_width_element, height = source->m_height_element;
            // The source's rows must fit the destination's planes.
            if (width > 0 && height > 0 && destination->CheckRegion(0, source->m_byte_stride, width, height) != S_OK)
                return E_UNEXPECTED;
            destination->m_byte_stride = source->m_byte_stride;
            // Whole samples: a copy keeps values outside 0..255 too.
            SWORD mask[8];
            std::fill(std::begin(mask), std::end(mask), WholeSample);
            HRESULT result = S_OK;
            for (uint32_t plane = 0; plane < 3; ++plane)
                result = copy(destination->m_rgb_buffers.GetElement(plane), nullptr,
                              source->m_rgb_buffers.GetElement(plane), nullptr, mask, destination->m_byte_stride,
                              source->m_byte_stride, width, height, 0, nullptr, nullptr, nullptr);
            return result;
        }
        HRESULT result = S_OK;
        for (uint32_t plane = 0; plane < 3; ++plane) {
            const SWORD* from = source->m_rgb_buffers.GetElement(plane);
            SWORD* to = destination->m_rgb_buffers.GetElement(plane);
            if (from == nullptr || to == nullptr)
                continue;
            result = m_resize(from, to, source->m_width_element, source->m_height_element, source->m_byte_stride,
                              destination->m_width_element, destination->m_height_element,
                              &destination->m_byte_stride, destination->m_max_size_byte_buffer, 0);
        }
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::UpdateDataBufferReal(int32_t index, const InfoGeneralBufferForUserInterface2* buffer,
                                                bool mark)
{
    try {
        if (index < 0 || index >= static_cast<int32_t>(m_array_general_buffers.GetCount()))
            return E_UNEXPECTED;
        InfoGeneralBufferForUserInterface2& target = m_array_general_buffers.GetElement(index);
        const bool wasChanged = target.IsChanged() != 0;
        HRESULT result = S_OK;
        if (buffer != nullptr)
            result = CopyGeneralBuffer(&target, buffer);
        if (mark || wasChanged)
            target.SetChanged();
        else
            target.ClearChanged();
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::CopyBufferFromIndex(int32_t index, InfoGeneralBufferForUserInterface2* destination)
{
    try {
        if (destination == nullptr)
            return E_INVALIDARG;
        if (index < -1 || index >= static_cast<int32_t>(m_array_general_buffers.GetCount()))
            return E_UNEXPECTED;
        *destination = index == -1 ? m_finall_buffer : m_array_general_buffers.GetElement(index);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::DrawLayer(int32_t destination, const InfoLayerLookUserInterface2& look)
{
    InfoGeneralBufferForUserInterface2& buffer = m_array_general_buffers.GetElement(destination);
    if (buffer.IsChanged() == 0)
        return S_FALSE;
    int stride = buffer.m_byte_stride;
    int rowCapacity = RowCapacity(buffer);
    const HRESULT drawn = ConvertRGB32toR16G16B16Format(
        m_rgb32_to_planes, &buffer.m_rgb_buffers.GetElement(0), &buffer.m_rgb_buffers.GetElement(1),
        &buffer.m_rgb_buffers.GetElement(2), buffer.m_width_element, buffer.m_height_element, &stride, &rowCapacity,
        look.m_draw, look.m_record, look.m_record_size);
    if (FAILED(drawn))
        return drawn;
    buffer.m_byte_stride = stride;
    return AddSpareBytes(buffer, rowCapacity);
}
