// The picture cycle of a widget: on each timer tick the action slots are replayed over the general
// buffers, and the final buffer is converted into the 32-bit picture that WM_PAINT shows.
#include "BaseUserInterface.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"

#include <algorithm>
#include <bitset>

namespace {

using Action = InfoActionUserInterface2;

constexpr uint32_t MaxRuns = 0x40000;
constexpr SWORD WholeSample = static_cast<SWORD>(0xFFFF);
// Bytes added to each row of the 32-bit block, as the conversion may write whole vectors.
constexpr int32_t PictureRowSpare = 64;

// The bytes an operation of this granularity handles as one block; 0 for none.
int32_t RowBlockBytes(int32_t granularity)
{
    if (granularity <= 0)
        return 0;
    return granularity < 16 ? 8 : 16;
}

// One part of a row: where it starts (bytes from the region's start), how many samples it takes
// and the lanes the operation may write.
struct RowPart
{
    int32_t m_offset = 0;
    int32_t m_width = 0;
    SWORD m_mask[8] = {};
};

// The block-aligned main part and the masked tail block of a row; none for an empty row.
int32_t SplitRow(int32_t width, int32_t granularity, RowPart (&parts)[2])
{
    if (width < 1)
        return 0;
    const int32_t block = RowBlockBytes(granularity);
    int32_t count = 0;
    int32_t main = 0;
    if (block == 0 || granularity <= width * 2)
        main = block == 0 ? width : ((width * 2) & -block) / 2;
    if (main > 0) {
        parts[count].m_width = main;
        std::fill(std::begin(parts[count].m_mask), std::end(parts[count].m_mask), WholeSample);
        ++count;
    }
    const int32_t remaining = width - main;
    if (remaining > 0) {
        RowPart& tail = parts[count++];
        tail.m_offset = main * 2;
        tail.m_width = remaining;
        for (int32_t k = 0; k < 8; ++k)
            tail.m_mask[k] = k < remaining ? WholeSample : 0;
    }
    return count;
}

void TruncateVector(const float (&values)[Action::Lanes], SWORD (&vector)[Action::Lanes])
{
    for (uint32_t lane = 0; lane < Action::Lanes; ++lane)
        vector[lane] = static_cast<SWORD>(static_cast<int32_t>(values[lane]));
}

BYTE* PlaneAt(int16_t* const* planes, uint32_t channel, int32_t offset)
{
    if (planes == nullptr || planes[channel] == nullptr)
        return nullptr;
    return reinterpret_cast<BYTE*>(planes[channel]) + offset;
}

// -1 takes the given default.
int32_t OrDefault(int32_t value, int32_t fallback)
{
    return value == -1 ? fallback : value;
}

} // namespace

HRESULT BaseUserInterface::ExecuteAction(int16_t* const* destinationPlanes, int16_t* const* sourcePlanes,
                                         int32_t width, int32_t height, int32_t destinationStride,
                                         int32_t sourceStride, int32_t destinationOffset, int32_t sourceOffset,
                                         const InfoActionUserInterface2& action)
{
    const uint32_t operation = action.m_flags & Action::OperationMask;
    if (operation >= OperationCountUserInterface2)
        return E_FAIL;
    const int32_t granularity = m_operation_granularity.GetElement(operation);
    RowPart parts[2];
    const int32_t partCount = SplitRow(width, granularity, parts);
    HRESULT result = S_OK;
    for (uint32_t channel = 0; channel < Action::Channels; ++channel) {
        SWORD vectorA[Action::Lanes];
        SWORD vectorB[Action::Lanes];
        TruncateVector(action.m_params_a[channel], vectorA);
        TruncateVector(action.m_params_b[channel], vectorB);
        BYTE* destination = PlaneAt(destinationPlanes, channel, destinationOffset);
        BYTE* source = PlaneAt(sourcePlanes, channel, sourceOffset);
        // Only an operation without blocks leaves row samples over after the split to pad.
        if ((action.m_flags & Action::FlagPadRows) != 0 && RowBlockBytes(granularity) == 0) {
            if (source != nullptr)
                FillRowPaddingSWORD(source, width * 2, height, sourceStride);
            if (destination != nullptr)
                FillRowPaddingSWORD(destination, width * 2, height, destinationStride);
        }
        if (destination == nullptr || height < 1)
            continue;
        for (int32_t p = 0; p < partCount; ++p) {
            const RowPart& part = parts[p];
            const int32_t partOffset = destinationOffset + part.m_offset;
            const bool aligned = granularity <= 0 || partOffset % granularity == 0;
            const UnifSwordFunction function =
                (aligned ? m_operations_aligned : m_operations_unaligned).GetElement(operation);
            if (function == nullptr)
                continue;
            result = function(reinterpret_cast<SWORD*>(destination + part.m_offset), nullptr,
                              source != nullptr ? source + part.m_offset : nullptr, nullptr, part.m_mask,
                              destinationStride, sourceStride, part.m_width, height,
                              static_cast<int>(action.m_operation_argument), vectorA, vectorB, nullptr);
        }
    }
    return result;
}

