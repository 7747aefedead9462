// The per-frame work of the source: the fetch the data path calls on every tick.
#include "Intavo1.h"

#include "ColourConversionSelfCheck.h"

#include "MediaSubtypeGuids.h"
#include "sys_funct1.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr uint32_t kStateMask = 0xF;
constexpr DWORD kCompressionYuy2 = MAKEFOURCC('Y', 'U', 'Y', '2');

bool IsPlanar420(const GUID& subtype)
{
    return IsEqualGUID(subtype, media_guids::MediaSubtypeI420) || IsEqualGUID(subtype, MEDIASUBTYPE_IYUV) ||
           IsEqualGUID(subtype, MEDIASUBTYPE_YV12);
}

// What taking a sample over left to do.
enum class TakeOver
{
    Failed,          // the frame cannot be delivered
    NeedsConversion, // the own buffer holds the sample; the frame buffer gets its conversion
    ConvertsInPlace, // the frame buffer holds the sample, its rows already where the conversion puts them
    Converted,       // the frame buffer already holds the finished YUY2 picture
};

// A planar sample becomes a YUY2 frame in the own buffer, whose block then moves into the frame
// buffer by exchange: its rows are already those the conversion would copy out, so no second pass
// over the picture is needed.
TakeOver TakeOverPlanarFrame(InfoFilterIntavo1& state, InfoDataBufferPath1& frame)
{
    InfoDataBufferPath1& own = state.m_own_frame;
    const int32_t width = std::abs(frame.m_info.m_bih.biWidth);
    const int32_t height = std::abs(frame.m_info.m_bih.biHeight);
    const int64_t stride = 2 * static_cast<int64_t>(width);
    const int64_t size = stride * height;
    if (size > INT32_MAX ||
        FAILED(own.AllocBufferForStandartTypeVideoData(static_cast<int>(size), width, height, static_cast<int>(stride),
                                                       0, static_cast<int>(size), MEDIASUBTYPE_YUY2, kCompressionYuy2,
                                                       16)))
        return TakeOver::Failed;
    const ConversionRoutinesIntavo1& routines = state.m_routines;
    const PlanarConversionFunction convert =
        IsEqualGUID(frame.m_info.m_subtype, MEDIASUBTYPE_YV12) ? routines.yv12ToYuy2 : routines.i420ToYuy2;
    if (FAILED(convert(own.m_data, frame.m_data + frame.m_offset_data, static_cast<int>(stride), width, height,
                       frame.m_size_data)))
        return TakeOver::Failed;
    InfoCallInterfaceDataPath1& info = own.m_info;
    info.m_state = frame.m_info.m_state;
    info.m_major_type = MEDIATYPE_Video;
    info.m_subtype = MEDIASUBTYPE_YUY2;
    info.m_format_type = FORMAT_VideoInfo;
    info.m_bih.biPlanes = 1;
    info.m_bih.biWidth = width;
    info.m_bih.biHeight = height;
    info.m_bih.biCompression = kCompressionYuy2;
    info.m_bih.biBitCount = 16;
    // Cut to whole 16 pixels, the rows have the stride the data path's frames get. A picture
    // narrower than 16 pixels keeps none and is not delivered.
    if (FAILED(own.CheckAlignedFrame()) || own.m_info.m_bih.biWidth < 1)
        return TakeOver::Failed;
    return SUCCEEDED(frame.ExchangeBuffersAndDataFromCurrent(own)) ? TakeOver::Converted : TakeOver::Failed;
}

// Any other sample moves into the own buffer without a copy; the frame buffer keeps its description.
void TakeOverPackedFrame(InfoFilterIntavo1& state, InfoDataBufferPath1& frame)
{
    InfoDataBufferPath1& own = state.m_own_frame;
    own.ExchangeBuffersAndDataFromCurrent(frame);
    frame.m_info = own.m_info;
    frame.m_number_frame = own.m_number_frame;
}

TakeOver TakeOverFrame(InfoFilterIntavo1& state, InfoDataBufferPath1& frame)
{
    try {
        // The alignment check may narrow the picture and close up its rows: the conversion
        // reads bytes per pixel x width as the stride only afterwards.
        frame.CheckAlignedFrame();
        state.m_own_frame.m_info.ResetStruct(false);
        state.m_own_frame.m_size_data = 0;
        if (IsPlanar420(frame.m_info.m_subtype))
            return TakeOverPlanarFrame(state, frame);
        // Moving such a sample into the own buffer would only have it copied back row for row.
        if (ConvertsInPlace(frame))
            return TakeOver::ConvertsInPlace;
        TakeOverPackedFrame(state, frame);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
    }
    return TakeOver::NeedsConversion;
}

