// The histogram of the luminance: the full-frame histogram event on every frame, and the counts
// the equalisation of the colour steps maps the picture by.
#include "Tonalis1_Steps.h"

#include "MessageForObjectsDataPath1.h"

namespace {

constexpr uint32_t kBins = 256;

HRESULT RaiseHistogramEvent(const Tonalis1State& state, const InfoDataBufferPath1& frame,
                            const InfoDataBufferPath1& luma, const uint32_t* bins, ListEventsDataPath1* events)
{
    auto* event = new InfoEventDataFrame_ted1GistogramFullFrame();
    event->m_width = PlaneWidth(luma);
    event->m_height = PlaneHeight(luma);
    const float samples = static_cast<float>(event->m_width) * static_cast<float>(event->m_height);
    HRESULT result = event->m_histogram.SetSize(kBins);
    for (uint32_t i = 0; i < kBins && SUCCEEDED(result); ++i)
        event->m_histogram.GetElement(i) = static_cast<float>(bins[i]) / samples;
    if (FAILED(result)) {
        delete event;
        return result;
    }
    return RaiseTonalisEvent(event, state, frame, events);
}

} // namespace

HRESULT HelperFunction_Histogram(Tonalis1State& state, InfoDataBufferPath1& frame, InfoDataBufferPath1& luma,
                          ListEventsDataPath1* events, bool raiseEvent, bool equalise)
{
    uint32_t bins[kBins] = {};
    HRESULT result = state.m_operations.histogram(PlaneWords(luma), luma.m_stride, PlaneWidth(luma), PlaneHeight(luma),
                                                  bins, kBins);
    if (FAILED(result))
        return result;
    if (raiseEvent && events != nullptr)
        result = RaiseHistogramEvent(state, frame, luma, bins, events);
    if (equalise && state.m_enable != 0)
        result = EqualiseHistogram(state, luma, bins);
    return result;
}