// The masked tail writes a whole block, so the last row reaches up to the next block boundary.
bool BaseUserInterface::CheckActionRegion(const InfoGeneralBufferForUserInterface2& buffer, const char* side,
                                          int32_t offset, int32_t stride, int32_t width, int32_t height,
                                          int32_t rowBlock) const
{
    HRESULT check = buffer.CheckRegion(offset, stride, width, height);
    if (check == S_OK && rowBlock > 0) {
        const int64_t lastRow = (static_cast<int64_t>(width) * 2 + rowBlock - 1) / rowBlock * rowBlock;
        const int64_t reach = static_cast<int64_t>(offset) + static_cast<int64_t>(height - 1) * stride + lastRow;
        if (reach > buffer.m_max_size_byte_buffer)
            check = E_FAIL;
    }
    if (check == S_OK)
        return true;
    DynamicString line("BaseUserInterface::FinalizeFinallBufferReal::");
    for (const auto& [name, value] : {std::pair<const char*, int32_t>{"loc_offset_in_", offset}, {",loc_stride_", stride}}) {
        line += name;
        line += side;
        line += "=";
        line += value;
    }
    line += ",loc_width=";
    line += width;
    line += ",loc_height=";
    line += height;
    line.DumpString();
    buffer.DumpInfo(0);
    return false;
}

void BaseUserInterface::ClampBuffer(InfoGeneralBufferForUserInterface2& buffer) const
{
    SWORD mask[Action::Lanes];
    std::fill(std::begin(mask), std::end(mask), WholeSample);
    for (uint32_t plane = 0; plane < 3; ++plane) {
        SWORD* samples = buffer.m_rgb_buffers.GetElement(plane);
        if (samples != nullptr)
            m_clamp(samples, nullptr, nullptr, nullptr, mask, buffer.m_byte_stride, buffer.m_byte_stride,
                    buffer.m_width_element, buffer.m_height_element, 0, nullptr, nullptr, nullptr);
    }
}