// The sample's rows are read with bytes per pixel x width as their stride.
HRESULT ConvertSample(InfoFilterIntavo1& state, const InfoDataBufferPath1& sample, InfoDataBufferPath1& frame)
{
    const int64_t sourceStride = static_cast<int64_t>(GetBytesPerPixelFromSubtype(sample.m_info.m_subtype)) *
                                 std::abs(sample.m_info.m_bih.biWidth);
    BYTE* source = sample.m_data != nullptr ? sample.m_data + sample.m_offset_data : nullptr;
    return ConvertDataBufferToYUY2orY8Formats(state.m_routines, state.m_scratch, source,
                                              sourceStride > INT32_MAX ? 0 : static_cast<int>(sourceStride), frame,
                                              true);
}

HRESULT FinishFrame(InfoFilterIntavo1& state, TakeOver takeOver, InfoDataBufferPath1& frame)
{
    switch (takeOver) {
    case TakeOver::NeedsConversion:
        return ConvertSample(state, state.m_own_frame, frame);
    case TakeOver::ConvertsInPlace:
        return ConvertSample(state, frame, frame);
    case TakeOver::Converted:
        return S_OK;
    default:
        return E_FAIL;
    }
}

void RunSelfCheckWhenAsked(InfoFilterIntavo1& state)
{
    if (state.m_options.GetElement(InfoFilterIntavo1::kOptionSelfCheck) == 0)
        return;
    const InfoDataBufferPath1& own = state.m_own_frame;
    if (!RunColourConversionSelfCheck(own.m_data, own.m_capacity, DefaultSelfCheckAllocator()))
        LOG_TEXT("Intavo1::GetFrame::self-check skipped, a block could not be allocated");
}

} // namespace

void ConvertDeliveredFrame(InfoFilterIntavo1& state, InfoDataBufferPath1& frame)
{
    // Mend: a planar sample that cannot be converted (a short sample) is not passed on with the
    // own buffer's old picture; the frame buffer stays a NULL frame.
    if (FAILED(FinishFrame(state, TakeOverFrame(state, frame), frame))) {
        frame.SetNULLFrame();
        return;
    }
    frame.CheckAlignedFrame();
    frame.m_number_frame = state.m_need_interface.m_id_camera;
}

void NoteEmptyFetch(InfoFilterIntavo1& state, InfoDataBufferPath1& frame)
{
    const int64_t now = static_cast<int64_t>(state.m_time.GetTime());
    if (state.m_empty_run_start == 0) {
        state.m_empty_run_start = now;
        return;
    }
    if (now - state.m_empty_run_start <= Intavo1::kLostSignalMs)
        return;
    InfoCallInterfaceDataPath1& info = frame.m_info;
    info.m_reserved[0] = 0;
    info.m_reserved[1] = 0;
    info.m_major_type = GUID_NULL;
    info.m_subtype = GUID_NULL;
    info.m_format_type = GUID_NULL;
    info.m_count = 0;
    info.ResetStruct(false);
    // Pushed downstream without data, so the filters behind learn that the source fell silent.
    info.m_state = Intavo1::kStateLostSignal;
    state.m_empty_run_start = 0;
}

HRESULT Intavo1::GetFrame(InfoFilterIntavo1* state, int32_t /*waitLimit*/, InfoDataBufferPath1* frame)
{
    if (state == nullptr || frame == nullptr)
        return E_INVALIDARG;
    try {
        frame->SetNULLFrame();
        if (frame->m_capacity < kMinFetchCapacity || frame->m_data == nullptr)
            frame->UpdateSizeBuffer(32, 1);
        frame->m_info.ResetStruct(true);
        if (frame->m_data == nullptr)
            return E_FAIL;
        if (state->m_rate_gate.CheckTimeForNextFrame() == S_OK && state->m_driver)
            state->m_driver->SafeGetBuffer(frame);
        const bool came = (frame->m_info.m_state & kStateMask) != InfoCallInterfaceDataPath1::kStateEmpty;
        if (!came) {
            NoteEmptyFetch(*state, *frame);
            return S_OK;
        }
        ConvertDeliveredFrame(*state, *frame);
        state->m_empty_run_start = 0;
        RunSelfCheckWhenAsked(*state);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Intavo1::TransformFilterImpl(InfoDataBufferPath1* /*frame*/, uint32_t /*frameSize*/,
                                     InfoDataBufferPath1* /*output*/, uint32_t /*outputSize*/,
                                     InfoFilterObjectDataPath1* /*instance*/, ListEventsDataPath1* /*events*/,
                                     int32_t /*inputIndex*/)
{
    return S_OK;
}