int32_t BaseUserInterface::RunActionSlot(uint32_t slot, uint64_t now)
{
    Action& action = m_actions.GetElement(slot);
    const uint32_t runs = std::clamp<uint32_t>(action.m_repeat_count, 1, MaxRuns);
    const int32_t bufferCount = static_cast<int32_t>(m_array_general_buffers.GetCount());
    int32_t lastDestination = -1;
    // Callbacks may give each run its own destination: every one that ran is marked.
    std::bitset<GeneralBufferCount> touched;
    for (uint32_t run = 0; run < runs; ++run) {
        if (action.m_callback != nullptr) {
            const HRESULT answer = action.m_callback(this, action.m_callback_context, static_cast<int32_t>(slot),
                                                     static_cast<int32_t>(run), static_cast<uint32_t>(now),
                                                     static_cast<uint32_t>(now >> 32));
            if (answer < 0 || answer == S_FALSE)
                continue;
        }
        if (action.m_destination_index < 0 || action.m_destination_index >= bufferCount ||
            (action.m_flags & Action::FlagDestination) == 0)
            continue;
        InfoGeneralBufferForUserInterface2& destination = m_array_general_buffers.GetElement(action.m_destination_index);
        InfoGeneralBufferForUserInterface2* source = nullptr;
        if (action.m_source_index >= 0 && action.m_source_index < bufferCount &&
            (action.m_flags & Action::FlagSource) != 0)
            source = &m_array_general_buffers.GetElement(action.m_source_index);
        if (destination.IsChanged() == 0 && (source == nullptr || source->IsChanged() == 0) &&
            action.m_repeat_count > 0)
            continue;
        if (action.m_destination_index < static_cast<int32_t>(GeneralBufferCount))
            touched.set(static_cast<size_t>(action.m_destination_index));
        // A callback may have changed the slot's operation (animations do).
        const uint32_t operation = action.m_flags & Action::OperationMask;
        const int32_t rowBlock = operation < OperationCountUserInterface2
                                     ? RowBlockBytes(m_operation_granularity.GetElement(operation))
                                     : 0;
        const InfoGeneralBufferForUserInterface2& sized = source != nullptr ? *source : destination;
        const int32_t width = OrDefault(action.m_width, sized.m_width_element);
        const int32_t height = OrDefault(action.m_height, sized.m_height_element);
        const int32_t destinationOffset = OrDefault(action.m_destination_offset, 0);
        const int32_t sourceOffset = OrDefault(action.m_source_offset, 0);
        const int32_t destinationStride = OrDefault(action.m_destination_stride, destination.m_byte_stride);
        const int32_t sourceStride = OrDefault(action.m_source_stride, source != nullptr ? source->m_byte_stride : 0);
        bool fits =
            CheckActionRegion(destination, "dest", destinationOffset, destinationStride, width, height, rowBlock);
        if (fits && source != nullptr)
            fits = CheckActionRegion(*source, "source", sourceOffset, sourceStride, width, height, rowBlock);
        if (!fits) {
            DynamicString line(m_object_name.GetString());
            line += "::index_op=";
            line += static_cast<int32_t>(slot);
            line += " loc_number_action=";
            line += static_cast<int32_t>(runs);
            line.DumpString();
            continue;
        }
        lastDestination = action.m_destination_index;
        if (operation >= 1 && operation < OperationCountUserInterface2)
            ExecuteAction(&destination.m_rgb_buffers.GetElement(0),
                          source != nullptr ? &source->m_rgb_buffers.GetElement(0) : nullptr, width, height,
                          destinationStride, sourceStride, destinationOffset, sourceOffset, action);
        if ((action.m_flags & Action::FlagClamp) != 0 && m_clamp != nullptr)
            ClampBuffer(destination);
    }
    for (size_t index = touched._Find_first(); index < touched.size(); index = touched._Find_next(index)) {
        InfoGeneralBufferForUserInterface2& destination = m_array_general_buffers.GetElement(static_cast<uint32_t>(index));
        destination.SetChanged();
        destination.m_last_time_update_buffer = now;
    }
    return lastDestination;
}

void BaseUserInterface::ClearChangedMarks()
{
    for (uint32_t i = 0; i < m_array_general_buffers.GetCount(); ++i)
        m_array_general_buffers.GetElement(i).ClearChanged();
}

HRESULT BaseUserInterface::FinalizeFinallBufferReal(InfoGeneralBufferForUserInterface2** finalBuffer,
                                                    InfoGeneralBufferForUserInterface2** shownBuffer, uint64_t now)
{
    if (finalBuffer == nullptr || shownBuffer == nullptr)
        return E_INVALIDARG;
    *finalBuffer = nullptr;
    *shownBuffer = nullptr;
    if (m_text.GetLenString() == 0 || m_frozen != 0)
        return S_FALSE;
    int32_t lastDestination = -1;
    for (uint32_t slot = 0; slot < ActionSlotCount; ++slot) {
        if ((m_actions.GetElement(slot).m_flags & Action::OperationMask) == 0)
            continue;
        const int32_t destination = RunActionSlot(slot, now);
        if (destination >= 0)
            lastDestination = destination;
    }
    if (m_force_finalize == 0 &&
        (lastDestination == -1 || (m_finall_buffer_choice >= 0 && m_finall_buffer_choice != lastDestination)))
        return S_OK;
    m_force_finalize = 0;
    const int32_t chosen = m_finall_buffer_choice >= 0 ? m_finall_buffer_choice : lastDestination;
    if (chosen < 0 || chosen >= static_cast<int32_t>(m_array_general_buffers.GetCount()))
        return S_OK;
    InfoGeneralBufferForUserInterface2& final = m_array_general_buffers.GetElement(chosen);
    *finalBuffer = &final;
    *shownBuffer = &final;
    if (m_resize != nullptr && (final.m_width_element != m_width || final.m_height_element != m_height)) {
        LOG_TEXT("BaseUserInterface::FinalizeFinallBufferReal::begin real resize finall image");
        m_object_name.DumpString();
        final.DumpInfo(0);
        m_finall_buffer.ResizeBuffer(m_width, m_height);
        CopyGeneralBuffer(&m_finall_buffer, &final);
        *shownBuffer = &m_finall_buffer;
    }
    ClearChangedMarks();
    return S_OK;
}

HRESULT BaseUserInterface::ConvertShownBuffer(const InfoGeneralBufferForUserInterface2& shown)
{
    // A buffer that failed to take the window's size is not read past its planes.
    if (shown.m_width_element != m_width || shown.m_height_element != m_height || m_width < 1 || m_height < 1)
        return E_UNEXPECTED;
    const int32_t rowBytes = m_width * 4;
    const uint64_t needed = static_cast<uint64_t>(rowBytes + PictureRowSpare) * static_cast<uint64_t>(m_height);
    if (m_finall_rgb.m_size < needed) {
        const HRESULT allocated = m_finall_rgb.Allocate(static_cast<uint32_t>(needed));
        if (FAILED(allocated))
            return allocated;
    }
    int writtenStride = 0;
    const HRESULT converted =
        m_planes_to_rgb32(shown.m_rgb_buffers.GetElement(0), shown.m_rgb_buffers.GetElement(1),
                          shown.m_rgb_buffers.GetElement(2), m_finall_rgb.m_pixels, static_cast<int>(m_finall_rgb.m_size),
                          shown.m_byte_stride, &writtenStride, m_width, m_height);
    if (FAILED(converted))
        return converted;
    if (writtenStride != rowBytes)
        ChangeRowStride(m_finall_rgb.m_pixels, m_finall_rgb.m_pixels, rowBytes, m_height, writtenStride, rowBytes);
    m_finall_rgb.m_valid_count = m_height * rowBytes;
    return S_OK;
}

bool BaseUserInterface::SkipsTick(bool forced) const
{
    if (m_cycle_suspended != 0)
        return true;
    if (!forced && (FAILED(CheckIsWindow(m_window)) || !IsWindowVisible(m_window) || m_text.GetLenString() == 0 ||
                    m_state_values.GetElement(StateShown) == 0 || m_rebuild_in_progress != 0))
        return true;
    return m_frozen != 0;
}

HRESULT BaseUserInterface::OnTimerCycle(HWND window, WPARAM wParam, LPARAM lParam, bool forced)
{
    try {
        if (SkipsTick(forced))
            return S_FALSE;
        const uint64_t now = m_time_server.GetTime();
        const uint64_t elapsed = now > m_last_cycle_time ? now - m_last_cycle_time : 0;
        m_last_cycle_time = now;
        CycleBeforeFinalize(window, wParam, lParam, now, elapsed);
        InfoGeneralBufferForUserInterface2* finalBuffer = nullptr;
        InfoGeneralBufferForUserInterface2* shownBuffer = nullptr;
        FinalizeFinallBufferReal(&finalBuffer, &shownBuffer, now);
        if (finalBuffer != nullptr && m_resize != nullptr && !forced) {
            if (shownBuffer != nullptr && m_planes_to_rgb32 != nullptr)
                ConvertShownBuffer(*shownBuffer);
            InvalidateRect(m_window, nullptr, FALSE);
        }
        ClearChangedMarks();
        return CycleAfterFinalize(window, wParam, lParam, now, elapsed);
    }
    CATCH_ALL_RETURN(E_FAIL)
}
